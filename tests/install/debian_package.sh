# debian_package.sh: the .deb that CPack builds from this build tree passes lintian, installs
# with dpkg, puts every file in place, each installed game is found as its desktop entry names it,
# shows its board on the X server and quits with its button, and the package purges cleanly. Runs as root; the system is left as it was found.
source "$(dirname "$0")/common.sh"

[ "$(id -u)" -eq 0 ] || skip "installing a package with dpkg needs root"
if dpkg-query -W wexgames >/dev/null 2>&1; then
    skip "wexgames is already known to dpkg on this machine; the test leaves it alone"
fi
xdpyinfo >/dev/null 2>&1 || { fail "no X server at DISPLAY='${DISPLAY:-}'"; finish; }

# Window size, canvas origin and the Quit button's centre, all in window pixels; grid points
# on the canvas that the board's grey lines cross; colours that every new board shows.
game_window() {
    case $1 in
        kelvado) echo "800 600  100 0  750 575";;
        plimsy)  echo "900 640  0 0    850 620";;
        torvane) echo "960 720  120 0  900 690";;
    esac
}
canvas_size() {
    case $1 in
        kelvado) echo "600 600";;
        plimsy)  echo "900 600";;
        torvane) echo "720 720";;
    esac
}
grid_points() {
    case $1 in
        kelvado) echo "50,325 550,325 325,50 325,550";;
        plimsy)  echo "50,325 850,325 475,50 475,550";;
        torvane) echo "30,345 690,345 345,30 345,690";;
    esac
}
board_colours() {
    case $1 in
        kelvado) echo "FFFFFF";;                        # the hidden cells' hourglasses
        plimsy)  echo "808080 00FFFF FF0000 FFFF00";;   # robots, their eyes, flowers, bees
        torvane) echo "808080 00FFFF 008000 FF0000";;   # robots, batteries, trees, mines
    esac
}

pixel() { convert "$1" -format "%[hex:p{$2,$3}]" info: 2>/dev/null | cut -c1-6; }

# grid_drawn SHOT GAME: every grid point of the game's canvas shows the grid's grey.
grid_drawn() {
    local shot=$1 game=$2 point
    read -r _ _ cx cy _ _ <<< "$(game_window "$game")"
    for point in $(grid_points "$game"); do
        [ "$(pixel "$shot" $((cx + ${point%,*})) $((cy + ${point#*,})))" = "CCCCCC" ] || return 1
    done
}

# play GAME: start the installed game, read its board off the screen, quit with the button.
play() {
    local game=$1 title pid window shot colour
    local width height cx cy qx qy cw ch
    # shellcheck disable=SC2034  # all six are set by getwindowgeometry --shell, not all read
    local WINDOW X Y WIDTH HEIGHT SCREEN
    title=$(title_of "$game")
    read -r width height cx cy qx qy <<< "$(game_window "$game")"
    read -r cw ch <<< "$(canvas_size "$game")"

    G_DEBUG=fatal-criticals "/usr/games/$game" > "$SCRATCH/$game.out" 2>&1 &  # a GTK critical fails it
    pid=$!
    CLEANUP+=("kill $pid 2>/dev/null")
    window=$(timeout 20 xdotool search --sync --onlyvisible --all --pid "$pid" --name "^$title\$" | head -n 1)
    [ -n "$window" ] || { fail "installed $game showed no window titled $title"; return; }
    eval "$(xdotool getwindowgeometry --shell "$window")"
    [ "${WIDTH}x$HEIGHT" = "${width}x$height" ] || fail "$title's window is ${WIDTH}x$HEIGHT, not ${width}x$height"

    # The first board is dealt shortly after the window shows; the grid is drawn with it.
    shot=$BINARY_DIR/tests/install/$game-installed.png
    for _ in $(seq 50); do
        import -window root -crop "${WIDTH}x$HEIGHT+$X+$Y" +repage "$shot"
        grid_drawn "$shot" "$game" && break
        sleep 0.2
    done
    grid_drawn "$shot" "$game" || fail "$shot: no board grid on $title's canvas"
    convert "$shot" -crop "${cw}x$ch+$cx+$cy" +repage -unique-colors txt:- > "$SCRATCH/$game.colours"
    for colour in $(board_colours "$game"); do
        grep -qi "#$colour " "$SCRATCH/$game.colours" || fail "$shot: no #$colour on $title's board"
    done

    press_quit "$window" "$qx" "$qy" "$pid" "installed $game" "$SCRATCH/$game.out"
}

if ! cpack -G DEB --config "$BINARY_DIR/CPackConfig.cmake" -B "$SCRATCH/package" > "$SCRATCH/cpack.log" 2>&1; then
    cat "$SCRATCH/cpack.log" >&2
    fail "cpack could not build the package"
    finish
fi
debs=("$SCRATCH"/package/wexgames_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    fail "cpack made no single wexgames_*.deb"
    finish
fi
deb=${debs[0]}

# The control fields: the GTK 2 dependency is written by hand, since nothing links it.
[ "$(dpkg-deb -f "$deb" Package)" = wexgames ] || fail "the package is not named wexgames"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "the package is not in section games"
grep -Eq '(^|[ ,|])libgtk2\.0-0(t64)?([ ,|(]|$)' <<< "$(dpkg-deb -f "$deb" Depends)" ||
    fail "the package does not depend on the GTK 2 library package: $(dpkg-deb -f "$deb" Depends)"
description=$(dpkg-deb -f "$deb" Description)
for game in "${GAMES[@]}"; do
    grep -q "$game" <<< "$description" || fail "the package description does not mention $game"
done
lintian_clean "$deb"

CLEANUP+=("dpkg --purge wexgames >/dev/null 2>&1")
if ! dpkg -i "$deb" > "$SCRATCH/dpkg.log" 2>&1; then
    cat "$SCRATCH/dpkg.log" >&2
    fail "dpkg -i $deb failed"
    finish
fi
listed=$(dpkg -L wexgames)
while read -r file; do
    grep -qx "/usr/$file" <<< "$listed" || fail "dpkg -L wexgames does not list /usr/$file"
done < <(installed_files /usr)
# The desktop entry names the program by name: a login's PATH must find it in /usr/games.
login_path=$(sed -n 's/^ENV_PATH[[:space:]]*PATH=//p' /etc/login.defs)
for game in "${GAMES[@]}"; do
    [ "$(man -w 6 "$game" 2>/dev/null)" = "/usr/share/man/man6/$game.6.gz" ] ||
        fail "man does not find the installed $game(6) page"
    exec=$(sed -n 's/^Exec=//p' "/usr/share/applications/$game.desktop")
    [ "$(env -i PATH="$login_path" sh -c "command -v $exec")" = "/usr/games/$game" ] ||
        fail "$game.desktop's Exec=$exec is not /usr/games/$game on a login's PATH ($login_path)"
    play "$game"
done

dpkg --purge wexgames > "$SCRATCH/purge.log" 2>&1 || { cat "$SCRATCH/purge.log" >&2; fail "dpkg --purge wexgames failed"; }
! dpkg-query -W wexgames >/dev/null 2>&1 || fail "dpkg still knows wexgames after the purge"
while read -r file; do
    [ ! -e "/usr/$file" ] || fail "/usr/$file is left behind after the purge"
done < <(installed_files /usr)
finish
