#include "toolbar/items/TBToolbar.h"
#include "toolbar/items/TBDrawing.h"
#include "toolbar/items/TBItemViewer.h"
#include "toolbar/items/TBMenuBarHook.h"
#include "toolbar/items/TBShortCuts.h"
#include "toolkit/Exceptions.h"
#include "toolkit/Forms.h"
#include "toolkit/Scopes.h"

#include <windowsx.h>
#include <algorithm>
#include <cstring>

namespace {

POINT ScreenPointOf(HWND wnd, LPARAM lParam)
{
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(wnd, &pt);
    return pt;
}

} // namespace

const TTBToolbarClasses& TTBToolbarClasses::Standard()
{
    static const TTBToolbarClasses classes{
        [](TTBCustomToolbar* t) { return new TTBRootItem(t); },
        [](TTBCustomToolbar* t) { return new TTBChevronItem(t, nullptr); },
        [](TTBCustomToolbar* t) { return new TTBToolbarView(t); },
    };
    return classes;
}

const TClassInfo& TTBCustomToolbar::StaticClass()
{
    using T = TTBCustomToolbar;
    return MakeClassInfo<T>("TTBCustomToolbar", &TTBCustomDockableWindow::StaticClass(), [](TClassBuilder<T>& b) {
        b.String("ChevronHint", TypeString(), &T::ChevronHint, &T::SetChevronHint)
            .Object("Images", &T::Images, &T::SetImages)
            .Object("Items", &T::Items, &T::SetItems)
            .Object("LinkSubitems", &T::LinkSubitems, &T::SetLinkSubitems)
            .Ordinal("ChevronMoveItems", TypeBoolean(), &T::ChevronMoveItems, &T::SetChevronMoveItems)
            .Ordinal("FloatingWidth", TypeInteger(), &T::FloatingWidth, &T::SetFloatingWidth)
            .Ordinal("MenuBar", TypeBoolean(), &T::MenuBar, &T::SetMenuBar)
            .Ordinal("Options", TypeItemOptions(), &T::Options, &T::SetOptions)
            .Ordinal("ProcessShortCuts", TypeBoolean(), &T::ProcessShortCuts, &T::SetProcessShortCuts)
            .Ordinal("ShrinkMode", TypeShrinkMode(), &T::ShrinkMode, &T::SetShrinkMode)
            .Ordinal("SystemFont", TypeBoolean(), &T::SystemFont, &T::SetSystemFont)
            .Ordinal("UpdateActions", TypeBoolean(), &T::UpdateActions, &T::SetUpdateActions);
    });
}

const TClassInfo& TTBToolbar::StaticClass()
{
    return MakeClassInfo<TTBToolbar>("TTBToolbar", &TTBCustomToolbar::StaticClass(), [](auto&) {});
}

TTBCustomToolbar::TTBCustomToolbar(TComponent* owner, const TTBToolbarClasses& classes)
    : TTBCustomDockableWindow(owner)
{
    FItems = classes.RootItem(this);
    FItems->SetParentComponent(this);
    FChevronItem = classes.ChevronItem(this);
    FChevronItem->SetLinkSubitems(FItems);
    FView = classes.View(this);
    FChevronItem->SetToolbarView(FView);
    FView->SetBackgroundColor(clBtnFace);
    SetBounds(0, 0, 23, 22);
}

TTBCustomToolbar::~TTBCustomToolbar()
{
    Destroying();
    if (FRegistered)
        UnregisterShortCutToolbar(this);
    if (FMenuBarHook)
        UnregisterMenuBarHook();
    // Out of its dock while the view still exists: the dock's last layout
    // may ask the bar about its contents.
    if (Parent())
        SetParent(nullptr);
    // The window goes first, so no message reaches a view that is gone;
    // then the view goes before the items it shows.
    DestroyHandle();
    delete FView;
    delete FChevronItem;
    delete FItems;
}

// ----------------------------------------------------------- properties

void TTBCustomToolbar::SetItems(TTBRootItem* value)
{
    // The bar owns its root item for life: its children are what change.
    if (value != FItems)
        throw EPropertyError("The toolbar's Items cannot be replaced");
}

