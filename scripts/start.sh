#!/usr/bin/env bash
# Builds Quiverleaf for x86_64 Windows and starts it under Wine, in the
# current directory (where it keeps its page files).
#
# With a display (DISPLAY set) the program opens there and this script ends
# when it does. Without one, it runs on a private Xvfb inside a Wine virtual
# desktop, so that its window gets a frame and caption, and the script saves
# a screenshot to ./quiverleaf-screenshot.png and ends the program.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build/x86_64"
here=$(pwd)

bash "$root/scripts/setup.sh"
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64.cmake" -DQV_TESTS=ON
fi
cmake --build "$build" --target Quiverleaf

# The same prefix as the tests'; they run in throw-away copies of it and
# never see what the program stores here.
prefix="$build/wineprefix"
"$root/scripts/wine-run.sh" --prefix "$prefix" --boot

wine64=/usr/lib/wine/wine64
[ -x "$wine64" ] || wine64=$(command -v wine64 || command -v wine)
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
exe_windows="Z:${build//\//\\}\\Quiverleaf.exe"

if [ -n "${DISPLAY:-}" ]; then
    exec "$wine64" "$build/Quiverleaf.exe"
fi

xvfb_pid=""
fifo=""
cleanup() {
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
    WINEPREFIX="$prefix" wineserver -w 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    [ -n "$fifo" ] && rm -f "$fifo"
    return 0
}
trap cleanup EXIT

fifo=$(mktemp -u "${TMPDIR:-/tmp}/qv-xvfb.XXXXXX")
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb_pid=$!
read -r -t 30 number <"$fifo" || { echo "start.sh: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$number"

"$wine64" explorer /desktop=Quiverleaf,1024x768 "$exe_windows" &
wine_pid=$!

# The program is drawn inside the virtual desktop, not as an X window of its
# own, so wait for the picture instead: an empty desktop is one flat colour,
# and once the window is there and two shots a moment apart agree, it's done.
shot="$here/quiverleaf-screenshot.png"
previous=""
drawn=0
for _ in $(seq 1 120); do
    sleep 0.5
    if ! kill -0 "$wine_pid" 2>/dev/null; then
        echo "start.sh: the program ended before its window was seen" >&2
        exit 1
    fi
    import -window root "$shot" 2>/dev/null || continue
    colours=$(identify -format '%k' "$shot" 2>/dev/null || echo 0)
    [ "$colours" -gt 16 ] || continue
    current=$(md5sum <"$shot")
    if [ "$current" = "$previous" ]; then
        drawn=1
        break
    fi
    previous=$current
done
if [ "$drawn" = 0 ]; then
    echo "start.sh: no window appeared within a minute" >&2
    exit 1
fi
echo "Quiverleaf ran on a virtual display; screenshot saved to $shot"
