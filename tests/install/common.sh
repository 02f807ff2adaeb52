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

# Where an install under PREFIX puts the games and the libraries: Debian's folders under /usr,
# bin/ and lib/ under any other prefix.
games_dir() { if [ "$1" = /usr ]; then echo games; else echo bin; fi; }
lib_dir() { if [ "$1" = /usr ]; then echo "lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)"; else echo lib; fi; }

# installed_files PREFIX: the files an install puts under PREFIX, one per line.
installed_files() {
    local game size
    for game in "${GAMES[@]}"; do
        echo "$(games_dir "$1")/$game"
        echo "share/applications/$game.desktop"
        echo "share/metainfo/org.wexgames.$game.metainfo.xml"
        echo "share/icons/hicolor/scalable/apps/$game.svg"
        for size in 48 128; do echo "share/icons/hicolor/${size}x$size/apps/$game.png"; done
        echo "share/man/man6/$game.6.gz"
    done
    printf 'share/doc/wexgames/%s\n' copyright changelog.gz
}

# dev_files PREFIX: the development component's files under PREFIX, one per line.
dev_files() {
    local libdir header
    libdir=$(lib_dir "$1")
    for header in runtime strings text errors startup hash assoc; do echo "include/wex/runtime/$header.h"; done
    echo "include/wex/wex/wex.h"
    echo "$libdir/wex/libruntime.a"
    echo "$libdir/wex/libwex.a"
    echo "$libdir/cmake/wex/wexConfig.cmake"
    echo "$libdir/cmake/wex/wexConfigVersion.cmake"
    echo "$libdir/pkgconfig/wex.pc"
    printf 'share/doc/libwex-dev/%s\n' wex.md copyright changelog.gz
    for file in CMakeLists.txt hello.cpp sketch.cpp ask.cpp; do echo "share/doc/libwex-dev/examples/$file"; done
}

# staged_files STAGE PREFIX: the files a staged install put under PREFIX, one per line, sorted.
staged_files() { (cd "$1$2" && find . -type f | sed 's|^\./||' | sort); }

# stage_installs LISTER [install options...]: installs under /usr and under /usr/local, staged in
# $SCRATCH/stage-usr and $SCRATCH/stage-local; each must hold exactly the files LISTER names.
stage_installs() {
    local lister=$1; shift
    for prefix in /usr /usr/local; do
        local stage=$SCRATCH/stage-$(basename "$prefix")
        if ! DESTDIR=$stage cmake --install "$BINARY_DIR" "$@" --prefix "$prefix" > "$SCRATCH/install.log" 2>&1; then
            cat "$SCRATCH/install.log" >&2
            fail "cmake --install $* --prefix $prefix into $stage failed"
            finish
        fi
        diff <("$lister" "$prefix" | sort) <(staged_files "$stage" "$prefix") ||
            fail "the staged install ($lister) under $prefix holds other files than expected (< expected, > installed)"
    done
}

# lintian_clean DEB: Debian's own checker finds no error and no warning in the package.
lintian_clean() {
    local report
    command -v lintian >/dev/null || { fail "lintian is not installed"; return; }
    report=$(lintian --fail-on error,warning "$1" 2>&1) ||
        fail "lintian finds faults in $(basename "$1"): $report"
}

# check_needs_no_gui PROGRAM: readelf reads its NEEDED entries, and none is a GUI library.
check_needs_no_gui() {
    local needed gui
    needed=$(readelf -d "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
    [ -n "$needed" ] || { fail "readelf finds no NEEDED entry in $1"; return; }
    gui=$(grep -E '^lib(gtk|gdk|glib|gobject|gio|gmodule|gthread|pango|cairo|X11|GL)' <<< "$needed" || true)
    [ -z "$gui" ] || fail "$1 needs GUI libraries: $gui"
}

# press_quit WINDOW X Y PID WHAT OUTPUT: press the Quit button at (X, Y) of the window, the pointer
# moving within the button first, as a hand's would; the program must then end with status 0.
press_quit() {
    local window=$1 x=$2 y=$3 pid=$4 what=$5 out=$6 status=0
    xdotool mousemove --window "$window" "$x" "$y"
    sleep 0.2
    xdotool mousemove --window "$window" $((x + 2)) $((y + 1))
    sleep 0.2
    xdotool click 1
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        fail "$what did not end after its Quit button was pressed"
        kill "$pid"
    fi
    wait "$pid" || status=$?
    [ "$status" -eq 0 ] || fail "$what ended with status $status after Quit: $(cat "$out")"
}

# run_hello PROGRAM: the hello example shows its window on the X server and ends with status 0,
# silently, when its Quit button is pressed.
run_hello() {
    local program=$1 pid window out=$SCRATCH/hello.out
    G_DEBUG=fatal-criticals "$program" > "$out" 2>&1 &
    pid=$!
    CLEANUP+=("kill $pid 2>/dev/null")
    window=$(timeout 20 xdotool search --sync --onlyvisible --all --pid "$pid" --name '^Hello$' | head -n 1)
    [ -n "$window" ] || { fail "$program showed no window titled Hello"; return; }
    [ "$(xdotool getwindowgeometry "$window" | sed -n 's/ *Geometry: //p')" = 300x110 ] ||
        fail "$program's window is not 300x110"
    press_quit "$window" 222 80 "$pid" "$program" "$out"
    [ ! -s "$out" ] || fail "$program wrote: $(cat "$out")"
}
