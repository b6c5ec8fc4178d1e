#!/usr/bin/env bash
# Builds Quiverleaf for x86_64 Windows with its tests and runs them under
# Wine: each test executable in its own Xvfb and Wine session, two at a time.
# Exits with ctest's status.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
build="$root/build/x86_64"

bash scripts/setup.sh

# Configured once; after that the build itself re-runs CMake when a
# CMakeLists.txt changes or a source file appears.
if [ ! -f "$build/build.ninja" ]; then
    cmake -S . -B "$build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64.cmake" -DQV_TESTS=ON
fi
cmake --build "$build"

# The first boot of the prefix takes ten seconds or so; doing it here keeps
# it out of the first test's time limit.
scripts/wine-run.sh --prefix "$build/wineprefix" --boot

status=0
(cd "$build" && ctest --output-on-failure -j2 --timeout 300) || status=$?

# A test killed at its time limit can't clean up after itself: end the Wine
# sessions it left so that nothing keeps running after us.
for run in "$build"/wineprefix.runs/*/; do
    [ -d "$run" ] || continue
    WINEPREFIX="$run" wineserver -k 2>/dev/null || true
    WINEPREFIX="$run" wineserver -w 2>/dev/null || true
    rm -rf "$run"
done

exit "$status"
