#pragma once
// The context menu: a list of named entries with captions, check marks and
// click events, shown with the platform's popup menu.
#include "toolkit/Component.h"
#include "toolkit/Controls.h"
#include "toolkit/Events.h"

#include <string>
#include <vector>

class TMenuItem : public TComponent {
public:
    QV_CLASS(TMenuItem, TComponent)
    using TComponent::TComponent;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value) { FCaption = value; }
    bool Checked() const { return FChecked; }
    void SetChecked(bool value) { FChecked = value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    bool IsLine() const { return FCaption == "-"; }

    void Click() { OnClick(this); }

    TNotifyEvent OnClick;

private:
    std::string FCaption;
    bool FChecked = false;
    bool FEnabled = true;
};

class TPopupMenu : public TPopup {
public:
    QV_CLASS(TPopupMenu, TPopup)
    using TPopup::TPopup;

    // Entries in menu order; the menu does not own them (their owner does).
    void Add(TMenuItem* item);
    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int index) const { return FItems.at(static_cast<size_t>(index)); }

    TControl* PopupComponent() const { return FPopupComponent; }
    // Shows the menu at a screen point and runs the chosen entry's click.
    void Popup(int x, int y, TControl* component = nullptr) override;

    TNotifyEvent OnPopup;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    std::vector<TMenuItem*> FItems;
    TControl* FPopupComponent = nullptr;
};
