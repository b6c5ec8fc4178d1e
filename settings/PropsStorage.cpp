#include "settings/PropsStorage.h"

#include <windows.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <map>

#include "toolkit/Collection.h"
#include "toolkit/Component.h"
#include "toolkit/Exceptions.h"
#include "toolkit/Forms.h"
#include "toolkit/OpenForms.h"
#include "toolkit/LocaleText.h"
#include "toolkit/StrUtils.h"
#include "toolkit/StringList.h"

namespace {

// The kinds whose text is written, and read back, even when it is empty: an
// empty name field must be able to overwrite a stored one.
bool KeepsEmptyText(TTypeKind kind)
{
    return kind == TTypeKind::String || kind == TTypeKind::WChar;
}

bool IsComponentType(const TPropInfo& prop)
{
    const TClassInfo* cls = prop.PropType->ClassType;
    return cls && cls->InheritsFrom(TComponent::StaticClass());
}

std::string LocaleDecimalSeparator()
{
    char buffer[8] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof buffer) <= 1)
        return ".";
    return buffer;
}

int SignificantDigits(TFloatType type)
{
    switch (type) {
    case TFloatType::Single: return 7;
    case TFloatType::Double: return 15;
    case TFloatType::Extended:
    case TFloatType::Comp: return 18;
    case TFloatType::Currency: return 19;
    }
    return 15;
}

// Whether a value fits the property's floating-point type; one that does
// not counts as text that did not convert.
bool FitsFloatType(TFloatType type, double value)
{
    switch (type) {
    case TFloatType::Single: return std::fabs(value) <= FLT_MAX;
    case TFloatType::Comp: return std::fabs(value) < 9.2233720368547758e18;
    case TFloatType::Currency: return std::fabs(value) < 922337203685477.0;
    default: return true;
    }
}

// An owner that has no name is named by its class, without the leading "T".
std::string OwnerLabel(const TComponent& owner)
{
    if (!owner.Name().empty())
        return owner.Name();
    std::string name = owner.ClassName();
    if (!name.empty() && name[0] == 'T')
        name.erase(0, 1);
    return name;
}

struct LessText {
    bool operator()(const std::string& a, const std::string& b) const { return CompareText(a, b) < 0; }
};

} // namespace

// ------------------------------------------------------------ TPropInfoList

TPropInfoList::TPropInfoList(const TObject* object) : TPropInfoList(object->ClassType()) {}

TPropInfoList::TPropInfoList(const TClassInfo& cls)
{
    for (const TPropInfo* prop : cls.Properties())
        if (prop->PropType && Handles(prop->Kind()))
            FList.push_back(prop);
    // Stable, so that names equal but for letter case keep their declared order.
    std::stable_sort(FList.begin(), FList.end(),
                     [](const TPropInfo* a, const TPropInfo* b) { return CompareText(a->Name, b->Name) < 0; });
}

const TPropInfo& TPropInfoList::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(FormatMessage1("List index out of bounds (%s)", IntToStr(index)));
    return *FList[static_cast<size_t>(index)];
}

const TPropInfo* TPropInfoList::Find(const std::string& name) const
{
    for (const TPropInfo* prop : FList)
        if (SameText(prop->Name, name))
            return prop;
    return nullptr;
}

bool TPropInfoList::Handles(TTypeKind kind)
{
    return kind != TTypeKind::Method;
}

// ------------------------------------------------------------ TPropsStorage

std::string TPropsStorage::ReadString(const std::string& section, const std::string& key,
                                      const std::string& defaultText)
{
    return OnReadString ? OnReadString(section, key, defaultText) : std::string();
}

void TPropsStorage::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    if (OnWriteString)
        OnWriteString(section, key, value);
}

void TPropsStorage::EraseSection(const std::string& section)
{
    if (OnEraseSection)
        OnEraseSection(section);
}

std::string TPropsStorage::KeyFor(const std::string& propName) const
{
    return FPrefix + propName;
}

std::unique_ptr<TPropsStorage> TPropsStorage::CreateWorker() const
{
    return std::make_unique<TPropsStorage>();
}

