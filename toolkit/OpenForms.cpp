#include "toolkit/OpenForms.h"

#include <algorithm>
#include <exception>

#include "toolkit/Forms.h"
#include "toolkit/StrUtils.h"

namespace {

void AddOnce(std::vector<TCustomForm*>& forms, TCustomForm* form)
{
    if (form && std::find(forms.begin(), forms.end(), form) == forms.end())
        forms.push_back(form);
}

struct TCollected {
    std::vector<TCustomForm*> Forms;
    std::exception_ptr Error; // what stopped the enumeration, for the caller
};

// A platform callback: nothing may leave it, so an error (the list failing
// to grow) ends the enumeration and is handed back to OpenForms.
BOOL CALLBACK CollectForm(HWND wnd, LPARAM data)
{
    auto* collected = reinterpret_cast<TCollected*>(data);
    try {
        AddOnce(collected->Forms, dynamic_cast<TCustomForm*>(TWinControl::FromHandle(wnd)));
        return TRUE;
    } catch (...) {
        collected->Error = std::current_exception();
        return FALSE;
    }
}

} // namespace

std::vector<TCustomForm*> OpenForms()
{
    TCollected collected;
    // Every form lives on the one user interface thread, so its top-level
    // windows are all of them that have been made; a form owned by anything
    // at all is found this way.
    EnumThreadWindows(GetCurrentThreadId(), CollectForm, reinterpret_cast<LPARAM>(&collected));
    if (collected.Error)
        std::rethrow_exception(collected.Error);
    std::vector<TCustomForm*> forms = std::move(collected.Forms);
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
