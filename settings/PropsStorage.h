#pragma once
// Published properties turned into settings keys and back, by name: the
// worker of one save or restore pass of the form storage. It knows nothing
// of INI files; it reads and writes text through three callbacks, so the
// storage decides where the text goes.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "settings/StoredList.h"
#include "toolkit/TypeInfo.h"

class TComponent;
class TObject;
class TStrings;
class TCollection;

// The published properties of an object's class that the store can handle
// (every kind but events), sorted by name with letter case ignored. Built
// from the class's type information and kept for one pass only.
class TPropInfoList {
public:
    explicit TPropInfoList(const TObject* object);
    explicit TPropInfoList(const TClassInfo& cls);

    int Count() const { return static_cast<int>(FList.size()); }
    // Raises EListError for an index outside 0 .. Count-1.
    const TPropInfo& Items(int index) const;
    // The first property of that name, ignoring letter case; nullptr if none.
    const TPropInfo* Find(const std::string& name) const;
    // Whether the store can handle properties of this kind.
    static bool Handles(TTypeKind kind);

    auto begin() const { return FList.begin(); }
    auto end() const { return FList.end(); }

private:
    std::vector<const TPropInfo*> FList;
};

// Reads a text (section, key, default); a missing key answers the default.
using TReadStrEvent = std::function<std::string(const std::string&, const std::string&, const std::string&)>;
// Writes a text (section, key, value).
using TWriteStrEvent = std::function<void(const std::string&, const std::string&, const std::string&)>;
// Removes a whole section.
using TEraseSectEvent = std::function<void(const std::string&)>;

class TPropsStorage {
public:
    TPropsStorage() = default;
    TPropsStorage(const TPropsStorage&) = delete;
    TPropsStorage& operator=(const TPropsStorage&) = delete;
    virtual ~TPropsStorage() = default;

    // The object whose properties SaveOneProperty and LoadOneProperty handle.
    TObject* Object() const { return FObject; }
    void SetObject(TObject* object) { FObject = object; }
    // Put before every property name to make its key.
    const std::string& Prefix() const { return FPrefix; }
    void SetPrefix(const std::string& prefix) { FPrefix = prefix; }
    const std::string& Section() const { return FSection; }
    void SetSection(const std::string& section) { FSection = section; }
    // The window that owns the listed components, set only while a listed
    // pass runs; component references are named relative to it.
    TComponent* Window() const { return FWindow; }

    TReadStrEvent OnReadString;
    TWriteStrEvent OnWriteString;
    TEraseSectEvent OnEraseSection;

    // One pass over a stored-property list whose lines are bound to their
    // components (ResolveStoredList). Saving stops at the first error and
    // passes it on; loading discards the error of each single property.
    void SaveListedProperties(TComponent* window, TStrings& list);
    void LoadListedProperties(TComponent* window, TStrings& list);

    // Saves or restores one property of Object() under KeyFor its name.
    void SaveOneProperty(const TPropInfo& prop);
    void LoadOneProperty(const TPropInfo& prop);
    // Every handled property of Object(), in name order.
    void SaveProperties();
    void LoadProperties();

    // The callbacks' way in; a derived worker may store elsewhere. Without a
    // callback, reading answers an empty text and the others do nothing.
    virtual std::string ReadString(const std::string& section, const std::string& key, const std::string& defaultText);
    virtual void WriteString(const std::string& section, const std::string& key, const std::string& value);
    virtual void EraseSection(const std::string& section);
    // Prefix followed directly by the property name, as declared.
    virtual std::string KeyFor(const std::string& propName) const;
    // A fresh worker of the same class for a nested object. A derived worker
    // makes one of its own kind; the caller hands it the callbacks, window,
    // section, object and prefix.
    virtual std::unique_ptr<TPropsStorage> CreateWorker() const;

    // The text of a property's current value by its kind: what a save
    // writes and what a restore reads with as its default. Objects other
    // than component references have no text of their own: for them this
    // writes their keys (a string list's section, a collection's items, a
    // font's seven keys) and answers an empty text.
    std::string StoreValue(const TPropInfo& prop);
    // Applies a text to a property by its kind; texts that do not convert
    // leave the value as the rules for that kind say.
    void LoadValue(const TPropInfo& prop, const std::string& text);

    // A string list or a collection whose stored count is above this is
    // taken as a damaged file and left alone: each line costs a read, and
    // each item an object.
    static constexpr int MaxStoredCount = 10000;

protected:

    // Per kind: value to text, and text to value.
    std::string StoreIntegerProperty(const TPropInfo& prop);
    std::string StoreInt64Property(const TPropInfo& prop);
    std::string StoreCharProperty(const TPropInfo& prop);
    std::string StoreEnumProperty(const TPropInfo& prop);
    std::string StoreFloatProperty(const TPropInfo& prop);
    std::string StoreStringProperty(const TPropInfo& prop);
    std::string StoreSetProperty(const TPropInfo& prop);
    std::string StoreVariantProperty(const TPropInfo& prop);
    std::string StoreObjectProperty(const TPropInfo& prop);

    void LoadIntegerProperty(const TPropInfo& prop, const std::string& text);
    void LoadInt64Property(const TPropInfo& prop, const std::string& text);
    void LoadCharProperty(const TPropInfo& prop, const std::string& text);
    void LoadEnumProperty(const TPropInfo& prop, const std::string& text);
    void LoadFloatProperty(const TPropInfo& prop, const std::string& text);
    void LoadStringProperty(const TPropInfo& prop, const std::string& text);
    void LoadSetProperty(const TPropInfo& prop, const std::string& text);
    void LoadVariantProperty(const TPropInfo& prop, const std::string& text);
    void LoadObjectProperty(const TPropInfo& prop, const std::string& text);

    // Object-valued properties by the object's class.
    std::string StoreComponentProperty(const TPropInfo& prop);
    // A text that names no component ("(null)", an unknown name) clears the
    // reference, unless the property names a fallback property (as a bar's
    // CurrentDock names its DefaultDock): that one's value is taken instead.
    void LoadComponentProperty(const TPropInfo& prop, const std::string& text);
    TComponent* ReferenceFallback(const TPropInfo& prop) const;
    void StoreStringsProperty(const TPropInfo& prop, TStrings& lines);
    void LoadStringsProperty(const TPropInfo& prop, TStrings& lines);
    void StoreCollectionProperty(const TPropInfo& prop, TCollection& collection);
    void LoadCollectionProperty(const TPropInfo& prop, TCollection& collection);
    // The sub-object's own properties, with the prefix extended by `prefix`.
    void StoreNestedObject(TObject* object, const std::string& section, const std::string& prefix);
    void LoadNestedObject(TObject* object, const std::string& section, const std::string& prefix);

private:
    enum class TPass { Save, Load };
    void ListedPass(TComponent* window, TStrings& list, TPass pass);
    std::unique_ptr<TPropsStorage> WorkerFor(TObject* object, const std::string& section,
                                             const std::string& prefix) const;

    TObject* FObject = nullptr;
    std::string FPrefix;
    std::string FSection;
    TComponent* FWindow = nullptr;
};
