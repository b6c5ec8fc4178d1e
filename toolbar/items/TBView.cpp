#include "toolbar/items/TBView.h"
#include "toolbar/items/TBClickQueue.h"
#include "toolbar/items/TBDrawing.h"
#include "toolbar/items/TBItemViewer.h"
#include "toolbar/items/TBViewLayout.h"
#include "toolbar/items/TBViewerCanvas.h"
#include "toolkit/Controls.h"

#include <algorithm>

namespace {
// Embedded groups nested deeper than this show nothing more.
const int kMaxGroupDepth = 10;

// Puts a value back when the scope ends, also when it ends by an exception.
template <class T>
class Restore {
public:
    Restore(T& target, T value) : FTarget(target), FOld(target) { target = value; }
    ~Restore() { FTarget = FOld; }
    Restore(const Restore&) = delete;
    Restore& operator=(const Restore&) = delete;

private:
    T& FTarget;
    T FOld;
};
} // namespace

const TClassInfo& TTBView::StaticClass()
{
    return MakeClassInfo<TTBView>("TTBView", &TComponent::StaticClass(), [](auto&) {});
}

TTBView::TTBView(TComponent* owner, TTBView* parentView, TTBCustomItem* parentItem, TWinControl* window,
                 bool isToolbar, bool customizing, bool usePriorityList)
    : TComponent(owner), FParentView(parentView), FParentItem(parentItem), FWindow(window), FIsToolbar(isToolbar),
      FCustomizing(customizing), FUsePriorityList(usePriorityList)
{
    FParentItem->Subscribe(MakeMethod<&TTBView::ItemNotification>(this));
    FreeNotification(FParentItem);
    RecreateAllViewers();
}

TTBView::~TTBView()
{
    Destroying();
    FCapture.reset();
    if (FParentItem)
        FParentItem->Unsubscribe(MakeMethod<&TTBView::ItemNotification>(this));
    FSelected = nullptr;
    FPriorityList.clear();
    FViewers.clear();
}

void TTBView::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FParentItem) {
        FSelected = nullptr;
        FPriorityList.clear();
        FViewers.clear();
        FParentItem = nullptr;
    }
}

// ---------------------------------------------------------------- viewers

void TTBView::AddViewers(TTBCustomItem* parent, int depth, std::vector<std::unique_ptr<TTBItemViewer>>& into)
{
    if (depth > kMaxGroupDepth)
        return;
    TTBCustomItem* source = parent->ShownChildrenOwner();
    for (int i = 0; i < source->Count(); ++i) {
        TTBCustomItem* child = source->Items(i);
        into.emplace_back(child->GetItemViewerClass(this)(this, child, depth));
        if (child->HasStyle(TTBItemStyleFlag::EmbeddedGroup) && !FCustomizing)
            AddViewers(child, depth + 1, into);
    }
}

void TTBView::RecreateAllViewers()
{
    InvalidatePositions();
    FSelected = nullptr;
    FPriorityList.clear();
    FViewers.clear();
    if (!FParentItem)
        return;
    AddViewers(FParentItem, 0, FViewers);
    if (FChevronItem)
        FViewers.emplace_back(FChevronItem->GetItemViewerClass(this)(this, FChevronItem, 0));
    if (FUsePriorityList)
        for (auto& v : FViewers)
            FPriorityList.push_back(v.get());
}

void TTBView::SetChevronItem(TTBCustomItem* item)
{
    FChevronItem = item;
    RecreateAllViewers();
}

int TTBView::GroupLevelOf(TTBCustomItem* ancestor) const
{
    if (!FParentItem || ancestor == FParentItem || ancestor == FParentItem->LinkSubitems())
        return 0;
    TTBItemViewer* v = Find(ancestor);
    return v ? v->GroupLevel() + 1 : -1;
}

