#include "toolkit/Forms.h"
#include "toolkit/HintWindow.h"
#include "toolkit/OpenForms.h"

#include <windowsx.h>
#include <algorithm>

TApplication* Application = nullptr;

namespace {

// How the process was asked to show its first window (a shortcut set to
// run maximised, "start /min", ...). SW_SHOWDEFAULT means the same on
// Windows, but not every platform maps it. Minimising is done without
// taking the activation, as a program started minimised should; a
// notebook started hidden could not be reached, so it is shown normally.
int StartupShowCommand()
{
    STARTUPINFOA info{};
    info.cb = sizeof info;
    GetStartupInfoA(&info);
    if (!(info.dwFlags & STARTF_USESHOWWINDOW))
        return SW_SHOWNORMAL;
    switch (info.wShowWindow) {
    case SW_SHOWMAXIMIZED: return SW_SHOWMAXIMIZED;
    case SW_SHOWMINIMIZED: return SW_SHOWMINIMIZED;
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE: return SW_SHOWMINNOACTIVE;
    case SW_SHOWNOACTIVATE: return SW_SHOWNOACTIVATE;
    case SW_SHOWNA: return SW_SHOWNA;
    default: return SW_SHOWNORMAL;
    }
}

} // namespace

// ------------------------------------------------------------- TCustomForm

const TClassInfo& TCustomForm::StaticClass()
{
    return MakeClassInfo<TCustomForm>("TCustomForm", &TWinControl::StaticClass(), [](TClassBuilder<TCustomForm>& b) {
        b.String("Caption", TypeCaption(), &TCustomForm::GetText, &TCustomForm::SetText);
    });
}

const TClassInfo& TForm::StaticClass()
{
    return MakeClassInfo<TForm>("TForm", &TCustomForm::StaticClass(), [](auto&) {});
}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner)
{
    SetVisible(false);
}

TCustomForm::~TCustomForm()
{
    Destroying();
    DoDestroy();
    FActiveControl = nullptr;
    DestroyComponents();
    DestroyHandle();
}

void TCustomForm::DoDestroy()
{
    if (FDestroyFired)
        return;
    FDestroyFired = true;
    try {
        OnDestroy(this);
    } catch (...) {
        HandleCallbackException(std::current_exception());
    }
}

void TCustomForm::DoCreate()
{
    try {
        OnCreate(this);
    } catch (...) {
        HandleCallbackException(std::current_exception());
    }
}

void TCustomForm::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.Style &= ~(WS_CHILD | WS_VISIBLE);
    switch (FBorderStyle) {
    case bsNone: params.Style |= WS_POPUP; break;
    case bsSingle: params.Style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_BORDER; break;
    case bsDialog: params.Style |= WS_CAPTION | WS_SYSMENU | DS_MODALFRAME; params.ExStyle |= WS_EX_DLGMODALFRAME; break;
    case bsToolWindow: params.Style |= WS_CAPTION | WS_SYSMENU; params.ExStyle |= WS_EX_TOOLWINDOW; break;
    case bsSizeToolWin: params.Style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME; params.ExStyle |= WS_EX_TOOLWINDOW; break;
    case bsSizeable:
    default: params.Style |= WS_OVERLAPPEDWINDOW; break;
    }
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value)
{
    if (value == FBorderStyle)
        return;
    FBorderStyle = value;
    RecreateWnd();
}

void TCustomForm::SetPosition(TPosition value)
{
    FPosition = value;
}

TWindowState TCustomForm::WindowState() const
{
    if (HWND wnd = HandleValue(); wnd && IsWindowVisible(wnd)) {
        if (IsIconic(wnd))
            return wsMinimized;
        if (IsZoomed(wnd))
            return wsMaximized;
        return wsNormal;
    }
    return FWindowState;
}

