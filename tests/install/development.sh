# development.sh: `cmake --install --component dev` into a staging folder installs the toolkit's
# headers, libraries, CMake package, pkg-config file, reference and examples, and nothing else;
# the headers compile on their own, without GTK's; the hello example builds out of tree against
# the staged copy, with find_package (under /usr and under /usr/local) and with pkg-config, needs
# no GUI library and runs.
source "$(dirname "$0")/common.sh"

# Under /usr the libraries go to the multiarch folder, under /usr/local to lib/.
stage_installs dev_files --component dev

# The public headers alone, as the oldest C++ the package promises, with no GTK on the path.
stage=$SCRATCH/stage-usr
examples=$stage/usr/share/doc/libwex-dev/examples
printf '#include "wex/wex.h"\nint main() { INIT(); }\n' > "$SCRATCH/headers.cpp"
g++ -std=c++17 -Wall -Wextra -Werror -fsyntax-only -I"$stage/usr/include/wex" "$SCRATCH/headers.cpp" ||
    fail "wex/wex.h does not compile from the staged headers alone"

# find_package(wex CONFIG) from each staged prefix; compile_commands.json tells which headers.
# An older standard asked for is raised to the one the headers need.
for prefix in $stage/usr $SCRATCH/stage-local/usr/local; do
    build=$SCRATCH/with-cmake-$(basename "$prefix")
    if cmake -S "$examples" -B "$build" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_CXX_STANDARD=14 \
            -DCMAKE_EXPORT_COMPILE_COMMANDS=ON > "$SCRATCH/cmake.log" 2>&1 &&
        cmake --build "$build" --target hello >> "$SCRATCH/cmake.log" 2>&1; then
        grep -Eq -- "-(I|isystem )$prefix/include/wex " "$build/compile_commands.json" ||
            fail "the find_package build did not take the headers staged under $prefix"
        check_needs_no_gui "$build/hello"
        run_hello "$build/hello"
    else
        cat "$SCRATCH/cmake.log" >&2
        fail "the hello example does not build with find_package(wex CONFIG) from $prefix"
    fi
done

# pkg-config: the staged file names its final prefix; the sysroot puts the stage in front.  Its
# flags bring the standard the headers need, also after an older one.
pc_dir=$(dirname "$(find "$stage" -name wex.pc)")
flags=$(PKG_CONFIG_PATH=$pc_dir PKG_CONFIG_SYSROOT_DIR=$stage pkg-config --cflags --libs wex) ||
    fail "pkg-config does not know wex"
if g++ -std=c++14 "$examples/hello.cpp" $flags -o "$SCRATCH/hello" 2> "$SCRATCH/g++.log"; then
    check_needs_no_gui "$SCRATCH/hello"
    run_hello "$SCRATCH/hello"
else
    cat "$SCRATCH/g++.log" >&2
    fail "the hello example does not build with pkg-config's flags: $flags"
fi
finish