void TTBView::InsertViewersFor(TTBCustomItem* ancestor, int index, TTBCustomItem* item)
{
    int level = GroupLevelOf(ancestor);
    if (level < 0 || level > kMaxGroupDepth)
        return;
    // Before the viewer of the sibling that now follows; a last child of the
    // view's own item goes before the chevron; a last child of a group is
    // placed by rebuilding the list.
    size_t at = FViewers.size();
    if (index + 1 < ancestor->Count()) {
        TTBItemViewer* next = Find(ancestor->Items(index + 1));
        if (!next) {
            RecreateAllViewers();
            return;
        }
        while (at > 0 && FViewers[at - 1].get() != next)
            --at;
        --at;
    } else if (level == 0) {
        if (FChevronItem && !FViewers.empty() && FViewers.back()->Item() == FChevronItem)
            at = FViewers.size() - 1;
    } else {
        RecreateAllViewers();
        return;
    }
    std::vector<std::unique_ptr<TTBItemViewer>> added;
    added.emplace_back(item->GetItemViewerClass(this)(this, item, level));
    if (item->HasStyle(TTBItemStyleFlag::EmbeddedGroup) && !FCustomizing)
        AddViewers(item, level + 1, added);
    for (auto& v : added)
        if (FUsePriorityList)
            FPriorityList.push_back(v.get());
    FViewers.insert(FViewers.begin() + static_cast<std::ptrdiff_t>(at), std::make_move_iterator(added.begin()),
                    std::make_move_iterator(added.end()));
}

void TTBView::FreeViewer(size_t index)
{
    TTBItemViewer* v = FViewers[index].get();
    if (FSelected == v)
        FSelected = nullptr;
    FPriorityList.erase(std::remove(FPriorityList.begin(), FPriorityList.end(), v), FPriorityList.end());
    FViewers.erase(FViewers.begin() + static_cast<std::ptrdiff_t>(index));
}

void TTBView::RecreateViewer(size_t index)
{
    TTBItemViewer* old = FViewers[index].get();
    std::unique_ptr<TTBItemViewer> fresh(old->Item()->GetItemViewerClass(this)(this, old->Item(), old->GroupLevel()));
    if (FSelected == old)
        FSelected = fresh.get();
    std::replace(FPriorityList.begin(), FPriorityList.end(), old, fresh.get());
    FViewers[index] = std::move(fresh);
}

void TTBView::FreeViewersOf(TTBCustomItem* item)
{
    for (size_t i = 0; i < FViewers.size(); ++i) {
        if (FViewers[i]->Item() != item)
            continue;
        // The embedded children follow their group with a deeper level.
        const int level = FViewers[i]->GroupLevel();
        FreeViewer(i);
        while (i < FViewers.size() && FViewers[i]->GroupLevel() > level)
            FreeViewer(i);
        return;
    }
}

TTBItemViewer* TTBView::Find(const TTBCustomItem* item) const
{
    for (auto& v : FViewers)
        if (v->Item() == item)
            return v.get();
    return nullptr;
}

TTBItemViewer* TTBView::ViewerFromPoint(POINT clientPoint) const
{
    for (auto& v : FViewers)
        if (v->Show() && PtInRect(&v->BoundsRect(), clientPoint))
            return v.get();
    return nullptr;
}

// ---------------------------------------------------------- notifications

void TTBView::ItemNotification(TTBCustomItem* ancestor, bool, ItemChange kind, int index, TTBCustomItem* item)
{
    switch (kind) {
    case ItemChange::ItemAdded:
        InvalidatePositions();
        InsertViewersFor(ancestor, index, item);
        break;
    case ItemChange::ItemRemoving:
        FreeViewersOf(item);
        InvalidatePositions();
        break;
    case ItemChange::ChildrenReset:
        RecreateAllViewers();
        break;
    case ItemChange::BatchBegin:
        ++FUpdateCount;
        break;
    case ItemChange::BatchEnd:
        if (FUpdateCount > 0)
            --FUpdateCount;
        break;
    case ItemChange::Repaint:
        for (auto& v : FViewers)
            if (v->Item() == item)
                InvalidateViewer(v.get());
        break;
    case ItemChange::RepaintAndRelayout:
        InvalidatePositions();
        break;
    case ItemChange::RebuildViewers:
        InvalidatePositions();
        RecreateAllViewers();
        break;
    case ItemChange::NameSet:
        return;
    case ItemChange::SubmenuImagesSwapped:
        for (TTBView* v = this; v; v = v->FParentView)
            v->InvalidatePositions();
        break;
    }
    TryValidatePositions();
}