std::unique_ptr<TPropsStorage> TPropsStorage::WorkerFor(TObject* object, const std::string& section,
                                                        const std::string& prefix) const
{
    std::unique_ptr<TPropsStorage> worker = CreateWorker();
    worker->OnReadString = OnReadString;
    worker->OnWriteString = OnWriteString;
    worker->OnEraseSection = OnEraseSection;
    worker->FWindow = FWindow;
    worker->FSection = section;
    worker->FObject = object;
    worker->FPrefix = prefix;
    return worker;
}

// ---- listed passes

void TPropsStorage::SaveListedProperties(TComponent* window, TStrings& list)
{
    ListedPass(window, list, TPass::Save);
}

void TPropsStorage::LoadListedProperties(TComponent* window, TStrings& list)
{
    ListedPass(window, list, TPass::Load);
}

void TPropsStorage::ListedPass(TComponent* window, TStrings& list, TPass pass)
{
    RenameStoredList(list);

    // One property table per component, however many lines name it.
    std::map<std::string, TPropInfoList, LessText> tables;
    for (int i = 0; i < list.Count(); ++i)
        if (TComponent* component = StoredComponent(list, i))
            tables.try_emplace(component->Name(), component->ClassType());

    // The window is only ours for this pass: a worker that outlives it must
    // not resolve references against a window that may be gone.
    struct WindowScope {
        TPropsStorage& worker;
        ~WindowScope() { worker.FWindow = nullptr; }
    } scope{*this};
    FWindow = window;

    // Count is read on every turn: a restored value may run a handler that
    // frees a component, and its lines go with it.
    for (int i = 0; i < list.Count(); ++i) {
        auto item = StoredItem::Parse(list[i]);
        TComponent* component = StoredComponent(list, i);
        if (!item || !component)
            continue;
        FObject = component;
        FPrefix = component->Name();
        auto table = tables.find(FPrefix);
        if (table == tables.end())
            continue;
        FPrefix += "_";
        const TPropInfo* prop = table->second.Find(item->Property);
        if (!prop)
            continue;
        if (pass == TPass::Save)
            SaveOneProperty(*prop);
        else
            LoadOneProperty(*prop);
    }
}

// ---- one property

void TPropsStorage::SaveOneProperty(const TPropInfo& prop)
{
    std::string text = StoreValue(prop);
    if (!text.empty() || KeepsEmptyText(prop.Kind()))
        WriteString(FSection, KeyFor(prop.Name), Trim(text));
}

void TPropsStorage::LoadOneProperty(const TPropInfo& prop)
{
    try {
        const TTypeKind kind = prop.Kind();
        // A missing key answers the current value, so it changes nothing.
        std::string defaultText = kind == TTypeKind::Class ? std::string() : StoreValue(prop);
        std::string text;
        // An object other than a component reference is restored from its
        // own keys alone, and a reference that refers to nothing is not
        // restored at all: their keys would only be read to be dropped.
        bool ownKey = kind != TTypeKind::Class || (IsComponentType(prop) && GetObjectProp(FObject, prop));
        if (ownKey && (!defaultText.empty() || KeepsEmptyText(kind) || kind == TTypeKind::Class))
            text = Trim(ReadString(FSection, KeyFor(prop.Name), defaultText));
        LoadValue(prop, text);
    } catch (...) {
        // A value that a widget refuses must not keep the rest of the
        // settings from coming back: the property keeps what it has, and
        // the next one follows.
    }
}

void TPropsStorage::SaveProperties()
{
    for (const TPropInfo* prop : TPropInfoList(FObject))
        SaveOneProperty(*prop);
}

void TPropsStorage::LoadProperties()
{
    for (const TPropInfo* prop : TPropInfoList(FObject))
        LoadOneProperty(*prop);
}

std::string TPropsStorage::StoreValue(const TPropInfo& prop)
{
    switch (prop.Kind()) {
    case TTypeKind::Integer: return StoreIntegerProperty(prop);
    case TTypeKind::Int64: return StoreInt64Property(prop);
    case TTypeKind::Char:
    case TTypeKind::WChar: return StoreCharProperty(prop);
    case TTypeKind::Enumeration: return StoreEnumProperty(prop);
    case TTypeKind::Float: return StoreFloatProperty(prop);
    case TTypeKind::String: return StoreStringProperty(prop);
    case TTypeKind::Set: return StoreSetProperty(prop);
    case TTypeKind::Variant: return StoreVariantProperty(prop);
    case TTypeKind::Class: return StoreObjectProperty(prop);
    case TTypeKind::Method: break;
    }
    return std::string();
}

