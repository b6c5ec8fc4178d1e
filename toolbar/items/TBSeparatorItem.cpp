#include "toolbar/items/TBSeparatorItem.h"
#include "toolbar/items/TBSeparatorItemViewer.h"

const TClassInfo& TTBSeparatorItem::StaticClass()
{
    return MakeClassInfo<TTBSeparatorItem>(
        "TTBSeparatorItem", &TTBCustomItem::StaticClass(), [](TClassBuilder<TTBSeparatorItem>& b) {
            b.Ordinal("Blank", TypeBoolean(), &TTBSeparatorItem::Blank, &TTBSeparatorItem::SetBlank)
                .String("Hint", TypeString(), &TTBSeparatorItem::Hint, &TTBSeparatorItem::SetHint)
                .Ordinal("Visible", TypeBoolean(), &TTBSeparatorItem::Visible, &TTBSeparatorItem::SetVisible);
        });
}

TTBSeparatorItem::TTBSeparatorItem(TComponent* owner) : TTBCustomItem(owner)
{
    TTBItemStyle style = ItemStyle();
    style &= static_cast<TTBItemStyle>(~(StyleBit(TTBItemStyleFlag::Selectable) |
                                         StyleBit(TTBItemStyleFlag::RepaintOnSelect) |
                                         StyleBit(TTBItemStyleFlag::RepaintOnHover)));
    style |= StyleBit(TTBItemStyleFlag::IsSeparator) | StyleBit(TTBItemStyleFlag::ClickThrough);
    SetItemStyle(style);
}

void TTBSeparatorItem::SetBlank(bool value)
{
    if (value == FBlank)
        return;
    FBlank = value;
    NotifyChanged(false);
}

TTBItemViewerClass TTBSeparatorItem::GetItemViewerClass(TTBView*) const
{
    return &TTBSeparatorItemViewer::Create;
}
