#!/usr/bin/env bash
# Runs one Windows program under Wine, the way the tests need it:
#
#   wine-run.sh [--prefix DIR] PROGRAM.exe [ARGS...]
#   wine-run.sh [--prefix DIR] --boot        (only make the prefix)
#
# ctest calls it for every test executable. It exits with the program's exit
# code. DIR is the project's Wine prefix (never ~/.wine); it defaults to
# build/x86_64/wineprefix and is made on first use.
#
# Each call gets a display and a Wine session of its own, so that test
# executables can run side by side without taking each other's focus:
#
#  - its own Xvfb, on a free display number that Xvfb picks itself;
#  - its own wineserver. Wine keeps the desktop state (foreground window,
#    focus, cursor position, where SendInput goes) in the wineserver, one per
#    prefix, so separate X displays alone would still share it. Every call
#    therefore runs in a throw-away prefix: a copy of the registry (about
#    2 MB) and a drive C mostly made of links into the real prefix (see
#    make_run_prefix). That costs about two seconds per executable, not per
#    test.
#
# The throw-away prefix also differs from the real one in two registry values:
#  - windows are not "managed": with no window manager on Xvfb, a managed
#    window never gets the X focus (typed keys go nowhere) and each
#    DestroyWindow waits two seconds for a window manager that never answers;
#  - a crash prints its backtrace and ends the program instead of waiting
#    for someone to close the crash dialog.
set -uo pipefail

. "$(dirname "${BASH_SOURCE[0]}")/common.sh"
# This script passes the program's exit status on, and a failing test
# program is no failure of the script's: every early stop below says why
# itself, so the shared trap for failed commands is not wanted here.
trap - ERR
qv_find_wine || exit 1

prefix="$qv_build/wineprefix"
boot_only=0
while [ $# -gt 0 ]; do
    case "$1" in
        --prefix) prefix=$2; shift 2 ;;
        --boot) boot_only=1; shift ;;
        --) shift; break ;;
        *) break ;;
    esac
done
if [ "$boot_only" = 0 ] && [ $# -lt 1 ]; then
    echo "usage: wine-run.sh [--prefix DIR] (--boot | PROGRAM.exe [ARGS...])" >&2
    exit 2
fi
mkdir -p "$(dirname "$prefix")"
prefix=$(cd "$(dirname "$prefix")" && pwd)/$(basename "$prefix")

qv_wine_environment

run_prefix=""

cleanup() {
    if [ -n "$run_prefix" ]; then
        # Ends whatever the program left running (child processes, Wine's
        # own services) and waits for the server to go, so nothing lingers.
        WINEPREFIX="$run_prefix" wineserver -k 2>/dev/null
        WINEPREFIX="$run_prefix" wineserver -w 2>/dev/null
        rm -rf "$run_prefix"
    fi
    qv_stop_xvfb
}
trap cleanup EXIT
trap 'echo "wine-run.sh: interrupted; ending the Wine session" >&2; exit 130' INT
trap 'echo "wine-run.sh: told to stop (a time limit?); ending the Wine session" >&2; exit 143' TERM

# Makes the project's prefix once. The ready mark is written last, so an
# interrupted first boot is redone rather than half used.
ensure_prefix() {
    [ -f "$prefix/.quiverleaf-ready" ] && return 0
    local lock_fd
    exec {lock_fd}>"$prefix.lock"
    flock "$lock_fd"
    if [ ! -f "$prefix/.quiverleaf-ready" ]; then
        rm -rf "$prefix"
        echo "wine-run.sh: making the Wine prefix $prefix" >&2
        # wineboot complains that there is no 32-bit rundll32; that's expected.
        WINEPREFIX="$prefix" wineboot -i >/dev/null 2>&1
        # Wait for the server to write the registry out before it is copied.
        WINEPREFIX="$prefix" wineserver -w
        if [ ! -f "$prefix/system.reg" ] || [ ! -f "$prefix/user.reg" ]; then
            echo "wine-run.sh: wineboot did not make $prefix" >&2
            exec {lock_fd}>&-
            return 1
        fi
        touch "$prefix/.quiverleaf-ready"
    fi
    exec {lock_fd}>&-
}

# The throw-away prefix: its own registry, and its own drive C made of links
# into the real one, except where programs write. A bare profile name such as
# "Quiverleaf.ini" lives in C:\windows, and temporary files in the user's
# folder, so those two are private: each test executable starts from what
# wineboot made, never from what an earlier run or a person's session left.
make_run_prefix() {
    mkdir -p "$prefix.runs"
    run_prefix=$(mktemp -d "$prefix.runs/XXXXXX") || return 1
    cp -p "$prefix"/*.reg "$prefix/.update-timestamp" "$run_prefix/" || return 1
    local drive="$run_prefix/drive_c" entry name
    mkdir -p "$drive/windows" "$drive/windows/temp" "$run_prefix/dosdevices"
    for entry in "$prefix/drive_c"/*; do
        name=$(basename "$entry")
        case "$name" in
            windows) ;;
            users|ProgramData) cp -a "$entry" "$drive/" || return 1 ;;
            *) ln -s "$entry" "$drive/$name" ;;
        esac
    done
    for entry in "$prefix/drive_c/windows"/*; do
        name=$(basename "$entry")
        if [ "$name" = temp ]; then
            continue
        elif [ -d "$entry" ] || [[ "$name" == *.exe ]]; then
            ln -s "$entry" "$drive/windows/$name"
        elif [ "$name" = win.ini ] || [ "$name" = system.ini ]; then
            cp -p "$entry" "$drive/windows/"
        fi
    done
    ln -s ../drive_c "$run_prefix/dosdevices/c:"
    ln -s / "$run_prefix/dosdevices/z:"
    cat >>"$run_prefix/user.reg" <<'EOF'

[Software\\Wine\\X11 Driver]
"Managed"="N"

[Software\\Wine\\WineDbg]
"ShowCrashDialog"=dword:00000000
EOF
}

qv_start_xvfb || exit 1
ensure_prefix || exit 1
[ "$boot_only" = 1 ] && exit 0
make_run_prefix || { echo "wine-run.sh: could not make a prefix for this run" >&2; exit 1; }

WINEPREFIX="$run_prefix" "$qv_wine64" "$@" </dev/null
exit $?