void TCustomForm::SetWindowState(TWindowState value)
{
    FWindowState = value;
    if (HWND wnd = HandleValue(); wnd && IsWindowVisible(wnd)) {
        static const int commands[] = {SW_SHOWNORMAL, SW_MINIMIZE, SW_SHOWMAXIMIZED};
        ShowWindow(wnd, commands[value]);
    }
}

void TCustomForm::SetClientWidth(int value)
{
    SetWidth(Width() - ClientWidth() + value);
}

RECT TCustomForm::FrameForStyle() const
{
    TCreateParams params;
    // Filling the parameters changes nothing of the form.
    const_cast<TCustomForm*>(this)->CreateParams(params);
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, params.Style, FALSE, params.ExStyle);
    return frame;
}

int TCustomForm::ClientWidth() const
{
    if (HandleValue())
        return TWinControl::ClientWidth();
    const RECT frame = FrameForStyle();
    return std::max(0, Width() - static_cast<int>(frame.right - frame.left));
}

int TCustomForm::ClientHeight() const
{
    if (HandleValue())
        return TWinControl::ClientHeight();
    const RECT frame = FrameForStyle();
    return std::max(0, Height() - static_cast<int>(frame.bottom - frame.top));
}

void TCustomForm::SetClientHeight(int value)
{
    SetHeight(Height() - ClientHeight() + value);
}

bool TCustomForm::Active() const
{
    return HandleValue() && GetActiveWindow() == HandleValue();
}

void TCustomForm::SetActiveControl(TWinControl* control)
{
    FActiveControl = control;
    if (control && IsWindowVisible(Handle()) && control->CanFocus())
        ::SetFocus(control->Handle());
}

void TCustomForm::FocusChanged(TWinControl* control)
{
    if (control != this)
        FActiveControl = control;
}

TCustomForm* GetParentForm(const TControl* control)
{
    return control ? dynamic_cast<TCustomForm*>(control->FocusHost()) : nullptr;
}

void TCustomForm::SelectFirst()
{
    if (TWinControl* first = FindNextControl(nullptr, true, true))
        SetActiveControl(first);
}

void TCustomForm::FocusOnActivation()
{
    // Give the focus back to the control that had it, or on first
    // activation to the first control that can take it.
    if (FActiveControl && FActiveControl->CanFocus())
        ::SetFocus(FActiveControl->Handle());
    else
        SelectFirst();
}

void TCustomForm::ShowForm()
{
    SetVisible(true);
}

int TCustomForm::ShowCommand() const
{
    if (!FShownOnce && Application && Application->MainForm() == this) {
        const int startup = StartupShowCommand();
        if (startup != SW_SHOWNORMAL || FWindowState == wsNormal)
            return startup;
    }
    static const int fromState[] = {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED};
    return fromState[FWindowState];
}

void TCustomForm::VisibleChanged()
{
    // A form starts hidden, and hiding one that has no window needs none:
    // the window is made when it is first needed, at the bounds, caption and
    // style set by then, instead of being made at default bounds and moved.
    if (!Visible() && !HandleValue())
        return;
    HWND wnd = Handle();
    if (Visible()) {
        // The show event comes before the window appears, so that whatever
        // it restores is in place when the user first sees the window.
        try {
            OnShow(this);
        } catch (...) {
            HandleCallbackException(std::current_exception());
        }
        const int cmd = ShowCommand();
        FShownOnce = true;
        FOnScreen = true;
        // The controls get their windows at their final bounds and fonts,
        // so that an editor lays its text out once. Shown normal or
        // minimised, the window keeps the size it has now (a minimised one
        // comes back to it), so they are made here, before it appears. A
        // maximising ShowWindow gives the window its size only as it shows
        // it, and sends no WM_SHOWWINDOW for a state change: the controls
        // are made after it, once the alignment has followed the maximised
        // client area, and before the first paint (UpdateWindow below).
        const bool maximising = cmd == SW_SHOWMAXIMIZED;
        auto makeControls = [this, wnd](bool afterActivation) {
            try {
                CreateChildHandles();
                // The activation came while there was nothing to focus.
                if (afterActivation && GetActiveWindow() == wnd)
                    FocusOnActivation();
            } catch (...) {
                HandleCallbackException(std::current_exception());
            }
        };
        if (!maximising)
            makeControls(false);
        FHoldingChildren = maximising;
        ShowWindow(wnd, cmd);
        FHoldingChildren = false;
        if (maximising)
            makeControls(true);
        UpdateWindow(wnd);
    } else {
        try {
            OnHide(this);
        } catch (...) {
            HandleCallbackException(std::current_exception());
        }
        // A minimised window is hidden without WM_SHOWWINDOW.
        FOnScreen = false;
        ShowWindow(wnd, SW_HIDE);
    }
}

