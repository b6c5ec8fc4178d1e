#include "toolkit/Controls.h"
#include "toolkit/Scopes.h"

#include <commctrl.h>
#include <windowsx.h>
#include <algorithm>
#include <exception>

namespace {

const char* const kWindowClass = "QuiverleafWindow";
const char* const kObjectProp = "QuiverleafControl";

// The program's icon at the caption's size, loaded once for the program's
// life. A class registered without a small icon has the platform copy one
// from the big icon's resource, which costs more than loading it.
class SmallProgramIcon {
public:
    SmallProgramIcon()
        : FIcon(static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)))
    {
    }
    SmallProgramIcon(const SmallProgramIcon&) = delete;
    SmallProgramIcon& operator=(const SmallProgramIcon&) = delete;
    ~SmallProgramIcon()
    {
        if (FIcon)
            DestroyIcon(FIcon);
    }
    HICON Get() const { return FIcon; }

private:
    HICON FIcon;
};

// Each class of the toolkit's own is registered once, on first use.
void RegisterToolkitClass(const std::string& name, UINT style, WNDPROC proc)
{
    static std::vector<std::string> registered;
    if (std::find(registered.begin(), registered.end(), name) != registered.end())
        return;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
    static const SmallProgramIcon smallIcon;
    wc.hIconSm = smallIcon.Get();
    wc.lpszClassName = name.c_str();
    RegisterClassExA(&wc);
    registered.push_back(name);
}

// Selects a palette into a device context (in the background or the
// foreground) and puts the previous one back on scope exit.
class PaletteSelection {
public:
    PaletteSelection(HDC dc, HPALETTE palette, bool background)
        : FDC(dc), FOld(SelectPalette(dc, palette, background ? TRUE : FALSE))
    {
    }
    PaletteSelection(const PaletteSelection&) = delete;
    PaletteSelection& operator=(const PaletteSelection&) = delete;
    ~PaletteSelection()
    {
        if (FOld)
            SelectPalette(FDC, FOld, TRUE);
    }

private:
    HDC FDC;
    HPALETTE FOld;
};

bool IsMouseMessage(UINT msg)
{
    switch (msg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        return true;
    default:
        return false;
    }
}

} // namespace

TShiftState MouseShiftState(WPARAM keyFlags)
{
    TShiftState shift = 0;
    if (keyFlags & MK_SHIFT)
        shift |= ShiftBit(ssShift);
    if (keyFlags & MK_CONTROL)
        shift |= ShiftBit(ssCtrl);
    if (keyFlags & MK_LBUTTON)
        shift |= ShiftBit(ssLeft);
    if (keyFlags & MK_RBUTTON)
        shift |= ShiftBit(ssRight);
    if (keyFlags & MK_MBUTTON)
        shift |= ShiftBit(ssMiddle);
    // Mouse messages carry no flag for Alt.
    if (GetKeyState(VK_MENU) < 0)
        shift |= ShiftBit(ssAlt);
    return shift;
}

std::string GetShortHint(const std::string& hint)
{
    return hint.substr(0, hint.find('|'));
}

std::string GetLongHint(const std::string& hint)
{
    const size_t bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(bar + 1);
}

