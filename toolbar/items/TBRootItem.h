#pragma once
// The invisible item at the top of a toolbar's tree; the toolbar owns it
// and its children are the toolbar's buttons.
#include "toolbar/items/TBCustomItem.h"

class TTBRootItem : public TTBCustomItem {
public:
    QV_CLASS(TTBRootItem, TTBCustomItem)
    using TTBCustomItem::TTBCustomItem;
};
