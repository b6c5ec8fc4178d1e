#include "toolbar/items/TBItemViewer.h"
#include "toolbar/items/TBClickQueue.h"
#include "toolbar/items/TBDrawing.h"
#include "toolbar/items/TBView.h"

#include <oleacc.h>
#include <algorithm>
#include <utility>

namespace {
// The arrow part of a split button.
const int kSplitArrowWidth = 11;
const int kDropdownArrowWidth = 8;

// Accelerator underlines are hidden in a menu bar until the keyboard is
// used, unless the user asked the system to show them always.
bool HidePrefix(const TTBView* view)
{
    BOOL cues = TRUE;
    SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &cues, 0);
    return !cues && view->HidesAccelerators() && !view->KeyboardMode();
}

// A list that is being freed is no longer drawn from, though the items that
// refer to it hear of it one after the other.
TCustomImageList* Usable(TCustomImageList* list)
{
    return list && !list->IsDestroying() ? list : nullptr;
}
} // namespace

TTBItemViewer::TTBItemViewer(TTBView* view, TTBCustomItem* item, int groupLevel)
    : FView(view), FItem(item), FGroupLevel(groupLevel)
{
    TTBClickQueue::ObjectCreated();
}

TTBItemViewer::~TTBItemViewer()
{
    TTBClickQueue::Forget(this);
    TTBClickQueue::ObjectFreed();
}

TTBItemViewer* TTBItemViewer::Create(TTBView* view, TTBCustomItem* item, int groupLevel)
{
    return new TTBItemViewer(view, item, groupLevel);
}

bool TTBItemViewer::IsToolbarStyle() const
{
    return FView->IsToolbar() || FItem->HasEffectiveOption(tboToolbarStyle);
}

bool TTBItemViewer::IsEnabledForPaint() const
{
    return FItem->Enabled() || FView->Customizing();
}

bool TTBItemViewer::IsRotated() const
{
    return IsToolbarStyle() && FView->Orientation() == tbvoVertical && !FItem->HasEffectiveOption(tboNoRotation) &&
           !FItem->HasEffectiveOption(tboImageAboveCaption);
}

bool TTBItemViewer::CaptionShown() const
{
    if (FItem->CaptionText().empty())
        return false;
    const TTBItemDisplayMode mode = FItem->DisplayMode();
    if (!FView->IsToolbar() || mode == nbdmTextOnly || mode == nbdmImageAndText ||
        FItem->HasEffectiveOption(tboImageAboveCaption))
        return true;
    // An image button whose image can't be found (no list reaches it) shows
    // its caption rather than nothing at all.
    return FItem->ImageIndex() < 0 || !ImageList();
}

TCustomImageList* TTBItemViewer::ImageList() const
{
    if (TCustomImageList* own = Usable(FItem->Images()))
        return own;
    if (TTBCustomItem* parent = FItem->Parent())
        if (TCustomImageList* list = Usable(parent->SubmenuImages()))
            return list;
    for (const TTBView* v = FView; v; v = v->ParentView())
        if (TTBCustomItem* p = v->ParentItem()) {
            if (TCustomImageList* list = Usable(p->SubmenuImages()))
                return list;
            if (p->LinkSubitems())
                if (TCustomImageList* list = Usable(p->LinkSubitems()->SubmenuImages()))
                    return list;
        }
    return nullptr;
}

bool TTBItemViewer::ImageShown() const
{
    if (FItem->ImageIndex() < 0 || !ImageList())
        return false;
    const TTBItemDisplayMode mode = FItem->DisplayMode();
    return mode == nbdmDefault || mode == nbdmImageAndText || (mode == nbdmTextOnlyInMenus && IsToolbarStyle());
}

bool TTBItemViewer::ImageAbove() const
{
    return FItem->HasEffectiveOption(tboImageAboveCaption) || IsRotated();
}

void TTBItemViewer::DrawImage(HDC canvas, const RECT& rect)
{
    TCustomImageList* images = ImageList();
    const int x = rect.left + (rect.right - rect.left - images->Width()) / 2;
    const int y = rect.top + (rect.bottom - rect.top - images->Height()) / 2;
    images->Draw(canvas, x, y, FItem->ImageIndex(), IsEnabledForPaint());
}