const TTypeInfo& TypeAlign()
{
    static const TTypeInfo t = MakeEnumType("TAlign", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"});
    return t;
}

// ---------------------------------------------------------------- TControl

const TClassInfo& TPopup::StaticClass()
{
    return MakeClassInfo<TPopup>("TPopup", &TComponent::StaticClass(), [](auto&) {});
}

const TClassInfo& TControl::StaticClass()
{
    return MakeClassInfo<TControl>("TControl", &TComponent::StaticClass(), [](TClassBuilder<TControl>& b) {
        b.Ordinal("Align", TypeAlign(), &TControl::Align, &TControl::SetAlign)
            .Ordinal("Color", TypeColor(), &TControl::Color, &TControl::SetColor)
            .Ordinal("Enabled", TypeBoolean(), &TControl::Enabled, &TControl::SetEnabled)
            .Object<TFont>("Font", &TControl::Font, &TControl::SetFont)
            .Ordinal("Height", TypeInteger(), &TControl::Height, &TControl::SetHeight)
            .String("Hint", TypeString(), &TControl::Hint, &TControl::SetHint)
            .Ordinal("Left", TypeInteger(), &TControl::Left, &TControl::SetLeft)
            .Ordinal("ParentFont", TypeBoolean(), &TControl::ParentFont, &TControl::SetParentFont)
            .Ordinal("ParentShowHint", TypeBoolean(), &TControl::ParentShowHint, &TControl::SetParentShowHint)
            .Ordinal("ShowHint", TypeBoolean(), &TControl::ShowHint, &TControl::SetShowHint)
            .Ordinal("Top", TypeInteger(), &TControl::Top, &TControl::SetTop)
            .Ordinal("Visible", TypeBoolean(), &TControl::Visible, &TControl::SetVisible)
            .Ordinal("Width", TypeInteger(), &TControl::Width, &TControl::SetWidth);
    });
}

TControl::TControl(TComponent* owner) : TComponent(owner), FFont(std::make_unique<TFont>())
{
    FFont->OnChange = MakeMethod<&TControl::OnFontChange>(this);
}

TControl::~TControl()
{
    Destroying();
    if (FParent)
        FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent)
{
    if (parent == FParent)
        return;
    if (parent == this)
        throw EInvalidOperation("A control cannot be its own parent");
    if (FParent)
        FParent->RemoveControl(this);
    if (parent) {
        parent->InsertControl(this);
        if (FParentFont)
            ParentFontChanged();
        ParentShowHintChanged();
    }
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    if (width < 0)
        width = 0;
    if (height < 0)
        height = 0;
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight)
        return;
    bool resized = width != FWidth || height != FHeight;
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    BoundsChanged();
    if (FAlign != alNone)
        RequestAlign();
    if (resized)
        Resized();
    ParentLayoutChanged();
}

void TControl::ParentLayoutChanged()
{
    if (FParent && !FParent->FAligning)
        FParent->ChildLayoutChanged(this);
}

void TControl::UpdateBoundsFromWindow(int left, int top, int width, int height)
{
    bool resized = width != FWidth || height != FHeight;
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    if (resized)
        Resized();
}

void TControl::Resized()
{
    if (auto* self = dynamic_cast<TWinControl*>(this))
        self->AlignControls(nullptr);
    if (!IsLoading())
        OnResize(this);
}

void TControl::BoundsChanged()
{
    if (FParent)
        FParent->Invalidate();
}

bool TControl::Showing() const
{
    return FVisible && FParent && FParent->Showing();
}

void TControl::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    FVisible = value;
    VisibleChanged();
    if (FAlign != alNone)
        RequestAlign();
    ParentLayoutChanged();
}

void TControl::VisibleChanged()
{
    if (FParent)
        FParent->Invalidate();
}

void TControl::SetEnabled(bool value)
{
    if (value == FEnabled)
        return;
    FEnabled = value;
    EnabledChanged();
}

void TControl::EnabledChanged()
{
    Invalidate();
}

void TControl::SetAlign(TAlign value)
{
    if (value == FAlign)
        return;
    FAlign = value;
    RequestAlign();
    ParentLayoutChanged();
}

void TControl::RequestAlign()
{
    if (FParent)
        FParent->AlignControls(this);
}

void TControl::SetColor(TColor value)
{
    if (value == FColor)
        return;
    FColor = value;
    ColorChanged();
}

void TControl::ColorChanged()
{
    Invalidate();
}

void TControl::SetFont(TFont* value)
{
    if (value)
        FFont->Assign(value);
}

void TControl::OnFontChange(TObject*)
{
    if (!FTakingParentFont)
        FParentFont = false;
    FontChanged();
}

void TControl::SetParentFont(bool value)
{
    if (value == FParentFont)
        return;
    FParentFont = value;
    if (value)
        ParentFontChanged();
}

void TControl::ParentFontChanged()
{
    if (!FParentFont || !FParent)
        return;
    FTakingParentFont = true;
    try {
        FFont->Assign(FParent->Font());
    } catch (...) {
        FTakingParentFont = false;
        throw;
    }
    FTakingParentFont = false;
}

void TControl::FontChanged()
{
    Invalidate();
}

void TControl::SetShowHint(bool value)
{
    FParentShowHint = false;
    if (value == FShowHint)
        return;
    FShowHint = value;
    Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool value)
{
    if (value == FParentShowHint)
        return;
    FParentShowHint = value;
    ParentShowHintChanged();
}

