#include "toolbar/dock/TBDock.h"
#include "toolbar/dock/TBBackground.h"
#include "toolbar/dock/TBDockableWindow.h"
#include "toolbar/dock/TBFrameDC.h"

#include <algorithm>

const TClassInfo& TTBDock::StaticClass()
{
    return MakeClassInfo<TTBDock>("TTBDock", &TCustomControl::StaticClass(), [](TClassBuilder<TTBDock>& b) {
        b.Ordinal("AllowDrag", TypeBoolean(), &TTBDock::AllowDrag, &TTBDock::SetAllowDrag)
            .Object<TTBBasicBackground>("Background", &TTBDock::Background, &TTBDock::SetBackground)
            .Ordinal("BackgroundOnToolbars", TypeBoolean(), &TTBDock::BackgroundOnToolbars,
                     &TTBDock::SetBackgroundOnToolbars)
            .Ordinal("BoundLines", TypeDockBoundLines(), &TTBDock::BoundLines, &TTBDock::SetBoundLines)
            .Ordinal("FixAlign", TypeBoolean(), &TTBDock::FixAlign, &TTBDock::SetFixAlign)
            .Ordinal("LimitToOneRow", TypeBoolean(), &TTBDock::LimitToOneRow, &TTBDock::SetLimitToOneRow)
            .Ordinal("Position", TypeDockPosition(), &TTBDock::Position, &TTBDock::SetPosition);
    });
}

TTBDock::TTBDock(TComponent* owner) : TCustomControl(owner)
{
    SetColor(clBtnFace);
    SetAlign(alTop);
}

TTBDock::~TTBDock()
{
    Destroying();
    SetBackground(nullptr);
    // The bars leave while the dock is still whole, so their dock change
    // can still talk to it.
    for (int i = ControlCount() - 1; i >= 0; --i)
        if (i < ControlCount())
            Controls(i)->SetParent(nullptr);
    for (TTBCustomDockableWindow* bar : FBarList)
        if (bar->LastDock() == this)
            bar->SetLastDock(nullptr);
    FBarList.clear();
    FShownBars.clear();
}

// ---------------------------------------------------------------- properties

void TTBDock::SetParent(TWinControl* parent)
{
    if (dynamic_cast<TTBDock*>(parent) || dynamic_cast<TTBCustomDockableWindow*>(parent))
        throw EInvalidOperation("A TTBDock control cannot be placed inside a tool window or another TTBDock");
    TCustomControl::SetParent(parent);
}

void TTBDock::SetPosition(TTBDockPosition value)
{
    if (value == FPosition)
        return;
    if (ControlCount() > 0)
        throw EInvalidOperation("Cannot change Position of a TTBDock if it already contains controls");
    FPosition = value;
    static const TAlign aligns[] = {alTop, alBottom, alLeft, alRight};
    SetAlign(aligns[value]);
}

void TTBDock::SetAllowDrag(bool value)
{
    if (value == FAllowDrag)
        return;
    FAllowDrag = value;
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* bar = dynamic_cast<TTBCustomDockableWindow*>(Controls(i)))
            RecomputeWindowFrame(bar->HandleValue());
}

void TTBDock::SetBoundLines(TTBDockBoundLines value)
{
    value &= 0xFu;
    if (value == FBoundLines)
        return;
    FBoundLines = value;
    auto has = [value](TTBDockBoundLine l) { return (value & BoundLineBit(l)) ? 1 : 0; };
    FHorzLines = has(blTop) + has(blBottom);
    FVertLines = has(blLeft) + has(blRight);
    RecomputeFrame();
}

void TTBDock::SetFixAlign(bool value)
{
    FFixAlign = value;
    LayoutRows();
}

void TTBDock::SetBackgroundOnToolbars(bool value)
{
    if (value == FBackgroundOnToolbars)
        return;
    FBackgroundOnToolbars = value;
    RepaintWithBars();
}

void TTBDock::SetBackground(TTBBasicBackground* value)
{
    if (value == FBackground)
        return;
    if (FBackground)
        FBackground->UnregisterChanges(MakeMethod<&TTBDock::BackgroundChanged>(this));
    FBackground = value;
    if (value) {
        value->FreeNotification(this);
        value->RegisterChanges(MakeMethod<&TTBDock::BackgroundChanged>(this));
    }
    if (!IsDestroying())
        RepaintWithBars();
}