void TTBCustomToolbar::SetChevronHint(const std::string& value)
{
    FChevronItem->SetHint(value);
    std::string caption;
    for (char c : value.substr(0, value.find('|'))) {
        caption += c;
        if (c == '&')
            caption += c;
    }
    FChevronItem->SetCaption(caption);
}

void TTBCustomToolbar::SetMenuBar(bool value)
{
    if (value == FMenuBar)
        return;
    FMenuBar = value;
    FView->SetMenuBarOptions(value);
    // While the layout is read it states each of these itself.
    if (!IsLoading()) {
        SetFullSize(value);
        SetShrinkMode(value ? tbsmWrap : tbsmChevron);
        SetCloseButton(!value);
        SetProcessShortCuts(value);
    }
    if (value != FMenuBarHook) {
        FMenuBarHook = value;
        if (value)
            RegisterMenuBarHook();
        else
            UnregisterMenuBarHook();
    }
    UpdateShortCutRegistration();
}

void TTBCustomToolbar::SetProcessShortCuts(bool value)
{
    FProcessShortCuts = value;
    UpdateShortCutRegistration();
}

void TTBCustomToolbar::UpdateShortCutRegistration()
{
    bool want = (FProcessShortCuts || FMenuBar) && !IsDesigning() && !IsDestroying();
    if (want == FRegistered)
        return;
    FRegistered = want;
    if (want)
        RegisterShortCutToolbar(this);
    else
        UnregisterShortCutToolbar(this);
}

void TTBCustomToolbar::SetShrinkMode(TTBShrinkMode value)
{
    if (value == FShrinkMode)
        return;
    FShrinkMode = value;
    // A docked bar's dock lays its rows out again with the new mode.
    ArrangeSelf();
}

void TTBCustomToolbar::SetSystemFont(bool value)
{
    if (value == FSystemFont)
        return;
    FSystemFont = value;
    FView->InvalidatePositions();
    ArrangeSelf();
}

void TTBCustomToolbar::SetFloatingWidth(int value)
{
    if (value == FFloatingWidth)
        return;
    FFloatingWidth = value;
    if (Floating())
        ArrangeSelf();
}

// --------------------------------------------------------------- layout

SIZE TTBCustomToolbar::FrameSizeIn(const TTBDock* dock) const
{
    if (!dock)
        return SIZE{0, 0};
    if (dock == CurrentDock())
        return GetDockedFrameSize();
    SIZE size{4, 4};
    if (dock->AllowDrag())
        (dock->Vertical() ? size.cy : size.cx) += GripSize();
    return size;
}

int TTBCustomToolbar::WrapLengthFor(const TTBDock* dock) const
{
    if (!dock)
        return FFloatingWidth;
    if (FShrinkMode != tbsmWrap)
        return 0;
    SIZE frame = FrameSizeIn(dock);
    return std::max(0, dock->AvailableLength() - static_cast<int>(dock->Vertical() ? frame.cy : frame.cx));
}

namespace {
TTBViewOrientation OrientationFor(const TTBDock* dock, bool floating)
{
    if (floating)
        return tbvoFloating;
    return dock && dock->Vertical() ? tbvoVertical : tbvoHorizontal;
}
} // namespace

void TTBCustomToolbar::SetPlacementParameters()
{
    FView->SetOrientation(OrientationFor(CurrentDock(), Floating()));
    if (Docked() || Floating()) {
        int chevron = 0;
        if (FShrinkMode == tbsmChevron && Docked() && ShrunkLength > 0) {
            SIZE frame = GetDockedFrameSize();
            chevron = std::max(0, ShrunkLength - static_cast<int>(CurrentDock()->Vertical() ? frame.cy : frame.cx));
        }
        FView->SetChevronOffset(chevron);
        FView->SetWrapOffset(WrapLengthFor(CurrentDock()));
        return;
    }
    FView->SetChevronOffset(0);
    FView->SetWrapOffset(0);
    if (!AutoResize()) {
        const int length = Width() - GetDockedFrameSize().cx;
        if (FShrinkMode == tbsmChevron)
            FView->SetChevronOffset(length);
        else if (FShrinkMode == tbsmWrap)
            FView->SetWrapOffset(length);
    }
}

