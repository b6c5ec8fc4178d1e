#pragma once
// Controls over real Win32 windows. TControl is anything with bounds in a
// parent; TGraphicControl is painted by its parent; TWinControl owns a
// window; TCustomControl is a window the program paints itself.
#include "toolkit/Component.h"
#include "toolkit/ErrorSink.h"
#include "toolkit/Events.h"
#include "toolkit/Graphics.h"

#include <windows.h>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TControl;
class TWinControl;

// The focus bookkeeping of the top-level window that holds a control (the
// form implements it): which child is active, and being told when a child
// window receives the focus. Controls reach their form only through it.
class TFocusHost {
public:
    virtual TWinControl* ActiveControl() const = 0;
    virtual void SetActiveControl(TWinControl* control) = 0;
    virtual void FocusChanged(TWinControl* control) = 0;

protected:
    ~TFocusHost() = default;
};

// What pops up for a control at a screen point when it is right-clicked
// (the context menu implements it).
class TPopup : public TComponent {
public:
    QV_CLASS(TPopup, TComponent)
    using TComponent::TComponent;

    // Shows the popup at a screen point on behalf of `component`.
    virtual void Popup(int x, int y, TControl* component = nullptr) = 0;
};

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
const TTypeInfo& TypeAlign();

// The mouse button of a press or release.
enum TMouseButton { mbLeft, mbRight, mbMiddle };
// Bits of TShiftState: the modifier keys and mouse buttons held during a
// mouse event, and whether a press is the second of a double-click.
enum TShiftStateBit { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = uint32_t;
constexpr TShiftState ShiftBit(TShiftStateBit b) { return 1u << b; }
// The shift state of a mouse message: its key flags, and Alt as the keyboard has it now.
TShiftState MouseShiftState(WPARAM keyFlags);

// (Sender, Button, Shift, X, Y) in the control's client coordinates.
using TMouseEvent = TMethod<TObject*, TMouseButton, TShiftState, int, int>;
// (Sender, Shift, X, Y) in the control's client coordinates.
using TMouseMoveEvent = TMethod<TObject*, TShiftState, int, int>;

// One window message as the controls see it.
struct TMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};

// Messages of the toolkit's own, handed to a control with Perform. They lie
// in the application's private range, which no standard control uses, and
// what a control leaves unhandled goes to TControl::WndProc, never to the
// platform's default handling.
constexpr UINT CM_BASE = WM_APP + 0x3A00;
constexpr UINT CM_LAST = CM_BASE + 0xFF;
// ShowHint changed (set, or taken from the parent); a windowed control
// passes it on to the children that take their parent's.
constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 0;
// The hint is about to show: LParam is the THintInfo to adjust or refuse.
constexpr UINT CM_HINTSHOW = CM_BASE + 1;
// Idle time: update what depends on the program's state; a windowed control
// passes it on to each child, depth first.
constexpr UINT CM_UPDATEACTIONS = CM_BASE + 2;

// What the hint window is about to show for a control, given to the control
// with CM_HINTSHOW. Points and rectangles are in its client coordinates.
struct THintInfo {
    TControl* HintControl;
    POINT CursorPos;
    RECT CursorRect;     // the hint goes when the mouse leaves it
    std::string HintStr; // nothing shows while it is empty
    bool Refused;        // set to show no hint
};

// The parts of a hint "short|long": the part before the first "|" (all of
// it without one), and the part after it (all of it without one).
std::string GetShortHint(const std::string& hint);
std::string GetLongHint(const std::string& hint);

