#include "toolbar/items/TBViewPositions.h"
#include "toolbar/items/TBControlItemViewer.h"
#include "toolbar/items/TBDrawing.h"
#include "toolbar/items/TBItemViewer.h"
#include "toolbar/items/TBViewLayout.h"
#include "toolkit/Controls.h"

#include <algorithm>

TTBViewPositions::TTBViewPositions(TTBView& view)
    : FView(view), FViewers(view.FViewers), FChevronItem(view.FChevronItem), FUsePriorityList(view.FUsePriorityList),
      FPriorityList(view.FPriorityList), FIsToolbar(view.FIsToolbar)
{
}

// Which viewers are shown: no chevron, no group item itself, none off the
// edge, and no separator at the start, after another one or at the end.
std::vector<bool> TTBViewPositions::ShownViewers(const std::vector<bool>& offEdge) const
{
    const size_t n = FViewers.size();
    std::vector<bool> shown(n, false);
    bool lastShownIsSeparator = true;
    for (size_t i = 0; i < n; ++i) {
        TTBCustomItem* item = FViewers[i]->Item();
        if (item == FChevronItem || item->HasStyle(TTBItemStyleFlag::EmbeddedGroup) || !item->Visible() || offEdge[i])
            continue;
        // A hidden control leaves no gap among the items.
        if (auto* c = dynamic_cast<const TTBControlItemViewer*>(FViewers[i].get()); c && c->Control() &&
                                                                                    !c->Control()->Visible())
            continue;
        const bool separator = item->HasStyle(TTBItemStyleFlag::IsSeparator);
        if (separator && lastShownIsSeparator)
            continue;
        shown[i] = true;
        lastShownIsSeparator = separator;
    }
    for (size_t i = n; i-- > 0;) {
        if (!shown[i])
            continue;
        if (!FViewers[i]->Item()->HasStyle(TTBItemStyleFlag::IsSeparator))
            break;
        shown[i] = false;
    }
    return shown;
}

// A row longer than the chevron offset sends items off the edge until the
// rest and the chevron fit: the last of the priority list first (without
// one, the last of the row). Separators left at an edge or doubled go too.
std::vector<bool> TTBViewPositions::OffEdgeViewers(const std::vector<bool>& shown, const std::vector<int>& mains,
                                                   int room) const
{
    const size_t n = FViewers.size();
    std::vector<bool> offEdge(n, false);
    auto length = [&](const std::vector<bool>& on) {
        int sum = 0;
        for (size_t i = 0; i < n; ++i)
            if (on[i])
                sum += mains[i];
        return sum;
    };
    if (length(shown) <= room)
        return offEdge;
    std::vector<size_t> order;
    auto indexOf = [&](const TTBItemViewer* v) {
        for (size_t i = 0; i < n; ++i)
            if (FViewers[i].get() == v)
                return i;
        return n;
    };
    if (FUsePriorityList) {
        for (auto it = FPriorityList.rbegin(); it != FPriorityList.rend(); ++it)
            order.push_back(indexOf(*it));
    } else {
        for (size_t i = n; i-- > 0;)
            order.push_back(i);
    }
    std::vector<bool> now = shown;
    for (size_t i : order) {
        if (i >= n || !now[i] || FViewers[i]->Item()->HasStyle(TTBItemStyleFlag::IsSeparator))
            continue;
        offEdge[i] = true;
        now = ShownViewers(offEdge);
        if (length(now) <= room)
            break;
    }
    // A separator that no longer shows because its neighbours went is off the edge too.
    for (size_t i = 0; i < n; ++i)
        if (shown[i] && !now[i])
            offEdge[i] = true;
    return offEdge;
}