SIZE TTBItemViewer::Measure(HDC canvas)
{
    TEXTMETRICA tm{};
    GetTextMetricsA(canvas, &tm);
    const std::string text = CaptionText();
    if (!IsToolbarStyle()) {
        SIZE s{CaptionTextWidth(canvas, text) + 40, tm.tmHeight + 6};
        if (std::string shortcut = FItem->ShortCutText(); !shortcut.empty())
            s.cx += CaptionTextWidth(canvas, shortcut) + 16;
        return s;
    }
    SIZE s{6, 6};
    if (CaptionShown()) {
        s.cy += tm.tmHeight;
        s.cx += CaptionTextWidth(canvas, text) + 6;
    }
    if (IsRotated())
        std::swap(s.cx, s.cy);
    // The image takes its place beside the caption as it stands on screen,
    // so a turned caption gets the image above it.
    if (ImageShown()) {
        const TCustomImageList* images = ImageList();
        if (ImageAbove()) {
            s.cy += images->Height();
            s.cx = std::max(s.cx, static_cast<LONG>(images->Width() + 7));
        } else {
            s.cx += images->Width() + 1;
            s.cy = std::max(s.cy, static_cast<LONG>(images->Height() + 6));
        }
    }
    if (FItem->HasStyle(TTBItemStyleFlag::HasSubmenu)) {
        if (FItem->HasStyle(TTBItemStyleFlag::SplitDropdown))
            s.cx += kSplitArrowWidth;
        else if (FItem->HasEffectiveOption(tboDropdownArrow))
            (FView->Orientation() == tbvoVertical ? s.cy : s.cx) += kDropdownArrowWidth;
    }
    return s;
}

