#pragma once
// The view of a toolbar: its window is the toolbar itself, it measures with
// the toolbar's font (or the system menu font) and it ends with the
// toolbar's chevron.
#include "toolbar/items/TBView.h"

class TTBCustomToolbar;

class TTBToolbarView : public TTBView {
public:
    QV_CLASS(TTBToolbarView, TTBView)
    explicit TTBToolbarView(TTBCustomToolbar* toolbar);

    TTBCustomToolbar* Toolbar() const { return FToolbar; }
    HFONT GetFont() const override;
    // With the bar's arrange lock raised: the control items' controls that
    // it moves don't ask the bar to arrange again.
    SIZE UpdatePositions() override;

protected:
    // A docked bar spans its dock row; a full-size one the whole dock.
    SIZE StartingTotalSize() override;
    void AutoSize(SIZE totalSize) override;

private:
    TTBCustomToolbar* FToolbar;
};
