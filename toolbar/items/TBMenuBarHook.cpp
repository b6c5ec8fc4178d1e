#include "toolbar/items/TBMenuBarHook.h"
#include "toolbar/items/TBHookRegistry.h"
#include "toolkit/Forms.h"

namespace {

LRESULT MenuBarMessageHook(int code, WPARAM wParam, LPARAM lParam)
{
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code != HC_ACTION || wParam != PM_REMOVE || msg->message != WM_SYSCHAR || GetCapture())
        return 0;
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    if (!main || !main->HandleAllocated())
        return 0;
    HWND client = FindWindowExA(main->HandleValue(), nullptr, "MDICLIENT", nullptr);
    if (!client)
        return 0;
    if (msg->hwnd == client || (msg->wParam == '-' && IsChild(client, msg->hwnd))) {
        SendMessageA(main->HandleValue(), WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(msg->wParam));
        msg->message = WM_NULL;
    }
    return 0;
}

} // namespace

void RegisterMenuBarHook()
{
    InstallHookHandler(TTBHookKind::GetMessage, &MenuBarMessageHook);
}

void UnregisterMenuBarHook()
{
    RemoveHookHandler(TTBHookKind::GetMessage, &MenuBarMessageHook);
}
