#pragma once
// The base of every bar that can live in a dock: which dock holds it and
// where (row, position), the dock it returns to, the events of a dock
// change, and the operations through which the dock's layout, the docked
// frame and the drag ask the bar about its contents. What the bar holds is
// its descendant's business (the toolbar control).
#include "toolbar/dock/TBDock.h"
#include "toolkit/Forms.h"

class TTBFloatingWindowParent;

class TTBCustomDockableWindow : public TCustomControl {
public:
    QV_CLASS(TTBCustomDockableWindow, TCustomControl)
    explicit TTBCustomDockableWindow(TComponent* owner);
    ~TTBCustomDockableWindow() override;

    // ---- Where the bar sits
    TTBDock* CurrentDock() const { return FCurrentDock; }
    // A dock docks the bar there; none puts it on its form (raises when it
    // has none). Ignored while loading.
    void SetCurrentDock(TTBDock* dock);
    TTBDock* DefaultDock() const { return FDefaultDock; }
    void SetDefaultDock(TTBDock* dock);
    TTBDock* LastDock() const { return FLastDock; }
    void SetLastDock(TTBDock* dock);
    bool UseLastDock() const { return FUseLastDock; }
    void SetUseLastDock(bool value);
    int DockRow() const { return FDockRow; }
    void SetDockRow(int value);
    int DockPos() const { return FDockPos; }
    void SetDockPos(int value);
    bool Docked() const { return FDocked; }
    bool Floating() const { return FFloating; }

    // ---- Published settings
    bool ActivateParent() const { return FActivateParent; }
    void SetActivateParent(bool value) { FActivateParent = value; }
    bool AutoResize() const { return FAutoResize; }
    void SetAutoResize(bool value);
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);
    bool CloseButton() const { return FCloseButton; }
    void SetCloseButton(bool value) { FCloseButton = value; }
    bool CloseButtonWhenDocked() const { return FCloseButtonWhenDocked; }
    void SetCloseButtonWhenDocked(bool value);
    TTBDockableTo DockableTo() const { return FDockableTo; }
    void SetDockableTo(TTBDockableTo value) { FDockableTo = value & DockableToAll; }
    TTBDockMode DockMode() const { return FDockMode; }
    void SetDockMode(TTBDockMode value) { FDockMode = value; }
    TTBDragHandleStyle DragHandleStyle() const { return FDragHandleStyle; }
    void SetDragHandleStyle(TTBDragHandleStyle value);
    TTBFloatingMode FloatingMode() const { return FFloatingMode; }
    void SetFloatingMode(TTBFloatingMode value) { FFloatingMode = value; }
    bool FullSize() const { return FFullSize; }
    void SetFullSize(bool value);
    bool HideWhenInactive() const { return FHideWhenInactive; }
    void SetHideWhenInactive(bool value) { FHideWhenInactive = value; }
    bool Resizable() const { return FResizable; }
    void SetResizable(bool value) { FResizable = value; }
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool value) { FShowCaption = value; }
    bool SmoothDrag() const { return FSmoothDrag; }
    void SetSmoothDrag(bool value) { FSmoothDrag = value; }
    bool Stretch() const { return FStretch; }
    void SetStretch(bool value);

    TNotifyEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TTBDockChangingEvent OnDockChanging;
    TTBDockChangingEvent OnDockChangingHidden;
    TNotifyEvent OnDockChanged;
    TNotifyEvent OnMove;
    TNotifyEvent OnRecreated;
    TNotifyEvent OnRecreating;
    TNotifyEvent OnVisibleChanged;

    // ---- State shared with the dock's layout and the drag
    int PlacedRow = -1;      // the row the last layout put the bar in
    int PlacedPos = 0;       // where along that row
    int ShrunkLength = 0;    // the length the dock gave it; 0 = its natural length
    int CrossSize = 0;       // its contents' size across the dock at the last layout
    bool WantsOwnRow = false;
    bool SmoothDragActive = false;
    bool CloseHot = false;
    bool ClosePressed = false;
    int SizeNotifyLock = 0;  // while > 0, bounds changes don't call BeforeResize
    bool SelfArrangePending = false;

    // ---- Operations
    // Measures and arranges the contents for where the bar sits now and
    // sizes the bar (a docked bar through its dock's layout).
    void ArrangeSelf();
    // While locked, ArrangeSelf is only remembered; the last unlock runs it.
    void LockSelfArrange() { ++FSelfArrangeLock; }
    void UnlockSelfArrange();
    bool CanDragNow() const;
    // Asks OnCloseQuery, then hides the bar and fires OnClose.
    void CloseBar();
    // Returns a loose bar to its last or default dock; a docked bar that
    // may float starts floating.
    void DockAtDefault();
    // Pixels the docked frame takes for the grip, by grip style and close button.
    int GripSize() const;
    // The bar asks for the form's menu-key events (a menu bar does).
    virtual bool WantsMenuEvents() const { return false; }

    // ---- Virtual operations, in their slot order
    virtual SIZE GetDockedFrameSize() const;
    virtual void ItemAtPoint(POINT clientPoint, bool& exists);
    virtual SIZE ArrangeContents(bool canMoveControls, PlacementKind previous, bool newFloating, TTBDock* newDock) = 0;
    virtual void PaintDockedFrame(bool useGivenDC, HDC dc, HRGN updateRgn);
    virtual void GetContentSize(SIZE& size) = 0;
    virtual RECT CloseButtonBox(bool vertical) const;
    virtual void GetMinimumLength(int& length) { (void)length; }
    virtual void GetFloatingSizeLimits(int& minimum, int& maximum) { (void)minimum, (void)maximum; }
    virtual TTBShrinkMode EffectiveShrinkMode() const { return tbsmNone; }
    virtual void BeforeResize(int newWidth, int newHeight) { (void)newWidth, (void)newHeight; }
    virtual SIZE GetFloatingFrameSize() const;

    void SetParent(TWinControl* parent) override;
    void SetBounds(int left, int top, int width, int height) override;
    // The dock's palette while docked, none otherwise.
    HPALETTE GetPalette() const override;
    // A palette realised in the background redraws the frame too.
    bool PaletteChanged(bool foreground) override;

