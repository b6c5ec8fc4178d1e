#pragma once
// The viewer of a toolbar's chevron: a small button with a double arrow.
#include "toolbar/items/TBItemViewer.h"

class TTBChevronItemViewer : public TTBItemViewer {
public:
    using TTBItemViewer::TTBItemViewer;
    static TTBItemViewer* Create(TTBView* view, TTBCustomItem* item, int groupLevel);

    SIZE Measure(HDC canvas) override;
    void Paint(HDC canvas, const RECT& clientRect, bool isSelected, bool isPushed, bool useDisabledShadow) override;
};
