#include "toolkit/StringList.h"

#include <algorithm>

#include "toolkit/Exceptions.h"
#include "toolkit/StrUtils.h"

namespace {

// Position of the name/value separator, or npos for a line without a name.
std::string::size_type NameEnd(const std::string& line)
{
    return line.find('=');
}

} // namespace

// ---- TStrings ----

const TClassInfo& TStrings::StaticClass()
{
    return MakeClassInfo<TStrings>("TStrings", &TPersistent::StaticClass(), [](auto&) {});
}

int TStrings::AddObject(const std::string& text, TObject* object)
{
    int index = Count();
    InsertObject(index, text, object);
    return index;
}

int TStrings::IndexOf(const std::string& text) const
{
    for (int i = 0, n = Count(); i < n; ++i)
        if (SameText(Get(i), text))
            return i;
    return -1;
}

int TStrings::IndexOfName(const std::string& name) const
{
    for (int i = 0, n = Count(); i < n; ++i) {
        std::string line = Get(i);
        auto end = NameEnd(line);
        if (end != std::string::npos && SameText(line.substr(0, end), name))
            return i;
    }
    return -1;
}

std::string TStrings::Names(int index) const
{
    std::string line = Get(index);
    auto end = NameEnd(line);
    return end == std::string::npos ? std::string() : line.substr(0, end);
}

std::string TStrings::ValueFromIndex(int index) const
{
    std::string line = Get(index);
    auto end = NameEnd(line);
    return end == std::string::npos ? std::string() : line.substr(end + 1);
}

std::string TStrings::Values(const std::string& name) const
{
    int index = IndexOfName(name);
    return index < 0 ? std::string() : ValueFromIndex(index);
}

void TStrings::SetValues(const std::string& name, const std::string& value)
{
    int index = IndexOfName(name);
    if (value.empty()) {
        if (index >= 0)
            Delete(index);
        return;
    }
    if (index < 0)
        Add(name + "=" + value);
    else
        Put(index, name + "=" + value);
}

std::string TStrings::Text() const
{
    std::string text;
    for (int i = 0, n = Count(); i < n; ++i) {
        text += Get(i);
        text += "\r\n";
    }
    return text;
}

void TStrings::SetText(const std::string& text)
{
    TStringsUpdate update(*this);
    Clear();
    std::string::size_type start = 0;
    while (start < text.size()) {
        auto stop = text.find_first_of("\r\n", start);
        if (stop == std::string::npos) {
            Add(text.substr(start));
            break;
        }
        Add(text.substr(start, stop - start));
        start = stop + 1;
        if (text[stop] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
}

void TStrings::Assign(const TPersistent* source)
{
    auto* lines = dynamic_cast<const TStrings*>(source);
    if (!lines) {
        TPersistent::Assign(source);
        return;
    }
    if (lines == this)
        return;
    TStringsUpdate update(*this);
    Clear();
    for (int i = 0, n = lines->Count(); i < n; ++i)
        AddObject(lines->Get(i), lines->Objects(i));
}

void TStrings::BeginUpdate()
{
    if (FUpdateCount++ == 0)
        SetUpdateState(true);
}

void TStrings::EndUpdate()
{
    if (FUpdateCount == 0)
        return;
    if (--FUpdateCount == 0)
        SetUpdateState(false);
}

// ---- TStringList ----

const TClassInfo& TStringList::StaticClass()
{
    return MakeClassInfo<TStringList>("TStringList", &TStrings::StaticClass(), [](auto&) {});
}

void TStringList::CheckIndex(int index, int count) const
{
    if (index < 0 || index >= count)
        throw EListError(FormatMessage1("List index out of bounds (%s)", IntToStr(index)));
}

void TStringList::CheckUnsorted() const
{
    if (FSorted)
        throw EListError("Operation not allowed on sorted list");
}

void TStringList::Changed()
{
    if (UpdateCount() > 0) {
        FChangePending = true;
        return;
    }
    if (OnChange)
        OnChange();
}

void TStringList::SetUpdateState(bool updating)
{
    if (updating || !FChangePending)
        return;
    FChangePending = false;
    if (OnChange)
        OnChange();
}

std::string TStringList::Get(int index) const
{
    CheckIndex(index, Count());
    return FItems[static_cast<size_t>(index)].text;
}

void TStringList::Put(int index, const std::string& text)
{
    CheckUnsorted();
    CheckIndex(index, Count());
    FItems[static_cast<size_t>(index)].text = text;
    Changed();
}

TObject* TStringList::Objects(int index) const
{
    CheckIndex(index, Count());
    return FItems[static_cast<size_t>(index)].object;
}

void TStringList::PutObject(int index, TObject* object)
{
    CheckIndex(index, Count());
    FItems[static_cast<size_t>(index)].object = object;
    Changed();
}

void TStringList::InsertObject(int index, const std::string& text, TObject* object)
{
    CheckUnsorted();
    CheckIndex(index, Count() + 1); // inserting at Count appends
    FItems.insert(FItems.begin() + index, Item{text, object});
    Changed();
}

void TStringList::Delete(int index)
{
    CheckIndex(index, Count());
    FItems.erase(FItems.begin() + index);
    Changed();
}

void TStringList::Clear()
{
    if (FItems.empty())
        return;
    FItems.clear();
    Changed();
}

int TStringList::AddObject(const std::string& text, TObject* object)
{
    if (!FSorted) {
        FItems.push_back(Item{text, object});
        Changed();
        return Count() - 1;
    }
    int index = 0;
    if (Find(text, index)) {
        if (FDuplicates == dupIgnore)
            return index;
        if (FDuplicates == dupError)
            throw EListError(SDuplicateString);
    }
    FItems.insert(FItems.begin() + index, Item{text, object});
    Changed();
    return index;
}

int TStringList::IndexOf(const std::string& text) const
{
    if (!FSorted)
        return TStrings::IndexOf(text);
    int index = 0;
    return Find(text, index) ? index : -1;
}

bool TStringList::Find(const std::string& text, int& index) const
{
    // Lower bound, so that among equal lines the first one is reported.
    auto at = std::lower_bound(FItems.begin(), FItems.end(), text,
                               [](const Item& item, const std::string& key) { return CompareText(item.text, key) < 0; });
    index = static_cast<int>(at - FItems.begin());
    return at != FItems.end() && CompareText(at->text, text) == 0;
}

void TStringList::Sort()
{
    std::stable_sort(FItems.begin(), FItems.end(),
                     [](const Item& a, const Item& b) { return CompareText(a.text, b.text) < 0; });
    Changed();
}

void TStringList::SetSorted(bool sorted)
{
    if (sorted == FSorted)
        return;
    if (sorted)
        Sort();
    FSorted = sorted;
}
