#include "toolbar/items/TBDrawing.h"

#include <cstring>

std::string StripAccelChars(const std::string& caption)
{
    std::string out;
    out.reserve(caption.size());
    for (size_t i = 0; i < caption.size(); ++i) {
        char c = caption[i];
        if (IsDBCSLeadByte(static_cast<BYTE>(c)) && i + 1 < caption.size()) {
            out += c;
            out += caption[++i];
            continue;
        }
        if (c == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&')
                out += caption[++i];
            continue;
        }
        out += c;
    }
    return out;
}

namespace {

// The position of the accelerator in the caption and in the shown text.
void FindAccel(const std::string& caption, size_t& inCaption, int& inShown)
{
    inCaption = std::string::npos;
    inShown = -1;
    int shown = 0;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(caption[i])) && i + 1 < caption.size()) {
            ++i;
            shown += 2;
            continue;
        }
        if (caption[i] != '&') {
            ++shown;
            continue;
        }
        if (i + 1 < caption.size() && caption[i + 1] == '&') {
            ++i;
            ++shown;
            continue;
        }
        if (i + 1 < caption.size()) {
            inCaption = i + 1;
            inShown = shown;
        }
    }
}

FontHandle& SharedMenuFont()
{
    static FontHandle font;
    return font;
}

} // namespace

char FindAccelChar(const std::string& caption)
{
    size_t at;
    int shown;
    FindAccel(caption, at, shown);
    return at == std::string::npos ? '\0' : caption[at];
}

int AccelIndexInStripped(const std::string& caption)
{
    size_t at;
    int shown;
    FindAccel(caption, at, shown);
    return shown;
}

int CaptionTextWidth(HDC canvas, const std::string& caption)
{
    std::string text = StripAccelChars(caption);
    SIZE s{0, 0};
    if (!text.empty())
        GetTextExtentPoint32A(canvas, text.c_str(), static_cast<int>(text.size()), &s);
    return s.cx;
}

HFONT SystemMenuFont()
{
    FontHandle& font = SharedMenuFont();
    if (!font) {
        NONCLIENTMETRICSA ncm{};
        ncm.cbSize = sizeof ncm;
        if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0))
            font.Reset(CreateFontIndirectA(&ncm.lfMenuFont));
        else
            return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }
    return font.Get();
}

void RefreshSystemMenuFont()
{
    SharedMenuFont().Reset();
}

FontHandle MakeBoldFont(HFONT font)
{
    LOGFONTA lf{};
    GetObjectA(font, sizeof lf, &lf);
    lf.lfWeight = FW_BOLD;
    return FontHandle(CreateFontIndirectA(&lf));
}

namespace {
int CALLBACK FaceFound(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}
} // namespace

FontHandle MakeRotatedFont(HFONT font)
{
    LOGFONTA lf{};
    GetObjectA(font, sizeof lf, &lf);
    if (_stricmp(lf.lfFaceName, "MS Sans Serif") == 0 || _stricmp(lf.lfFaceName, "Microsoft Sans Serif") == 0)
        std::strcpy(lf.lfFaceName, "Arial");
    if (std::strlen(lf.lfFaceName) <= 30) {
        LOGFONTA probe{};
        probe.lfCharSet = DEFAULT_CHARSET;
        probe.lfFaceName[0] = '@';
        std::strcpy(probe.lfFaceName + 1, lf.lfFaceName);
        bool found = false;
        const HDC dc = TextMeasuringDC();
        EnumFontFamiliesExA(dc, &probe, &FaceFound, reinterpret_cast<LPARAM>(&found), 0);
        if (found)
            std::memcpy(lf.lfFaceName, probe.lfFaceName, sizeof lf.lfFaceName);
    }
    lf.lfEscapement = 2700;
    lf.lfOrientation = 2700;
    return FontHandle(CreateFontIndirectA(&lf));
}

BrushHandle MakeCheckerboardBrush()
{
    COLORREF face = ColorToRGB(clBtnFace);
    COLORREF light = ColorToRGB(clBtnHighlight);
    DWORD bits[64];
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            COLORREF c = ((x + y) & 1) ? light : face;
            bits[y * 8 + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    BitmapHandle bmp(CreateBitmap(8, 8, 1, 32, bits));
    return BrushHandle(CreatePatternBrush(bmp.Get()));
}
