// A dock's mouse events from real input, and the palettes and colour changes
// of a dock and its bar on a shown form. The screen has no palette here: the
// palette checks count who is asked and what is redrawn, not colours.
#include "tests/toolbar/dock/TestBar.h"
#include "toolbar/dock/TBBackground.h"

#include <gtest/gtest.h>

using namespace testing_support;
using namespace toolkit_testing;

namespace {

// In use (or not), with a real palette; counts the questions it is asked.
class TPaletteBackground : public TTBBasicBackground {
public:
    explicit TPaletteBackground(TComponent* owner) : TTBBasicBackground(owner)
    {
        LOGPALETTE one{0x300, 1, {{0x20, 0x40, 0x80, 0}}};
        Palette.Reset(CreatePalette(&one));
    }
    bool InUse = true;
    int Asks = 0, SysColorChanges = 0;
    GdiObject<HPALETTE> Palette;
    void Draw(HDC dc, const RECT& r) override { FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH))); }
    HPALETTE GetPalette() override { return ++Asks, Palette.Get(); }
    void SysColorChanged() override { ++SysColorChanges; }
    bool UsingBackground() const override { return InUse; }
};

class TFrameBar : public TTestBar {
public:
    using TTestBar::TTestBar;
    int Frames = 0;
    void PaintDockedFrame(bool given, HDC dc, HRGN rgn) override { ++Frames, TTestBar::PaintDockedFrame(given, dc, rgn); }
};

class DockEvents : public ::testing::Test, public TObject {
protected:
    void SetUp() override
    {
        Form = MakeForm(400, 300);
        Dock = new TTBDock(Form.get());
        Dock->SetParent(Form.get());
        Back = new TPaletteBackground(Form.get());
        Dock->SetBackground(Back);
        Bar = new TFrameBar(Form.get(), "Bar", 100, 22); // the dock's own client area lies right of it
        Bar->SetParent(Dock);
        Dock->OnMouseDown = MakeMethod<&DockEvents::Down>(this);
        Dock->OnMouseUp = MakeMethod<&DockEvents::Up>(this);
        Dock->OnMouseMove = MakeMethod<&DockEvents::Move>(this);
        ShowAndActivate(*Form);
    }
    void Note(std::string what, TObject* sender, TShiftState shift, int x, int y)
    {
        for (int bit = ssShift; bit <= ssDouble; ++bit)
            what += (shift & ShiftBit(TShiftStateBit(bit))) ? "SACLRMD"[bit] : '.';
        what = (sender == Dock ? what : "?" + what) + " " + std::to_string(x) + "," + std::to_string(y);
        (what.rfind("move", 0) == 0 ? Moves : Heard).push_back(what);
    }
    void Down(TObject* s, TMouseButton b, TShiftState sh, int x, int y) { Note(std::string("down") + "LRM"[b] + ' ', s, sh, x, y); }
    void Up(TObject* s, TMouseButton b, TShiftState sh, int x, int y) { Note(std::string("up") + "LRM"[b] + ' ', s, sh, x, y); }
    void Move(TObject* s, TShiftState sh, int x, int y) { Note("move ", s, sh, x, y); }
    // Real input at a point of the dock: keys held around the mouse's steps.
    void Input(POINT at, std::vector<DWORD> mouse, bool ctrl = false)
    {
        ClientToScreen(Dock->HandleValue(), &at);
        std::vector<INPUT> in;
        auto key = [&](DWORD up) { in.push_back(INPUT{INPUT_KEYBOARD, {}}), in.back().ki = {VK_CONTROL, 0, up, 0, 0}; };
        if (ctrl)
            key(0);
        for (DWORD flags : mouse) {
            in.push_back(INPUT{INPUT_MOUSE, {}});
            in.back().mi = {MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1),
                            MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1), 0,
                            flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, 0, 0};
        }
        if (ctrl)
            key(KEYEVENTF_KEYUP);
        Heard.clear(), Moves.clear();
        SendInput(UINT(in.size()), in.data(), sizeof(INPUT));
        Pump(80);
    }
    std::unique_ptr<TForm> Form;
    TTBDock* Dock = nullptr;
    TPaletteBackground* Back = nullptr;
    TFrameBar* Bar = nullptr;
    std::vector<std::string> Heard, Moves; // presses and releases; moves
};

