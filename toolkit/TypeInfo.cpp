#include "toolkit/TypeInfo.h"
#include "toolkit/Exceptions.h"
#include "toolkit/Object.h"

#include <map>
#include <memory>
#include <string.h>

namespace {

bool NamesMatch(const std::string& a, const std::string& b)
{
    return _stricmp(a.c_str(), b.c_str()) == 0;
}

TTypeInfo MakeType(TTypeKind kind, const char* name, std::vector<std::string> names = {})
{
    TTypeInfo t;
    t.Kind = kind;
    t.Name = name;
    t.Names = std::move(names);
    return t;
}

[[noreturn]] void NoAccess(const TPropInfo& prop)
{
    throw EPropertyError("Property " + prop.Name + " cannot be accessed this way");
}

} // namespace

TTypeInfo MakeEnumType(const char* name, std::vector<std::string> names)
{
    return MakeType(TTypeKind::Enumeration, name, std::move(names));
}

TTypeInfo MakeSetType(const char* name, const TTypeInfo& element)
{
    TTypeInfo t = MakeType(TTypeKind::Set, name);
    t.CompType = &element;
    return t;
}

TTypeInfo MakeIntegerType(const char* name)
{
    return MakeType(TTypeKind::Integer, name);
}

int TTypeInfo::ValueOf(const std::string& name) const
{
    for (size_t i = 0; i < Names.size(); ++i)
        if (NamesMatch(Names[i], name))
            return static_cast<int>(i);
    return -1;
}

const TTypeInfo& TypeInteger()
{
    static const TTypeInfo t = MakeType(TTypeKind::Integer, "Integer");
    return t;
}
const TTypeInfo& TypeColor()
{
    static const TTypeInfo t = MakeType(TTypeKind::Integer, "TColor");
    return t;
}
const TTypeInfo& TypeInt64()
{
    static const TTypeInfo t = MakeType(TTypeKind::Int64, "Int64");
    return t;
}
const TTypeInfo& TypeChar()
{
    static const TTypeInfo t = MakeType(TTypeKind::Char, "Char");
    return t;
}
const TTypeInfo& TypeBoolean()
{
    static const TTypeInfo t = MakeType(TTypeKind::Enumeration, "Boolean", {"False", "True"});
    return t;
}
const TTypeInfo& TypeString()
{
    static const TTypeInfo t = MakeType(TTypeKind::String, "string");
    return t;
}
const TTypeInfo& TypeCaption()
{
    static const TTypeInfo t = MakeType(TTypeKind::String, "TCaption");
    return t;
}
const TTypeInfo& TypeDouble()
{
    static const TTypeInfo t = MakeType(TTypeKind::Float, "Double");
    return t;
}
const TTypeInfo& TypeVariant()
{
    static const TTypeInfo t = MakeType(TTypeKind::Variant, "Variant");
    return t;
}

const TTypeInfo& TypeClass(const TClassInfo& cls)
{
    // One descriptor per class, made on first use and kept for the program's life.
    static std::map<const TClassInfo*, std::unique_ptr<TTypeInfo>> types;
    auto& slot = types[&cls];
    if (!slot) {
        slot = std::make_unique<TTypeInfo>(MakeType(TTypeKind::Class, cls.Name().c_str()));
        slot->ClassType = &cls;
    }
    return *slot;
}

TClassInfo::TClassInfo(std::string name, const TClassInfo* parent) : FName(std::move(name)), FParent(parent) {}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const
{
    for (const TClassInfo* c = this; c; c = c->FParent)
        if (c == &other)
            return true;
    return false;
}

std::vector<const TPropInfo*> TClassInfo::Properties() const
{
    std::vector<const TPropInfo*> result = FParent ? FParent->Properties() : std::vector<const TPropInfo*>{};
    for (const TPropInfo& p : FOwnProps) {
        bool replaced = false;
        for (auto& existing : result)
            if (NamesMatch(existing->Name, p.Name)) {
                existing = &p;
                replaced = true;
                break;
            }
        if (!replaced)
            result.push_back(&p);
    }
    return result;
}

const TPropInfo* TClassInfo::FindProperty(const std::string& name) const
{
    for (const TClassInfo* c = this; c; c = c->FParent)
        for (const TPropInfo& p : c->FOwnProps)
            if (NamesMatch(p.Name, name))
                return &p;
    return nullptr;
}

int64_t GetOrdProp(const TObject* obj, const TPropInfo& prop)
{
    if (!prop.GetOrd)
        NoAccess(prop);
    return prop.GetOrd(obj);
}

void SetOrdProp(TObject* obj, const TPropInfo& prop, int64_t value)
{
    if (!prop.SetOrd)
        NoAccess(prop);
    prop.SetOrd(obj, value);
}

std::string GetStrProp(const TObject* obj, const TPropInfo& prop)
{
    if (!prop.GetStr)
        NoAccess(prop);
    return prop.GetStr(obj);
}

void SetStrProp(TObject* obj, const TPropInfo& prop, const std::string& value)
{
    if (!prop.SetStr)
        NoAccess(prop);
    prop.SetStr(obj, value);
}

double GetFloatProp(const TObject* obj, const TPropInfo& prop)
{
    if (!prop.GetFloat)
        NoAccess(prop);
    return prop.GetFloat(obj);
}

void SetFloatProp(TObject* obj, const TPropInfo& prop, double value)
{
    if (!prop.SetFloat)
        NoAccess(prop);
    prop.SetFloat(obj, value);
}

TObject* GetObjectProp(const TObject* obj, const TPropInfo& prop)
{
    if (!prop.GetObj)
        NoAccess(prop);
    return prop.GetObj(obj);
}

void SetObjectProp(TObject* obj, const TPropInfo& prop, TObject* value)
{
    if (!prop.SetObj)
        NoAccess(prop);
    prop.SetObj(obj, value);
}

bool IsStoredProp(const TObject* obj, const TPropInfo& prop)
{
    return !prop.Stored || prop.Stored(obj);
}
