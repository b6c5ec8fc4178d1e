#include "toolkit/StdCtrls.h"

#include <commctrl.h>

// ------------------------------------------------------------- TCustomEdit

const TClassInfo& TCustomEdit::StaticClass()
{
    return MakeClassInfo<TCustomEdit>("TCustomEdit", &TWinControl::StaticClass(), [](TClassBuilder<TCustomEdit>& b) {
        b.String("Text", TypeCaption(), &TCustomEdit::GetText, &TCustomEdit::SetText);
    });
}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner)
{
    SetColor(clWindow);
    SetTabStop(true);
}

void TCustomEdit::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.WinClassName = "EDIT";
    params.Subclass = true;
    params.Style &= ~WS_CLIPCHILDREN;
    params.Style |= WS_TABSTOP;
    params.ExStyle |= WS_EX_CLIENTEDGE;
    params.TextAfterCreation = true;
}

void TCustomEdit::InitializeWnd()
{
    TWinControl::InitializeWnd();
    // The text the object has held goes in after the font, so that the
    // window lays it out once; it is not a change of the text.
    if (!FText.empty()) {
        FFilling = true;
        bool taken = WriteWindowText(FText);
        FFilling = false;
        if (taken || !FHoldRefusedText) {
            std::string().swap(FText);
        } else {
            // The object keeps the whole text, and the window, which could
            // not take it, can't be typed into.
            FHeld = true;
            SetWindowTextA(HandleValue(), "");
            SendMessageA(HandleValue(), EM_SETREADONLY, TRUE, 0);
        }
    }
    // Both ways: the platform's edit window may count the text it is made
    // with as the user's change (Wine's single-line one does).
    SendMessageA(HandleValue(), EM_SETMODIFY, FModified ? TRUE : FALSE, 0);
}

void TCustomEdit::SaveWndState()
{
    FText = GetText();
    FModified = Modified();
    FHeld = false;
}

const std::string& TCustomEdit::GetText() const
{
    HWND wnd = HandleValue();
    if (!wnd || FHeld)
        return FText;
    int length = GetWindowTextLengthA(wnd);
    FTextCache.assign(static_cast<size_t>(length) + 1, '\0');
    int got = GetWindowTextA(wnd, FTextCache.data(), length + 1);
    FTextCache.resize(static_cast<size_t>(got < 0 ? 0 : got));
    return FTextCache;
}

bool TCustomEdit::WriteWindowText(const std::string& value)
{
    HWND wnd = HandleValue();
    if (!wnd) {
        FText = value;
        return true;
    }
    if (!SetWindowTextA(wnd, value.c_str()) || GetWindowTextLengthA(wnd) != static_cast<int>(value.size()))
        return false;
    if (FHeld) {
        // The window holds the text at last.
        FHeld = false;
        std::string().swap(FText);
        SendMessageA(wnd, EM_SETREADONLY, FALSE, 0);
    }
    return true;
}

void TCustomEdit::SetText(const std::string& value)
{
    if (value == GetText())
        return;
    WriteWindowText(value);
    if (!HandleValue())
        Change();
}

bool TCustomEdit::Modified() const
{
    if (HWND wnd = HandleValue())
        return SendMessageA(wnd, EM_GETMODIFY, 0, 0) != 0;
    return FModified;
}

void TCustomEdit::SetModified(bool value)
{
    FModified = value;
    if (HWND wnd = HandleValue())
        SendMessageA(wnd, EM_SETMODIFY, value ? TRUE : FALSE, 0);
}

