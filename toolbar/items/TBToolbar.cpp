#include "toolbar/items/TBToolbar.h"
#include "toolbar/items/TBDrawing.h"
#include "toolbar/items/TBItemViewer.h"

#include <windowsx.h>

namespace {

const TTypeInfo& TypeShrinkMode()
{
    static const TTypeInfo t = MakeEnumType("TTBShrinkMode", {"tbsmNone", "tbsmWrap", "tbsmChevron"});
    return t;
}
const TTypeInfo& TypeDockMode()
{
    static const TTypeInfo t =
        MakeEnumType("TTBDockMode", {"dmCanFloat", "dmCannotFloat", "dmCannotFloatOrChangeDocks"});
    return t;
}
const TTypeInfo& TypeDragHandleStyle()
{
    static const TTypeInfo t = MakeEnumType("TTBDragHandleStyle", {"dhDouble", "dhNone", "dhSingle"});
    return t;
}
const TTypeInfo& TypeBorderStyle()
{
    static const TTypeInfo t = MakeEnumType("TTBBorderStyle", {"bsNone", "bsSingle"});
    return t;
}

POINT ScreenPointOf(HWND wnd, LPARAM lParam)
{
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(wnd, &pt);
    return pt;
}

} // namespace

const TClassInfo& TTBToolbar::StaticClass()
{
    return MakeClassInfo<TTBToolbar>("TTBToolbar", &TTBCustomDockableWindow::StaticClass(), [](TClassBuilder<TTBToolbar>& b) {
        b.Ordinal("BorderStyle", TypeBorderStyle(), &TTBToolbar::BorderStyle, &TTBToolbar::SetBorderStyle)
            .String("Caption", TypeCaption(), &TTBToolbar::GetText, &TTBToolbar::SetText)
            .Ordinal("CloseButton", TypeBoolean(), &TTBToolbar::CloseButton, &TTBToolbar::SetCloseButton)
            .Ordinal("DockMode", TypeDockMode(), &TTBToolbar::DockMode, &TTBToolbar::SetDockMode)
            .Ordinal("DragHandleStyle", TypeDragHandleStyle(), &TTBToolbar::DragHandleStyle,
                     &TTBToolbar::SetDragHandleStyle)
            .Ordinal("FloatingWidth", TypeInteger(), &TTBToolbar::FloatingWidth, &TTBToolbar::SetFloatingWidth)
            .Ordinal("FullSize", TypeBoolean(), &TTBToolbar::FullSize, &TTBToolbar::SetFullSize)
            .Ordinal("MenuBar", TypeBoolean(), &TTBToolbar::MenuBar, &TTBToolbar::SetMenuBar)
            .Ordinal("Options", TypeItemOptions(), &TTBToolbar::Options, &TTBToolbar::SetOptions)
            .Ordinal("ProcessShortCuts", TypeBoolean(), &TTBToolbar::ProcessShortCuts,
                     &TTBToolbar::SetProcessShortCuts)
            .Ordinal("ShrinkMode", TypeShrinkMode(), &TTBToolbar::ShrinkMode, &TTBToolbar::SetShrinkMode)
            .Ordinal("SystemFont", TypeBoolean(), &TTBToolbar::SystemFont, &TTBToolbar::SetSystemFont);
    });
}

TTBToolbar::TTBToolbar(TComponent* owner) : TTBCustomDockableWindow(owner)
{
    FItems = new TTBRootItem(this);
    FItems->SetParentComponent(this);
    FChevronItem = new TTBChevronItem(this, nullptr);
    FChevronItem->SetLinkSubitems(FItems);
    FView = new TTBToolbarView(this);
    FChevronItem->SetToolbarView(FView);
    FView->SetBackgroundColor(clBtnFace);
    SetBounds(0, 0, 23, 22);
}

TTBToolbar::~TTBToolbar()
{
    Destroying();
    // The window goes first, so no message reaches a view that is gone;
    // then the view goes before the items it shows.
    DestroyHandle();
    delete FView;
    delete FChevronItem;
    delete FItems;
}

// ----------------------------------------------------------- properties

void TTBToolbar::SetBorderStyle(TTBBorderStyle value)
{
    if (value == FBorderStyle)
        return;
    FBorderStyle = value;
    RearrangeInDock();
}

void TTBToolbar::SetDragHandleStyle(TTBDragHandleStyle value)
{
    if (value == FDragHandleStyle)
        return;
    FDragHandleStyle = value;
    RearrangeInDock();
}

void TTBToolbar::SetFullSize(bool value)
{
    if (value == FFullSize)
        return;
    FFullSize = value;
    FView->InvalidatePositions();
    RearrangeInDock();
}

void TTBToolbar::SetMenuBar(bool value)
{
    if (value == FMenuBar)
        return;
    FMenuBar = value;
    FView->SetMenuBarOptions(value);
    // While the layout is read it states each of these itself.
    if (!IsLoading()) {
        SetFullSize(value);
        SetShrinkMode(value ? tbsmWrap : tbsmChevron);
        SetCloseButton(!value);
        SetProcessShortCuts(value);
    }
    RearrangeInDock();
}

void TTBToolbar::SetShrinkMode(TTBShrinkMode value)
{
    if (value == FShrinkMode)
        return;
    FShrinkMode = value;
    RearrangeInDock();
}

void TTBToolbar::SetSystemFont(bool value)
{
    if (value == FSystemFont)
        return;
    FSystemFont = value;
    FView->InvalidatePositions();
    RearrangeInDock();
}

// --------------------------------------------------------------- layout

TTBViewOrientation TTBToolbar::OrientationInDock() const
{
    return CurrentDock() && CurrentDock()->Vertical() ? tbvoVertical : tbvoHorizontal;
}

