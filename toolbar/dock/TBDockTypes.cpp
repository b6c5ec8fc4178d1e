#include "toolbar/dock/TBDockTypes.h"

const TTypeInfo& TypeDockPosition()
{
    static const TTypeInfo t = MakeEnumType("TTBDockPosition", {"dpTop", "dpBottom", "dpLeft", "dpRight"});
    return t;
}

const TTypeInfo& TypeDockableTo()
{
    static const TTypeInfo t = MakeSetType("TTBDockableTo", TypeDockPosition());
    return t;
}

const TTypeInfo& TypeDockBoundLines()
{
    static const TTypeInfo element = MakeEnumType("TTBDockBoundLine", {"blTop", "blBottom", "blLeft", "blRight"});
    static const TTypeInfo t = MakeSetType("TTBDockBoundLines", element);
    return t;
}

const TTypeInfo& TypeShrinkMode()
{
    static const TTypeInfo t = MakeEnumType("TTBShrinkMode", {"tbsmNone", "tbsmWrap", "tbsmChevron"});
    return t;
}

const TTypeInfo& TypeDockMode()
{
    static const TTypeInfo t =
        MakeEnumType("TTBDockMode", {"dmCanFloat", "dmCannotFloat", "dmCannotFloatOrChangeDocks"});
    return t;
}

const TTypeInfo& TypeDragHandleStyle()
{
    static const TTypeInfo t = MakeEnumType("TTBDragHandleStyle", {"dhDouble", "dhNone", "dhSingle"});
    return t;
}

const TTypeInfo& TypeFloatingMode()
{
    static const TTypeInfo t = MakeEnumType("TTBFloatingMode", {"fmOnTopOfParentForm", "fmOnTopOfAllForms"});
    return t;
}

const TTypeInfo& TypeBarBorderStyle()
{
    static const TTypeInfo t = MakeEnumType("TBorderStyle", {"bsNone", "bsSingle"});
    return t;
}
