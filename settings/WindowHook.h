#pragma once
// Watching another control's window messages without that control's class
// knowing: a TWindowHook is told of every message of its control's window,
// before and after the window's own procedure. All hooks of one window share
// one TControlHook, which puts its procedure in front of the window's
// (subclassing) and chains to the previous one. The process-wide THookList
// owns the control hooks, frees the ones nobody uses any more and subclasses
// a window again after its control has re-created it.
#include "toolkit/Component.h"
#include "toolkit/Controls.h"
#include "toolkit/Events.h"

#include <windows.h>
#include <memory>
#include <vector>

class TControlHook;
class THookList;
class TWindowProcLinks;
struct TWindowProcLink;

// Sender is the TWindowHook. A handler may change the message (what it
// changes is what the window's procedure gets) and its result; setting
// Handled keeps the message from the hooks still to come and, before the
// window's procedure, from that procedure too.
using THookMessageEvent = TMethod<TObject*, TMessage&, bool&>;

class TWindowHook : public TComponent {
public:
    QV_CLASS(TWindowHook, TComponent)

    explicit TWindowHook(TComponent* owner);
    ~TWindowHook() override;

    // True (the default) while the hook wants to be attached; with no
    // control it stays true and attaches once a control is set.
    bool Active() const { return FActive; }
    void SetActive(bool value);

    // The control of the control hook while attached, else the stored one.
    TWinControl* WinControl() const;
    void SetWinControl(TWinControl* value);

    // True when the watched control is this hook's own owner. Setting it
    // true attaches the hook to the owner when the owner is a form; this is
    // how a hook placed on a form says "watch the form I sit on".
    bool IsForm() const;
    void SetIsForm(bool value);

    void AttachHook();
    void DetachHook();

    // The control hook this hook is attached to; nullptr while detached.
    TControlHook* ControlHook() const { return FControlHook; }

    THookMessageEvent BeforeMessage;
    THookMessageEvent AfterMessage;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TControlHook;

    TWinControl* FControl = nullptr;      // not owned; we are told when it goes
    TControlHook* FControlHook = nullptr; // not owned; the hook list owns it
    bool FActive = true;
};

// One watched window and the hooks that watch it, the last attached told
// first. Owned by the hook list; made by FindOrCreateControlHook.
class TControlHook {
public:
    TControlHook();
    TControlHook(const TControlHook&) = delete;
    TControlHook& operator=(const TControlHook&) = delete;
    ~TControlHook();

    TWinControl* Control() const { return FControl; }
    void SetControl(TWinControl* value);

    int HookCount() const { return static_cast<int>(FHooks.size()); }
    TWindowHook* Hooks(int index) const { return FHooks.at(static_cast<size_t>(index)); }

    void AddHook(TWindowHook* hook);
    void RemoveHook(TWindowHook* hook);

    void SubclassWindow();
    void UnsubclassWindow();

    // True while this object works for an entry in its control's window
    // chain (on top, or under somebody who came later).
    bool Subclassed() const;
    // The procedure it installed in the window (nullptr before the first
    // subclassing; one procedure shared by every control hook), and the one
    // it chains to (nullptr while not subclassed).
    WNDPROC WindowProcedure() const;
    WNDPROC PreviousProcedure() const;

private:
    friend class THookList;
    friend class TWindowProcLinks;

    LRESULT WindowProc(TWindowProcLinks& links, TWindowProcLink& link, UINT msg, WPARAM wParam, LPARAM lParam);
    // The window ended, and with it the entry this object worked for.
    void LinkEnded(const TWindowProcLink* link);
    void DispatchToHooks(bool after, TMessage& msg, bool& handled);
    bool Busy() const { return FBusy > 0; }

    TWinControl* FControl = nullptr;  // not owned
    std::vector<TWindowHook*> FHooks; // not owned, attaching order
    TWindowProcLink* FLink = nullptr; // its entry in FWnd's chain; the window's links own it
    HWND FWnd = nullptr;              // the window FLink is in
    bool FInstalled = false;          // has been in a window's chain
    int FBusy = 0;                    // messages of the window in progress
    bool FFreePending = false;        // asked to be freed while busy
    bool FDestroying = false;
};

// The control hooks of the process and the hidden window through which
// work is put off until the current message is over.
class THookList {
public:
    // Posted with the control hook as WParam.
    static constexpr UINT ReSubclassMessage = 45138;
    static constexpr UINT FreeHookMessage = 45139;

    THookList(const THookList&) = delete;
    THookList& operator=(const THookList&) = delete;
    ~THookList();

    // The hidden window, made on first use.
    HWND Handle();

    int Count() const { return static_cast<int>(FItems.size()); }
    TControlHook* Items(int index) const { return FItems.at(static_cast<size_t>(index)).get(); }
    int IndexOf(const TControlHook* hook) const;

    // The control hook watching `control`, made and appended when none does.
    TControlHook* FindOrCreateControlHook(TWinControl* control);
    TControlHook* FindControlHook(const TWinControl* control) const;

private:
    friend class TControlHook;
    friend THookList& HookListOf();

    THookList();
    static LRESULT CALLBACK StaticWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    void FreeControlHook(TControlHook* hook);
    // Gives up ownership of a control hook that is being destroyed.
    void Forget(TControlHook* hook);

    HWND FHandle = nullptr;
    std::vector<std::unique_ptr<TControlHook>> FItems;
};

// The one hook list of the process, made on first use and freed, with the
// control hooks it still holds, when the program ends.
THookList& HookListOf();
