#pragma once
// How a control hook puts itself into a window's procedure chain without
// code made at run time: every control hook of every window uses the one
// shared procedure, and a window property says which control hook each of
// its entries of that procedure works for.
//
// A window's chain can hold the shared procedure more than once: a control
// hook that lets go while somebody else has subclassed the window after it
// must leave its entry there (that somebody passes messages on to it), and
// when it subclasses again it goes on top, above that somebody. The entries
// are kept topmost first. A message that comes in from the window meets the
// topmost; one that an entry of ours passes on down the chain meets the next
// entry below it when it comes back to the shared procedure.
#include <windows.h>

#include <memory>
#include <vector>

class TControlHook;

// One entry of the shared procedure in a window's chain.
struct TWindowProcLink {
    TControlHook* Owner = nullptr; // nullptr: the entry only passes messages on
    WNDPROC Prev = nullptr;        // the procedure it passes messages on to
};

// The entries of one window, held in a property of that window from the
// first subclassing until the window ends or no entry is left.
class TWindowProcLinks {
public:
    TWindowProcLinks(const TWindowProcLinks&) = delete;
    TWindowProcLinks& operator=(const TWindowProcLinks&) = delete;

    // The procedure every entry installs.
    static WNDPROC SharedProcedure();

    // Puts `owner` into the window's chain and returns its entry: our
    // topmost entry when that is on top of the chain (it works for `owner`
    // from now on), otherwise a new entry on top.
    static TWindowProcLink* Install(HWND wnd, TControlHook* owner);

    // Takes an entry that Install returned out of the window's chain: with
    // the entry on top the window gets back the procedure before it;
    // otherwise somebody who came later passes messages on to it, so it
    // stays and only passes them on. It is not used any more either way.
    static void Release(HWND wnd, TWindowProcLink* link);

    // Passes a message of the window on from `link` to the procedure before
    // it, so that an entry of ours further down knows the message is its.
    LRESULT CallPrevious(TWindowProcLink& link, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    explicit TWindowProcLinks(HWND wnd) : FWnd(wnd) {}
    static TWindowProcLinks* Of(HWND wnd);
    static LRESULT CALLBACK SharedProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

    TWindowProcLink* Top() const { return FLinks.empty() ? nullptr : FLinks.front().get(); }
    TWindowProcLink* Below(const TWindowProcLink* link) const;
    void Retire(TWindowProcLink* link);
    void WindowEnded();
    // Frees what no call needs any more, and this object once the window
    // has no entry left.
    void Tidy();

    // The message passed on down the chain, and the entry expected to meet
    // it next; none when nothing is on its way down.
    struct TPassedOn {
        TWindowProcLink* Link = nullptr;
        UINT Msg = 0;
    };

    HWND FWnd;
    std::vector<std::unique_ptr<TWindowProcLink>> FLinks;   // in the chain, topmost first
    std::vector<std::unique_ptr<TWindowProcLink>> FRetired; // out of it; freed once no call is in progress
    TPassedOn FPassedOn;
    int FCalls = 0; // calls of the shared procedure for this window in progress
    bool FEnded = false;
};