void TTBDock::BackgroundChanged(TObject*)
{
    RepaintWithBars();
}

void TTBDock::RepaintWithBars()
{
    if (!HandleAllocated())
        return;
    InvalidateRect(HandleValue(), nullptr, TRUE);
    for (TTBCustomDockableWindow* bar : FShownBars)
        if (bar->HandleAllocated())
            RedrawWindow(bar->HandleValue(), nullptr, nullptr,
                         RDW_FRAME | RDW_ERASE | RDW_INVALIDATE | RDW_NOCHILDREN);
}

void TTBDock::RecomputeFrame()
{
    RecomputeWindowFrame(HandleValue());
}

void TTBDock::Notification(TComponent* component, TOperation operation)
{
    TCustomControl::Notification(component, operation);
    if (operation != TOperation::opRemove)
        return;
    if (component == FBackground)
        FBackground = nullptr;
    auto drop = [component](std::vector<TTBCustomDockableWindow*>& list) {
        list.erase(std::remove_if(list.begin(), list.end(),
                                  [component](TTBCustomDockableWindow* b) { return static_cast<TComponent*>(b) == component; }),
                   list.end());
    };
    drop(FBarList);
    drop(FShownBars);
    if (static_cast<TComponent*>(DragBar) == component)
        DragBar = nullptr;
}

// ---------------------------------------------------------------- bars

bool TTBDock::IsShownHere(const TTBCustomDockableWindow* bar) const
{
    return bar->Parent() == this && bar->Visible();
}

void TTBDock::UnlockLayout()
{
    if (--FLayoutLock == 0 && FLayoutPending)
        LayoutRows();
}

void TTBDock::BarsChanged(TTBCustomDockableWindow* bar, bool belongs)
{
    auto it = std::find(FBarList.begin(), FBarList.end(), bar);
    if (belongs && it == FBarList.end()) {
        bar->FreeNotification(this);
        FBarList.push_back(bar);
    } else if (!belongs && it != FBarList.end()) {
        FBarList.erase(it);
    }
    ShownChanged(bar, false);
}

void TTBDock::ShownChanged(TTBCustomDockableWindow* bar, bool forceRemove)
{
    bool should = !forceRemove && IsShownHere(bar);
    auto it = std::find(FShownBars.begin(), FShownBars.end(), bar);
    if (should == (it != FShownBars.end()))
        return;
    if (should)
        FShownBars.push_back(bar);
    else
        FShownBars.erase(it);
    LayoutRows();
    OnInsertRemoveBar(this, should, bar);
}

int TTBDock::LastRow(bool placed) const
{
    int last = -1;
    for (const TTBCustomDockableWindow* bar : FBarList)
        last = std::max(last, placed ? bar->PlacedRow : bar->DockRow());
    return last;
}

int TTBDock::RowThickness(int row, bool* fullSize) const
{
    int thickness = 0;
    if (row < 0)
        return 0;
    for (const TTBCustomDockableWindow* bar : FBarList) {
        if (!IsShownHere(bar) || bar->PlacedRow != row)
            continue;
        thickness = std::max(thickness, Vertical() ? bar->Width() : bar->Height());
        if (fullSize)
            *fullSize = bar->FullSize();
    }
    return thickness;
}

int TTBDock::MaxCrossInRow(int row, const TTBCustomDockableWindow* except) const
{
    int cross = 0;
    if (row < 0)
        return 0;
    for (const TTBCustomDockableWindow* bar : FBarList)
        if (bar != except && IsShownHere(bar) && bar->PlacedRow == row)
            cross = std::max(cross, bar->CrossSize);
    return cross;
}

PlacementKind TTBDock::PlacementOf(const TTBDock* dock, bool floating)
{
    if (floating)
        return pkFloating;
    if (!dock)
        return pkNone;
    return dock->Vertical() ? pkVertical : pkHorizontal;
}

int TTBDock::AvailableLength() const
{
    return std::max(0, Vertical() ? Height() - FHorzLines : Width() - FVertLines);
}

// ---------------------------------------------------------------- sizing

void TTBDock::Loaded()
{
    TCustomControl::Loaded();
    LayoutRows();
}

