// Keyboard focus on real forms: tab order, Tab and Shift+Tab through the
// controls that can take the focus, the first activation, and the focus
// coming back to the same control when the form is activated again.
#include "tests/toolkit/ToolkitTesting.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/StdCtrls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testing_support;
using namespace toolkit_testing;

namespace {

// The name of the control that has the keyboard focus, or "(none)"/"(other)".
std::string FocusedName()
{
    HWND focus = GetFocus();
    if (!focus)
        return "(none)";
    TWinControl* c = TWinControl::FromHandle(focus);
    return c ? c->Name() : "(other)";
}

class Focus : public ::testing::Test {
protected:
    void SetUp() override { Form = MakeForm(400, 300); }

    template <class T>
    T* Make(const char* name, TWinControl* parent, int top)
    {
        auto* c = new T(Form.get());
        c->SetName(name);
        c->SetBounds(10, top, 120, 22);
        c->SetParent(parent);
        return c;
    }

    // Made in one order, tabbed in another: Second first, a panel holding
    // more editors, and controls that can't take the focus in between.
    void BuildTabLayout()
    {
        First = Make<TEdit>("First", Form.get(), 10);
        Second = Make<TEdit>("Second", Form.get(), 40);
        Button = Make<TButton>("Button", Form.get(), 70);
        Panel = new TPanel(Form.get());
        Panel->SetName("Panel");
        Panel->SetBounds(150, 10, 200, 200);
        Panel->SetParent(Form.get());
        Inner = Make<TMemo>("Inner", Panel, 10);
        Hidden = Make<TEdit>("Hidden", Panel, 40);
        Hidden->Hide();
        Disabled = Make<TEdit>("Disabled", Panel, 70);
        Disabled->SetEnabled(false);
        NoStop = Make<TEdit>("NoStop", Form.get(), 100);
        NoStop->SetTabStop(false);
        Last = Make<TEdit>("Last", Panel, 100);
        Second->SetTabOrder(0);
    }

