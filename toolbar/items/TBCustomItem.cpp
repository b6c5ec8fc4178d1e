#include "toolbar/items/TBCustomItem.h"
#include "toolbar/items/TBItemActionLink.h"
#include "toolbar/items/TBClickQueue.h"
#include "toolbar/items/TBItemViewer.h"
#include "toolkit/Controls.h"

#include <algorithm>
#include <cstdio>

namespace {

// Notifications relayed upward through embedded groups stop this deep, and
// shortcut searches follow at most this many links: trees that point into
// themselves must not recurse without end.
const int kMaxRelayDepth = 10;
const int kMaxLinkDepth = 25;

// Runs a handler so that what it raises goes to the application's error box.
template <class F>
void Guarded(F&& f)
{
    try {
        f();
    } catch (...) {
        HandleCallbackException();
    }
}

std::string KeyName(WORD key)
{
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return std::string(1, static_cast<char>(key));
    if (key >= VK_F1 && key <= VK_F24)
        return "F" + std::to_string(key - VK_F1 + 1);
    UINT scan = MapVirtualKeyA(key, MAPVK_VK_TO_VSC);
    char name[64] = "";
    if (scan && GetKeyNameTextA(static_cast<LONG>(scan << 16), name, sizeof name) > 0)
        return name;
    return "";
}

std::string ShortCutToText(TShortCut sc)
{
    std::string key = KeyName(sc & 0xFF);
    if (key.empty())
        return "";
    std::string text;
    if (sc & scShift)
        text += "Shift+";
    if (sc & scCtrl)
        text += "Ctrl+";
    if (sc & scAlt)
        text += "Alt+";
    return text + key;
}

TShortCut ShortCutFromKey(WPARAM key)
{
    TShortCut sc = static_cast<TShortCut>(key & 0xFF);
    if (GetKeyState(VK_SHIFT) < 0)
        sc |= scShift;
    if (GetKeyState(VK_CONTROL) < 0)
        sc |= scCtrl;
    if (GetKeyState(VK_MENU) < 0)
        sc |= scAlt;
    return sc;
}

// Depth first from `parent`; `path` ends with the item whose children hold the match.
TTBCustomItem* SearchShortCut(TTBCustomItem* parent, TShortCut sc, int links, std::vector<TTBCustomItem*>& path)
{
    TTBCustomItem* source = parent;
    if (parent->LinkSubitems()) {
        if (links >= kMaxLinkDepth)
            return nullptr;
        source = parent->LinkSubitems();
        ++links;
    }
    path.push_back(parent);
    for (int i = 0; i < source->Count(); ++i) {
        TTBCustomItem* child = source->Items(i);
        if (child->ShortCut() == sc)
            return child;
        if (TTBCustomItem* found = SearchShortCut(child, sc, links, path))
            return found;
    }
    path.pop_back();
    return nullptr;
}

} // namespace

const TClassInfo& TTBCustomItem::StaticClass()
{
    return MakeClassInfo<TTBCustomItem>("TTBCustomItem", &TComponent::StaticClass(), [](auto&) {});
}

TTBCustomItem::TTBCustomItem(TComponent* owner) : TComponent(owner)
{
    TTBClickQueue::ObjectCreated();
}

TTBCustomItem::~TTBCustomItem()
{
    Destroying();
    TTBClickQueue::Forget(this);
    while (!FItems.empty()) {
        TTBCustomItem* child = FItems.back();
        delete child; // takes itself out of the list
    }
    if (FParent)
        FParent->Remove(this);
    SetLinkSubitems(nullptr);
    for (TTBCustomItem* p : std::vector<TTBCustomItem*>(FLinkParents))
        p->SetLinkSubitems(nullptr);
    TTBClickQueue::ObjectFreed();
}

void TTBCustomItem::SetCaption(const std::string& value)
{
    if (value == FCaption)
        return;
    FCaption = value;
    NotifyChanged(true);
}

void TTBCustomItem::SetChecked(bool value)
{
    if (value == FChecked)
        return;
    FChecked = value;
    NotifyChanged(false);
    if (value)
        UncheckGroupSiblings();
}

void TTBCustomItem::UncheckGroupSiblings()
{
    if (!FParent || FGroupIndex == 0)
        return;
    for (TTBCustomItem* sibling : FParent->FItems)
        if (sibling != this && sibling->FGroupIndex == FGroupIndex)
            sibling->SetChecked(false);
}

void TTBCustomItem::SetDisplayMode(TTBItemDisplayMode value)
{
    if (value == FDisplayMode)
        return;
    FDisplayMode = value;
    NotifyChanged(true);
}

