#pragma once
// The toolbar control: a dockable bar that owns a root item with the
// buttons, a chevron item and one toolbar view that lays them out and
// paints them in the bar's window. It answers the dock's questions about
// its contents from the view, turns the window's mouse messages into the
// view's tracking, and takes part in the application's shortcut handling.
#include "toolbar/dock/TBDockableWindow.h"
#include "toolbar/items/TBChevronItem.h"
#include "toolbar/items/TBControlItem.h"
#include "toolbar/items/TBItem.h"
#include "toolbar/items/TBItemViewer.h"
#include "toolbar/items/TBRootItem.h"
#include "toolbar/items/TBSeparatorItem.h"
#include "toolbar/items/TBToolbarView.h"

class TTBCustomToolbar;

// The classes of a toolbar's parts, given by the class that composes them so
// that a descendant can put its own in place.
struct TTBToolbarClasses {
    TTBRootItem* (*RootItem)(TTBCustomToolbar* toolbar);
    TTBChevronItem* (*ChevronItem)(TTBCustomToolbar* toolbar);
    TTBToolbarView* (*View)(TTBCustomToolbar* toolbar);
    static const TTBToolbarClasses& Standard();
};

// (Key message, var Handled)
using TTBShortCutEvent = TMethod<const MSG&, bool&>;

class TTBCustomToolbar : public TTBCustomDockableWindow {
public:
    QV_CLASS(TTBCustomToolbar, TTBCustomDockableWindow)
    explicit TTBCustomToolbar(TComponent* owner, const TTBToolbarClasses& classes = TTBToolbarClasses::Standard());
    ~TTBCustomToolbar() override;

    TTBRootItem* Items() const { return FItems; }
    TTBChevronItem* ChevronItem() const { return FChevronItem; }
    TTBToolbarView* View() const { return FView; }

    // The chevron item's hint; its caption is the short part with each "&" doubled.
    std::string ChevronHint() const { return FChevronItem->Hint(); }
    void SetChevronHint(const std::string& value);
    // The images of the bar's items: the root item's submenu images.
    TCustomImageList* Images() const { return FItems->SubmenuImages(); }
    void SetImages(TCustomImageList* value) { FItems->SetSubmenuImages(value); }
    // The root item's linked submenu, whose items the bar then shows.
    TTBCustomItem* LinkSubitems() const { return FItems->LinkSubitems(); }
    void SetLinkSubitems(TTBCustomItem* value) { FItems->SetLinkSubitems(value); }
    bool ChevronMoveItems() const { return FChevronMoveItems; }
    void SetChevronMoveItems(bool value) { FChevronMoveItems = value; }
    int FloatingWidth() const { return FFloatingWidth; }
    void SetFloatingWidth(int value);
    // Outside loading it also sets FullSize, ShrinkMode, CloseButton and
    // ProcessShortCuts to what a menu bar needs.
    bool MenuBar() const { return FMenuBar; }
    void SetMenuBar(bool value);
    // The root item's options, inherited by every item.
    TTBItemOptions Options() const { return FItems->Options(); }
    void SetOptions(TTBItemOptions value) { FItems->SetOptions(value); }
    bool ProcessShortCuts() const { return FProcessShortCuts; }
    void SetProcessShortCuts(bool value);
    TTBShrinkMode ShrinkMode() const { return FShrinkMode; }
    void SetShrinkMode(TTBShrinkMode value);
    bool SystemFont() const { return FSystemFont; }
    void SetSystemFont(bool value);
    bool UpdateActions() const { return FUpdateActions; }
    void SetUpdateActions(bool value) { FUpdateActions = value; }
    TTBShortCutEvent OnShortCut;

    // The bar's Hint is the hint of the item under the mouse (empty over
    // none, or for an item whose long hint belongs in menus only), kept up
    // to date by mouse moves.
    // What a hint window shows at a client point: the viewer's rectangle,
    // inside which the hint stays, and its text. False where there is none.
    bool HintAt(POINT clientPoint, RECT& cursorRect, std::string& text) const;
    // The hint text of a viewer: the short hint, else the caption without
    // "&" marks and a trailing ":" or "...", followed by the shortcut when
    // the application shows shortcuts in hints.
    static std::string HintTextOf(const TTBItemViewer* viewer);
    // The idle-time update of the items' actions, when UpdateActions is on.
    void InitiateActions();

