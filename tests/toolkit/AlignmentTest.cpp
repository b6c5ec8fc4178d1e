// Aligned children on a real form: the order edges are taken in, who wins a
// tie, hidden controls, and the platform's windows following the bounds
// after the toolkit or the platform resizes the parent.
#include "tests/toolkit/ToolkitTesting.h"
#include "toolkit/ExtCtrls.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

using namespace testing_support;
using namespace toolkit_testing;

namespace {

struct ChildLayout {
    const char* Name;
    TAlign Align;
    int Left, Top, Width, Height;
    bool Visible = true;
};

struct Expect {
    const char* Name;
    int Left, Top, Width, Height;
};

class Alignment : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = MakeForm(400, 300);
        ShowAndActivate(*Form);
    }

    TPanel* Add(const ChildLayout& s, TWinControl* parent = nullptr)
    {
        auto* p = new TPanel(Form.get());
        p->SetName(s.Name);
        p->SetBevelOuter(bvNone);
        p->SetVisible(s.Visible);
        p->SetBounds(s.Left, s.Top, s.Width, s.Height);
        p->SetAlign(s.Align);
        p->SetParent(parent ? parent : Form.get());
        Children[s.Name] = p;
        return p;
    }

    // All at once, as a layout is built: the designed positions decide.
    void Build(const std::vector<ChildLayout>& layout)
    {
        Form->DisableAlign();
        for (const ChildLayout& s : layout)
            Add(s);
        Form->EnableAlign();
        Pump(20);
    }

    // The stored bounds and the real window of each expected child.
    void Check(const std::vector<Expect>& expected)
    {
        for (const Expect& e : expected) {
            SCOPED_TRACE(e.Name);
            TPanel* p = Children.at(e.Name);
            std::string want = RectText(e.Left, e.Top, e.Width, e.Height);
            EXPECT_EQ(want, BoundsText(p));
            EXPECT_EQ(want, WindowText(p->Handle()));
        }
    }

    std::unique_ptr<TForm> Form;
    std::map<std::string, TPanel*> Children;
};

// Seven children made in an order unlike their places: the top ones go down
// from the top, the bottom one up from the bottom, then the left ones from
// the left, the right one from the right, and the fill takes the rest.
const std::vector<ChildLayout> kAllEdges = {
    {"Fill", alClient, 0, 0, 10, 10},
    {"Right1", alRight, 0, 0, 35, 10},
    {"Left2", alLeft, 100, 0, 50, 10},
    {"Bottom1", alBottom, 0, 250, 10, 25},
    {"Top2", alTop, 0, 50, 10, 30},
    {"Left1", alLeft, 0, 0, 40, 10},
    {"Top1", alTop, 0, 0, 10, 20},
};

struct AlignCase {
    const char* Title;
    std::vector<ChildLayout> Children;
    std::vector<Expect> Expected;
};

class AlignmentCases : public Alignment, public ::testing::WithParamInterface<AlignCase> {};

TEST_P(AlignmentCases, EdgesAreTakenInOrder)
{
    Build(GetParam().Children);
    Check(GetParam().Expected);
}

std::vector<ChildLayout> WithHidden(std::vector<ChildLayout> layout, std::initializer_list<const char*> hidden)
{
    for (ChildLayout& s : layout)
        for (const char* h : hidden)
            if (std::string(s.Name) == h)
                s.Visible = false;
    return layout;
}

