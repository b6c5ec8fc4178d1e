// Hints and idle processing on real windows: ShowHint inherited down the
// control tree, the hint window under a real mouse move (its text, place and
// colours, refused or rewritten by the control, hidden by a key, by time and
// by moving off), the application's long hint, and the idle step reaching
// every control of the visible forms, depth first, without spinning.
#include "tests/support/TestSupport.h"
#include "tests/toolkit/ToolkitTesting.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/HintWindow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testing_support;
using namespace toolkit_testing;

namespace {

// What the probes heard, as "name" per message, in order.
std::vector<std::string> gLog;

std::string Joined(const std::vector<std::string>& items)
{
    std::string s;
    for (const std::string& i : items)
        s += (s.empty() ? "" : " ") + i;
    return s;
}

// A windowed control that logs the toolkit's notifications it gets and
// can refuse or rewrite its hint.
class Probe : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    bool Refuse = false;
    std::string GiveText; // replaces the hint text when not empty
    int HintRequests = 0;
    THintInfo LastInfo{};

protected:
    void WndProc(TMessage& msg) override
    {
        if (msg.Msg == CM_SHOWHINTCHANGED || msg.Msg == CM_UPDATEACTIONS)
            gLog.push_back(Name());
        if (msg.Msg == CM_HINTSHOW) {
            auto& info = *reinterpret_cast<THintInfo*>(msg.LParam);
            ++HintRequests;
            LastInfo = info;
            info.Refused = Refuse;
            if (!GiveText.empty())
                info.HintStr = GiveText;
            return;
        }
        TCustomControl::WndProc(msg);
    }
};

// The same for a control its parent paints.
class GraphicProbe : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;

protected:
    void WndProc(TMessage& msg) override
    {
        if (msg.Msg == CM_SHOWHINTCHANGED || msg.Msg == CM_UPDATEACTIONS)
            gLog.push_back(Name());
        TGraphicControl::WndProc(msg);
    }
};

template <class T>
T* Make(TComponent* owner, TWinControl* parent, const char* name, RECT bounds)
{
    auto* c = new T(owner);
    c->SetName(name);
    c->SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
    c->SetParent(parent);
    return c;
}

// "Name 1p": ShowHint (1 or 0), then "p" while it follows the parent's.
std::string HintState(const std::vector<TControl*>& controls)
{
    std::vector<std::string> parts;
    for (const TControl* c : controls)
        parts.push_back(c->Name() + " " + (c->ShowHint() ? "1" : "0") + (c->ParentShowHint() ? "p" : ""));
    return Joined(parts);
}

void SetBoolProp(TControl* c, const char* name, bool value)
{
    SetOrdProp(c, *c->ClassType().FindProperty(name), value ? 1 : 0);
}

TEST(Hints, ShowHintIsInheritedDownTheTreeUntilSetAndEachChangeIsToldOnce)
{
    auto form = MakeForm(300, 200);
    auto* panel = Make<Probe>(form.get(), form.get(), "Panel", RECT{0, 0, 200, 150});
    auto* child = Make<Probe>(form.get(), panel, "Child", RECT{10, 10, 60, 40});
    auto* label = Make<GraphicProbe>(form.get(), panel, "Label", RECT{70, 10, 120, 40});
    auto* other = Make<Probe>(form.get(), form.get(), "Other", RECT{210, 0, 290, 150});
    other->SetShowHint(false);
    const std::vector<TControl*> all{panel, child, label, other};
    struct Step {
        const char* what;
        std::function<void()> action;
        const char* state;
        const char* told;
    } const steps[] = {
        {"designed", [] {}, "Panel 0p Child 0p Label 0p Other 0", ""},
        {"form on", [&] { form->SetShowHint(true); }, "Panel 1p Child 1p Label 1p Other 0", "Panel Child Label"},
        {"child set off", [&] { SetBoolProp(child, "ShowHint", false); }, "Panel 1p Child 0 Label 1p Other 0", "Child"},
        {"form off", [&] { form->SetShowHint(false); }, "Panel 0p Child 0 Label 0p Other 0", "Panel Label"},
        {"form on again", [&] { form->SetShowHint(true); }, "Panel 1p Child 0 Label 1p Other 0", "Panel Label"},
        {"child follows", [&] { SetBoolProp(child, "ParentShowHint", true); }, "Panel 1p Child 1p Label 1p Other 0",
         "Child"},
        {"panel set, same value", [&] { panel->SetShowHint(true); }, "Panel 1 Child 1p Label 1p Other 0", ""},
        {"form off, panel keeps", [&] { form->SetShowHint(false); }, "Panel 1 Child 1p Label 1p Other 0", ""},
        {"child moves", [&] { child->SetParent(other); }, "Panel 1 Child 0p Label 1p Other 0", "Child"},
    };
    for (const Step& s : steps) {
        gLog.clear();
        s.action();
        EXPECT_EQ(s.state, HintState(all)) << s.what;
        EXPECT_EQ(s.told, Joined(gLog)) << s.what;
    }
    gLog.clear();
}

