# Shared by the scripts that build Quiverleaf and run it under Wine.
# Sourced, not run.

qv_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
qv_build="$qv_root/build/x86_64"

# Configures the x86_64 build tree once; after that the build itself re-runs
# CMake when a CMakeLists.txt changes or a source file appears.
qv_configure_x86_64() {
    if [ ! -f "$qv_build/build.ninja" ]; then
        cmake -S "$qv_root" -B "$qv_build" -G Ninja \
            -DCMAKE_TOOLCHAIN_FILE="$qv_root/cmake/toolchain-x86_64.cmake" -DQV_TESTS=ON
    fi
}

# Without wine32, /usr/bin/wine falls back to the 64-bit loader anyway;
# calling that directly saves a shell and its hint about wine32.
qv_wine64=/usr/lib/wine/wine64
[ -x "$qv_wine64" ] || qv_wine64=$(command -v wine64 || command -v wine)

qv_wine_environment() {
    export WINEDEBUG=-all
    # Mono and Gecko can't be downloaded here; without this wineboot asks
    # for them.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    unset WINEARCH WINESERVER WINELOADER
}

# Starts a private Xvfb and points DISPLAY at it; qv_stop_xvfb ends it. With
# -displayfd, Xvfb finds a free display number itself and writes it once it
# accepts connections, so parallel callers neither collide nor poll.
qv_xvfb_pid=""
qv_start_xvfb() {
    local fifo number=""
    fifo=$(mktemp -u "${TMPDIR:-/tmp}/qv-xvfb.XXXXXX")
    mkfifo "$fifo" || return 1
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    qv_xvfb_pid=$!
    read -r -t 30 number <"$fifo"
    rm -f "$fifo"
    if [ -z "$number" ]; then
        echo "Xvfb did not start" >&2
        return 1
    fi
    export DISPLAY=":$number"
}

qv_stop_xvfb() {
    if [ -n "$qv_xvfb_pid" ]; then
        kill "$qv_xvfb_pid" 2>/dev/null
        wait "$qv_xvfb_pid" 2>/dev/null
        qv_xvfb_pid=""
    fi
    return 0
}
