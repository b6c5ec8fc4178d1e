#pragma once
// The toolbar control: a dockable bar that owns a tree of items under its
// root item and one toolbar view that lays them out, paints them and turns
// the mouse into hot tracking and clicks. The bar itself stays thin: it
// tells the view where it sits and hands it the window's messages.
#include "toolbar/dock/TBDockableWindow.h"
#include "toolbar/items/TBChevronItem.h"
#include "toolbar/items/TBItem.h"
#include "toolbar/items/TBItemViewer.h"
#include "toolbar/items/TBRootItem.h"
#include "toolbar/items/TBSeparatorItem.h"
#include "toolbar/items/TBToolbarView.h"

enum TTBShrinkMode { tbsmNone, tbsmWrap, tbsmChevron };
enum TTBDockMode { dmCanFloat, dmCannotFloat, dmCannotFloatOrChangeDocks };
enum TTBDragHandleStyle { dhDouble, dhNone, dhSingle };
enum class TTBBorderStyle { bsNone, bsSingle };

class TTBToolbar : public TTBCustomDockableWindow {
public:
    QV_CLASS(TTBToolbar, TTBCustomDockableWindow)
    explicit TTBToolbar(TComponent* owner);
    ~TTBToolbar() override;

    TTBRootItem* Items() const { return FItems; }
    TTBChevronItem* ChevronItem() const { return FChevronItem; }
    TTBToolbarView* View() const { return FView; }

    TTBBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TTBBorderStyle value);
    bool CloseButton() const { return FCloseButton; }
    void SetCloseButton(bool value) { FCloseButton = value; }
    TTBDockMode DockMode() const { return FDockMode; }
    void SetDockMode(TTBDockMode value) { FDockMode = value; }
    TTBDragHandleStyle DragHandleStyle() const { return FDragHandleStyle; }
    void SetDragHandleStyle(TTBDragHandleStyle value);
    int FloatingWidth() const { return FFloatingWidth; }
    void SetFloatingWidth(int value) { FFloatingWidth = value; }
    bool FullSize() const { return FFullSize; }
    void SetFullSize(bool value);
    // Outside loading it also sets FullSize, ShrinkMode, CloseButton and
    // ProcessShortCuts to what a menu bar needs.
    bool MenuBar() const { return FMenuBar; }
    void SetMenuBar(bool value);
    // The root item's options, inherited by every item.
    TTBItemOptions Options() const { return FItems->Options(); }
    void SetOptions(TTBItemOptions value) { FItems->SetOptions(value); }
    bool ProcessShortCuts() const { return FProcessShortCuts; }
    void SetProcessShortCuts(bool value) { FProcessShortCuts = value; }
    TTBShrinkMode ShrinkMode() const { return FShrinkMode; }
    void SetShrinkMode(TTBShrinkMode value);
    bool SystemFont() const { return FSystemFont; }
    void SetSystemFont(bool value);

    // The size of all shown items in one row, from the last relayout.
    SIZE BaseSize() const { return FView->BaseSize(); }
    int ThicknessFor(bool vertical, int length) override;
    // True where a press goes to an item rather than to the bar itself.
    bool ItemAtPoint(POINT clientPoint) const;

    // Tells the view where the bar sits and lets it lay out again.
    void Arrange();
    // Told by the view after a relayout: the dock may have to follow.
    void ViewResized(SIZE totalSize);

protected:
    void Paint(HDC dc) override;
    void WndProc(TMessage& msg) override;
    void FontChanged() override;
    void ColorChanged() override;
    void DockChanged() override;
    void BoundsChanged() override;
    void Loaded() override;

private:
    void WMMouseMove(TMessage& msg);
    void WMLButtonDown(TMessage& msg);
    void WMLButtonUp(TMessage& msg);
    void WMMouseLeave();
    void WMPaintInto(HDC dc);
    void SystemMetricsChanged();
    void RearrangeInDock();
    TTBViewOrientation OrientationInDock() const;
    int WrapLength() const;

    TTBRootItem* FItems;
    TTBChevronItem* FChevronItem;
    TTBToolbarView* FView;
    TTBBorderStyle FBorderStyle = TTBBorderStyle::bsSingle;
    bool FCloseButton = true;
    TTBDockMode FDockMode = dmCanFloat;
    TTBDragHandleStyle FDragHandleStyle = dhSingle;
    int FFloatingWidth = 0;
    bool FFullSize = false;
    bool FMenuBar = false;
    bool FProcessShortCuts = false;
    TTBShrinkMode FShrinkMode = tbsmChevron;
    bool FSystemFont = true;
    int FArrangeLock = 0;
    bool FArrangePending = false;
    bool FInDockArrange = false;
    bool FTrackingLeave = false;
};
