// How long programs take from process start to their first painted, idle
// window: Quiverleaf (first start, and with ten 1 MiB pages), the smallest
// one-window program and Wine's own notepad, started in turn round after
// round so that the machine's load falls on all of them alike. Prints the
// figures and the ratios of the medians; asserts nothing.
//
//   bench_app_startup [Quiverleaf.exe] [rounds] [another Quiverleaf.exe]
//
// The last, if given, is started in the same rounds as a reference (an
// older build, say), first start only.
#include "app/MainForm.h"
#include "app/PageFiles.h"
#include "tests/support/ProcessRunner.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

using namespace testing_support;

namespace {

double Now()
{
    LARGE_INTEGER freq, t;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

struct FindData {
    DWORD Pid;
    HWND Found;
};

BOOL CALLBACK FindVisibleWindow(HWND wnd, LPARAM param)
{
    auto* data = reinterpret_cast<FindData*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid == data->Pid && IsWindowVisible(wnd) && !GetWindow(wnd, GW_OWNER)) {
        data->Found = wnd;
        return FALSE;
    }
    return TRUE;
}

// About 1 MiB of text in lines of varied length, as a page file holds it.
std::string PageText(int page)
{
    std::string text;
    text.reserve(1 << 20);
    unsigned seed = static_cast<unsigned>(page) * 2654435761u;
    while (text.size() < (1u << 20)) {
        seed = seed * 1103515245u + 12345u;
        int length = 20 + static_cast<int>((seed >> 16) % 90);
        for (int i = 0; i < length; ++i)
            text += static_cast<char>('a' + (i * 7 + page) % 26);
        text += "\r\n";
    }
    return text;
}

struct Program {
    const char* Title;
    std::string Exe;
    std::function<void()> Prepare; // fills the fresh current directory
    std::vector<double> Times;
};

// Milliseconds from CreateProcess to a visible top-level window of the
// process whose thread then waits for input; negative on failure.
double StartOnce(const Program& program)
{
    TempDir dir;
    if (program.Prepare)
        program.Prepare();
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string cmd = "\"" + program.Exe + "\"";
    double start = Now();
    if (!CreateProcessA(program.Exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.Path().c_str(), &si,
                        &pi))
        return -1;
    FindData data{pi.dwProcessId, nullptr};
    double limit = start + 30000;
    while (!data.Found && Now() < limit) {
        EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&data));
        if (!data.Found)
            Sleep(1);
    }
    double ms = -1;
    if (data.Found) {
        WaitForInputIdle(pi.hProcess, 10000);
        ms = Now() - start;
        PostMessageA(data.Found, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return ms;
}

struct Figures {
    double Min, Median, Max;
};

Figures Summary(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    if (times.empty())
        return {0, 0, 0};
    return {times.front(), times[times.size() / 2], times.back()};
}

} // namespace

int main(int argc, char** argv)
{
    std::string exe = argc > 1 ? argv[1] : QuiverleafExe();
    int rounds = argc > 2 ? std::atoi(argv[2]) : 11;
    if (exe.empty() || rounds < 1) {
        std::printf("usage: bench_app_startup Quiverleaf.exe [rounds] (or set QV_EXE)\n");
        return 2;
    }
    std::string folder = exe.substr(0, exe.find_last_of("\\/") + 1);
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);

    std::string reference = argc > 3 ? argv[3] : "";
    std::vector<Program> programs = {
        {"Quiverleaf, first start", exe, nullptr, {}},
        {"bare one-window program", folder + "bench_programs_barewindow.exe", nullptr, {}},
        {"Wine's notepad", std::string(system) + "\\notepad.exe", nullptr, {}},
        {"Quiverleaf, ten 1 MiB pages", exe,
         [] {
             for (int n = 1; n <= PageCount; ++n)
                 WriteFileBytes(PageFileName(n), PageText(n));
         },
         {}},
    };
    if (!reference.empty())
        programs.push_back({"reference Quiverleaf, first start", reference, nullptr, {}});
    // One start of each first, unmeasured: it loads the libraries into the
    // file cache for all of them alike.
    for (Program& p : programs)
        if (StartOnce(p) < 0)
            std::printf("%s (%s) did not start\n", p.Title, p.Exe.c_str());
    for (int round = 0; round < rounds; ++round) {
        // Each round in another order, so none is always first after a pause.
        for (size_t i = 0; i < programs.size(); ++i) {
            Program& p = programs[(i + static_cast<size_t>(round)) % programs.size()];
            double ms = StartOnce(p);
            std::printf("round %d: %-34s %7.1f ms\n", round + 1, p.Title, ms);
            if (ms >= 0)
                p.Times.push_back(ms);
        }
    }

    std::printf("start-up to the first painted, idle window, %d rounds (ms):\n", rounds);
    std::vector<Figures> figures;
    for (const Program& p : programs) {
        Figures f = Summary(p.Times);
        figures.push_back(f);
        std::printf("  %-34s median %7.1f   min %7.1f   max %7.1f   (%zu runs)\n", p.Title, f.Median, f.Min, f.Max,
                    p.Times.size());
    }
    auto ratio = [&](size_t a, size_t b) { return figures[b].Median > 0 ? figures[a].Median / figures[b].Median : 0; };
    std::printf("ratios of medians:\n");
    std::printf("  Quiverleaf / bare window         %.2f\n", ratio(0, 1));
    std::printf("  Quiverleaf / notepad             %.2f\n", ratio(0, 2));
    std::printf("  notepad / bare window            %.2f\n", ratio(2, 1));
    std::printf("  ten 1 MiB pages / first start    %.2f (%.1f ms more)\n", ratio(3, 0),
                figures[3].Median - figures[0].Median);
    if (!reference.empty()) {
        std::printf("  reference / bare window          %.2f\n", ratio(4, 1));
        std::printf("  Quiverleaf / reference           %.2f\n", ratio(0, 4));
    }
    return 0;
}