INSTANTIATE_TEST_SUITE_P(
    Alignment, AlignmentCases,
    ::testing::Values(
        AlignCase{"AllEdges",
                  kAllEdges,
                  {{"Top1", 0, 0, 400, 20},
                   {"Top2", 0, 20, 400, 30},
                   {"Bottom1", 0, 275, 400, 25},
                   {"Left1", 0, 50, 40, 225},
                   {"Left2", 40, 50, 50, 225},
                   {"Right1", 365, 50, 35, 225},
                   {"Fill", 90, 50, 275, 225}}},
        // Hidden ones take no room, except that a hidden fill still gets its
        // size, ready to be shown.
        AlignCase{"HiddenTakeNoRoom",
                  WithHidden(kAllEdges, {"Top1", "Left2", "Fill"}),
                  {{"Top2", 0, 0, 400, 30},
                   {"Bottom1", 0, 275, 400, 25},
                   {"Left1", 0, 30, 40, 245},
                   {"Right1", 365, 30, 35, 245},
                   {"Fill", 40, 30, 325, 245}}},
        AlignCase{"BottomOnesUpFromTheBottom",
                  {{"Fill", alClient, 0, 0, 10, 10},
                   {"Upper", alBottom, 0, 200, 10, 30},
                   {"Lowest", alBottom, 0, 280, 10, 20}},
                  {{"Lowest", 0, 280, 400, 20}, {"Upper", 0, 250, 400, 30}, {"Fill", 0, 0, 400, 250}}},
        AlignCase{"RightOnesInFromTheRight",
                  {{"Inner", alRight, 300, 0, 30, 10},
                   {"Outer", alRight, 390, 0, 10, 10},
                   {"Fill", alClient, 0, 0, 10, 10}},
                  {{"Outer", 390, 0, 10, 300}, {"Inner", 360, 0, 30, 300}, {"Fill", 0, 0, 360, 300}}},
        AlignCase{"UnalignedStayPut",
                  {{"Free", alNone, 30, 40, 50, 60}, {"Top", alTop, 0, 0, 10, 25}},
                  {{"Free", 30, 40, 50, 60}, {"Top", 0, 0, 400, 25}}}),
    [](const auto& testCase) { return std::string(testCase.param.Title); });

TEST_F(Alignment, TheControlThatChangedWinsATie)
{
    Build({{"Dock", alTop, 0, 0, 10, 23}, {"Strip", alTop, 0, 0, 10, 2, false}, {"Fill", alClient, 0, 0, 10, 10}});
    Check({{"Dock", 0, 0, 400, 23}, {"Fill", 0, 23, 400, 277}});

    // The strip kept its designed top 0; shown, it goes above the dock.
    Children["Strip"]->Show();
    Check({{"Strip", 0, 0, 400, 2}, {"Dock", 0, 2, 400, 23}, {"Fill", 0, 25, 400, 275}});
    Children["Strip"]->Hide();
    Check({{"Dock", 0, 0, 400, 23}, {"Fill", 0, 23, 400, 277}});
    Children["Strip"]->Show();
    Check({{"Strip", 0, 0, 400, 2}, {"Dock", 0, 2, 400, 23}});

    // Moving the dock to the strip's place puts it first.
    Children["Dock"]->SetTop(0);
    Check({{"Dock", 0, 0, 400, 23}, {"Strip", 0, 23, 400, 2}, {"Fill", 0, 25, 400, 275}});

    // A new top control made at the top edge goes above both.
    Add({"Newest", alTop, 0, 0, 10, 5});
    Check({{"Newest", 0, 0, 400, 5}, {"Dock", 0, 5, 400, 23}, {"Strip", 0, 28, 400, 2}, {"Fill", 0, 30, 400, 270}});
}

TEST_F(Alignment, ChangingAnAlignedControlsSizeOrAlignmentRelaysTheOthers)
{
    Build(kAllEdges);
    Children["Top1"]->SetHeight(50);
    Check({{"Top2", 0, 50, 400, 30}, {"Left1", 0, 80, 40, 195}, {"Fill", 90, 80, 275, 195}});
    Children["Left1"]->SetAlign(alNone);
    Check({{"Left2", 0, 80, 50, 195}, {"Fill", 50, 80, 315, 195}});
    Children["Right1"]->SetWidth(100);
    Check({{"Right1", 300, 80, 100, 195}, {"Fill", 50, 80, 250, 195}});
}

struct ResizeCase {
    const char* Title;
    bool ByPlatform; // the platform resizes the window (a user's drag), or the toolkit's SetBounds
};

class ParentResize : public Alignment, public ::testing::WithParamInterface<ResizeCase> {};