void TPropsStorage::LoadValue(const TPropInfo& prop, const std::string& text)
{
    switch (prop.Kind()) {
    case TTypeKind::Integer: LoadIntegerProperty(prop, text); break;
    case TTypeKind::Int64: LoadInt64Property(prop, text); break;
    case TTypeKind::Char:
    case TTypeKind::WChar: LoadCharProperty(prop, text); break;
    case TTypeKind::Enumeration: LoadEnumProperty(prop, text); break;
    case TTypeKind::Float: LoadFloatProperty(prop, text); break;
    case TTypeKind::String: LoadStringProperty(prop, text); break;
    case TTypeKind::Set: LoadSetProperty(prop, text); break;
    case TTypeKind::Variant: LoadVariantProperty(prop, text); break;
    case TTypeKind::Class: LoadObjectProperty(prop, text); break;
    case TTypeKind::Method: break;
    }
}

// ---- ordinal kinds

std::string TPropsStorage::StoreIntegerProperty(const TPropInfo& prop)
{
    // Colours with the system bit set come out negative: the signed 32-bit
    // value is what reads back.
    return IntToStr(static_cast<int32_t>(GetOrdProp(FObject, prop)));
}

void TPropsStorage::LoadIntegerProperty(const TPropInfo& prop, const std::string& text)
{
    int32_t value = 0;
    if (!TryStrToInt(text, value))
        value = 0;
    SetOrdProp(FObject, prop, value);
}

std::string TPropsStorage::StoreInt64Property(const TPropInfo& prop)
{
    return IntToStr(GetOrdProp(FObject, prop));
}

void TPropsStorage::LoadInt64Property(const TPropInfo& prop, const std::string& text)
{
    int64_t value = 0;
    if (!TryStrToInt64(text, value))
        value = 0;
    SetOrdProp(FObject, prop, value);
}

std::string TPropsStorage::StoreCharProperty(const TPropInfo& prop)
{
    int64_t code = GetOrdProp(FObject, prop);
    if (prop.Kind() == TTypeKind::Char)
        return std::string(1, static_cast<char>(code));
    // A wide character is written in the program's code page, as all text is.
    wchar_t wide = static_cast<wchar_t>(code);
    char buffer[8] = {};
    int length = WideCharToMultiByte(CP_ACP, 0, &wide, 1, buffer, sizeof buffer, nullptr, nullptr);
    return std::string(buffer, static_cast<size_t>(std::max(length, 0)));
}

void TPropsStorage::LoadCharProperty(const TPropInfo& prop, const std::string& text)
{
    if (text.empty())
        return;
    if (prop.Kind() == TTypeKind::Char) {
        SetOrdProp(FObject, prop, static_cast<unsigned char>(text[0]));
        return;
    }
    wchar_t wide[2] = {};
    // The first character may take two bytes in a double-byte code page.
    size_t bytes = IsDBCSLeadByte(static_cast<BYTE>(text[0])) && text.size() > 1 ? 2 : 1;
    if (MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(bytes), wide, 2) > 0)
        SetOrdProp(FObject, prop, static_cast<uint16_t>(wide[0]));
}

std::string TPropsStorage::StoreEnumProperty(const TPropInfo& prop)
{
    int64_t value = GetOrdProp(FObject, prop);
    const auto& names = prop.PropType->Names;
    if (value < 0 || value >= static_cast<int64_t>(names.size()))
        return std::string();
    return names[static_cast<size_t>(value)];
}

void TPropsStorage::LoadEnumProperty(const TPropInfo& prop, const std::string& text)
{
    int value = prop.PropType->ValueOf(text);
    if (value >= 0)
        SetOrdProp(FObject, prop, value);
}

std::string TPropsStorage::StoreSetProperty(const TPropInfo& prop)
{
    auto bits = static_cast<TSetBits>(GetOrdProp(FObject, prop));
    const TTypeInfo* element = prop.PropType->CompType;
    std::string text = "[";
    bool first = true;
    for (int ordinal = 0; element && ordinal < 32 && ordinal < static_cast<int>(element->Names.size()); ++ordinal) {
        if (!(bits & (TSetBits{1} << ordinal)))
            continue;
        if (!first)
            text += ",";
        text += element->Names[static_cast<size_t>(ordinal)];
        first = false;
    }
    return text + "]";
}