SIZE TTBCustomToolbar::ArrangeContents(bool canMoveControls, PlacementKind, bool newFloating, TTBDock* newDock)
{
    if (!canMoveControls) {
        // What size would the bar have there? Nothing moves.
        int chevron = 0;
        if (FShrinkMode == tbsmChevron && newDock && newDock == CurrentDock() && ShrunkLength > 0) {
            SIZE frame = GetDockedFrameSize();
            chevron = std::max(0, ShrunkLength - static_cast<int>(newDock->Vertical() ? frame.cy : frame.cx));
        }
        TTBLayoutResult r = FView->ComputePositions(false, OrientationFor(newDock, newFloating), WrapLengthFor(newDock),
                                                    chevron, FView->ChevronSize());
        FRowCount = r.RowCount;
        return r.TotalSize;
    }
    CountScope selfArranging(FSelfArranging);
    SetPlacementParameters();
    SIZE total = FView->UpdatePositions();
    FBaseSize = FView->BaseSize();
    FRowCount = FView->RowCount();
    return total;
}

void TTBCustomToolbar::ViewResized(SIZE)
{
    FBaseSize = FView->BaseSize();
    // A relayout the view did on its own (an item changed): the dock decides
    // the bar's size. One the bar asked for is followed by that anyway.
    if (FSelfArranging > 0 || IsLoading() || IsDestroying())
        return;
    if (Docked())
        CurrentDock()->LayoutRows();
}

void TTBCustomToolbar::GetContentSize(SIZE& size)
{
    if (!FView->ValidPositions()) {
        CountScope selfArranging(FSelfArranging);
        SetPlacementParameters();
        FView->UpdatePositions();
    }
    FBaseSize = FView->BaseSize();
    size = FBaseSize;
}

void TTBCustomToolbar::GetMinimumLength(int& length)
{
    const bool vertical = CurrentDock() && CurrentDock()->Vertical();
    auto along = [vertical](const TTBItemViewer* v) {
        const RECT& r = v->BoundsRect();
        return static_cast<int>(vertical ? r.bottom - r.top : r.right - r.left);
    };
    const TTBItemViewer* first = nullptr;
    for (const TTBItemViewer* v : FView->PriorityList())
        if (v->Show() && !v->Item()->HasStyle(TTBItemStyleFlag::IsSeparator)) {
            first = v;
            break;
        }
    for (int i = 0; !first && i < FView->ViewerCount(); ++i) {
        const TTBItemViewer* v = FView->Viewers(i);
        if (v->Show() && !v->Item()->HasStyle(TTBItemStyleFlag::IsSeparator))
            first = v;
    }
    if (!first)
        return;
    SIZE frame = GetDockedFrameSize();
    length = along(first) + (vertical ? frame.cy : frame.cx) + 12;
}

void TTBCustomToolbar::ItemAtPoint(POINT clientPoint, bool& exists)
{
    TTBCustomDockableWindow::ItemAtPoint(clientPoint, exists);
    if (exists || IsDesigning())
        return;
    TTBItemViewer* v = FView->ViewerFromPoint(clientPoint);
    exists = v && !v->Item()->HasStyle(TTBItemStyleFlag::ClickThrough);
}

void TTBCustomToolbar::Loaded()
{
    // Controls that the layout put on the bar without an item of their own
    // take their place after the items, before the bar's first arrangement.
    for (int i = 0; i < ControlCount(); ++i)
        AdoptControl(Controls(i));
    TTBCustomDockableWindow::Loaded();
    UpdateShortCutRegistration();
}

// ------------------------------------------------------- child controls

namespace {
void CollectControlItems(TTBCustomItem* parent, const TControl* control, std::vector<TTBControlItem*>& found)
{
    for (int i = 0; i < parent->Count(); ++i) {
        TTBCustomItem* item = parent->Items(i);
        if (auto* c = dynamic_cast<TTBControlItem*>(item); c && c->Control() == control)
            found.push_back(c);
        CollectControlItems(item, control, found);
    }
}
} // namespace

TTBControlItem* TTBCustomToolbar::FindControlItem(const TControl* control) const
{
    std::vector<TTBControlItem*> found;
    CollectControlItems(FItems, control, found);
    return found.empty() ? nullptr : found.front();
}

void TTBCustomToolbar::AdoptControl(TControl* control)
{
    if (control->Parent() != this || FindControlItem(control))
        return;
    auto* item = new TTBControlItem(Owner());
    item->SetControl(control);
    item->FAdopted = true;
    FItems->Add(item);
}

