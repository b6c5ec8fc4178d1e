#include "toolkit/Dialogs.h"
#include "toolkit/Forms.h"

#include <commdlg.h>

namespace {
HWND DialogOwner()
{
    if (Application && Application->MainForm())
        return Application->MainForm()->HandleValue();
    return nullptr;
}
} // namespace

const TClassInfo& TFontDialog::StaticClass()
{
    return MakeClassInfo<TFontDialog>("TFontDialog", &TComponent::StaticClass(), [](TClassBuilder<TFontDialog>& b) {
        b.Object<TFont>("Font", &TFontDialog::Font, &TFontDialog::SetFont);
    });
}

TFontDialog::TFontDialog(TComponent* owner) : TComponent(owner), FFont(std::make_unique<TFont>()) {}

bool TFontDialog::Execute()
{
    LOGFONTA lf;
    FFont->ToLogFont(lf);
    CHOOSEFONTA cf{};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = DialogOwner();
    cf.lpLogFont = &lf;
    cf.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
    cf.rgbColors = ColorToRGB(FFont->Color());
    if (!ChooseFontA(&cf))
        return false;
    FFont->FromLogFont(lf);
    FFont->SetColor(static_cast<TColor>(cf.rgbColors & 0xFFFFFF));
    return true;
}

const TClassInfo& TColorDialog::StaticClass()
{
    return MakeClassInfo<TColorDialog>("TColorDialog", &TComponent::StaticClass(), [](TClassBuilder<TColorDialog>& b) {
        b.Ordinal("Color", TypeColor(), &TColorDialog::Color, &TColorDialog::SetColor);
    });
}

bool TColorDialog::Execute()
{
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = DialogOwner();
    cc.rgbResult = ColorToRGB(FColor);
    cc.lpCustColors = FCustom;
    cc.Flags = CC_RGBINIT | CC_ANYCOLOR;
    if (!ChooseColorA(&cc))
        return false;
    FColor = static_cast<TColor>(cc.rgbResult & 0xFFFFFF);
    return true;
}