int TCustomEdit::SelStart() const
{
    DWORD start = 0, end = 0;
    if (HWND wnd = HandleValue())
        SendMessageA(wnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(start);
}

int TCustomEdit::SelLength() const
{
    DWORD start = 0, end = 0;
    if (HWND wnd = HandleValue())
        SendMessageA(wnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TCustomEdit::SetSel(int start, int length)
{
    SendMessageA(Handle(), EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(start + length));
}

void TCustomEdit::CommandNotify(WORD code)
{
    if (code == EN_CHANGE && !FFilling)
        Change();
}

void TCustomEdit::Change()
{
    if (!IsLoading() && !IsDestroying())
        OnChange(this);
}

void TCustomEdit::WndProc(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_LBUTTONDOWN:
        FMouseDown = true;
        break;
    case WM_LBUTTONUP:
        DefaultHandler(msg);
        if (FMouseDown) {
            FMouseDown = false;
            Click();
        }
        return;
    default:
        break;
    }
    TWinControl::WndProc(msg);
}

// ------------------------------------------------------------------- TMemo

const TClassInfo& TMemo::StaticClass()
{
    return MakeClassInfo<TMemo>("TMemo", &TCustomEdit::StaticClass(), [](TClassBuilder<TMemo>& b) {
        b.Ordinal("WordWrap", TypeBoolean(), &TMemo::WordWrap, &TMemo::SetWordWrap);
    });
}

TMemo::TMemo(TComponent* owner) : TCustomEdit(owner)
{
    // A page's text is never lost to a window that can't hold it.
    FHoldRefusedText = true;
}

void TMemo::CreateParams(TCreateParams& params)
{
    TCustomEdit::CreateParams(params);
    params.Style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL;
    if (!FWordWrap)
        params.Style |= ES_AUTOHSCROLL | WS_HSCROLL;
}

void TMemo::InitializeWnd()
{
    // The editor takes as much text as memory allows, not the platform's
    // small default.
    SendMessageA(HandleValue(), EM_SETLIMITTEXT, Capacity, 0);
    TCustomEdit::InitializeWnd();
}

void TMemo::CreateWnd()
{
    TCustomEdit::CreateWnd();
    if (HoldsText())
        throw Exception("Text exceeds memo capacity");
}

void TMemo::SetText(const std::string& value)
{
    if (value == GetText())
        return;
    // Refused with or without a window, by what the window would refuse (too
    // many characters, or a zero byte, where its text would end): a page the
    // editor can't hold is reported when it is loaded, not when first shown.
    if (value.size() > Capacity || value.find('\0') != std::string::npos || !WriteWindowText(value))
        throw Exception("Text exceeds memo capacity");
    // A multi-line edit window sends no change notice for text set from
    // outside, so the editor announces the new text itself.
    Change();
}

void TMemo::SetWordWrap(bool value)
{
    if (value == FWordWrap)
        return;
    FWordWrap = value;
    RecreateWnd();
}

// ------------------------------------------------------------------- TEdit

const TClassInfo& TEdit::StaticClass()
{
    return MakeClassInfo<TEdit>("TEdit", &TCustomEdit::StaticClass(), [](auto&) {});
}

TEdit::TEdit(TComponent* owner) : TCustomEdit(owner) {}

void TEdit::CreateParams(TCreateParams& params)
{
    TCustomEdit::CreateParams(params);
    params.Style |= ES_AUTOHSCROLL;
}

// ----------------------------------------------------------------- TButton

const TClassInfo& TButton::StaticClass()
{
    return MakeClassInfo<TButton>("TButton", &TWinControl::StaticClass(), [](TClassBuilder<TButton>& b) {
        b.String("Caption", TypeCaption(), &TButton::GetText, &TButton::SetText);
    });
}

TButton::TButton(TComponent* owner) : TWinControl(owner)
{
    SetTabStop(true);
}

void TButton::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.WinClassName = "BUTTON";
    params.Subclass = true;
    params.Style &= ~WS_CLIPCHILDREN;
    params.Style |= BS_PUSHBUTTON | WS_TABSTOP;
}

void TButton::CommandNotify(WORD code)
{
    if (code == BN_CLICKED)
        Click();
}

// --------------------------------------------------------------- TGroupBox

const TClassInfo& TGroupBox::StaticClass()
{
    return MakeClassInfo<TGroupBox>("TGroupBox", &TWinControl::StaticClass(), [](TClassBuilder<TGroupBox>& b) {
        b.String("Caption", TypeCaption(), &TGroupBox::GetText, &TGroupBox::SetText);
    });
}

TGroupBox::TGroupBox(TComponent* owner) : TWinControl(owner) {}

void TGroupBox::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.WinClassName = "BUTTON";
    params.Subclass = true;
    params.Style |= BS_GROUPBOX;
}

void TGroupBox::WndProc(TMessage& msg)
{
    if (msg.Msg == WM_ERASEBKGND) {
        // The platform's group box leaves its background to the parent;
        // fill it so controls inside it sit on the panel's colour.
        EraseBackground(reinterpret_cast<HDC>(msg.WParam));
        msg.Result = 1;
        return;
    }
    TWinControl::WndProc(msg);
}

// ------------------------------------------------------------------ TLabel

const TClassInfo& TLabel::StaticClass()
{
    return MakeClassInfo<TLabel>("TLabel", &TGraphicControl::StaticClass(), [](TClassBuilder<TLabel>& b) {
        b.String("Caption", TypeCaption(), &TLabel::GetText, &TLabel::SetText)
            .Ordinal("Transparent", TypeBoolean(), &TLabel::Transparent, &TLabel::SetTransparent);
    });
}

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {}

void TLabel::SetTransparent(bool value)
{
    if (value == FTransparent)
        return;
    FTransparent = value;
    Invalidate();
}

void TLabel::TextChanged()
{
    AdjustSize();
    Invalidate();
}

void TLabel::FontChanged()
{
    AdjustSize();
    Invalidate();
}

void TLabel::AdjustSize()
{
    const HDC dc = TextMeasuringDC();
    SelectScope font(dc, Font()->Handle());
    RECT r{0, 0, 0, 0};
    const std::string& text = GetText();
    DrawTextA(dc, text.empty() ? " " : text.c_str(), -1, &r, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
    SetBounds(Left(), Top(), r.right, r.bottom);
}

void TLabel::PaintOn(HDC dc)
{
    RECT r{0, 0, Width(), Height()};
    if (!FTransparent) {
        BrushHandle brush = MakeSolidBrush(Color());
        FillRect(dc, &r, brush.Get());
    }
    SelectScope font(dc, Font()->Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Enabled() ? Font()->Color() : clGrayText));
    DrawTextA(dc, GetText().c_str(), -1, &r, DT_NOPREFIX | DT_SINGLELINE);
}
