#include "toolbar/dock/TBDockableWindow.h"
#include "toolbar/dock/TBFloatingWindowParent.h"
#include "toolbar/dock/TBFrameDC.h"
#include "toolkit/Scopes.h"

#include <algorithm>

const TClassInfo& TTBCustomDockableWindow::StaticClass()
{
    using W = TTBCustomDockableWindow;
    return MakeClassInfo<W>("TTBCustomDockableWindow", &TCustomControl::StaticClass(), [](TClassBuilder<W>& b) {
        b.Ordinal("ActivateParent", TypeBoolean(), &W::ActivateParent, &W::SetActivateParent)
            .Ordinal("AutoResize", TypeBoolean(), &W::AutoResize, &W::SetAutoResize)
            .Ordinal("BorderStyle", TypeBarBorderStyle(), &W::BorderStyle, &W::SetBorderStyle)
            .String("Caption", TypeCaption(), &W::GetText, &W::SetText)
            .Ordinal("CloseButton", TypeBoolean(), &W::CloseButton, &W::SetCloseButton)
            .Ordinal("CloseButtonWhenDocked", TypeBoolean(), &W::CloseButtonWhenDocked, &W::SetCloseButtonWhenDocked)
            .Object<TTBDock>("CurrentDock", &W::CurrentDock, &W::SetCurrentDock)
            // A restored value that names no dock leaves the bar in its default dock.
            .FallsBackTo("DefaultDock")
            .Object<TTBDock>("DefaultDock", &W::DefaultDock, &W::SetDefaultDock)
            .Ordinal("DockableTo", TypeDockableTo(), &W::DockableTo, &W::SetDockableTo)
            .Ordinal("DockMode", TypeDockMode(), &W::DockMode, &W::SetDockMode)
            .Ordinal("DockPos", TypeInteger(), &W::DockPos, &W::SetDockPos)
            .Ordinal("DockRow", TypeInteger(), &W::DockRow, &W::SetDockRow)
            .Ordinal("DragHandleStyle", TypeDragHandleStyle(), &W::DragHandleStyle, &W::SetDragHandleStyle)
            .Ordinal("FloatingMode", TypeFloatingMode(), &W::FloatingMode, &W::SetFloatingMode)
            .Ordinal("FullSize", TypeBoolean(), &W::FullSize, &W::SetFullSize)
            .Ordinal("HideWhenInactive", TypeBoolean(), &W::HideWhenInactive, &W::SetHideWhenInactive)
            .Object<TTBDock>("LastDock", &W::LastDock, &W::SetLastDock)
            .Ordinal("Resizable", TypeBoolean(), &W::Resizable, &W::SetResizable)
            .Ordinal("ShowCaption", TypeBoolean(), &W::ShowCaption, &W::SetShowCaption)
            .Ordinal("SmoothDrag", TypeBoolean(), &W::SmoothDrag, &W::SetSmoothDrag)
            .Ordinal("Stretch", TypeBoolean(), &W::Stretch, &W::SetStretch)
            .Ordinal("UseLastDock", TypeBoolean(), &W::UseLastDock, &W::SetUseLastDock);
    });
}

TTBCustomDockableWindow::TTBCustomDockableWindow(TComponent* owner) : TCustomControl(owner)
{
    SetColor(clBtnFace);
}

TTBCustomDockableWindow::~TTBCustomDockableWindow()
{
    Destroying();
    // Leave the dock while this object is still whole: the dock lays out
    // without the bar and forgets it.
    if (Parent())
        SetParent(nullptr);
    SetLastDock(nullptr);
    delete FFloatingHost;
    FFloatingHost = nullptr;
}

// ---------------------------------------------------------------- dock references

void TTBCustomDockableWindow::SetCurrentDock(TTBDock* dock)
{
    if (IsLoading())
        return;
    if (dock) {
        SetParent(dock);
        return;
    }
    TCustomForm* form = GetParentForm(this);
    if (!form)
        throw EInvalidOperation("Control '" + Name() + "' has no parent window");
    SetParent(form);
}

void TTBCustomDockableWindow::SetDefaultDock(TTBDock* dock)
{
    FDefaultDock = dock;
    if (dock)
        dock->FreeNotification(this);
}