void TCustomForm::TextChanged()
{
    if (HandleValue())
        SetWindowTextA(HandleValue(), GetText().c_str());
}

bool TCustomForm::CloseQuery()
{
    bool canClose = true;
    OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close()
{
    if (!CloseQuery())
        return;
    bool isMain = Application && Application->MainForm() == this;
    TCloseAction action = isMain ? caFree : caHide;
    OnClose(this, action);
    if (action == caNone)
        return;
    if (isMain) {
        Application->Terminate();
    } else if (action == caMinimize) {
        SetWindowState(wsMinimized);
    } else {
        Hide();
    }
}

void TCustomForm::WndProc(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_CLOSE:
        Close();
        return;
    case WM_QUERYENDSESSION:
        msg.Result = CloseQuery() ? TRUE : FALSE;
        return;
    case WM_ENDSESSION:
        EndSession(msg.WParam != 0);
        return;
    case WM_SHOWWINDOW:
        // The window is about to appear (after the show event has restored
        // what it restores): the controls on it get their windows now, at
        // their final bounds and with their final fonts.
        FOnScreen = msg.WParam != 0;
        if (FOnScreen && !FHoldingChildren)
            CreateChildHandles();
        break;
    case WM_QUERYNEWPALETTE:
        // Coming to the front: the controls' palettes take the system palette.
        msg.Result = PaletteChanged(true) ? TRUE : FALSE;
        return;
    case WM_PALETTECHANGED:
        // Another window changed the system palette: map ours again in the
        // background. A change made by our own windows needs nothing more.
        if (HWND changer = reinterpret_cast<HWND>(msg.WParam);
            changer != HandleValue() && !IsChild(HandleValue(), changer))
            PaletteChanged(false);
        msg.Result = 0;
        return;
    case WM_ACTIVATE:
        if (LOWORD(msg.WParam) != WA_INACTIVE && !HIWORD(msg.WParam)) {
            // While a maximising show holds the controls back, the focus
            // waits for them (VisibleChanged gives it).
            if (!FHoldingChildren)
                FocusOnActivation();
            OnActivate(this);
            msg.Result = 0;
            return;
        }
        break;
    default:
        break;
    }
    TWinControl::WndProc(msg);
}

// ------------------------------------------------------------ TApplication

const TClassInfo& TApplication::StaticClass()
{
    return MakeClassInfo<TApplication>("TApplication", &TComponent::StaticClass(), [](auto&) {});
}

TApplication::TApplication() : TComponent(nullptr)
{
    Application = this;
    SetErrorSink(this);
}

TApplication::~TApplication()
{
    Destroying();
    DestroyComponents();
    if (CurrentErrorSink() == this)
        SetErrorSink(nullptr);
    if (Application == this)
        Application = nullptr;
}

void TApplication::Run()
{
    if (FMainForm)
        FMainForm->ShowForm();
    while (!FTerminated)
        HandleMessage();
}

void TApplication::Terminate()
{
    if (!FTerminated) {
        FTerminated = true;
        PostQuitMessage(0);
    }
}

