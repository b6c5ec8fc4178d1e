// The cost of the top dock's row layout with the page bar in it, and of one
// window resize that takes the page bar across the width where it wraps (and
// back). Runs the real main window in this process; prints microseconds and
// asserts nothing.
#include "app/MainForm.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace testing_support;

namespace {

double Microseconds(const std::function<void()>& work)
{
    LARGE_INTEGER freq, start, end;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&start);
    work();
    QueryPerformanceCounter(&end);
    return 1e6 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(freq.QuadPart);
}

void Report(const char* what, std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    std::printf("%s: min %.1f us, median %.1f us, max %.1f us over %zu runs\n", what, times.front(),
                times[times.size() / 2], times.back(), times.size());
}

} // namespace

int main()
{
    TempDir dir;
    new TApplication();
    auto* form = new TForm1(Application);
    Application->SetMainForm(form);
    form->ShowForm();
    Pump(100);

    // Long names make the row of page buttons longer than a narrow window.
    for (int n = 1; n <= PageCount; ++n)
        form->Name[n - 1]->SetText("Page number " + std::to_string(n));
    Pump(50);
    int rowLength = 0;
    SIZE content{0, 0};
    form->ToolBar->GetContentSize(content);
    rowLength = content.cx;
    std::printf("page bar: one row %d pixels long, top dock %d high at width %d\n", rowLength,
                form->DockTop->Height(), form->ClientWidth());

    std::vector<double> layout;
    for (int i = 0; i < 200; ++i)
        layout.push_back(Microseconds([&] { form->DockTop->LayoutRows(); }));
    Report("LayoutRows of the top dock", layout);

    // Across the wrap point: wider than the row, then narrower, and back.
    const int frame = form->Width() - form->ClientWidth();
    const int wide = std::max(rowLength + 60, 700), narrow = std::max(600, rowLength - 200);
    std::vector<double> narrowing, widening;
    for (int i = 0; i < 40; ++i) {
        form->SetWidth(wide + frame);
        Pump(5);
        narrowing.push_back(Microseconds([&] { form->SetWidth(narrow + frame); }));
        int wrappedHeight = form->DockTop->Height();
        Pump(5);
        widening.push_back(Microseconds([&] { form->SetWidth(wide + frame); }));
        if (i == 0)
            std::printf("top dock %d high at width %d, %d high at width %d\n", wrappedHeight, narrow,
                        form->DockTop->Height(), wide);
        Pump(5);
    }
    Report("resize narrower across the wrap point", narrowing);
    Report("resize wider across the wrap point", widening);
    delete Application;
    return 0;
}
