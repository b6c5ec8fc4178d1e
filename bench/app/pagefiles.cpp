// Big pages through the real main window, in one process, round after round
// in turn: start-up (window made, shown and painted) with no page files and
// with ten pages of 1 MiB each, the first switch to a 1 MiB page, and a bare
// EDIT window given the same text at the same size and font, which is what
// the platform itself needs for that much text. Then the save of the ten
// pages and the process's peak memory. Prints the figures; asserts nothing.
//
//   bench_app_pagefiles [rounds]
#include "app/MainForm.h"
#include "app/PageFiles.h"
#include "bench/BenchSupport.h"
#include "settings/FormStorage.h"
#include "tests/support/TestSupport.h"

#include <commctrl.h>
#include <psapi.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace testing_support;
using bench::Now;
using bench::PageText;

namespace {
double PeakMiB()
{
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return static_cast<double>(pmc.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

// Every waiting message, paints included.
void Drain()
{
    Application->ProcessMessages();
}

struct Series {
    const char* Title;
    std::vector<double> Times;
    double Median() const
    {
        std::vector<double> t = Times;
        std::sort(t.begin(), t.end());
        return t.empty() ? 0 : t[t.size() / 2];
    }
    void Print() const
    {
        std::vector<double> t = Times;
        std::sort(t.begin(), t.end());
        if (t.empty())
            return;
        std::printf("  %-44s median %8.1f   min %8.1f   max %8.1f\n", Title, Median(), t.front(), t.back());
    }
};

// The main window made and shown as the program does it, until painted.
TForm1* StartWindow(const std::string& dir, double& ms)
{
    SetCurrentDirectoryA(dir.c_str());
    DeleteFileA("Quiverleaf.ini");
    double t0 = Now();
    auto* form = new TForm1(Application);
    form->FormStorage1->SetIniFileName(dir + "\\Quiverleaf.ini");
    form->ShowForm();
    Drain();
    ms = Now() - t0;
    return form;
}

// A bare EDIT control as the editors are made, in a window of its own, at
// the given size, given the text; until painted.
double BareEdit(const std::string& text, int width, int height)
{
    HWND host = CreateWindowExA(0, "STATIC", "", WS_POPUP, 199, 211, width, height, nullptr, nullptr, nullptr, nullptr);
    LOGFONTA lf{};
    lf.lfHeight = -11;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpyA(lf.lfFaceName, "MS Sans Serif");
    HFONT font = CreateFontIndirectA(&lf);
    ShowWindow(host, SW_SHOWNA);
    Drain();
    double t0 = Now();
    HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_WANTRETURN |
                                    ES_AUTOVSCROLL,
                                0, 0, width, height, host, nullptr, nullptr, nullptr);
    SendMessageA(edit, EM_SETLIMITTEXT, 0x7FFFFFFE, 0);
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetWindowTextA(edit, text.c_str());
    Drain();
    double ms = Now() - t0;
    DestroyWindow(host);
    DeleteObject(font);
    return ms;
}
} // namespace

int main(int argc, char** argv)
{
    int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    TApplication app;
    app.SetTitle("Quiverleaf");
    TempDir pages;
    for (int n = 1; n <= PageCount; ++n)
        WriteFileBytes(PageFileName(n), PageText(n, true));
    const std::string page2 = NormalizeLineBreaks(PageText(2, true));
    TempDir empty;
    double before = PeakMiB();

    Series none{"start-up, no page files", {}}, ten{"start-up, ten 1 MiB pages", {}};
    Series bare{"bare EDIT given 1 MiB at the editor's size", {}}, first{"first switch to a 1 MiB page", {}};
    Series save{"save of ten 1 MiB pages", {}};
    int width = 592, height = 416;
    for (int round = 0; round < rounds; ++round) {
        for (int step = 0; step < 3; ++step) {
            switch ((step + round) % 3) {
            case 0: {
                double ms;
                delete StartWindow(empty.Path(), ms);
                Drain();
                none.Times.push_back(ms);
                break;
            }
            case 1: {
                double ms;
                TForm1* form = StartWindow(pages.Path(), ms);
                ten.Times.push_back(ms);
                width = form->Memo[1]->Width();
                height = form->Memo[1]->Height();
                double t0 = Now();
                form->Page02Click(form);
                Drain();
                first.Times.push_back(Now() - t0);
                for (TMemo* memo : form->Memo)
                    memo->SetModified(true);
                TCloseAction action = caFree;
                t0 = Now();
                form->FormClose(form, action); // writes the ten pages
                save.Times.push_back(Now() - t0);
                delete form;
                Drain();
                break;
            }
            default:
                bare.Times.push_back(BareEdit(page2, width, height));
                break;
            }
        }
    }

    std::printf("ten pages of 1 MiB against none, %d rounds in turn (ms):\n", rounds);
    for (const Series* s : {&none, &ten, &bare, &first, &save})
        s->Print();
    double added = ten.Median() - none.Median();
    std::printf("ten big pages add %.1f ms to start-up: %.2f x the bare EDIT's fill\n", added,
                bare.Median() > 0 ? added / bare.Median() : 0);
    std::printf("first switch to a 1 MiB page: %.2f x the bare EDIT's fill\n",
                bare.Median() > 0 ? first.Median() / bare.Median() : 0);
    std::printf("editor size %d x %d; peak working set %.1f MiB before, %.1f MiB after\n", width, height, before,
                PeakMiB());
    SetCurrentDirectoryA(pages.Path().c_str());
    return 0;
}
