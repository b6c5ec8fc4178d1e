#include "toolbar/items/TBToolbarView.h"
#include "toolbar/items/TBToolbar.h"
#include "toolkit/Scopes.h"

const TClassInfo& TTBToolbarView::StaticClass()
{
    return MakeClassInfo<TTBToolbarView>("TTBToolbarView", &TTBView::StaticClass(), [](auto&) {});
}

TTBToolbarView::TTBToolbarView(TTBCustomToolbar* toolbar)
    : TTBView(toolbar, nullptr, toolbar->Items(), toolbar, true, false, !toolbar->IsDesigning()), FToolbar(toolbar)
{
    SetChevronItem(toolbar->ChevronItem());
}

HFONT TTBToolbarView::GetFont() const
{
    return FToolbar->SystemFont() ? TTBView::GetFont() : FToolbar->Font()->Handle();
}

SIZE TTBToolbarView::UpdatePositions()
{
    CountScope arranging(FToolbar->FArrangeLock);
    return TTBView::UpdatePositions();
}

SIZE TTBToolbarView::StartingTotalSize()
{
    SIZE total{0, 0};
    if (!FToolbar->CurrentDock())
        return total;
    // Across the dock: the thickest other bar of the row, so a single row
    // is centred in the row's thickness.
    const int cross = FToolbar->CurrentDock()->MaxCrossInRow(FToolbar->PlacedRow, FToolbar);
    (Orientation() == tbvoVertical ? total.cx : total.cy) = cross;
    if (FToolbar->FullSize() && WrapOffset() > 0)
        (Orientation() == tbvoVertical ? total.cy : total.cx) = WrapOffset();
    return total;
}

void TTBToolbarView::AutoSize(SIZE totalSize)
{
    FToolbar->ViewResized(totalSize);
}
