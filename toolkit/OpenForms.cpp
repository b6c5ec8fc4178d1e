#include "toolkit/OpenForms.h"

#include <algorithm>

#include "toolkit/Forms.h"
#include "toolkit/StrUtils.h"

namespace {

void AddOnce(std::vector<TCustomForm*>& forms, TCustomForm* form)
{
    if (form && std::find(forms.begin(), forms.end(), form) == forms.end())
        forms.push_back(form);
}

BOOL CALLBACK CollectForm(HWND wnd, LPARAM data)
{
    auto* forms = reinterpret_cast<std::vector<TCustomForm*>*>(data);
    AddOnce(*forms, dynamic_cast<TCustomForm*>(TWinControl::FromHandle(wnd)));
    return TRUE;
}

} // namespace

std::vector<TCustomForm*> OpenForms()
{
    std::vector<TCustomForm*> forms;
    // Every form lives on the one user interface thread, so its top-level
    // windows are all of them that have been made; a form owned by anything
    // at all is found this way.
    EnumThreadWindows(GetCurrentThreadId(), CollectForm, reinterpret_cast<LPARAM>(&forms));
    if (Application) {
        AddOnce(forms, Application->MainForm());
        for (int i = 0; i < Application->ComponentCount(); ++i)
            AddOnce(forms, dynamic_cast<TCustomForm*>(Application->Components(i)));
    }
    return forms;
}

TCustomForm* FindOpenForm(const std::string& name)
{
    if (name.empty())
        return nullptr;
    for (TCustomForm* form : OpenForms())
        if (SameText(form->Name(), name))
            return form;
    return nullptr;
}