    std::unique_ptr<TForm> Form;
    TEdit *First = nullptr, *Second = nullptr, *Hidden = nullptr, *Disabled = nullptr, *NoStop = nullptr,
          *Last = nullptr;
    TButton* Button = nullptr;
    TPanel* Panel = nullptr;
    TMemo* Inner = nullptr;
};

TEST_F(Focus, TabOrderIsPerParentAndCanBeChanged)
{
    BuildTabLayout();
    struct {
        TWinControl* Control;
        int Expected;
    } const cases[] = {{Second, 0}, {First, 1}, {Button, 2}, {Panel, 3}, {NoStop, 4},
                       {Inner, 0},  {Hidden, 1}, {Disabled, 2}, {Last, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Control->Name());
        EXPECT_EQ(c.Expected, c.Control->TabOrder());
    }
    // Out of range goes last; the published property does the same.
    First->SetTabOrder(99);
    EXPECT_EQ(4, First->TabOrder());
    EXPECT_EQ(3, NoStop->TabOrder());
    SetOrdProp(First, *First->ClassType().FindProperty("TabOrder"), 0);
    EXPECT_EQ(0, First->TabOrder());
    EXPECT_EQ(1, Second->TabOrder());
}

TEST_F(Focus, FirstActivationFocusesTheFirstTabStop)
{
    BuildTabLayout();
    ShowAndActivate(*Form);
    EXPECT_EQ("Second", FocusedName());
    EXPECT_EQ(Second, Form->ActiveControl());
}

TEST_F(Focus, FirstActivationSkipsWhatCannotTakeTheFocus)
{
    BuildTabLayout();
    Second->Hide();
    First->SetEnabled(false);
    Button->SetTabStop(false);
    ShowAndActivate(*Form);
    EXPECT_EQ("Inner", FocusedName());
}

TEST_F(Focus, TabAndShiftTabVisitTheVisibleEnabledTabStops)
{
    BuildTabLayout();
    ShowAndActivate(*Form);
    ASSERT_EQ("Second", FocusedName());

    const std::vector<std::string> forward = {"First", "Button", "Inner", "Last", "Second", "First"};
    std::vector<std::string> seen;
    for (size_t i = 0; i < forward.size(); ++i) {
        PressKey(VK_TAB);
        seen.push_back(FocusedName());
    }
    EXPECT_EQ(forward, seen);

    // From First backwards: round the end.
    const std::vector<std::string> backward = {"Second", "Last", "Inner", "Button", "First"};
    seen.clear();
    for (size_t i = 0; i < backward.size(); ++i) {
        PressKey(VK_TAB, true);
        seen.push_back(FocusedName());
    }
    EXPECT_EQ(backward, seen);

    // Tab in a multi-line editor moves on too, typing no tab character.
    Inner->SetFocus();
    PressKey(VK_TAB);
    EXPECT_EQ("Last", FocusedName());
    EXPECT_EQ("", Inner->GetText());

    // What changes state is left out from then on, and comes back.
    Hidden->Show();
    Button->SetEnabled(false);
    First->SetFocus();
    seen.clear();
    for (int i = 0; i < 4; ++i) {
        PressKey(VK_TAB);
        seen.push_back(FocusedName());
    }
    EXPECT_EQ((std::vector<std::string>{"Inner", "Hidden", "Last", "Second"}), seen);
}

TEST_F(Focus, ActiveControlComesBackWhenTheFormIsActivatedAgain)
{
    BuildTabLayout();
    ShowAndActivate(*Form);
    auto other = MakeForm(200, 100, 500, 400);
    auto* otherEdit = new TEdit(other.get());
    otherEdit->SetName("OtherEdit");
    otherEdit->SetBounds(10, 10, 100, 22);
    otherEdit->SetParent(other.get());

    // Mouse-clicked into a control deep in the tab order.
    ClickClient(Last->Handle(), RECT{0, 0, Last->Width(), Last->Height()});
    ASSERT_EQ("Last", FocusedName());
    EXPECT_EQ(Last, Form->ActiveControl());

    ShowAndActivate(*other);
    EXPECT_EQ("OtherEdit", FocusedName());
    EXPECT_EQ(Last, Form->ActiveControl());

    Activate(Form->Handle());
    EXPECT_EQ(Form->Handle(), GetActiveWindow());
    EXPECT_EQ("Last", FocusedName());

    // The same after focus moved by keyboard.
    PressKey(VK_TAB);
    ASSERT_EQ("Second", FocusedName());
    Activate(other->Handle());
    Activate(Form->Handle());
    EXPECT_EQ("Second", FocusedName());
}

TEST_F(Focus, ActiveControlThatBecameHiddenGivesWayToTheFirstTabStop)
{
    BuildTabLayout();
    ShowAndActivate(*Form);
    auto other = MakeForm(200, 100, 500, 400);
    Inner->SetFocus();
    ASSERT_EQ("Inner", FocusedName());
    ShowAndActivate(*other);
    Panel->Hide();
    Activate(Form->Handle());
    EXPECT_EQ("Second", FocusedName());
}

TEST_F(Focus, ActiveControlFreedIsForgotten)
{
    BuildTabLayout();
    ShowAndActivate(*Form);
    auto other = MakeForm(200, 100, 500, 400);
    Inner->SetFocus();
    ASSERT_EQ(Inner, Form->ActiveControl());
    const void* freed = Inner;
    delete Inner;
    Inner = nullptr;
    // The form must not keep a pointer to a control that is gone (the
    // platform may have moved the focus to the container meanwhile).
    EXPECT_NE(freed, Form->ActiveControl());

    // Nor to one inside a container that is gone, nor to the container.
    Last->SetFocus();
    ASSERT_EQ(Last, Form->ActiveControl());
    const void* freedPanel = Panel;
    delete Panel;
    Panel = nullptr;
    EXPECT_NE(static_cast<const void*>(Last), Form->ActiveControl());
    EXPECT_NE(freedPanel, Form->ActiveControl());
    std::string tabList;
    for (TWinControl* w : Form->TabList())
        tabList += (tabList.empty() ? "" : " ") + (static_cast<const void*>(w) == freedPanel ? "(freed)" : w->Name());
    EXPECT_EQ("Second First Button NoStop", tabList);

    // Activated again, the form focuses what is still there, and Tab walks
    // only what is left.
    ShowAndActivate(*other);
    Activate(Form->Handle());
    EXPECT_EQ("Second", FocusedName());
    std::vector<std::string> seen;
    for (int i = 0; i < 3; ++i) {
        PressKey(VK_TAB);
        seen.push_back(FocusedName());
    }
    EXPECT_EQ((std::vector<std::string>{"First", "Button", "Second"}), seen);
}

} // namespace
