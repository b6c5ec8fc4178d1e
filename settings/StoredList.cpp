#include "settings/StoredList.h"

#include "toolkit/Component.h"
#include "toolkit/StrUtils.h"
#include "toolkit/StringList.h"

std::optional<StoredItem> StoredItem::Parse(const std::string& line)
{
    auto dot = line.find('.');
    if (dot == std::string::npos)
        return std::nullopt;
    StoredItem item{Trim(line.substr(0, dot)), Trim(line.substr(dot + 1))};
    if (item.Component.empty() || item.Property.empty())
        return std::nullopt;
    return item;
}

TComponent* StoredComponent(const TStrings& list, int index)
{
    return dynamic_cast<TComponent*>(list.Objects(index));
}

void ResolveStoredList(TComponent* window, TStrings& list)
{
    TStringsUpdate update(list);
    // From the end, so that deleting a line leaves the ones still to come
    // where they were.
    for (int i = list.Count() - 1; i >= 0; --i) {
        auto item = StoredItem::Parse(list[i]);
        TComponent* component = item && window ? window->FindComponent(item->Component) : nullptr;
        if (component)
            list.PutObject(i, component);
        else
            list.Delete(i);
    }
}

void RenameStoredList(TStrings& list)
{
    TStringsUpdate update(list);
    for (int i = list.Count() - 1; i >= 0; --i) {
        auto item = StoredItem::Parse(list[i]);
        TComponent* component = StoredComponent(list, i);
        if (!item || !component) {
            list.Delete(i);
            continue;
        }
        item->Component = component->Name();
        std::string line = item->Line();
        // Writing an unchanged line would still count as a change of the list.
        if (line != list[i])
            list.Put(i, line);
    }
}

int RemoveStoredComponent(TStrings& list, const TComponent* component)
{
    if (!component)
        return 0;
    TStringsUpdate update(list);
    int removed = 0;
    for (int i = list.Count() - 1; i >= 0; --i)
        if (list.Objects(i) == component) {
            list.Delete(i);
            ++removed;
        }
    return removed;
}