void TTBDock::BoundsChanged()
{
    TCustomControl::BoundsChanged();
    // Aligning the dock to its edge gives it a new length: the rows follow.
    LayoutRows();
}

void TTBDock::ResizeKeepingEdge(int width, int height)
{
    int left = Left(), top = Top();
    switch (Align()) {
    case alBottom: top = Top() + Height() - height; break;
    case alRight: left = Left() + Width() - width; break;
    case alClient: return;
    default: break;
    }
    SetBounds(left, top, width, height);
}

void TTBDock::ResizeAcross(int across)
{
    if (Vertical())
        ResizeKeepingEdge(FVertLines + across, Height());
    else
        ResizeKeepingEdge(Width(), FHorzLines + across);
}

// ---------------------------------------------------------------- background

bool TTBDock::UsingBackground() const
{
    return FBackground && FBackground->UsingBackground();
}

HPALETTE TTBDock::GetPalette() const
{
    return UsingBackground() ? FBackground->GetPalette() : nullptr;
}

void TTBDock::DrawBackground(HDC dc, const RECT& area, POINT origin)
{
    if (!UsingBackground())
        return;
    SaveDCScope saved(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    RECT pattern{-origin.x, -origin.y, area.right, area.bottom};
    FBackground->Draw(dc, pattern);
}

void TTBDock::EraseBackground(HDC dc)
{
    if (!UsingBackground()) {
        TCustomControl::EraseBackground(dc);
        return;
    }
    // The client origin within the parent's client area: the window's
    // position plus the bound lines on the left and at the top.
    POINT origin{Left() + ((FBoundLines & BoundLineBit(blLeft)) ? 1 : 0),
                 Top() + ((FBoundLines & BoundLineBit(blTop)) ? 1 : 0)};
    DrawBackground(dc, ClientRect(), origin);
}

void TTBDock::HandleMoved()
{
    if (!UsingBackground())
        return;
    RepaintWithBars();
}

// ---------------------------------------------------------------- messages

void TTBDock::WndProc(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_NCCALCSIZE:
        HandleNcCalcSize(msg);
        return;
    case WM_NCPAINT:
        HandleNcPaint(msg);
        return;
    case WM_PRINT:
        HandlePrint(msg);
        return;
    case WM_PRINTCLIENT:
        PaintWindow(reinterpret_cast<HDC>(msg.WParam), ClientRect());
        msg.Result = 0;
        return;
    case WM_MOVE:
        TCustomControl::WndProc(msg);
        HandleMoved();
        return;
    case WM_SYSCOLORCHANGE:
        if (FBackground)
            FBackground->SysColorChanged();
        break;
    case TBM_DIALOGKEY:
    case TBM_DIALOGCHAR:
        if (ForwardToBars(msg))
            return;
        break;
    case TBM_APPSYSCOMMAND:
        ForwardToBars(msg);
        return;
    default:
        break;
    }
    TCustomControl::WndProc(msg);
}

bool TTBDock::ForwardToBars(TMessage& msg)
{
    // Docked bars are children and hear these themselves; floating bars
    // listed here are not, so the dock passes them on.
    std::vector<TTBCustomDockableWindow*> bars = FBarList;
    for (TTBCustomDockableWindow* bar : bars) {
        if (!bar->WantsMenuEvents() || !bar->Floating() || !bar->Showing() || !bar->Enabled())
            continue;
        if (LRESULT r = bar->Perform(msg.Msg, msg.WParam, msg.LParam)) {
            msg.Result = r;
            return true;
        }
    }
    msg.Result = 0;
    return false;
}

void TTBDock::HandleNcCalcSize(TMessage& msg)
{
    auto* r = reinterpret_cast<RECT*>(msg.LParam);
    if (FBoundLines & BoundLineBit(blTop))
        ++r->top;
    if (FBoundLines & BoundLineBit(blBottom))
        --r->bottom;
    if (FBoundLines & BoundLineBit(blLeft))
        ++r->left;
    if (FBoundLines & BoundLineBit(blRight))
        --r->right;
    if (r->bottom < r->top)
        r->bottom = r->top;
    if (r->right < r->left)
        r->right = r->left;
    msg.Result = 0;
}