void TTBItemViewer::Paint(HDC canvas, const RECT& clientRect, bool isSelected, bool isPushed,
                          bool useDisabledShadow)
{
    if (!IsToolbarStyle()) {
        PaintMenuStyle(canvas, clientRect, isSelected);
        return;
    }
    RECT r = clientRect;
    const bool enabled = IsEnabledForPaint();
    const bool checked = FItem->Checked();
    const bool hot = isSelected && enabled;
    if (hot || checked)
        DrawEdge(canvas, &r, (isPushed || checked) ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    InflateRect(&r, -1, -1);
    if (checked && !hot) {
        BrushHandle checker = MakeCheckerboardBrush();
        FillRect(canvas, &r, checker.Get());
    }
    InflateRect(&r, -1, -1);
    if (checked || (isSelected && isPushed))
        OffsetRect(&r, 1, 1);
    SetBkMode(canvas, TRANSPARENT);
    FontHandle bold;
    if (FItem->HasEffectiveOption(tboDefault))
        bold = MakeBoldFont(static_cast<HFONT>(GetCurrentObject(canvas, OBJ_FONT)));
    SelectScope boldScope(canvas, bold ? static_cast<HGDIOBJ>(bold.Get()) : GetCurrentObject(canvas, OBJ_FONT));
    const bool image = ImageShown();
    const bool caption = CaptionShown();
    // The caption and the image share R: the image's part is at the left
    // (or the top), as wide (high) as the image and one pixel more.
    RECT textRect = r, imageRect = r;
    if (image && caption) {
        const TCustomImageList* images = ImageList();
        if (ImageAbove()) {
            textRect.top += images->Height() + 1;
            imageRect.bottom = textRect.top;
        } else {
            textRect.left += images->Width() + 1;
            imageRect.right = textRect.left;
        }
    }
    if (caption) {
        UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
        if (HidePrefix(FView))
            format |= DT_HIDEPREFIX;
        DrawCaption(canvas, textRect, format, useDisabledShadow, CaptionText());
    }
    if (image)
        DrawImage(canvas, imageRect);
}

void TTBItemViewer::PaintMenuStyle(HDC canvas, const RECT& clientRect, bool isSelected)
{
    if (isSelected) {
        BrushHandle highlight = MakeSolidBrush(SystemColor(COLOR_HIGHLIGHT));
        FillRect(canvas, &clientRect, highlight.Get());
    }
    if (ImageShown()) {
        RECT column = clientRect;
        column.right = column.left + 20;
        DrawImage(canvas, column);
    }
    RECT r = clientRect;
    r.left += 20;
    r.right -= 8;
    UINT format = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
    if (HidePrefix(FView))
        format |= DT_HIDEPREFIX;
    DrawCaption(canvas, r, format, false, CaptionText());
    if (std::string shortcut = FItem->ShortCutText(); !shortcut.empty())
        DrawTextA(canvas, shortcut.c_str(), -1, &r, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void TTBItemViewer::DrawCaption(HDC canvas, RECT rect, UINT format, bool useDisabledShadow, const std::string& text)
{
    auto draw = [&](RECT r) {
        if (!IsRotated()) {
            DrawTextA(canvas, text.c_str(), -1, &r, format);
            return;
        }
        // Turned text runs downward with its top to the right; the
        // accelerator's underline is drawn by hand.
        FontHandle rotated = MakeRotatedFont(static_cast<HFONT>(GetCurrentObject(canvas, OBJ_FONT)));
        SelectScope select(canvas, rotated.Get());
        TEXTMETRICA tm{};
        GetTextMetricsA(canvas, &tm);
        const std::string shown = StripAccelChars(text);
        SIZE extent{0, 0};
        GetTextExtentPoint32A(canvas, shown.c_str(), static_cast<int>(shown.size()), &extent);
        const int x = r.left + (r.right - r.left + tm.tmHeight) / 2;
        const int y = r.top + (r.bottom - r.top - extent.cx) / 2;
        TextOutA(canvas, x, y, shown.c_str(), static_cast<int>(shown.size()));
        const int accel = AccelIndexInStripped(text);
        if (accel >= 0 && !(format & DT_HIDEPREFIX)) {
            SIZE before{0, 0}, upTo{0, 0};
            GetTextExtentPoint32A(canvas, shown.c_str(), accel, &before);
            GetTextExtentPoint32A(canvas, shown.c_str(), accel + 1, &upTo);
            PenHandle pen(CreatePen(PS_SOLID, 1, GetTextColor(canvas)));
            SelectScope selectPen(canvas, pen.Get());
            const int lineX = x - tm.tmAscent - 1;
            MoveToEx(canvas, lineX, y + before.cx, nullptr);
            LineTo(canvas, lineX, y + upTo.cx);
        }
    };
    if (useDisabledShadow) {
        const COLORREF old = SetTextColor(canvas, ColorToRGB(clBtnHighlight));
        RECT raised = rect;
        OffsetRect(&raised, 1, 1);
        draw(raised);
        SetTextColor(canvas, ColorToRGB(clBtnShadow));
        draw(rect);
        SetTextColor(canvas, old);
    } else {
        draw(rect);
    }
}

bool TTBItemViewer::AboutToClick()
{
    FView->SetPendingClick(this);
    return true;
}

void TTBItemViewer::Selected()
{
    FItem->OnSelect(FItem, this, true);
}

void TTBItemViewer::Deselected()
{
    FItem->OnSelect(FItem, this, false);
}

int TTBItemViewer::AccessibleRole() const
{
    return ROLE_SYSTEM_MENUITEM;
}

bool TTBItemViewer::IsPointInButtonPart(int x, int) const
{
    if (!FItem->HasStyle(TTBItemStyleFlag::HasSubmenu))
        return true;
    if (!FItem->HasStyle(TTBItemStyleFlag::SplitDropdown))
        return false;
    return x < (FBoundsRect.right - FBoundsRect.left) - kSplitArrowWidth;
}

void TTBItemViewer::Invalidate()
{
    FView->InvalidateViewer(this);
}

void TTBItemViewer::MouseDown(int x, int y, bool)
{
    const bool topLevelToolbar = FView->IsToolbar() && !FView->ParentView();
    if (!FItem->Enabled()) {
        if (topLevelToolbar)
            FView->EndTracking();
        return;
    }
    // A submenu would open here; no item of this program has one.
    if (!IsPointInButtonPart(x, y))
        return;
    if (IsToolbarStyle())
        FView->CapturePress(this);
}

void TTBItemViewer::MouseUp(int x, int y)
{
    const bool wasPressed = FView->PressCaptured();
    FView->ReleasePress();
    const bool topLevelToolbar = FView->IsToolbar() && !FView->ParentView();
    if (FView->HoverOnSelected() && FItem->Enabled() && !FItem->HasStyle(TTBItemStyleFlag::ClickThrough)) {
        if (!IsPointInButtonPart(x, y)) {
            if (wasPressed && topLevelToolbar)
                FView->EndTracking();
        } else if (wasPressed || !IsToolbarStyle()) {
            AboutToClick();
        }
        return;
    }
    if (topLevelToolbar)
        FView->EndTracking();
}

bool TTBItemViewer::UsesSameWidth() const
{
    return FView->IsToolbar() && FItem->HasEffectiveOption(tboImageAboveCaption) &&
           FItem->HasEffectiveOption(tboSameWidth);
}

void TTBItemViewer::AccessibleDefaultAction(bool)
{
    if (FItem->Enabled())
        FItem->Click();
}
