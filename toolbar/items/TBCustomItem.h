#pragma once
// Items: the light objects a toolbar shows (buttons, separators, groups),
// arranged in a tree under an invisible root item. Items hold data only and
// know nothing of screens; every view that shows an item's children
// subscribes to that item and hears of each change through one of a few
// change kinds, then repaints or lays out again.
#include "toolbar/items/TBItemTypes.h"
#include "toolkit/ActnList.h"
#include "toolkit/Component.h"
#include "toolkit/ImgList.h"

#include <windows.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class TTBView;
class TTBItemViewer;
class TTBCustomItem;
class TTBItemActionLink;

// An item's subscription to an image list, with the list's size when it
// was last looked at: a change of size moves things, other changes only
// repaint.
class TTBImageChangeLink : public TChangeLink {
public:
    int LastWidth = 0;
    int LastHeight = 0;
    void Record();
    // True when the list's size differs from the one recorded; records it.
    bool SizeChanged();
};

// Makes the viewer that shows an item in a view (the class-returning hook
// by which a derived item puts its own viewer in place).
using TTBItemViewerClass = TTBItemViewer* (*)(TTBView* view, TTBCustomItem* item, int groupLevel);

class TTBCustomItem : public TComponent {
public:
    QV_CLASS(TTBCustomItem, TComponent)
    explicit TTBCustomItem(TComponent* owner);
    ~TTBCustomItem() override;