TTBLayoutResult TTBViewPositions::Run(bool canMove, TTBViewOrientation orientation, int wrapOffset,
                                    int chevronOffset, int chevronSize, SIZE startTotal)
{
    const HDC dc = TextMeasuringDC();
    SelectScope font(dc, FView.GetFont());

    const size_t n = FViewers.size();
    const std::vector<bool> shown = ShownViewers(std::vector<bool>(n, false));
    std::vector<SIZE> sizes(n, SIZE{0, 0});
    int sameWidth = 0;
    for (size_t i = 0; i < n; ++i) {
        if (!shown[i])
            continue;
        TTBItemViewer* v = FViewers[i].get();
        // An item whose viewer no longer suits it gets a new one; a pass
        // that only measures asks a temporary one and keeps the old.
        std::unique_ptr<TTBItemViewer> temporary;
        if (v->Item()->NeedToRecreateViewer(v)) {
            if (canMove) {
                FView.RecreateViewer(i);
                v = FViewers[i].get();
            } else {
                temporary.reset(v->Item()->GetItemViewerClass(&FView)(&FView, v->Item(), v->GroupLevel()));
                v = temporary.get();
            }
        }
        if (v->Item()->HasEffectiveOption(tboDefault)) {
            FontHandle bold = MakeBoldFont(FView.GetFont());
            SelectScope boldScope(dc, bold.Get());
            sizes[i] = v->Measure(dc);
        } else {
            sizes[i] = v->Measure(dc);
        }
        if (v->UsesSameWidth())
            sameWidth = std::max(sameWidth, static_cast<int>(sizes[i].cx));
    }
    for (size_t i = 0; i < n; ++i)
        if (shown[i] && FViewers[i]->UsesSameWidth())
            sizes[i].cx = sameWidth;

    // Chevron mode: a row that does not wrap and is longer than the chevron
    // offset ends in the chevron, and what does not fit before it goes.
    const bool vertical = orientation == tbvoVertical;
    const int margins = orientation == tbvoFloating ? 8 : 0;
    TTBItemViewer* chevron = FChevronItem ? FView.Find(FChevronItem) : nullptr;
    std::vector<bool> offEdge(n, false);
    bool chevronShown = false;
    if (chevron && chevronOffset > 0 && wrapOffset <= 0) {
        std::vector<int> mains(n, 0);
        int full = margins;
        for (size_t i = 0; i < n; ++i) {
            mains[i] = vertical ? sizes[i].cy : sizes[i].cx;
            if (shown[i])
                full += mains[i];
        }
        if (full > chevronOffset) {
            chevronShown = true;
            offEdge = OffEdgeViewers(shown, mains, chevronOffset - chevronSize - margins);
        }
    }

    std::vector<TTBViewLayout::Entry> entries;
    std::vector<size_t> order;
    for (size_t i = 0; i < n; ++i) {
        const bool chevronHere = chevronShown && FViewers[i].get() == chevron;
        if (!shown[i] && !chevronHere)
            continue;
        TTBCustomItem* item = FViewers[i]->Item();
        TTBViewLayout::Entry e;
        e.Size = chevronHere ? (vertical ? SIZE{0, chevronSize} : SIZE{chevronSize, 0}) : sizes[i];
        e.Separator = item->HasStyle(TTBItemStyleFlag::IsSeparator);
        e.NoLineBreak = item->HasStyle(TTBItemStyleFlag::NoLineBreak);
        e.AlignRight = item->HasStyle(TTBItemStyleFlag::AlignRight);
        e.OffEdge = offEdge[i];
        e.Chevron = chevronHere;
        entries.push_back(e);
        order.push_back(i);
    }

    TTBViewLayout layout(orientation, wrapOffset, FIsToolbar, chevronShown ? chevronOffset : 0);
    layout.Run(entries, startTotal);

    TTBLayoutResult result;
    result.TotalSize = layout.TotalSize();
    result.BaseSize = layout.BaseSize();
    result.RowCount = layout.RowCount();
    if (!canMove)
        return result;
    std::vector<TTBViewLayout::Placed> placed(n);
    std::vector<bool> showNow(n, false);
    for (size_t k = 0; k < order.size(); ++k) {
        if (entries[k].OffEdge)
            continue;
        placed[order[k]] = layout.Placements()[k];
        showNow[order[k]] = true;
    }
    for (size_t i = 0; i < n; ++i) {
        TTBItemViewer* v = FViewers[i].get();
        RECT r = showNow[i] ? placed[i].Rect : RECT{0, 0, 0, 0};
        if (!EqualRect(&r, &v->FBoundsRect) || v->FShow != showNow[i] ||
            v->FLineSeparator != placed[i].LineSeparator || v->FOffEdge != offEdge[i])
            result.Moved = true;
        v->FBoundsRect = r;
        v->FShow = showNow[i];
        v->FLineSeparator = placed[i].LineSeparator;
        v->FOffEdge = offEdge[i];
        v->FClipped = false;
        if (auto* control = dynamic_cast<TTBControlItemViewer*>(v))
            control->PlaceControl();
    }
    return result;
}
