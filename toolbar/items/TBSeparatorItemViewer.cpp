#include "toolbar/items/TBSeparatorItemViewer.h"
#include "toolbar/items/TBSeparatorItem.h"
#include "toolbar/items/TBView.h"

#include <oleacc.h>

TTBItemViewer* TTBSeparatorItemViewer::Create(TTBView* view, TTBCustomItem* item, int groupLevel)
{
    return new TTBSeparatorItemViewer(view, item, groupLevel);
}

SIZE TTBSeparatorItemViewer::Measure(HDC)
{
    return IsToolbarStyle() ? SIZE{6, 6} : SIZE{6, 8};
}

void TTBSeparatorItemViewer::Paint(HDC canvas, const RECT& clientRect, bool, bool, bool)
{
    auto* separator = dynamic_cast<TTBSeparatorItem*>(Item());
    if (separator && separator->Blank())
        return;
    const TTBViewOrientation orientation = View()->Orientation();
    const bool horizontalRow = IsToolbarStyle() && orientation != tbvoVertical;
    const bool lineSeparator = IsLineSeparator();
    const int width = clientRect.right - clientRect.left, height = clientRect.bottom - clientRect.top;
    RECT r = clientRect;
    if ((horizontalRow && !lineSeparator) || (!horizontalRow && IsToolbarStyle() && lineSeparator)) {
        // Across a row of buttons: a vertical line.
        r.left = clientRect.left + width / 2 - 1;
        r.right = r.left + 2;
        if (lineSeparator)
            InflateRect(&r, 0, -4);
        DrawEdge(canvas, &r, EDGE_ETCHED, BF_LEFT);
        return;
    }
    r.top = clientRect.top + height / 2 - 1;
    r.bottom = r.top + 2;
    if (!IsToolbarStyle())
        InflateRect(&r, -12, 0);
    else if (lineSeparator)
        InflateRect(&r, orientation == tbvoFloating ? -1 : -4, 0);
    DrawEdge(canvas, &r, EDGE_ETCHED, BF_TOP);
}

int TTBSeparatorItemViewer::AccessibleRole() const
{
    return ROLE_SYSTEM_SEPARATOR;
}
