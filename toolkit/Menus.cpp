#include "toolkit/Menus.h"
#include "toolkit/Controls.h"

#include <windows.h>
#include <algorithm>

namespace {
// A popup menu handle destroyed on scope exit.
class MenuHandle {
public:
    MenuHandle() : FMenu(CreatePopupMenu()) {}
    MenuHandle(const MenuHandle&) = delete;
    MenuHandle& operator=(const MenuHandle&) = delete;
    ~MenuHandle() { DestroyMenu(FMenu); }
    HMENU Get() const { return FMenu; }

private:
    HMENU FMenu;
};
} // namespace

const TClassInfo& TMenuItem::StaticClass()
{
    return MakeClassInfo<TMenuItem>("TMenuItem", &TComponent::StaticClass(), [](TClassBuilder<TMenuItem>& b) {
        b.String("Caption", TypeCaption(), &TMenuItem::Caption, &TMenuItem::SetCaption)
            .Ordinal("Checked", TypeBoolean(), &TMenuItem::Checked, &TMenuItem::SetChecked)
            .Ordinal("Enabled", TypeBoolean(), &TMenuItem::Enabled, &TMenuItem::SetEnabled);
    });
}

const TClassInfo& TPopupMenu::StaticClass()
{
    return MakeClassInfo<TPopupMenu>("TPopupMenu", &TPopup::StaticClass(), [](auto&) {});
}

void TPopupMenu::Add(TMenuItem* item)
{
    FItems.push_back(item);
    item->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove) {
        FItems.erase(std::remove(FItems.begin(), FItems.end(), component), FItems.end());
        if (component == FPopupComponent)
            FPopupComponent = nullptr;
    }
}

void TPopupMenu::Popup(int x, int y, TControl* component)
{
    FPopupComponent = component;
    OnPopup(this);
    MenuHandle menu;
    for (size_t i = 0; i < FItems.size(); ++i) {
        TMenuItem* item = FItems[i];
        if (item->IsLine()) {
            AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = MF_STRING | (item->Checked() ? MF_CHECKED : 0) | (item->Enabled() ? 0 : MF_GRAYED);
        AppendMenuA(menu.Get(), flags, i + 1, item->Caption().c_str());
    }
    // The menu belongs to the window of the control it pops up for (or of
    // the nearest windowed control holding it), else to the active window.
    HWND owner = nullptr;
    for (TControl* c = component; c && !owner; c = c->Parent())
        if (auto* w = dynamic_cast<TWinControl*>(c))
            owner = w->Handle();
    if (!owner)
        owner = GetActiveWindow();
    UINT chosen = TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr);
    if (chosen >= 1 && chosen <= FItems.size())
        FItems[chosen - 1]->Click();
}
