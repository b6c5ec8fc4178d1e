// The dock's row layout on a real form: bars of known sizes, the rows and
// places they get, and the thickness the dock takes across its edge.
#include "tests/toolbar/dock/TestBar.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace testing_support;
using namespace toolkit_testing;

namespace {

struct BarSpec {
    const char* Name;
    int Length, Thickness;
    int Row = 0, Pos = 0;
    TTBShrinkMode Mode = tbsmNone;
    int Minimum = 0;
    bool FullSize = false;
    bool Visible = true;
};

struct LayoutCase {
    const char* What;
    TTBDockPosition Position;
    int Length; // the form's client width (or height, for a side dock)
    std::vector<BarSpec> Bars;
    int ExpectedThickness;
    std::vector<const char*> ExpectedPlaces; // "row@pos+length", in bar order
    TTBDockBoundLines Lines = 0;
    bool FixAlign = false;
    bool OneRow = false;
};

class DockLayout : public ::testing::Test {
protected:
    void Build(const LayoutCase& c)
    {
        bool vertical = c.Position == dpLeft || c.Position == dpRight;
        Form = MakeForm(vertical ? 300 : c.Length, vertical ? c.Length : 300);
        Dock = new TTBDock(Form.get());
        Dock->SetName("Dock");
        Dock->SetPosition(c.Position);
        Dock->SetBounds(0, 0, 40, 40); // a designed size the layout must not keep
        Dock->SetBoundLines(c.Lines);
        Dock->SetFixAlign(c.FixAlign);
        Dock->SetLimitToOneRow(c.OneRow);
        Dock->SetParent(Form.get());
        Bars.clear();
        for (const BarSpec& s : c.Bars) {
            auto* bar = new TTestBar(Form.get(), s.Name, s.Length, s.Thickness);
            bar->Mode = s.Mode;
            bar->MinimumLength = s.Minimum;
            bar->SetFullSize(s.FullSize);
            bar->SetDockRow(s.Row);
            bar->SetDockPos(s.Pos);
            bar->SetVisible(s.Visible);
            bar->SetParent(Dock);
            Bars.push_back(bar);
        }
        ShowAndActivate(*Form);
    }

    int Thickness() const { return Dock->Vertical() ? Dock->Width() : Dock->Height(); }