bool TApplication::ProcessMessage(MSG& m)
{
    if (!PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (m.message == WM_QUIT) {
        FTerminated = true;
        return true;
    }
    // The hint's bookkeeping must not stop the loop: its errors are reported
    // and the message goes on to its window.
    try {
        WatchForHint(m);
    } catch (...) {
        HandleCallbackException(std::current_exception());
    }
    if (!IsFormKeyMessage(m)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    return true;
}

void TApplication::ProcessMessages()
{
    MSG m;
    while (ProcessMessage(m))
        if (m.message == WM_QUIT)
            break;
}

void TApplication::HandleMessage()
{
    MSG m;
    if (ProcessMessage(m))
        return;
    bool done = true;
    try {
        done = Idle();
    } catch (...) {
        HandleCallbackException(std::current_exception());
    }
    // Nothing to do until the next message: sleep until it comes.
    if (done && !FTerminated)
        WaitMessage();
}

bool TApplication::IsFormKeyMessage(MSG& msg)
{
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB)
        return false;
    if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0)
        return false;
    TWinControl* target = TWinControl::FromHandle(msg.hwnd);
    TCustomForm* form = GetParentForm(target);
    if (!form)
        return false;
    bool forward = GetKeyState(VK_SHIFT) >= 0;
    if (TWinControl* next = form->FindNextControl(target, forward, true))
        form->SetActiveControl(next);
    return true;
}

// ------------------------------------------------------------------ hints

namespace {

constexpr UINT_PTR kShowTimer = 1;
constexpr UINT_PTR kHideTimer = 2;
constexpr int kHintMaxWidth = 300; // a longer hint wraps its words

// The toolkit's control that a window is, or lies in.
TWinControl* ControlOfWindow(HWND wnd)
{
    for (; wnd; wnd = GetAncestor(wnd, GA_PARENT))
        if (TWinControl* c = TWinControl::FromHandle(wnd))
            return c;
    return nullptr;
}

// The control under a point of a window (a graphic control or the windowed
// one), with the point in that control's client coordinates.
TControl* ControlAt(HWND wnd, POINT point, POINT& clientPoint)
{
    TWinControl* w = ControlOfWindow(wnd);
    if (!w || !w->HandleValue())
        return nullptr;
    if (w->HandleValue() != wnd)
        MapWindowPoints(wnd, w->HandleValue(), &point, 1);
    clientPoint = point;
    TControl* child = w->ControlAtPos(point);
    if (!child || dynamic_cast<TWinControl*>(child))
        return w;
    clientPoint = POINT{point.x - child->Left(), point.y - child->Top()};
    return child;
}

TControl* ControlAtScreen(POINT screen, POINT& clientPoint)
{
    HWND wnd = WindowFromPoint(screen);
    if (!wnd)
        return nullptr;
    ScreenToClient(wnd, &screen);
    return ControlAt(wnd, screen, clientPoint);
}

// Where a control's client area begins on the screen; false without a window.
bool ClientOrigin(const TControl* control, POINT& origin)
{
    if (auto* w = dynamic_cast<const TWinControl*>(control)) {
        if (!w->HandleValue())
            return false;
        origin = POINT{0, 0};
        ClientToScreen(w->HandleValue(), &origin);
        return true;
    }
    const TWinControl* parent = control->Parent();
    if (!parent || !parent->HandleValue())
        return false;
    origin = POINT{control->Left(), control->Top()};
    ClientToScreen(parent->HandleValue(), &origin);
    return true;
}

// How far below the hot spot the pointer's picture ends: the standard arrow
// fills about the upper five eighths of its cell.
int CursorDepth()
{
    return GetSystemMetrics(SM_CYCURSOR) * 5 / 8;
}

} // namespace

void TApplication::SetShowHint(bool value)
{
    FShowHint = value;
    if (!value)
        CancelHint();
}

void TApplication::SetHint(const std::string& value)
{
    if (value == FHint)
        return;
    FHint = value;
    OnHint(this);
}