void TTBCustomDockableWindow::SetLastDock(TTBDock* dock)
{
    if (FUseLastDock && FCurrentDock)
        dock = FCurrentDock;
    if (dock == FLastDock)
        return;
    if (FLastDock && FLastDock != Parent())
        FLastDock->BarsChanged(this, false);
    FLastDock = dock;
    if (dock) {
        FUseLastDock = true;
        dock->FreeNotification(this);
        dock->BarsChanged(this, true);
    }
}

void TTBCustomDockableWindow::SetUseLastDock(bool value)
{
    FUseLastDock = value;
    SetLastDock(value ? FCurrentDock : nullptr);
}

void TTBCustomDockableWindow::Notification(TComponent* component, TOperation operation)
{
    TCustomControl::Notification(component, operation);
    if (operation != TOperation::opRemove)
        return;
    if (component == FDefaultDock)
        FDefaultDock = nullptr;
    if (component == FLastDock)
        FLastDock = nullptr;
    if (component == FCurrentDock)
        FCurrentDock = nullptr;
    if (component == FFloatingHost)
        FFloatingHost = nullptr;
}

// ---------------------------------------------------------------- placement settings

void TTBCustomDockableWindow::SetDockRow(int value)
{
    FDockRow = value;
    if (FDocked)
        FCurrentDock->LayoutRows();
}

void TTBCustomDockableWindow::SetDockPos(int value)
{
    FDockPos = value;
    if (FDocked)
        FCurrentDock->LayoutRows();
}

void TTBCustomDockableWindow::SetFullSize(bool value)
{
    if (value == FFullSize)
        return;
    FFullSize = value;
    if (FDocked)
        FCurrentDock->LayoutRows();
}

void TTBCustomDockableWindow::SetStretch(bool value)
{
    if (value == FStretch)
        return;
    FStretch = value;
    if (FDocked)
        FCurrentDock->LayoutRows();
}

void TTBCustomDockableWindow::SetBorderStyle(TFormBorderStyle value)
{
    if (value == FBorderStyle)
        return;
    FBorderStyle = value;
    if (FDocked)
        RecomputeFrame();
}

void TTBCustomDockableWindow::SetDragHandleStyle(TTBDragHandleStyle value)
{
    if (value == FDragHandleStyle)
        return;
    FDragHandleStyle = value;
    if (FDocked)
        RecomputeFrame();
}

void TTBCustomDockableWindow::SetCloseButtonWhenDocked(bool value)
{
    if (value == FCloseButtonWhenDocked)
        return;
    FCloseButtonWhenDocked = value;
    if (FDocked)
        RecomputeFrame();
}

void TTBCustomDockableWindow::SetAutoResize(bool value)
{
    if (value == FAutoResize)
        return;
    FAutoResize = value;
    if (value)
        ArrangeSelf();
}

// ---------------------------------------------------------------- arranging

void TTBCustomDockableWindow::ArrangeSelf()
{
    if (FSelfArrangeLock > 0 || IsLoading() || !Parent()) {
        SelfArrangePending = true;
        return;
    }
    SelfArrangePending = false;
    SIZE size = ArrangeContents(true, TTBDock::PlacementOf(FCurrentDock, FFloating), FFloating, FCurrentDock);
    if (!FAutoResize && !FCurrentDock && !FFloating)
        return;
    // A docked bar gets its size from its dock's rows.
    if (FDocked) {
        FCurrentDock->LayoutRows();
        return;
    }
    SIZE frame = GetDockedFrameSize();
    CountScope quiet(SizeNotifyLock);
    SetBounds(Left(), Top(), size.cx + frame.cx, size.cy + frame.cy);
}

void TTBCustomDockableWindow::UnlockSelfArrange()
{
    if (--FSelfArrangeLock == 0 && SelfArrangePending)
        ArrangeSelf();
}

void TTBCustomDockableWindow::SetBounds(int left, int top, int width, int height)
{
    if (FFloating) {
        static_cast<TTBFloatingWindowParent*>(Parent())->SetClientSize(width, height);
        left = 0;
        top = 0;
    }
    if (SizeNotifyLock == 0 && (width != Width() || height != Height()))
        BeforeResize(width, height);
    TCustomControl::SetBounds(left, top, width, height);
}

