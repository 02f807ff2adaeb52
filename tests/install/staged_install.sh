# staged_install.sh: `cmake --install` into a staging folder puts every file where the desktop
# looks for it, and the installed programs run from there.
source "$(dirname "$0")/common.sh"

# Exactly the expected files under Debian's prefix and a source install's: a missing one breaks
# the desktop, a stray one would be packed too.
stage_installs installed_files

stage=$SCRATCH/stage-usr
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BINARY_DIR/CMakeCache.txt")
for game in "${GAMES[@]}"; do
    program=$stage/usr/games/$game
    [ -x "$program" ] || { fail "$program is not executable"; continue; }

    # The installed page is the game's page with the project's version filled in.
    page=$stage/usr/share/man/man6/$game.6.gz
    gzip -dc "$page" 2>/dev/null |
        cmp -s - <(sed "s/@PROJECT_VERSION@/$version/" "$SOURCE_DIR/games/$game/desktop/$game.6") ||
        fail "$page does not unpack to the game's manual page for version $version"

    # The one flag the programs read: a line on standard error and status 1, no window.
    status=0
    "$program" -vemto > "$SCRATCH/out" 2> "$SCRATCH/err" || status=$?
    [ "$status" -eq 1 ] || fail "installed $game -vemto exited with $status, not 1"
    [ "$(cat "$SCRATCH/err")" = "Converted by Vemto executable 3.9.2." ] ||
        fail "installed $game -vemto wrote '$(cat "$SCRATCH/err")' on standard error"
    [ ! -s "$SCRATCH/out" ] || fail "installed $game -vemto wrote on standard output"
done
finish