    std::unique_ptr<TForm> Form;
    TTBDock* Dock = nullptr;
    std::vector<TTestBar*> Bars;
};

TEST_F(DockLayout, RowsPlacesAndThickness)
{
    const TTBShrinkMode chev = tbsmChevron;
    const std::vector<LayoutCase> cases = {
        {"empty dock", dpTop, 400, {}, 0, {}},
        {"empty dock, fixed alignment", dpTop, 400, {}, 1, {}, 0, true},
        {"empty dock with bound lines", dpTop, 400, {}, 2, {}, BoundLineBit(blTop) | BoundLineBit(blBottom)},
        {"one bar 22 high", dpTop, 400, {{"A", 100, 22}}, 26, {"0@0+104"}},
        {"bound lines on top", dpTop, 400, {{"A", 100, 22}}, 28, {"0@0+104"},
         BoundLineBit(blTop) | BoundLineBit(blBottom) | BoundLineBit(blLeft)},
        {"full size takes its own row", dpTop, 400,
         {{"A", 60, 22, 0, 0}, {"B", 100, 18, 0, 100, tbsmNone, 0, true}, {"C", 50, 22, 1, 0}}, 26 + 22 + 26,
         {"1@0+64", "0@0+400", "2@0+54"}},
        {"second bar wraps", dpTop, 200, {{"A", 150, 22}, {"B", 100, 22, 0, 10}}, 52, {"0@0+154", "1@10+104"}},
        {"one row forced", dpTop, 200, {{"A", 150, 22}, {"B", 100, 22, 1, 0}}, 26, {"0@0+154", "0@154+104"}, 0,
         false, true},
        {"chevron bars squeeze", dpTop, 200, {{"A", 150, 22, 0, -1, chev, 40}, {"B", 100, 22, 0, -1, chev, 40}}, 26,
         {"0@0+96", "0@96+104"}},
        {"chevron bars at their minimum", dpTop, 200,
         {{"A", 300, 22, 0, -1, chev, 40}, {"B", 200, 22, 0, -1, chev, 40}}, 26, {"0@0+40", "0@40+160"}},
        {"gap kept before a bar", dpTop, 400, {{"A", 50, 22, 0, 0}, {"B", 50, 22, 0, 200}}, 26,
         {"0@0+54", "0@200+54"}},
        {"negative positions first", dpTop, 400, {{"A", 50, 22, 0, 0}, {"B", 50, 22, 0, -1}, {"C", 50, 22, 0, -8}},
         26, {"0@108+54", "0@54+54", "0@0+54"}},
        {"empty rows close", dpTop, 400, {{"A", 50, 22, 3, 0}, {"B", 50, 20, 7, 0}}, 50, {"0@0+54", "1@0+54"}},
        {"hidden bar keeps its row", dpTop, 400,
         {{"A", 50, 22, 0, 0}, {"B", 50, 22, 1, 30, tbsmNone, 0, false, false}, {"C", 50, 22, 2, 10}}, 52,
         {"0@0+54", "1@30+0", "2@10+54"}},
        {"left dock column", dpLeft, 300, {{"A", 120, 30}, {"B", 80, 24, 1, 0}}, 34 + 28, {"0@0+124", "1@0+84"}},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.What);
        Build(c);
        EXPECT_EQ(c.ExpectedThickness, Thickness());
        for (size_t i = 0; i < Bars.size(); ++i)
            EXPECT_EQ(c.ExpectedPlaces[i], Bars[i]->Placed()) << Bars[i]->Name();
        // Laying out again changes nothing.
        int before = Thickness();
        Dock->LayoutRows();
        EXPECT_EQ(before, Thickness());
    }
}

TEST_F(DockLayout, HiddenBarsKeepTheirPlaceAndComeBack)
{
    Build({"", dpTop, 400, {{"A", 50, 22, 0, 0}, {"B", 50, 22, 1, 30}}, 0, {}});
    EXPECT_EQ(52, Thickness());
    Bars[1]->Hide();
    EXPECT_EQ(26, Thickness());
    EXPECT_EQ(1, Bars[1]->DockRow());
    EXPECT_EQ(30, Bars[1]->DockPos());
    EXPECT_EQ(1u, Dock->ShownBars().size());
    Bars[1]->Show();
    EXPECT_EQ(52, Thickness());
    EXPECT_EQ("1@30+54", Bars[1]->Placed());
}

TEST_F(DockLayout, WrappingFullSizeBarIsRearrangedOnlyWhenItsLengthChanges)
{
    Build({"", dpTop, 200, {{"W", 300, 22, 0, 0, tbsmWrap, 50, true}}, 0, {}});
    TTestBar* bar = Bars[0];
    // 300 + 4 does not fit in 200: shrunk to the dock's length, two rows of 22.
    EXPECT_EQ(200, bar->ShrunkLength);
    EXPECT_EQ(48, Thickness());
    EXPECT_EQ("0@0+200", bar->Placed());
    const int asked = bar->DockAsks, arranged = bar->Arrangements;
    EXPECT_GE(asked, 1);
    Dock->LayoutRows();
    EXPECT_EQ(asked, bar->DockAsks);
    EXPECT_EQ(arranged, bar->Arrangements);
    EXPECT_EQ(48, Thickness());

    // Wider than the contents: back to the natural length, once more re-arranged.
    Form->SetClientWidth(500);
    Pump(30);
    EXPECT_EQ(0, bar->ShrunkLength);
    EXPECT_EQ(asked + 1, bar->DockAsks);
    EXPECT_EQ(arranged + 1, bar->Arrangements);
    EXPECT_EQ(26, Thickness());
    EXPECT_EQ("0@0+500", bar->Placed());
}

