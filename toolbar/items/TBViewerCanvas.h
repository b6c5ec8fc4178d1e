#pragma once
// The device context one viewer paints on: clipped to the viewer, with its
// origin at the viewer's top-left. With a background, it is an off-screen
// bitmap holding the window's own background under the viewer, copied onto
// the window in one piece when the canvas goes; so a single button repaints
// without flicker over whatever the bar's background is.
#include "toolkit/Graphics.h"

#include <windows.h>
#include <memory>

class TTBViewerCanvas {
public:
    TTBViewerCanvas(HDC windowCanvas, HWND wnd, const RECT& bounds, bool withBackground);
    TTBViewerCanvas(const TTBViewerCanvas&) = delete;
    TTBViewerCanvas& operator=(const TTBViewerCanvas&) = delete;
    ~TTBViewerCanvas();

    // Nothing of the viewer lies inside the window canvas's clipping.
    bool Empty() const { return FEmpty; }
    HDC Get() const { return FTarget; }
    // The viewer's rectangle moved to (0, 0).
    RECT ClientRect() const { return RECT{0, 0, FBounds.right - FBounds.left, FBounds.bottom - FBounds.top}; }

private:
    HDC FCanvas;
    RECT FBounds;
    SaveDCScope FSaved;
    bool FEmpty = false;
    std::unique_ptr<MemoryDC> FMemory;
    BitmapHandle FBitmap;
    std::unique_ptr<SelectScope> FSelectBitmap;
    HDC FTarget;
};

// Draws the whole window (background and contents, through WM_ERASEBKGND
// and WM_PAINT with the bitmap's device context) off screen and copies it
// on in one piece, then validates the window.
void PaintWindowOffScreen(HWND wnd);
