// Palettes and colour changes of a dock and its bar on a real form: the
// form's palette messages realise the palette of the dock's background for
// the dock and for the docked bar, a background realisation redraws the
// bar's frame, and colour changes reach the frame and the background. The
// screen here has no palette, so what is checked is who is asked and what
// is redrawn, not the colours.
#include "tests/toolbar/dock/TestBar.h"
#include "toolbar/dock/TBBackground.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace testing_support;
using namespace toolkit_testing;

namespace {

// A plain fill that reports itself in use (or not) and hands out a real
// palette, counting how often it is asked for it.
class TPaletteBackground : public TTBBasicBackground {
public:
    explicit TPaletteBackground(TComponent* owner) : TTBBasicBackground(owner)
    {
        // A LOGPALETTE with room for 16 entries.
        std::vector<BYTE> storage(sizeof(LOGPALETTE) + 15 * sizeof(PALETTEENTRY));
        auto* colours = reinterpret_cast<LOGPALETTE*>(storage.data());
        colours->palVersion = 0x300;
        colours->palNumEntries = 16;
        PALETTEENTRY* entries = &colours->palPalEntry[0];
        for (int i = 0; i < 16; ++i)
            entries[i] = PALETTEENTRY{static_cast<BYTE>(i * 16), 0x40, static_cast<BYTE>(255 - i * 16), 0};
        Palette = GdiObject<HPALETTE>(CreatePalette(colours));
    }

    bool InUse = true;
    int PaletteAsks = 0;
    int SysColorChanges = 0;
    GdiObject<HPALETTE> Palette;

    void Draw(HDC dc, const RECT& drawRect) override
    {
        BrushHandle brush = MakeSolidBrush(static_cast<TColor>(RGB(0x30, 0x60, 0x90)));
        FillRect(dc, &drawRect, brush.Get());
    }
    HPALETTE GetPalette() override
    {
        ++PaletteAsks;
        return Palette.Get();
    }
    void SysColorChanged() override { ++SysColorChanges; }
    bool UsingBackground() const override { return InUse; }
};

// Counts the frame paints the platform asks of the bar.
class TFrameCountingBar : public TTestBar {
public:
    using TTestBar::TTestBar;
    int FramePaints = 0;
    void PaintDockedFrame(bool useGivenDC, HDC dc, HRGN updateRgn) override
    {
        ++FramePaints;
        TTestBar::PaintDockedFrame(useGivenDC, dc, updateRgn);
    }
};

enum class Sender { Other, Dock, Form };

struct PaletteCase {
    const char* What;
    bool InUse;
    bool Docked;
    UINT Msg;
    Sender From; // the window that changed the palette (WM_PALETTECHANGED)
    LRESULT ExpectedResult;
    int ExpectedAsks;         // background asked: once for the dock, once through the docked bar
    bool ExpectFrameRedrawn;
};

class DockPalette : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = MakeForm(400, 300);
        Dock = new TTBDock(Form.get());
        Dock->SetParent(Form.get());
        Background = new TPaletteBackground(Form.get());
        Dock->SetBackground(Background);
        Bar = new TFrameCountingBar(Form.get(), "Bar", 100, 22);
        Bar->SetParent(Dock);
        ShowAndActivate(*Form);
    }

    // Lets every pending paint happen, then starts the counts afresh.
    void Settle()
    {
        Pump(80);
        Background->PaletteAsks = 0;
        Bar->FramePaints = 0;
    }

    std::unique_ptr<TForm> Form;
    TTBDock* Dock = nullptr;
    TPaletteBackground* Background = nullptr;
    TFrameCountingBar* Bar = nullptr;
};

TEST_F(DockPalette, FormPaletteMessagesRealiseTheDockAndBarPalettes)
{
    const std::vector<PaletteCase> cases = {
        {"activation, background in use", true, true, WM_QUERYNEWPALETTE, Sender::Other, TRUE, 2, false},
        {"another window's change", true, true, WM_PALETTECHANGED, Sender::Other, 0, 2, true},
        {"the dock's own change", true, true, WM_PALETTECHANGED, Sender::Dock, 0, 0, false},
        {"the form's own change", true, true, WM_PALETTECHANGED, Sender::Form, 0, 0, false},
        {"activation, background not in use", false, true, WM_QUERYNEWPALETTE, Sender::Other, FALSE, 0, false},
        {"change, background not in use", false, true, WM_PALETTECHANGED, Sender::Other, 0, 0, false},
        {"activation, bar not docked", true, false, WM_QUERYNEWPALETTE, Sender::Other, TRUE, 1, false},
        {"change, bar not docked", true, false, WM_PALETTECHANGED, Sender::Other, 0, 1, false},
    };
    for (const PaletteCase& c : cases) {
        SCOPED_TRACE(c.What);
        Background->InUse = c.InUse;
        Bar->SetCurrentDock(c.Docked ? Dock : nullptr);
        ASSERT_EQ(c.Docked, Bar->Docked());
        Settle();
        // What each asks answers (each question counts; the counts start again below).
        const HPALETTE expectedDock = c.InUse ? Background->Palette.Get() : nullptr;
        EXPECT_EQ(expectedDock, Dock->GetPalette());
        EXPECT_EQ(c.Docked ? expectedDock : nullptr, Bar->GetPalette());
        Background->PaletteAsks = 0;

        HWND from = c.From == Sender::Dock ? Dock->HandleValue()
                    : c.From == Sender::Form ? Form->HandleValue()
                                             : GetDesktopWindow();
        const WPARAM wParam = c.Msg == WM_PALETTECHANGED ? reinterpret_cast<WPARAM>(from) : 0;
        const LRESULT result = SendMessageA(Form->HandleValue(), c.Msg, wParam, 0);
        const int asks = Background->PaletteAsks;
        Pump(80);
        EXPECT_EQ(c.ExpectedResult, result);
        EXPECT_EQ(c.ExpectedAsks, asks);
        if (c.ExpectFrameRedrawn)
            EXPECT_GE(Bar->FramePaints, 1);
        else
            EXPECT_EQ(0, Bar->FramePaints);
    }
}

TEST_F(DockPalette, ColourChangesRedrawTheFrameAndReachTheBackground)
{
    Settle();
    Bar->SetColor(static_cast<TColor>(RGB(0xC0, 0x20, 0x20)));
    Pump(80);
    EXPECT_GE(Bar->FramePaints, 1) << "the bar's colour change redraws its frame";

    // The platform tells only the top-level window; the form passes it on.
    const int before = Background->SysColorChanges;
    SendMessageA(Form->HandleValue(), WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(before + 1, Background->SysColorChanges);
    // A dock without a background takes it quietly.
    Dock->SetBackground(nullptr);
    SendMessageA(Form->HandleValue(), WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(before + 1, Background->SysColorChanges);
}

} // namespace