TEST(Hints, TheHintWindowShowsTheControlsShortHintUnderTheMouse)
{
    struct Case {
        const char* hint;
        bool refuse;
        const char* give;
        const char* shown; // empty: no hint window
        const char* longHint;
    } const cases[] = {
        {"Short|The long part", false, "", "Short", "The long part"},
        {"Only one part", false, "", "Only one part", "Only one part"},
        {"|Long only", false, "", "", "Long only"},
        {"Refused|Never", true, "", "", "Never"},
        {"Plain", false, "Given by the control", "Given by the control", "Plain"},
    };
    auto form = MakeForm(300, 200);
    auto* probe = Make<Probe>(form.get(), form.get(), "Probe", RECT{20, 20, 180, 80});
    probe->SetShowHint(true);
    ShowAndActivate(*form);
    POINT away{250, 150}, centre{80, 30};
    ClientToScreen(form->Handle(), &away);
    ClientToScreen(probe->Handle(), &centre);
    // Off the control, and the move seen by the loop.
    auto moveAway = [&] {
        MoveMouseTo(away.x, away.y);
        WaitFor([&] {
            POINT p;
            return GetCursorPos(&p) && p.x == away.x && p.y == away.y;
        });
        Pump(50);
    };
    for (const Case& c : cases) {
        moveAway();
        ASSERT_TRUE(WaitForHint("")) << c.hint;
        probe->SetHint(c.hint);
        probe->Refuse = c.refuse;
        probe->GiveText = c.give;
        const int requests = probe->HintRequests;
        MoveMouseTo(centre.x, centre.y);
        ASSERT_TRUE(WaitFor([&] { return probe->HintRequests > requests; }, 4000)) << c.hint;
        EXPECT_EQ(GetShortHint(c.hint), probe->LastInfo.HintStr) << c.hint;
        EXPECT_EQ(RectText(probe->ClientRect()), RectText(probe->LastInfo.CursorRect)) << c.hint;
        EXPECT_EQ(80, probe->LastInfo.CursorPos.x) << c.hint;
        EXPECT_EQ(30, probe->LastInfo.CursorPos.y) << c.hint;
        if (*c.shown) {
            ASSERT_TRUE(WaitForHint(c.shown)) << c.hint << ": '" << CurrentHint().Text << "'";
            ShownHint h = CurrentHint();
            EXPECT_EQ(centre.x, h.Rect.left) << c.hint;
            EXPECT_GT(h.Rect.top, centre.y) << c.hint;
            EXPECT_LE(h.Rect.top, centre.y + 32) << c.hint;
        } else {
            Pump(100);
            EXPECT_FALSE(CurrentHint().Visible) << c.hint << ": '" << CurrentHint().Text << "'";
        }
        // The idle step gives the application the long part.
        EXPECT_TRUE(RunLoopUntil([&] { return Application->Hint() == c.longHint; })) << Application->Hint();
    }

    // Its face: the tooltip colours, with text in it.
    probe->GiveText.clear();
    probe->SetHint("Colours");
    moveAway();
    MoveMouseTo(centre.x, centre.y);
    ASSERT_TRUE(WaitForHint("Colours"));
    Pump(50);
    HWND hintWnd = FindWindowA(THintWindow::WindowClassName, nullptr);
    RECT client;
    GetClientRect(hintWnd, &client);
    ScreenArea face(hintWnd, client);
    const int all = client.right * client.bottom;
    EXPECT_GT(face.Count(ColorToRGB(clInfoBk)), all / 2) << ColorText(face.At(0, 0));
    EXPECT_GT(face.Count(ColorToRGB(clInfoText)), 5);
    // A thin border round it: one pixel of the frame colour, then the face.
    RECT outer;
    GetWindowRect(hintWnd, &outer);
    const int midY = (outer.top + outer.bottom) / 2;
    EXPECT_EQ(ColorText(ColorToRGB(clWindowFrame)), ColorText(ScreenPixel(outer.left, midY)));
    EXPECT_EQ(ColorText(ColorToRGB(clInfoBk)), ColorText(ScreenPixel(outer.left + 1, midY)));

    // A key hides it; so does the end of its time, after which it stays
    // away while the mouse stays on the control; and moving off the control.
    PressKey(VK_SHIFT);
    EXPECT_TRUE(WaitForHint(""));
    Application->SetHintHidePause(300);
    MoveMouseTo(centre.x + 5, centre.y);
    EXPECT_TRUE(WaitForHint("Colours"));
    EXPECT_TRUE(WaitForHint(""));
    Application->SetHintHidePause(2500);
    MoveMouseTo(centre.x - 5, centre.y + 5);
    Pump(Application->HintPause() + 300);
    EXPECT_FALSE(CurrentHint().Visible) << CurrentHint().Text;
    moveAway();
    MoveMouseTo(centre.x, centre.y);
    ASSERT_TRUE(WaitForHint("Colours"));
    MoveMouseTo(away.x, away.y);
    EXPECT_TRUE(WaitForHint(""));
    Application->CancelHint();
}