void TTBDock::PaintBoundLines(HDC dc)
{
    RECT window;
    GetWindowRect(HandleValue(), &window);
    RECT r{0, 0, window.right - window.left, window.bottom - window.top};
    RECT client{r.left + ((FBoundLines & BoundLineBit(blLeft)) ? 1 : 0),
                r.top + ((FBoundLines & BoundLineBit(blTop)) ? 1 : 0),
                r.right - ((FBoundLines & BoundLineBit(blRight)) ? 1 : 0),
                r.bottom - ((FBoundLines & BoundLineBit(blBottom)) ? 1 : 0)};
    RECT fill = r;
    if (FBoundLines && !FShownBars.empty()) {
        auto line = [dc](int colour, int x1, int y1, int x2, int y2) {
            PenHandle pen(CreatePen(PS_SOLID, 1, GetSysColor(colour)));
            SelectScope use(dc, pen.Get());
            MoveToEx(dc, x1, y1, nullptr);
            LineTo(dc, x2, y2);
        };
        if (FBoundLines & BoundLineBit(blTop)) {
            line(COLOR_BTNSHADOW, 0, 0, r.right, 0);
            ++fill.top;
        }
        if (FBoundLines & BoundLineBit(blLeft)) {
            line(COLOR_BTNSHADOW, 0, 0, 0, r.bottom);
            ++fill.left;
        }
        if (FBoundLines & BoundLineBit(blBottom)) {
            line(COLOR_BTNHIGHLIGHT, 0, r.bottom - 1, r.right, r.bottom - 1);
            --fill.bottom;
        }
        if (FBoundLines & BoundLineBit(blRight)) {
            line(COLOR_BTNHIGHLIGHT, r.right - 1, 0, r.right - 1, r.bottom);
            --fill.right;
        }
    }
    if (EqualRect(&fill, &client))
        return;
    SaveDCScope saved(dc);
    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    BrushHandle brush = MakeSolidBrush(Color());
    FillRect(dc, &fill, brush.Get());
}

void TTBDock::HandleNcPaint(TMessage& msg)
{
    msg.Result = 0;
    if (!HandleAllocated())
        return;
    FrameDC dc(HandleValue(), reinterpret_cast<HRGN>(msg.WParam));
    PaintBoundLines(dc.Get());
}

void TTBDock::HandlePrint(TMessage& msg)
{
    HDC dc = reinterpret_cast<HDC>(msg.WParam);
    const auto flags = static_cast<DWORD>(msg.LParam);
    msg.Result = 1;
    if ((flags & PRF_CHECKVISIBLE) && !IsWindowVisible(HandleValue()))
        return;
    if (flags & PRF_NONCLIENT)
        PaintBoundLines(dc);
    if (!(flags & PRF_CLIENT))
        return;
    // The client area starts after the bound lines on the left and at the top.
    POINT offset{(FBoundLines & BoundLineBit(blLeft)) ? 1 : 0, (FBoundLines & BoundLineBit(blTop)) ? 1 : 0};
    SaveDCScope saved(dc);
    POINT old;
    OffsetViewportOrgEx(dc, offset.x, offset.y, &old);
    IntersectClipRect(dc, 0, 0, ClientWidth(), ClientHeight());
    if (flags & PRF_ERASEBKGND)
        SendMessageA(HandleValue(), WM_ERASEBKGND, msg.WParam, 0);
    SendMessageA(HandleValue(), WM_PRINTCLIENT, msg.WParam, static_cast<LPARAM>(flags));
    if (flags & PRF_CHILDREN) {
        // Bottom of the stacking order first, so upper windows end on top.
        HWND child = GetWindow(HandleValue(), GW_CHILD);
        for (child = child ? GetWindow(child, GW_HWNDLAST) : nullptr; child; child = GetWindow(child, GW_HWNDPREV)) {
            if (!IsWindowVisible(child))
                continue;
            RECT r;
            GetWindowRect(child, &r);
            MapWindowPoints(HWND_DESKTOP, HandleValue(), reinterpret_cast<POINT*>(&r), 2);
            SaveDCScope childSaved(dc);
            OffsetViewportOrgEx(dc, r.left, r.top, nullptr);
            SendMessageA(child, WM_PRINT, msg.WParam, static_cast<LPARAM>(flags | PRF_NONCLIENT | PRF_CLIENT));
        }
    }
}
