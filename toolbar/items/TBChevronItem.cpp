#include "toolbar/items/TBChevronItem.h"
#include "toolbar/items/TBChevronItemViewer.h"

const TClassInfo& TTBChevronItem::StaticClass()
{
    return MakeClassInfo<TTBChevronItem>("TTBChevronItem", &TTBCustomItem::StaticClass(), [](auto&) {});
}

TTBChevronItem::TTBChevronItem(TComponent* owner, TTBView* toolbarView)
    : TTBCustomItem(owner), FToolbarView(toolbarView)
{
    SetItemStyle(ItemStyle() | StyleBit(TTBItemStyleFlag::HasSubmenu));
    SetHint("More Buttons|");
}

TTBItemViewerClass TTBChevronItem::GetItemViewerClass(TTBView*) const
{
    return &TTBChevronItemViewer::Create;
}
