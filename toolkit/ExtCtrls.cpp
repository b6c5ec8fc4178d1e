#include "toolkit/ExtCtrls.h"

const TTypeInfo& TypePanelBevel()
{
    static const TTypeInfo t = MakeEnumType("TPanelBevel", {"bvNone", "bvLowered", "bvRaised", "bvSpace"});
    return t;
}

// ------------------------------------------------------------------ TPanel

const TClassInfo& TPanel::StaticClass()
{
    return MakeClassInfo<TPanel>("TPanel", &TCustomControl::StaticClass(), [](TClassBuilder<TPanel>& b) {
        b.Ordinal("BevelInner", TypePanelBevel(), &TPanel::BevelInner, &TPanel::SetBevelInner)
            .Ordinal("BevelOuter", TypePanelBevel(), &TPanel::BevelOuter, &TPanel::SetBevelOuter);
    });
}

TPanel::TPanel(TComponent* owner) : TCustomControl(owner) {}

void TPanel::SetBevelInner(TPanelBevel value)
{
    if (value == FBevelInner)
        return;
    FBevelInner = value;
    Invalidate();
}

void TPanel::SetBevelOuter(TPanelBevel value)
{
    if (value == FBevelOuter)
        return;
    FBevelOuter = value;
    Invalidate();
}

void TPanel::SetBorderStyle(TBorderStyle value)
{
    if (value == FBorderStyle)
        return;
    FBorderStyle = value;
    Invalidate();
}

void TPanel::Paint(HDC dc)
{
    RECT r = ClientRect();
    if (FBorderStyle == bsSingleBorder) {
        BrushHandle frame = MakeSolidBrush(clWindowFrame);
        FrameRect(dc, &r, frame.Get());
        InflateRect(&r, -1, -1);
    }
    auto edge = [&](TPanelBevel bevel) {
        if (bevel == bvLowered)
            DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        else if (bevel == bvRaised)
            DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
        else if (bevel == bvSpace)
            InflateRect(&r, -1, -1);
    };
    edge(FBevelOuter);
    edge(FBevelInner);
    if (!GetText().empty()) {
        SelectScope font(dc, Font()->Handle());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ColorToRGB(Font()->Color()));
        DrawTextA(dc, GetText().c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
}

// ---------------------------------------------------------------- TGraphic

const TClassInfo& TGraphic::StaticClass()
{
    return MakeClassInfo<TGraphic>("TGraphic", &TPersistent::StaticClass(), [](auto&) {});
}

// ------------------------------------------------------------------ TImage

const TClassInfo& TImage::StaticClass()
{
    return MakeClassInfo<TImage>("TImage", &TGraphicControl::StaticClass(), [](TClassBuilder<TImage>& b) {
        b.Ordinal("AutoSize", TypeBoolean(), &TImage::AutoSize, &TImage::SetAutoSize);
    });
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {}

TImage::~TImage() = default;

void TImage::SetPicture(std::unique_ptr<TGraphic> picture)
{
    FPicture = std::move(picture);
    if (FPicture)
        FPicture->OnChange = MakeMethod<&TImage::PictureChanged>(this);
    PictureChanged(FPicture.get());
}

void TImage::PictureChanged(TObject*)
{
    AdjustSize();
    Invalidate();
}

void TImage::SetAutoSize(bool value)
{
    FAutoSize = value;
    AdjustSize();
}

void TImage::AdjustSize()
{
    if (FAutoSize && FPicture && !FPicture->Empty())
        SetBounds(Left(), Top(), FPicture->Width(), FPicture->Height());
}

void TImage::PaintOn(HDC dc)
{
    if (FPicture && !FPicture->Empty()) {
        RECT r{0, 0, FPicture->Width(), FPicture->Height()};
        FPicture->Draw(dc, r);
    }
}

// ---------------------------------------------------------- TIntegerHolder

const TClassInfo& TIntegerHolder::StaticClass()
{
    return MakeClassInfo<TIntegerHolder>("TIntegerHolder", &TControl::StaticClass(), [](TClassBuilder<TIntegerHolder>& b) {
        b.Ordinal("Value", TypeInteger(), &TIntegerHolder::Value, &TIntegerHolder::SetValue);
    });
}

TIntegerHolder::TIntegerHolder(TComponent* owner) : TControl(owner)
{
    SetVisible(false);
}