void TTBCustomItem::SetEnabled(bool value)
{
    if (value == FEnabled)
        return;
    FEnabled = value;
    EnabledChanged();
}

void TTBCustomItem::EnabledChanged()
{
    NotifyChanged(false);
}

void TTBCustomItem::SetGroupIndex(int value)
{
    if (value == FGroupIndex)
        return;
    FGroupIndex = value;
    if (FChecked)
        UncheckGroupSiblings();
}

void TTBCustomItem::SetImageIndex(int value)
{
    if (value == FImageIndex)
        return;
    // Gaining or losing the image changes the size; another image does not.
    bool resize = (value == -1) != (FImageIndex == -1);
    FImageIndex = value;
    NotifyChanged(resize);
}

void TTBImageChangeLink::Record()
{
    LastWidth = Images() ? Images()->Width() : 0;
    LastHeight = Images() ? Images()->Height() : 0;
}

bool TTBImageChangeLink::SizeChanged()
{
    const int w = LastWidth, h = LastHeight;
    Record();
    return w != LastWidth || h != LastHeight;
}

void TTBCustomItem::SetImages(TCustomImageList* value)
{
    if (value == FImages)
        return;
    TCustomImageList* old = FImages;
    FImages = value;
    ForgetImageList(old);
    bool resize = true;
    if (value) {
        if (!FImagesLink) {
            FImagesLink = std::make_unique<TTBImageChangeLink>();
            FImagesLink->OnChange = MakeMethod<&TTBCustomItem::ImagesChanged>(this);
        }
        FImagesLink->SetImages(value);
        resize = FImagesLink->SizeChanged();
        FreeNotification(value);
    } else {
        FImagesLink.reset();
    }
    if (!IsDestroying())
        NotifyChanged(resize);
}

void TTBCustomItem::ImagesChanged(TObject*)
{
    NotifyChanged(FImagesLink->SizeChanged());
}

void TTBCustomItem::SetSubmenuImages(TCustomImageList* value)
{
    if (value == FSubmenuImages)
        return;
    TCustomImageList* old = FSubmenuImages;
    FSubmenuImages = value;
    ForgetImageList(old);
    if (value) {
        if (!FSubmenuImagesLink) {
            FSubmenuImagesLink = std::make_unique<TTBImageChangeLink>();
            FSubmenuImagesLink->OnChange = MakeMethod<&TTBCustomItem::SubmenuImagesChanged>(this);
        }
        FSubmenuImagesLink->SetImages(value);
        FSubmenuImagesLink->Record();
        FreeNotification(value);
    } else {
        FSubmenuImagesLink.reset();
    }
    if (!IsDestroying())
        Notify(ItemChange::SubmenuImagesSwapped, -1, nullptr);
}

void TTBCustomItem::SubmenuImagesChanged(TObject*)
{
    // The children's images changed: each view of them measures again.
    FSubmenuImagesLink->Record();
    Notify(ItemChange::SubmenuImagesSwapped, -1, nullptr);
}

void TTBCustomItem::ForgetImageList(TCustomImageList* list)
{
    if (list && list != FImages && list != FSubmenuImages)
        RemoveFreeNotification(list);
}

void TTBCustomItem::SetMaskOptions(TTBItemOptions value)
{
    if (value == FMaskOptions)
        return;
    FMaskOptions = value;
    RecalcEffectiveOptions();
}

void TTBCustomItem::SetOptions(TTBItemOptions value)
{
    if (!(value & OptionBit(tboToolbarStyle)))
        value &= static_cast<TTBItemOptions>(~OptionBit(tboToolbarSize));
    if (value == FOptions)
        return;
    FOptions = value;
    RecalcEffectiveOptions();
}

void TTBCustomItem::SetInheritOptions(bool value)
{
    if (value == FInheritOptions)
        return;
    FInheritOptions = value;
    RecalcEffectiveOptions();
}

void TTBCustomItem::RecalcEffectiveOptions()
{
    TTBItemOptions opts = 0;
    if (FInheritOptions && FParent)
        opts = FParent->FEffectiveOptions & static_cast<TTBItemOptions>(~OptionBit(tboDefault));
    opts &= static_cast<TTBItemOptions>(~FMaskOptions);
    opts |= FOptions;
    if (!(opts & OptionBit(tboToolbarStyle)))
        opts &= static_cast<TTBItemOptions>(~OptionBit(tboToolbarSize));
    const TTBItemOptions hintOnly = OptionBit(tboLongHintInMenuOnly) | OptionBit(tboShowHint);
    bool changed = ((opts ^ FEffectiveOptions) & ~hintOnly) != 0;
    FEffectiveOptions = opts;
    if (changed)
        NotifyChanged(true);
    for (TTBCustomItem* child : FItems)
        if (child->FInheritOptions)
            child->RecalcEffectiveOptions();
}

