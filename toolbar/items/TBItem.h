#pragma once
// The items of a toolbar: buttons with a caption, an enabled state and a
// click event, and separators. Every change is told to the views that
// show the item, which repaint or re-measure it.
#include "toolkit/Component.h"
#include "toolkit/Events.h"

#include <string>
#include <vector>

class TTBCustomItem;

enum class ItemChange { Caption, Enabled, Visible, Added, Removed };

// Someone who shows items and wants to hear of their changes.
class TTBItemObserver {
public:
    virtual void ItemChanged(TTBCustomItem* item, ItemChange change) = 0;

protected:
    ~TTBItemObserver() = default;
};

class TTBCustomItem : public TComponent {
public:
    QV_CLASS(TTBCustomItem, TComponent)
    explicit TTBCustomItem(TComponent* owner);
    ~TTBCustomItem() override;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);

    // Child items, in order; freed with this item unless their owner frees them first.
    void Add(TTBCustomItem* item);
    int Count() const { return static_cast<int>(FItems.size()); }
    TTBCustomItem* Items(int index) const { return FItems.at(static_cast<size_t>(index)); }
    TTBCustomItem* ParentItem() const { return FParentItem; }

    virtual bool IsSeparator() const { return false; }
    virtual void Click();

    void Subscribe(TTBItemObserver* observer);
    void Unsubscribe(TTBItemObserver* observer);

    TNotifyEvent OnClick;

protected:
    void Changed(ItemChange change);

private:
    std::string FCaption;
    bool FEnabled = true;
    bool FVisible = true;
    std::vector<TTBCustomItem*> FItems;
    TTBCustomItem* FParentItem = nullptr;
    std::vector<TTBItemObserver*> FObservers;
};

class TTBItem : public TTBCustomItem {
public:
    QV_CLASS(TTBItem, TTBCustomItem)
    using TTBCustomItem::TTBCustomItem;
};

class TTBSeparatorItem : public TTBCustomItem {
public:
    QV_CLASS(TTBSeparatorItem, TTBCustomItem)
    using TTBCustomItem::TTBCustomItem;
    bool IsSeparator() const override { return true; }
};

class TTBRootItem : public TTBCustomItem {
public:
    QV_CLASS(TTBRootItem, TTBCustomItem)
    using TTBCustomItem::TTBCustomItem;
};