void TControl::ParentShowHintChanged()
{
    if (!FParentShowHint || !FParent || FParent->FShowHint == FShowHint)
        return;
    FShowHint = FParent->FShowHint;
    Perform(CM_SHOWHINTCHANGED, 0, 0);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam)
{
    TMessage m{msg, wParam, lParam, 0};
    WndProc(m);
    return m.Result;
}

void TControl::WndProc(TMessage& msg)
{
    // A control without a window of its own has nothing to pass on: the
    // hint information it is given already holds its defaults.
    msg.Result = 0;
    if (IsMouseMessage(msg.Msg))
        MouseMessage(msg);
}

void TControl::MouseMessage(const TMessage& msg)
{
    const TShiftState shift = MouseShiftState(msg.WParam);
    const int x = GET_X_LPARAM(msg.LParam), y = GET_Y_LPARAM(msg.LParam);
    const TShiftState twice = ShiftBit(ssDouble);
    switch (msg.Msg) {
    case WM_MOUSEMOVE: MouseMove(shift, x, y); break;
    case WM_LBUTTONDOWN: MouseDown(mbLeft, shift, x, y); break;
    case WM_LBUTTONDBLCLK: MouseDown(mbLeft, shift | twice, x, y); break;
    case WM_LBUTTONUP: MouseUp(mbLeft, shift, x, y); break;
    case WM_RBUTTONDOWN: MouseDown(mbRight, shift, x, y); break;
    case WM_RBUTTONDBLCLK: MouseDown(mbRight, shift | twice, x, y); break;
    case WM_RBUTTONUP: MouseUp(mbRight, shift, x, y); break;
    case WM_MBUTTONDOWN: MouseDown(mbMiddle, shift, x, y); break;
    case WM_MBUTTONDBLCLK: MouseDown(mbMiddle, shift | twice, x, y); break;
    case WM_MBUTTONUP: MouseUp(mbMiddle, shift, x, y); break;
    default: break;
    }
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y)
{
    OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    OnMouseUp(this, button, shift, x, y);
}

bool TControl::PaletteChanged(bool foreground)
{
    if (!FVisible)
        return false;
    HPALETTE palette = GetPalette();
    if (!palette)
        return false;
    // A windowed control draws in its own window, any other in its parent's.
    auto* self = dynamic_cast<TWinControl*>(this);
    HWND wnd = self ? self->HandleValue() : (FParent ? FParent->HandleValue() : nullptr);
    if (!wnd)
        return false;
    WindowDC dc(wnd);
    if (!dc.Get())
        return false;
    PaletteSelection use(dc.Get(), palette, !foreground);
    // Entries mapped anew: what was drawn with the old mapping is repainted.
    const UINT changed = RealizePalette(dc.Get());
    if (changed != 0 && changed != GDI_ERROR)
        Invalidate();
    return true;
}

const std::string& TControl::GetText() const
{
    return FText;
}

void TControl::SetText(const std::string& value)
{
    if (value == FText)
        return;
    FText = value;
    TextChanged();
}

void TControl::TextChanged()
{
    Invalidate();
}

void TControl::SetPopupMenu(TPopup* menu)
{
    if (menu == FPopupMenu)
        return;
    if (FPopupMenu)
        FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = menu;
    if (menu)
        menu->FreeNotification(this);
}

TFocusHost* TControl::FocusHost() const
{
    const TControl* c = this;
    while (c->FParent)
        c = c->FParent;
    return dynamic_cast<TFocusHost*>(const_cast<TControl*>(c));
}

void TControl::Invalidate()
{
    // A plain control has nothing of its own to repaint; its parent paints it.
    if (FParent)
        FParent->Invalidate();
}

void TControl::Click()
{
    OnClick(this);
}

void TControl::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FPopupMenu)
        FPopupMenu = nullptr;
}

// ---------------------------------------------------------- TGraphicControl

const TClassInfo& TGraphicControl::StaticClass()
{
    return MakeClassInfo<TGraphicControl>("TGraphicControl", &TControl::StaticClass(), [](auto&) {});
}

