// The GDI wrappers: every handle the toolkit makes is counted and freed
// (Wine can't count them for us), selections and device-context state are
// put back, and the mouse capture is let go.
#include "tests/toolkit/ToolkitTesting.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/StdCtrls.h"

#include <gtest/gtest.h>

#include <utility>

using namespace testing_support;
using namespace toolkit_testing;

namespace {

// Repaints the whole window and its children now.
void RepaintAll(HWND wnd)
{
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump(10);
}

TEST(GdiObjects, NothingLeaksFromPaintingFontChangesAndFreeing)
{
    const long atStart = LiveGdiObjects();
    {
        auto form = MakeForm(400, 300);
        auto* panel = new TPanel(form.get());
        panel->SetBounds(10, 10, 200, 150);
        panel->SetBevelInner(bvLowered);
        panel->SetCaption("Panel");
        panel->SetParent(form.get());
        auto* edit = new TEdit(form.get());
        edit->SetBounds(5, 5, 100, 21);
        edit->SetParent(panel);
        auto* memo = new TMemo(form.get());
        memo->SetBounds(220, 10, 150, 100);
        memo->SetText("some text");
        memo->SetParent(form.get());
        auto* label = new TLabel(form.get());
        label->SetCaption("Label");
        label->SetBounds(10, 200, 10, 10);
        label->SetParent(form.get());
        auto* button = new TButton(form.get());
        button->SetBounds(10, 230, 80, 25);
        button->SetCaption("OK");
        button->SetParent(form.get());
        ShowAndActivate(*form);

        // Once everything has painted, painting again makes nothing new.
        RepaintAll(form->Handle());
        const long painted = LiveGdiObjects();
        EXPECT_GT(painted, atStart);
        for (int i = 0; i < 5; ++i)
            RepaintAll(form->Handle());
        EXPECT_EQ(painted, LiveGdiObjects());

        // Nor do font and colour changes, once the new ones are in use.
        for (int i = 0; i < 10; ++i) {
            form->Font()->SetHeight(-11 - i);
            memo->Font()->SetStyle(i % 2 ? FontStyleBit(fsBold) : 0);
            edit->SetColor(0x00100000 * i + 0x808080);
            RepaintAll(form->Handle());
        }
        form->Font()->SetHeight(-11);
        memo->Font()->SetStyle(0);
        edit->SetColor(clWindow);
        RepaintAll(form->Handle());
        EXPECT_EQ(painted, LiveGdiObjects());

        // Controls freed one by one give theirs back.
        delete edit;
        delete label;
        delete memo;
        RepaintAll(form->Handle());
        EXPECT_LT(LiveGdiObjects(), painted);
    }
    EXPECT_EQ(atStart, LiveGdiObjects());
}

TEST(GdiObjects, WrappersDeleteTheHandleOnceAndMoveIt)
{
    const long atStart = LiveGdiObjects();
    HBRUSH raw = nullptr;
    {
        BrushHandle brush = MakeSolidBrush(0x00123456);
        raw = brush.Get();
        ASSERT_NE(nullptr, raw);
        EXPECT_EQ(atStart + 1, LiveGdiObjects());

        BrushHandle moved(std::move(brush));
        EXPECT_EQ(nullptr, brush.Get());
        EXPECT_EQ(raw, moved.Get());
        EXPECT_EQ(atStart + 1, LiveGdiObjects());

        BrushHandle other = MakeSolidBrush(clBtnFace);
        HBRUSH otherRaw = other.Get();
        other = std::move(moved); // the one it held is deleted
        EXPECT_EQ(0u, GetObjectType(otherRaw));
        EXPECT_EQ(static_cast<DWORD>(OBJ_BRUSH), GetObjectType(raw));
        EXPECT_EQ(atStart + 1, LiveGdiObjects());

        other.Reset();
        EXPECT_EQ(0u, GetObjectType(raw));
        EXPECT_EQ(atStart, LiveGdiObjects());
        other.Reset(CreateSolidBrush(0));
        raw = other.Get();
        EXPECT_EQ(atStart + 1, LiveGdiObjects());
    }
    EXPECT_EQ(0u, GetObjectType(raw));
    EXPECT_EQ(atStart, LiveGdiObjects());
}

TEST(GdiObjects, FontHandleIsMadeAgainAfterAChangeAndTheOldOneFreed)
{
    const long atStart = LiveGdiObjects();
    {
        TFont font;
        HFONT first = font.Handle();
        EXPECT_EQ(first, font.Handle());
        EXPECT_EQ(atStart + 1, LiveGdiObjects());
        font.SetHeight(-30);
        HFONT second = font.Handle();
        EXPECT_EQ(0u, GetObjectType(first));
        LOGFONTA lf{};
        GetObjectA(second, sizeof lf, &lf);
        EXPECT_EQ(-30, lf.lfHeight);
        EXPECT_EQ(atStart + 1, LiveGdiObjects());
    }
    EXPECT_EQ(atStart, LiveGdiObjects());
}

TEST(GdiScopes, SelectScopePutsThePreviousObjectBack)
{
    MemoryDC dc(nullptr);
    BrushHandle red = MakeSolidBrush(0x000000FF);
    BrushHandle blue = MakeSolidBrush(0x00FF0000);
    TFont font;
    HGDIOBJ originalBrush = GetCurrentObject(dc.Get(), OBJ_BRUSH);
    HGDIOBJ originalFont = GetCurrentObject(dc.Get(), OBJ_FONT);
    {
        SelectScope outer(dc.Get(), red.Get());
        EXPECT_EQ(red.Get(), GetCurrentObject(dc.Get(), OBJ_BRUSH));
        {
            SelectScope inner(dc.Get(), blue.Get());
            SelectScope text(dc.Get(), font.Handle());
            EXPECT_EQ(blue.Get(), GetCurrentObject(dc.Get(), OBJ_BRUSH));
            EXPECT_EQ(font.Handle(), GetCurrentObject(dc.Get(), OBJ_FONT));
        }
        EXPECT_EQ(red.Get(), GetCurrentObject(dc.Get(), OBJ_BRUSH));
        EXPECT_EQ(originalFont, GetCurrentObject(dc.Get(), OBJ_FONT));
    }
    EXPECT_EQ(originalBrush, GetCurrentObject(dc.Get(), OBJ_BRUSH));
}

TEST(GdiScopes, MouseCaptureIsReleasedUnlessAnotherWindowTookIt)
{
    auto form = MakeForm(300, 200);
    auto* a = new TPanel(form.get());
    a->SetBounds(0, 0, 100, 100);
    a->SetParent(form.get());
    auto* b = new TPanel(form.get());
    b->SetBounds(150, 0, 100, 100);
    b->SetParent(form.get());
    ShowAndActivate(*form);
    ASSERT_EQ(nullptr, GetCapture());

    {
        MouseCapture capture(a->Handle());
        EXPECT_EQ(a->Handle(), GetCapture());
        EXPECT_TRUE(capture.Held());
    }
    EXPECT_EQ(nullptr, GetCapture());

    // Handed on, it is released once, by the last holder; released early,
    // it is not held any more.
    {
        MouseCapture first(a->Handle());
        MouseCapture second(std::move(first));
        EXPECT_FALSE(first.Held());
        EXPECT_TRUE(second.Held());
        first.Release();
        EXPECT_EQ(a->Handle(), GetCapture());
        second.Release();
        EXPECT_EQ(nullptr, GetCapture());
        EXPECT_FALSE(second.Held());
    }

    // Taken by another window meanwhile: that one keeps it.
    {
        MouseCapture capture(a->Handle());
        SetCapture(b->Handle());
        EXPECT_FALSE(capture.Held());
    }
    EXPECT_EQ(b->Handle(), GetCapture());
    ReleaseCapture();

    // Released early by the platform (the window went): nothing to do.
    {
        MouseCapture capture(a->Handle());
        ReleaseCapture();
    }
    EXPECT_EQ(nullptr, GetCapture());
}

} // namespace
