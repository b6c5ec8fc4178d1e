// How long programs take from process start to their first painted, idle
// window: Quiverleaf (a first start without a settings file, a start with the
// settings file a previous run left, and a first start with ten 1 MiB pages),
// the smallest one-window program, that window with the platform's editor
// in it (what Quiverleaf's window takes from the platform) and Wine's own
// notepad, started in turn round after round so that the machine's load
// falls on all of them alike. Prints the figures, the ratios of the medians
// and the ratios within each round; asserts nothing.
//
//   bench_app_startup [Quiverleaf.exe] [rounds] [another Quiverleaf.exe]
//
// The last, if given, is started in the same rounds as a reference (an
// older build, say), first start only.
#include "app/MainForm.h"
#include "app/PageFiles.h"
#include "bench/BenchSupport.h"
#include "tests/support/ProcessRunner.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

using namespace testing_support;
using bench::Now;

namespace {

// Quiverleaf keeps its settings in the Windows folder, where they outlive
// the page folder of one start.
enum class Settings { Untouched, None, Kept };

struct Program {
    const char* Title;
    std::string Exe;
    std::function<void()> Prepare; // fills the fresh current directory
    Settings Ini = Settings::Untouched;
    std::vector<double> Times;
    std::vector<double> ByRound = {}; // negative for a start that failed
};

// The user's own settings file is kept aside while the benchmark runs.
WindowsSettingsFile* SettingsFile = nullptr;

double StartOnce(const Program& program);

// A first start finds no settings file; a later one finds the file that the
// previous run wrote when it closed (one unmeasured run makes it if none has).
void PrepareSettings(const Program& program)
{
    if (program.Ini == Settings::None) {
        SettingsFile->Remove();
    } else if (program.Ini == Settings::Kept && !FileExists(SettingsFile->Path())) {
        Program once = program;
        once.Ini = Settings::Untouched;
        StartOnce(once);
    }
}

// Milliseconds from CreateProcess to a visible top-level window of the
// process whose thread then waits for input; negative on failure.
double StartOnce(const Program& program)
{
    PrepareSettings(program);
    TempDir dir;
    if (program.Prepare)
        program.Prepare();
    double start = Now();
    RunningProgram running(program.Exe, dir.Path());
    if (!running.Started())
        return -1;
    HWND found = nullptr;
    while (!(found = FindVisibleTopWindow(running.ProcessId(), nullptr)) && Now() < start + 30000)
        Sleep(1);
    if (!found)
        return -1;
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, running.ProcessId());
    WaitForInputIdle(process, 10000);
    double ms = Now() - start;
    CloseHandle(process);
    PostMessageA(found, WM_CLOSE, 0, 0);
    running.WaitForExit(10000);
    return ms;
}

// With the lower quartile: on a loaded machine the times fall into a fast
// and a slow group, and the quartile shows the fast one.
struct Figures {
    double Min, Quartile, Median, Max;
};

Figures Summary(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    if (times.empty())
        return {0, 0, 0, 0};
    return {times.front(), times[times.size() / 4], times[times.size() / 2], times.back()};
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

    WindowsSettingsFile settings;
    if (!settings.MovedAside()) {
        std::printf("cannot move the existing %s aside\n", settings.Path().c_str());
        return 1;
    }
    SettingsFile = &settings;
    std::string reference = argc > 3 ? argv[3] : "";
    std::vector<Program> programs = {
        {"Quiverleaf, first start", exe, nullptr, Settings::None, {}},
        {"bare one-window program", folder + "bench_programs_barewindow.exe", nullptr, Settings::Untouched, {}},
        {"Wine's notepad", std::string(system) + "\\notepad.exe", nullptr, Settings::Untouched, {}},
        {"Quiverleaf, ten 1 MiB pages", exe,
         [] {
             for (int n = 1; n <= PageCount; ++n)
                 WriteFileBytes(PageFileName(n), bench::PageText(n, false));
         },
         Settings::None,
         {}},
        {"Quiverleaf, with its settings file", exe, nullptr, Settings::Kept, {}},
        {"bare window with an editor", folder + "bench_programs_editwindow.exe", nullptr, Settings::Untouched, {}},
    };
    if (!reference.empty())
        programs.push_back({"reference Quiverleaf, first start", reference, nullptr, Settings::None, {}});
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
            p.ByRound.push_back(ms);
            if (ms >= 0)
                p.Times.push_back(ms);
        }
    }

    std::printf("start-up to the first painted, idle window, %d rounds (ms):\n", rounds);
    std::vector<Figures> figures;
    for (const Program& p : programs) {
        Figures f = Summary(p.Times);
        figures.push_back(f);
        std::printf("  %-34s median %7.1f   min %7.1f   max %7.1f   lower quartile %7.1f   (%zu runs)\n", p.Title,
                    f.Median, f.Min, f.Max, f.Quartile, p.Times.size());
    }
    auto ratio = [&](size_t a, size_t b) { return figures[b].Median > 0 ? figures[a].Median / figures[b].Median : 0; };
    auto quartiles = [&](size_t a, size_t b) {
        return figures[b].Quartile > 0 ? figures[a].Quartile / figures[b].Quartile : 0;
    };
    std::printf("ratios of lower quartiles: Quiverleaf / bare %.2f, / notepad %.2f\n", quartiles(0, 1),
                quartiles(0, 2));
    // The machine's speed drifts over a run; the ratio within each round,
    // where both starts met the same load, drifts much less.
    auto roundRatio = [&](size_t a, size_t b) {
        std::vector<double> ratios;
        for (size_t r = 0; r < programs[a].ByRound.size() && r < programs[b].ByRound.size(); ++r)
            if (programs[a].ByRound[r] >= 0 && programs[b].ByRound[r] > 0)
                ratios.push_back(programs[a].ByRound[r] / programs[b].ByRound[r]);
        return Summary(ratios);
    };
    const Figures perRound = roundRatio(0, 1);
    std::printf("Quiverleaf / bare window, round by round: median %.2f   lower quartile %.2f   min %.2f   max %.2f\n",
                perRound.Median, perRound.Quartile, perRound.Min, perRound.Max);
    const Figures perRoundEditor = roundRatio(0, 5);
    std::printf("Quiverleaf / window with editor, round by round: median %.2f   min %.2f   max %.2f\n",
                perRoundEditor.Median, perRoundEditor.Min, perRoundEditor.Max);
    std::printf("ratios of medians:\n");
    std::printf("  Quiverleaf / bare window         %.2f\n", ratio(0, 1));
    std::printf("  Quiverleaf / notepad             %.2f\n", ratio(0, 2));
    std::printf("  notepad / bare window            %.2f\n", ratio(2, 1));
    std::printf("  ten 1 MiB pages / first start    %.2f (%.1f ms more)\n", ratio(3, 0),
                figures[3].Median - figures[0].Median);
    std::printf("  with settings file / bare window %.2f (%.1f ms more than a first start)\n", ratio(4, 1),
                figures[4].Median - figures[0].Median);
    // What the platform's parts cost, and what Quiverleaf's own code adds.
    std::printf("  window with editor / bare window %.2f (%.1f ms more)\n", ratio(5, 1),
                figures[5].Median - figures[1].Median);
    std::printf("  Quiverleaf / window with editor  %.2f (%.1f ms more)\n", ratio(0, 5),
                figures[0].Median - figures[5].Median);
    if (!reference.empty()) {
        std::printf("  reference / bare window          %.2f\n", ratio(6, 1));
        std::printf("  Quiverleaf / reference           %.2f\n", ratio(0, 6));
    }
    return 0;
}
