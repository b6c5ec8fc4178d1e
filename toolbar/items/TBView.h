#pragma once
// A view shows the children of one item inside one window: one viewer per
// child, measured with the window's font and placed in rows (or columns)
// that wrap at a given length. It repaints or lays out again on every
// change the items tell it of, and paints one viewer at a time without
// flicker.
#include "toolbar/items/TBCustomItem.h"
#include "toolbar/items/TBViewTracker.h"
#include "toolkit/Component.h"
#include "toolkit/Graphics.h"

#include <windows.h>
#include <memory>
#include <vector>

class TTBItemViewer;
class TWinControl;

enum TTBViewOrientation { tbvoHorizontal, tbvoVertical, tbvoFloating };

// What one pass of the layout found.
struct TTBLayoutResult {
    SIZE TotalSize{0, 0};
    SIZE BaseSize{0, 0};
    int RowCount = 0;
    bool Moved = false;
};

class TTBView : public TComponent {
public:
    QV_CLASS(TTBView, TComponent)
    TTBView(TComponent* owner, TTBView* parentView, TTBCustomItem* parentItem, TWinControl* window, bool isToolbar,
            bool customizing, bool usePriorityList);
    ~TTBView() override;

    TTBCustomItem* ParentItem() const { return FParentItem; }
    TTBView* ParentView() const { return FParentView; }
    TWinControl* Window() const { return FWindow; }
    bool IsToolbar() const { return FIsToolbar; }
    bool Customizing() const { return FCustomizing; }

    int ViewerCount() const { return static_cast<int>(FViewers.size()); }
    TTBItemViewer* Viewers(int index) const { return FViewers.at(static_cast<size_t>(index)).get(); }
    // The (first) viewer of an item, or nullptr.
    TTBItemViewer* Find(const TTBCustomItem* item) const;
    // The shown viewer whose rectangle holds the client point, or nullptr.
    TTBItemViewer* ViewerFromPoint(POINT clientPoint) const;
    // Starts in item order; a clicked viewer moves to the front.
    const std::vector<TTBItemViewer*>& PriorityList() const { return FPriorityList; }

    TTBViewOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TTBViewOrientation value);
    int WrapOffset() const { return FWrapOffset; }
    void SetWrapOffset(int value);
    int ChevronOffset() const { return FChevronOffset; }
    void SetChevronOffset(int value);
    int ChevronSize() const { return FChevronSize; }
    SIZE BaseSize() const { return FBaseSize; }
    int RowCount() const { return FRowCount; }
    TColor BackgroundColor() const { return FBackgroundColor; }
    void SetBackgroundColor(TColor value) { FBackgroundColor = value; }
    // Set by a menu bar: accelerators stay hidden until the keyboard is used.
    bool HidesAccelerators() const { return FHideAccelerators; }
    void SetMenuBarOptions(bool menuBar);
    bool KeyboardMode() const { return FKeyboardMode; }
    // Hints show over every item (the toolbar's ShowHint); otherwise only
    // over items with tboShowHint.
    bool ShowHints() const { return FShowHints; }
    void SetShowHints(bool value) { FShowHints = value; }

    // The font items are measured and drawn with.
    virtual HFONT GetFont() const;

    // Layout. A batch (update count above 0) postpones it to its end.
    bool ValidPositions() const { return FValidPositions; }
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    void InvalidatePositions();
    void ValidatePositions();
    virtual SIZE UpdatePositions();
    // CanMove false only measures: the viewers keep their places.
    TTBLayoutResult ComputePositions(bool canMove, TTBViewOrientation orientation, int wrapOffset,
                                     int chevronOffset, int chevronSize, SIZE startTotal = SIZE{0, 0});

    // Painting.
    void DrawViewer(TTBItemViewer* viewer, HDC canvas, bool forceBackground);
    void DrawAll(HDC canvas);
    void InvalidateViewer(TTBItemViewer* viewer);

    // Selection and the press on a button (hot tracking; the button is
    // drawn pushed while the mouse is held on it).
    TTBItemViewer* Selected() const { return FTracker->Selected(); }
    bool HoverOnSelected() const { return FTracker->HoverOnSelected(); }
    bool PressCaptured() const { return FTracker->PressCaptured(); }
    bool IsPushed(const TTBItemViewer* viewer) const { return FTracker->IsPushed(viewer); }
    void SelectViewer(TTBItemViewer* viewer, bool viaMouse) { FTracker->SelectViewer(viewer, viaMouse); }
    // screenPoint nullptr: the mouse is not over the window.
    void TrackHover(const POINT* screenPoint, bool allowNew) { FTracker->TrackHover(screenPoint, allowNew); }
    void MouseDownAt(POINT screenPoint) { FTracker->MouseDownAt(screenPoint); }
    void MouseUpAt(POINT screenPoint) { FTracker->MouseUpAt(screenPoint); }
    void CaptureLost() { FTracker->CaptureLost(); }
    // A viewer's press is held (drawn pushed while the mouse is on it) or let go.
    void CapturePress(TTBItemViewer* viewer) { FTracker->CapturePress(viewer); }
    void ReleasePress() { FTracker->ReleasePress(); }
    void EndTracking() { FTracker->EndTracking(); }
    // Taken by the viewer released over: clicked once the press has ended.
    void SetPendingClick(TTBItemViewer* viewer);

protected:
    void Notification(TComponent* component, TOperation operation) override;
    // The total size a relayout starts from (a docked toolbar: its dock row).
    virtual SIZE StartingTotalSize() { return SIZE{0, 0}; }
    // Told the total size after each relayout that moved something.
    virtual void AutoSize(SIZE totalSize) { (void)totalSize; }
    // The item whose viewer ends a toolbar view's list.
    void SetChevronItem(TTBCustomItem* item);
    void RecreateAllViewers();

private:
    friend class TTBViewPositions;
    void ItemNotification(TTBCustomItem* ancestor, bool relayed, ItemChange kind, int index, TTBCustomItem* item);
    void TryValidatePositions();
    bool OwnerLoading() const;
    void AddViewers(TTBCustomItem* parent, int depth, std::vector<std::unique_ptr<TTBItemViewer>>& into);
    void InsertViewersFor(TTBCustomItem* ancestor, int index, TTBCustomItem* item);
    void FreeViewersOf(TTBCustomItem* item);
    void FreeViewer(size_t index);
    void RecreateViewer(size_t index);
    int GroupLevelOf(TTBCustomItem* ancestor) const;

    TTBView* FParentView;
    TTBCustomItem* FParentItem;
    TWinControl* FWindow;
    bool FIsToolbar;
    bool FCustomizing;
    bool FUsePriorityList;
    TTBCustomItem* FChevronItem = nullptr;
    std::vector<std::unique_ptr<TTBItemViewer>> FViewers;
    std::vector<TTBItemViewer*> FPriorityList;
    TTBViewOrientation FOrientation = tbvoHorizontal;
    int FWrapOffset = 0;
    int FChevronOffset = 0;
    int FChevronSize = 12;
    SIZE FBaseSize{0, 0};
    int FRowCount = 0;
    bool FValidPositions = false;
    int FUpdateCount = 0;
    TColor FBackgroundColor = clBtnFace;
    bool FHideAccelerators = false;
    bool FKeyboardMode = false;
    bool FShowHints = false;
    std::unique_ptr<TTBViewTracker> FTracker;
};
