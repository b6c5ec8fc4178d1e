#pragma once
// A view's selection and the press on one of its buttons: hot tracking under
// the mouse, the mouse capture while a button is held (drawn pushed while the
// mouse is on it) and the click queued when it is released over it.
#include "toolkit/Graphics.h"

#include <windows.h>
#include <memory>

class TTBCustomItem;
class TTBItemViewer;
class TTBView;

class TTBViewTracker {
public:
    explicit TTBViewTracker(TTBView& view);
    TTBViewTracker(const TTBViewTracker&) = delete;
    TTBViewTracker& operator=(const TTBViewTracker&) = delete;
    ~TTBViewTracker();

    TTBItemViewer* Selected() const { return FSelected; }
    bool HoverOnSelected() const { return FHoverOnSelected; }
    bool PressCaptured() const { return FPressCaptured; }
    bool IsPushed(const TTBItemViewer* viewer) const;
    // A viewer goes (replacement nullptr) or is replaced; nullptr: all go.
    void Forget(const TTBItemViewer* viewer, TTBItemViewer* replacement);

    void SelectViewer(TTBItemViewer* viewer, bool viaMouse);
    void TrackHover(const POINT* screenPoint, bool allowNew);
    void MouseDownAt(POINT screenPoint);
    void MouseUpAt(POINT screenPoint);
    void CaptureLost();
    void CapturePress(TTBItemViewer* viewer);
    void ReleasePress();
    void EndTracking();
    void ReleaseCapture() { FCapture.reset(); }
    void SetPendingClick(TTBCustomItem* item) { FPendingClick = item; }

private:
    HWND Window() const;

    TTBView& FView;
    TTBItemViewer* FSelected = nullptr;
    bool FSelectedViaMouse = false;
    bool FHoverOnSelected = false;
    bool FPressCaptured = false;
    bool FMouseInWindow = false;
    std::unique_ptr<MouseCapture> FCapture;
    TTBCustomItem* FPendingClick = nullptr;
};