TEST(Hints, TheIdleStepReachesEveryControlOfTheShownFormsDepthFirstAndThenWaits)
{
    auto form = MakeForm(300, 200);
    auto* panel = Make<Probe>(form.get(), form.get(), "Panel", RECT{0, 0, 200, 150});
    Make<Probe>(form.get(), panel, "Child", RECT{10, 10, 60, 40});
    Make<GraphicProbe>(form.get(), panel, "Label", RECT{70, 10, 120, 40});
    Make<Probe>(form.get(), form.get(), "Other", RECT{210, 0, 290, 150});
    auto hidden = MakeForm(100, 100);
    Make<Probe>(hidden.get(), hidden.get(), "Hidden", RECT{0, 0, 50, 50});
    hidden->HandleNeeded();
    ShowAndActivate(*form);

    struct Counter {
        int Idles = 0;
        void Idle(TObject*, bool& done)
        {
            ++Idles;
            EXPECT_TRUE(done);
        }
    } counter;
    Application->OnIdle = MakeMethod<&Counter::Idle>(&counter);
    gLog.clear();
    EXPECT_TRUE(RunLoopUntil([] { return gLog.size() >= 4; }));
    gLog.resize(4);
    EXPECT_EQ("Panel Child Label Other", Joined(gLog));
    EXPECT_GE(counter.Idles, 1);

    // Left alone for a while, the loop sleeps between messages: a loop that
    // did not wait would run the idle step many thousand times.
    counter.Idles = 0;
    const DWORD end = GetTickCount() + 300;
    RunLoopUntil([&] { return static_cast<int>(end - GetTickCount()) <= 0; });
    EXPECT_GE(counter.Idles, 1);
    EXPECT_LT(counter.Idles, 200);
    Application->OnIdle = TIdleEvent();
    gLog.clear();
}

} // namespace
