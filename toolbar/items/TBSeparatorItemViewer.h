#pragma once
// The viewer of a separator: 6 pixels of room with an etched line across
// the row, or along it where the separator became a row break.
#include "toolbar/items/TBItemViewer.h"

class TTBSeparatorItemViewer : public TTBItemViewer {
public:
    using TTBItemViewer::TTBItemViewer;
    static TTBItemViewer* Create(TTBView* view, TTBCustomItem* item, int groupLevel);

    SIZE Measure(HDC canvas) override;
    void Paint(HDC canvas, const RECT& clientRect, bool isSelected, bool isPushed, bool useDisabledShadow) override;
    int AccessibleRole() const override;
};
