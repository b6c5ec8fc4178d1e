#pragma once
// A dock site glued to one edge of its parent window. It holds dockable
// bars in rows: it decides which row each bar sits in, where along the row
// and how long it is, sizes itself across its edge to the rows, paints
// optional etched bound lines around itself and tells the application when
// a bar becomes visible in it or leaves it.
#include "toolbar/dock/TBDockTypes.h"
#include "toolkit/Controls.h"

#include <vector>

class TTBBasicBackground;

class TTBDock : public TCustomControl {
public:
    QV_CLASS(TTBDock, TCustomControl)
    explicit TTBDock(TComponent* owner);
    ~TTBDock() override;

    bool AllowDrag() const { return FAllowDrag; }
    // Every bar docked here recomputes its frame (the grip comes or goes).
    void SetAllowDrag(bool value);
    TTBBasicBackground* Background() const { return FBackground; }
    void SetBackground(TTBBasicBackground* value);
    bool BackgroundOnToolbars() const { return FBackgroundOnToolbars; }
    void SetBackgroundOnToolbars(bool value);
    TTBDockBoundLines BoundLines() const { return FBoundLines; }
    void SetBoundLines(TTBDockBoundLines value);
    bool FixAlign() const { return FFixAlign; }
    void SetFixAlign(bool value);
    bool LimitToOneRow() const { return FLimitToOneRow; }
    void SetLimitToOneRow(bool value) { FLimitToOneRow = value; }
    TTBDockPosition Position() const { return FPosition; }
    // Raises EInvalidOperation while the dock holds any control.
    void SetPosition(TTBDockPosition value);
    bool Vertical() const { return FPosition == dpLeft || FPosition == dpRight; }

    // A bar became visible in the dock (Inserting true) or left it.
    TTBInsertRemoveEvent OnInsertRemoveBar;
    // Asked during a drag before the dock becomes the drop target.
    TTBRequestDockEvent OnRequestDock;
    // The standard mouse events, in the dock's client coordinates.
    using TCustomControl::OnMouseDown;
    using TCustomControl::OnMouseMove;
    using TCustomControl::OnMouseUp;

    // The bars that belong to the dock (docked here, or floating with this
    // as their last dock), in layout order once places have been adopted.
    const std::vector<TTBCustomDockableWindow*>& BarList() const { return FBarList; }
    // The bars docked here and visible.
    const std::vector<TTBCustomDockableWindow*>& ShownBars() const { return FShownBars; }

    // While locked, a layout request is only remembered; the last unlock
    // runs it once.
    void LockLayout() { ++FLayoutLock; }
    void UnlockLayout();
    // Places every shown bar in its row and sizes the dock across its edge.
    void LayoutRows();

    // A bar joins (belongs) or leaves the list of bars of the dock.
    void BarsChanged(TTBCustomDockableWindow* bar, bool belongs);
    // Brings ShownBars in line with the bar's state; forceRemove takes it out.
    void ShownChanged(TTBCustomDockableWindow* bar, bool forceRemove);

    // The highest placed (or requested) row over all bars; -1 when none.
    int LastRow(bool placed) const;
    // The thickest shown bar placed in the row (0 when none); fullSize gets
    // the FullSize of the last such bar.
    int RowThickness(int row, bool* fullSize = nullptr) const;
    // The largest cross size of the bars shown in the row, but `except`.
    int MaxCrossInRow(int row, const TTBCustomDockableWindow* except) const;
    static PlacementKind PlacementOf(const TTBDock* dock, bool floating);

    // The client extent along the dock, without the bound lines.
    int AvailableLength() const;
    // A background is assigned and has something to paint.
    bool UsingBackground() const;
    // The background's palette while the background is in use.
    HPALETTE GetPalette() const override;
    HPALETTE Palette() const { return GetPalette(); }
    // Paints the background over `area` of dc, whose origin lies at
    // `origin` in the client coordinates of the dock's parent (where the
    // pattern starts), clipped to `area`.
    void DrawBackground(HDC dc, const RECT& area, POINT origin);

    // Drag state shared with the drag loop: the bar being dragged, whether
    // it slides along its row keeping its order, whether its row overflows,
    // and whether the next layout writes the computed places back.
    TTBCustomDockableWindow* DragBar = nullptr;
    bool SlideInRow = false;
    bool DragRowCrowded = false;
    bool AdoptPlaces = false;

    void SetParent(TWinControl* parent) override;

protected:
    void Loaded() override;
    void BoundsChanged() override;
    void Notification(TComponent* component, TOperation operation) override;
    void WndProc(TMessage& msg) override;
    void EraseBackground(HDC dc) override;

private:
    friend class TTBDockLayout;
    bool IsShownHere(const TTBCustomDockableWindow* bar) const;
    void ResizeKeepingEdge(int width, int height);
    void ResizeAcross(int across);
    void RecomputeFrame();
    void RepaintWithBars();
    void BackgroundChanged(TObject* sender);

    void HandleNcCalcSize(TMessage& msg);
    void PaintBoundLines(HDC dc);
    void HandleNcPaint(TMessage& msg);
    void HandlePrint(TMessage& msg);
    void HandleMoved();
    bool ForwardToBars(TMessage& msg);

    bool FAllowDrag = true;
    TTBBasicBackground* FBackground = nullptr; // not owned
    bool FBackgroundOnToolbars = true;
    TTBDockBoundLines FBoundLines = 0;
    int FHorzLines = 0; // blTop + blBottom
    int FVertLines = 0; // blLeft + blRight
    bool FFixAlign = false;
    bool FLimitToOneRow = false;
    TTBDockPosition FPosition = dpTop;

    std::vector<TTBCustomDockableWindow*> FBarList;  // not owned
    std::vector<TTBCustomDockableWindow*> FShownBars; // not owned
    int FLayoutLock = 0;
    bool FLayoutPending = false;
};
