#pragma once
// An item viewer: the per-item object of a view that holds the item's
// rectangle in the view's window and its on-screen state, and measures and
// paints the item. Views own their viewers; items know nothing of them.
#include "toolbar/items/TBCustomItem.h"

#include <windows.h>
#include <string>

class TTBView;

class TTBItemViewer {
public:
    TTBItemViewer(TTBView* view, TTBCustomItem* item, int groupLevel);
    TTBItemViewer(const TTBItemViewer&) = delete;
    TTBItemViewer& operator=(const TTBItemViewer&) = delete;
    virtual ~TTBItemViewer();

    // The viewer class of an ordinary item.
    static TTBItemViewer* Create(TTBView* view, TTBCustomItem* item, int groupLevel);

    TTBCustomItem* Item() const { return FItem; }
    TTBView* View() const { return FView; }
    int GroupLevel() const { return FGroupLevel; }
    // In the window's client coordinates; empty while not shown.
    const RECT& BoundsRect() const { return FBoundsRect; }
    bool Show() const { return FShow; }
    bool OffEdge() const { return FOffEdge; }
    bool Clipped() const { return FClipped; }
    // A separator that became a row break.
    bool IsLineSeparator() const { return FLineSeparator; }
    bool NeedsBackground() const { return FNeedsBackground; }

    // The virtual operations, in slot order.
    virtual SIZE Measure(HDC canvas);
    // The item is about to be clicked when tracking ends; true when taken.
    virtual bool AboutToClick();
    virtual void DrawCaption(HDC canvas, RECT rect, UINT format, bool useDisabledShadow, const std::string& text);
    virtual void Selected();
    virtual int AccessibleRole() const;
    virtual std::string AccessibleHelp() const { return ""; }
    virtual std::string CaptionText() const { return FItem->CaptionText(); }
    virtual HCURSOR Cursor(POINT) const { return nullptr; }
    virtual bool IsPointInButtonPart(int x, int y) const;
    virtual void KeyDown(WORD& key) { (void)key; }
    virtual void Deselected();
    virtual void Invalidate();
    virtual void MouseDown(int x, int y, bool doubleClick);
    virtual void MouseMove(int x, int y) { (void)x, (void)y; }
    virtual void MouseUp(int x, int y);
    virtual void MouseWheel(int delta) { (void)delta; }
    virtual void Paint(HDC canvas, const RECT& clientRect, bool isSelected, bool isPushed, bool useDisabledShadow);
    virtual bool UsesSameWidth() const;
    // What a queued click of the viewer (not of its item) runs.
    virtual void AccessibleDefaultAction(bool flag);

    bool CaptionShown() const;
    bool ImageShown() const;
    // Where the item's image comes from: its Images, else the submenu
    // images of its parent or of the nearest view's parent item.
    TCustomImageList* ImageList() const;
    // Drawn with a font turned by 270 degrees (a side dock without tboNoRotation).
    bool IsRotated() const;
    // Drawn as a toolbar button rather than a menu entry.
    bool IsToolbarStyle() const;
    bool IsEnabledForPaint() const;

protected:
    void PaintMenuStyle(HDC canvas, const RECT& clientRect, bool isSelected);
    // The image, when shown, centred in `rect`.
    void DrawImage(HDC canvas, const RECT& rect);
    // The image goes above the caption (or, with rotated text, above the
    // turned caption) rather than left of it.
    bool ImageAbove() const;

private:
    friend class TTBView;
    friend class TTBViewPositions;
    TTBView* FView;
    TTBCustomItem* FItem;
    int FGroupLevel;
    RECT FBoundsRect{0, 0, 0, 0};
    bool FShow = false;
    bool FOffEdge = false;
    bool FClipped = false;
    bool FLineSeparator = false;
    bool FNeedsBackground = false;
};