void TTBCustomToolbar::ControlClaimed(TControl* control, TTBControlItem* claimant)
{
    // An item given to a control the bar had adopted takes over: the
    // adopted one goes, leaving the control alone.
    std::vector<TTBControlItem*> found;
    CollectControlItems(FItems, control, found);
    for (TTBControlItem* item : found)
        if (item != claimant && item->FAdopted) {
            item->SetDontFreeControl(true);
            delete item;
        }
}

void TTBCustomToolbar::ChildLayoutChanged(TControl* child)
{
    TTBCustomDockableWindow::ChildLayoutChanged(child);
    // The view's own moves of the controls are its layout already; a
    // control being freed is dropped by its item, which lays out then.
    if (FArrangeLock > 0 || IsDestroying() || child->IsDestroying())
        return;
    // A control put on the bar at run time joins the items at the end.
    if (!IsLoading())
        AdoptControl(child);
    ArrangeSelf();
    // Not arranged yet (loading, or not in a dock or form): the next
    // arrangement or size question lays the items out afresh.
    if (SelfArrangePending)
        FView->InvalidatePositions();
}

void TTBCustomToolbar::FontChanged()
{
    TTBCustomDockableWindow::FontChanged();
    if (!FSystemFont) {
        FView->InvalidatePositions();
        ArrangeSelf();
    }
}

void TTBCustomToolbar::ColorChanged()
{
    FView->SetBackgroundColor(Color());
    TTBCustomDockableWindow::ColorChanged();
}

// ------------------------------------------------------------- shortcuts

bool TTBCustomToolbar::HandleShortCut(const MSG& keyMessage)
{
    if (!FProcessShortCuts)
        return false;
    bool handled = false;
    OnShortCut(keyMessage, handled);
    if (!handled)
        handled = FItems->FindByShortCut(keyMessage);
    return handled;
}

bool TTBCustomToolbar::OpenFromKeyboard(char, bool)
{
    return false;
}

bool TTBCustomToolbar::KeyMenu(LPARAM key)
{
    // Alt+Space stays the window menu's; a captured mouse is busy elsewhere.
    // The same command may come straight and then through the application's
    // hook: it is offered once.
    if (!FMenuBar || FInKeyMenu || !Enabled() || !Showing() || key == ' ' || GetCapture())
        return false;
    FInKeyMenu = true;
    struct Reset {
        bool& Flag;
        ~Reset() { Flag = false; }
    } reset{FInKeyMenu};
    return OpenFromKeyboard(static_cast<char>(key), false);
}

// ---------------------------------------------------------------- hints

std::string TTBCustomToolbar::HintTextOf(const TTBItemViewer* viewer)
{
    const TTBCustomItem* item = viewer->Item();
    std::string text = item->Hint().substr(0, item->Hint().find('|'));
    if (text.empty() && (!item->HasStyle(TTBItemStyleFlag::HasSubmenu) ||
                         item->HasStyle(TTBItemStyleFlag::SplitDropdown) || !viewer->CaptionShown())) {
        text = StripAccelChars(viewer->CaptionText());
        for (const char* tail : {"...", ":"})
            if (text.size() >= std::strlen(tail) && text.compare(text.size() - std::strlen(tail), std::string::npos, tail) == 0) {
                text.erase(text.size() - std::strlen(tail));
                break;
            }
    }
    // A linked action has the last word on its clients' hints.
    if (auto* action = dynamic_cast<TAction*>(item->Action()); action && !action->DoHint(text))
        return std::string();
    if (!text.empty() && item->ShortCut() && (!Application || Application->HintShortCuts()))
        text += " (" + item->ShortCutText() + ")";
    return text;
}

bool TTBCustomToolbar::HintAt(POINT clientPoint, RECT& cursorRect, std::string& text) const
{
    const TTBItemViewer* v = FView->ViewerFromPoint(clientPoint);
    if (!v || IsRectEmpty(&v->BoundsRect()))
        return false;
    cursorRect = v->BoundsRect();
    text = HintTextOf(v);
    return true;
}

namespace {
void InitiateAll(TTBCustomItem* item)
{
    item->InitiateAction();
    for (int i = 0; i < item->Count(); ++i)
        InitiateAll(item->Items(i));
}
} // namespace

