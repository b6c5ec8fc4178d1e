#include "picture/DIBitmap.h"

#include <cstring>
#include <vector>

namespace {
struct BitmapInfo256 {
    BITMAPINFOHEADER Header;
    RGBQUAD Colors[256];
};
} // namespace

TDIBitmap::TDIBitmap(int width, int height, int bitsPerPixel)
    : FWidth(width), FHeight(height), FBitsPerPixel(bitsPerPixel),
      FStride(((width * bitsPerPixel + 31) / 32) * 4)
{
    // A damaged header can claim a picture of thousands of millions of
    // pixels; such a bitmap is refused rather than half made.
    const int64_t bytes = static_cast<int64_t>(FStride) * height;
    if (width <= 0 || height <= 0 || bytes > (int64_t{1} << 31))
        throw EOutOfResources();
    BitmapInfo256 info{};
    info.Header.biSize = sizeof info.Header;
    info.Header.biWidth = width;
    info.Header.biHeight = -height; // top-down
    info.Header.biPlanes = 1;
    info.Header.biBitCount = static_cast<WORD>(bitsPerPixel);
    info.Header.biCompression = BI_RGB;
    void* bits = nullptr;
    FHandle.Reset(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!FHandle || !bits)
        throw EOutOfResources();
    FBits = static_cast<uint8_t*>(bits);
}

void TDIBitmap::SetColors(const RGBQUAD* colors, int count)
{
    FColorCount = count;
    std::memcpy(FColors, colors, sizeof(RGBQUAD) * static_cast<size_t>(count));
    MemoryDC dc(nullptr);
    SelectScope selected(dc.Get(), FHandle.Get());
    SetDIBColorTable(dc.Get(), 0, static_cast<UINT>(count), FColors);
}

COLORREF TDIBitmap::Pixel(int x, int y) const
{
    const uint8_t* p = Row(y);
    if (FBitsPerPixel == 8) {
        RGBQUAD c = FColors[p[x]];
        return RGB(c.rgbRed, c.rgbGreen, c.rgbBlue);
    }
    p += x * 3;
    return RGB(p[2], p[1], p[0]);
}

PaletteHandle TDIBitmap::MakePalette() const
{
    std::vector<unsigned char> buffer(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * 256);
    auto* palette = reinterpret_cast<LOGPALETTE*>(buffer.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = static_cast<WORD>(FColorCount);
    for (int i = 0; i < FColorCount; ++i)
        palette->palPalEntry[i] = PALETTEENTRY{FColors[i].rgbRed, FColors[i].rgbGreen, FColors[i].rgbBlue, 0};
    return PaletteHandle(CreatePalette(palette));
}

void TDIBitmap::Draw(HDC dc, const RECT& rect) const
{
    MemoryDC source(dc);
    SelectScope selected(source.Get(), FHandle.Get());
    const int w = rect.right - rect.left;
    const int h = rect.bottom - rect.top;
    if (w == FWidth && h == FHeight) {
        BitBlt(dc, rect.left, rect.top, w, h, source.Get(), 0, 0, SRCCOPY);
        return;
    }
    int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, rect.left, rect.top, w, h, source.Get(), 0, 0, FWidth, FHeight, SRCCOPY);
    SetStretchBltMode(dc, oldMode);
}

PaletteScope::PaletteScope(HDC dc, HPALETTE palette) : FDC(dc), FOld(SelectPalette(dc, palette, FALSE))
{
    RealizePalette(dc);
}

PaletteScope::~PaletteScope()
{
    if (FOld)
        SelectPalette(FDC, FOld, TRUE);
}

bool ScreenHasPalette()
{
    WindowDC screen(nullptr);
    return GetDeviceCaps(screen.Get(), BITSPIXEL) * GetDeviceCaps(screen.Get(), PLANES) <= 8;
}
