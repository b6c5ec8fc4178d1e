#include "toolbar/items/TBRootItem.h"

const TClassInfo& TTBRootItem::StaticClass()
{
    return MakeClassInfo<TTBRootItem>("TTBRootItem", &TTBCustomItem::StaticClass(), [](auto&) {});
}
