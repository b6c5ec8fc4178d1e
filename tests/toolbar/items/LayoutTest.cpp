// The view's layout: rectangles of items in rows and columns for a known
// font, wrapping at separators, and one relayout per change or batch.
#include "tests/toolbar/items/ViewTesting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace view_testing;

namespace {

struct Case {
    const char* what;
    const char* pattern;
    TTBViewOrientation orientation;
    std::function<int(const Metrics&)> wrap;
    std::function<std::vector<RECT>(const Metrics&)> expected; // hidden viewers: an empty RECT
    std::function<SIZE(const Metrics&)> total;
    // Captions in a column are turned unless the bar has tboNoRotation.
    bool rotated = false;
};

std::vector<std::string> Texts(const std::vector<RECT>& rects)
{
    std::vector<std::string> out;
    for (const RECT& r : rects)
        out.push_back(IsRectEmpty(&r) && r.left == -1 ? "hidden" : RectText(r));
    return out;
}
const RECT Hidden{-1, 0, -1, 0};

TEST(ViewLayout, RectanglesInAllOrientationsWithWrappingAtSeparators)
{
    const Metrics metrics;
    const Case cases[] = {
        {"one row", "1 | 2", tbvoHorizontal, [](const Metrics&) { return 0; },
         [](const Metrics& m) {
             return std::vector<RECT>{R(0, 0, m.W("1"), m.H), R(m.W("1"), 0, 6, m.H), R(m.W("1") + 6, 0, m.W("2"), m.H)};
         },
         [](const Metrics& m) { return SIZE{m.W("1") + 6 + m.W("2"), m.H}; }},
        {"breaks at the separator before what does not fit", "1 | 2 | 3", tbvoHorizontal,
         [](const Metrics& m) { return m.W("1") + 6 + m.W("2") + 6 + m.W("3") - 1; },
         [](const Metrics& m) {
             const int row = m.W("1") + 6 + m.W("2");
             return std::vector<RECT>{R(0, 0, m.W("1"), m.H), R(m.W("1"), 0, 6, m.H), R(m.W("1") + 6, 0, m.W("2"), m.H),
                                      R(0, m.H, std::max(row, m.W("3")), 6), R(0, m.H + 6, m.W("3"), m.H)};
         },
         [](const Metrics& m) { return SIZE{std::max(m.W("1") + 6 + m.W("2"), m.W("3")), 2 * m.H + 6}; }},
        {"a lone button never wraps", "1", tbvoHorizontal, [](const Metrics&) { return 3; },
         [](const Metrics& m) { return std::vector<RECT>{R(0, 0, m.W("1"), m.H)}; },
         [](const Metrics& m) { return SIZE{m.W("1"), m.H}; }},
        {"buttons without separators wrap one by one", "1 2", tbvoHorizontal,
         [](const Metrics& m) { return m.W("1") + 1; },
         [](const Metrics& m) { return std::vector<RECT>{R(0, 0, m.W("1"), m.H), R(0, m.H, m.W("2"), m.H)}; },
         [](const Metrics& m) { return SIZE{std::max(m.W("1") + 1, m.W("2")), 2 * m.H}; }},
        {"leading, adjacent and trailing separators take no room", "| 1 | | 2 |", tbvoHorizontal,
         [](const Metrics&) { return 0; },
         [](const Metrics& m) {
             return std::vector<RECT>{Hidden, R(0, 0, m.W("1"), m.H), R(m.W("1"), 0, 6, m.H), Hidden,
                                      R(m.W("1") + 6, 0, m.W("2"), m.H), Hidden};
         },
         [](const Metrics& m) { return SIZE{m.W("1") + 6 + m.W("2"), m.H}; }},
        {"an empty caption is 6 x 6, centred in the row", "_ 1", tbvoHorizontal, [](const Metrics&) { return 0; },
         [](const Metrics& m) { return std::vector<RECT>{R(0, (m.H - 6) / 2, 6, 6), R(6, 0, m.W("1"), m.H)}; },
         [](const Metrics& m) { return SIZE{6 + m.W("1"), m.H}; }},
        {"a column as wide as its widest button", "1 | 22", tbvoVertical, [](const Metrics&) { return 0; },
         [](const Metrics& m) {
             const int cw = std::max(m.W("1"), m.W("22"));
             auto centred = [&](int w, int y) { return R(cw - ((cw - w) / 2 + w), y, w, m.H); };
             return std::vector<RECT>{centred(m.W("1"), 0), R(0, m.H, cw, 6), centred(m.W("22"), m.H + 6)};
         },
         [](const Metrics& m) { return SIZE{std::max(m.W("1"), m.W("22")), 2 * m.H + 6}; }},
        {"further columns stand to the left of the first", "1 | 2 | 3", tbvoVertical,
         [](const Metrics& m) { return 3 * m.H + 12 - 1; },
         [](const Metrics& m) {
             const int c1 = std::max(m.W("1"), m.W("2")), width = c1 + 6 + m.W("3");
             auto inFirst = [&](int w, int y) { return R(width - ((c1 - w) / 2 + w), y, w, m.H); };
             return std::vector<RECT>{inFirst(m.W("1"), 0), R(width - c1, m.H, c1, 6), inFirst(m.W("2"), m.H + 6),
                                      R(width - c1 - 6, 0, 6, 2 * m.H + 6), R(0, 0, m.W("3"), m.H)};
         },
         [](const Metrics& m) { return SIZE{std::max(m.W("1"), m.W("2")) + 6 + m.W("3"), 2 * m.H + 6}; }},
        {"a turned caption in a column", "1", tbvoVertical, [](const Metrics&) { return 0; },
         [](const Metrics& m) { return std::vector<RECT>{R(0, 0, m.H, m.W("1"))}; },
         [](const Metrics& m) { return SIZE{m.H, m.W("1")}; }, true},
        {"floating keeps a margin", "1 2", tbvoFloating, [](const Metrics&) { return 0; },
         [](const Metrics& m) { return std::vector<RECT>{R(4, 2, m.W("1"), m.H), R(4 + m.W("1"), 2, m.W("2"), m.H)}; },
         [](const Metrics& m) { return SIZE{m.W("1") + m.W("2") + 8, m.H + 3}; }},
        // Its margin puts a floating bar's first button past 0: still no wrap.
        {"a lone floating button never wraps", "1", tbvoFloating, [](const Metrics&) { return 3; },
         [](const Metrics& m) { return std::vector<RECT>{R(4, 2, m.W("1"), m.H)}; },
         [](const Metrics& m) { return SIZE{m.W("1") + 8, m.H + 3}; }},
        {"an empty toolbar", "", tbvoHorizontal, [](const Metrics&) { return 0; },
         [](const Metrics&) { return std::vector<RECT>{}; }, [](const Metrics&) { return SIZE{23, 22}; }},
        {"only separators", "| |", tbvoFloating, [](const Metrics&) { return 0; },
         [](const Metrics&) { return std::vector<RECT>{Hidden, Hidden}; },
         [](const Metrics&) { return SIZE{23, 22}; }},
    };
    for (const Case& c : cases) {
        Bar bar(c.pattern, c.rotated);
        TTBLayoutResult r = bar.View->ComputePositions(true, c.orientation, c.wrap(metrics), 0, 12);
        EXPECT_EQ(Texts(c.expected(metrics)), bar.Rects()) << c.what;
        const SIZE total = c.total(metrics);
        EXPECT_EQ(RectText(R(0, 0, total.cx, total.cy)), RectText(R(0, 0, r.TotalSize.cx, r.TotalSize.cy))) << c.what;
        // Only a truly empty row reports the size of an empty bar.
        if (bar.View->ViewerCount() == 0 || c.pattern == std::string("| |")) {
            EXPECT_EQ(RectText(R(0, 0, 23, 22)), RectText(R(0, 0, r.BaseSize.cx, r.BaseSize.cy))) << c.what;
        }
    }
}

TEST(ViewLayout, ARenameMovesTheFollowingButtonsInOneRelayoutAndABatchIsOneRelayout)
{
    const Metrics m;
    Bar bar("1 | 2 | 3");
    bar.View->UpdatePositions();
    const RECT third = bar.View->Viewers(4)->BoundsRect();
    const int before = bar.View->Relayouts;
    bar.Root.Items(0)->SetCaption("1111");
    EXPECT_EQ(before + 1, bar.View->Relayouts);
    EXPECT_EQ(third.left + m.W("1111") - m.W("1"), bar.View->Viewers(4)->BoundsRect().left);
    // A repaint-only change lays out nothing.
    bar.Root.Items(2)->SetEnabled(false);
    EXPECT_EQ(before + 1, bar.View->Relayouts);
    // Moving is a batch of a removal and an insertion: one relayout at its end.
    bar.Root.Move(0, 4);
    EXPECT_EQ(before + 2, bar.View->Relayouts);
    EXPECT_EQ(bar.Root.Items(0), bar.View->Viewers(0)->Item());
    EXPECT_EQ(bar.Root.Items(4), bar.View->Viewers(4)->Item());
    EXPECT_GT(bar.View->Viewers(4)->BoundsRect().left, 0);
    // Hiding every item leaves the size of an empty bar.
    for (int i = 0; i < bar.Root.Count(); ++i)
        bar.Root.Items(i)->SetVisible(false);
    EXPECT_EQ(23, bar.View->BaseSize().cx);
    EXPECT_EQ(22, bar.View->BaseSize().cy);
}

TEST(ViewLayout, ViewersFollowInsertionsAndRemovalsInChildOrder)
{
    Bar bar("1 2");
    auto* middle = new TTBItem(nullptr);
    middle->SetCaption("m");
    bar.Root.Insert(1, middle);
    auto* last = new TTBItem(nullptr);
    bar.Root.Add(last);
    ASSERT_EQ(4, bar.View->ViewerCount());
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(bar.Root.Items(i), bar.View->Viewers(i)->Item()) << i;
    delete middle;
    ASSERT_EQ(3, bar.View->ViewerCount());
    EXPECT_EQ(last, bar.View->Viewers(2)->Item());
    EXPECT_EQ(nullptr, bar.View->Find(middle));
}

} // namespace