protected:
    // ---- Hooks
    virtual bool IsTransparentChild(const TControl* control) const { (void)control; return false; }
    // Fires OnDockChangingHidden unless the bar is being freed.
    virtual void NotifyDockChangingHidden(bool newFloating, TTBDock* dockingTo);
    // The host a floating bar lives in; descendants may put their own in place.
    virtual TTBFloatingWindowParent* CreateFloatingHost();
    // Runs at the end of loading, before the bar arranges itself.
    virtual void AfterLoaded() {}

    void CreateParams(TCreateParams& params) override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void VisibleChanged() override;
    void ColorChanged() override;
    void TextChanged() override;
    void WndProc(TMessage& msg) override;

    // Redraws the non-client frame (after a colour or state change).
    void RedrawFrame();
    // Has the platform recompute the non-client frame's size.
    void RecomputeFrame();

private:
    void RefreshDockFlags();
    void UpdateVisibility();
    void Float();
    void HandleNcCalcSize(TMessage& msg);
    void HandleMoved();

    TTBDock* FCurrentDock = nullptr;
    TTBDock* FDefaultDock = nullptr;
    TTBDock* FLastDock = nullptr;
    bool FDocked = false;
    bool FFloating = false;
    int FDockRow = 0;
    int FDockPos = -1;

    bool FActivateParent = true;
    bool FAutoResize = true;
    TFormBorderStyle FBorderStyle = bsSingle;
    bool FCloseButton = true;
    bool FCloseButtonWhenDocked = false;
    TTBDockableTo FDockableTo = DockableToAll;
    TTBDockMode FDockMode = dmCanFloat;
    TTBDragHandleStyle FDragHandleStyle = dhSingle;
    TTBFloatingMode FFloatingMode = fmOnTopOfParentForm;
    bool FFullSize = false;
    bool FHideWhenInactive = true;
    bool FResizable = true;
    bool FShowCaption = true;
    bool FSmoothDrag = true;
    bool FStretch = false;
    bool FUseLastDock = true;

    int FSelfArrangeLock = 0;
    int FHiddenLock = 0;
    int FMoveNotifyLock = 0;
    TTBFloatingWindowParent* FFloatingHost = nullptr; // cached host, owned by the bar
    POINT FFloatingPosition{0, 0};
};