class TControl : public TComponent {
public:
    QV_CLASS(TControl, TComponent)

    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* parent);

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int value) { SetBounds(value, FTop, FWidth, FHeight); }
    void SetTop(int value) { SetBounds(FLeft, value, FWidth, FHeight); }
    void SetWidth(int value) { SetBounds(FLeft, FTop, value, FHeight); }
    void SetHeight(int value) { SetBounds(FLeft, FTop, FWidth, value); }
    RECT BoundsRect() const { return RECT{FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
    virtual void SetBounds(int left, int top, int width, int height);
    virtual int ClientWidth() const { return FWidth; }
    virtual int ClientHeight() const { return FHeight; }

    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible itself and every parent up to a visible window.
    virtual bool Showing() const;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign value);

    TColor Color() const { return FColor; }
    void SetColor(TColor value);

    TFont* Font() const { return FFont.get(); }
    // Copies the given font's description; the control stops following its parent's font.
    void SetFont(TFont* value);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);

    const std::string& Caption() const { return GetText(); }
    void SetCaption(const std::string& value) { SetText(value); }
    virtual const std::string& GetText() const;
    virtual void SetText(const std::string& value);

    TPopup* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopup* menu);

    // "short|long": the hint window shows the short part, the application's
    // Hint the long one.
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& value) { FHint = value; }
    // Whether hints show over this control; setting it stops the control
    // following its parent's.
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool value);

    // Sends a message straight to this control's own handling.
    LRESULT Perform(UINT msg, WPARAM wParam, LPARAM lParam);

    // The focus bookkeeping of the top-level window that holds this
    // control (itself, if it is one), or nullptr.
    TFocusHost* FocusHost() const;

    virtual void Invalidate();
    void Click();

    // Painting for controls that their parent paints (graphic controls).
    virtual void PaintOn(HDC dc) { (void)dc; }

    // The palette the control draws with, or nullptr for none.
    virtual HPALETTE GetPalette() const { return nullptr; }
    // Selects and realises the control's palette (if it has one) in a device
    // context of its own, in the background unless `foreground`, and
    // repaints it when that changed the system palette. A windowed control
    // asks its children first. True if any palette was realised.
    virtual bool PaletteChanged(bool foreground);

    TNotifyEvent OnClick;
    TNotifyEvent OnResize;

protected:
    // The standard mouse events; the classes that publish them make them public.
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    // Called for the button and move messages in client coordinates; they
    // fire the events. A descendant may override them.
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);

    void Notification(TComponent* component, TOperation operation) override;
    // The toolkit's own messages (CM_...) and the mouse's button and move
    // messages for every control; a windowed control's window messages too.
    virtual void WndProc(TMessage& msg);

    virtual void VisibleChanged();
    virtual void EnabledChanged();
    virtual void ColorChanged();
    virtual void FontChanged();
    virtual void TextChanged();
    virtual void BoundsChanged();
    // Asks the parent to lay out its aligned children again, with this
    // control winning ties in its position.
    void RequestAlign();
    void Resized();
    // Tells the parent that this child's place in its layout changed.
    void ParentLayoutChanged();

    // Updates the stored bounds without moving anything (the window moved).
    void UpdateBoundsFromWindow(int left, int top, int width, int height);

    std::string FText;

private:
    void MouseMessage(const TMessage& msg);
    void OnFontChange(TObject* sender);
    void ParentFontChanged();
    void ParentShowHintChanged();
    friend class TWinControl;

    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    bool FVisible = true;
    bool FEnabled = true;
    TAlign FAlign = alNone;
    TColor FColor = clBtnFace;
    std::unique_ptr<TFont> FFont;
    bool FParentFont = true;
    bool FTakingParentFont = false;
    TPopup* FPopupMenu = nullptr;
    std::string FHint;
    bool FShowHint = false;
    bool FParentShowHint = true;
};

// A control without a window of its own: its parent paints it.
class TGraphicControl : public TControl {
public:
    QV_CLASS(TGraphicControl, TControl)
    using TControl::TControl;
    void Invalidate() override;
};

// What a windowed control asks of CreateWindowEx.
struct TCreateParams {
    std::string WinClassName; // a registered class; empty: the toolkit's own class
    DWORD Style = 0;
    DWORD ExStyle = 0;
    bool Subclass = false; // a standard control whose procedure is subclassed
    // Made without its text, which InitializeWnd puts in once the window has its font.
    bool TextAfterCreation = false;
    // With WinClassName empty: a class of the toolkit's own under this name
    // and class style (a popup of its own kind); empty: "QuiverleafWindow".
    std::string OwnClassName;
    UINT ClassStyle = CS_DBLCLKS;
};

