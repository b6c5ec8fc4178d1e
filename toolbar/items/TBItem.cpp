#include "toolbar/items/TBItem.h"

const TTypeInfo& TypeItemOptions()
{
    static const TTypeInfo element = MakeEnumType(
        "TTBItemOption", {"tboDefault", "tboDropdownArrow", "tboImageAboveCaption", "tboLongHintInMenuOnly",
                          "tboNoRotation", "tboSameWidth", "tboShowHint", "tboToolbarStyle", "tboToolbarSize"});
    static const TTypeInfo t = MakeSetType("TTBItemOptions", element);
    return t;
}

const TTypeInfo& TypeItemDisplayMode()
{
    static const TTypeInfo t =
        MakeEnumType("TTBItemDisplayMode", {"nbdmDefault", "nbdmTextOnly", "nbdmTextOnlyInMenus", "nbdmImageAndText"});
    return t;
}

const TClassInfo& TTBItem::StaticClass()
{
    return MakeClassInfo<TTBItem>("TTBItem", &TTBCustomItem::StaticClass(), [](TClassBuilder<TTBItem>& b) {
        using P = TActionProperty;
        b.Object("Action", &TTBItem::Action, &TTBItem::SetAction)
            .Ordinal("AutoCheck", TypeBoolean(), &TTBItem::AutoCheck, &TTBItem::SetAutoCheck)
            .String("Caption", TypeCaption(), &TTBItem::Caption, &TTBItem::SetCaption)
            .StoredWhen(&TTBItem::StoredUnlessSupplied<P::Caption>)
            .Ordinal("Checked", TypeBoolean(), &TTBItem::Checked, &TTBItem::SetChecked)
            .StoredWhen(&TTBItem::StoredUnlessSupplied<P::Checked>)
            .Ordinal("DisplayMode", TypeItemDisplayMode(), &TTBItem::DisplayMode, &TTBItem::SetDisplayMode)
            .Ordinal("Enabled", TypeBoolean(), &TTBItem::Enabled, &TTBItem::SetEnabled)
            .StoredWhen(&TTBItem::StoredUnlessSupplied<P::Enabled>)
            .Ordinal("GroupIndex", TypeInteger(), &TTBItem::GroupIndex, &TTBItem::SetGroupIndex)
            .Ordinal("HelpContext", TypeInteger(), &TTBItem::HelpContext, &TTBItem::SetHelpContext)
            .StoredWhen(&TTBItem::StoredUnlessSupplied<P::HelpContext>)
            .String("Hint", TypeString(), &TTBItem::Hint, &TTBItem::SetHint)
            .StoredWhen(&TTBItem::StoredUnlessSupplied<P::Hint>)
            .Ordinal("ImageIndex", TypeInteger(), &TTBItem::ImageIndex, &TTBItem::SetImageIndex)
            .StoredWhen(&TTBItem::StoredUnlessSupplied<P::ImageIndex>)
            .Object("Images", &TTBItem::Images, &TTBItem::SetImages)
            .Ordinal("InheritOptions", TypeBoolean(), &TTBItem::InheritOptions, &TTBItem::SetInheritOptions)
            .Ordinal("MaskOptions", TypeItemOptions(), &TTBItem::MaskOptions, &TTBItem::SetMaskOptions)
            .Ordinal("Options", TypeItemOptions(), &TTBItem::Options, &TTBItem::SetOptions)
            .Ordinal("ShortCut", TypeInteger(), &TTBItem::ShortCut, &TTBItem::SetShortCut)
            .StoredWhen(&TTBItem::StoredUnlessSupplied<P::ShortCut>)
            .Ordinal("Visible", TypeBoolean(), &TTBItem::Visible, &TTBItem::SetVisible)
            .StoredWhen(&TTBItem::StoredUnlessSupplied<P::Visible>);
    });
}
