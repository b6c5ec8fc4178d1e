#pragma once
// Panels, the picture widget and the hidden integer holder: controls that
// the program paints (or keeps) itself.
#include "toolkit/Controls.h"

enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };
enum TBorderStyle { bsNoBorder, bsSingleBorder };

const TTypeInfo& TypePanelBevel();

// A container with optional bevels and a flat one-pixel border.
class TPanel : public TCustomControl {
public:
    QV_CLASS(TPanel, TCustomControl)
    explicit TPanel(TComponent* owner);

    TPanelBevel BevelInner() const { return FBevelInner; }
    void SetBevelInner(TPanelBevel value);
    TPanelBevel BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TPanelBevel value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);

protected:
    void Paint(HDC dc) override;

private:
    TPanelBevel FBevelInner = bvNone;
    TPanelBevel FBevelOuter = bvRaised;
    TBorderStyle FBorderStyle = bsNoBorder;
};

class TStream;

// Something the picture widget can draw: the JPEG picture gives one.
class TGraphic : public TPersistent {
public:
    QV_CLASS(TGraphic, TPersistent)
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // A kind whose size comes from its data raises an error instead.
    virtual void SetWidth(int value) = 0;
    virtual void SetHeight(int value) = 0;
    virtual bool Empty() const = 0;
    virtual void Draw(HDC dc, const RECT& rect) = 0;
    // Takes every byte from the stream's position to its end.
    virtual void LoadFromStream(TStream& stream) = 0;
    // Reads the kind's own stored form, as a window layout holds it.
    virtual void ReadData(TStream& stream) = 0;

    // Fired when the picture changed: new data, another size.
    TNotifyEvent OnChange;

protected:
    void Changed() { OnChange(this); }
};

// Shows one picture, sized to it when AutoSize is on.
class TImage : public TGraphicControl {
public:
    QV_CLASS(TImage, TGraphicControl)
    explicit TImage(TComponent* owner);
    ~TImage() override;

    TGraphic* Picture() const { return FPicture.get(); }
    // Takes ownership of the picture.
    void SetPicture(std::unique_ptr<TGraphic> picture);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);

    void PaintOn(HDC dc) override;

private:
    void PictureChanged(TObject* sender);
    void AdjustSize();
    std::unique_ptr<TGraphic> FPicture;
    bool FAutoSize = false;
};

// Holds one signed integer for the program's own bookkeeping; never shown
// and never edited by the user. Any value written reads back unchanged.
class TIntegerHolder : public TControl {
public:
    QV_CLASS(TIntegerHolder, TControl)
    explicit TIntegerHolder(TComponent* owner);

    int Value() const { return FValue; }
    void SetValue(int value) { FValue = value; }

private:
    int FValue = 0;
};
