// Windowed controls on a real form: their state reaching the platform's
// windows, fonts inherited from the parent, background colours on screen,
// stacking order, and a window made anew keeping what it held.
#include "tests/toolkit/ToolkitTesting.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/StdCtrls.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace testing_support;
using namespace toolkit_testing;

namespace {

class WinControls : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = MakeForm(400, 300);
        ShowAndActivate(*Form);
    }

    template <class T>
    T* Make(TWinControl* parent, int left, int top, int width, int height)
    {
        auto* c = new T(Form.get());
        c->SetBounds(left, top, width, height);
        c->SetParent(parent);
        return c;
    }

    std::unique_ptr<TForm> Form;
};

// The font height the platform's window was given through WM_SETFONT.
int WindowFontHeight(HWND wnd)
{
    auto font = reinterpret_cast<HFONT>(SendMessageA(wnd, WM_GETFONT, 0, 0));
    LOGFONTA lf{};
    if (!font || !GetObjectA(font, sizeof lf, &lf))
        return 0;
    return lf.lfHeight;
}

struct MadeControl {
    const char* Kind;
    std::function<TWinControl*(TComponent*)> Make;
};

const MadeControl kKinds[] = {
    {"TPanel", [](TComponent* o) -> TWinControl* { return new TPanel(o); }},
    {"TEdit", [](TComponent* o) -> TWinControl* { return new TEdit(o); }},
    {"TMemo", [](TComponent* o) -> TWinControl* { return new TMemo(o); }},
    {"TButton", [](TComponent* o) -> TWinControl* { return new TButton(o); }},
    {"TGroupBox", [](TComponent* o) -> TWinControl* { return new TGroupBox(o); }},
};

TEST_F(WinControls, VisibleAndEnabledReachTheRealWindow)
{
    for (const MadeControl& k : kKinds) {
        SCOPED_TRACE(k.Kind);
        TWinControl* c = k.Make(Form.get());
        c->SetBounds(10, 10, 80, 30);
        c->SetParent(Form.get());
        HWND wnd = c->Handle();
        EXPECT_TRUE(IsWindowVisible(wnd));
        EXPECT_TRUE(IsWindowEnabled(wnd));

        c->SetVisible(false);
        EXPECT_FALSE(IsWindowVisible(wnd));
        c->SetEnabled(false);
        EXPECT_FALSE(IsWindowEnabled(wnd));
        c->SetVisible(true);
        EXPECT_TRUE(IsWindowVisible(wnd));
        EXPECT_FALSE(IsWindowEnabled(wnd));
        c->SetEnabled(true);
        EXPECT_TRUE(IsWindowEnabled(wnd));

        // Set before the window exists: the window is made that way.
        TWinControl* d = k.Make(Form.get());
        d->SetVisible(false);
        d->SetEnabled(false);
        d->SetParent(Form.get());
        EXPECT_FALSE(IsWindowVisible(d->Handle()));
        EXPECT_FALSE(IsWindowEnabled(d->Handle()));
        EXPECT_FALSE(d->Showing());
    }
}

TEST_F(WinControls, ChildOfAHiddenContainerIsNotShowing)
{
    auto* panel = Make<TPanel>(Form.get(), 10, 10, 200, 100);
    auto* edit = Make<TEdit>(panel, 5, 5, 100, 21);
    EXPECT_TRUE(edit->Showing());
    EXPECT_TRUE(IsWindowVisible(edit->Handle()));
    panel->Hide();
    EXPECT_TRUE(edit->Visible());
    EXPECT_FALSE(edit->Showing());
    EXPECT_FALSE(IsWindowVisible(edit->Handle()));
    EXPECT_FALSE(edit->CanFocus());
    panel->Show();
    EXPECT_TRUE(IsWindowVisible(edit->Handle()));
}

