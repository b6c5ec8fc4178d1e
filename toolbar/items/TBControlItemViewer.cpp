#include "toolbar/items/TBControlItemViewer.h"
#include "toolbar/items/TBControlItem.h"
#include "toolkit/Controls.h"

TTBItemViewer* TTBControlItemViewer::Create(TTBView* view, TTBCustomItem* item, int groupLevel)
{
    return new TTBControlItemViewer(view, item, groupLevel);
}

TControl* TTBControlItemViewer::Control() const
{
    auto* item = dynamic_cast<TTBControlItem*>(Item());
    return item ? item->Control() : nullptr;
}

SIZE TTBControlItemViewer::Measure(HDC)
{
    TControl* control = Control();
    return control ? SIZE{control->Width(), control->Height()} : SIZE{0, 0};
}

void TTBControlItemViewer::PlaceControl()
{
    TControl* control = Control();
    if (!control)
        return;
    const RECT& r = BoundsRect();
    if (Show())
        control->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    else // beyond the window's top-left corner, keeping its size
        control->SetBounds(-control->Width() - 1, -control->Height() - 1, control->Width(), control->Height());
}
