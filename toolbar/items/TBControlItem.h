#pragma once
// An item that places a window control among a toolbar's buttons: the
// layout moves the control to the item's rectangle (out of sight while it
// is not shown) and the view paints nothing there. The item owns its
// control unless told otherwise.
#include "toolbar/items/TBCustomItem.h"

class TControl;

class TTBControlItem : public TTBCustomItem {
public:
    QV_CLASS(TTBControlItem, TTBCustomItem)
    explicit TTBControlItem(TComponent* owner);
    ~TTBControlItem() override;

    TControl* Control() const { return FControl; }
    void SetControl(TControl* value);
    // True: the control outlives the item.
    bool DontFreeControl() const { return FDontFreeControl; }
    void SetDontFreeControl(bool value) { FDontFreeControl = value; }

    TTBItemViewerClass GetItemViewerClass(TTBView* view) const override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TTBCustomToolbar;
    TControl* FControl = nullptr;
    bool FDontFreeControl = false;
    bool FAdopted = false; // made by a toolbar for a child control that had no item
};