void TGraphicControl::Invalidate()
{
    TWinControl* parent = Parent();
    if (parent && parent->HandleAllocated()) {
        RECT r = BoundsRect();
        InvalidateRect(parent->HandleValue(), &r, TRUE);
    }
}

// ------------------------------------------------------------- TWinControl

const TClassInfo& TWinControl::StaticClass()
{
    return MakeClassInfo<TWinControl>("TWinControl", &TControl::StaticClass(), [](TClassBuilder<TWinControl>& b) {
        b.Ordinal("TabOrder", TypeInteger(), &TWinControl::TabOrder, &TWinControl::SetTabOrder)
            .Ordinal("TabStop", TypeBoolean(), &TWinControl::TabStop, &TWinControl::SetTabStop);
    });
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl()
{
    Destroying();
    // Children that are not owned by us only lose their parent.
    while (!FControls.empty())
        FControls.back()->SetParent(nullptr);
    DestroyHandle();
}

HWND TWinControl::Handle()
{
    if (!FHandle) {
        if (Parent())
            Parent()->HandleNeeded();
        // Making the parent's window may have made this one with it.
        if (!FHandle)
            CreateWnd();
    }
    return FHandle;
}

bool TWinControl::WantsWindow() const
{
    return Visible() && Width() > 0 && Height() > 0 && Parent() && Parent()->FHandle && Parent()->Showing();
}

void TWinControl::CreateParams(TCreateParams& params)
{
    params.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    if (Parent())
        params.Style |= WS_CHILD;
    if (Visible() && Parent())
        params.Style |= WS_VISIBLE;
    if (!Enabled())
        params.Style |= WS_DISABLED;
}

void TWinControl::CreateWnd()
{
    TCreateParams params;
    CreateParams(params);
    HWND parentWnd = Parent() ? Parent()->FHandle : nullptr;
    HWND wnd;
    const char* text = params.TextAfterCreation ? "" : FText.c_str();
    if (params.WinClassName.empty()) {
        const std::string className = params.OwnClassName.empty() ? kWindowClass : params.OwnClassName;
        RegisterToolkitClass(className, params.ClassStyle, &TWinControl::StaticWndProc);
        wnd = CreateWindowExA(params.ExStyle, className.c_str(), text, params.Style, Left(), Top(), Width(),
                              Height(), parentWnd, nullptr, GetModuleHandleA(nullptr), this);
    } else {
        wnd = CreateWindowExA(params.ExStyle, params.WinClassName.c_str(), text, params.Style, Left(),
                              Top(), Width(), Height(), parentWnd, nullptr, GetModuleHandleA(nullptr), nullptr);
        if (wnd) {
            FHandle = wnd;
            SetPropA(wnd, kObjectProp, this);
            SetWindowSubclass(wnd, &TWinControl::StaticSubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
            FSubclassed = true;
        }
    }
    if (!wnd)
        throw EInvalidOperation("Cannot create window for " + Name());
    FHandle = wnd;
    InitializeWnd();
    if (Parent())
        Parent()->PlaceNewWindow(this);
    CreateChildHandles();
}

void TWinControl::InitializeWnd()
{
    SendMessageA(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), FALSE);
}

void TWinControl::CreateChildHandles()
{
    // Only what is on screen gets a window now; a hidden child gets its own
    // when it is first shown or its handle is asked for.
    if (!Showing())
        return;
    // Made last to first: the platform puts each new window below its
    // siblings, so in this order every window lands where it belongs (later
    // children above earlier ones) without being restacked. One child that
    // fails does not leave its siblings without windows; the first failure
    // is passed on once all have had their turn.
    std::exception_ptr failure;
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        auto* w = dynamic_cast<TWinControl*>(*it);
        if (!w || !w->Visible())
            continue;
        try {
            if (w->FHandle)
                w->CreateChildHandles();
            else if (w->WantsWindow())
                w->CreateWnd();
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
    }
    if (failure)
        std::rethrow_exception(failure);
}

void TWinControl::PlaceNewWindow(TWinControl* control)
{
    // A new window starts below all its siblings. That is its place unless
    // an earlier sibling already has a window.
    for (TControl* c : FControls) {
        if (c == control)
            return;
        if (auto* w = dynamic_cast<TWinControl*>(c); w && w->FHandle)
            break;
    }
    ApplyZOrder(control);
}

void TWinControl::ApplyZOrder(TWinControl* control)
{
    // Later children lie above earlier ones: put the new window on top,
    // then lift the ones created after it above it again.
    bool after = false;
    for (TControl* c : FControls) {
        auto* w = dynamic_cast<TWinControl*>(c);
        if (!w || !w->FHandle)
            continue;
        if (w == control)
            after = true;
        if (after)
            SetWindowPos(w->FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void TWinControl::DestroyHandle()
{
    if (!FHandle)
        return;
    for (TControl* c : FControls)
        if (auto* w = dynamic_cast<TWinControl*>(c))
            w->DestroyHandle();
    SaveWndState();
    HWND wnd = FHandle;
    DestroyWindow(wnd);
    // WM_NCDESTROY has cleared FHandle; make sure even if it didn't reach us.
    FHandle = nullptr;
}

void TWinControl::RecreateWnd()
{
    if (!FHandle)
        return;
    DestroyHandle();
    HandleNeeded();
}

LRESULT CALLBACK TWinControl::StaticWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<TWinControl*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        self = static_cast<TWinControl*>(cs->lpCreateParams);
        if (self) {
            SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            SetPropA(wnd, kObjectProp, self);
            self->FHandle = wnd;
        }
    }
    if (!self)
        return DefWindowProcA(wnd, msg, wParam, lParam);
    return self->Dispatch(wnd, msg, wParam, lParam);
}

LRESULT CALLBACK TWinControl::StaticSubclassProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                 DWORD_PTR refData)
{
    auto* self = reinterpret_cast<TWinControl*>(refData);
    return self->Dispatch(wnd, msg, wParam, lParam);
}

LRESULT TWinControl::Dispatch(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TMessage m{msg, wParam, lParam, 0};
    // The one exception boundary of every window: whatever a handler raises
    // goes to the application's error box, and the message counts as handled.
    try {
        WndProc(m);
    } catch (...) {
        HandleCallbackException(std::current_exception());
    }
    if (msg == WM_NCDESTROY) {
        RemovePropA(wnd, kObjectProp);
        if (FSubclassed) {
            RemoveWindowSubclass(wnd, &TWinControl::StaticSubclassProc, 1);
            FSubclassed = false;
        } else {
            SetWindowLongPtrA(wnd, GWLP_USERDATA, 0);
        }
        if (FHandle == wnd)
            FHandle = nullptr;
    }
    return m.Result;
}

void TWinControl::DefaultHandler(TMessage& msg)
{
    if (!FHandle) {
        msg.Result = 0;
        return;
    }
    if (FSubclassed)
        msg.Result = DefSubclassProc(FHandle, msg.Msg, msg.WParam, msg.LParam);
    else
        msg.Result = DefWindowProcA(FHandle, msg.Msg, msg.WParam, msg.LParam);
}

TWinControl* TWinControl::FromHandle(HWND wnd)
{
    return wnd ? static_cast<TWinControl*>(GetPropA(wnd, kObjectProp)) : nullptr;
}

TControl* TWinControl::ControlAtPos(POINT clientPoint) const
{
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        RECT r = (*it)->BoundsRect();
        if ((*it)->Visible() && PtInRect(&r, clientPoint))
            return *it;
    }
    return nullptr;
}