constexpr DWORD LD = MOUSEEVENTF_LEFTDOWN, LU = MOUSEEVENTF_LEFTUP, RD = MOUSEEVENTF_RIGHTDOWN, RU = MOUSEEVENTF_RIGHTUP;

TEST_F(DockEvents, RealClicksAndMovesFireTheMouseEvents)
{
    struct Case { POINT At; std::vector<DWORD> Mouse; bool Ctrl; std::vector<std::string> Expected; };
    const Case cases[] = {
        {{150, 8}, {0, LD, LU}, false, {"downL ...L... 150,8", "upL ....... 150,8"}},
        {{230, 15}, {0, RD, RU}, false, {"downR ....R.. 230,15", "upR ....... 230,15"}},
        {{300, 20}, {0, LD, LU}, true, {"downL ..CL... 300,20", "upL ..C.... 300,20"}},
        {{180, 5}, {0, LD, LU, LD, LU}, false,
         {"downL ...L... 180,5", "upL ....... 180,5", "downL ...L..D 180,5", "upL ....... 180,5"}},
    };
    for (const Case& c : cases) {
        Pump(GetDoubleClickTime() + 50); // no click pairs with the case before
        Input(c.At, c.Mouse, c.Ctrl);
        EXPECT_EQ(c.Expected, Heard);
    }
    Input(POINT{260, 18}, {0});
    EXPECT_EQ(std::vector<std::string>{"move ....... 260,18"}, Moves);
    Input(POINT{50, 12}, {0}); // over the bar, which hears it itself
    EXPECT_TRUE(Moves.empty());
}

TEST_F(DockEvents, PaletteMessagesRealiseTheDockAndBarPalettes)
{
    // Asks: the background is asked once for the dock and once through the docked bar.
    struct Case { bool InUse, Docked; UINT Msg; HWND From; LRESULT Result; int Asks; bool Frame; };
    const HWND other = GetDesktopWindow(), dock = Dock->HandleValue(), form = Form->HandleValue();
    const Case cases[] = {
        {true, true, WM_QUERYNEWPALETTE, nullptr, TRUE, 2, false}, {true, true, WM_PALETTECHANGED, other, 0, 2, true},
        {true, true, WM_PALETTECHANGED, dock, 0, 0, false},        {true, true, WM_PALETTECHANGED, form, 0, 0, false},
        {false, true, WM_QUERYNEWPALETTE, nullptr, FALSE, 0, false}, {false, true, WM_PALETTECHANGED, other, 0, 0, false},
        {true, false, WM_QUERYNEWPALETTE, nullptr, TRUE, 1, false}, {true, false, WM_PALETTECHANGED, other, 0, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(&c - cases));
        Back->InUse = c.InUse;
        Bar->SetCurrentDock(c.Docked ? Dock : nullptr);
        Pump(80);
        EXPECT_EQ(c.Docked && c.InUse ? Back->Palette.Get() : nullptr, Bar->GetPalette());
        Back->Asks = Bar->Frames = 0;
        EXPECT_EQ(c.Result, SendMessageA(form, c.Msg, reinterpret_cast<WPARAM>(c.From), 0));
        EXPECT_EQ(c.Asks, Back->Asks);
        Pump(80);
        EXPECT_EQ(c.Frame, Bar->Frames > 0);
    }
}

TEST_F(DockEvents, ColourChangesRedrawTheFrameAndReachTheBackground)
{
    Pump(80);
    Bar->Frames = 0;
    Bar->SetColor(static_cast<TColor>(RGB(0xC0, 0x20, 0x20)));
    Pump(80);
    EXPECT_GT(Bar->Frames, 0);
    SendMessageA(Form->HandleValue(), WM_SYSCOLORCHANGE, 0, 0); // the platform tells only top-level windows
    EXPECT_EQ(1, Back->SysColorChanges);
}

} // namespace