THintWindow* TApplication::HintWindow()
{
    if (!FHintWindow) {
        FHintWindow = new THintWindow(this);
        FHintWindow->OnTimer = MakeMethod<&TApplication::HintTimerExpired>(this);
        FHintWindow->OnAppDeactivate = MakeMethod<&TApplication::AppDeactivated>(this);
    }
    return FHintWindow;
}

void TApplication::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove)
        return;
    if (component == FHintWindow)
        FHintWindow = nullptr;
    if (component == FHintControl) {
        FHintControl = nullptr;
        HideHint(false);
        FHintCursorRectValid = false;
    }
}

void TApplication::SetHintControl(TControl* control)
{
    if (control == FHintControl)
        return;
    if (FHintControl)
        RemoveFreeNotification(FHintControl);
    FHintControl = control;
    if (control)
        FreeNotification(control);
}

bool TApplication::RecentlyHinted() const
{
    return FHintHiddenAt && GetTickCount() - FHintHiddenAt < static_cast<DWORD>(FHintPause);
}

void TApplication::HideHint(bool movingOn)
{
    FHintPending = false;
    if (!FHintWindow)
        return;
    FHintWindow->StopTimer(kShowTimer);
    FHintWindow->StopTimer(kHideTimer);
    if (FHintWindow->HintShown()) {
        FHintWindow->ReleaseHint();
        // Moving on from a hint, the next one comes quickly.
        FHintHiddenAt = movingOn ? (GetTickCount() | 1) : 0;
    } else if (!movingOn) {
        FHintHiddenAt = 0;
    }
}

void TApplication::StartHintTimer(int ms)
{
    FHintCursorRectValid = false;
    FHintPending = true;
    HintWindow()->StartTimer(kShowTimer, ms);
}

void TApplication::CancelHint()
{
    HideHint(false);
    SetHintControl(nullptr);
    FHintCursorRectValid = false;
}

void TApplication::AppDeactivated(TObject*)
{
    CancelHint();
}

void TApplication::WatchForHint(const MSG& msg)
{
    switch (msg.message) {
    case WM_MOUSEMOVE: {
        // While a press holds the mouse (a button pushed, a drag) no hint starts.
        POINT client{};
        TControl* target = nullptr;
        if (FShowHint && !GetCapture())
            target = ControlAt(msg.hwnd, POINT{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)}, client);
        HintMouseMessage(target && target->ShowHint() ? target : nullptr, client);
        break;
    }
    case WM_NCMOUSEMOVE:
        HintMouseMessage(nullptr, POINT{});
        break;
    case WM_MOUSELEAVE: {
        // Gone fast from the control to a place that sends us no move.
        POINT cursor{}, client{};
        if (FHintControl && GetCursorPos(&cursor) && ControlAtScreen(cursor, client) != FHintControl)
            HintMouseMessage(nullptr, POINT{});
        break;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
        CancelHint();
        break;
    default:
        break;
    }
}

void TApplication::HintMouseMessage(TControl* control, POINT clientPoint)
{
    POINT origin{};
    if (!FShowHint || (control && !ClientOrigin(control, origin)))
        control = nullptr;
    if (!control) {
        if (FHintControl) {
            HideHint(true);
            SetHintControl(nullptr);
            FHintCursorRectValid = false;
        }
        return;
    }
    const POINT screen{origin.x + clientPoint.x, origin.y + clientPoint.y};
    const bool quick = (FHintWindow && FHintWindow->HintShown()) || RecentlyHinted();
    if (control != FHintControl) {
        HideHint(true);
        SetHintControl(control);
        StartHintTimer(quick ? FHintShortPause : FHintPause);
        return;
    }
    // Still waiting, or still inside the rectangle the hint is about (shown,
    // hidden by time, or refused there): nothing new.
    if (FHintPending || (FHintCursorRectValid && PtInRect(&FHintCursorRect, screen)))
        return;
    HideHint(true);
    StartHintTimer(quick ? FHintShortPause : FHintPause);
}

