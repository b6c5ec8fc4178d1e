#pragma once
// Lists of text lines: the stored-property list of the settings store, the
// key and section lists the INI file fills, and name=value tables.
#include <functional>
#include <string>
#include <vector>

#include "toolkit/Object.h"

// Raised when a sorted list that forbids duplicates is given one; other
// collections that refuse duplicate names use the same message.
inline constexpr const char* SDuplicateString = "String list does not allow duplicates";

// The common interface. A line may carry an object alongside its text (the
// settings store binds each stored-property line to its widget); the list
// never owns or frees these objects. A persistent, so that a string list can
// be a published object property.
class TStrings : public TPersistent {
public:
    QV_CLASS(TStrings, TPersistent)

    virtual int Count() const = 0;
    virtual std::string Get(int index) const = 0;
    virtual void Put(int index, const std::string& text) = 0;
    virtual TObject* Objects(int index) const = 0;
    virtual void PutObject(int index, TObject* object) = 0;
    virtual void InsertObject(int index, const std::string& text, TObject* object) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;

    std::string operator[](int index) const { return Get(index); }

    // Appends (or, in a sorted list, inserts in order) and answers the index.
    virtual int AddObject(const std::string& text, TObject* object);
    int Add(const std::string& text) { return AddObject(text, nullptr); }
    void Insert(int index, const std::string& text) { InsertObject(index, text, nullptr); }

    // Letter case is ignored; -1 when absent.
    virtual int IndexOf(const std::string& text) const;

    // Lines of the form name=value. A line without "=" has no name.
    int IndexOfName(const std::string& name) const;
    std::string Names(int index) const;
    std::string ValueFromIndex(int index) const;
    std::string Values(const std::string& name) const;
    // Replaces the line of that name, or appends one; an empty value removes
    // the line instead, so an empty value and a missing one are the same.
    void SetValues(const std::string& name, const std::string& value);

    // Every line followed by CR LF, so that a list ending in an empty line
    // survives a round trip through Text.
    std::string Text() const;
    // Splits at CR LF, LF or a lone CR; a break at the very end adds no line.
    void SetText(const std::string& text);

    // Replaces this list's lines and objects with those of a source list;
    // any other source raises EInvalidOperation.
    void Assign(const TPersistent* source) override;

    // Updates nest; change notices raised inside wait for the outermost
    // EndUpdate. An EndUpdate without its BeginUpdate is ignored.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

protected:
    // Called when the outermost update begins (true) and ends (false).
    virtual void SetUpdateState(bool /*updating*/) {}

private:
    int FUpdateCount = 0;
};

// Holds a list in update for the lifetime of a scope, so that an exception
// thrown while filling it still ends the update.
class TStringsUpdate {
public:
    explicit TStringsUpdate(TStrings& list) : FList(list) { FList.BeginUpdate(); }
    ~TStringsUpdate() { FList.EndUpdate(); }
    TStringsUpdate(const TStringsUpdate&) = delete;
    TStringsUpdate& operator=(const TStringsUpdate&) = delete;

private:
    TStrings& FList;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
public:
    QV_CLASS(TStringList, TStrings)

    int Count() const override { return static_cast<int>(FItems.size()); }
    std::string Get(int index) const override;
    void Put(int index, const std::string& text) override;
    TObject* Objects(int index) const override;
    void PutObject(int index, TObject* object) override;
    void InsertObject(int index, const std::string& text, TObject* object) override;
    void Delete(int index) override;
    void Clear() override;
    int AddObject(const std::string& text, TObject* object) override;
    int IndexOf(const std::string& text) const override;

    // A sorted list keeps its lines in CompareText order: Add inserts in
    // place and consults Duplicates; Insert and Put raise EListError.
    bool Sorted() const { return FSorted; }
    void SetSorted(bool sorted);
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates duplicates) { FDuplicates = duplicates; }
    void Sort();

    // Binary search of a sorted list: true when found, and index is where
    // the text is or would be inserted.
    bool Find(const std::string& text, int& index) const;

    // Fired after each change, or once at the end of an update during which
    // anything changed.
    std::function<void()> OnChange;

protected:
    void SetUpdateState(bool updating) override;

private:
    struct Item {
        std::string text;
        TObject* object;
    };

    void Changed();
    void CheckIndex(int index, int count) const;
    void CheckUnsorted() const;

    std::vector<Item> FItems;
    bool FSorted = false;
    TDuplicates FDuplicates = dupIgnore;
    bool FChangePending = false;
};
