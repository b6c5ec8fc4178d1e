// A view's chevron (what goes off the edge, where the chevron sits, how it
// looks), viewers that an item wants recreated, and control items.
#include "tests/toolbar/items/ViewTesting.h"
#include "toolbar/items/TBControlItem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

using namespace view_testing;

namespace {

// A toolbar view that ends with a chevron, as a toolbar's does.
class ChevronView : public CountingView {
public:
    ChevronView(TTBCustomItem* root, TFont* font, TTBChevronItem* chevron) : CountingView(root, font)
    {
        SetChevronItem(chevron);
    }
};

struct ChevronCase {
    const char* what;
    TTBViewOrientation orientation;
    std::function<int(const Metrics&)> offset;
    int clickFirst; // the viewer clicked before the layout, or -1
    // Per item "off-edge" or its rectangle; the chevron's last ("hidden" while all fit).
    std::function<std::vector<std::string>(const Metrics&)> expected;
    std::function<SIZE(const Metrics&)> total;
};

TEST(ViewLayout, ChevronModeSendsWhatDoesNotFitOffTheEdgeAndEndsTheRowInTheChevron)
{
    const Metrics metrics;
    auto full = [](const Metrics& m) { return m.W("1") + 6 + m.W("2") + 6 + m.W("3"); };
    const std::string off = "off-edge", hidden = "hidden";
    const ChevronCase cases[] = {
        {"all fit: no chevron", tbvoHorizontal, full, -1,
         [&](const Metrics& m) {
             return std::vector<std::string>{RectText(R(0, 0, m.W("1"), m.H)), RectText(R(m.W("1"), 0, 6, m.H)),
                                             RectText(R(m.W("1") + 6, 0, m.W("2"), m.H)),
                                             RectText(R(m.W("1") + 6 + m.W("2"), 0, 6, m.H)),
                                             RectText(R(m.W("1") + 12 + m.W("2"), 0, m.W("3"), m.H)), hidden};
         },
         [&](const Metrics& m) { return SIZE{full(m), m.H}; }},
        {"one pixel short: the last button and its separator go", tbvoHorizontal,
         [&](const Metrics& m) { return full(m) - 1; }, -1,
         [&](const Metrics& m) {
             return std::vector<std::string>{RectText(R(0, 0, m.W("1"), m.H)), RectText(R(m.W("1"), 0, 6, m.H)),
                                             RectText(R(m.W("1") + 6, 0, m.W("2"), m.H)), off, off,
                                             RectText(R(full(m) - 13, 0, 12, m.H))};
         },
         [&](const Metrics& m) { return SIZE{full(m) - 1, m.H}; }},
        {"room for one button", tbvoHorizontal, [](const Metrics& m) { return m.W("1") + 12; }, -1,
         [](const Metrics& m) {
             return std::vector<std::string>{RectText(R(0, 0, m.W("1"), m.H)), "off-edge", "off-edge", "off-edge",
                                             "off-edge", RectText(R(m.W("1"), 0, 12, m.H))};
         },
         [](const Metrics& m) { return SIZE{m.W("1") + 12, m.H}; }},
        {"a clicked button is kept longest", tbvoHorizontal,
         [](const Metrics& m) { return std::max(m.W("1"), m.W("3")) + 12; }, 4,
         [](const Metrics& m) {
             const int room = std::max(m.W("1"), m.W("3"));
             return std::vector<std::string>{"off-edge", "off-edge", "off-edge", "off-edge",
                                             RectText(R(0, 0, m.W("3"), m.H)), RectText(R(room, 0, 12, m.H))};
         },
         [](const Metrics& m) { return SIZE{std::max(m.W("1"), m.W("3")) + 12, m.H}; }},
        {"no room at all: only the chevron", tbvoHorizontal, [](const Metrics&) { return 5; }, -1,
         [](const Metrics& m) {
             return std::vector<std::string>{"off-edge", "off-edge", "off-edge", "off-edge", "off-edge",
                                             RectText(R(0, 0, 12, m.H))};
         },
         [](const Metrics& m) { return SIZE{12, m.H}; }},
        {"a column: the chevron below, as wide as the widest button", tbvoVertical,
         [](const Metrics& m) { return 2 * m.H + 6 + 12; }, -1,
         [](const Metrics& m) {
             const int cw = std::max({m.W("1"), m.W("2"), m.W("3")});
             auto centred = [&](int w, int y) { return RectText(R(cw - ((cw - w) / 2 + w), y, w, m.H)); };
             return std::vector<std::string>{centred(m.W("1"), 0), RectText(R(0, m.H, cw, 6)),
                                             centred(m.W("2"), m.H + 6), "off-edge", "off-edge",
                                             RectText(R(0, 2 * m.H + 6, cw, 12))};
         },
         [](const Metrics& m) { return SIZE{std::max({m.W("1"), m.W("2"), m.W("3")}), 2 * m.H + 18}; }},
    };
    for (const ChevronCase& c : cases) {
        Bar bar("1 | 2 | 3");
        TTBChevronItem chevronItem(nullptr, nullptr);
        ChevronView view(&bar.Root, &bar.Font, &chevronItem);
        if (c.clickFirst >= 0)
            view.SetPendingClick(view.Viewers(c.clickFirst));
        const TTBLayoutResult r = view.ComputePositions(true, c.orientation, 0, c.offset(metrics), 12);
        std::vector<std::string> got;
        for (int i = 0; i < view.ViewerCount(); ++i) {
            const TTBItemViewer* v = view.Viewers(i);
            got.push_back(v->OffEdge() ? off : v->Show() ? RectText(v->BoundsRect()) : hidden);
            EXPECT_FALSE(v->OffEdge() && v->Show()) << c.what << " " << i;
        }
        EXPECT_EQ(c.expected(metrics), got) << c.what;
        const SIZE total = c.total(metrics);
        EXPECT_EQ(RectText(R(0, 0, total.cx, total.cy)), RectText(R(0, 0, r.TotalSize.cx, r.TotalSize.cy))) << c.what;
        // The base size stays that of the whole row, so a dock knows the full length.
        EXPECT_EQ(c.orientation == tbvoVertical ? 3 * metrics.H + 12 : full(metrics),
                  c.orientation == tbvoVertical ? r.BaseSize.cy : r.BaseSize.cx)
            << c.what;
        // Wrapping, when asked for, wins over the chevron.
        view.ComputePositions(true, c.orientation, c.offset(metrics), c.offset(metrics), 12);
        EXPECT_FALSE(view.Viewers(5)->Show()) << c.what;
        EXPECT_FALSE(view.Viewers(4)->OffEdge()) << c.what;
    }
}

// The chevron's face on a bitmap: its double arrow (turned in a column),
// the frame of a hot one, the pushed offset and the embossed disabled look.
TEST(ViewLayout, TheChevronPaintsItsArrowFramedWhenHotOffsetWhenPushedAndEmbossedWhenDisabled)
{
    Bar bar("1");
    TTBChevronItem chevronItem(nullptr, nullptr);
    ChevronView view(&bar.Root, &bar.Font, &chevronItem);
    TTBItemViewer* chevron = view.Viewers(1);
    const COLORREF text = ColorToRGB(clBtnText), face = ColorToRGB(clBtnFace),
                   light = ColorToRGB(clBtnHighlight), shadow = ColorToRGB(clBtnShadow);
    const struct {
        const char* what;
        TTBViewOrientation orientation;
        bool selected, pushed, enabled;
        RECT glyph; // the box of the arrow's pixels (text colour, or shadow when disabled)
        COLORREF corner;
    } cases[] = {
        {"plain", tbvoHorizontal, false, false, true, R(2, 3, 7, 5), face},
        {"hot: raised frame", tbvoHorizontal, true, false, true, R(2, 3, 7, 5), light},
        {"pushed: sunken and one pixel on", tbvoHorizontal, true, true, true, R(3, 4, 7, 5), shadow},
        {"disabled: embossed, never framed", tbvoHorizontal, true, false, false, R(2, 3, 7, 5), face},
        {"turned in a column", tbvoVertical, false, false, true, R(9, 2, 5, 7), face},
    };
    for (const auto& c : cases) {
        const SIZE size = c.orientation == tbvoVertical ? SIZE{22, 12} : SIZE{12, 22};
        WindowDC screen(nullptr);
        MemoryDC dc(screen.Get());
        BitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), size.cx, size.cy));
        SelectScope select(dc.Get(), bitmap.Get());
        RECT all{0, 0, size.cx, size.cy};
        BrushHandle brush(CreateSolidBrush(face));
        FillRect(dc.Get(), &all, brush.Get());
        chevronItem.SetEnabled(c.enabled);
        view.SetOrientation(c.orientation);
        chevron->Paint(dc.Get(), all, c.selected, c.pushed, !c.enabled);
        const COLORREF arrow = c.enabled ? text : shadow;
        RECT box{size.cx, size.cy, 0, 0};
        bool anyText = false, anyLight = false;
        for (int y = 1; y < size.cy - 1; ++y)
            for (int x = 1; x < size.cx - 1; ++x) {
                const COLORREF p = GetPixel(dc.Get(), x, y);
                anyText |= p == text;
                anyLight |= p == light;
                if (p == arrow) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
            }
        EXPECT_EQ(RectText(c.glyph), RectText(box)) << c.what;
        EXPECT_EQ(c.corner, GetPixel(dc.Get(), 0, 0)) << c.what;
        if (!c.enabled) {
            EXPECT_FALSE(anyText) << c.what;
            EXPECT_TRUE(anyLight) << c.what;
        }
    }
}