TEST_P(ParentResize, ChildrenAndTheirWindowsFollow)
{
    Build(kAllEdges);
    TPanel* inner = Add({"Inner", alBottom, 0, 0, 10, 20}, Children["Fill"]);
    Pump(20);
    EXPECT_EQ(RectText(0, 205, 275, 20), BoundsText(inner));

    RECT outer;
    GetWindowRect(Form->Handle(), &outer);
    int width = outer.right - outer.left + 100, height = outer.bottom - outer.top + 60;
    if (GetParam().ByPlatform)
        SetWindowPos(Form->Handle(), nullptr, outer.left, outer.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    else
        Form->SetBounds(outer.left, outer.top, width, height);
    Pump(30);

    ASSERT_EQ(RectText(0, 0, 500, 360), RectText(Form->ClientRect()));
    EXPECT_EQ(RectText(outer.left, outer.top, width, height), BoundsText(Form.get()));
    Check({{"Top1", 0, 0, 500, 20},
           {"Top2", 0, 20, 500, 30},
           {"Bottom1", 0, 335, 500, 25},
           {"Left1", 0, 50, 40, 285},
           {"Left2", 40, 50, 50, 285},
           {"Right1", 465, 50, 35, 285},
           {"Fill", 90, 50, 375, 285},
           {"Inner", 0, 265, 375, 20}});
}

INSTANTIATE_TEST_SUITE_P(Alignment, ParentResize,
                         ::testing::Values(ResizeCase{"ByThePlatform", true}, ResizeCase{"BySetBounds", false}),
                         [](const auto& testCase) { return std::string(testCase.param.Title); });

TEST_F(Alignment, SetBoundsMovesTheRealWindow)
{
    TPanel* p = Add({"Free", alNone, 0, 0, 10, 10});
    struct {
        int Left, Top, Width, Height;
        const char* Expected;
    } const cases[] = {
        {10, 20, 100, 50, "(10,20 100x50)"},
        {-15, 7, 30, 40, "(-15,7 30x40)"},
        {250, 260, 200, 100, "(250,260 200x100)"},
        {5, 5, 0, 0, "(5,5 0x0)"},
        {5, 5, -20, -1, "(5,5 0x0)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Expected);
        p->SetBounds(c.Left, c.Top, c.Width, c.Height);
        EXPECT_EQ(c.Expected, BoundsText(p));
        EXPECT_EQ(c.Expected, WindowText(p->Handle()));
    }
    // One side at a time.
    p->SetLeft(1);
    p->SetTop(2);
    p->SetWidth(3);
    p->SetHeight(4);
    EXPECT_EQ("(1,2 3x4)", WindowText(p->Handle()));
}

} // namespace

namespace {

// A panel that writes down which children it was told about.
class ListeningPanel : public TPanel {
public:
    using TPanel::TPanel;
    std::string Told;

protected:
    void ChildLayoutChanged(TControl* child) override { Told += child->Name() + " "; }
};

TEST(ChildLayoutHook, ToldOfEveryChangeToAChildButNotOfItsOwnAlignmentPass)
{
    auto form = MakeForm(400, 300);
    auto* parent = new ListeningPanel(form.get());
    parent->SetParent(form.get());
    parent->SetBounds(0, 0, 200, 100);
    auto* a = new TPanel(form.get());
    a->SetName("a");
    auto* top = new TPanel(form.get());
    top->SetName("top");
    top->SetHeight(20);
    top->SetAlign(alTop);
    const struct {
        const char* what;
        std::function<void()> change;
        const char* told;
    } steps[] = {
        {"inserted", [&] { a->SetParent(parent); }, "a "},
        {"an aligned one inserted", [&] { top->SetParent(parent); }, "top "},
        {"resized", [&] { a->SetBounds(0, 30, 50, 10); }, "a "},
        {"the same bounds again", [&] { a->SetBounds(0, 30, 50, 10); }, ""},
        {"hidden and shown", [&] { a->Hide(); a->Show(); }, "a a "},
        {"realigned to the bottom", [&] { a->SetAlign(alBottom); }, "a "},
        {"the parent resized: its own alignment moves them", [&] { parent->SetHeight(150); }, ""},
        {"removed", [&] { a->SetParent(nullptr); }, "a "},
    };
    for (const auto& s : steps) {
        parent->Told.clear();
        s.change();
        EXPECT_EQ(s.told, parent->Told) << s.what;
    }
    EXPECT_EQ(RectText(0, 0, 200, 20), BoundsText(top)) << "alignment works as before";
    delete a;
}

} // namespace