void TApplication::HintTimerExpired(UINT_PTR id)
{
    if (id == kShowTimer) {
        ShowHintNow();
    } else if (id == kHideTimer) {
        // Time is up: the hint goes and stays away while the mouse stays in its rectangle.
        HideHint(false);
    }
}

void TApplication::ShowHintNow()
{
    FHintWindow->StopTimer(kShowTimer);
    FHintPending = false;
    TControl* control = FHintControl;
    POINT cursor{}, origin{}, client{};
    if (!control || !FShowHint || !GetCursorPos(&cursor) || !ClientOrigin(control, origin))
        return;
    // The mouse has gone elsewhere without a move reaching us (another
    // window came in front, or it left for another program).
    if (ControlAtScreen(cursor, client) != control) {
        CancelHint();
        return;
    }
    THintInfo info{control, client, RECT{0, 0, control->ClientWidth(), control->ClientHeight()},
                   GetShortHint(control->Hint()), false};
    control->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
    if (FHintControl != control)
        return;
    FHintCursorRect = info.CursorRect;
    OffsetRect(&FHintCursorRect, origin.x, origin.y);
    FHintCursorRectValid = true;
    if (info.Refused || info.HintStr.empty())
        return;
    // Under the pointer, kept inside the work area of its monitor (above the
    // pointer when there is no room below it).
    RECT r = FHintWindow->CalcHintRect(kHintMaxWidth, info.HintStr);
    const int w = r.right - r.left, h = r.bottom - r.top;
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (GetMonitorInfoA(MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST), &mi))
        area = mi.rcWork;
    int x = std::max<int>(area.left, std::min<int>(cursor.x, area.right - w));
    int y = cursor.y + CursorDepth();
    if (y + h > area.bottom)
        y = cursor.y - h;
    y = std::max<int>(area.top, y);
    FHintWindow->ActivateHint(RECT{x, y, x + w, y + h}, info.HintStr);
    FHintWindow->StartTimer(kHideTimer, FHintHidePause);
}

bool TApplication::Idle()
{
    POINT cursor{}, client{};
    TControl* under = GetCursorPos(&cursor) ? ControlAtScreen(cursor, client) : nullptr;
    // The mouse left for a place where no move of ours tells of it.
    if (FHintControl && under != FHintControl)
        HintMouseMessage(nullptr, POINT{});
    SetHint(under ? GetLongHint(under->Hint()) : std::string());
    bool done = true;
    OnIdle(this, done);
    for (TCustomForm* form : OpenForms())
        if (form->HandleValue() && IsWindowVisible(form->HandleValue()))
            form->Perform(CM_UPDATEACTIONS, 0, 0);
    return done;
}

std::string TApplication::ErrorBoxText(const std::string& message)
{
    return ::ErrorBoxText(message);
}

void TApplication::ShowException(const std::exception& e)
{
    if (OnException) {
        OnException(this, e);
        return;
    }
    HWND owner = nullptr;
    if (FMainForm && FMainForm->HandleValue() && IsWindowVisible(FMainForm->HandleValue()))
        owner = FMainForm->HandleValue();
    MessageBoxA(owner, ErrorBoxText(e.what()).c_str(), FTitle.c_str(), MB_OK | MB_ICONERROR);
}

void TApplication::HandleException(TObject*, std::exception_ptr error)
{
    if (!error)
        return;
    try {
        std::rethrow_exception(error);
    } catch (const EAbort&) {
        // A quiet abort is not shown.
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        ShowException(Exception("Unknown error"));
    }
}

void TApplication::ReportError(std::exception_ptr error) noexcept
{
    try {
        HandleException(this, error);
    } catch (...) {
        // The error box itself failed; nothing sensible is left to do.
    }
}