void TTBCustomDockableWindow::Loaded()
{
    TCustomControl::Loaded();
    AfterLoaded();
    ArrangeSelf();
}

// ---------------------------------------------------------------- frame

int TTBCustomDockableWindow::GripSize() const
{
    if (FCloseButtonWhenDocked)
        return 14;
    static const int sizes[] = {9, 0, 6}; // dhDouble, dhNone, dhSingle
    return sizes[FDragHandleStyle];
}

SIZE TTBCustomDockableWindow::GetDockedFrameSize() const
{
    if (!FDocked)
        return SIZE{0, 0};
    SIZE size{4, 4};
    if (FCurrentDock->AllowDrag()) {
        if (FCurrentDock->Vertical())
            size.cy += GripSize();
        else
            size.cx += GripSize();
    }
    return size;
}

SIZE TTBCustomDockableWindow::GetFloatingFrameSize() const
{
    if (FResizable)
        return SIZE{GetSystemMetrics(SM_CXSIZEFRAME), GetSystemMetrics(SM_CYSIZEFRAME)};
    return SIZE{GetSystemMetrics(SM_CXFIXEDFRAME), GetSystemMetrics(SM_CYFIXEDFRAME)};
}

RECT TTBCustomDockableWindow::CloseButtonBox(bool vertical) const
{
    const int a = GripSize() - 3;
    if (!vertical)
        return RECT{3, 2, 3 + a, 2 + a};
    const int left = ClientWidth() - a + 2;
    return RECT{left, 3, left + a, 3 + a};
}

void TTBCustomDockableWindow::PaintDockedFrame(bool useGivenDC, HDC dc, HRGN updateRgn)
{
    if (!FDocked || !HandleAllocated())
        return;
    // Until the frame learns its grip and close button: the border rings in
    // the bar's colour, and the grip area filled with it.
    auto paint = [this](HDC target) {
        RECT window;
        GetWindowRect(HandleValue(), &window);
        RECT r{0, 0, window.right - window.left, window.bottom - window.top};
        BrushHandle brush = MakeSolidBrush(Color());
        if (FBorderStyle == bsSingle)
            DrawEdge(target, &r, BDR_RAISEDINNER, BF_RECT);
        else
            FrameRect(target, &r, brush.Get());
        InflateRect(&r, -1, -1);
        FrameRect(target, &r, brush.Get());
        if (FCurrentDock->AllowDrag() && GripSize() > 0) {
            const int s = GripSize();
            RECT grip = FCurrentDock->Vertical() ? RECT{2, 2, r.right - 1, s + 2} : RECT{2, 2, s + 2, r.bottom - 1};
            FillRect(target, &grip, brush.Get());
        }
    };
    if (useGivenDC) {
        paint(dc);
        return;
    }
    FrameDC frame(HandleValue(), updateRgn);
    paint(frame.Get());
}

void TTBCustomDockableWindow::HandleNcCalcSize(TMessage& msg)
{
    msg.Result = 0;
    if (!FDocked)
        return;
    auto* r = reinterpret_cast<RECT*>(msg.LParam);
    InflateRect(r, -2, -2);
    if (FCurrentDock->AllowDrag()) {
        if (FCurrentDock->Vertical())
            r->top += GripSize();
        else
            r->left += GripSize();
    }
    r->right = std::max(r->right, r->left);
    r->bottom = std::max(r->bottom, r->top);
}

void TTBCustomDockableWindow::RedrawFrame()
{
    if (HandleAllocated())
        RedrawWindow(HandleValue(), nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE | RDW_NOCHILDREN);
}

void TTBCustomDockableWindow::RecomputeFrame()
{
    RecomputeWindowFrame(HandleValue());
}

// ---------------------------------------------------------------- queries and actions

void TTBCustomDockableWindow::ItemAtPoint(POINT clientPoint, bool& exists)
{
    for (int i = 0; i < ControlCount() && !exists; ++i) {
        TControl* c = Controls(i);
        RECT r = c->BoundsRect();
        exists = c->Visible() && !IsTransparentChild(c) && PtInRect(&r, clientPoint);
    }
}

