#pragma once
// A toolbar button (or menu entry): the item class whose properties are
// published, so the window's layout and the settings store can set them.
#include "toolbar/items/TBCustomItem.h"

class TTBItem : public TTBCustomItem {
public:
    QV_CLASS(TTBItem, TTBCustomItem)
    using TTBCustomItem::TTBCustomItem;
};
