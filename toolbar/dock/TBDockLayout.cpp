// The dock's row layout: which row each bar sits in, where along it and how
// long it is, then the bars' bounds and the dock's own thickness.
#include "toolbar/dock/TBDock.h"
#include "toolbar/dock/TBDockableWindow.h"

#include <algorithm>
#include <vector>

// The work of one LayoutRows run, one record per bar of the dock's list.
class TTBDockLayout {
public:
    explicit TTBDockLayout(TTBDock& dock) : FDock(dock) {}
    void Run();

private:
    struct Record {
        TTBCustomDockableWindow* Bar;
        int RequestedRow, Row, Position;
        int Gap = 0, FullLength = 0, MinLength = 0, Length = 0, Overlap = 0;
        TTBShrinkMode Mode = tbsmNone;
        bool Rearranged = false;
    };

    int Count() const { return static_cast<int>(FRecords.size()); }
    void SortBars();
    void GiveOwnRows();
    void CloseGaps();
    void LayOutRow(int r);
    int MeasureRow(int r, int avail, int& count);
    int TakeSpace(int r, int index, int target);
    void Commit();
    void Place();
    SIZE ArrangedSize(Record& rec);

    TTBDock& FDock;
    std::vector<Record> FRecords;
    int FDragIndex = -1;
    int FLastRow = -1;
};

namespace {

bool ByRowThenPos(const TTBCustomDockableWindow* a, const TTBCustomDockableWindow* b)
{
    if (a->DockRow() != b->DockRow())
        return a->DockRow() < b->DockRow();
    return a->DockPos() < b->DockPos();
}

// Runs on every way out of LayoutRows, errors included.
struct LayoutScope {
    TTBDock& Dock;
    int& Lock;
    bool& Pending;
    LayoutScope(TTBDock& dock, int& lock, bool& pending) : Dock(dock), Lock(lock), Pending(pending) { ++Lock; }
    ~LayoutScope()
    {
        --Lock;
        Pending = false;
        Dock.AdoptPlaces = false;
    }
};

// Raises a bar's size-notify lock and puts its shrunk length back afterwards.
struct PlaceScope {
    TTBCustomDockableWindow* Bar;
    int Kept;
    explicit PlaceScope(TTBCustomDockableWindow* bar) : Bar(bar), Kept(bar->ShrunkLength) { ++Bar->SizeNotifyLock; }
    ~PlaceScope()
    {
        Bar->ShrunkLength = Kept;
        --Bar->SizeNotifyLock;
    }
};

} // namespace

void TTBDock::LayoutRows()
{
    if (FLayoutLock > 0 || IsLoading()) {
        FLayoutPending = true;
        return;
    }
    if (IsDestroying())
        return;
    LayoutScope scope(*this, FLayoutLock, FLayoutPending);
    if (std::none_of(FBarList.begin(), FBarList.end(), [this](auto* bar) { return IsShownHere(bar); })) {
        ResizeAcross(FFixAlign ? 1 : 0);
        return;
    }
    TTBDockLayout(*this).Run();
}

void TTBDockLayout::Run()
{
    auto& bars = FDock.FBarList;
    for (int i = static_cast<int>(bars.size()) - 1; i >= 0; --i) {
        TTBCustomDockableWindow* bar = bars[static_cast<size_t>(i)];
        if (bar->IsDestroying()) {
            bars.erase(bars.begin() + i);
            auto& shown = FDock.FShownBars;
            shown.erase(std::remove(shown.begin(), shown.end(), bar), shown.end());
        }
    }
    if (FDock.LimitToOneRow())
        for (TTBCustomDockableWindow* bar : bars)
            if (bar->DockRow() != 0)
                bar->SetDockRow(0);
    SortBars();
    FLastRow = FDock.LastRow(false);
    for (Record& rec : FRecords) {
        rec.RequestedRow = rec.Bar->DockRow();
        rec.Row = FDock.IsShownHere(rec.Bar) ? rec.Bar->DockRow() : -1;
        rec.Position = rec.Bar->DockPos();
        rec.Mode = rec.Bar->EffectiveShrinkMode();
    }
    GiveOwnRows();
    CloseGaps();
    for (int r = 0; r <= FLastRow; ++r)
        LayOutRow(r);
    Commit();
    Place();
}

