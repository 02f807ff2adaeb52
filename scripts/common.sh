# common.sh: what scripts/test and scripts/play share: packages, the build, a virtual X server.
# Sourced, not run.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
JOBS=$(nproc)

# Debian packages the games need at run time, and what building and testing them needs.
RUN_PACKAGES=(libgtk2.0-0 xvfb imagemagick)
BUILD_PACKAGES=(cmake g++ make pkg-config libgtk2.0-dev)
TEST_PACKAGES=(clang libclang-rt-14-dev libgtest-dev libbenchmark-dev binutils xdotool
               libgtkglext1 libgtkgl2.0-1 libgl1-mesa-dri x11-utils
               desktop-file-utils appstream groff-base man-db dpkg-dev fakeroot lintian valgrind)

say() { printf '== %s\n' "$*"; }

# Install whatever of the given packages is missing; nothing when all are present.
ensure_packages() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    say "installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

# configure_build DIR [cmake options...]: our own builds stop at any compiler warning.
configure_build() {
    local dir=$1; shift
    cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWEX_WERROR=ON "$@" >/dev/null
    cmake --build "$dir" -j "$JOBS"
}

# Start a virtual X server on a free display and export DISPLAY; it stops with this shell.
start_xvfb() {
    local n=90
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    XVFB_PID=$!
    trap 'kill $XVFB_PID 2>/dev/null' EXIT
    export DISPLAY=":$n"
    for _ in $(seq 100); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "virtual X server did not start" >&2
    return 1
}