bool TTBCustomDockableWindow::CanDragNow() const
{
    return (FDocked && FCurrentDock->AllowDrag()) || FFloating;
}

void TTBCustomDockableWindow::CloseBar()
{
    bool canClose = true;
    OnCloseQuery(this, canClose);
    if (!canClose)
        return;
    Hide();
    OnClose(this);
}

void TTBCustomDockableWindow::DockAtDefault()
{
    if (!FDocked) {
        if (FLastDock) {
            SetParent(FLastDock);
        } else if (FDefaultDock) {
            // -8 sorts the bar before the bars already at the start of row 0.
            FDockRow = 0;
            FDockPos = -8;
            SetParent(FDefaultDock);
        }
        return;
    }
    if (FDockMode == dmCanFloat)
        Float();
}

TTBFloatingWindowParent* TTBCustomDockableWindow::CreateFloatingHost()
{
    return new TTBFloatingWindowParent(this);
}

void TTBCustomDockableWindow::Float()
{
    if (!FFloatingHost) {
        FFloatingHost = CreateFloatingHost();
        FFloatingHost->FreeNotification(this);
    }
    FFloatingHost->SetText(GetText());
    FFloatingHost->SetBounds(FFloatingPosition.x, FFloatingPosition.y, FFloatingHost->Width(), FFloatingHost->Height());
    SetParent(FFloatingHost);
    FFloatingHost->KeepOnScreen();
    FFloatingHost->Show();
}

void TTBCustomDockableWindow::NotifyDockChangingHidden(bool newFloating, TTBDock* dockingTo)
{
    if (!IsDestroying())
        OnDockChangingHidden(this, newFloating, dockingTo);
}

// ---------------------------------------------------------------- window state

void TTBCustomDockableWindow::CreateParams(TCreateParams& params)
{
    TCustomControl::CreateParams(params);
    if (FHiddenLock > 0)
        params.Style &= ~WS_VISIBLE;
}

void TTBCustomDockableWindow::UpdateVisibility()
{
    if (!HandleAllocated())
        return;
    bool want = Visible() && Parent() && FHiddenLock == 0;
    if (FFloating)
        want = want && Parent()->Visible() && !IsIconic(Parent()->HandleValue());
    bool has = (GetWindowLongA(HandleValue(), GWL_STYLE) & WS_VISIBLE) != 0;
    if (want != has)
        ShowWindow(HandleValue(), want ? SW_SHOWNA : SW_HIDE);
}

void TTBCustomDockableWindow::VisibleChanged()
{
    if (FDocked)
        FCurrentDock->ShownChanged(this, false);
    TControl::VisibleChanged();
    UpdateVisibility();
    OnVisibleChanged(this);
}

void TTBCustomDockableWindow::ColorChanged()
{
    RedrawFrame();
    TCustomControl::ColorChanged();
}

HPALETTE TTBCustomDockableWindow::GetPalette() const
{
    return FDocked ? FCurrentDock->GetPalette() : nullptr;
}

bool TTBCustomDockableWindow::PaletteChanged(bool foreground)
{
    const bool realised = TCustomControl::PaletteChanged(foreground);
    // The frame is drawn with the dock's background too, and no repaint of
    // the client area reaches it.
    if (realised && !foreground)
        RedrawFrame();
    return realised;
}

void TTBCustomDockableWindow::TextChanged()
{
    TCustomControl::TextChanged();
    if (FFloating)
        Parent()->SetText(GetText());
}

void TTBCustomDockableWindow::HandleMoved()
{
    if (FDocked && FCurrentDock->UsingBackground())
        RedrawWindow(HandleValue(), nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW);
    if (!IsLoading() && FMoveNotifyLock == 0)
        OnMove(this);
}

void TTBCustomDockableWindow::WndProc(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_NCCALCSIZE:
        HandleNcCalcSize(msg);
        return;
    case WM_NCPAINT:
        PaintDockedFrame(false, nullptr, reinterpret_cast<HRGN>(msg.WParam));
        msg.Result = 0;
        return;
    case WM_MOVE:
        TCustomControl::WndProc(msg);
        HandleMoved();
        return;
    default:
        break;
    }
    TCustomControl::WndProc(msg);
}
