#!/usr/bin/env bash
# without_gtk.sh: where pkg-config knows no gtk+-2.0, configuring (the fuzzing build as well)
# fails at once and names the Debian package that brings it.
set -u
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/pkgconfig"
status=0
for options in "" "-DWEX_FUZZ=ON"; do
    # shellcheck disable=SC2086  # the options are words
    if PKG_CONFIG_LIBDIR="$scratch/pkgconfig" PKG_CONFIG_PATH="" \
        cmake -S "$WEX_SOURCE_DIR" -B "$scratch/build$options" $options > "$scratch/log" 2>&1; then
        echo "configuring ($options) succeeded without gtk+-2.0"
        status=1
    elif ! tr -s ' \n' ' ' < "$scratch/log" | grep -q 'install the package libgtk2.0-dev'; then
        cat "$scratch/log"
        echo "configuring ($options) failed without naming libgtk2.0-dev"
        status=1
    fi
done
exit $status
