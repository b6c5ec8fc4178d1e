// One relayout and one full repaint of the real main window's page bar, in
// microseconds: the fastest, the median and the slowest of many runs.
// Prints the figures; asserts nothing.
#include "app/MainForm.h"
#include "settings/FormStorage.h"
#include "tests/support/TestSupport.h"

#include <commctrl.h>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace testing_support;

namespace {
double NowMicroseconds()
{
    LARGE_INTEGER freq, t;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t);
    return 1e6 * static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

void Report(const char* what, int runs, const std::function<void()>& once)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        double t0 = NowMicroseconds();
        once();
        times.push_back(NowMicroseconds() - t0);
    }
    std::sort(times.begin(), times.end());
    std::printf("%s: min %.1f us, median %.1f us, max %.1f us (%d runs)\n", what, times.front(),
                times[times.size() / 2], times.back(), runs);
}
} // namespace

int main()
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    TApplication app;
    app.SetTitle("Quiverleaf");
    TempDir dir;
    auto* form = new TForm1(&app);
    form->FormStorage1->SetIniFileName(dir.File("Quiverleaf.ini"));
    form->ShowForm();
    Pump(100);

    TTBToolbarView* view = form->ToolBar->View();
    HWND bar = form->ToolBar->Handle();
    // Every relayout measures and places all nineteen items again and
    // paints the bar through its off-screen bitmap.
    Report("page bar relayout (measure and place, nothing moves)", 500, [&] {
        view->InvalidatePositions();
        view->UpdatePositions();
    });
    Report("page bar full repaint", 500, [&] {
        RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    });
    // A relayout that moves items: the first caption grows and shrinks again.
    bool longer = false;
    Report("page bar rename (relayout that moves)", 500, [&] {
        longer = !longer;
        form->Page[0]->SetCaption(longer ? "Longer name" : "1");
    });
    delete form;
    return 0;
}
