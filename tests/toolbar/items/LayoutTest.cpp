// The view's layout: rectangles of items in rows and columns for a known
// font, wrapping at separators, and one relayout per change or batch.
#include "tests/support/TestSupport.h"
#include "toolbar/items/TBControlItem.h"
#include "toolbar/items/TBDrawing.h"
#include "toolbar/items/TBToolbar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string RectText(const RECT& r)
{
    char text[64];
    std::snprintf(text, sizeof text, "(%ld,%ld %ldx%ld)", static_cast<long>(r.left), static_cast<long>(r.top),
                  static_cast<long>(r.right - r.left), static_cast<long>(r.bottom - r.top));
    return text;
}
RECT R(int x, int y, int w, int h) { return RECT{x, y, x + w, y + h}; }

// A toolbar view without a window, measuring with a font of our choosing
// and counting its relayouts.
class CountingView : public TTBView {
public:
    CountingView(TTBCustomItem* root, TFont* font)
        : TTBView(nullptr, nullptr, root, nullptr, true, false, true), FFont(font)
    {
    }
    HFONT GetFont() const override { return FFont->Handle(); }
    int Relayouts = 0;

protected:
    void AutoSize(SIZE) override { ++Relayouts; }

private:
    TFont* FFont;
};

// Items from a pattern: "|" a separator, "_" an empty caption, else a caption.
struct Bar {
    explicit Bar(const std::string& pattern, bool rotated = false)
    {
        if (!rotated)
            Root.SetOptions(OptionBit(tboNoRotation));
        std::istringstream in(pattern);
        std::string token;
        while (in >> token) {
            TTBCustomItem* item = token == "|" ? static_cast<TTBCustomItem*>(new TTBSeparatorItem(nullptr))
                                               : new TTBItem(nullptr);
            if (token != "|")
                item->SetCaption(token == "_" ? "" : token);
            Root.Add(item);
        }
        View = std::make_unique<CountingView>(&Root, &Font);
    }
    // Each viewer's rectangle, "hidden" for those not shown.
    std::vector<std::string> Rects() const
    {
        std::vector<std::string> out;
        for (int i = 0; i < View->ViewerCount(); ++i) {
            TTBItemViewer* v = View->Viewers(i);
            if (v->Item() != &Root)
                out.push_back(v->Show() ? RectText(v->BoundsRect()) : "hidden");
        }
        return out;
    }
    TFont Font;
    TTBRootItem Root{nullptr};
    std::unique_ptr<CountingView> View;
};

// What a button measures with the test font: text width + 12 by height + 6.
struct Metrics {
    Metrics() : DC(Screen.Get()), Select(DC.Get(), Font.Handle())
    {
        TEXTMETRICA tm;
        GetTextMetricsA(DC.Get(), &tm);
        H = tm.tmHeight + 6;
    }
    int W(const std::string& caption) const { return CaptionTextWidth(DC.Get(), caption) + 12; }
    TFont Font;
    WindowDC Screen{nullptr};
    MemoryDC DC;
    SelectScope Select;
    int H = 0;
};

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
