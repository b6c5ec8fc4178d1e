#pragma once
// An item's tie to its action: the action's caption, state, hint, image,
// shortcut and execute handler are copied onto the item when it is linked
// and whenever one of them changes.
#include "toolkit/ActnList.h"

class TTBCustomItem;

class TTBItemActionLink : public TBasicActionLink {
public:
    explicit TTBItemActionLink(TTBCustomItem* client) : FClient(client) {}

    // True while the action supplies the item's value of that property: an
    // action is linked that has it, and the item's value is the action's.
    bool Supplies(TActionProperty property) const;

protected:
    void Changed(TActionProperty property) override;

private:
    TTBCustomItem* FClient; // the item that owns this link
    TNotifyEvent FSuppliedOnClick; // the execute handler last given to the item
};
