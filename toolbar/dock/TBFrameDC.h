#pragma once
// The device context of a whole window (frame included) from GetWindowDC,
// optionally clipped to a non-client update region given in screen
// coordinates (as WM_NCPAINT hands it over), released on scope exit.
#include "toolkit/Graphics.h"

#include <windows.h>

class FrameDC {
public:
    FrameDC(HWND wnd, HRGN updateRgn) : FDC(wnd, WindowDC::WholeWindow)
    {
        // 1 (and 0) stand for the whole window.
        if (!FDC.Get() || reinterpret_cast<UINT_PTR>(updateRgn) <= 1)
            return;
        RECT r;
        GetWindowRect(wnd, &r);
        GdiObject<HRGN> clip(CreateRectRgn(0, 0, 0, 0));
        if (clip && CombineRgn(clip.Get(), updateRgn, nullptr, RGN_COPY) != ERROR) {
            OffsetRgn(clip.Get(), -r.left, -r.top);
            ExtSelectClipRgn(FDC.Get(), clip.Get(), RGN_AND);
        }
    }
    HDC Get() const { return FDC.Get(); }

private:
    WindowDC FDC;
};

// Has the platform recompute a window's frame (its non-client size) without
// moving, sizing, activating it or changing its place in the stacking order.
inline void RecomputeWindowFrame(HWND wnd)
{
    if (wnd)
        SetWindowPos(wnd, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
