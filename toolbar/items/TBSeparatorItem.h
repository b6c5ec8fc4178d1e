#pragma once
// A separator between buttons: never selected or clicked, and where a
// toolbar's row is too short it becomes the row break.
#include "toolbar/items/TBCustomItem.h"

class TTBSeparatorItem : public TTBCustomItem {
public:
    QV_CLASS(TTBSeparatorItem, TTBCustomItem)
    explicit TTBSeparatorItem(TComponent* owner);

    // A blank separator keeps its place but draws nothing.
    bool Blank() const { return FBlank; }
    void SetBlank(bool value);

    TTBItemViewerClass GetItemViewerClass(TTBView* view) const override;

private:
    bool FBlank = false;
};
