#include "toolbar/dock/TBDock.h"
#include "toolbar/dock/TBDockableWindow.h"

#include <algorithm>

const TTypeInfo& TypeDockPosition()
{
    static const TTypeInfo t = MakeEnumType("TTBDockPosition", {"dpTop", "dpBottom", "dpLeft", "dpRight"});
    return t;
}

const TClassInfo& TTBDock::StaticClass()
{
    return MakeClassInfo<TTBDock>("TTBDock", &TCustomControl::StaticClass(), [](TClassBuilder<TTBDock>& b) {
        b.Ordinal("Position", TypeDockPosition(), &TTBDock::Position, &TTBDock::SetPosition);
    });
}

TTBDock::TTBDock(TComponent* owner) : TCustomControl(owner)
{
    SetAlign(alTop);
}

void TTBDock::SetPosition(TTBDockPosition value)
{
    if (value == FPosition)
        return;
    if (ControlCount() > 0)
        throw EInvalidOperation("Cannot change Position of a TTBDock if it already contains controls");
    FPosition = value;
    static const TAlign aligns[] = {alTop, alBottom, alLeft, alRight};
    SetAlign(aligns[value]);
}

void TTBDock::Loaded()
{
    TCustomControl::Loaded();
    ArrangeBars();
}

void TTBDock::BoundsChanged()
{
    TCustomControl::BoundsChanged();
    // A longer or shorter edge may change how the bars lie along it.
    ArrangeBars();
}

void TTBDock::ArrangeBars()
{
    if (IsLoading() || IsDestroying())
        return;
    int thickness = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        auto* bar = dynamic_cast<TTBCustomDockableWindow*>(Controls(i));
        if (!bar || !bar->Visible())
            continue;
        int along = Vertical() ? Height() : Width();
        int across = bar->ThicknessFor(Vertical(), along);
        if (Vertical())
            bar->SetBounds(0, 0, across, along);
        else
            bar->SetBounds(0, 0, along, across);
        thickness = std::max(thickness, across);
    }
    if (Vertical())
        SetWidth(thickness);
    else
        SetHeight(thickness);
}
