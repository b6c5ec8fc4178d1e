#include "toolbar/items/TBToolbar.h"

#include <windowsx.h>
#include <algorithm>

namespace {
const int kSeparatorSize = 6;
const int kButtonPadding = 7;
const int kEmptyButtonWidth = 10;
} // namespace

const TClassInfo& TTBToolbar::StaticClass()
{
    return MakeClassInfo<TTBToolbar>("TTBToolbar", &TTBCustomDockableWindow::StaticClass(), [](auto&) {});
}

TTBToolbar::TTBToolbar(TComponent* owner) : TTBCustomDockableWindow(owner), FItems(new TTBRootItem(this))
{
    FItems->Subscribe(this);
}

TTBToolbar::~TTBToolbar()
{
    Destroying();
    FItems->Unsubscribe(this);
}

bool TTBToolbar::IsVertical() const
{
    return CurrentDock() && CurrentDock()->Vertical();
}

SIZE TTBToolbar::MeasureItem(HDC dc, const TTBCustomItem* item) const
{
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    int height = tm.tmHeight + 9;
    if (item->IsSeparator())
        return SIZE{kSeparatorSize, height};
    RECT r{0, 0, 0, 0};
    if (!item->Caption().empty())
        DrawTextA(dc, item->Caption().c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
    int width = item->Caption().empty() ? kEmptyButtonWidth : r.right + 2 * kButtonPadding;
    return SIZE{width, height};
}

void TTBToolbar::Relayout(bool vertical)
{
    FLayout.clear();
    WindowDC screen(nullptr);
    SelectScope font(screen.Get(), Font()->Handle());
    int widest = 0;
    std::vector<std::pair<TTBCustomItem*, SIZE>> sizes;
    for (int i = 0; i < FItems->Count(); ++i) {
        TTBCustomItem* item = FItems->Items(i);
        if (!item->Visible())
            continue;
        SIZE s = MeasureItem(screen.Get(), item);
        sizes.push_back({item, s});
        widest = std::max(widest, static_cast<int>(vertical ? s.cx : s.cy));
    }
    int pos = 0;
    for (auto& [item, s] : sizes) {
        RECT r;
        if (vertical) {
            int h = item->IsSeparator() ? kSeparatorSize : s.cy;
            r = RECT{0, pos, widest, pos + h};
            pos += h;
        } else {
            r = RECT{pos, 0, pos + s.cx, widest};
            pos += s.cx;
        }
        FLayout.push_back({item, r});
    }
}

SIZE TTBToolbar::LayoutExtent() const
{
    SIZE size{0, 0};
    for (auto& [item, r] : FLayout) {
        size.cx = std::max(size.cx, r.right);
        size.cy = std::max(size.cy, r.bottom);
    }
    if (size.cx == 0 || size.cy == 0)
        size = SIZE{23, 22};
    return size;
}

SIZE TTBToolbar::ArrangeContents(bool, PlacementKind, bool, TTBDock* newDock)
{
    Relayout(newDock && newDock->Vertical());
    Invalidate();
    return LayoutExtent();
}

void TTBToolbar::GetContentSize(SIZE& size)
{
    Relayout(IsVertical());
    size = LayoutExtent();
}

RECT TTBToolbar::ItemRect(const TTBCustomItem* item) const
{
    for (auto& [i, r] : FLayout)
        if (i == item)
            return r;
    return RECT{0, 0, 0, 0};
}

TTBCustomItem* TTBToolbar::ItemAt(int x, int y) const
{
    POINT pt{x, y};
    for (auto& [item, r] : FLayout)
        if (PtInRect(&r, pt))
            return item;
    return nullptr;
}

void TTBToolbar::Paint(HDC dc)
{
    SelectScope font(dc, Font()->Handle());
    SetBkMode(dc, TRANSPARENT);
    for (auto& [item, rect] : FLayout) {
        RECT r = rect;
        if (item->IsSeparator()) {
            if (IsVertical()) {
                r.top += kSeparatorSize / 2 - 1;
                DrawEdge(dc, &r, EDGE_ETCHED, BF_TOP);
            } else {
                r.left += kSeparatorSize / 2 - 1;
                DrawEdge(dc, &r, EDGE_ETCHED, BF_LEFT);
            }
            continue;
        }
        if (item == FPressed)
            DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
        bool enabled = item->Enabled() && Enabled();
        SetTextColor(dc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        DrawTextA(dc, item->Caption().c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

void TTBToolbar::WndProc(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        TTBCustomItem* item = ItemAt(GET_X_LPARAM(msg.LParam), GET_Y_LPARAM(msg.LParam));
        if (item && !item->IsSeparator() && item->Enabled()) {
            FPressed = item;
            SetCapture(HandleValue());
            Invalidate();
        }
        return;
    }
    case WM_LBUTTONUP: {
        TTBCustomItem* pressed = FPressed;
        FPressed = nullptr;
        if (GetCapture() == HandleValue())
            ReleaseCapture();
        Invalidate();
        if (pressed && ItemAt(GET_X_LPARAM(msg.LParam), GET_Y_LPARAM(msg.LParam)) == pressed)
            pressed->Click();
        return;
    }
    case WM_CAPTURECHANGED:
        if (FPressed) {
            FPressed = nullptr;
            Invalidate();
        }
        break;
    default:
        break;
    }
    TTBCustomDockableWindow::WndProc(msg);
}

void TTBToolbar::ItemChanged(TTBCustomItem*, ItemChange change)
{
    if (IsDestroying())
        return;
    if (change != ItemChange::Enabled)
        ArrangeSelf();
    Relayout(IsVertical());
    Invalidate();
}

void TTBToolbar::FontChanged()
{
    TTBCustomDockableWindow::FontChanged();
    ArrangeSelf();
}