void TTBCustomToolbar::InitiateActions()
{
    if (!FUpdateActions)
        return;
    for (int i = 0; i < FItems->Count(); ++i)
        InitiateAll(FItems->Items(i));
}

// ------------------------------------------------------------- messages

void TTBCustomToolbar::Paint(HDC dc)
{
    FView->DrawAll(dc);
}

void TTBCustomToolbar::WMMouseMove(TMessage& msg)
{
    POINT pt = ScreenPointOf(HandleValue(), msg.LParam);
    FView->TrackHover(&pt, true);
    POINT client{GET_X_LPARAM(msg.LParam), GET_Y_LPARAM(msg.LParam)};
    const TTBItemViewer* v = FView->ViewerFromPoint(client);
    SetHint(v && !v->Item()->HasEffectiveOption(tboLongHintInMenuOnly) ? v->Item()->Hint() : std::string());
    if (!FTrackingLeave) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, HandleValue(), 0};
        FTrackingLeave = TrackMouseEvent(&tme) != FALSE;
    }
}

void TTBCustomToolbar::WMMouseLeave(TMessage& msg)
{
    if (msg.Msg == WM_MOUSELEAVE)
        FTrackingLeave = false;
    if (msg.Msg == WM_NCMOUSEMOVE)
        SetHint(std::string());
    if (FInPressLoop)
        return;
    if (GetCapture() != HandleValue())
        FView->TrackHover(nullptr, false);
}

void TTBCustomToolbar::CMHintShow(THintInfo& info)
{
    // Over an item the hint is the item's, and lasts while the mouse stays on it.
    RECT cursorRect{};
    std::string text;
    if (HintAt(info.CursorPos, cursorRect, text)) {
        info.CursorRect = cursorRect;
        info.HintStr = text;
    }
}

void TTBCustomToolbar::WndProc(TMessage& msg)
{
    switch (msg.Msg) {
    case CM_SHOWHINTCHANGED:
        FView->SetShowHints(ShowHint());
        break;
    case CM_HINTSHOW:
        CMHintShow(*reinterpret_cast<THintInfo*>(msg.LParam));
        return;
    case CM_UPDATEACTIONS:
        TTBCustomDockableWindow::WndProc(msg);
        InitiateActions();
        return;
    case WM_PAINT:
        if (msg.WParam) {
            // The view's off-screen relayout asks for the whole window in its bitmap.
            FView->DrawAll(reinterpret_cast<HDC>(msg.WParam));
            return;
        }
        break;
    case WM_PRINTCLIENT:
        EraseBackground(reinterpret_cast<HDC>(msg.WParam));
        FView->DrawAll(reinterpret_cast<HDC>(msg.WParam));
        return;
    case WM_MOUSEMOVE:
        WMMouseMove(msg);
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        FInPressLoop = true;
        FView->MouseDownAt(ScreenPointOf(HandleValue(), msg.LParam));
        FInPressLoop = false;
        return;
    case WM_LBUTTONUP:
        if (GetCapture() == HandleValue())
            FView->MouseUpAt(ScreenPointOf(HandleValue(), msg.LParam));
        return;
    case WM_MOUSELEAVE:
    case WM_NCMOUSELEAVE:
    case WM_NCMOUSEMOVE:
    case WM_RBUTTONUP:
        // Then the inherited handling: a right release shows the context menu.
        WMMouseLeave(msg);
        break;
    case WM_SYSCOMMAND:
        if ((msg.WParam & 0xFFF0) == SC_KEYMENU && KeyMenu(msg.LParam)) {
            msg.Result = 0;
            return;
        }
        break;
    case TBM_APPSYSCOMMAND:
        msg.Result = (msg.WParam & 0xFFF0) == SC_KEYMENU && KeyMenu(msg.LParam) ? 1 : 0;
        return;
    case WM_CAPTURECHANGED:
        FView->CaptureLost();
        break;
    case WM_SETTINGCHANGE:
        TTBCustomDockableWindow::WndProc(msg);
        if (msg.WParam == SPI_SETNONCLIENTMETRICS) {
            // The shared menu font follows the system's; bars drawn with it re-measure.
            RefreshSystemMenuFont();
            FView->InvalidatePositions();
            ArrangeSelf();
        }
        return;
    default:
        break;
    }
    TTBCustomDockableWindow::WndProc(msg);
}
