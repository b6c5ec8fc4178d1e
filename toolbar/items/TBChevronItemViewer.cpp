#include "toolbar/items/TBChevronItemViewer.h"
#include "toolbar/items/TBView.h"

namespace {
// Rows top to bottom, most significant bit leftmost: two arrows pointing
// right. Turned a quarter for vertical toolbars.
const BYTE kGlyph[8] = {0x00, 0x88, 0x44, 0x22, 0x44, 0x88, 0x00, 0x00};

void DrawGlyph(HDC canvas, int left, int top, bool turned, COLORREF color)
{
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            if (kGlyph[y] & (0x80 >> x))
                SetPixelV(canvas, left + (turned ? 7 - y : x), top + (turned ? x : y), color);
}
} // namespace

TTBItemViewer* TTBChevronItemViewer::Create(TTBView* view, TTBCustomItem* item, int groupLevel)
{
    return new TTBChevronItemViewer(view, item, groupLevel);
}

SIZE TTBChevronItemViewer::Measure(HDC)
{
    const int size = View()->ChevronSize();
    return View()->Orientation() == tbvoVertical ? SIZE{size * 2, size} : SIZE{size, size * 2};
}

void TTBChevronItemViewer::Paint(HDC canvas, const RECT& clientRect, bool isSelected, bool isPushed, bool)
{
    RECT r = clientRect;
    const bool enabled = IsEnabledForPaint();
    if (isSelected && enabled)
        DrawEdge(canvas, &r, isPushed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    const bool turned = View()->Orientation() == tbvoVertical;
    int left = r.left + (r.right - r.left - 8) / 2, top = r.top + 2;
    if (isPushed) {
        ++left;
        ++top;
    }
    if (enabled) {
        DrawGlyph(canvas, left, top, turned, ColorToRGB(clBtnText));
    } else {
        DrawGlyph(canvas, left + 1, top + 1, turned, ColorToRGB(clBtnHighlight));
        DrawGlyph(canvas, left, top, turned, ColorToRGB(clBtnShadow));
    }
}