    // The size of all shown items in one row, from the last relayout.
    SIZE BaseSize() const { return FBaseSize; }
    int RowCount() const { return FRowCount; }
    // The wrap length in a dock (none: floating), 0 when the bar doesn't wrap.
    int WrapLengthFor(const TTBDock* dock) const;
    // Told by the view after a relayout that it did on its own.
    void ViewResized(SIZE totalSize);

    // The control item (anywhere among the items) that places the control, or nullptr.
    TTBControlItem* FindControlItem(const TControl* control) const;
    // Told by a control item that it now places `control`: an item the bar
    // made for that control on its own gives way.
    void ControlClaimed(TControl* control, TTBControlItem* claimant);

    // Offered a key press before the focused control: OnShortCut, then the
    // items' shortcuts. True when used.
    bool HandleShortCut(const MSG& keyMessage);

    // ---- The dockable window's questions
    void ItemAtPoint(POINT clientPoint, bool& exists) override;
    SIZE ArrangeContents(bool canMoveControls, PlacementKind previous, bool newFloating, TTBDock* newDock) override;
    void GetContentSize(SIZE& size) override;
    void GetMinimumLength(int& length) override;
    TTBShrinkMode EffectiveShrinkMode() const override { return FShrinkMode; }
    bool WantsMenuEvents() const override { return FMenuBar; }

protected:
    void Paint(HDC dc) override;
    void WndProc(TMessage& msg) override;
    void FontChanged() override;
    void ColorChanged() override;
    void Loaded() override;
    // A child control changed its place or size, came, went, showed or hid:
    // arrange again, unless the view is moving the controls itself.
    void ChildLayoutChanged(TControl* child) override;
    // Where keyboard tracking starts: open the bar from the keyboard with a
    // character (0 for Alt released alone or F10). True when it took over.
    // The bar has no keyboard tracking of its own, so it declines and the
    // system's own handling of the menu key goes on.
    virtual bool OpenFromKeyboard(char key, bool primaryOnly);

private:
    friend class TTBToolbarView;
    void SetItems(TTBRootItem* value);
    // Gives a child control without a control item one, at the end of Items.
    void AdoptControl(TControl* control);
    void SetPlacementParameters();
    SIZE FrameSizeIn(const TTBDock* dock) const;
    void UpdateShortCutRegistration();
    void WMMouseMove(TMessage& msg);
    void WMMouseLeave(TMessage& msg);
    void CMHintShow(THintInfo& info);
    // The menu-key system command, sent to the bar or through the
    // application's hook. True when used.
    bool KeyMenu(LPARAM key);

    TTBRootItem* FItems;
    TTBChevronItem* FChevronItem;
    TTBToolbarView* FView;
    SIZE FBaseSize{0, 0};
    bool FChevronMoveItems = true;
    int FArrangeLock = 0;    // raised while the view updates positions (and moves the controls)
    int FSelfArranging = 0;  // raised while the bar itself has the view update positions
    int FFloatingWidth = 0;
    bool FInPressLoop = false;
    bool FMenuBar = false;
    bool FMenuBarHook = false; // registered with the menu bars' message watch
    bool FInKeyMenu = false;
    bool FProcessShortCuts = false;
    bool FRegistered = false;
    int FRowCount = 0;
    TTBShrinkMode FShrinkMode = tbsmChevron;
    bool FSystemFont = true;
    bool FUpdateActions = true;
    bool FTrackingLeave = false;
};

// The toolbar with its properties published: the page bar is one.
class TTBToolbar : public TTBCustomToolbar {
public:
    QV_CLASS(TTBToolbar, TTBCustomToolbar)
    using TTBCustomToolbar::TTBCustomToolbar;
};