bool TTBView::OwnerLoading() const
{
    if (!FParentItem)
        return false;
    TComponent* owner = FParentItem->ParentComponent() ? FParentItem->ParentComponent() : FParentItem->Owner();
    return owner && owner->IsLoading();
}

void TTBView::TryValidatePositions()
{
    if (FUpdateCount == 0 && !FValidPositions && !OwnerLoading() && !IsDestroying())
        UpdatePositions();
}

void TTBView::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        TryValidatePositions();
}

// ----------------------------------------------------------------- layout

void TTBView::SetOrientation(TTBViewOrientation value)
{
    if (value != FOrientation) {
        FOrientation = value;
        InvalidatePositions();
    }
}

void TTBView::SetWrapOffset(int value)
{
    if (value != FWrapOffset) {
        FWrapOffset = value;
        InvalidatePositions();
    }
}

void TTBView::SetChevronOffset(int value)
{
    if (value != FChevronOffset) {
        FChevronOffset = value;
        InvalidatePositions();
    }
}

void TTBView::SetMenuBarOptions(bool menuBar)
{
    FHideAccelerators = menuBar;
    InvalidatePositions();
}

HFONT TTBView::GetFont() const
{
    return SystemMenuFont();
}

void TTBView::InvalidatePositions()
{
    if (!FValidPositions)
        return;
    FValidPositions = false;
    if (FWindow && FWindow->HandleAllocated())
        InvalidateRect(FWindow->HandleValue(), nullptr, TRUE);
}

void TTBView::ValidatePositions()
{
    if (!FValidPositions)
        UpdatePositions();
}

