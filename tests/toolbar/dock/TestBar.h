#pragma once
// A dockable bar of known contents for the dock tests: a length along the
// dock and a thickness across it, a minimum length and a shrink mode. When
// its dock shrinks it, a wrapping bar reports as many rows as its length
// needs at the shrunk length. It counts how often it is re-arranged.
#include "tests/toolkit/ToolkitTesting.h"
#include "toolbar/dock/TBDockableWindow.h"

#include <string>

class TTestBar : public TTBCustomDockableWindow {
public:
    TTestBar(TComponent* owner, const std::string& name, int length, int thickness)
        : TTBCustomDockableWindow(owner), Length(length), Thickness(thickness)
    {
        SetName(name);
        SetDragHandleStyle(dhNone);
    }

    int Length, Thickness;
    int MinimumLength = 0;
    TTBShrinkMode Mode = tbsmNone;
    int DockAsks = 0;    // re-arrangements asked by the dock (nothing moves)
    int Arrangements = 0; // real re-arrangements
    COLORREF Face = RGB(255, 255, 255);

    SIZE ArrangeContents(bool canMoveControls, PlacementKind, bool, TTBDock* dock) override
    {
        ++(canMoveControls ? Arrangements : DockAsks);
        SIZE frame = GetDockedFrameSize();
        bool vertical = dock && dock->Vertical();
        int along = Length, across = Thickness;
        int room = ShrunkLength - (vertical ? frame.cy : frame.cx);
        if (Mode == tbsmWrap && ShrunkLength > 0 && room > 0) {
            across = Thickness * ((Length + room - 1) / room);
            along = room;
        }
        return vertical ? SIZE{across, along} : SIZE{along, across};
    }
    void GetContentSize(SIZE& size) override
    {
        bool vertical = CurrentDock() && CurrentDock()->Vertical();
        size = vertical ? SIZE{Thickness, Length} : SIZE{Length, Thickness};
    }
    void GetMinimumLength(int& length) override { length = MinimumLength; }
    TTBShrinkMode EffectiveShrinkMode() const override { return Mode; }

    // "row@pos+length" as the dock placed it.
    std::string Placed() const
    {
        bool vertical = CurrentDock() && CurrentDock()->Vertical();
        return std::to_string(PlacedRow) + "@" + std::to_string(PlacedPos) + "+" +
               std::to_string(vertical ? Height() : Width());
    }

protected:
    void EraseBackground(HDC dc) override
    {
        RECT r = ClientRect();
        BrushHandle brush = MakeSolidBrush(static_cast<TColor>(Face));
        FillRect(dc, &r, brush.Get());
    }
};
