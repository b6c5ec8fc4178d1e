#include "toolkit/ActnList.h"
#include "toolkit/TypeInfo.h"

#include <algorithm>
#include <utility>

// ------------------------------------------------------------- the link

TBasicActionLink::~TBasicActionLink()
{
    SetAction(nullptr);
}

void TBasicActionLink::SetAction(TBasicAction* value)
{
    if (value == FAction)
        return;
    if (FAction) {
        auto& clients = FAction->FClients;
        clients.erase(std::remove(clients.begin(), clients.end(), this), clients.end());
    }
    FAction = value;
    if (!FAction)
        return;
    FAction->FClients.push_back(this);
    for (TActionProperty p : {TActionProperty::Caption, TActionProperty::Checked, TActionProperty::Enabled,
                              TActionProperty::HelpContext, TActionProperty::Hint, TActionProperty::ImageIndex,
                              TActionProperty::ShortCut, TActionProperty::Visible, TActionProperty::OnExecute})
        Changed(p);
}

bool TBasicActionLink::Execute()
{
    return FAction && FAction->Execute();
}

bool TBasicActionLink::Update()
{
    return FAction && FAction->Update();
}

// ----------------------------------------------------------- the action

const TClassInfo& TBasicAction::StaticClass()
{
    return MakeClassInfo<TBasicAction>("TBasicAction", &TComponent::StaticClass(), [](auto&) {});
}

TBasicAction::TBasicAction(TComponent* owner) : TComponent(owner) {}

TBasicAction::~TBasicAction()
{
    Destroying();
    // The links forget the action now; their clients hear of it through the
    // free notification that follows and drop their links then.
    for (TBasicActionLink* link : std::exchange(FClients, {}))
        link->FAction = nullptr;
}

bool TBasicAction::Execute()
{
    if (!FOnExecute)
        return false;
    FOnExecute(this);
    return true;
}

bool TBasicAction::Update()
{
    if (!OnUpdate)
        return false;
    OnUpdate(this);
    return true;
}

void TBasicAction::SetOnExecute(const TNotifyEvent& value)
{
    if (value == FOnExecute)
        return;
    FOnExecute = value;
    Change(TActionProperty::OnExecute);
}

void TBasicAction::Change(TActionProperty property)
{
    // A link may leave while it is told (its client let go of the action).
    for (TBasicActionLink* link : std::vector<TBasicActionLink*>(FClients))
        if (std::find(FClients.begin(), FClients.end(), link) != FClients.end())
            link->Changed(property);
}

// ------------------------------------------------------------- TAction

const TClassInfo& TAction::StaticClass()
{
    using T = TAction;
    return MakeClassInfo<T>("TAction", &TBasicAction::StaticClass(), [](TClassBuilder<T>& b) {
        b.String("Caption", TypeCaption(), &T::Caption, &T::SetCaption)
            .Ordinal("Checked", TypeBoolean(), &T::Checked, &T::SetChecked)
            .Ordinal("Enabled", TypeBoolean(), &T::Enabled, &T::SetEnabled)
            .Ordinal("HelpContext", TypeInteger(), &T::HelpContext, &T::SetHelpContext)
            .String("Hint", TypeString(), &T::Hint, &T::SetHint)
            .Ordinal("ImageIndex", TypeInteger(), &T::ImageIndex, &T::SetImageIndex)
            .Ordinal("ShortCut", TypeInteger(), &T::ShortCut, &T::SetShortCut)
            .Ordinal("Visible", TypeBoolean(), &T::Visible, &T::SetVisible);
    });
}

bool TAction::Execute()
{
    Update();
    return FEnabled && TBasicAction::Execute();
}

bool TAction::DoHint(std::string& hint)
{
    bool canShow = true;
    if (OnHint)
        OnHint(hint, canShow);
    return canShow;
}

template <class T>
void TAction::Set(T& field, const T& value, TActionProperty property)
{
    if (field == value)
        return;
    field = value;
    Change(property);
}

void TAction::SetCaption(const std::string& value) { Set(FCaption, value, TActionProperty::Caption); }
void TAction::SetChecked(bool value) { Set(FChecked, value, TActionProperty::Checked); }
void TAction::SetEnabled(bool value) { Set(FEnabled, value, TActionProperty::Enabled); }
void TAction::SetHelpContext(int value) { Set(FHelpContext, value, TActionProperty::HelpContext); }
void TAction::SetHint(const std::string& value) { Set(FHint, value, TActionProperty::Hint); }
void TAction::SetImageIndex(int value) { Set(FImageIndex, value, TActionProperty::ImageIndex); }
void TAction::SetShortCut(uint16_t value) { Set(FShortCut, value, TActionProperty::ShortCut); }
void TAction::SetVisible(bool value) { Set(FVisible, value, TActionProperty::Visible); }