TEST_F(WinControls, ParentFontIsFollowedUntilTheChildsOwnIsSet)
{
    auto* panel = Make<TPanel>(Form.get(), 10, 10, 300, 200);
    auto* edit = Make<TEdit>(panel, 5, 5, 100, 21);
    auto* own = Make<TEdit>(panel, 5, 40, 100, 21);
    auto* label = new TLabel(Form.get());
    label->SetCaption("Label");
    label->SetParent(panel);
    own->Font()->SetHeight(-20);
    EXPECT_FALSE(own->ParentFont());
    EXPECT_TRUE(edit->ParentFont());

    const int labelHeightBefore = label->Height();
    Form->Font()->SetHeight(-24);
    Form->Font()->SetStyle(FontStyleBit(fsBold));
    for (TControl* c : {static_cast<TControl*>(panel), static_cast<TControl*>(edit), static_cast<TControl*>(label)}) {
        SCOPED_TRACE(c->ClassName());
        EXPECT_EQ(-24, c->Font()->Height());
        EXPECT_EQ(FontStyleBit(fsBold), c->Font()->Style());
        EXPECT_TRUE(c->ParentFont());
    }
    EXPECT_EQ(-24, WindowFontHeight(edit->Handle()));
    EXPECT_GT(label->Height(), labelHeightBefore); // it sized itself to the new font
    // The child with a font of its own keeps it.
    EXPECT_EQ(-20, own->Font()->Height());
    EXPECT_EQ(-20, WindowFontHeight(own->Handle()));

    // Its own font set, the edit stops following...
    TFont mine;
    mine.SetHeight(-9);
    edit->SetFont(&mine);
    Form->Font()->SetHeight(-30);
    EXPECT_EQ(-9, edit->Font()->Height());
    EXPECT_EQ(-9, WindowFontHeight(edit->Handle()));
    EXPECT_EQ(-30, panel->Font()->Height());
    EXPECT_FALSE(edit->ParentFont());

    // ...until it is told to follow again, and takes the parent's at once.
    edit->SetParentFont(true);
    EXPECT_EQ(-30, edit->Font()->Height());
    EXPECT_EQ(-30, WindowFontHeight(edit->Handle()));
    EXPECT_TRUE(edit->ParentFont());

    // A control put into a parent takes the parent's font.
    auto* late = new TButton(Form.get());
    late->SetParent(panel);
    EXPECT_TRUE(late->Font()->Equals(*panel->Font()));
}

struct ColorCase {
    const char* Kind;
    std::function<TWinControl*(TComponent*)> Make;
    TColor First, Second;
};

TEST_F(WinControls, ColorPaintsTheBackground)
{
    const ColorCase cases[] = {
        {"TPanel", [](TComponent* o) -> TWinControl* {
             auto* p = new TPanel(o);
             p->SetBevelOuter(bvNone);
             return p;
         }, 0x00336699, 0x0000C000},
        {"TEdit", [](TComponent* o) -> TWinControl* { return new TEdit(o); }, 0x0080FFFF, 0x00402010},
        {"TMemo", [](TComponent* o) -> TWinControl* { return new TMemo(o); }, 0x00FF8080, 0x00123456},
    };
    Form->SetColor(0x00204060);
    Pump(30);
    EXPECT_EQ(ColorText(ColorToRGB(0x00204060)), ColorText(ClientPixel(Form->Handle(), 395, 295)));
    for (const ColorCase& c : cases) {
        SCOPED_TRACE(c.Kind);
        TWinControl* w = c.Make(Form.get());
        w->SetBounds(20, 20, 120, 60);
        w->SetColor(c.First);
        w->SetParent(Form.get());
        Pump(30);
        // Well inside, away from any border or text.
        EXPECT_EQ(ColorText(ColorToRGB(c.First)), ColorText(ClientPixel(w->Handle(), 60, 40)));
        // A change after the window is on screen repaints it.
        w->SetColor(c.Second);
        Pump(30);
        EXPECT_EQ(ColorText(ColorToRGB(c.Second)), ColorText(ClientPixel(w->Handle(), 60, 40)));
        delete w;
    }
    // A system colour is painted as the colour it stands for now.
    Form->SetColor(clWindow);
    Pump(30);
    EXPECT_EQ(ColorText(GetSysColor(COLOR_WINDOW)), ColorText(ClientPixel(Form->Handle(), 395, 295)));
}

TEST_F(WinControls, LaterChildrenLieAboveEarlierOnes)
{
    auto panel = [&](int left, int top, TColor color) {
        auto* p = Make<TPanel>(Form.get(), left, top, 100, 100);
        p->SetBevelOuter(bvNone);
        p->SetColor(color);
        return p;
    };
    const TColor red = 0x000000E0, green = 0x0000E000, blue = 0x00E00000, grey = 0x00808080;
    TPanel* first = panel(10, 10, red);
    TPanel* second = panel(60, 10, green);
    TPanel* third = panel(110, 10, blue);
    Pump(30);

    // Screen points in the overlaps, in the form's client coordinates.
    struct Spot {
        const char* Where;
        int X, Y;
        TColor Expected;
    };
    auto check = [&](const char* when, std::initializer_list<Spot> spots) {
        SCOPED_TRACE(when);
        for (const Spot& s : spots) {
            SCOPED_TRACE(s.Where);
            EXPECT_EQ(ColorText(ColorToRGB(s.Expected)), ColorText(ClientPixel(Form->Handle(), s.X, s.Y)));
        }
    };
    check("made in order", {{"first alone", 30, 50, red}, {"first under second", 80, 50, green},
                            {"second under third", 130, 50, blue}});
    EXPECT_EQ(third->Handle(), GetWindow(Form->Handle(), GW_CHILD));

    // A window made anew keeps its place in the stack.
    first->RecreateWnd();
    second->RecreateWnd();
    Pump(30);
    check("after making windows anew", {{"first under second", 80, 50, green}, {"second under third", 130, 50, blue}});

    // A child added later covers them all.
    TPanel* cover = panel(0, 0, grey);
    cover->SetWidth(400);
    Pump(30);
    check("new child on top", {{"first", 30, 50, grey}, {"third", 180, 50, grey}});
    delete cover;

    // Children whose windows are all made at once, when their container is
    // first shown; the middle one has no area yet and gets its window, in
    // its place, once it has one.
    auto* box = Make<TPanel>(Form.get(), 0, 150, 400, 150);
    box->SetVisible(false);
    auto inBox = [&](int left, TColor color, int height = 100) {
        auto* p = Make<TPanel>(box, left, 10, 100, height);
        p->SetBevelOuter(bvNone);
        p->SetColor(color);
        return p;
    };
    TPanel* lowest = inBox(10, red);
    TPanel* empty = inBox(60, grey, 0);
    TPanel* highest = inBox(110, blue);
    box->SetVisible(true);
    Pump(30);
    EXPECT_FALSE(empty->HandleAllocated());
    check("made at once", {{"lowest alone", 30, 200, red}, {"lowest under highest", 130, 200, blue}});
    EXPECT_EQ(highest->Handle(), GetWindow(box->Handle(), GW_CHILD));
    EXPECT_EQ(lowest->Handle(), GetWindow(highest->Handle(), GW_HWNDNEXT));
    empty->SetHeight(100);
    Pump(30);
    ASSERT_TRUE(empty->HandleAllocated());
    check("given an area", {{"lowest under it", 80, 200, grey}, {"it under highest", 130, 200, blue}});
}

