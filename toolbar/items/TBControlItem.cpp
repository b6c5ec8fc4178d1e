#include "toolbar/items/TBControlItem.h"
#include "toolbar/items/TBControlItemViewer.h"
#include "toolbar/items/TBToolbar.h"
#include "toolkit/Controls.h"

const TClassInfo& TTBControlItem::StaticClass()
{
    return MakeClassInfo<TTBControlItem>(
        "TTBControlItem", &TTBCustomItem::StaticClass(), [](TClassBuilder<TTBControlItem>& b) {
            b.Object("Control", &TTBControlItem::Control, &TTBControlItem::SetControl)
                .Ordinal("DontFreeControl", TypeBoolean(), &TTBControlItem::DontFreeControl,
                         &TTBControlItem::SetDontFreeControl);
        });
}

TTBControlItem::TTBControlItem(TComponent* owner) : TTBCustomItem(owner)
{
    TTBItemStyle style = ItemStyle();
    style &= static_cast<TTBItemStyle>(~StyleBit(TTBItemStyleFlag::Selectable));
    style |= StyleBit(TTBItemStyleFlag::ClickThrough);
    SetItemStyle(style);
}

TTBControlItem::~TTBControlItem()
{
    Destroying();
    TControl* control = FControl;
    FControl = nullptr;
    if (control && !FDontFreeControl)
        delete control;
}

void TTBControlItem::SetControl(TControl* value)
{
    if (value == FControl)
        return;
    if (FControl)
        FControl->RemoveFreeNotification(this);
    FControl = value;
    if (FControl) {
        FControl->FreeNotification(this);
        if (auto* bar = dynamic_cast<TTBCustomToolbar*>(FControl->Parent()))
            bar->ControlClaimed(FControl, this);
    }
    NotifyChanged(true);
}

void TTBControlItem::Notification(TComponent* component, TOperation operation)
{
    TTBCustomItem::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FControl) {
        FControl = nullptr;
        NotifyChanged(true);
    }
}

TTBItemViewerClass TTBControlItem::GetItemViewerClass(TTBView*) const
{
    return &TTBControlItemViewer::Create;
}
