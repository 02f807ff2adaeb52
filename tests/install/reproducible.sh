# reproducible.sh: two clones of this commit, in folders of different names, built from clean
# (Release, only what the packages hold) and packed with cpack, give byte-identical .deb files.
source "$(dirname "$0")/common.sh"

commit=$(git -C "$SOURCE_DIR" rev-parse HEAD 2>/dev/null) || skip "$SOURCE_DIR is not a git checkout"

# pack NAME: clone, build and pack into $SCRATCH/NAME; the packages land in $SCRATCH/NAME/packages.
pack() {
    local tree=$SCRATCH/$1
    git clone -q --no-checkout "$SOURCE_DIR" "$tree/source" && git -C "$tree/source" checkout -q --detach "$commit" &&
        cmake -S "$tree/source" -B "$tree/build" -DCMAKE_BUILD_TYPE=Release &&
        cmake --build "$tree/build" -j "$(nproc)" --target kelvado plimsy torvane man_pages &&
        cpack -G DEB --config "$tree/build/CPackConfig.cmake" -B "$tree/packages"
}
for name in first second-build; do
    pack "$name" > "$SCRATCH/$name.log" 2>&1 || { cat "$SCRATCH/$name.log" >&2; fail "the $name build did not pack"; finish; }
done

packed=0
for deb in "$SCRATCH"/first/packages/*.deb; do
    packed=$((packed + 1))
    cmp "$deb" "$SCRATCH/second-build/packages/$(basename "$deb")" ||
        fail "$(basename "$deb") differs between two builds of $commit"
done
[ "$packed" -eq 2 ] || fail "cpack made $packed packages, not 2"
finish
