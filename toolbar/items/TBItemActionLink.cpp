#include "toolbar/items/TBItemActionLink.h"
#include "toolbar/items/TBCustomItem.h"

bool TTBItemActionLink::Supplies(TActionProperty property) const
{
    if (!Action())
        return false;
    if (property == TActionProperty::OnExecute)
        return FClient->OnClick && FClient->OnClick == Action()->OnExecute();
    const auto* a = dynamic_cast<const TAction*>(Action());
    if (!a)
        return false;
    switch (property) {
    case TActionProperty::Caption: return FClient->Caption() == a->Caption();
    case TActionProperty::Checked: return FClient->Checked() == a->Checked();
    case TActionProperty::Enabled: return FClient->Enabled() == a->Enabled();
    case TActionProperty::HelpContext: return FClient->HelpContext() == a->HelpContext();
    case TActionProperty::Hint: return FClient->Hint() == a->Hint();
    case TActionProperty::ImageIndex: return FClient->ImageIndex() == a->ImageIndex();
    case TActionProperty::ShortCut: return FClient->ShortCut() == a->ShortCut();
    case TActionProperty::Visible: return FClient->Visible() == a->Visible();
    case TActionProperty::OnExecute: break;
    }
    return false;
}

void TTBItemActionLink::Changed(TActionProperty property)
{
    if (property == TActionProperty::OnExecute) {
        // The item's own click handler stays; one the action gave follows it.
        if (!FClient->OnClick || FClient->OnClick == FSuppliedOnClick)
            FClient->OnClick = Action()->OnExecute();
        FSuppliedOnClick = Action()->OnExecute();
        return;
    }
    const auto* a = dynamic_cast<const TAction*>(Action());
    if (!a)
        return;
    switch (property) {
    case TActionProperty::Caption: FClient->SetCaption(a->Caption()); break;
    case TActionProperty::Checked: FClient->SetChecked(a->Checked()); break;
    case TActionProperty::Enabled: FClient->SetEnabled(a->Enabled()); break;
    case TActionProperty::HelpContext: FClient->SetHelpContext(a->HelpContext()); break;
    case TActionProperty::Hint: FClient->SetHint(a->Hint()); break;
    case TActionProperty::ImageIndex: FClient->SetImageIndex(a->ImageIndex()); break;
    case TActionProperty::ShortCut: FClient->SetShortCut(a->ShortCut()); break;
    case TActionProperty::Visible: FClient->SetVisible(a->Visible()); break;
    case TActionProperty::OnExecute: break;
    }
}