TEST_F(DockLayout, BottomDockGrowsUpwardsAndKeepsItsEdge)
{
    Build({"", dpBottom, 400, {{"A", 100, 22}}, 0, {}});
    const int bottom = Form->ClientHeight();
    EXPECT_EQ(bottom - 26, Dock->Top());
    auto* second = new TTestBar(Form.get(), "B", 380, 30);
    second->SetDockRow(1);
    second->SetParent(Dock);
    EXPECT_EQ(bottom - 26 - 34, Dock->Top());
    EXPECT_EQ(bottom, Dock->Top() + Dock->Height());
    // The window follows: its bottom edge stays at the client's bottom.
    EXPECT_EQ(RectText(0, bottom - 60, 400, 60), WindowText(Dock->Handle()));
}

TEST_F(DockLayout, InvalidPlacesRaiseAndChangeNothing)
{
    Build({"", dpTop, 400, {{"A", 100, 22}}, 0, {}});
    try {
        Dock->SetPosition(dpLeft);
        FAIL() << "no error";
    } catch (const EInvalidOperation& e) {
        EXPECT_STREQ("Cannot change Position of a TTBDock if it already contains controls", e.what());
    }
    EXPECT_EQ(dpTop, Dock->Position());
    EXPECT_EQ(alTop, Dock->Align());
    auto* inner = new TTBDock(Form.get());
    for (TWinControl* parent : {static_cast<TWinControl*>(Dock), static_cast<TWinControl*>(Bars[0])}) {
        try {
            inner->SetParent(parent);
            FAIL() << "no error";
        } catch (const EInvalidOperation& e) {
            EXPECT_STREQ("A TTBDock control cannot be placed inside a tool window or another TTBDock", e.what());
        }
        EXPECT_EQ(nullptr, inner->Parent());
    }
}

TEST_F(DockLayout, FramesOnScreen)
{
    Build({"", dpTop, 400, {{"A", 100, 22}, {"B", 100, 22, 0, 200}}, 0, {}, BoundLineBit(blTop)});
    const COLORREF red = RGB(200, 0, 0), white = RGB(255, 255, 255);
    const std::string shadow = ColorText(GetSysColor(COLOR_BTNSHADOW));
    for (TTestBar* bar : Bars)
        bar->SetColor(static_cast<TColor>(red));
    Bars[0]->SetBorderStyle(bsNone);
    Pump(60);
    ScreenArea area(Form->Handle(), RECT{0, 0, 400, 30});
    // The dock's top bound line in the shadow colour, above the bars.
    EXPECT_EQ(shadow, ColorText(area.At(50, 0)));
    // A borderless bar: a 2-pixel ring in its colour around its white client area.
    for (int d : {0, 1}) {
        EXPECT_EQ(ColorText(red), ColorText(area.At(30, 1 + d))) << d;
        EXPECT_EQ(ColorText(red), ColorText(area.At(d, 10))) << d;
        EXPECT_EQ(ColorText(red), ColorText(area.At(103 - d, 10))) << d;
    }
    EXPECT_EQ(ColorText(white), ColorText(area.At(30, 3)));
    EXPECT_EQ(ColorText(white), ColorText(area.At(2, 10)));
    // A single border: a raised edge outside, then the bar's colour.
    EXPECT_EQ(ColorText(GetSysColor(COLOR_BTNHIGHLIGHT)), ColorText(area.At(230, 1)));
    EXPECT_EQ(shadow, ColorText(area.At(303, 10)));
    EXPECT_EQ(ColorText(red), ColorText(area.At(230, 2)));
    EXPECT_EQ(ColorText(white), ColorText(area.At(230, 3)));
}

} // namespace
