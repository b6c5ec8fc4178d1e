#pragma once
// Collections: an owned, ordered list of items of one class, each item an
// object with published properties of its own. The settings store saves and
// restores them item by item, and the form storage keeps its free named
// values in one.
#include "toolkit/Object.h"

#include <functional>
#include <memory>
#include <vector>

class TCollection;

class TCollectionItem : public TPersistent {
public:
    QV_CLASS(TCollectionItem, TPersistent)

    // Joins the collection at its end; the collection owns the item from then on.
    explicit TCollectionItem(TCollection* collection);
    ~TCollectionItem() override;

    TCollection* Collection() const { return FCollection; }
    // Position in the collection; -1 when the item belongs to none.
    int Index() const;

protected:
    // Tells the collection that this item (or, with all true, every item)
    // has changed.
    void Changed(bool all = false);

private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
};

class TCollection : public TPersistent {
public:
    QV_CLASS(TCollection, TPersistent)

    // Makes one new item in the given collection. The item's constructor
    // adds it, so a factory is usually `new TMyItem(collection)`.
    using TItemFactory = std::function<TCollectionItem*(TCollection*)>;

    explicit TCollection(TItemFactory factory);
    ~TCollection() override;

    int Count() const { return static_cast<int>(FItems.size()); }
    // Raises EListError for an index outside 0 .. Count-1.
    TCollectionItem* Items(int index) const;

    TCollectionItem* Add();
    void Delete(int index);
    void Clear();

    // Replaces the items with copies of a source collection's, each copied
    // through the new item's Assign.
    void Assign(const TPersistent* source) override;

    // Change notices raised inside an update wait for the outermost
    // EndUpdate, which sends one for the whole collection.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    // Fired after a change, with the changed item or nullptr when the change
    // concerns the whole collection (items added, removed, or an update ended).
    std::function<void(TCollectionItem*)> OnChange;

protected:
    // Called for every change outside an update; the default fires OnChange.
    virtual void Update(TCollectionItem* item);

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* item);
    void RemoveItem(TCollectionItem* item);
    void Changed(TCollectionItem* item);

    TItemFactory FFactory;
    std::vector<TCollectionItem*> FItems; // owned
    int FUpdateCount = 0;
    bool FChangePending = false;
};

// The item factory for a class whose constructor takes the collection.
template <class Item>
TCollection::TItemFactory CollectionItemFactory()
{
    return [](TCollection* collection) -> TCollectionItem* { return new Item(collection); };
}