void TTBDockLayout::SortBars()
{
    std::vector<TTBCustomDockableWindow*> order = FDock.FBarList;
    auto before = std::find(order.begin(), order.end(), FDock.DragBar);
    int preSort = before == order.end() ? -1 : static_cast<int>(before - order.begin());
    std::stable_sort(order.begin(), order.end(), ByRowThenPos);
    if (preSort >= 0) {
        auto after = std::find(order.begin(), order.end(), FDock.DragBar);
        FDragIndex = static_cast<int>(after - order.begin());
        // A bar sliding along its row keeps its place in the order.
        if (FDock.SlideInRow) {
            order.erase(after);
            order.insert(order.begin() + preSort, FDock.DragBar);
            FDragIndex = preSort;
        }
    }
    std::stable_sort(FDock.FShownBars.begin(), FDock.FShownBars.end(), ByRowThenPos);
    for (TTBCustomDockableWindow* bar : order)
        FRecords.push_back(Record{bar, 0, -1, 0});
}

void TTBDockLayout::GiveOwnRows()
{
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 0 && FDock.LimitToOneRow())
            continue;
        for (int r = 0; r <= FLastRow; ++r) {
            for (int k = 0; k < Count(); ++k) {
                const Record& rec = FRecords[static_cast<size_t>(k)];
                bool qualifies = pass == 0 ? rec.Bar->WantsOwnRow : rec.Bar->FullSize();
                if (rec.RequestedRow != r || !qualifies)
                    continue;
                bool shared = false;
                for (int j = 0; j < Count(); ++j)
                    shared = shared || (j != k && FRecords[static_cast<size_t>(j)].RequestedRow == r);
                if (!shared)
                    continue;
                // The bar keeps row r alone; every other bar from there on moves one row down.
                for (int j = 0; j < Count(); ++j) {
                    if (j == k)
                        continue;
                    Record& other = FRecords[static_cast<size_t>(j)];
                    if (other.RequestedRow >= r)
                        ++other.RequestedRow;
                    if (other.Row >= r)
                        ++other.Row;
                }
                ++FLastRow;
            }
        }
    }
}

void TTBDockLayout::CloseGaps()
{
    // A row no bar asks for goes; one that holds only hidden bars stays.
    for (int r = 0; r <= FLastRow;) {
        bool used = std::any_of(FRecords.begin(), FRecords.end(), [r](const Record& rec) { return rec.RequestedRow == r; });
        if (used) {
            ++r;
            continue;
        }
        for (Record& rec : FRecords) {
            if (rec.RequestedRow > r)
                --rec.RequestedRow;
            if (rec.Row > r)
                --rec.Row;
        }
        --FLastRow;
    }
}

int TTBDockLayout::MeasureRow(int r, int avail, int& count)
{
    const bool vertical = FDock.Vertical();
    int total = 0, minTotal = 0;
    count = 0;
    for (int k = 0; k < Count(); ++k) {
        Record& rec = FRecords[static_cast<size_t>(k)];
        if (rec.Row != r)
            continue;
        SIZE content{0, 0};
        rec.Bar->GetContentSize(content);
        SIZE frame = rec.Bar->GetDockedFrameSize();
        rec.FullLength = vertical ? frame.cy + content.cy : frame.cx + content.cx;
        rec.Length = rec.FullLength;
        int minimum = 0;
        rec.Bar->GetMinimumLength(minimum);
        rec.MinLength = std::min(minimum, rec.FullLength);
        minTotal += rec.Mode == tbsmChevron ? rec.MinLength : rec.FullLength;
        if (count > 0 && minTotal > avail && !FDock.LimitToOneRow()) {
            // This bar and the ones after it in the row move to the next row.
            for (int j = k; j < Count(); ++j) {
                Record& later = FRecords[static_cast<size_t>(j)];
                if (later.RequestedRow >= r)
                    ++later.RequestedRow;
                if (later.Row >= r)
                    ++later.Row;
            }
            ++FLastRow;
            break;
        }
        total += rec.FullLength;
        ++count;
    }
    return total;
}

