#include "toolkit/Forms.h"

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
    while (!FTerminated) {
        MSG m;
        BOOL r = GetMessageA(&m, nullptr, 0, 0);
        if (r <= 0)
            break;
        if (!IsFormKeyMessage(m)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
    }
}

void TApplication::Terminate()
{
    if (!FTerminated) {
        FTerminated = true;
        PostQuitMessage(0);
    }
}

void TApplication::ProcessMessages()
{
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == WM_QUIT) {
            FTerminated = true;
            break;
        }
        if (!IsFormKeyMessage(m)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
    }
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
