#include "toolkit/Object.h"

const TClassInfo& TObject::StaticClass()
{
    static const TClassInfo info("TObject", nullptr);
    return info;
}

const TClassInfo& TPersistent::StaticClass()
{
    return MakeClassInfo<TPersistent>("TPersistent", &TObject::StaticClass(), [](auto&) {});
}

void TPersistent::Assign(const TPersistent* source)
{
    std::string from = source ? source->ClassName() : std::string("nil");
    throw EInvalidOperation("Cannot assign a " + from + " to a " + ClassName());
}
