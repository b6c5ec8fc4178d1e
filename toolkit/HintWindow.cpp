#include "toolkit/HintWindow.h"

namespace {

// Room between the text and the border, on each side.
constexpr int kPadX = 2;
constexpr int kPadY = 1;
constexpr int kBorder = 1; // WS_BORDER's line

} // namespace

const TClassInfo& THintWindow::StaticClass()
{
    return MakeClassInfo<THintWindow>("THintWindow", &TCustomControl::StaticClass(), [](auto&) {});
}

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner)
{
    SetColor(clInfoBk);
    NONCLIENTMETRICSA ncm{};
    ncm.cbSize = sizeof ncm;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0))
        Font()->FromLogFont(ncm.lfStatusFont);
    Font()->SetColor(clInfoText);
}

void THintWindow::CreateParams(TCreateParams& params)
{
    TCustomControl::CreateParams(params);
    params.Style = WS_POPUP | WS_BORDER;
    // Above everything, no taskbar button, never active.
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    params.OwnClassName = WindowClassName;
    params.ClassStyle = CS_SAVEBITS;
}

RECT THintWindow::CalcHintRect(int maxWidth, const std::string& text)
{
    const HDC dc = TextMeasuringDC();
    SelectScope font(dc, Font()->Handle());
    RECT r{0, 0, maxWidth, 0};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    r.right += 2 * (kPadX + kBorder);
    r.bottom += 2 * (kPadY + kBorder);
    return r;
}

void THintWindow::ActivateHint(const RECT& screenRect, const std::string& text)
{
    SetText(text);
    HWND wnd = Handle();
    SetBounds(screenRect.left, screenRect.top, screenRect.right - screenRect.left, screenRect.bottom - screenRect.top);
    SetWindowPos(wnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(wnd, nullptr, TRUE);
    UpdateWindow(wnd);
}

void THintWindow::ReleaseHint()
{
    if (HintShown())
        ShowWindow(HandleValue(), SW_HIDE);
}

void THintWindow::StartTimer(UINT_PTR id, int ms)
{
    SetTimer(Handle(), id, static_cast<UINT>(ms > 0 ? ms : 1), nullptr);
}

void THintWindow::StopTimer(UINT_PTR id)
{
    if (HandleValue())
        KillTimer(HandleValue(), id);
}

void THintWindow::Paint(HDC dc)
{
    RECT r;
    GetClientRect(HandleValue(), &r);
    InflateRect(&r, -kPadX, -kPadY);
    SelectScope font(dc, Font()->Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Font()->Color()));
    DrawTextA(dc, GetText().c_str(), static_cast<int>(GetText().size()), &r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

void THintWindow::WndProc(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_NCHITTEST:
        // The mouse goes through to the window below, which keeps its hover.
        msg.Result = HTTRANSPARENT;
        return;
    case WM_MOUSEACTIVATE:
        msg.Result = MA_NOACTIVATE;
        return;
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(msg.WParam));
        return;
    case WM_ACTIVATEAPP:
        if (!msg.WParam)
            OnAppDeactivate(this);
        break;
    default:
        break;
    }
    TCustomControl::WndProc(msg);
}
