#include "toolkit/Collection.h"

#include <algorithm>

#include "toolkit/Exceptions.h"

// ---------------------------------------------------------- TCollectionItem

const TClassInfo& TCollectionItem::StaticClass()
{
    return MakeClassInfo<TCollectionItem>("TCollectionItem", &TPersistent::StaticClass(), [](auto&) {});
}

TCollectionItem::TCollectionItem(TCollection* collection)
{
    if (collection)
        collection->InsertItem(this);
}

TCollectionItem::~TCollectionItem()
{
    if (FCollection)
        FCollection->RemoveItem(this);
}

int TCollectionItem::Index() const
{
    if (!FCollection)
        return -1;
    const auto& items = FCollection->FItems;
    return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::Changed(bool all)
{
    if (FCollection)
        FCollection->Changed(all ? nullptr : this);
}

// -------------------------------------------------------------- TCollection

const TClassInfo& TCollection::StaticClass()
{
    return MakeClassInfo<TCollection>("TCollection", &TPersistent::StaticClass(), [](auto&) {});
}

TCollection::TCollection(TItemFactory factory) : FFactory(std::move(factory)) {}

TCollection::~TCollection()
{
    // No notices from a collection that is going away.
    ++FUpdateCount;
    while (!FItems.empty())
        delete FItems.back();
}

TCollectionItem* TCollection::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(FormatMessage1("List index out of bounds (%s)", std::to_string(index)));
    return FItems[static_cast<size_t>(index)];
}

TCollectionItem* TCollection::Add()
{
    if (!FFactory)
        throw EInvalidOperation("Collection has no item class");
    TCollectionItem* item = FFactory(this);
    // A factory that made its item without the collection still hands it over.
    if (item && item->FCollection != this)
        InsertItem(item);
    return item;
}

void TCollection::Delete(int index)
{
    delete Items(index);
}

void TCollection::Clear()
{
    if (FItems.empty())
        return;
    BeginUpdate();
    while (!FItems.empty())
        delete FItems.back();
    EndUpdate();
}

void TCollection::Assign(const TPersistent* source)
{
    auto* other = dynamic_cast<const TCollection*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (other == this)
        return;
    BeginUpdate();
    try {
        Clear();
        for (TCollectionItem* from : other->FItems)
            Add()->Assign(from);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TCollection::BeginUpdate()
{
    ++FUpdateCount;
}

void TCollection::EndUpdate()
{
    if (FUpdateCount == 0)
        return;
    if (--FUpdateCount == 0 && FChangePending) {
        FChangePending = false;
        Update(nullptr);
    }
}

void TCollection::Update(TCollectionItem* item)
{
    if (OnChange)
        OnChange(item);
}

void TCollection::InsertItem(TCollectionItem* item)
{
    if (item->FCollection)
        item->FCollection->RemoveItem(item);
    FItems.push_back(item);
    item->FCollection = this;
    Changed(nullptr);
}

void TCollection::RemoveItem(TCollectionItem* item)
{
    FItems.erase(std::remove(FItems.begin(), FItems.end(), item), FItems.end());
    item->FCollection = nullptr;
    Changed(nullptr);
}

void TCollection::Changed(TCollectionItem* item)
{
    if (FUpdateCount > 0) {
        FChangePending = true;
        return;
    }
    Update(item);
}
