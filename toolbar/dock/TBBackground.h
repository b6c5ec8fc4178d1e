#pragma once
// A pattern painted behind a dock (and, if the dock says so, behind its
// bars). Docks subscribe to its changes and repaint; the pattern's origin
// is always the client origin of the dock's parent, so neighbouring docks
// and bars line up.
#include "toolkit/Component.h"
#include "toolkit/Events.h"

#include <windows.h>
#include <vector>

class TTBBasicBackground : public TComponent {
public:
    QV_CLASS(TTBBasicBackground, TComponent)
    using TComponent::TComponent;

    // Paints the pattern into the rectangle, whose top-left corner is the
    // pattern's origin; the caller clips.
    virtual void Draw(HDC dc, const RECT& drawRect) = 0;
    virtual HPALETTE GetPalette() { return nullptr; }
    virtual void SysColorChanged() {}
    // False while there is nothing to paint: the default erase runs then.
    virtual bool UsingBackground() const = 0;

    void RegisterChanges(TNotifyEvent handler);
    void UnregisterChanges(TNotifyEvent handler);

protected:
    // Tells every subscriber that the pattern has changed.
    void Changed();

private:
    std::vector<TNotifyEvent> FLinks;
};