void TWinControl::WndProc(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_COMMAND:
        if (msg.LParam) {
            if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(msg.LParam)); child && child != this) {
                child->CommandNotify(HIWORD(msg.WParam));
                return;
            }
        }
        break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(msg.LParam)); child && child != this) {
            if (HBRUSH brush = child->CtlColor(reinterpret_cast<HDC>(msg.WParam))) {
                msg.Result = reinterpret_cast<LRESULT>(brush);
                return;
            }
        }
        break;
    case WM_ERASEBKGND:
        if (!FSubclassed) {
            EraseBackground(reinterpret_cast<HDC>(msg.WParam));
            msg.Result = 1;
            return;
        }
        break;
    case WM_PAINT:
        if (!FSubclassed) {
            PaintScope paint(FHandle);
            PaintWindow(paint.Get(), paint.Rect());
            PaintGraphicChildren(paint.Get());
            return;
        }
        break;
    case WM_WINDOWPOSCHANGED:
        DefaultHandler(msg);
        HandleWindowPosChanged(*reinterpret_cast<WINDOWPOS*>(msg.LParam));
        return;
    case WM_SETFOCUS:
        DefaultHandler(msg);
        if (TFocusHost* host = FocusHost())
            host->FocusChanged(this);
        return;
    case WM_CONTEXTMENU:
        if (PopupMenu()) {
            POINT pt{GET_X_LPARAM(msg.LParam), GET_Y_LPARAM(msg.LParam)};
            if (pt.x == -1 && pt.y == -1) {
                pt = {0, 0};
                ClientToScreen(FHandle, &pt);
            }
            PopupMenu()->Popup(pt.x, pt.y, this);
            return;
        }
        break;
    case CM_SHOWHINTCHANGED:
        for (TControl* c : std::vector<TControl*>(FControls))
            c->ParentShowHintChanged();
        return;
    case CM_UPDATEACTIONS:
        for (TControl* c : std::vector<TControl*>(FControls))
            c->Perform(CM_UPDATEACTIONS, 0, 0);
        return;
    case WM_SYSCOLORCHANGE:
        // The platform tells only top-level windows: each child hears it from its parent.
        for (TControl* c : std::vector<TControl*>(FControls))
            c->Perform(WM_SYSCOLORCHANGE, msg.WParam, msg.LParam);
        break;
    default:
        break;
    }
    if (IsMouseMessage(msg.Msg)) {
        // The platform's handling first (a right release asks for the
        // context menu), then the mouse events.
        DefaultHandler(msg);
        const LRESULT result = msg.Result;
        TControl::WndProc(msg);
        msg.Result = result;
        return;
    }
    if (msg.Msg >= CM_BASE && msg.Msg <= CM_LAST) {
        TControl::WndProc(msg);
        return;
    }
    DefaultHandler(msg);
}

