#pragma once
// The forms of this program that are open, found without a registry: the
// top-level windows of the user interface thread that belong to a form, and
// the forms the application object owns (which may not have a window yet).
#include <string>
#include <vector>

class TCustomForm;

// Each open form once: first those with a window, in the platform's z order,
// then the application's own forms that have none yet.
std::vector<TCustomForm*> OpenForms();

// The open form with that name, ignoring letter case; nullptr if none.
TCustomForm* FindOpenForm(const std::string& name);
