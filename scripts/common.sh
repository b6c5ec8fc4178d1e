# Shared by the scripts that build Quiverleaf and run it under Wine.
# Sourced, not run. Nothing here may fail while it is being sourced: the
# scripts source it before scripts/setup.sh has installed anything.

# A script that stops early says where and why. With errtrace the trap also
# fires inside functions and subshells; under `set -e` the failing command
# then ends the script, and the message names it.
qv_script_name=$(basename "$0")
qv_report_failure() {
    local status=$1 line=$2 command=$3
    printf '%s: stopped at line %s: `%s` failed with status %s\n' \
        "$qv_script_name" "$line" "$command" "$status" >&2
}
set -o errtrace
trap 'qv_report_failure $? $LINENO "$BASH_COMMAND"' ERR

qv_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
qv_build="$qv_root/build/x86_64"

# Configures the x86_64 build tree once; after that the build itself re-runs
# CMake when a CMakeLists.txt changes or a source file appears.
# Arguments are passed on as cache settings; given any, CMake runs again so
# that they take effect on a tree configured before.
qv_configure_x86_64() {
    if [ ! -f "$qv_build/build.ninja" ] || [ $# -gt 0 ]; then
        cmake -S "$qv_root" -B "$qv_build" -G Ninja \
            -DCMAKE_TOOLCHAIN_FILE="$qv_root/cmake/toolchain-x86_64.cmake" -DQV_TESTS=ON "$@"
    fi
}

# Sets qv_wine64 to the Wine loader. Called once Wine is needed, after
# scripts/setup.sh, which installs it. Without wine32, /usr/bin/wine falls
# back to the 64-bit loader anyway; calling that directly saves a shell and
# its hint about wine32.
qv_wine64=""
qv_find_wine() {
    local candidate
    for candidate in /usr/lib/wine/wine64 "$(command -v wine64 || true)" "$(command -v wine || true)"; do
        if [ -n "$candidate" ] && [ -x "$candidate" ]; then
            qv_wine64=$candidate
            return 0
        fi
    done
    echo "$qv_script_name: Wine is not installed (no wine64 or wine); scripts/setup.sh installs it" >&2
    return 1
}

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
    if ! command -v Xvfb >/dev/null 2>&1; then
        echo "$qv_script_name: Xvfb is not installed; scripts/setup.sh installs it" >&2
        return 1
    fi
    fifo=$(mktemp -u "${TMPDIR:-/tmp}/qv-xvfb.XXXXXX")
    mkfifo "$fifo" || { echo "$qv_script_name: cannot make the fifo $fifo" >&2; return 1; }
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    qv_xvfb_pid=$!
    read -r -t 30 number <"$fifo" || true
    rm -f "$fifo"
    if [ -z "$number" ]; then
        echo "$qv_script_name: Xvfb did not start within 30 seconds" >&2
        return 1
    fi
    export DISPLAY=":$number"
}

qv_stop_xvfb() {
    if [ -n "$qv_xvfb_pid" ]; then
        # Xvfb may have ended by itself, and wait reports how it ended:
        # neither is a failure of ours.
        kill "$qv_xvfb_pid" 2>/dev/null || true
        wait "$qv_xvfb_pid" 2>/dev/null || true
        qv_xvfb_pid=""
    fi
    return 0
}

# Prints the machine's own Debian mirror (the first archive URI of its apt
# sources, deb822 files first, then one-line entries, also those with
# options); fails when there is none.
qv_debian_mirror() {
    local uri="" f
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        uri=$(awk '/^URIs:/ { for (i = 2; i <= NF; i++) if ($i ~ /\/debian\/?$/) { print $i; exit } }' "$f")
        [ -n "$uri" ] && break
    done
    if [ -z "$uri" ] && [ -f /etc/apt/sources.list ]; then
        uri=$(awk '$1 == "deb" { for (i = 2; i <= NF; i++) if ($i ~ /^[a-z+]+:\/\/.*\/debian\/?$/) { print $i; exit } }' \
              /etc/apt/sources.list)
    fi
    [ -n "$uri" ] || return 1
    printf '%s\n' "$uri"
}
