#include "toolbar/items/TBViewLayout.h"

#include <algorithm>

TTBViewLayout::TTBViewLayout(TTBViewOrientation orientation, int wrapOffset, bool isToolbar, int chevronOffset)
    : FOrientation(orientation), FVertical(orientation == tbvoVertical), FWrapOffset(wrapOffset),
      FIsToolbar(isToolbar), FChevronEnd(chevronOffset)
{
    // A floating bar keeps a small margin inside its frame.
    if (orientation == tbvoFloating) {
        FMainStart = 4;
        FCrossStart = 2;
        FMainEnd = 4;
        FCrossEnd = 1;
    }
    if (FWrapOffset > 0)
        FWrapOffset = std::max(1, FWrapOffset - FMainEnd);
    if (FChevronEnd > 0)
        FChevronEnd -= FMainEnd;
}

void TTBViewLayout::Run(const std::vector<Entry>& entries, SIZE startTotal)
{
    FEntries = &entries;
    const size_t n = entries.size();
    FPlaced.assign(n, Placed{});
    int baseMain = 0, baseCross = 0;
    for (const Entry& e : entries) {
        if (e.Chevron)
            continue;
        baseMain += Main(e.Size);
        baseCross = std::max(baseCross, Cross(e.Size));
    }
    FBaseCross = baseCross;
    FTotalMain = Main(startTotal);
    FTotalCross = Cross(startTotal);
    FRows = n ? 1 : 0;

    int pos = FMainStart, rowCross = FCrossStart, thickness = 0;
    size_t rowFirst = 0;
    for (size_t k = 0; k < n; ++k) {
        const Entry& e = entries[k];
        if (e.OffEdge)
            continue;
        const int main = Main(e.Size), cross = CrossOf(e);
        if (e.Chevron)
            pos = std::max(pos, FChevronEnd - main);
        // Only an item that is not first on its row can move to the next.
        if (FWrapOffset > 0 && pos > FMainStart) {
            const int end = pos + main;
            if (e.Separator && RowBreakAt(k, end)) {
                ++FRows;
                FinishRow(rowFirst, k, rowCross, thickness, false);
                const int below = rowCross + thickness;
                FPlaced[k].Rect = RECT{FMainStart, below, FMainStart, below + LineSeparatorThickness};
                FPlaced[k].LineSeparator = true;
                FTotalCross = std::max(FTotalCross, below + LineSeparatorThickness);
                rowCross = below + LineSeparatorThickness;
                pos = FMainStart;
                thickness = 0;
                rowFirst = k + 1;
                FWrappedSinceBreak = false;
                continue;
            }
            if (end > FWrapOffset) {
                ++FRows;
                FAnyWrapped = FWrappedSinceBreak = true;
                FinishRow(rowFirst, k, rowCross, thickness, false);
                rowCross += thickness;
                pos = FMainStart;
                thickness = 0;
                rowFirst = k;
            }
        }
        RECT& r = FPlaced[k].Rect;
        r = RECT{std::max(0, pos), std::max(0, rowCross), std::max(0, pos + main), std::max(0, rowCross + cross)};
        pos += main;
        thickness = std::max(thickness, cross);
        FTotalMain = std::max(FTotalMain, static_cast<int>(r.right));
        FTotalCross = std::max(FTotalCross, static_cast<int>(r.bottom));
    }
    if (n)
        FinishRow(rowFirst, n, rowCross, thickness, true);
    FTotalMain += FMainEnd;
    FTotalCross += FCrossEnd;
    FBase = FVertical ? SIZE{baseCross, baseMain} : SIZE{baseMain, baseCross};
    ToWindowSpace();
    if (FBase.cx == 0 || FBase.cy == 0) {
        FBase = EmptySize;
        FTotal.cx = std::max(FTotal.cx, EmptySize.cx);
        FTotal.cy = std::max(FTotal.cy, EmptySize.cy);
    }
}

// A separator breaks the row when a row has wrapped since the last break,
// or when it and the items up to the next separator no longer fit.
bool TTBViewLayout::RowBreakAt(size_t k, int end) const
{
    const std::vector<Entry>& entries = *FEntries;
    if (FWrappedSinceBreak && !entries[k].NoLineBreak)
        return true;
    int reach = end;
    for (size_t m = k + 1; m < entries.size() && !entries[m].Separator; ++m)
        if (!entries[m].OffEdge)
            reach += Main(entries[m].Size);
    return reach > FWrapOffset;
}

void TTBViewLayout::FinishRow(size_t first, size_t end, int rowCross, int thickness, bool lastRow)
{
    const std::vector<Entry>& entries = *FEntries;
    if (FAnyWrapped)
        FTotalMain = std::max(FTotalMain, FWrapOffset);
    if (FIsToolbar) {
        // A single row fills the whole thickness it was given (a dock row).
        if (lastRow && FRows == 1 && FOrientation != tbvoFloating)
            thickness = std::max(thickness, FTotalCross - rowCross);
        for (size_t k = first; k < end; ++k) {
            if (entries[k].OffEdge)
                continue;
            RECT& r = FPlaced[k].Rect;
            const int cross = entries[k].Separator || entries[k].Chevron ? thickness : CrossOf(entries[k]);
            r.top = rowCross + (thickness - cross) / 2;
            r.bottom = r.top + cross;
        }
    } else {
        for (size_t k = first; k < end; ++k)
            if (!entries[k].OffEdge)
                FPlaced[k].Rect.bottom = FPlaced[k].Rect.top + thickness;
    }
    // Items from the first right-aligned one on go to the row's end.
    size_t last = end;
    while (last > first && entries[last - 1].OffEdge)
        --last;
    for (size_t k = first; k < last; ++k) {
        if (!entries[k].AlignRight || entries[k].OffEdge)
            continue;
        const int limit = FWrapOffset > 0 ? FWrapOffset : FTotalMain;
        const int shift = limit - static_cast<int>(FPlaced[last - 1].Rect.right);
        if (shift > 0)
            for (size_t j = k; j < last; ++j)
                if (!entries[j].OffEdge)
                    OffsetRect(&FPlaced[j].Rect, shift, 0);
        FTotalMain = std::max(FTotalMain, static_cast<int>(FPlaced[last - 1].Rect.right));
        break;
    }
}

void TTBViewLayout::ToWindowSpace()
{
    FTotal = FVertical ? SIZE{FTotalCross, FTotalMain} : SIZE{FTotalMain, FTotalCross};
    for (Placed& p : FPlaced) {
        RECT& r = p.Rect;
        if (FVertical) {
            // Columns stand right to left: the first one at the right edge.
            r = RECT{FTotal.cx - r.bottom, r.left, FTotal.cx - r.top, r.right};
        }
        if (FIsToolbar && p.LineSeparator) {
            if (FVertical) {
                r.top = 0;
                r.bottom = FTotal.cy;
            } else {
                r.left = 0;
                r.right = FTotal.cx;
            }
        }
    }
}