// Which viewers are shown: no chevron, no group item itself, none off the
// edge, and no separator at the start, after another one or at the end.
std::vector<bool> TTBView::ShownViewers(const std::vector<bool>& offEdge) const
{
    const size_t n = FViewers.size();
    std::vector<bool> shown(n, false);
    bool lastShownIsSeparator = true;
    for (size_t i = 0; i < n; ++i) {
        TTBCustomItem* item = FViewers[i]->Item();
        if (item == FChevronItem || item->HasStyle(TTBItemStyleFlag::EmbeddedGroup) || !item->Visible() || offEdge[i])
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
std::vector<bool> TTBView::OffEdgeViewers(const std::vector<bool>& shown, const std::vector<int>& mains,
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

TTBLayoutResult TTBView::ComputePositions(bool canMove, TTBViewOrientation orientation, int wrapOffset,
                                          int chevronOffset, int chevronSize, SIZE startTotal)
{
    Restore<TTBViewOrientation> keep(FOrientation, orientation);
    WindowDC screen(nullptr);
    SelectScope font(screen.Get(), GetFont());

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
                RecreateViewer(i);
                v = FViewers[i].get();
            } else {
                temporary.reset(v->Item()->GetItemViewerClass(this)(this, v->Item(), v->GroupLevel()));
                v = temporary.get();
            }
        }
        if (v->Item()->HasEffectiveOption(tboDefault)) {
            FontHandle bold = MakeBoldFont(GetFont());
            SelectScope boldScope(screen.Get(), bold.Get());
            sizes[i] = v->Measure(screen.Get());
        } else {
            sizes[i] = v->Measure(screen.Get());
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
    TTBItemViewer* chevron = FChevronItem ? Find(FChevronItem) : nullptr;
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
    }
    return result;
}

SIZE TTBView::UpdatePositions()
{
    TTBLayoutResult r =
        ComputePositions(true, FOrientation, FWrapOffset, FChevronOffset, FChevronSize, StartingTotalSize());
    FBaseSize = r.BaseSize;
    FRowCount = r.RowCount;
    FValidPositions = true;
    HWND wnd = FWindow && FWindow->HandleAllocated() ? FWindow->HandleValue() : nullptr;
    if (!r.Moved) {
        AutoSize(r.TotalSize);
        return r.TotalSize;
    }
    if (wnd)
        ValidateRect(wnd, nullptr);
    AutoSize(r.TotalSize);
    if (wnd && IsWindowVisible(wnd))
        PaintWindowOffScreen(wnd); // a relayout never shows a half-painted bar
    return r.TotalSize;
}

// --------------------------------------------------------------- painting

bool TTBView::IsPushed(const TTBItemViewer* viewer) const
{
    return viewer && viewer == FSelected && FPressCaptured && FHoverOnSelected;
}

void TTBView::DrawViewer(TTBItemViewer* viewer, HDC canvas, bool forceBackground)
{
    ValidatePositions();
    if (viewer->FNeedsBackground) {
        viewer->FNeedsBackground = false;
        forceBackground = true;
    }
    const RECT bounds = viewer->BoundsRect();
    if (!viewer->Show() || IsRectEmpty(&bounds))
        return;
    HWND wnd = FWindow && FWindow->HandleAllocated() ? FWindow->HandleValue() : nullptr;
    TTBViewerCanvas canvasOfViewer(canvas, wnd, bounds, forceBackground);
    if (canvasOfViewer.Empty())
        return;
    HDC target = canvasOfViewer.Get();

    const bool enabled = viewer->IsEnabledForPaint();
    const bool toolbarStyle = viewer->IsToolbarStyle();
    const bool selected = viewer == FSelected;
    SetBkMode(target, TRANSPARENT);
    SelectScope brush(target, GetStockObject(NULL_BRUSH));
    SelectScope font(target, GetFont());
    // The font's own colour is not used: captions take the system's.
    TColor color;
    if (!enabled)
        color = clGrayText;
    else if (toolbarStyle)
        color = clBtnText;
    else
        color = selected ? SystemColor(COLOR_HIGHLIGHTTEXT) : SystemColor(COLOR_MENUTEXT);
    SetTextColor(target, ColorToRGB(color));
    viewer->Paint(target, canvasOfViewer.ClientRect(), selected, IsPushed(viewer), !enabled && toolbarStyle);
}

void TTBView::DrawAll(HDC canvas)
{
    ValidatePositions();
    // The selected viewer last, so its frame lies above its neighbours'.
    for (size_t i = 0; i < FViewers.size(); ++i)
        if (FViewers[i].get() != FSelected)
            DrawViewer(FViewers[i].get(), canvas, false);
    if (FSelected)
        DrawViewer(FSelected, canvas, false);
}

void TTBView::InvalidateViewer(TTBItemViewer* viewer)
{
    if (!FValidPositions || !FWindow || !FWindow->HandleAllocated() || !viewer->Show() ||
        IsRectEmpty(&viewer->BoundsRect()))
        return;
    viewer->FNeedsBackground = true;
    InvalidateRect(FWindow->HandleValue(), &viewer->BoundsRect(), FALSE);
}

// ------------------------------------------------------ selection, press

void TTBView::SelectViewer(TTBItemViewer* viewer, bool viaMouse)
{
    TTBItemViewer* old = FSelected;
    if (viewer != old) {
        FPressCaptured = false;
        if (old)
            old->Deselected();
        FSelected = viewer;
        FSelectedViaMouse = viaMouse;
    }
    bool hover = false;
    if (viewer && FWindow && FWindow->HandleAllocated()) {
        DWORD pos = GetMessagePos();
        POINT pt{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
        if (WindowFromPoint(pt) == FWindow->HandleValue()) {
            ScreenToClient(FWindow->HandleValue(), &pt);
            hover = ViewerFromPoint(pt) == viewer &&
                    (!FPressCaptured || viewer->IsPointInButtonPart(pt.x - viewer->BoundsRect().left,
                                                                    pt.y - viewer->BoundsRect().top));
        }
    }
    if (viewer == old) {
        if (hover != FHoverOnSelected) {
            FHoverOnSelected = hover;
            if (FPressCaptured && viewer && viewer->Item()->HasStyle(TTBItemStyleFlag::RepaintOnHover))
                InvalidateViewer(viewer);
        }
        return;
    }
    FHoverOnSelected = hover;
    if (old && old->Item()->HasStyle(TTBItemStyleFlag::RepaintOnSelect))
        InvalidateViewer(old);
    if (viewer) {
        if (viewer->Item()->HasStyle(TTBItemStyleFlag::RepaintOnSelect))
            InvalidateViewer(viewer);
        viewer->Selected();
    }
}

void TTBView::TrackHover(const POINT* screenPoint, bool allowNew)
{
    TTBItemViewer* result = nullptr;
    HWND wnd = FWindow && FWindow->HandleAllocated() ? FWindow->HandleValue() : nullptr;
    if (screenPoint && wnd && WindowFromPoint(*screenPoint) == wnd) {
        FMouseInWindow = true;
        if (allowNew || FSelected) {
            POINT pt = *screenPoint;
            ScreenToClient(wnd, &pt);
            result = ViewerFromPoint(pt);
        }
    } else {
        FMouseInWindow = false;
    }
    // A held press keeps its button selected wherever the mouse goes.
    if (FPressCaptured)
        result = FSelected;
    SelectViewer(result, true);
}

void TTBView::MouseDownAt(POINT screenPoint)
{
    TrackHover(&screenPoint, true);
    if (!FSelected || !FHoverOnSelected || FSelected->Item()->HasStyle(TTBItemStyleFlag::ClickThrough))
        return;
    FCapture = std::make_unique<MouseCapture>(FWindow->HandleValue());
    POINT pt = screenPoint;
    ScreenToClient(FWindow->HandleValue(), &pt);
    FSelected->MouseDown(pt.x - FSelected->BoundsRect().left, pt.y - FSelected->BoundsRect().top, false);
}

void TTBView::MouseUpAt(POINT screenPoint)
{
    TrackHover(&screenPoint, false);
    FPendingClick = nullptr;
    if (FSelected && FCapture) {
        POINT pt = screenPoint;
        ScreenToClient(FWindow->HandleValue(), &pt);
        FSelected->MouseUp(pt.x - FSelected->BoundsRect().left, pt.y - FSelected->BoundsRect().top);
    }
    EndTracking();
    TTBCustomItem* click = FPendingClick;
    FPendingClick = nullptr;
    TrackHover(&screenPoint, true);
    if (click)
        TTBClickQueue::ClickLater(click);
}

void TTBView::CaptureLost()
{
    if (FPressCaptured) {
        FPressCaptured = false;
        if (FSelected)
            InvalidateViewer(FSelected);
    }
}

void TTBView::CapturePress(TTBItemViewer* viewer)
{
    if (viewer != FSelected)
        return;
    FPressCaptured = true;
    InvalidateViewer(viewer);
}

void TTBView::ReleasePress()
{
    if (!FPressCaptured)
        return;
    FPressCaptured = false;
    if (FSelected) {
        SelectViewer(FSelected, FSelectedViaMouse);
        InvalidateViewer(FSelected);
    }
}

void TTBView::EndTracking()
{
    if (FPressCaptured && FSelected)
        InvalidateViewer(FSelected);
    FPressCaptured = false;
    FCapture.reset();
}

void TTBView::SetPendingClick(TTBItemViewer* viewer)
{
    FPendingClick = viewer->Item();
    // A clicked viewer moves to the front of the priority list.
    auto it = std::find(FPriorityList.begin(), FPriorityList.end(), viewer);
    if (it != FPriorityList.end())
        std::rotate(FPriorityList.begin(), it, it + 1);
}
