#include "toolbar/items/TBItem.h"

#include <algorithm>

const TClassInfo& TTBCustomItem::StaticClass()
{
    return MakeClassInfo<TTBCustomItem>("TTBCustomItem", &TComponent::StaticClass(), [](TClassBuilder<TTBCustomItem>& b) {
        b.String("Caption", TypeCaption(), &TTBCustomItem::Caption, &TTBCustomItem::SetCaption)
            .Ordinal("Enabled", TypeBoolean(), &TTBCustomItem::Enabled, &TTBCustomItem::SetEnabled)
            .Ordinal("Visible", TypeBoolean(), &TTBCustomItem::Visible, &TTBCustomItem::SetVisible);
    });
}
const TClassInfo& TTBItem::StaticClass()
{
    return MakeClassInfo<TTBItem>("TTBItem", &TTBCustomItem::StaticClass(), [](auto&) {});
}
const TClassInfo& TTBSeparatorItem::StaticClass()
{
    return MakeClassInfo<TTBSeparatorItem>("TTBSeparatorItem", &TTBCustomItem::StaticClass(), [](auto&) {});
}
const TClassInfo& TTBRootItem::StaticClass()
{
    return MakeClassInfo<TTBRootItem>("TTBRootItem", &TTBCustomItem::StaticClass(), [](auto&) {});
}

TTBCustomItem::TTBCustomItem(TComponent* owner) : TComponent(owner) {}

TTBCustomItem::~TTBCustomItem()
{
    Destroying();
    // Children added to this item are freed with it.
    while (!FItems.empty()) {
        TTBCustomItem* child = FItems.back();
        FItems.pop_back();
        child->FParentItem = nullptr;
        delete child;
    }
    if (FParentItem) {
        auto& siblings = FParentItem->FItems;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        FParentItem->Changed(ItemChange::Removed);
    }
}

void TTBCustomItem::SetCaption(const std::string& value)
{
    if (value == FCaption)
        return;
    FCaption = value;
    Changed(ItemChange::Caption);
}

void TTBCustomItem::SetEnabled(bool value)
{
    if (value == FEnabled)
        return;
    FEnabled = value;
    Changed(ItemChange::Enabled);
}

void TTBCustomItem::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    FVisible = value;
    Changed(ItemChange::Visible);
}

void TTBCustomItem::Add(TTBCustomItem* item)
{
    if (item->FParentItem)
        throw EInvalidOperation("Item already has a parent");
    // The item stays owned by its owner (so it can be found by name); the
    // parent item frees it too if it goes first, and either way the freed
    // item leaves both lists.
    item->FParentItem = this;
    FItems.push_back(item);
    Changed(ItemChange::Added);
}

void TTBCustomItem::Click()
{
    if (FEnabled)
        OnClick(this);
}

void TTBCustomItem::Subscribe(TTBItemObserver* observer)
{
    if (std::find(FObservers.begin(), FObservers.end(), observer) == FObservers.end())
        FObservers.push_back(observer);
}

void TTBCustomItem::Unsubscribe(TTBItemObserver* observer)
{
    FObservers.erase(std::remove(FObservers.begin(), FObservers.end(), observer), FObservers.end());
}

void TTBCustomItem::Changed(ItemChange change)
{
    // Views subscribe to the root; a child's change travels up to them.
    for (TTBCustomItem* item = this; item; item = item->FParentItem) {
        std::vector<TTBItemObserver*> observers = item->FObservers;
        for (TTBItemObserver* o : observers)
            o->ItemChanged(this, change);
    }
}