int TTBDockLayout::TakeSpace(int r, int index, int target)
{
    int need = -target;
    for (int k = 0; k <= index; ++k)
        if (FRecords[static_cast<size_t>(k)].Row == r)
            need += FRecords[static_cast<size_t>(k)].Gap + FRecords[static_cast<size_t>(k)].Length;
    int taken = 0;
    for (int k = index; k >= 0 && need > 0; --k) {
        Record& rec = FRecords[static_cast<size_t>(k)];
        if (rec.Row != r)
            continue;
        int take = std::min(rec.Gap, need);
        rec.Gap -= take;
        need -= take;
        taken += take;
    }
    return taken;
}

void TTBDockLayout::LayOutRow(int r)
{
    const int avail = FDock.AvailableLength();
    int count = 0;
    const int total = MeasureRow(r, avail, count);
    int excess = total - avail;
    std::vector<int> row;
    for (int k = 0; k < Count(); ++k)
        if (FRecords[static_cast<size_t>(k)].Row == r)
            row.push_back(k);
    if (row.empty())
        return;
    auto at = [this](int k) -> Record& { return FRecords[static_cast<size_t>(k)]; };
    const int d = FDragIndex;

    // Positions: each bar wants its DockPos; in an overflowing row a gap
    // is not kept but shifts the wanted positions of the bars after it.
    int pos = 0, prevEnd = 0, minSum = 0, shift = 0, dragWant = 0;
    for (int k : row) {
        Record& rec = at(k);
        int want = (pos == 0 && (rec.Bar->FullSize() || rec.Bar->Stretch())) ? 0 : rec.Bar->DockPos() + shift;
        if (k == d)
            dragWant = want;
        want = std::max(want, minSum);
        if (pos < want) {
            if (excess <= 0)
                rec.Gap = want - pos;
            else
                shift += want - pos;
            pos = want;
        } else if (want < prevEnd) {
            rec.Overlap = prevEnd - want;
        }
        pos += rec.Length;
        prevEnd = want + rec.Length;
        minSum += rec.MinLength;
    }

    // Room for the dragged bar: the gaps before it give way, the bar after it gets them.
    auto dragPos = std::find(row.begin(), row.end(), d);
    if (excess < 0 && dragPos != row.end() && dragPos != row.begin()) {
        int taken = TakeSpace(r, *(dragPos - 1), dragWant);
        if (taken > 0 && dragPos + 1 != row.end())
            at(*(dragPos + 1)).Gap += taken;
    }
    TakeSpace(r, row.back(), avail);

    if (excess > 0) {
        // Squeeze the chevron bars that a bar overlaps, nearest first.
        int acc = 0;
        for (size_t i = 0; i < row.size(); ++i) {
            Record& rec = at(row[i]);
            if (count > 1 && rec.Bar == FDock.DragBar)
                FDock.DragRowCrowded = true;
            acc = std::min(acc + rec.Overlap, excess);
            if (acc <= 0)
                continue;
            for (size_t j = i; j-- > 0;) {
                Record& before = at(row[j]);
                int take = before.Mode == tbsmChevron ? acc : 0;
                take = std::min(take, before.Length - before.MinLength);
                take = std::max(take, 0);
                before.Length -= take;
                excess -= take;
                acc -= take;
                if (acc <= 0 || row[j] == d)
                    break;
            }
        }
    }
    if (excess > 0) {
        // Shrink from the right: a wrapping bar only when alone in its row.
        for (size_t i = row.size(); i-- > 0 && excess > 0;) {
            Record& rec = at(row[i]);
            if (rec.Mode == tbsmNone || (rec.Mode == tbsmWrap && count >= 2))
                continue;
            int reduce = std::min(rec.Length - rec.MinLength, excess);
            if (reduce > 0) {
                rec.Length -= reduce;
                excess -= reduce;
            }
        }
    }

    pos = 0;
    for (size_t i = 0; i < row.size(); ++i) {
        Record& rec = at(row[i]);
        if (rec.Bar->FullSize() || rec.Bar->Stretch()) {
            rec.Length += rec.Gap;
            rec.Gap = 0;
        }
        pos += rec.Gap;
        if (rec.Bar->FullSize()) {
            rec.Length = std::max(rec.Length, avail);
        } else if (rec.Bar->Stretch()) {
            if (i + 1 < row.size()) {
                Record& next = at(row[i + 1]);
                rec.Length += next.Gap;
                next.Gap = 0;
            } else {
                rec.Length = std::max(rec.Length, avail - pos);
            }
        }
        rec.Position = pos;
        pos += rec.Length;
    }
}

