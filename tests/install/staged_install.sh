# staged_install.sh: `cmake --install` into a staging folder puts every file where the desktop
# looks for it, and the installed programs run from there.
source "$(dirname "$0")/common.sh"

stage=$SCRATCH/stage
if ! DESTDIR=$stage cmake --install "$BINARY_DIR" --prefix /usr > "$SCRATCH/install.log" 2>&1; then
    cat "$SCRATCH/install.log" >&2
    fail "cmake --install into $stage failed"
    finish
fi

# Exactly the expected files: a missing one breaks the desktop, a stray one would be packed too.
diff <(installed_files | sort) <(cd "$stage/usr" && find . -type f | sed 's|^\./||' | sort) ||
    fail "the staged install holds other files than expected (< expected, > installed)"

for game in "${GAMES[@]}"; do
    program=$stage/usr/bin/$game
    [ -x "$program" ] || { fail "$program is not executable"; continue; }

    page=$stage/usr/share/man/man6/$game.6.gz
    gzip -dc "$page" 2>/dev/null | cmp -s - "$SOURCE_DIR/games/$game/desktop/$game.6" ||
        fail "$page does not unpack to the game's manual page"

    # The one flag the programs read: a line on standard error and status 1, no window.
    status=0
    "$program" -vemto > "$SCRATCH/out" 2> "$SCRATCH/err" || status=$?
    [ "$status" -eq 1 ] || fail "installed $game -vemto exited with $status, not 1"
    [ "$(cat "$SCRATCH/err")" = "Converted by Vemto executable 3.9.2." ] ||
        fail "installed $game -vemto wrote '$(cat "$SCRATCH/err")' on standard error"
    [ ! -s "$SCRATCH/out" ] || fail "installed $game -vemto wrote on standard output"
done
finish
