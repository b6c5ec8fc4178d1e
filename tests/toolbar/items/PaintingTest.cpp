// The page bar as it is on screen: frames, pushed text, embossed and
// checked buttons, separators and colours, read back from a real window,
// with real mouse input.
#include "tests/toolbar/items/PaintTesting.h"
#include "toolbar/items/TBDrawing.h"
#include "toolbar/items/TBToolbar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

using namespace testing_support;
using namespace toolkit_testing;
using namespace paint_testing;

namespace {

class PageBar : public ::testing::Test {
protected:
    void SetUp() override
    {
        // No button is under the mouse when the bar appears.
        SendMouse(MOUSEEVENTF_MOVE, 0, 0);
        Form = MakeForm(400, 200);
        Dock = new TTBDock(Form.get());
        Dock->SetParent(Form.get());
        Bar = new TTBToolbar(Form.get());
        Bar->SetSystemFont(false);
        Bar->SetParentFont(false);
        Bar->Font()->SetName("MS Sans Serif");
        Bar->Font()->SetHeight(-11);
        Bar->SetOptions(OptionBit(tboNoRotation));
        Bar->SetMenuBar(true);
        Hot = Add("Hot");
        Sep = new TTBSeparatorItem(Form.get());
        Bar->Items()->Add(Sep);
        Off = Add("Off");
        Off->SetEnabled(false);
        Blank = new TTBSeparatorItem(Form.get());
        Blank->SetBlank(true);
        Bar->Items()->Add(Blank);
        Chk = Add("Chk");
        Chk->SetChecked(true);
        Amp = Add("A&&B");
        Hot->OnClick = MakeMethod<&PageBar::Clicked>(this);
        Bar->SetCurrentDock(Dock);
        ShowAndActivate(*Form);
        Settle();
    }
    void TearDown() override
    {
        SendMouse(MOUSEEVENTF_LEFTUP);
        Form.reset();
    }

    TTBItem* Add(const char* caption)
    {
        auto* item = new TTBItem(Form.get());
        item->SetCaption(caption);
        Bar->Items()->Add(item);
        return item;
    }
    void Clicked(TObject*) { ++Clicks; }