int TTBToolbar::WrapLength() const
{
    TTBDock* dock = CurrentDock();
    if (!dock)
        return FFloatingWidth;
    if (FShrinkMode != tbsmWrap)
        return 0;
    return dock->Vertical() ? dock->Height() : dock->Width();
}

int TTBToolbar::ThicknessFor(bool vertical, int length)
{
    TTBLayoutResult r = FView->ComputePositions(false, vertical ? tbvoVertical : tbvoHorizontal,
                                                FShrinkMode == tbsmWrap ? length : 0, 0, FView->ChevronSize());
    return vertical ? r.TotalSize.cx : r.TotalSize.cy;
}

void TTBToolbar::Arrange()
{
    if (IsLoading() || IsDestroying())
        return;
    if (FArrangeLock > 0) {
        FArrangePending = true;
        return;
    }
    ++FArrangeLock;
    try {
        do {
            FArrangePending = false;
            FView->SetOrientation(OrientationInDock());
            FView->SetWrapOffset(WrapLength());
            FView->ValidatePositions();
        } while (FArrangePending);
    } catch (...) {
        --FArrangeLock;
        throw;
    }
    --FArrangeLock;
}

void TTBToolbar::RearrangeInDock()
{
    if (IsLoading() || IsDestroying())
        return;
    if (CurrentDock())
        CurrentDock()->ArrangeBars();
    Arrange();
}

void TTBToolbar::ViewResized(SIZE totalSize)
{
    TTBDock* dock = CurrentDock();
    if (!dock || IsLoading() || IsDestroying() || FInDockArrange)
        return;
    const int thickness = dock->Vertical() ? totalSize.cx : totalSize.cy;
    if (thickness == (dock->Vertical() ? Width() : Height()))
        return;
    // More or fewer rows: the dock takes the new thickness.
    FInDockArrange = true;
    try {
        dock->ArrangeBars();
    } catch (...) {
        FInDockArrange = false;
        throw;
    }
    FInDockArrange = false;
}

bool TTBToolbar::ItemAtPoint(POINT clientPoint) const
{
    TTBItemViewer* v = FView->ViewerFromPoint(clientPoint);
    return v && !v->Item()->HasStyle(TTBItemStyleFlag::ClickThrough);
}

void TTBToolbar::Loaded()
{
    TTBCustomDockableWindow::Loaded();
    RearrangeInDock();
}

void TTBToolbar::DockChanged()
{
    Arrange();
}

void TTBToolbar::BoundsChanged()
{
    TTBCustomDockableWindow::BoundsChanged();
    Arrange();
}

void TTBToolbar::FontChanged()
{
    TTBCustomDockableWindow::FontChanged();
    if (!FSystemFont) {
        FView->InvalidatePositions();
        RearrangeInDock();
    }
}

void TTBToolbar::ColorChanged()
{
    FView->SetBackgroundColor(Color());
    TTBCustomDockableWindow::ColorChanged();
}

// ------------------------------------------------------------- messages

void TTBToolbar::Paint(HDC dc)
{
    FView->DrawAll(dc);
}

void TTBToolbar::WMPaintInto(HDC dc)
{
    // The view's off-screen relayout asks for the whole window in its bitmap.
    FView->DrawAll(dc);
}

void TTBToolbar::WMMouseMove(TMessage& msg)
{
    POINT pt = ScreenPointOf(HandleValue(), msg.LParam);
    FView->TrackHover(&pt, true);
    if (!FTrackingLeave) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, HandleValue(), 0};
        FTrackingLeave = TrackMouseEvent(&tme) != FALSE;
    }
}

void TTBToolbar::WMLButtonDown(TMessage& msg)
{
    FView->MouseDownAt(ScreenPointOf(HandleValue(), msg.LParam));
}

void TTBToolbar::WMLButtonUp(TMessage& msg)
{
    if (GetCapture() == HandleValue())
        FView->MouseUpAt(ScreenPointOf(HandleValue(), msg.LParam));
}

void TTBToolbar::WMMouseLeave()
{
    FTrackingLeave = false;
    if (GetCapture() != HandleValue())
        FView->TrackHover(nullptr, false);
}

void TTBToolbar::SystemMetricsChanged()
{
    // The shared menu font follows the system's; bars drawn with it re-measure.
    RefreshSystemMenuFont();
    FView->InvalidatePositions();
    RearrangeInDock();
}

void TTBToolbar::WndProc(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_PAINT:
        if (msg.WParam) {
            WMPaintInto(reinterpret_cast<HDC>(msg.WParam));
            return;
        }
        break;
    case WM_PRINTCLIENT:
        EraseBackground(reinterpret_cast<HDC>(msg.WParam));
        WMPaintInto(reinterpret_cast<HDC>(msg.WParam));
        return;
    case WM_MOUSEMOVE:
        WMMouseMove(msg);
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        WMLButtonDown(msg);
        return;
    case WM_LBUTTONUP:
        WMLButtonUp(msg);
        return;
    case WM_MOUSELEAVE:
        WMMouseLeave();
        return;
    case WM_NCMOUSEMOVE:
    case WM_RBUTTONUP:
        if (GetCapture() != HandleValue())
            FView->TrackHover(nullptr, false);
        break;
    case WM_CAPTURECHANGED:
        FView->CaptureLost();
        break;
    case WM_SETTINGCHANGE:
        if (msg.WParam == SPI_SETNONCLIENTMETRICS)
            SystemMetricsChanged();
        break;
    default:
        break;
    }
    TTBCustomDockableWindow::WndProc(msg);
}