void TPropsStorage::LoadSetProperty(const TPropInfo& prop, const std::string& text)
{
    const TTypeInfo* element = prop.PropType->CompType;
    TSetBits bits = 0;
    size_t at = 0;
    auto separator = [](char c) {
        return static_cast<unsigned char>(c) <= ' ' || c == ',' || c == '[' || c == ']';
    };
    while (at < text.size()) {
        while (at < text.size() && separator(text[at]))
            ++at;
        size_t end = at;
        while (end < text.size() && !separator(text[end]))
            ++end;
        if (end > at && element) {
            int ordinal = element->ValueOf(text.substr(at, end - at));
            if (ordinal >= 0 && ordinal <= 31)
                bits |= TSetBits{1} << ordinal;
        }
        at = end;
    }
    SetOrdProp(FObject, prop, bits);
}

// ---- floating point, strings, variants

std::string TPropsStorage::StoreFloatProperty(const TPropInfo& prop)
{
    const TFloatType type = prop.PropType->FloatType;
    double value = GetFloatProp(FObject, prop);
    if (type == TFloatType::Single)
        value = static_cast<float>(value);
    return FormatGeneral(value, SignificantDigits(type));
}

void TPropsStorage::LoadFloatProperty(const TPropInfo& prop, const std::string& text)
{
    // Written with "." whatever the locale, read with the locale's separator.
    std::string local = text;
    const std::string separator = LocaleDecimalSeparator();
    if (separator != ".") {
        std::string replaced;
        for (char c : local)
            replaced += c == '.' ? separator : std::string(1, c);
        local = replaced;
    }
    double value = 0;
    if (TryStrToFloat(local, value) && FitsFloatType(prop.PropType->FloatType, value))
        SetFloatProp(FObject, prop, value);
}

std::string TPropsStorage::StoreStringProperty(const TPropInfo& prop)
{
    return GetStrProp(FObject, prop);
}

void TPropsStorage::LoadStringProperty(const TPropInfo& prop, const std::string& text)
{
    SetStrProp(FObject, prop, text);
}

std::string TPropsStorage::StoreVariantProperty(const TPropInfo& prop)
{
    return GetStrProp(FObject, prop);
}

void TPropsStorage::LoadVariantProperty(const TPropInfo& prop, const std::string& text)
{
    SetStrProp(FObject, prop, text);
}

// ---- objects

std::string TPropsStorage::StoreObjectProperty(const TPropInfo& prop)
{
    if (IsComponentType(prop))
        return StoreComponentProperty(prop);
    TObject* object = GetObjectProp(FObject, prop);
    if (!object)
        return std::string();
    if (auto* lines = dynamic_cast<TStrings*>(object))
        StoreStringsProperty(prop, *lines);
    else if (auto* collection = dynamic_cast<TCollection*>(object))
        StoreCollectionProperty(prop, *collection);
    StoreNestedObject(object, FSection, KeyFor(prop.Name));
    return std::string();
}

void TPropsStorage::LoadObjectProperty(const TPropInfo& prop, const std::string& text)
{
    if (IsComponentType(prop)) {
        LoadComponentProperty(prop, text);
        return;
    }
    TObject* object = GetObjectProp(FObject, prop);
    if (!object)
        return;
    if (auto* lines = dynamic_cast<TStrings*>(object))
        LoadStringsProperty(prop, *lines);
    else if (auto* collection = dynamic_cast<TCollection*>(object))
        LoadCollectionProperty(prop, *collection);
    LoadNestedObject(object, FSection, KeyFor(prop.Name));
}

std::string TPropsStorage::StoreComponentProperty(const TPropInfo& prop)
{
    auto* component = dynamic_cast<TComponent*>(GetObjectProp(FObject, prop));
    if (!component)
        return std::string();
    // A component of another window is named through that window, so that
    // the reference can be found again from here.
    TComponent* owner = component->Owner();
    if (owner && owner != FWindow)
        return OwnerLabel(*owner) + "." + component->Name();
    return component->Name();
}