// An item that wants a viewer of another class once it is made big.
class BigViewer : public TTBItemViewer {
public:
    using TTBItemViewer::TTBItemViewer;
    static TTBItemViewer* Create(TTBView* view, TTBCustomItem* item, int level) { return new BigViewer(view, item, level); }
    SIZE Measure(HDC) override { return SIZE{50, 40}; }
};
class GrowingItem : public TTBItem {
public:
    using TTBItem::TTBItem;
    bool Big = false;
    TTBItemViewerClass GetItemViewerClass(TTBView* view) const override
    {
        return Big ? &BigViewer::Create : TTBItem::GetItemViewerClass(view);
    }
    bool NeedToRecreateViewer(const TTBItemViewer* viewer) const override
    {
        return Big != (dynamic_cast<const BigViewer*>(viewer) != nullptr);
    }
};

TEST(ViewLayout, AViewerThatNoLongerSuitsItsItemIsRecreatedByALayoutThatMovesAndOnlyBorrowedByOneThatMeasures)
{
    const Metrics m;
    Bar bar("2");
    auto* item = new GrowingItem(nullptr);
    item->SetCaption("1");
    bar.Root.Insert(0, item);
    bar.View->UpdatePositions();
    TTBItemViewer* old = bar.View->Viewers(0);
    bar.View->SelectViewer(old, true);
    item->Big = true;
    const TTBLayoutResult measured = bar.View->ComputePositions(false, tbvoHorizontal, 0, 0, 12);
    EXPECT_EQ(50 + m.W("2"), measured.TotalSize.cx);
    EXPECT_EQ(old, bar.View->Viewers(0));
    EXPECT_EQ(RectText(R(0, 0, m.W("1"), m.H)), RectText(old->BoundsRect()));
    bar.View->ComputePositions(true, tbvoHorizontal, 0, 0, 12);
    TTBItemViewer* fresh = bar.View->Viewers(0);
    EXPECT_NE(nullptr, dynamic_cast<BigViewer*>(fresh));
    EXPECT_EQ(RectText(R(0, 0, 50, 40)), RectText(fresh->BoundsRect()));
    EXPECT_EQ(RectText(R(50, (40 - m.H) / 2, m.W("2"), m.H)), RectText(bar.View->Viewers(1)->BoundsRect()));
    EXPECT_EQ(fresh, bar.View->Selected());
    const auto& priority = bar.View->PriorityList();
    EXPECT_EQ(1, std::count(priority.begin(), priority.end(), fresh));
    EXPECT_EQ(0, std::count(priority.begin(), priority.end(), old));
}