    HWND Wnd() { return Bar->Handle(); }
    RECT Bounds(TTBCustomItem* item) { return Bar->View()->Find(item)->BoundsRect(); }
    POINT Centre(TTBCustomItem* item)
    {
        RECT r = Bounds(item);
        POINT pt{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(Wnd(), &pt);
        return pt;
    }
    void MoveOver(TTBCustomItem* item)
    {
        POINT pt = Centre(item);
        SendMouse(MOUSEEVENTF_MOVE, pt.x, pt.y);
    }
    // Waits until the bar has painted everything it was asked to.
    void Settle()
    {
        WaitFor([&] { return !GetUpdateRect(Wnd(), nullptr, FALSE); });
        Pump(30);
    }
    ScreenArea Shot() { return ScreenArea(Wnd(), Bar->ClientRect()); }
    // The left and right frame pixels halfway down a button.
    std::pair<COLORREF, COLORREF> Frame(TTBCustomItem* item)
    {
        RECT r = Bounds(item);
        ScreenArea a = Shot();
        int mid = (r.top + r.bottom) / 2;
        return {a.At(r.left, mid), a.At(r.right - 1, mid)};
    }
    std::string TextBox(TTBCustomItem* item)
    {
        return BoxOf(Shot(), Bounds(item), [](COLORREF c) { return c == GetSysColor(COLOR_BTNTEXT); });
    }

    const COLORREF Light = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF Shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF Face = GetSysColor(COLOR_BTNFACE);
    std::unique_ptr<TForm> Form;
    TTBDock* Dock = nullptr;
    TTBToolbar* Bar = nullptr;
    TTBItem *Hot = nullptr, *Off = nullptr, *Chk = nullptr, *Amp = nullptr;
    TTBSeparatorItem *Sep = nullptr, *Blank = nullptr;
    int Clicks = 0;
};

using Edge = std::pair<COLORREF, COLORREF>;

TEST_F(PageBar, HotThenPushedWithTheTextOneDownRightAndReleasingAwayClicksNothing)
{
    EXPECT_EQ(Edge(Face, Face), Frame(Hot)) << "no frame before the mouse comes";
    MoveOver(Hot);
    ASSERT_TRUE(WaitFor([&] { return Bar->View()->Selected() == Bar->View()->Find(Hot); }));
    Settle();
    EXPECT_EQ(Edge(Light, Shadow), Frame(Hot)) << "raised";
    const std::string raisedBox = TextBox(Hot);
    ASSERT_NE("empty", raisedBox);

    SendMouse(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(WaitFor([&] { return Bar->View()->IsPushed(Bar->View()->Find(Hot)); }));
    Settle();
    EXPECT_EQ(Edge(Shadow, Light), Frame(Hot)) << "sunken";
    const std::string pushedBox = TextBox(Hot);
    // The same text box, one pixel right and down.
    int x, y, w, h;
    ASSERT_EQ(4, std::sscanf(raisedBox.c_str(), "(%d,%d %dx%d)", &x, &y, &w, &h)) << raisedBox;
    EXPECT_EQ(RectText(x + 1, y + 1, w, h), pushedBox);

    // Away while held: still selected, raised again; back over it: sunken.
    POINT away = Centre(Hot);
    away.y += 60;
    SendMouse(MOUSEEVENTF_MOVE, away.x, away.y);
    ASSERT_TRUE(WaitFor([&] { return !Bar->View()->HoverOnSelected(); }));
    Settle();
    EXPECT_EQ(Bar->View()->Find(Hot), Bar->View()->Selected());
    EXPECT_EQ(Edge(Light, Shadow), Frame(Hot));
    SendMouse(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(WaitFor([&] { return GetCapture() == nullptr; }));
    Pump(50);
    EXPECT_EQ(0, Clicks);

    // Pressed and released on it: one click, after the release.
    MoveOver(Hot);
    ASSERT_TRUE(WaitFor([&] { return Bar->View()->HoverOnSelected(); }));
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(WaitFor([&] { return Bar->View()->PressCaptured(); }));
    SendMouse(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(WaitFor([&] { return Clicks == 1; }));
    EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(PageBar, DisabledIsEmbossedWithoutFrameCheckedIsSunkenOnACheckerboard)
{
    MoveOver(Off);
    ASSERT_TRUE(WaitFor([&] { return Bar->View()->Selected() == Bar->View()->Find(Off); }));
    Settle();
    EXPECT_EQ(Edge(Face, Face), Frame(Off)) << "a disabled button gets no frame";
    ScreenArea a = Shot();
    const RECT off = Bounds(Off);
    const std::string light = BoxOf(a, off, [&](COLORREF c) { return c == Light; });
    const std::string shadow = BoxOf(a, off, [&](COLORREF c) { return c == Shadow; });
    EXPECT_EQ("empty", BoxOf(a, off, [](COLORREF c) { return c == GetSysColor(COLOR_BTNTEXT); }));
    int lx, ly, lw, lh, sx, sy, sw, sh;
    ASSERT_EQ(4, std::sscanf(light.c_str(), "(%d,%d %dx%d)", &lx, &ly, &lw, &lh)) << light;
    ASSERT_EQ(4, std::sscanf(shadow.c_str(), "(%d,%d %dx%d)", &sx, &sy, &sw, &sh)) << shadow;
    // The highlight copy lies one pixel right and down of the shadow one.
    EXPECT_EQ(sx + sw + 1, lx + lw);
    EXPECT_EQ(sy + sh + 1, ly + lh);

    EXPECT_EQ(Edge(Shadow, Light), Frame(Chk));
    const RECT chk = Bounds(Chk);
    EXPECT_NE(a.At(chk.left + 2, chk.top + 2), a.At(chk.left + 3, chk.top + 2));
    EXPECT_EQ(a.At(chk.left + 2, chk.top + 2), a.At(chk.left + 3, chk.top + 3));
}

TEST_F(PageBar, SeparatorsAreEtchedLinesAndABlankOneDrawsNothing)
{
    ScreenArea a = Shot();
    const RECT sep = Bounds(Sep), blank = Bounds(Blank);
    EXPECT_EQ(6, sep.right - sep.left);
    EXPECT_EQ(6, blank.right - blank.left);
    const int x = sep.left + 6 / 2 - 1;
    for (int y = sep.top; y < sep.bottom; ++y) {
        EXPECT_EQ(ColorText(Shadow), ColorText(a.At(x, y))) << y;
        EXPECT_EQ(ColorText(Light), ColorText(a.At(x + 1, y))) << y;
        EXPECT_EQ(ColorText(Face), ColorText(a.At(x + 2, y))) << y;
    }
    EXPECT_EQ(0, ScreenArea(Wnd(), blank).CountIf([&](COLORREF c) { return c != Face; }));
}

TEST_F(PageBar, CaptionsStayButtonTextWhateverTheFontColourAndTheBarColourIsUnderEveryButton)
{
    Bar->Font()->SetColor(RGB(255, 0, 0));
    Settle();
    ScreenArea a = Shot();
    EXPECT_EQ(0, a.Count(RGB(255, 0, 0)));
    EXPECT_NE("empty", TextBox(Hot));

    const COLORREF green = RGB(0, 128, 0);
    Bar->SetColor(green);
    Settle();
    ScreenArea b = Shot();
    for (TTBCustomItem* item : {static_cast<TTBCustomItem*>(Hot), static_cast<TTBCustomItem*>(Off),
                                static_cast<TTBCustomItem*>(Amp), static_cast<TTBCustomItem*>(Sep),
                                static_cast<TTBCustomItem*>(Blank)}) {
        RECT r = Bounds(item);
        EXPECT_EQ(ColorText(green), ColorText(b.At(r.left, r.top + 1))) << item->Caption();
        EXPECT_EQ(ColorText(green), ColorText(b.At(r.right - 1, r.bottom - 2))) << item->Caption();
    }
}

TEST_F(PageBar, ADoubledAmpersandIsMeasuredAndShownAsOne)
{
    // The width of the dark pixels of a text drawn as it is, and its extent.
    auto drawn = [&](const char* text) {
        WindowDC screen(nullptr);
        MemoryDC mem(screen.Get());
        BitmapHandle bmp(CreateCompatibleBitmap(screen.Get(), 100, 30));
        SelectScope sb(mem.Get(), bmp.Get());
        SelectScope sf(mem.Get(), Bar->Font()->Handle());
        RECT all{0, 0, 100, 30};
        FillRect(mem.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        SetTextColor(mem.Get(), RGB(0, 0, 0));
        SetBkMode(mem.Get(), TRANSPARENT);
        DrawTextA(mem.Get(), text, -1, &all, DT_NOPREFIX | DT_SINGLELINE);
        int left = 100, right = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 100; ++x)
                if (Dark(GetPixel(mem.Get(), x, y))) {
                    left = std::min(left, x);
                    right = std::max(right, x + 1);
                }
        SIZE extent;
        GetTextExtentPoint32A(mem.Get(), text, static_cast<int>(strlen(text)), &extent);
        return std::make_pair(right - left, static_cast<int>(extent.cx));
    };
    const auto one = drawn("A&B"), two = drawn("A&&B");
    ASSERT_NE(one.first, two.first);
    const RECT amp = Bounds(Amp);
    EXPECT_EQ(one.second + 12, amp.right - amp.left);
    int x, y, w, h;
    const std::string box = BoxOf(Shot(), amp, Dark);
    ASSERT_EQ(4, std::sscanf(box.c_str(), "(%d,%d %dx%d)", &x, &y, &w, &h)) << box;
    EXPECT_EQ(one.first, w) << "one ampersand wide, not " << two.first;
}

TEST_F(PageBar, ARelayoutPaintsOffScreenAndLeavesNothingToRepaint)
{
    const RECT chkBefore = Bounds(Chk);
    Hot->SetCaption("Hotter and longer");
    // Nothing was left for a later paint: the window already shows it.
    EXPECT_FALSE(GetUpdateRect(Wnd(), nullptr, FALSE));
    EXPECT_GT(Bounds(Chk).left, chkBefore.left);
    Settle();
    EXPECT_EQ(Edge(Shadow, Light), Frame(Chk));
}

TEST_F(PageBar, ANarrowDockWrapsTheBarAtASeparatorAndGrowsTaller)
{
    const int oneRow = Dock->Height();
    EXPECT_EQ(Dock->Width(), Bar->Width()) << "full size";
    // The docked frame takes 2 pixels on each side across the dock.
    EXPECT_EQ(Bar->View()->BaseSize().cy + 4, oneRow);
    Form->SetClientWidth(Bounds(Off).right + 10);
    ASSERT_TRUE(WaitFor([&] { return Dock->Height() > oneRow; }));
    EXPECT_TRUE(Bar->View()->Find(Blank)->IsLineSeparator());
    EXPECT_EQ(0, Bounds(Chk).left);
    EXPECT_EQ(Bar->ClientWidth(), Bounds(Blank).right - Bounds(Blank).left);
    EXPECT_EQ(Dock->Height(), Bar->Height());
}

} // namespace