bool TWinControl::PaletteChanged(bool foreground)
{
    if (!Visible() || !FHandle)
        return false;
    // The topmost children first, then the control itself.
    bool realised = false;
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it)
        if ((*it)->PaletteChanged(foreground))
            realised = true;
    if (TControl::PaletteChanged(foreground))
        realised = true;
    return realised;
}

void TWinControl::HandleWindowPosChanged(const WINDOWPOS& pos)
{
    if (FInWindowPos || ((pos.flags & SWP_NOSIZE) && (pos.flags & SWP_NOMOVE)))
        return;
    RECT r;
    if (WindowBounds(r))
        UpdateBoundsFromWindow(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

bool TWinControl::WindowBounds(RECT& r) const
{
    if (!FHandle || IsIconic(FHandle))
        return false;
    GetWindowRect(FHandle, &r);
    if (Parent() && Parent()->FHandle)
        MapWindowPoints(HWND_DESKTOP, Parent()->FHandle, reinterpret_cast<POINT*>(&r), 2);
    return true;
}

HBRUSH TWinControl::CtlColor(HDC dc)
{
    SetTextColor(dc, ColorToRGB(Font()->Color()));
    SetBkColor(dc, ColorToRGB(Color()));
    FBrush = MakeSolidBrush(Color());
    return FBrush.Get();
}

void TWinControl::EraseBackground(HDC dc)
{
    RECT r;
    GetClientRect(FHandle, &r);
    BrushHandle brush = MakeSolidBrush(Color());
    FillRect(dc, &r, brush.Get());
}

bool TWinControl::PaintWindow(HDC, const RECT&)
{
    return false;
}

void TWinControl::PaintGraphicChildren(HDC dc)
{
    for (TControl* c : FControls) {
        if (dynamic_cast<TWinControl*>(c) || !c->Visible())
            continue;
        SaveDCScope saved(dc);
        IntersectClipRect(dc, c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height());
        SetViewportOrgEx(dc, c->Left(), c->Top(), nullptr);
        c->PaintOn(dc);
    }
}

int TWinControl::TabOrder() const
{
    if (!Parent())
        return -1;
    const auto& list = Parent()->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int value)
{
    if (!Parent())
        return;
    auto& list = Parent()->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end())
        return;
    list.erase(it);
    if (value < 0 || value > static_cast<int>(list.size()))
        value = static_cast<int>(list.size());
    list.insert(list.begin() + value, this);
}

int TWinControl::ClientWidth() const
{
    if (FHandle) {
        RECT r;
        GetClientRect(FHandle, &r);
        return r.right;
    }
    return Width();
}

int TWinControl::ClientHeight() const
{
    if (FHandle) {
        RECT r;
        GetClientRect(FHandle, &r);
        return r.bottom;
    }
    return Height();
}

RECT TWinControl::ClientRect() const
{
    return RECT{0, 0, ClientWidth(), ClientHeight()};
}

bool TWinControl::CanFocus() const
{
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled())
            return false;
    return FocusHost() != nullptr;
}

