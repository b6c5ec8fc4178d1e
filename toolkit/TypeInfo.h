#pragma once
// Published properties: every class lists its settable properties once, each
// with its kind, getter and setter, so that code which knows nothing of the
// class (the settings store) can read and write them by name.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TObject;
class TClassInfo;

enum class TTypeKind { Integer, Int64, Char, WChar, Enumeration, Float, String, Set, Class, Variant, Method };
enum class TFloatType { Single, Double, Extended, Comp, Currency };

// Describes the type of one property. Enumeration types carry their value
// names in ordinal order; set types carry their element enumeration; class
// types carry the class.
struct TTypeInfo {
    TTypeKind Kind = TTypeKind::Integer;
    std::string Name;
    std::vector<std::string> Names;
    const TTypeInfo* CompType = nullptr;
    const TClassInfo* ClassType = nullptr;
    TFloatType FloatType = TFloatType::Double;

    int MinValue() const { return 0; }
    int MaxValue() const { return static_cast<int>(Names.size()) - 1; }
    // The ordinal whose name equals `name` ignoring case, from the lowest
    // value up; -1 when none does.
    int ValueOf(const std::string& name) const;
};

// Descriptors of a program's own types: an enumeration with its value names
// in ordinal order, a set over such an enumeration, or an integer type under
// a name of its own.
TTypeInfo MakeEnumType(const char* name, std::vector<std::string> names);
TTypeInfo MakeSetType(const char* name, const TTypeInfo& element);
TTypeInfo MakeIntegerType(const char* name);

// Type descriptors shared across the program.
const TTypeInfo& TypeInteger();   // "Integer"
const TTypeInfo& TypeColor();     // "TColor", an integer
const TTypeInfo& TypeInt64();     // "Int64"
const TTypeInfo& TypeChar();      // "Char"
const TTypeInfo& TypeBoolean();   // "Boolean": False, True
const TTypeInfo& TypeString();    // "string"
const TTypeInfo& TypeCaption();   // "TCaption", a string
const TTypeInfo& TypeDouble();    // "Double"
const TTypeInfo& TypeVariant();   // "Variant" (held as text)
const TTypeInfo& TypeClass(const TClassInfo& cls);

struct TPropInfo {
    std::string Name;
    const TTypeInfo* PropType = nullptr;
    // Ordinal kinds (integer, enumeration, set, character, 64-bit) go through
    // the ordinal pair; strings and variants through the string pair; floats
    // through the float pair; objects through the object pair.
    std::function<int64_t(const TObject*)> GetOrd;
    std::function<void(TObject*, int64_t)> SetOrd;
    std::function<std::string(const TObject*)> GetStr;
    std::function<void(TObject*, const std::string&)> SetStr;
    std::function<double(const TObject*)> GetFloat;
    std::function<void(TObject*, double)> SetFloat;
    std::function<TObject*(const TObject*)> GetObj;
    std::function<void(TObject*, TObject*)> SetObj;
    // For a component reference that must not be left empty: the property
    // whose value stands in when something (a settings file) names nothing.
    std::string Fallback;
    // Whether the current value is written when the object is streamed;
    // empty: always. False where something else supplies the value (an
    // item's caption that its action gives).
    std::function<bool(const TObject*)> Stored;

    TTypeKind Kind() const { return PropType->Kind; }
};

class TClassInfo {
public:
    TClassInfo(std::string name, const TClassInfo* parent);
    TClassInfo(const TClassInfo&) = delete;
    TClassInfo& operator=(const TClassInfo&) = delete;

    const std::string& Name() const { return FName; }
    const TClassInfo* Parent() const { return FParent; }
    bool InheritsFrom(const TClassInfo& other) const;

    // Every published property of the class and its ancestors, ancestors'
    // first, a redeclared name replacing the ancestor's entry in place.
    std::vector<const TPropInfo*> Properties() const;
    // The property of that name, ignoring letter case; nullptr if none.
    const TPropInfo* FindProperty(const std::string& name) const;

    void AddProperty(TPropInfo prop) { FOwnProps.push_back(std::move(prop)); }
    TPropInfo& LastProperty() { return FOwnProps.back(); }

private:
    std::string FName;
    const TClassInfo* FParent;
    std::vector<TPropInfo> FOwnProps;
};

// Typed access by descriptor, the only way the settings store touches a
// widget. Each raises EPropertyError when the descriptor lacks that access.
int64_t GetOrdProp(const TObject* obj, const TPropInfo& prop);
void SetOrdProp(TObject* obj, const TPropInfo& prop, int64_t value);
std::string GetStrProp(const TObject* obj, const TPropInfo& prop);
void SetStrProp(TObject* obj, const TPropInfo& prop, const std::string& value);
double GetFloatProp(const TObject* obj, const TPropInfo& prop);
void SetFloatProp(TObject* obj, const TPropInfo& prop, double value);
TObject* GetObjectProp(const TObject* obj, const TPropInfo& prop);
void SetObjectProp(TObject* obj, const TPropInfo& prop, TObject* value);

