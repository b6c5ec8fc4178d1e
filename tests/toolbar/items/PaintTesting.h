#pragma once
// What the painting tests share: real mouse input held down or let go,
// and the box of the pixels of a colour, read back from the screen.
#include "tests/toolkit/ToolkitTesting.h"

#include <windows.h>
#include <algorithm>
#include <functional>
#include <string>

namespace paint_testing {

using toolkit_testing::RectText;
using toolkit_testing::ScreenArea;

inline void SendMouse(DWORD flags, int x = 0, int y = 0)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_MOVE) {
        in.mi.dwFlags |= MOUSEEVENTF_ABSOLUTE;
        in.mi.dx = (x * 65536 + 32768) / GetSystemMetrics(SM_CXSCREEN);
        in.mi.dy = (y * 65536 + 32768) / GetSystemMetrics(SM_CYSCREEN);
    }
    SendInput(1, &in, sizeof in);
}

// The bounding box of the pixels that pass a test, "empty" when none do.
inline std::string BoxOf(const ScreenArea& area, const RECT& r, const std::function<bool(COLORREF)>& pred)
{
    RECT box{r.right, r.bottom, r.left, r.top};
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (pred(area.At(x, y))) {
                box.left = std::min(box.left, static_cast<LONG>(x));
                box.top = std::min(box.top, static_cast<LONG>(y));
                box.right = std::max(box.right, static_cast<LONG>(x + 1));
                box.bottom = std::max(box.bottom, static_cast<LONG>(y + 1));
            }
    return box.left >= box.right ? "empty" : RectText(box);
}

inline bool Dark(COLORREF c)
{
    return GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 100;
}

} // namespace paint_testing