// A control that tells when it is freed.
class WatchedControl : public TControl {
public:
    WatchedControl(bool* freed) : TControl(nullptr), FFreed(freed) { SetBounds(0, 0, 30, 10); }
    ~WatchedControl() override { *FFreed = true; }

private:
    bool* FFreed;
};

TEST(ViewLayout, AControlItemsControlFollowsItsRectangleGoesOutOfSightWhenHiddenAndIsFreedWithIt)
{
    const Metrics m;
    Bar bar("1 2");
    bool freed = false, keptFreed = false;
    auto* item = new TTBControlItem(nullptr);
    auto* control = new WatchedControl(&freed);
    item->SetControl(control);
    bar.Root.Insert(1, item);
    EXPECT_FALSE(item->HasStyle(TTBItemStyleFlag::Selectable));
    EXPECT_TRUE(item->HasStyle(TTBItemStyleFlag::ClickThrough));
    auto bounds = [](const TControl* c) { return RectText(R(c->Left(), c->Top(), c->Width(), c->Height())); };
    const struct {
        const char* what;
        std::function<void()> change;
        std::string control, next;
    } steps[] = {
        {"placed after the first button, centred", [] {}, RectText(R(m.W("1"), (m.H - 10) / 2, 30, 10)),
         RectText(R(m.W("1") + 30, 0, m.W("2"), m.H))},
        {"hidden: out of sight", [&] { item->SetVisible(false); }, RectText(R(-31, -11, 30, 10)),
         RectText(R(m.W("1"), 0, m.W("2"), m.H))},
        {"shown again", [&] { item->SetVisible(true); }, RectText(R(m.W("1"), (m.H - 10) / 2, 30, 10)),
         RectText(R(m.W("1") + 30, 0, m.W("2"), m.H))},
    };
    for (const auto& step : steps) {
        step.change();
        bar.View->ValidatePositions();
        EXPECT_EQ(step.control, bounds(control)) << step.what;
        EXPECT_EQ(step.next, RectText(bar.View->Viewers(2)->BoundsRect())) << step.what;
    }
    // The item frees its control unless told not to; a control freed on
    // its own leaves the item empty.
    delete item;
    EXPECT_TRUE(freed);
    EXPECT_EQ(2, bar.View->ViewerCount());
    auto* keeping = new TTBControlItem(nullptr);
    auto* kept = new WatchedControl(&keptFreed);
    keeping->SetControl(kept);
    keeping->SetDontFreeControl(true);
    delete keeping;
    EXPECT_FALSE(keptFreed);
    auto* emptied = new TTBControlItem(nullptr);
    emptied->SetControl(kept);
    delete kept;
    EXPECT_TRUE(keptFreed);
    EXPECT_EQ(nullptr, emptied->Control());
    delete emptied;
}

} // namespace
