#include "toolbar/items/TBShortCuts.h"
#include "toolbar/items/TBToolbar.h"
#include "toolkit/Forms.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<TTBCustomToolbar*>& Registered()
{
    static std::vector<TTBCustomToolbar*> list;
    return list;
}

HHOOK g_hook = nullptr;

bool OfferToForm(TCustomForm* form, const MSG& msg)
{
    if (!form || !form->HandleAllocated() || !IsWindowEnabled(form->HandleValue()))
        return false;
    // A copy: a shortcut's handler may free a toolbar.
    std::vector<TTBCustomToolbar*> bars = Registered();
    for (TTBCustomToolbar* bar : bars)
        if (std::find(Registered().begin(), Registered().end(), bar) != Registered().end() &&
            bar->ProcessShortCuts() && GetParentForm(bar) == form && bar->HandleShortCut(msg))
            return true;
    return false;
}

TCustomForm* FormOfWindow(HWND wnd)
{
    for (HWND w = wnd; w; w = GetParent(w))
        if (auto* form = dynamic_cast<TCustomForm*>(TWinControl::FromHandle(w)))
            return form;
    return nullptr;
}

LRESULT CALLBACK KeyHook(int code, WPARAM wParam, LPARAM lParam)
{
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN)) {
        // No exception may cross into the platform: the error box gets it.
        try {
            TCustomForm* active = FormOfWindow(GetActiveWindow());
            TCustomForm* main = Application ? Application->MainForm() : nullptr;
            if (OfferToForm(active, *msg) || (main && main != active && OfferToForm(main, *msg)))
                msg->message = WM_NULL;
        } catch (...) {
            HandleCallbackException();
        }
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

} // namespace

void RegisterShortCutToolbar(TTBCustomToolbar* toolbar)
{
    auto& list = Registered();
    if (std::find(list.begin(), list.end(), toolbar) != list.end())
        return;
    list.push_back(toolbar);
    if (!g_hook)
        g_hook = SetWindowsHookExA(WH_GETMESSAGE, &KeyHook, nullptr, GetCurrentThreadId());
}

void UnregisterShortCutToolbar(TTBCustomToolbar* toolbar)
{
    auto& list = Registered();
    list.erase(std::remove(list.begin(), list.end(), toolbar), list.end());
    if (list.empty() && g_hook) {
        UnhookWindowsHookEx(g_hook);
        g_hook = nullptr;
    }
}

int ShortCutToolbarCount()
{
    return static_cast<int>(Registered().size());
}
