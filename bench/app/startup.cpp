// How long the real program takes from process start to its first painted
// window. Prints the figures; asserts nothing.
#include "tests/support/ProcessRunner.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace testing_support;

int main(int argc, char** argv)
{
    std::string exe = argc > 1 ? argv[1] : QuiverleafExe();
    if (exe.empty()) {
        std::printf("usage: bench_app_startup Quiverleaf.exe (or set QV_EXE)\n");
        return 2;
    }
    const int runs = 7;
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        TempDir dir;
        LARGE_INTEGER freq, start, end;
        QueryPerformanceFrequency(&freq);
        QueryPerformanceCounter(&start);
        RunningProgram program(exe, dir.Path());
        HWND main = program.WaitForMainWindow(20000);
        if (!main) {
            std::printf("run %d: no window\n", i + 1);
            continue;
        }
        // Painted: the program's queue has gone idle after showing.
        HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, program.ProcessId());
        WaitForInputIdle(process, 10000);
        QueryPerformanceCounter(&end);
        CloseHandle(process);
        double ms = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(freq.QuadPart);
        times.push_back(ms);
        std::printf("run %d: %.1f ms to the first painted window\n", i + 1, ms);
        PostMessageA(main, WM_CLOSE, 0, 0);
        program.WaitForExit(10000);
    }
    if (!times.empty()) {
        std::sort(times.begin(), times.end());
        std::printf("start-up: min %.1f ms, median %.1f ms, max %.1f ms over %zu runs\n", times.front(),
                    times[times.size() / 2], times.back(), times.size());
    }
    return 0;
}
