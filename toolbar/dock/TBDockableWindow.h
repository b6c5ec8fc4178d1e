#pragma once
// The base of bars that live in a dock: which dock holds them, and the
// event that tells the application the bar has moved to another dock.
#include "toolbar/dock/TBDock.h"

class TTBCustomDockableWindow : public TCustomControl {
public:
    QV_CLASS(TTBCustomDockableWindow, TCustomControl)
    explicit TTBCustomDockableWindow(TComponent* owner);

    TTBDock* CurrentDock() const { return FCurrentDock; }
    // Moves the bar into another dock and fires OnDockChanged.
    void SetCurrentDock(TTBDock* dock);
    TTBDock* DefaultDock() const { return FDefaultDock; }
    void SetDefaultDock(TTBDock* dock);

    // The bar's size across a dock of that orientation and length.
    virtual int ThicknessFor(bool vertical, int length) = 0;

    TNotifyEvent OnDockChanged;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void VisibleChanged() override;
    virtual void DockChanged() {}

private:
    TTBDock* FCurrentDock = nullptr;
    TTBDock* FDefaultDock = nullptr;
};