    // The action whose caption, state and execute handler the item takes;
    // cleared when the action is freed.
    TBasicAction* Action() const;
    void SetAction(TBasicAction* value);
    // True while a linked action supplies the item's value of the property,
    // which is then not written when the item is streamed.
    bool SuppliedByAction(TActionProperty property) const;
    template <TActionProperty P>
    bool StoredUnlessSupplied() const { return !SuppliedByAction(P); }

    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool value) { FAutoCheck = value; }
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool value);
    TTBItemDisplayMode DisplayMode() const { return FDisplayMode; }
    void SetDisplayMode(TTBItemDisplayMode value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    TTBItemOptions EffectiveOptions() const { return FEffectiveOptions; }
    bool HasEffectiveOption(TTBItemOption option) const { return (FEffectiveOptions & OptionBit(option)) != 0; }
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int value) { FHelpContext = value; }
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& value) { FHint = value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    // The list ImageIndex draws from; without one, the parent's (or a
    // view's) submenu images serve.
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    TTBItemStyle ItemStyle() const { return FItemStyle; }
    bool HasStyle(TTBItemStyleFlag flag) const { return (FItemStyle & StyleBit(flag)) != 0; }
    TTBItemOptions MaskOptions() const { return FMaskOptions; }
    void SetMaskOptions(TTBItemOptions value);
    TTBItemOptions Options() const { return FOptions; }
    void SetOptions(TTBItemOptions value);
    bool InheritOptions() const { return FInheritOptions; }
    void SetInheritOptions(bool value);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut value) { FShortCut = value; }
    // The images of this item's children (of a toolbar's root item: the
    // toolbar's Images); a change tells the views SubmenuImagesSwapped.
    TCustomImageList* SubmenuImages() const { return FSubmenuImages; }
    void SetSubmenuImages(TCustomImageList* value);
    // Shows that item's children in place of this item's own; a link to
    // itself counts as none.
    TTBCustomItem* LinkSubitems() const { return FLinkSubitems; }
    void SetLinkSubitems(TTBCustomItem* value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    // The component (the toolbar) that holds a root item.
    TComponent* ParentComponent() const { return FParentComponent; }
    void SetParentComponent(TComponent* value) { FParentComponent = value; }

    // The child list. Errors raise ETBItemError and leave the tree as it was.
    int Count() const { return static_cast<int>(FItems.size()); }
    TTBCustomItem* Items(int index) const { return FItems.at(static_cast<size_t>(index)); }
    TTBCustomItem* Parent() const { return FParent; }
    int IndexOf(const TTBCustomItem* item) const;
    void Insert(int index, TTBCustomItem* item);
    void Add(TTBCustomItem* item) { Insert(Count(), item); }
    // Takes the item out of the list; it is not freed.
    void Delete(int index);
    void Remove(TTBCustomItem* item);
    void Move(int curIndex, int newIndex);
    // The children a view of this item shows: the link target's, if any.
    TTBCustomItem* ShownChildrenOwner() { return FLinkSubitems ? FLinkSubitems : this; }

    // Change handlers of views; subscribing an equal handler again counts up.
    void Subscribe(const TTBItemChangedProc& handler);
    void Unsubscribe(const TTBItemChangedProc& handler);
    int SubscriptionCount(const TTBItemChangedProc& handler) const;
    // Sends one notification to everyone who hears of this item's changes.
    void Notify(ItemChange kind, int index, TTBCustomItem* item);

    // The virtual operations, in slot order.
    virtual void NotifyChanged(bool needResize);
    // Runs the popup handler, then Click unless the item is split.
    virtual void DoPopup(TTBCustomItem* sender, bool fromLink);
    virtual void EnabledChanged();
    virtual TTBView* GetChevronParentView() const { return nullptr; }
    virtual TTBItemViewerClass GetItemViewerClass(TTBView* view) const;
    virtual bool NeedToRecreateViewer(const TTBItemViewer* viewer) const;
    virtual void Click();
    // Asks the linked action to update itself (and so the item).
    virtual void InitiateAction();

    // Caption up to the first tab: what is drawn and measured.
    std::string CaptionText() const;
    // The text after the first tab, else the shortcut's key name, else "".
    std::string ShortCutText() const;
    // Finds the item whose ShortCut the key message (key down) gives and
    // clicks it; true when it was handled.
    bool FindByShortCut(const MSG& keyMessage);

    TNotifyEvent OnClick;
    TTBPopupEvent OnPopup;
    TTBSelectEvent OnSelect;

protected:
    void SetItemStyle(TTBItemStyle value) { FItemStyle = value; }
    void Notification(TComponent* component, TOperation operation) override;
    void NameChanged() override;

private:
    void RelayNotification(TTBCustomItem* ancestor, int depth, ItemChange kind, int index, TTBCustomItem* item);
    void RecalcEffectiveOptions();
    void UncheckGroupSiblings();
    void CheckIndex(int index, int limit) const;
    void ImagesChanged(TObject* sender);
    void SubmenuImagesChanged(TObject* sender);
    // Stops listening to a list's freeing unless the other reference holds it.
    void ForgetImageList(TCustomImageList* list);

    std::unique_ptr<TTBItemActionLink> FActionLink; // only while an action is linked
    bool FAutoCheck = false;
    std::string FCaption;
    bool FChecked = false;
    TTBItemDisplayMode FDisplayMode = nbdmDefault;
    bool FEnabled = true;
    TTBItemOptions FEffectiveOptions = 0;
    int FGroupIndex = 0;
    int FHelpContext = 0;
    std::string FHint;
    int FImageIndex = -1;
    TCustomImageList* FImages = nullptr;
    std::unique_ptr<TTBImageChangeLink> FImagesLink; // exists while Images is set
    std::vector<TTBCustomItem*> FItems;
    TTBItemStyle FItemStyle = StyleBit(TTBItemStyleFlag::Selectable) | StyleBit(TTBItemStyleFlag::RepaintOnSelect) |
                              StyleBit(TTBItemStyleFlag::RepaintOnHover);
    std::vector<TTBCustomItem*> FLinkParents;
    TTBItemOptions FMaskOptions = 0;
    TTBItemOptions FOptions = 0;
    bool FInheritOptions = true;
    std::vector<std::pair<TTBItemChangedProc, int>> FSubscribers;
    TTBCustomItem* FParent = nullptr;
    TComponent* FParentComponent = nullptr;
    TShortCut FShortCut = 0;
    TCustomImageList* FSubmenuImages = nullptr;
    std::unique_ptr<TTBImageChangeLink> FSubmenuImagesLink;
    TTBCustomItem* FLinkSubitems = nullptr;
    bool FVisible = true;
};
