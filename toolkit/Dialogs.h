#pragma once
// The platform's common dialogs for fonts and colours, as components that
// keep their last value between uses.
#include "toolkit/Component.h"
#include "toolkit/Graphics.h"

#include <memory>

class TFontDialog : public TComponent {
public:
    QV_CLASS(TFontDialog, TComponent)
    explicit TFontDialog(TComponent* owner);

    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* value) { FFont->Assign(value); }
    // Shows the dialog (screen fonts, effects, colour); true when confirmed,
    // and then Font holds the choice.
    bool Execute();

private:
    std::unique_ptr<TFont> FFont;
};

class TColorDialog : public TComponent {
public:
    QV_CLASS(TColorDialog, TComponent)
    using TComponent::TComponent;

    TColor Color() const { return FColor; }
    void SetColor(TColor value) { FColor = value; }
    // Offers the current colour as the red-green-blue value it has now; true
    // when confirmed, and then Color holds the chosen red-green-blue value.
    bool Execute();

private:
    TColor FColor = clBlack;
    COLORREF FCustom[16] = {};
};
