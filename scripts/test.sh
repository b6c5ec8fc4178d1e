#!/usr/bin/env bash
# Builds Quiverleaf for x86_64 Windows with its tests and runs them under
# Wine: each test executable in its own Xvfb and Wine session, two at a time.
# Exits with ctest's status.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

bash "$qv_root/scripts/setup.sh"
qv_find_wine
# Warnings are errors here, with the compiler setup.sh installed; a user's
# own build (start.sh, or CMake by hand) only shows them.
qv_configure_x86_64 -DQV_WERROR=ON
cmake --build "$qv_build"

# The first boot of the prefix takes ten seconds or so; doing it here keeps
# it out of the first test's time limit.
"$qv_root/scripts/wine-run.sh" --prefix "$qv_build/wineprefix" --boot

status=0
(cd "$qv_build" && ctest --output-on-failure -j2 --timeout 300) || status=$?

# A test killed at its time limit can't clean up after itself: end the Wine
# sessions it left so that nothing keeps running after us.
for run in "$qv_build"/wineprefix.runs/*/; do
    [ -d "$run" ] || continue
    WINEPREFIX="$run" wineserver -k 2>/dev/null || true
    WINEPREFIX="$run" wineserver -w 2>/dev/null || true
    rm -rf "$run"
done

exit "$status"
