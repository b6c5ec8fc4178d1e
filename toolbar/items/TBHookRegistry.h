#pragma once
// The framework's shared thread hooks: one platform hook per kind on the
// user-interface thread, installed when the first handler of its kind is
// added and removed with the last. Every handler of a kind is called in the
// order of adding; none may let an exception out (the hook catches it and
// hands it to the application's error handler).
#include <windows.h>

enum class TTBHookKind {
    CallWndProc, // window-procedure calls (sent messages)
    CBT,         // computer-based-training notifications
    GetMessage,  // messages retrieved from the queue
};

// Called as the hook procedure would be. A CBT handler's non-zero answer
// stops the action and ends the call chain; the others' answers are ignored.
using TTBHookHandler = LRESULT (*)(int code, WPARAM wParam, LPARAM lParam);

// Adding the same handler twice needs two removals.
void InstallHookHandler(TTBHookKind kind, TTBHookHandler handler);
void RemoveHookHandler(TTBHookKind kind, TTBHookHandler handler);
// Whether the platform hook of the kind is installed now.
bool HookInstalled(TTBHookKind kind);
