#include "toolbar/items/TBView.h"
#include "toolbar/items/TBControlItemViewer.h"
#include "toolbar/items/TBDrawing.h"
#include "toolbar/items/TBItemViewer.h"
#include "toolbar/items/TBViewPositions.h"
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
      FCustomizing(customizing), FUsePriorityList(usePriorityList), FTracker(std::make_unique<TTBViewTracker>(*this))
{
    FParentItem->Subscribe(MakeMethod<&TTBView::ItemNotification>(this));
    FreeNotification(FParentItem);
    RecreateAllViewers();
}

TTBView::~TTBView()
{
    Destroying();
    FTracker->ReleaseCapture();
    if (FParentItem)
        FParentItem->Unsubscribe(MakeMethod<&TTBView::ItemNotification>(this));
    FTracker->Forget(nullptr, nullptr);
    FPriorityList.clear();
    FViewers.clear();
}

void TTBView::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FParentItem) {
        FTracker->Forget(nullptr, nullptr);
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
    FTracker->Forget(nullptr, nullptr);
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
    FTracker->Forget(v, nullptr);
    FPriorityList.erase(std::remove(FPriorityList.begin(), FPriorityList.end(), v), FPriorityList.end());
    FViewers.erase(FViewers.begin() + static_cast<std::ptrdiff_t>(index));
}

void TTBView::RecreateViewer(size_t index)
{
    TTBItemViewer* old = FViewers[index].get();
    std::unique_ptr<TTBItemViewer> fresh(old->Item()->GetItemViewerClass(this)(this, old->Item(), old->GroupLevel()));
    FTracker->Forget(old, fresh.get());
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

TTBLayoutResult TTBView::ComputePositions(bool canMove, TTBViewOrientation orientation, int wrapOffset,
                                          int chevronOffset, int chevronSize, SIZE startTotal)
{
    Restore<TTBViewOrientation> keep(FOrientation, orientation);
    return TTBViewPositions(*this).Run(canMove, orientation, wrapOffset, chevronOffset, chevronSize, startTotal);
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

void TTBView::DrawViewer(TTBItemViewer* viewer, HDC canvas, bool forceBackground)
{
    ValidatePositions();
    if (viewer->FNeedsBackground) {
        viewer->FNeedsBackground = false;
        forceBackground = true;
    }
    const RECT bounds = viewer->BoundsRect();
    // A control item's control shows there in a window of its own.
    if (!viewer->Show() || IsRectEmpty(&bounds) || dynamic_cast<TTBControlItemViewer*>(viewer))
        return;
    HWND wnd = FWindow && FWindow->HandleAllocated() ? FWindow->HandleValue() : nullptr;
    TTBViewerCanvas canvasOfViewer(canvas, wnd, bounds, forceBackground);
    if (canvasOfViewer.Empty())
        return;
    HDC target = canvasOfViewer.Get();

    const bool enabled = viewer->IsEnabledForPaint();
    const bool toolbarStyle = viewer->IsToolbarStyle();
    const bool selected = viewer == Selected();
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
        if (FViewers[i].get() != Selected())
            DrawViewer(FViewers[i].get(), canvas, false);
    if (Selected())
        DrawViewer(Selected(), canvas, false);
}

void TTBView::InvalidateViewer(TTBItemViewer* viewer)
{
    if (!FValidPositions || !FWindow || !FWindow->HandleAllocated() || !viewer->Show() ||
        IsRectEmpty(&viewer->BoundsRect()) || dynamic_cast<TTBControlItemViewer*>(viewer))
        return;
    viewer->FNeedsBackground = true;
    InvalidateRect(FWindow->HandleValue(), &viewer->BoundsRect(), FALSE);
}

// ------------------------------------------------------ selection, press

void TTBView::SetPendingClick(TTBItemViewer* viewer)
{
    FTracker->SetPendingClick(viewer->Item());
    // A clicked viewer moves to the front of the priority list.
    auto it = std::find(FPriorityList.begin(), FPriorityList.end(), viewer);
    if (it != FPriorityList.end())
        std::rotate(FPriorityList.begin(), it, it + 1);
}
