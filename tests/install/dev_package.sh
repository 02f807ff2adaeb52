# dev_package.sh: CPack's run makes the toolkit's development package beside the games'; each
# holds only its own files; the development package passes lintian, installs with dpkg, builds
# the hello example with pkg-config into a program that needs no GUI library and runs, and purges
# cleanly. Runs as root; the system is left as it was found.
source "$(dirname "$0")/common.sh"

PACKAGE=libwex-dev
[ "$(id -u)" -eq 0 ] || skip "installing a package with dpkg needs root"
if dpkg-query -W "$PACKAGE" >/dev/null 2>&1; then
    skip "$PACKAGE is already known to dpkg on this machine; the test leaves it alone"
fi
xdpyinfo >/dev/null 2>&1 || { fail "no X server at DISPLAY='${DISPLAY:-}'"; finish; }

if ! cpack -G DEB --config "$BINARY_DIR/CPackConfig.cmake" -B "$SCRATCH/package" > "$SCRATCH/cpack.log" 2>&1; then
    cat "$SCRATCH/cpack.log" >&2
    fail "cpack could not build the packages"
    finish
fi
games=("$SCRATCH"/package/wexgames_*.deb) dev=("$SCRATCH"/package/${PACKAGE}_*.deb)
[ -f "${games[0]}" ] && [ -f "${dev[0]}" ] || { fail "cpack did not make both packages"; finish; }

# packed_files DEB: the files in a package, under /usr, one per line.
packed_files() { dpkg-deb -c "$1" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./usr/||' | sort; }
diff <(installed_files /usr | sort) <(packed_files "${games[0]}") ||
    fail "the games' package holds other files than the games' (< expected, > packed)"
diff <(dev_files /usr | sort) <(packed_files "${dev[0]}") ||
    fail "$PACKAGE holds other files than the development component's (< expected, > packed)"

[ "$(dpkg-deb -f "${dev[0]}" Section)" = libdevel ] || fail "$PACKAGE is not in section libdevel"
[ "$(dpkg-deb -f "${dev[0]}" Depends)" = "libc6-dev | libc-dev" ] ||
    fail "$PACKAGE should depend on the C library's development files only: $(dpkg-deb -f "${dev[0]}" Depends)"
grep -Eq '(^|[ ,|])libgtk2\.0-0(t64)?([ ,|(]|$)' <<< "$(dpkg-deb -f "${dev[0]}" Recommends)" ||
    fail "$PACKAGE does not recommend the GTK 2 library its programs open"
lintian_clean "${dev[0]}"

CLEANUP+=("dpkg --purge $PACKAGE >/dev/null 2>&1")
if ! dpkg -i "${dev[0]}" > "$SCRATCH/dpkg.log" 2>&1; then
    cat "$SCRATCH/dpkg.log" >&2
    fail "dpkg -i ${dev[0]} failed"
    finish
fi
examples=/usr/share/doc/$PACKAGE/examples
if g++ "$examples/hello.cpp" $(pkg-config --cflags --libs wex) -o "$SCRATCH/hello" 2> "$SCRATCH/g++.log"; then
    check_needs_no_gui "$SCRATCH/hello"
    run_hello "$SCRATCH/hello"
else
    cat "$SCRATCH/g++.log" >&2
    fail "the installed hello example does not build with pkg-config's flags"
fi

dpkg --purge "$PACKAGE" > "$SCRATCH/purge.log" 2>&1 || { cat "$SCRATCH/purge.log" >&2; fail "dpkg --purge $PACKAGE failed"; }
! dpkg-query -W "$PACKAGE" >/dev/null 2>&1 || fail "dpkg still knows $PACKAGE after the purge"
while read -r file; do
    [ ! -e "/usr/$file" ] || fail "/usr/$file is left behind after the purge"
done < <(dev_files /usr)
for dir in /usr/include/wex "$(dirname "$examples")"; do
    [ ! -e "$dir" ] || fail "$dir is left behind after the purge"
done
finish