// Whether the object's value of the property is written (see TPropInfo::Stored).
bool IsStoredProp(const TObject* obj, const TPropInfo& prop);

// Set values are bit masks over the ordinals of the element enumeration
// (ordinals 0 to 31).
using TSetBits = uint32_t;

// Helper for declaring properties with typed member functions. C is the
// class being described; getters are const members, setters take the value.
template <class C>
class TClassBuilder {
public:
    explicit TClassBuilder(TClassInfo& info) : FInfo(info) {}

    // Integer-like, Boolean, enumeration and set properties: the getter's
    // result converts to an integer (enums by their ordinal).
    template <class BG, class BS, class G, class S>
    TClassBuilder& Ordinal(const std::string& name, const TTypeInfo& type, G (BG::*get)() const, void (BS::*set)(S))
    {
        TPropInfo p;
        p.Name = name;
        p.PropType = &type;
        p.GetOrd = [get](const TObject* o) { return static_cast<int64_t>((static_cast<const BG*>(static_cast<const C*>(o))->*get)()); };
        p.SetOrd = [set](TObject* o, int64_t v) {
            using V = std::remove_cvref_t<S>;
            (static_cast<BS*>(static_cast<C*>(o))->*set)(static_cast<V>(v));
        };
        FInfo.AddProperty(std::move(p));
        return *this;
    }

    template <class BG, class BS, class G, class S>
    TClassBuilder& String(const std::string& name, const TTypeInfo& type, G (BG::*get)() const, void (BS::*set)(S))
    {
        TPropInfo p;
        p.Name = name;
        p.PropType = &type;
        p.GetStr = [get](const TObject* o) { return std::string((static_cast<const BG*>(static_cast<const C*>(o))->*get)()); };
        p.SetStr = [set](TObject* o, const std::string& v) { (static_cast<BS*>(static_cast<C*>(o))->*set)(v); };
        FInfo.AddProperty(std::move(p));
        return *this;
    }

    template <class BG, class BS, class G, class S>
    TClassBuilder& Float(const std::string& name, const TTypeInfo& type, G (BG::*get)() const, void (BS::*set)(S))
    {
        TPropInfo p;
        p.Name = name;
        p.PropType = &type;
        p.GetFloat = [get](const TObject* o) { return static_cast<double>((static_cast<const BG*>(static_cast<const C*>(o))->*get)()); };
        p.SetFloat = [set](TObject* o, double v) { (static_cast<BS*>(static_cast<C*>(o))->*set)(v); };
        FInfo.AddProperty(std::move(p));
        return *this;
    }

    // Object-valued properties: owned sub-objects such as a font (the setter
    // assigns from the given object) or references to other components (the
    // setter takes the component). The value must be of class T or nullptr.
    template <class T, class BG, class BS, class S>
    TClassBuilder& Object(const std::string& name, T* (BG::*get)() const, void (BS::*set)(S*))
    {
        TPropInfo p;
        p.Name = name;
        p.PropType = &TypeClass(T::StaticClass());
        p.GetObj = [get](const TObject* o) -> TObject* { return (static_cast<const BG*>(static_cast<const C*>(o))->*get)(); };
        p.SetObj = [set](TObject* o, TObject* v) { (static_cast<BS*>(static_cast<C*>(o))->*set)(CheckedCast<S>(v)); };
        FInfo.AddProperty(std::move(p));
        return *this;
    }

    // The property just declared falls back to the named one when it would
    // be left without a value (see TPropInfo::Fallback).
    TClassBuilder& FallsBackTo(const std::string& name)
    {
        FInfo.LastProperty().Fallback = name;
        return *this;
    }

    // The property just declared is written only while the predicate holds.
    template <class BP>
    TClassBuilder& StoredWhen(bool (BP::*stored)() const)
    {
        FInfo.LastProperty().Stored = [stored](const TObject* o) {
            return (static_cast<const BP*>(static_cast<const C*>(o))->*stored)();
        };
        return *this;
    }

private:
    template <class T>
    static T* CheckedCast(TObject* v);

    TClassInfo& FInfo;
};

// Declares the class information of a class with published properties.
// Put QV_CLASS(TName, TBase) in the public part of the class and define
// TName::StaticClass() in its source with MakeClassInfo.
#define QV_CLASS(Self, Base)                                                                                 \
    static const TClassInfo& StaticClass();                                                                 \
    const TClassInfo& ClassType() const override { return StaticClass(); }

template <class C, class Describe>
const TClassInfo& MakeClassInfo(const char* name, const TClassInfo* parent, Describe describe)
{
    // Built once, on first use; lives for the whole program.
    static TClassInfo* info = [&] {
        auto* i = new TClassInfo(name, parent);
        TClassBuilder<C> b(*i);
        describe(b);
        return i;
    }();
    return *info;
}
