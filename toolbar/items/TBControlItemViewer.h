#pragma once
// The viewer of a control item: as large as the control, and nothing to
// paint, since the control's own window shows there.
#include "toolbar/items/TBItemViewer.h"

class TControl;

class TTBControlItemViewer : public TTBItemViewer {
public:
    using TTBItemViewer::TTBItemViewer;
    static TTBItemViewer* Create(TTBView* view, TTBCustomItem* item, int groupLevel);

    TControl* Control() const;
    SIZE Measure(HDC canvas) override;
    void Paint(HDC, const RECT&, bool, bool, bool) override {}
    // Where the layout put the item: the control goes there, or out of sight.
    void PlaceControl();
};
