# desktop_files.sh: each game's desktop entry, metainfo, manual page and icons are valid and
# say what the game is, as the desktop tools read them.
source "$(dirname "$0")/common.sh"
export LC_ALL=C.UTF-8 MANPAGER=cat MANWIDTH=80

# entry_value FILE KEY: the value of KEY in the [Desktop Entry] group.
entry_value() { sed -n "s/^$2=//p" "$1" | head -n 1; }

check_entry() {
    local game=$1 entry=$2 report categories
    if ! report=$(desktop-file-validate "$entry" 2>&1) || [ -n "$report" ]; then
        fail "desktop-file-validate complains about $entry: $report"
    fi
    [ "$(entry_value "$entry" Name)" = "$(title_of "$game")" ] || fail "$entry: Name is not $(title_of "$game")"
    [ "$(entry_value "$entry" Exec)" = "$game" ] || fail "$entry: Exec does not start $game"
    [ "$(entry_value "$entry" Icon)" = "$game" ] || fail "$entry: Icon is not the $game icon"
    [ -n "$(entry_value "$entry" Comment)" ] || fail "$entry: no Comment"
    categories=";$(entry_value "$entry" Categories)"
    [[ $categories == *";Game;"* ]] || fail "$entry: not in the Game category"
    [[ $categories == *";LogicGame;"* || $categories == *";BoardGame;"* ]] ||
        fail "$entry: neither LogicGame nor BoardGame"
}

check_metainfo() {
    local game=$1 metainfo=$2 report
    report=$(appstreamcli validate --no-net "$metainfo" 2>&1) ||
        fail "appstreamcli rejects $metainfo: $report"
    grep -q "<id>org.wexgames.$game</id>" "$metainfo" || fail "$metainfo: wrong component id"
    grep -q "<launchable type=\"desktop-id\">$game.desktop</launchable>" "$metainfo" ||
        fail "$metainfo: does not launch $game.desktop"
    grep -q "<binary>$game</binary>" "$metainfo" || fail "$metainfo: does not provide the $game binary"
    grep -q '<caption>..*</caption>' "$metainfo" || fail "$metainfo: the screenshot has no caption"
    grep -q '<summary>..*</summary>' "$metainfo" || fail "$metainfo: no summary"
}

check_man_page() {
    local game=$1 page=$2 warnings text section
    warnings=$(man --warnings=w -l "$page" 2>&1 >/dev/null) || fail "man cannot render $page"
    [ -z "$warnings" ] || fail "$page renders with warnings: $warnings"
    text=$(man -l "$page" 2>/dev/null)
    for section in NAME SYNOPSIS DESCRIPTION RULES MOUSE KEYS BUTTONS OPTIONS "EXIT STATUS"; do
        grep -qx "$section" <<< "$text" || fail "$page: no $section section"
    done
    grep -qE "^ *$game +- " <<< "$text" || fail "$page: the NAME line does not name $game"
    grep -q -- "-vemto" <<< "$text" || fail "$page: the -vemto flag is not described"
}

# The PNGs are rendered from the SVG once and committed; a PNG that no longer matches its
# drawing means the SVG changed and they were not made again.
check_icons() {
    local game=$1 dir=$2 size png distance
    for size in 48 128; do
        png=$dir/$game-$size.png
        [ "$(identify -format '%wx%h' "$png" 2>/dev/null)" = "${size}x$size" ] ||
            { fail "$png is not a ${size}x$size picture"; continue; }
        convert -background none -density 300 "$dir/$game.svg" -resize "${size}x$size" \
            -depth 8 "PNG32:$SCRATCH/$game-$size.png" || { fail "$dir/$game.svg does not render"; continue; }
        # compare exits 1 when the pictures differ at all; the distance tells how much.
        distance=$(compare -metric RMSE "$png" "$SCRATCH/$game-$size.png" null: 2>&1 || true)
        distance=$(sed -n 's/.*(\(.*\))/\1/p' <<< "$distance")
        awk -v d="${distance:-1}" 'BEGIN { exit !(d < 0.03) }' ||
            fail "$png differs from $game.svg drawn at $size px (normalised RMSE ${distance:-unknown})"
    done
}

for game in "${GAMES[@]}"; do
    dir=$SOURCE_DIR/games/$game/desktop
    check_entry "$game" "$dir/$game.desktop"
    check_metainfo "$game" "$dir/org.wexgames.$game.metainfo.xml"
    check_man_page "$game" "$dir/$game.6"
    check_icons "$game" "$dir"
done
finish
