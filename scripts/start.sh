#!/usr/bin/env bash
# Builds Quiverleaf for x86_64 Windows and starts it under Wine, in the
# current directory (where it keeps its page files).
#
# With a display (DISPLAY set) the program opens there and this script ends
# when it does. Without one, it runs on a private Xvfb inside a Wine virtual
# desktop, so that its window gets a frame and caption, and the script saves
# a screenshot to ./quiverleaf-screenshot.png and ends the program.
set -euo pipefail

. "$(dirname "${BASH_SOURCE[0]}")/common.sh"
here=$(pwd)

bash "$qv_root/scripts/setup.sh"
qv_find_wine
qv_configure_x86_64
cmake --build "$qv_build" --target Quiverleaf

# The same prefix as the tests'; they run in throw-away copies of it and
# never see what the program stores here.
prefix="$qv_build/wineprefix"
"$qv_root/scripts/wine-run.sh" --prefix "$prefix" --boot

qv_wine_environment
export WINEPREFIX="$prefix"

if [ -n "${DISPLAY:-}" ]; then
    exec "$qv_wine64" "$qv_build/Quiverleaf.exe"
fi

cleanup() {
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
    WINEPREFIX="$prefix" wineserver -w 2>/dev/null || true
    qv_stop_xvfb
}
trap cleanup EXIT
qv_start_xvfb

# Explorer starts the program through the Windows side, so it gets the
# Windows form of its path (the host's / is drive Z:).
"$qv_wine64" explorer /desktop=Quiverleaf,1024x768 "Z:${qv_build//\//\\}\\Quiverleaf.exe" &
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
