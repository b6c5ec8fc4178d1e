#pragma once
// A dock site glued to one edge of its parent window. It holds dockable
// bars and takes the thickness of the bar it shows (0 when empty).
#include "toolkit/Controls.h"

enum TTBDockPosition { dpTop, dpBottom, dpLeft, dpRight };
const TTypeInfo& TypeDockPosition();

class TTBCustomDockableWindow;

class TTBDock : public TCustomControl {
public:
    QV_CLASS(TTBDock, TCustomControl)
    explicit TTBDock(TComponent* owner);

    TTBDockPosition Position() const { return FPosition; }
    // Raises when the dock already holds controls.
    void SetPosition(TTBDockPosition value);
    bool Vertical() const { return FPosition == dpLeft || FPosition == dpRight; }

    // Sizes the dock across its edge to the bars it shows and places them.
    void ArrangeBars();

protected:
    void Loaded() override;
    void BoundsChanged() override;

private:
    TTBDockPosition FPosition = dpTop;
};