void TTBDockLayout::Commit()
{
    for (int k = 0; k < Count(); ++k) {
        Record& rec = FRecords[static_cast<size_t>(k)];
        rec.Bar->PlacedRow = rec.RequestedRow;
        rec.Bar->PlacedPos = rec.Position;
        if (FDock.AdoptPlaces) {
            // Written to the fields the setters keep; the layout runs now anyway.
            rec.Bar->SetDockRow(rec.RequestedRow);
            rec.Bar->SetDockPos(rec.Position);
            FDock.FBarList[static_cast<size_t>(k)] = rec.Bar;
        }
    }
}

SIZE TTBDockLayout::ArrangedSize(Record& rec)
{
    TTBCustomDockableWindow* bar = rec.Bar;
    const int old = bar->ShrunkLength;
    bar->ShrunkLength = rec.Length >= rec.FullLength ? 0 : rec.Length;
    if (rec.Mode != tbsmNone && bar->ShrunkLength != old) {
        rec.Rearranged = true;
        return bar->ArrangeContents(false, TTBDock::PlacementOf(&FDock, false), false, &FDock);
    }
    if (rec.Mode == tbsmWrap && rec.Length < rec.FullLength) {
        SIZE frame = bar->GetDockedFrameSize();
        return SIZE{bar->Width() - frame.cx, bar->Height() - frame.cy};
    }
    SIZE content{0, 0};
    bar->GetContentSize(content);
    return content;
}

void TTBDockLayout::Place()
{
    const bool vertical = FDock.Vertical();
    int across = 0;
    for (int r = 0; r <= FLastRow; ++r) {
        int thick = 0;
        for (Record& rec : FRecords) {
            if (rec.Row != r)
                continue;
            SIZE size = ArrangedSize(rec);
            rec.Bar->CrossSize = vertical ? size.cx : size.cy;
            thick = std::max(thick, rec.Bar->CrossSize);
        }
        // The docked frame takes 2 pixels on each side across the dock.
        if (thick != 0)
            thick += 4;
        for (Record& rec : FRecords) {
            if (rec.Row != r)
                continue;
            PlaceScope scope(rec.Bar);
            if (rec.Rearranged)
                rec.Bar->SelfArrangePending = true;
            if (vertical)
                rec.Bar->SetBounds(across, rec.Position, thick, rec.Length);
            else
                rec.Bar->SetBounds(rec.Position, across, rec.Length, thick);
            if (rec.Bar->SelfArrangePending)
                rec.Bar->ArrangeSelf();
        }
        across += thick;
    }
    FDock.ResizeAcross(across);
}
