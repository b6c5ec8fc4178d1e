#include "toolbar/items/TBViewerCanvas.h"

TTBViewerCanvas::TTBViewerCanvas(HDC windowCanvas, HWND wnd, const RECT& bounds, bool withBackground)
    : FCanvas(windowCanvas), FBounds(bounds), FSaved(windowCanvas), FTarget(windowCanvas)
{
    IntersectClipRect(FCanvas, bounds.left, bounds.top, bounds.right, bounds.bottom);
    RECT clip;
    if (GetClipBox(FCanvas, &clip) == NULLREGION || IsRectEmpty(&clip)) {
        FEmpty = true;
        return;
    }
    if (withBackground && wnd) {
        const RECT r = ClientRect();
        FMemory = std::make_unique<MemoryDC>(FCanvas);
        FBitmap.Reset(CreateCompatibleBitmap(FCanvas, r.right, r.bottom));
        FSelectBitmap = std::make_unique<SelectScope>(FMemory->Get(), FBitmap.Get());
        FTarget = FMemory->Get();
        // The window paints its background as if the bitmap were its client area.
        SetWindowOrgEx(FTarget, bounds.left, bounds.top, nullptr);
        SendMessageA(wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(FTarget), 0);
        SetWindowOrgEx(FTarget, 0, 0, nullptr);
    } else {
        OffsetWindowOrgEx(FCanvas, -bounds.left, -bounds.top, nullptr);
        // Patterns line up across neighbouring items.
        SetBrushOrgEx(FCanvas, bounds.left % 2, bounds.top % 2, nullptr);
    }
}

TTBViewerCanvas::~TTBViewerCanvas()
{
    if (FMemory) {
        const RECT r = ClientRect();
        BitBlt(FCanvas, FBounds.left, FBounds.top, r.right, r.bottom, FTarget, 0, 0, SRCCOPY);
        FSelectBitmap.reset();
    }
}

void PaintWindowOffScreen(HWND wnd)
{
    RECT client;
    GetClientRect(wnd, &client);
    if (IsRectEmpty(&client))
        return;
    WindowDC dc(wnd);
    MemoryDC mem(dc.Get());
    BitmapHandle bitmap(CreateCompatibleBitmap(dc.Get(), client.right, client.bottom));
    {
        SelectScope select(mem.Get(), bitmap.Get());
        SendMessageA(wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(mem.Get()), 0);
        SendMessageA(wnd, WM_PAINT, reinterpret_cast<WPARAM>(mem.Get()), 0);
        BitBlt(dc.Get(), 0, 0, client.right, client.bottom, mem.Get(), 0, 0, SRCCOPY);
    }
    ValidateRect(wnd, nullptr);
}
