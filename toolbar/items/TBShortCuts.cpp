#include "toolbar/items/TBShortCuts.h"
#include "toolbar/items/TBHookRegistry.h"
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

LRESULT KeyHook(int code, WPARAM wParam, LPARAM lParam)
{
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN)) {
        TCustomForm* active = FormOfWindow(GetActiveWindow());
        TCustomForm* main = Application ? Application->MainForm() : nullptr;
        if (OfferToForm(active, *msg) || (main && main != active && OfferToForm(main, *msg)))
            msg->message = WM_NULL;
    }
    return 0;
}

// Depth first through the form's controls: docks pass the command on to
// their floating bars, docked bars hear it themselves.
bool OfferSysCommand(TWinControl* parent, WPARAM command, LPARAM data)
{
    for (int i = 0; i < parent->ControlCount(); ++i) {
        auto* control = dynamic_cast<TWinControl*>(parent->Controls(i));
        if (!control || !control->Visible() || !control->Enabled())
            continue;
        auto* bar = dynamic_cast<TTBCustomDockableWindow*>(control);
        if ((dynamic_cast<TTBDock*>(control) || (bar && bar->WantsMenuEvents())) &&
            control->Perform(TBM_APPSYSCOMMAND, command, data))
            return true;
        if (OfferSysCommand(control, command, data))
            return true;
    }
    return false;
}

// The platform asks before it carries out a system command: the menu key
// goes to the active form's bars first.
LRESULT SysCommandHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code != HCBT_SYSCOMMAND || (wParam & 0xFFF0) != SC_KEYMENU)
        return 0;
    TCustomForm* active = FormOfWindow(GetActiveWindow());
    return active && OfferSysCommand(active, wParam, lParam) ? 1 : 0;
}

} // namespace

void RegisterShortCutToolbar(TTBCustomToolbar* toolbar)
{
    auto& list = Registered();
    if (std::find(list.begin(), list.end(), toolbar) != list.end())
        return;
    list.push_back(toolbar);
    if (list.size() == 1) {
        InstallHookHandler(TTBHookKind::GetMessage, &KeyHook);
        InstallHookHandler(TTBHookKind::CBT, &SysCommandHook);
    }
}

void UnregisterShortCutToolbar(TTBCustomToolbar* toolbar)
{
    auto& list = Registered();
    auto it = std::find(list.begin(), list.end(), toolbar);
    if (it == list.end())
        return;
    list.erase(it);
    if (list.empty()) {
        RemoveHookHandler(TTBHookKind::GetMessage, &KeyHook);
        RemoveHookHandler(TTBHookKind::CBT, &SysCommandHook);
    }
}

int ShortCutToolbarCount()
{
    return static_cast<int>(Registered().size());
}
