# common.sh: what the install checks share: the games, failing and skipping, a scratch folder.
# Sourced, not run.
set -euo pipefail

GAMES=(kelvado plimsy torvane)
# shellcheck disable=SC2034  # both read by the scripts that source this one
{
    SOURCE_DIR=${WEX_SOURCE_DIR:?run through ctest, which sets WEX_SOURCE_DIR}
    BINARY_DIR=${WEX_BINARY_DIR:?run through ctest, which sets WEX_BINARY_DIR}
}
FAILURES=0

# fail MESSAGE: report one failed check and carry on, so one run shows every fault.
fail() {
    echo "FAIL: $*" >&2
    FAILURES=$((FAILURES + 1))
}

# skip REASON: ctest reports the test as skipped (SKIP_RETURN_CODE 77).
skip() {
    echo "SKIP: $*"
    exit 77
}

finish() {
    if [ "$FAILURES" -ne 0 ]; then
        echo "$FAILURES check(s) failed" >&2
        exit 1
    fi
    echo "all checks passed"
}

# The scratch folder goes when the script ends, however it ends; more clean-up steps can be
# added to CLEANUP, and they run first, in the order they were added.
SCRATCH=$(mktemp -d)
CLEANUP=()
clean_up() {
    local step
    for step in "${CLEANUP[@]}"; do eval "$step" || true; done
    rm -rf "$SCRATCH"
}
trap clean_up EXIT

title_of() { echo "$(tr '[:lower:]' '[:upper:]' <<< "${1:0:1}")${1:1}"; }

# The files an install puts under its prefix, one per line.
installed_files() {
    local game size
    for game in "${GAMES[@]}"; do
        echo "bin/$game"
        echo "share/applications/$game.desktop"
        echo "share/metainfo/org.wexgames.$game.metainfo.xml"
        echo "share/icons/hicolor/scalable/apps/$game.svg"
        for size in 48 128; do echo "share/icons/hicolor/${size}x$size/apps/$game.png"; done
        echo "share/man/man6/$game.6.gz"
    done
}
