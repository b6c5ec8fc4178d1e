#include "toolbar/items/TBViewTracker.h"
#include "toolbar/items/TBClickQueue.h"
#include "toolbar/items/TBItemViewer.h"
#include "toolbar/items/TBView.h"
#include "toolkit/Controls.h"

TTBViewTracker::TTBViewTracker(TTBView& view) : FView(view) {}

TTBViewTracker::~TTBViewTracker() = default;

HWND TTBViewTracker::Window() const
{
    TWinControl* w = FView.Window();
    return w && w->HandleAllocated() ? w->HandleValue() : nullptr;
}

bool TTBViewTracker::IsPushed(const TTBItemViewer* viewer) const
{
    return viewer && viewer == FSelected && FPressCaptured && FHoverOnSelected;
}

void TTBViewTracker::Forget(const TTBItemViewer* viewer, TTBItemViewer* replacement)
{
    if (!viewer || FSelected == viewer)
        FSelected = viewer ? replacement : nullptr;
}

void TTBViewTracker::SelectViewer(TTBItemViewer* viewer, bool viaMouse)
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
    if (HWND wnd = Window(); viewer && wnd) {
        DWORD pos = GetMessagePos();
        POINT pt{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
        if (WindowFromPoint(pt) == wnd) {
            ScreenToClient(wnd, &pt);
            hover = FView.ViewerFromPoint(pt) == viewer &&
                    (!FPressCaptured || viewer->IsPointInButtonPart(pt.x - viewer->BoundsRect().left,
                                                                    pt.y - viewer->BoundsRect().top));
        }
    }
    if (viewer == old) {
        if (hover != FHoverOnSelected) {
            FHoverOnSelected = hover;
            if (FPressCaptured && viewer && viewer->Item()->HasStyle(TTBItemStyleFlag::RepaintOnHover))
                FView.InvalidateViewer(viewer);
        }
        return;
    }
    FHoverOnSelected = hover;
    if (old && old->Item()->HasStyle(TTBItemStyleFlag::RepaintOnSelect))
        FView.InvalidateViewer(old);
    if (viewer) {
        if (viewer->Item()->HasStyle(TTBItemStyleFlag::RepaintOnSelect))
            FView.InvalidateViewer(viewer);
        viewer->Selected();
    }
}

void TTBViewTracker::TrackHover(const POINT* screenPoint, bool allowNew)
{
    TTBItemViewer* result = nullptr;
    HWND wnd = Window();
    if (screenPoint && wnd && WindowFromPoint(*screenPoint) == wnd) {
        FMouseInWindow = true;
        if (allowNew || FSelected) {
            POINT pt = *screenPoint;
            ScreenToClient(wnd, &pt);
            result = FView.ViewerFromPoint(pt);
        }
    } else {
        FMouseInWindow = false;
    }
    // A held press keeps its button selected wherever the mouse goes.
    if (FPressCaptured)
        result = FSelected;
    SelectViewer(result, true);
}

void TTBViewTracker::MouseDownAt(POINT screenPoint)
{
    TrackHover(&screenPoint, true);
    if (!FSelected || !FHoverOnSelected || FSelected->Item()->HasStyle(TTBItemStyleFlag::ClickThrough))
        return;
    FCapture = std::make_unique<MouseCapture>(Window());
    POINT pt = screenPoint;
    ScreenToClient(Window(), &pt);
    FSelected->MouseDown(pt.x - FSelected->BoundsRect().left, pt.y - FSelected->BoundsRect().top, false);
}

void TTBViewTracker::MouseUpAt(POINT screenPoint)
{
    TrackHover(&screenPoint, false);
    FPendingClick = nullptr;
    if (FSelected && FCapture) {
        POINT pt = screenPoint;
        ScreenToClient(Window(), &pt);
        FSelected->MouseUp(pt.x - FSelected->BoundsRect().left, pt.y - FSelected->BoundsRect().top);
    }
    EndTracking();
    TTBCustomItem* click = FPendingClick;
    FPendingClick = nullptr;
    TrackHover(&screenPoint, true);
    if (click)
        TTBClickQueue::ClickLater(click);
}

void TTBViewTracker::CaptureLost()
{
    if (FPressCaptured) {
        FPressCaptured = false;
        if (FSelected)
            FView.InvalidateViewer(FSelected);
    }
}

void TTBViewTracker::CapturePress(TTBItemViewer* viewer)
{
    if (viewer != FSelected)
        return;
    FPressCaptured = true;
    FView.InvalidateViewer(viewer);
}

void TTBViewTracker::ReleasePress()
{
    if (!FPressCaptured)
        return;
    FPressCaptured = false;
    if (FSelected) {
        SelectViewer(FSelected, FSelectedViaMouse);
        FView.InvalidateViewer(FSelected);
    }
}

void TTBViewTracker::EndTracking()
{
    if (FPressCaptured && FSelected)
        FView.InvalidateViewer(FSelected);
    FPressCaptured = false;
    FCapture.reset();
}
