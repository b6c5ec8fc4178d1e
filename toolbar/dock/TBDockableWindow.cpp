#include "toolbar/dock/TBDockableWindow.h"

const TClassInfo& TTBCustomDockableWindow::StaticClass()
{
    return MakeClassInfo<TTBCustomDockableWindow>(
        "TTBCustomDockableWindow", &TCustomControl::StaticClass(), [](TClassBuilder<TTBCustomDockableWindow>& b) {
            b.Object<TTBDock>("CurrentDock", &TTBCustomDockableWindow::CurrentDock,
                              &TTBCustomDockableWindow::SetCurrentDock)
                .Object<TTBDock>("DefaultDock", &TTBCustomDockableWindow::DefaultDock,
                                 &TTBCustomDockableWindow::SetDefaultDock);
        });
}

TTBCustomDockableWindow::TTBCustomDockableWindow(TComponent* owner) : TCustomControl(owner) {}

void TTBCustomDockableWindow::SetCurrentDock(TTBDock* dock)
{
    if (dock == FCurrentDock)
        return;
    TTBDock* old = FCurrentDock;
    if (old)
        old->RemoveFreeNotification(this);
    FCurrentDock = dock;
    if (dock)
        dock->FreeNotification(this);
    // The bar never floats: without a dock it is simply not shown anywhere.
    SetParent(dock);
    if (old)
        old->ArrangeBars();
    if (dock)
        dock->ArrangeBars();
    DockChanged();
    if (!IsLoading())
        OnDockChanged(this);
}

void TTBCustomDockableWindow::SetDefaultDock(TTBDock* dock)
{
    if (FDefaultDock)
        FDefaultDock->RemoveFreeNotification(this);
    FDefaultDock = dock;
    if (dock)
        dock->FreeNotification(this);
}

void TTBCustomDockableWindow::Notification(TComponent* component, TOperation operation)
{
    TCustomControl::Notification(component, operation);
    if (operation != TOperation::opRemove)
        return;
    if (component == FCurrentDock)
        FCurrentDock = nullptr;
    if (component == FDefaultDock)
        FDefaultDock = nullptr;
}

void TTBCustomDockableWindow::VisibleChanged()
{
    TCustomControl::VisibleChanged();
    if (FCurrentDock)
        FCurrentDock->ArrangeBars();
}
