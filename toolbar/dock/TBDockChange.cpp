// A dockable bar's parent change: moving it between docks, onto its form or
// into a floating host, with the locks, events and window handle kept as
// the application expects them.
#include "toolbar/dock/TBDockableWindow.h"
#include "toolbar/dock/TBFloatingWindowParent.h"

void TTBCustomDockableWindow::RefreshDockFlags()
{
    FCurrentDock = dynamic_cast<TTBDock*>(Parent());
    FDocked = FCurrentDock != nullptr;
    FFloating = dynamic_cast<TTBFloatingWindowParent*>(Parent()) != nullptr;
}

namespace {

// The counters a dock change raises, dropped in the stated order on every
// way out, errors included.
class DockChangeLocks {
public:
    DockChangeLocks(int& hidden, int& move, TTBDock* oldDock, TTBDock* newDock, int& sizeNotify)
        : FHidden(hidden), FMove(move), FOld(oldDock), FNew(newDock), FSizeNotify(sizeNotify)
    {
        ++FHidden;
        ++FMove;
        if (FOld)
            FOld->LockLayout();
        if (FNew && FNew != FOld)
            FNew->LockLayout();
        ++FSizeNotify;
    }
    DockChangeLocks(const DockChangeLocks&) = delete;
    DockChangeLocks& operator=(const DockChangeLocks&) = delete;

    // Self-arrangement is locked later, so it is dropped first.
    void LockSelfArrange(TTBCustomDockableWindow* bar)
    {
        bar->LockSelfArrange();
        FBar = bar;
    }

    // Runs the unwinding; the destructor only repeats what did not run.
    void Release()
    {
        if (FBar) {
            auto* bar = FBar;
            FBar = nullptr;
            bar->UnlockSelfArrange();
        }
        if (FSizeNotifyHeld) {
            FSizeNotifyHeld = false;
            --FSizeNotify;
        }
        if (FNew && FNew != FOld) {
            auto* dock = FNew;
            FNew = nullptr;
            dock->UnlockLayout();
        }
        if (FOld) {
            auto* dock = FOld;
            FOld = nullptr;
            dock->UnlockLayout();
        }
        if (FCountersHeld) {
            FCountersHeld = false;
            --FMove;
            --FHidden;
        }
    }

    ~DockChangeLocks()
    {
        try {
            Release();
        } catch (...) {
            // An error of the unwinding itself must not hide the first one.
        }
    }

private:
    int& FHidden;
    int& FMove;
    TTBDock* FOld;
    TTBDock* FNew;
    int& FSizeNotify;
    TTBCustomDockableWindow* FBar = nullptr;
    bool FSizeNotifyHeld = true;
    bool FCountersHeld = true;
};

} // namespace

void TTBCustomDockableWindow::SetParent(TWinControl* parent)
{
    if (parent == Parent()) {
        RefreshDockFlags();
        return;
    }
    auto* oldDock = dynamic_cast<TTBDock*>(Parent());
    auto* newDock = dynamic_cast<TTBDock*>(parent);
    const bool newFloating = dynamic_cast<TTBFloatingWindowParent*>(parent) != nullptr;
    const bool announce = !IsDestroying() && parent;
    if (announce) {
        OnDockChanging(this, newFloating, newDock);
        OnRecreating(this);
    }
    {
        DockChangeLocks locks(FHiddenLock, FMoveNotifyLock, oldDock, newDock, SizeNotifyLock);
        try {
            UpdateVisibility();
            if (parent)
                NotifyDockChangingHidden(newFloating, newDock);
            locks.LockSelfArrange(this);
            ShrunkLength = 0;

            if (oldDock) {
                if (!(FUseLastDock && FLastDock == oldDock))
                    oldDock->BarsChanged(this, false);
                oldDock->ShownChanged(this, true);
            }

            // The window itself moves to the new parent: its handle, and all
            // that is bound to it, stays.
            TWinControl* oldParent = Parent();
            FCurrentDock = newDock;
            FDocked = newDock != nullptr;
            FFloating = newFloating;
            try {
                ReparentKeepingWindow(parent);
            } catch (...) {
                RefreshDockFlags();
                throw;
            }
            PlacedRow = -1;

            if (!SmoothDragActive && oldParent && oldParent == FFloatingHost) {
                FFloatingHost = nullptr;
                delete oldParent;
            }

            if (newDock) {
                if (!FUseLastDock || SmoothDragActive) {
                    newDock->BarsChanged(this, true);
                } else {
                    SetLastDock(newDock);
                    newDock->ShownChanged(this, false);
                }
            }
            if (FFloating)
                FFloatingPosition = POINT{Parent()->Left(), Parent()->Top()};
            ArrangeSelf();
        } catch (...) {
            locks.Release();
            UpdateVisibility();
            throw;
        }
        locks.Release();
        UpdateVisibility();
    }
    if (Parent())
        OnMove(this);
    if (announce) {
        OnRecreated(this);
        OnDockChanged(this);
    }
}