bool TWinControl::Focused() const
{
    return FHandle && GetFocus() == FHandle;
}

void TWinControl::SetFocus()
{
    if (TFocusHost* host = FocusHost(); host && host != dynamic_cast<TFocusHost*>(this))
        host->SetActiveControl(this);
    else if (FHandle)
        ::SetFocus(FHandle);
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward, bool checkTabStop) const
{
    // Flatten the descendants in tab order, then walk from the current one.
    std::vector<TWinControl*> order;
    auto collect = [&](auto&& self, const TWinControl* parent) -> void {
        for (TWinControl* w : parent->FTabList) {
            order.push_back(w);
            self(self, w);
        }
    };
    collect(collect, this);
    if (order.empty())
        return nullptr;
    auto it = std::find(order.begin(), order.end(), current);
    size_t start = it == order.end() ? (forward ? order.size() - 1 : 0) : static_cast<size_t>(it - order.begin());
    size_t n = order.size();
    for (size_t step = 1; step <= n; ++step) {
        size_t i = forward ? (start + step) % n : (start + n - step) % n;
        TWinControl* w = order[i];
        if (w->CanFocus() && (!checkTabStop || w->FTabStop))
            return w;
    }
    return nullptr;
}

void TWinControl::BoundsChanged()
{
    if (FHandle) {
        FInWindowPos = true;
        SetWindowPos(FHandle, nullptr, Left(), Top(), Width(), Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        FInWindowPos = false;
        // The window may have been held to its minimum size (or been asked
        // for what it already had): keep what it really got.
        RECT r;
        if (WindowBounds(r)) {
            FLeft = r.left;
            FTop = r.top;
            FWidth = r.right - r.left;
            FHeight = r.bottom - r.top;
        }
    } else if (WantsWindow()) {
        // A control shown without an area (an empty dock, say) gets its
        // window when it first has one.
        HandleNeeded();
    }
}

void TWinControl::EnableAlign()
{
    if (--FAlignLock == 0 && FAlignPending) {
        FAlignPending = false;
        AlignControls(nullptr);
    }
}

void TWinControl::AlignControls(TControl* changed)
{
    if (FAlignLock > 0 || IsLoading()) {
        FAlignPending = true;
        return;
    }
    CountScope lock(FAlignLock);
    RECT rect = ClientRect();

    auto take = [&](TAlign align) {
        std::vector<TControl*> list;
        for (TControl* c : FControls)
            if (c->Align() == align && (c->Visible() || align == alClient))
                list.push_back(c);
        // Nearest to the edge first; the control that asked wins a tie, then creation order.
        auto key = [align](const TControl* c) {
            switch (align) {
            case alTop: return c->Top();
            case alBottom: return -(c->Top() + c->Height());
            case alLeft: return c->Left();
            case alRight: return -(c->Left() + c->Width());
            default: return 0;
            }
        };
        std::stable_sort(list.begin(), list.end(), [&](const TControl* a, const TControl* b) {
            if (key(a) != key(b))
                return key(a) < key(b);
            return a == changed && b != changed;
        });
        for (TControl* c : list) {
            int w = rect.right - rect.left, h = rect.bottom - rect.top;
            switch (align) {
            case alTop:
                c->SetBounds(rect.left, rect.top, w, c->Height());
                rect.top += c->Height();
                break;
            case alBottom:
                c->SetBounds(rect.left, rect.bottom - c->Height(), w, c->Height());
                rect.bottom -= c->Height();
                break;
            case alLeft:
                c->SetBounds(rect.left, rect.top, c->Width(), h);
                rect.left += c->Width();
                break;
            case alRight:
                c->SetBounds(rect.right - c->Width(), rect.top, c->Width(), h);
                rect.right -= c->Width();
                break;
            case alClient:
                // Hidden ones too: they take no room from anyone, and a page
                // editor that already has its size shows at once, without
                // wrapping its text again.
                c->SetBounds(rect.left, rect.top, w, h);
                break;
            default:
                break;
            }
        }
    };
    {
        FlagScope aligning(FAligning);
        take(alTop);
        take(alBottom);
        take(alLeft);
        take(alRight);
        take(alClient);
    }
    FAlignPending = false;
}

void TWinControl::InsertControl(TControl* control)
{
    FControls.push_back(control);
    control->FParent = this;
    if (auto* w = dynamic_cast<TWinControl*>(control)) {
        FTabList.push_back(w);
        if (!w->FHandle && w->WantsWindow())
            w->HandleNeeded();
    }
    if (control->Align() != alNone)
        AlignControls(control);
    Invalidate();
    ChildLayoutChanged(control);
}

void TWinControl::RemoveControl(TControl* control)
{
    // The form must not keep pointing at a control that leaves it, nor at
    // one inside it.
    if (TFocusHost* host = FocusHost())
        for (TControl* c = host->ActiveControl(); c; c = c->Parent())
            if (c == control) {
                host->SetActiveControl(nullptr);
                break;
            }
    if (auto* w = dynamic_cast<TWinControl*>(control); w && !w->FKeepWindow)
        w->DestroyHandle();
    // Compared as controls: a windowed control that is being freed no longer
    // casts to one.
    FTabList.erase(std::remove_if(FTabList.begin(), FTabList.end(),
                                  [control](TWinControl* w) { return static_cast<TControl*>(w) == control; }),
                   FTabList.end());
    FControls.erase(std::remove(FControls.begin(), FControls.end(), control), FControls.end());
    control->FParent = nullptr;
    if (!IsDestroying()) {
        if (control->Align() != alNone)
            AlignControls(nullptr);
        Invalidate();
        ChildLayoutChanged(control);
    }
}

void TWinControl::ReparentKeepingWindow(TWinControl* parent)
{
    if (parent == Parent())
        return;
    if (!FHandle || !parent) {
        TControl::SetParent(parent);
        return;
    }
    if (parent == this)
        throw EInvalidOperation("A control cannot be its own parent");
    HWND newParent = parent->Handle();
    FKeepWindow = true;
    try {
        if (Parent())
            Parent()->RemoveControl(this);
    } catch (...) {
        FKeepWindow = false;
        throw;
    }
    FKeepWindow = false;
    ::SetParent(FHandle, newParent);
    parent->InsertControl(this);
    parent->ApplyZOrder(this);
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (ParentFont())
        ParentFontChanged();
    ParentShowHintChanged();
}

void TWinControl::Invalidate()
{
    if (FHandle)
        InvalidateRect(FHandle, nullptr, TRUE);
}

void TWinControl::VisibleChanged()
{
    if (!Parent())
        return;
    if (Visible() && Parent()->Showing()) {
        // Made now, already visible, at its bounds and with its state (once
        // it has an area to show).
        if (!FHandle) {
            if (WantsWindow())
                HandleNeeded();
            return;
        }
        ShowWindow(FHandle, SW_SHOWNA);
        CreateChildHandles();
    } else if (FHandle) {
        ShowWindow(FHandle, SW_HIDE);
    }
}

void TWinControl::EnabledChanged()
{
    if (FHandle)
        EnableWindow(FHandle, Enabled());
    Invalidate();
}

void TWinControl::ColorChanged()
{
    Invalidate();
}

void TWinControl::FontChanged()
{
    if (FHandle) {
        SendMessageA(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), FALSE);
        Invalidate();
    }
    for (TControl* c : FControls)
        c->ParentFontChanged();
}

void TWinControl::TextChanged()
{
    if (FHandle)
        SetWindowTextA(FHandle, FText.c_str());
}

void TWinControl::Loaded()
{
    TControl::Loaded();
    AlignControls(nullptr);
}

// ---------------------------------------------------------- TCustomControl

const TClassInfo& TCustomControl::StaticClass()
{
    return MakeClassInfo<TCustomControl>("TCustomControl", &TWinControl::StaticClass(), [](auto&) {});
}

bool TCustomControl::PaintWindow(HDC dc, const RECT&)
{
    Paint(dc);
    return true;
}
