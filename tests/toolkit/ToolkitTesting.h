#pragma once
// Helpers shared by the toolkit's tests: a shown form to put controls on,
// rectangles that print readably, and real window geometry and pixels.
#include "tests/support/TestSupport.h"
#include "toolkit/Forms.h"
#include "toolkit/Graphics.h"

#include <windows.h>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace toolkit_testing {

// "(left,top WxH)", so a failing comparison shows both rectangles whole.
inline std::string RectText(const RECT& r)
{
    char text[80];
    std::snprintf(text, sizeof text, "(%ld,%ld %ldx%ld)", static_cast<long>(r.left), static_cast<long>(r.top),
                  static_cast<long>(r.right - r.left), static_cast<long>(r.bottom - r.top));
    return text;
}

inline std::string RectText(int left, int top, int width, int height)
{
    return RectText(RECT{left, top, left + width, top + height});
}

// What the control believes its bounds are.
inline std::string BoundsText(const TControl* c)
{
    return RectText(c->BoundsRect());
}

// Where the platform really put the control's window, in its parent's
// client coordinates.
inline std::string WindowText(HWND wnd)
{
    RECT r;
    GetWindowRect(wnd, &r);
    if (HWND parent = GetParent(wnd))
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return RectText(r);
}

// "#RRGGBB", for readable colour failures.
inline std::string ColorText(COLORREF c)
{
    char text[16];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

// The screen pixel at a point of a window's client area.
inline COLORREF ClientPixel(HWND wnd, int x, int y)
{
    POINT pt{x, y};
    ClientToScreen(wnd, &pt);
    return testing_support::ScreenPixel(pt.x, pt.y);
}

// A copy of part of a window's client area as it is on screen, taken at
// once, for checks that look at many pixels.
class ScreenArea {
public:
    ScreenArea(HWND wnd, const RECT& clientRect) : FLeft(clientRect.left), FTop(clientRect.top)
    {
        FWidth = clientRect.right - clientRect.left;
        FHeight = clientRect.bottom - clientRect.top;
        POINT origin{clientRect.left, clientRect.top};
        ClientToScreen(wnd, &origin);
        HDC screen = GetDC(nullptr);
        HDC mem = CreateCompatibleDC(screen);
        BITMAPINFO bi = TopDownBitmapInfo(FWidth, FHeight);
        void* bits = nullptr;
        HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(mem, bmp);
        BitBlt(mem, 0, 0, FWidth, FHeight, screen, origin.x, origin.y, SRCCOPY);
        GdiFlush();
        FPixels.assign(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + FWidth * FHeight);
        SelectObject(mem, old);
        DeleteObject(bmp);
        DeleteDC(mem);
        ReleaseDC(nullptr, screen);
    }

    // The pixel at a point of the window's client area, as a COLORREF.
    COLORREF At(int x, int y) const
    {
        DWORD p = FPixels.at(static_cast<size_t>((y - FTop) * FWidth + (x - FLeft)));
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // How many pixels of the area have that colour.
    int Count(COLORREF color) const
    {
        return CountIf([color](COLORREF c) { return c == color; });
    }
    template <class Pred>
    int CountIf(Pred pred) const
    {
        int n = 0;
        for (int y = FTop; y < FTop + FHeight; ++y)
            for (int x = FLeft; x < FLeft + FWidth; ++x)
                n += pred(At(x, y)) ? 1 : 0;
        return n;
    }

private:
    int FLeft, FTop, FWidth = 0, FHeight = 0;
    std::vector<DWORD> FPixels;
};

// A bitmap whose pixel (x, y) is colour(x, y), to feed image lists.
inline BitmapHandle MakePixelBitmap(int width, int height, const std::function<COLORREF(int, int)>& colour)
{
    std::vector<DWORD> bits;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const COLORREF c = colour(x, y);
            bits.push_back(static_cast<DWORD>(GetRValue(c)) << 16 | static_cast<DWORD>(GetGValue(c)) << 8 | GetBValue(c));
        }
    return BitmapHandle(CreateBitmap(width, height, 1, 32, bits.data()));
}

// A form of its own (no owner), placed away from the screen's corner with a
// known client size. Not shown until Show().
inline std::unique_ptr<TForm> MakeForm(int clientWidth = 400, int clientHeight = 300, int left = 60, int top = 60)
{
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(left, top, clientWidth + 40, clientHeight + 40);
    form->SetClientWidth(clientWidth);
    form->SetClientHeight(clientHeight);
    return form;
}

// Shows the form, makes it the active window and lets it paint.
inline void ShowAndActivate(TForm& form)
{
    form.ShowForm();
    testing_support::Activate(form.Handle());
    testing_support::Pump(60);
}

// The application's hint window as the platform has it: found by its class,
// shown or not, its text and where it is on the screen.
struct ShownHint {
    bool Visible = false;
    std::string Text;
    RECT Rect{};
};

inline ShownHint CurrentHint()
{
    ShownHint hint;
    HWND wnd = FindWindowA("QuiverleafHint", nullptr);
    if (!wnd || !IsWindowVisible(wnd))
        return hint;
    hint.Visible = true;
    char text[512] = "";
    GetWindowTextA(wnd, text, sizeof text);
    hint.Text = text;
    GetWindowRect(wnd, &hint.Rect);
    return hint;
}

// Pumps until the hint window shows that text (empty: until no hint shows).
inline bool WaitForHint(const std::string& text, int timeoutMs = 4000)
{
    return testing_support::WaitFor(
        [&] {
            ShownHint h = CurrentHint();
            return text.empty() ? !h.Visible : h.Visible && h.Text == text;
        },
        timeoutMs);
}

// Runs the application's own loop (one message at a time, the idle step
// whenever the queue is empty) until the condition holds. A thread timer
// keeps messages coming, so the loop's wait always ends.
inline bool RunLoopUntil(const std::function<bool()>& condition, int timeoutMs = 4000)
{
    UINT_PTR timer = SetTimer(nullptr, 0, 20, nullptr);
    const DWORD end = GetTickCount() + static_cast<DWORD>(timeoutMs);
    bool held = condition();
    while (!held && static_cast<int>(end - GetTickCount()) > 0) {
        Application->HandleMessage();
        held = condition();
    }
    KillTimer(nullptr, timer);
    return held;
}

} // namespace toolkit_testing
