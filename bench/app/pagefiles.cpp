// Loading and saving ten pages of 1 MiB each through the real main window,
// with the process's peak memory. Prints the figures; asserts nothing.
#include "app/MainForm.h"
#include "app/PageFiles.h"
#include "settings/FormStorage.h"
#include "tests/support/TestSupport.h"

#include <commctrl.h>
#include <psapi.h>
#include <cstdio>

using namespace testing_support;

namespace {
double Now()
{
    LARGE_INTEGER freq, t;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

double PeakMiB()
{
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return static_cast<double>(pmc.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

// About 1 MiB of text in lines of varied length, half of them LF-only so
// that loading has line breaks to mend.
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
        text += (seed & 0x100) ? "\r\n" : "\n";
    }
    return text;
}
} // namespace

int main()
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    TApplication app;
    app.SetTitle("Quiverleaf");
    TempDir dir;
    for (int n = 1; n <= PageCount; ++n)
        WriteFileBytes(PageFileName(n), PageText(n));
    double before = PeakMiB();

    double t0 = Now();
    auto* form = new TForm1(&app); // FormCreate loads the ten pages
    double t1 = Now();
    form->FormStorage1->SetIniFileName(dir.File("Quiverleaf.ini"));
    form->ShowForm();
    Pump(50);
    for (TMemo* memo : form->Memo)
        memo->SetModified(true);
    double t2 = Now();
    TCloseAction action = caFree;
    form->FormClose(form, action); // writes the ten pages
    double t3 = Now();

    size_t bytes = 0;
    for (int n = 1; n <= PageCount; ++n)
        bytes += ReadFileBytes(PageFileName(n)).size();
    std::printf("load of ten pages (%.1f MiB written back): %.1f ms\n", static_cast<double>(bytes) / (1024.0 * 1024.0),
                t1 - t0);
    std::printf("save of ten pages: %.1f ms\n", t3 - t2);
    std::printf("peak working set: %.1f MiB before, %.1f MiB after\n", before, PeakMiB());
    delete form;
    return 0;
}
