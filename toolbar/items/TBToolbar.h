#pragma once
// The toolbar control: a dockable bar that shows a tree of items as a row
// of buttons and runs an item's click when the user presses and releases
// the mouse over it.
#include "toolbar/dock/TBDockableWindow.h"
#include "toolbar/items/TBItem.h"

#include <vector>

enum TTBToolbarOption { tboDefault, tboDropdownArrow, tboImageAboveCaption, tboNoRotation, tboSameWidth,
                        tboShowHint, tboNoAutoHint };
using TTBToolbarOptions = uint32_t;

class TTBToolbar : public TTBCustomDockableWindow, private TTBItemObserver {
public:
    QV_CLASS(TTBToolbar, TTBCustomDockableWindow)
    explicit TTBToolbar(TComponent* owner);
    ~TTBToolbar() override;

    TTBRootItem* Items() const { return FItems; }

    // Settings that shape the bar as a menu bar. They are held here so the
    // window's layout can state them.
    bool MenuBar = false;
    TTBToolbarOptions Options = 0;
    bool ProcessShortCuts = false;
    TTBShrinkMode ShrinkMode = tbsmNone;
    bool SystemFont = true;

    SIZE ArrangeContents(bool canMoveControls, PlacementKind previous, bool newFloating, TTBDock* newDock) override;
    void GetContentSize(SIZE& size) override;
    TTBShrinkMode EffectiveShrinkMode() const override { return ShrinkMode; }
    // The rectangle of a visible item within the bar, empty if not shown.
    RECT ItemRect(const TTBCustomItem* item) const;
    TTBCustomItem* ItemAt(int x, int y) const;

protected:
    void Paint(HDC dc) override;
    void WndProc(TMessage& msg) override;
    void FontChanged() override;

private:
    void ItemChanged(TTBCustomItem* item, ItemChange change) override;
    void Relayout(bool vertical);
    SIZE LayoutExtent() const;
    SIZE MeasureItem(HDC dc, const TTBCustomItem* item) const;
    bool IsVertical() const;

    TTBRootItem* FItems;
    std::vector<std::pair<TTBCustomItem*, RECT>> FLayout;
    TTBCustomItem* FPressed = nullptr;
};