namespace {

// The bar's settings as the window's layout and the settings store reach
// them: published properties, and MenuBar's side effects only outside loading.
TEST(ToolbarSettings, PublishedOptionsReachEveryItemAndMenuBarBringsItsSettingsOnlyOutsideLoading)
{
    for (bool loading : {false, true}) {
        TComponent owner(nullptr);
        if (loading)
            owner.BeginLoading();
        auto* bar = new TTBToolbar(&owner);
        auto* item = new TTBItem(&owner);
        bar->Items()->Add(item);
        const TClassInfo& cls = bar->ClassType();
        SetOrdProp(bar, *cls.FindProperty("options"), OptionBit(tboNoRotation));
        EXPECT_TRUE(item->HasEffectiveOption(tboNoRotation)) << loading;
        SetOrdProp(bar, *cls.FindProperty("MenuBar"), 1);
        EXPECT_EQ(!loading, bar->FullSize()) << loading;
        EXPECT_EQ(loading ? tbsmChevron : tbsmWrap, bar->ShrinkMode()) << loading;
        EXPECT_EQ(loading, bar->CloseButton()) << loading;
        EXPECT_EQ(!loading, bar->ProcessShortCuts()) << loading;
        for (const char* name : {"BorderStyle", "DockMode", "DragHandleStyle", "SystemFont", "FullSize"})
            EXPECT_NE(nullptr, cls.FindProperty(name)) << name;
        if (loading)
            owner.EndLoading();
    }
}

} // namespace
