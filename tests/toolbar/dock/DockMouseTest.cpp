// The dock's standard mouse events from real input: clicks and moves sent
// through SendInput to a dock on a shown form, and what the handlers hear
// (button, shift state, client coordinates).
#include "tests/toolbar/dock/TestBar.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace testing_support;
using namespace toolkit_testing;

namespace {

std::string ShiftText(TShiftState shift)
{
    static const char* const names[] = {"Shift", "Alt", "Ctrl", "Left", "Right", "Middle", "Double"};
    std::string text;
    for (int bit = ssShift; bit <= ssDouble; ++bit)
        if (shift & ShiftBit(static_cast<TShiftStateBit>(bit)))
            text += (text.empty() ? "" : "+") + std::string(names[bit]);
    return "{" + text + "}";
}

const char* ButtonText(TMouseButton button)
{
    switch (button) {
    case mbLeft: return "L";
    case mbRight: return "R";
    default: return "M";
    }
}

class MouseRecorder : public TObject {
public:
    TObject* Dock = nullptr;
    std::vector<std::string> Presses; // downs and ups, in order
    std::string LastMove;
    int Foreign = 0; // events from any sender but the dock

    void Down(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)
    {
        Note(sender, std::string("down ") + ButtonText(button), shift, x, y);
    }
    void Up(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)
    {
        Note(sender, std::string("up ") + ButtonText(button), shift, x, y);
    }
    void Move(TObject* sender, TShiftState shift, int x, int y)
    {
        if (sender != Dock)
            ++Foreign;
        LastMove = "move " + ShiftText(shift) + " " + std::to_string(x) + "," + std::to_string(y);
    }

private:
    void Note(TObject* sender, const std::string& what, TShiftState shift, int x, int y)
    {
        if (sender != Dock)
            ++Foreign;
        Presses.push_back(what + " " + ShiftText(shift) + " " + std::to_string(x) + "," + std::to_string(y));
    }
};

// One click at a screen point, all of it real input: the move there, the
// Ctrl key held around the press when asked, the press and the release.
void ClickWithInput(POINT screen, bool right, bool ctrl)
{
    std::vector<INPUT> in;
    auto key = [&](bool up) {
        INPUT k{};
        k.type = INPUT_KEYBOARD;
        k.ki.wVk = VK_CONTROL;
        k.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        in.push_back(k);
    };
    auto mouse = [&](DWORD flags) {
        INPUT m{};
        m.type = INPUT_MOUSE;
        m.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        m.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
        m.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        in.push_back(m);
    };
    if (ctrl)
        key(false);
    mouse(0);
    mouse(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
    mouse(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
    if (ctrl)
        key(true);
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
    Pump(60);
}

struct ClickCase {
    const char* What;
    POINT At;        // in the dock's client area
    bool Right;
    bool Ctrl;
    int Clicks;      // two: a double-click
    std::vector<std::string> Expected;
};

class DockMouse : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = MakeForm(400, 300);
        Dock = new TTBDock(Form.get());
        Dock->SetParent(Form.get());
        // A bar gives the dock its thickness (22 + 4); the dock's own client
        // area lies to its right.
        Bar = new TTestBar(Form.get(), "Bar", 100, 22);
        Bar->SetParent(Dock);
        Rec.Dock = Dock;
        Dock->OnMouseDown = MakeMethod<&MouseRecorder::Down>(&Rec);
        Dock->OnMouseUp = MakeMethod<&MouseRecorder::Up>(&Rec);
        Dock->OnMouseMove = MakeMethod<&MouseRecorder::Move>(&Rec);
        ShowAndActivate(*Form);
        ASSERT_EQ(26, Dock->ClientHeight());
    }

    POINT ScreenOf(POINT client) const
    {
        ClientToScreen(Dock->HandleValue(), &client);
        return client;
    }

    std::unique_ptr<TForm> Form;
    TTBDock* Dock = nullptr;
    TTestBar* Bar = nullptr;
    MouseRecorder Rec;
};

TEST_F(DockMouse, ClicksFireDownAndUpWithButtonShiftAndClientPoint)
{
    const std::vector<ClickCase> cases = {
        {"left", {150, 8}, false, false, 1, {"down L {Left} 150,8", "up L {} 150,8"}},
        {"right", {230, 15}, true, false, 1, {"down R {Right} 230,15", "up R {} 230,15"}},
        {"left with Ctrl", {300, 20}, false, true, 1, {"down L {Ctrl+Left} 300,20", "up L {Ctrl} 300,20"}},
        {"double left", {180, 5}, false, false, 2,
         {"down L {Left} 180,5", "up L {} 180,5", "down L {Left+Double} 180,5", "up L {} 180,5"}},
    };
    for (const ClickCase& c : cases) {
        SCOPED_TRACE(c.What);
        // Far from the last place, so that no click pairs with the one before.
        Pump(GetDoubleClickTime() + 50);
        Rec.Presses.clear();
        const POINT screen = ScreenOf(c.At);
        for (int i = 0; i < c.Clicks; ++i)
            ClickWithInput(screen, c.Right, c.Ctrl);
        WaitFor([&] { return Rec.Presses.size() >= c.Expected.size(); }, 1000);
        EXPECT_EQ(c.Expected, Rec.Presses);
    }
    EXPECT_EQ(0, Rec.Foreign);
}

TEST_F(DockMouse, MovesFireMoveWithClientPoint)
{
    const POINT points[] = {{140, 4}, {260, 18}, {390, 24}};
    for (const POINT& p : points) {
        const POINT screen = ScreenOf(p);
        MoveMouseTo(screen.x, screen.y);
        const std::string expected = "move {} " + std::to_string(p.x) + "," + std::to_string(p.y);
        WaitFor([&] { return Rec.LastMove == expected; }, 1000);
        EXPECT_EQ(expected, Rec.LastMove);
    }
    // Over the bar the bar hears the mouse, not the dock.
    Rec.LastMove.clear();
    const POINT overBar = ScreenOf(POINT{50, 12});
    MoveMouseTo(overBar.x, overBar.y);
    Pump(100);
    EXPECT_EQ("", Rec.LastMove);
    EXPECT_EQ(0, Rec.Foreign);
    EXPECT_TRUE(Rec.Presses.empty());
}

} // namespace
