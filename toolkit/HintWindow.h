#pragma once
// The application's hint window: a small popup of its own class, in the
// tooltip colours and the system's status font, that shows one hint under
// the mouse without taking the activation or the mouse. It also keeps the
// application's hint timers, whose expiry it hands on.
#include "toolkit/Controls.h"

#include <string>

class THintWindow : public TCustomControl {
public:
    QV_CLASS(THintWindow, TCustomControl)
    explicit THintWindow(TComponent* owner);

    static constexpr const char* WindowClassName = "QuiverleafHint";

    // The window rectangle (at 0,0) a text needs, wrapped at maxWidth pixels of text.
    RECT CalcHintRect(int maxWidth, const std::string& text);
    // Shows the text in a rectangle of the screen, above every window,
    // without taking the activation.
    void ActivateHint(const RECT& screenRect, const std::string& text);
    void ReleaseHint();
    bool HintShown() const { return HandleValue() && IsWindowVisible(HandleValue()); }

    // The timers run on this window, so they go on in any message loop
    // (a message box's too); each expiry is told with the timer's id.
    void StartTimer(UINT_PTR id, int ms);
    void StopTimer(UINT_PTR id);
    TMethod<UINT_PTR> OnTimer;
    // Another program became active.
    TNotifyEvent OnAppDeactivate;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& msg) override;
    void Paint(HDC dc) override;
};