struct RecreateCase {
    const char* Kind;
    std::function<TWinControl*(TComponent*)> Make;
    // Changes the control so that its window is made anew.
    std::function<void(TWinControl*)> Recreate;
};

TEST_F(WinControls, WindowMadeAnewKeepsTextAndState)
{
    const RecreateCase cases[] = {
        {"TEdit", [](TComponent* o) -> TWinControl* { return new TEdit(o); },
         [](TWinControl* c) { c->RecreateWnd(); }},
        {"TMemo by RecreateWnd", [](TComponent* o) -> TWinControl* { return new TMemo(o); },
         [](TWinControl* c) { c->RecreateWnd(); }},
        {"TMemo by WordWrap", [](TComponent* o) -> TWinControl* { return new TMemo(o); },
         [](TWinControl* c) { static_cast<TMemo*>(c)->SetWordWrap(false); }},
    };
    for (const RecreateCase& c : cases) {
        SCOPED_TRACE(c.Kind);
        auto* edit = static_cast<TCustomEdit*>(c.Make(Form.get()));
        edit->SetBounds(10, 10, 200, 80);
        edit->SetParent(Form.get());
        edit->SetFocus();
        Pump(20);
        ASSERT_EQ(edit->Handle(), GetFocus());
        TypeText("typed text");
        ASSERT_TRUE(edit->Modified());
        edit->SetEnabled(false);
        edit->Font()->SetHeight(-17);
        const std::string text = edit->GetText();

        c.Recreate(edit);
        HWND wnd = edit->Handle();
        EXPECT_EQ(text, edit->GetText());
        char shown[64] = {};
        GetWindowTextA(wnd, shown, sizeof shown);
        EXPECT_EQ(text, shown);
        EXPECT_TRUE(edit->Modified());
        EXPECT_FALSE(IsWindowEnabled(wnd));
        EXPECT_TRUE(IsWindowVisible(wnd));
        EXPECT_EQ(-17, WindowFontHeight(wnd));
        EXPECT_EQ("(10,10 200x80)", WindowText(wnd));
        EXPECT_EQ(edit, TWinControl::FromHandle(wnd));
        delete edit;
    }
}

TEST_F(WinControls, ControlsFreedDirectlyLeaveTheirParent)
{
    auto* panel = Make<TPanel>(Form.get(), 10, 10, 200, 100);
    auto* edit = Make<TEdit>(panel, 5, 5, 100, 21);
    HWND wnd = edit->Handle();
    ASSERT_EQ(1, panel->ControlCount());
    delete edit;
    EXPECT_EQ(0, panel->ControlCount());
    EXPECT_TRUE(panel->TabList().empty());
    EXPECT_FALSE(IsWindow(wnd));
    EXPECT_EQ(nullptr, TWinControl::FromHandle(wnd));

    // A container freed takes the windows of the children it holds with it,
    // and the children it doesn't own only lose their parent.
    auto* held = Make<TEdit>(panel, 5, 5, 100, 21);
    HWND heldWnd = held->Handle();
    delete panel;
    EXPECT_FALSE(IsWindow(heldWnd));
    EXPECT_EQ(nullptr, held->Parent());
    EXPECT_FALSE(held->HandleAllocated());
    held->SetParent(Form.get());
    EXPECT_TRUE(IsWindowVisible(held->Handle()));
}

} // namespace
