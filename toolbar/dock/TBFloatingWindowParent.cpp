#include "toolbar/dock/TBFloatingWindowParent.h"

#include <algorithm>

const TClassInfo& TTBFloatingWindowParent::StaticClass()
{
    return MakeClassInfo<TTBFloatingWindowParent>("TTBFloatingWindowParent", &TCustomForm::StaticClass(),
                                                  [](auto&) {});
}

TTBFloatingWindowParent::TTBFloatingWindowParent(TComponent* owner) : TCustomForm(owner)
{
    SetBorderStyle(bsToolWindow);
    SetVisible(false);
}

void TTBFloatingWindowParent::SetClientSize(int width, int height)
{
    SetBounds(Left(), Top(), Width() - ClientWidth() + width, Height() - ClientHeight() + height);
}

void TTBFloatingWindowParent::KeepOnScreen()
{
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    int left = std::max(static_cast<int>(work.left), std::min(Left(), static_cast<int>(work.right) - Width()));
    int top = std::max(static_cast<int>(work.top), std::min(Top(), static_cast<int>(work.bottom) - Height()));
    SetBounds(left, top, Width(), Height());
}
