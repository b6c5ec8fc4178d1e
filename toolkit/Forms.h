#pragma once
// The form (a top-level window with its life-cycle events) and the
// application object (title, message loop, error box).
#include "toolkit/Controls.h"

#include <exception>
#include <string>

enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };

using TCloseEvent = TMethod<TObject*, TCloseAction&>;
using TCloseQueryEvent = TMethod<TObject*, bool&>;

class TCustomForm : public TWinControl, public TFocusHost {
public:
    QV_CLASS(TCustomForm, TWinControl)

    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition value);
    TWindowState WindowState() const;
    void SetWindowState(TWindowState value);
    // Sets the remembered state without touching the window.
    void SetWindowStateQuietly(TWindowState value) { FWindowState = value; }

    void SetClientWidth(int value);
    void SetClientHeight(int value);

    TWinControl* ActiveControl() const override { return FActiveControl; }
    void SetActiveControl(TWinControl* control) override;
    // Told by a child window that it has received the focus.
    void FocusChanged(TWinControl* control) override;

    // On screen: shown, and its window about to appear or visible.
    bool Showing() const override { return Visible() && FOnScreen; }
    bool Active() const;

    // Shows the form; the show event fires first, before the window is visible.
    void ShowForm();
    // Starts the close sequence: close query, close event, then hide or end.
    void Close();
    bool CloseQuery();

    // Runs after the layout is built and every component's loaded step.
    void DoCreate();

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDestroy;
    TCloseQueryEvent OnCloseQuery;
    TCloseEvent OnClose;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& msg) override;
    void VisibleChanged() override;
    void TextChanged() override;
    // The session is ending (true) or the end was called off (false).
    virtual void EndSession(bool ending) { (void)ending; }
    // Fires OnDestroy once; derived destructors call it before tearing down.
    void DoDestroy();

private:
    void SelectFirst();
    // On activation: the focus back to the control that had it, or to the first tab stop.
    void FocusOnActivation();
    // The show command of this show: the process's start-up mode for the
    // main form's first show, unless that is plain normal and the show
    // event restored another state; otherwise the remembered state.
    int ShowCommand() const;

    TFormBorderStyle FBorderStyle = bsSizeable;
    TPosition FPosition = poDesigned;
    TWindowState FWindowState = wsNormal;
    TWinControl* FActiveControl = nullptr;
    bool FShownOnce = false;
    bool FOnScreen = false;
    // Set while a maximising ShowWindow runs: the controls' windows wait
    // until the window has its maximised size (see VisibleChanged).
    bool FHoldingChildren = false;
    bool FDestroyFired = false;
};

// The form that holds a control (the control itself, if it is one), or nullptr.
TCustomForm* GetParentForm(const TControl* control);

class TForm : public TCustomForm {
public:
    QV_CLASS(TForm, TCustomForm)
    using TCustomForm::TCustomForm;
};

using TExceptionEvent = TMethod<TObject*, const std::exception&>;

// The application object is the error sink while it lives.
class TApplication : public TComponent, public TErrorSink {
public:
    QV_CLASS(TApplication, TComponent)

    TApplication();
    ~TApplication() override;

    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& value) { FTitle = value; }

    TCustomForm* MainForm() const { return FMainForm; }
    void SetMainForm(TCustomForm* form) { FMainForm = form; }

    // Shows the main form with the process's start-up show mode, then
    // dispatches messages until Terminate.
    void Run();
    void Terminate();
    bool Terminated() const { return FTerminated; }
    // Dispatches every waiting message, then returns.
    void ProcessMessages();
    // Handles keys that belong to the form rather than the focused control
    // (Tab moves the focus). True when the message was used.
    bool IsFormKeyMessage(MSG& msg);

    // The top-level handler: shows the error box for the error (by default
    // the exception being handled, inside a catch block), unless it is a
    // quiet abort.
    void HandleException(TObject* sender, std::exception_ptr error = std::current_exception());
    void ReportError(std::exception_ptr error) noexcept override;
    void ShowException(const std::exception& e);
    // The error box's text (see ErrorSink.h).
    static std::string ErrorBoxText(const std::string& message);

    // When set, exceptions go here instead of the error box (tests use it).
    TExceptionEvent OnException;

private:
    std::string FTitle;
    TCustomForm* FMainForm = nullptr;
    bool FTerminated = false;
};

// The one application object of the process; set by its constructor.
extern TApplication* Application;