class TWinControl : public TControl {
public:
    QV_CLASS(TWinControl, TControl)

    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    // The window, created when the control is first on screen or here, on
    // first use (with the parent's first).
    HWND Handle();
    HWND HandleValue() const { return FHandle; }
    bool HandleAllocated() const { return FHandle != nullptr; }
    // Whether the window is due now: the control is shown, has an area, and
    // its parent's window is on screen. A control of no area gets its window
    // once it has one, or when its handle is asked for.
    bool WantsWindow() const;
    void HandleNeeded() { Handle(); }
    void DestroyHandle();
    // Destroys the window and makes a new one with the same state.
    void RecreateWnd();

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int index) const { return FControls.at(static_cast<size_t>(index)); }

    int TabOrder() const;
    void SetTabOrder(int value);
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool value) { FTabStop = value; }
    // Children that are windowed, in tab order.
    const std::vector<TWinControl*>& TabList() const { return FTabList; }

    int ClientWidth() const override;
    int ClientHeight() const override;
    RECT ClientRect() const;

    bool CanFocus() const;
    bool Focused() const;
    virtual void SetFocus();
    // The next (or previous) tab stop after `current` among this control's
    // descendants, wrapping around; nullptr if none can take the focus.
    TWinControl* FindNextControl(TWinControl* current, bool forward, bool checkTabStop) const;

    // Lays out the aligned children: top ones down from the top edge,
    // bottom ones up from the bottom edge, then left ones, right ones and
    // last the one that fills what is left. `changed` wins ties.
    void AlignControls(TControl* changed);
    void DisableAlign() { ++FAlignLock; }
    void EnableAlign();

    void Invalidate() override;
    bool PaletteChanged(bool foreground) override;

    // The object behind a window of this toolkit, or nullptr.
    static TWinControl* FromHandle(HWND wnd);
    // The shown child control whose bounds hold a client point, the
    // topmost first, or nullptr.
    TControl* ControlAtPos(POINT clientPoint) const;

protected:
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    // Called after the window exists, to give it the object's state.
    virtual void InitializeWnd();
    // Called just before the window is destroyed, to save what lives only in it.
    virtual void SaveWndState() {}

    // Message handling: handlers that decline fall through to DefaultHandler.
    void WndProc(TMessage& msg) override;
    void DefaultHandler(TMessage& msg);
    // Reflected notifications from this control's own window.
    virtual void CommandNotify(WORD code) { (void)code; }
    virtual HBRUSH CtlColor(HDC dc);
    virtual bool PaintWindow(HDC dc, const RECT& area);
    virtual void EraseBackground(HDC dc);

    void VisibleChanged() override;
    void EnabledChanged() override;
    void ColorChanged() override;
    void FontChanged() override;
    void TextChanged() override;
    void BoundsChanged() override;
    void Loaded() override;

    // Makes the windows of the visible children (and theirs) when this
    // control is on screen.
    void CreateChildHandles();
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    // Told after a child came or went (`child` has then already left), was
    // shown or hidden, or was moved, resized or given another alignment,
    // other than by this control's own alignment pass, once the aligned
    // children have been laid out again. A control that places its children
    // itself lays them out here; by default there is nothing more to do.
    virtual void ChildLayoutChanged(TControl* child) { (void)child; }
    // Restacks a child's window so that later children lie above earlier ones.
    void ApplyZOrder(TWinControl* control);
    // The same for a child's window that was just made (below its siblings).
    void PlaceNewWindow(TWinControl* control);
    // Moves this control to another parent without destroying its window,
    // so everything bound to the handle survives the move, and has the
    // platform recompute the window's frame there. Without a window, or
    // without a new parent, it is an ordinary parent change.
    void ReparentKeepingWindow(TWinControl* parent);

private:
    friend class TControl;
    static LRESULT CALLBACK StaticWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK StaticSubclassProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                               DWORD_PTR refData);
    LRESULT Dispatch(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void HandleWindowPosChanged(const WINDOWPOS& pos);
    // The window's rectangle in its parent's client coordinates (the
    // screen's for a top-level window); false while it has none or is minimised.
    bool WindowBounds(RECT& r) const;
    void PaintGraphicChildren(HDC dc);

    HWND FHandle = nullptr;
    bool FSubclassed = false;
    std::vector<TControl*> FControls;     // children, creation (z) order
    std::vector<TWinControl*> FTabList;   // windowed children, tab order
    bool FTabStop = false;
    int FAlignLock = 0;
    bool FAlignPending = false;
    bool FAligning = false; // its own alignment pass is moving the children
    bool FInWindowPos = false;
    bool FKeepWindow = false; // leaving its parent without losing the window
    BrushHandle FBrush;
};

// A window the program paints itself (panels, dock sites, the page bar).
class TCustomControl : public TWinControl {
public:
    QV_CLASS(TCustomControl, TWinControl)
    using TWinControl::TWinControl;

protected:
    bool PaintWindow(HDC dc, const RECT& area) override;
    // Paints the control's face; the background has already been filled.
    virtual void Paint(HDC dc) { (void)dc; }
};

