#include "toolbar/items/TBHookRegistry.h"
#include "toolkit/ErrorSink.h"

#include <algorithm>
#include <vector>

namespace {

struct HookSlot {
    int PlatformKind;
    HOOKPROC Proc;
    HHOOK Hook = nullptr;
    std::vector<TTBHookHandler> Handlers;
};

LRESULT CALLBACK CallWndProcHook(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam);

HookSlot& Slot(TTBHookKind kind)
{
    static HookSlot slots[] = {
        {WH_CALLWNDPROC, &CallWndProcHook, nullptr, {}},
        {WH_CBT, &CbtHook, nullptr, {}},
        {WH_GETMESSAGE, &GetMessageHook, nullptr, {}},
    };
    return slots[static_cast<int>(kind)];
}

LRESULT RunHandlers(TTBHookKind kind, int code, WPARAM wParam, LPARAM lParam)
{
    HookSlot& slot = Slot(kind);
    if (code >= 0) {
        // A copy: a handler may remove itself or another.
        std::vector<TTBHookHandler> handlers = slot.Handlers;
        for (TTBHookHandler handler : handlers) {
            // No exception may cross into the platform: the error box gets it.
            try {
                LRESULT r = handler(code, wParam, lParam);
                if (r && kind == TTBHookKind::CBT)
                    return r;
            } catch (...) {
                HandleCallbackException();
            }
        }
    }
    return CallNextHookEx(slot.Hook, code, wParam, lParam);
}

LRESULT CALLBACK CallWndProcHook(int code, WPARAM wParam, LPARAM lParam)
{
    return RunHandlers(TTBHookKind::CallWndProc, code, wParam, lParam);
}
LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam)
{
    return RunHandlers(TTBHookKind::CBT, code, wParam, lParam);
}
LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam)
{
    return RunHandlers(TTBHookKind::GetMessage, code, wParam, lParam);
}

} // namespace

void InstallHookHandler(TTBHookKind kind, TTBHookHandler handler)
{
    HookSlot& slot = Slot(kind);
    slot.Handlers.push_back(handler);
    if (!slot.Hook)
        slot.Hook = SetWindowsHookExA(slot.PlatformKind, slot.Proc, nullptr, GetCurrentThreadId());
}

void RemoveHookHandler(TTBHookKind kind, TTBHookHandler handler)
{
    HookSlot& slot = Slot(kind);
    auto it = std::find(slot.Handlers.begin(), slot.Handlers.end(), handler);
    if (it == slot.Handlers.end())
        return;
    slot.Handlers.erase(it);
    if (slot.Handlers.empty() && slot.Hook) {
        UnhookWindowsHookEx(slot.Hook);
        slot.Hook = nullptr;
    }
}

bool HookInstalled(TTBHookKind kind)
{
    return Slot(kind).Hook != nullptr;
}
