#include "toolkit/Graphics.h"

#include <cstring>

namespace {
long gLiveGdiObjects = 0;
}

void gdi_detail::Counted(bool created)
{
    gLiveGdiObjects += created ? 1 : -1;
}

long LiveGdiObjects()
{
    return gLiveGdiObjects;
}

COLORREF ColorToRGB(TColor color)
{
    if (color < 0)
        return GetSysColor(color & 0xFF);
    return static_cast<COLORREF>(color) & 0xFFFFFF;
}

BrushHandle MakeSolidBrush(TColor color)
{
    return BrushHandle(CreateSolidBrush(ColorToRGB(color)));
}

int ScreenPixelsPerInch()
{
    static const int ppi = [] {
        WindowDC screen(nullptr);
        int v = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
        return v > 0 ? v : 96;
    }();
    return ppi;
}

HDC TextMeasuringDC()
{
    static const MemoryDC dc(nullptr);
    return dc.Get();
}

const TTypeInfo& TypeFontStyle()
{
    static const TTypeInfo t = MakeEnumType("TFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"});
    return t;
}

const TTypeInfo& TypeFontStyles()
{
    static const TTypeInfo t = MakeSetType("TFontStyles", TypeFontStyle());
    return t;
}

const TTypeInfo& TypeFontPitch()
{
    static const TTypeInfo t = MakeEnumType("TFontPitch", {"fpDefault", "fpVariable", "fpFixed"});
    return t;
}

const TTypeInfo& TypeFontCharset()
{
    static const TTypeInfo t = MakeIntegerType("TFontCharset");
    return t;
}

const TClassInfo& TFont::StaticClass()
{
    return MakeClassInfo<TFont>("TFont", &TPersistent::StaticClass(), [](TClassBuilder<TFont>& b) {
        b.Ordinal("Charset", TypeFontCharset(), &TFont::Charset, &TFont::SetCharset)
            .Ordinal("Color", TypeColor(), &TFont::Color, &TFont::SetColor)
            .Ordinal("Height", TypeInteger(), &TFont::Height, &TFont::SetHeight)
            .String("Name", TypeString(), &TFont::Name, &TFont::SetName)
            .Ordinal("Pitch", TypeFontPitch(), &TFont::Pitch, &TFont::SetPitch)
            .Ordinal("Size", TypeInteger(), &TFont::Size, &TFont::SetSize)
            .Ordinal("Style", TypeFontStyles(), &TFont::Style, &TFont::SetStyle);
    });
}

TFont::TFont() = default;

void TFont::Assign(const TPersistent* source)
{
    auto* other = dynamic_cast<const TFont*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (Equals(*other))
        return;
    FCharset = other->FCharset;
    FColor = other->FColor;
    FHeight = other->FHeight;
    FName = other->FName;
    FPitch = other->FPitch;
    FStyle = other->FStyle;
    Changed();
}

bool TFont::Equals(const TFont& other) const
{
    return FCharset == other.FCharset && FColor == other.FColor && FHeight == other.FHeight && FName == other.FName &&
           FPitch == other.FPitch && FStyle == other.FStyle;
}

void TFont::SetCharset(int value)
{
    // A character set is one byte in a font description.
    value &= 0xFF;
    if (value == FCharset)
        return;
    FCharset = value;
    Changed();
}

void TFont::SetColor(TColor value)
{
    if (value == FColor)
        return;
    FColor = value;
    Changed();
}

void TFont::SetHeight(int value)
{
    if (value == FHeight)
        return;
    FHeight = value;
    Changed();
}

void TFont::SetName(const std::string& value)
{
    // A face name longer than the platform holds is cut, as the font
    // dialog and GDI would; an empty name falls back to the default face.
    std::string name = value.empty() ? std::string("MS Sans Serif") : value.substr(0, LF_FACESIZE - 1);
    if (name == FName)
        return;
    FName = name;
    Changed();
}

void TFont::SetPitch(TFontPitch value)
{
    if (value < fpDefault || value > fpFixed)
        value = fpDefault;
    if (value == FPitch)
        return;
    FPitch = value;
    Changed();
}

int TFont::Size() const
{
    return -MulDiv(FHeight, 72, ScreenPixelsPerInch());
}

void TFont::SetSize(int value)
{
    SetHeight(-MulDiv(value, ScreenPixelsPerInch(), 72));
}

void TFont::SetStyle(TFontStyles value)
{
    value &= 0xF;
    if (value == FStyle)
        return;
    FStyle = value;
    Changed();
}

void TFont::Changed()
{
    FHandle.Reset();
    OnChange(this);
}

void TFont::ToLogFont(LOGFONTA& lf) const
{
    std::memset(&lf, 0, sizeof lf);
    lf.lfHeight = FHeight;
    lf.lfWeight = (FStyle & FontStyleBit(fsBold)) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (FStyle & FontStyleBit(fsItalic)) ? 1 : 0;
    lf.lfUnderline = (FStyle & FontStyleBit(fsUnderline)) ? 1 : 0;
    lf.lfStrikeOut = (FStyle & FontStyleBit(fsStrikeOut)) ? 1 : 0;
    lf.lfCharSet = static_cast<BYTE>(FCharset);
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = FPitch == fpFixed ? FIXED_PITCH : FPitch == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
    std::strncpy(lf.lfFaceName, FName.c_str(), LF_FACESIZE - 1);
}

void TFont::FromLogFont(const LOGFONTA& lf)
{
    TFont f;
    f.FHeight = lf.lfHeight;
    f.FStyle = (lf.lfWeight >= FW_BOLD ? FontStyleBit(fsBold) : 0) | (lf.lfItalic ? FontStyleBit(fsItalic) : 0) |
               (lf.lfUnderline ? FontStyleBit(fsUnderline) : 0) | (lf.lfStrikeOut ? FontStyleBit(fsStrikeOut) : 0);
    f.FCharset = lf.lfCharSet;
    int pitch = lf.lfPitchAndFamily & 3;
    f.FPitch = pitch == FIXED_PITCH ? fpFixed : pitch == VARIABLE_PITCH ? fpVariable : fpDefault;
    f.FName = std::string(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
    f.FColor = FColor;
    Assign(&f);
}

HFONT TFont::Handle() const
{
    if (!FHandle) {
        LOGFONTA lf;
        ToLogFont(lf);
        FHandle.Reset(CreateFontIndirectA(&lf));
    }
    return FHandle.Get();
}