void TPropsStorage::LoadComponentProperty(const TPropInfo& prop, const std::string& text)
{
    // A reference that is not set now was not meant to be set by a file.
    if (!GetObjectProp(FObject, prop) || text.empty())
        return;
    TComponent* target = nullptr;
    if (!SameText(text, "(null)")) {
        auto dot = text.find('.');
        if (dot != std::string::npos) {
            TComponent* window = FindOpenForm(text.substr(0, dot));
            if (!window)
                return;
            target = window->FindComponent(text.substr(dot + 1));
        } else if (FWindow) {
            target = FWindow->FindComponent(text);
        }
    }
    if (!target)
        target = ReferenceFallback(prop);
    SetObjectProp(FObject, prop, target);
}

TComponent* TPropsStorage::ReferenceFallback(const TPropInfo& prop) const
{
    // An object that must always refer to something (a bar that cannot be
    // left without a dock) names what it falls back to.
    if (prop.Fallback.empty())
        return nullptr;
    const TPropInfo* fallback = FObject->ClassType().FindProperty(prop.Fallback);
    if (!fallback || fallback->Kind() != TTypeKind::Class || !fallback->GetObj)
        return nullptr;
    return dynamic_cast<TComponent*>(GetObjectProp(FObject, *fallback));
}

void TPropsStorage::StoreStringsProperty(const TPropInfo& prop, TStrings& lines)
{
    const std::string section = FSection + "." + KeyFor(prop.Name);
    EraseSection(section);
    const int count = lines.Count();
    if (count == 0)
        return;
    WriteString(section, "Count", IntToStr(count));
    for (int i = 0; i < count; ++i)
        WriteString(section, "Item" + IntToStr(i), lines[i]);
}

void TPropsStorage::LoadStringsProperty(const TPropInfo& prop, TStrings& lines)
{
    const std::string section = FSection + "." + KeyFor(prop.Name);
    int32_t count = 0;
    if (!TryStrToInt(Trim(ReadString(section, "Count", "0")), count) || count > MaxStoredCount)
        count = 0;
    if (count <= 0)
        return;
    TStringList loaded;
    for (int i = 0; i < count; ++i)
        loaded.Add(ReadString(section, "Item" + IntToStr(i), ""));
    // Through the owner's setter where there is one, so the owner hears of it.
    if (prop.SetObj)
        SetObjectProp(FObject, prop, &loaded);
    else
        lines.Assign(&loaded);
}

void TPropsStorage::StoreCollectionProperty(const TPropInfo& prop, TCollection& collection)
{
    const std::string key = KeyFor(prop.Name);
    const std::string section = FSection + "." + key;
    EraseSection(section);
    WriteString(FSection, key + ".Count", IntToStr(collection.Count()));
    for (int i = 0; i < collection.Count(); ++i)
        StoreNestedObject(collection.Items(i), section, "Item" + IntToStr(i) + "_");
}

void TPropsStorage::LoadCollectionProperty(const TPropInfo& prop, TCollection& collection)
{
    const std::string key = KeyFor(prop.Name);
    const std::string section = FSection + "." + key;
    const int current = collection.Count();
    int32_t count = current;
    if (!TryStrToInt(Trim(ReadString(FSection, key + ".Count", IntToStr(current))), count) || count > MaxStoredCount)
        count = current;

    // One change notice for the whole restore, sent also when it fails; not
    // from a destructor, since the notice itself may raise.
    collection.BeginUpdate();
    try {
        if (count != current) {
            collection.Clear();
            for (int i = 0; i < count; ++i)
                collection.Add();
        }
        for (int i = 0; i < collection.Count(); ++i)
            LoadNestedObject(collection.Items(i), section, "Item" + IntToStr(i) + "_");
    } catch (...) {
        collection.EndUpdate();
        throw;
    }
    collection.EndUpdate();
}

void TPropsStorage::StoreNestedObject(TObject* object, const std::string& section, const std::string& prefix)
{
    WorkerFor(object, section, prefix)->SaveProperties();
}

void TPropsStorage::LoadNestedObject(TObject* object, const std::string& section, const std::string& prefix)
{
    WorkerFor(object, section, prefix)->LoadProperties();
}