void TTBCustomItem::SetLinkSubitems(TTBCustomItem* value)
{
    if (value == this)
        value = nullptr;
    if (value == FLinkSubitems)
        return;
    if (FLinkSubitems) {
        auto& parents = FLinkSubitems->FLinkParents;
        parents.erase(std::remove(parents.begin(), parents.end(), this), parents.end());
        RemoveFreeNotification(FLinkSubitems);
    }
    FLinkSubitems = value;
    if (value) {
        value->FLinkParents.push_back(this);
        FreeNotification(value);
    }
    if (!IsDestroying())
        Notify(ItemChange::ChildrenReset, -1, nullptr);
}

void TTBCustomItem::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    FVisible = value;
    NotifyChanged(true);
}

void TTBCustomItem::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove)
        return;
    if (component == FLinkSubitems)
        SetLinkSubitems(nullptr);
    if (component == FImages)
        SetImages(nullptr);
    if (component == FSubmenuImages)
        SetSubmenuImages(nullptr);
    // A freed action has already let go of the link.
    if (FActionLink && !FActionLink->Action())
        FActionLink.reset();
}

void TTBCustomItem::NameChanged()
{
    if (FParent)
        FParent->Notify(ItemChange::NameSet, FParent->IndexOf(this), this);
}

int TTBCustomItem::IndexOf(const TTBCustomItem* item) const
{
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TTBCustomItem::CheckIndex(int index, int limit) const
{
    if (index < 0 || index > limit)
        throw ETBItemError("Toolbar item index out of range");
}

void TTBCustomItem::Insert(int index, TTBCustomItem* item)
{
    if (item->FParent)
        throw ETBItemError("Toolbar item already inserted");
    CheckIndex(index, Count());
    // An item inside its own subtree would make every walk of the tree endless.
    for (TTBCustomItem* p = this; p; p = p->FParent)
        if (p == item)
            throw ETBItemError("Toolbar item cannot be inserted into itself");
    FItems.insert(FItems.begin() + index, item);
    item->FParent = this;
    Notify(ItemChange::BatchBegin, -1, nullptr);
    try {
        Notify(ItemChange::ItemAdded, index, item);
        item->RecalcEffectiveOptions();
    } catch (...) {
        Notify(ItemChange::BatchEnd, -1, nullptr);
        throw;
    }
    Notify(ItemChange::BatchEnd, -1, nullptr);
}

void TTBCustomItem::Delete(int index)
{
    CheckIndex(index, Count() - 1);
    TTBCustomItem* item = FItems[static_cast<size_t>(index)];
    Notify(ItemChange::ItemRemoving, index, item);
    // A handler may have changed the list meanwhile: find the item again.
    auto it = std::find(FItems.begin(), FItems.end(), item);
    if (it != FItems.end())
        FItems.erase(it);
    item->FParent = nullptr;
}

void TTBCustomItem::Remove(TTBCustomItem* item)
{
    int index = IndexOf(item);
    if (index >= 0)
        Delete(index);
}

void TTBCustomItem::Move(int curIndex, int newIndex)
{
    if (curIndex == newIndex)
        return;
    CheckIndex(curIndex, Count() - 1);
    CheckIndex(newIndex, Count() - 1);
    TTBCustomItem* item = Items(curIndex);
    Notify(ItemChange::BatchBegin, -1, nullptr);
    try {
        Delete(curIndex);
        Insert(newIndex, item);
    } catch (...) {
        Notify(ItemChange::BatchEnd, -1, nullptr);
        throw;
    }
    Notify(ItemChange::BatchEnd, -1, nullptr);
}

void TTBCustomItem::Subscribe(const TTBItemChangedProc& handler)
{
    for (auto& [h, count] : FSubscribers)
        if (h == handler) {
            ++count;
            return;
        }
    FSubscribers.emplace_back(handler, 1);
}

void TTBCustomItem::Unsubscribe(const TTBItemChangedProc& handler)
{
    for (auto it = FSubscribers.begin(); it != FSubscribers.end(); ++it)
        if (it->first == handler) {
            if (--it->second == 0)
                FSubscribers.erase(it);
            break;
        }
    if (FSubscribers.empty())
        FSubscribers.shrink_to_fit();
}

int TTBCustomItem::SubscriptionCount(const TTBItemChangedProc& handler) const
{
    for (auto& [h, count] : FSubscribers)
        if (h == handler)
            return count;
    return 0;
}

void TTBCustomItem::Notify(ItemChange kind, int index, TTBCustomItem* item)
{
    RelayNotification(this, 0, kind, index, item);
}

void TTBCustomItem::RelayNotification(TTBCustomItem* ancestor, int depth, ItemChange kind, int index,
                                      TTBCustomItem* item)
{
    if (HasStyle(TTBItemStyleFlag::EmbeddedGroup) && FParent && depth <= kMaxRelayDepth)
        FParent->RelayNotification(ancestor, depth + 1, kind, index, item);
    for (TTBCustomItem* p : std::vector<TTBCustomItem*>(FLinkParents))
        if (p != FParent && depth <= kMaxRelayDepth)
            p->RelayNotification(ancestor, depth + 1, kind, index, item);
    size_t i = 0;
    while (i < FSubscribers.size()) {
        TTBItemChangedProc handler = FSubscribers[i].first;
        handler(ancestor, ancestor != this, kind, index, item);
        // A handler that unsubscribed itself left the next one at this position.
        if (i < FSubscribers.size() && FSubscribers[i].first == handler)
            ++i;
    }
}

void TTBCustomItem::NotifyChanged(bool needResize)
{
    if (FParent)
        FParent->Notify(needResize ? ItemChange::RepaintAndRelayout : ItemChange::Repaint, -1, this);
}

void TTBCustomItem::DoPopup(TTBCustomItem* sender, bool fromLink)
{
    OnPopup(sender, fromLink);
    if (!HasStyle(TTBItemStyleFlag::SplitDropdown))
        Click();
}

TTBItemViewerClass TTBCustomItem::GetItemViewerClass(TTBView*) const
{
    return &TTBItemViewer::Create;
}

bool TTBCustomItem::NeedToRecreateViewer(const TTBItemViewer*) const
{
    return false;
}

void TTBCustomItem::Click()
{
    if (!FEnabled)
        return;
    if (FAutoCheck)
        SetChecked(!FChecked);
    // A handler of the item's own goes first; the action's execute handler
    // runs through the action, which checks that it is enabled.
    TBasicAction* action = Action();
    if (OnClick && (!action || OnClick != action->OnExecute())) {
        OnClick(this);
        return;
    }
    if (action)
        FActionLink->Execute();
    else
        OnClick(this);
}

void TTBCustomItem::InitiateAction()
{
    if (FActionLink)
        FActionLink->Update();
}

TBasicAction* TTBCustomItem::Action() const
{
    return FActionLink ? FActionLink->Action() : nullptr;
}

void TTBCustomItem::SetAction(TBasicAction* value)
{
    TBasicAction* old = Action();
    if (value == old)
        return;
    if (old)
        RemoveFreeNotification(old);
    if (!value) {
        FActionLink.reset();
        return;
    }
    if (!FActionLink)
        FActionLink = std::make_unique<TTBItemActionLink>(this);
    FreeNotification(value);
    FActionLink->SetAction(value);
}

bool TTBCustomItem::SuppliedByAction(TActionProperty property) const
{
    return FActionLink && FActionLink->Supplies(property);
}

std::string TTBCustomItem::CaptionText() const
{
    return FCaption.substr(0, FCaption.find('\t'));
}

std::string TTBCustomItem::ShortCutText() const
{
    size_t tab = FCaption.find('\t');
    if (tab != std::string::npos)
        return FCaption.substr(tab + 1);
    return FShortCut ? ShortCutToText(FShortCut) : std::string();
}

bool TTBCustomItem::FindByShortCut(const MSG& keyMessage)
{
    TShortCut sc = ShortCutFromKey(keyMessage.wParam);
    if ((sc & 0xFF) == 0)
        return false;
    std::vector<TTBCustomItem*> path;
    TTBCustomItem* match = SearchShortCut(this, sc, 0, path);
    if (!match)
        return false;
    for (TTBCustomItem* p : path) {
        if (!p->Enabled())
            return false;
        TTBCustomItem* source = p->ShownChildrenOwner();
        for (int i = 0; i < source->Count(); ++i)
            source->Items(i)->InitiateAction();
        if (!p->HasStyle(TTBItemStyleFlag::EmbeddedGroup)) {
            if (source != p)
                Guarded([&] { source->DoPopup(p, true); });
            Guarded([&] { p->DoPopup(p, false); });
        }
    }
    if (!match->Enabled())
        return false;
    Guarded([&] { match->Click(); });
    return true;
}
