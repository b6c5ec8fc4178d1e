#pragma once
// The decoded picture: a device-independent bitmap whose rows libjpeg
// writes straight into, with its colour table for 8-bit pictures, and the
// palette that 8-bit displays draw it through.
#include "toolkit/Exceptions.h"
#include "toolkit/Graphics.h"

#include <windows.h>
#include <cstdint>

using PaletteHandle = GdiObject<HPALETTE>;

// The platform could not give a bitmap of the size asked.
class EOutOfResources : public Exception {
public:
    EOutOfResources() : Exception("Out of system resources") {}
};

class TDIBitmap {
public:
    // A top-down bitmap of 8 (with a colour table) or 24 bits per pixel.
    TDIBitmap(int width, int height, int bitsPerPixel);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int BitsPerPixel() const { return FBitsPerPixel; }
    HBITMAP Handle() const { return FHandle.Get(); }

    // Rows lie top-down in memory, each Stride() bytes (a multiple of 4)
    // after the one above.
    bool TopDown() const { return true; }
    int Stride() const { return FStride; }
    uint8_t* Row(int y) const { return FBits + static_cast<ptrdiff_t>(y) * FStride; }

    // The colour table of an 8-bit bitmap (at most 256 entries).
    void SetColors(const RGBQUAD* colors, int count);
    int ColorCount() const { return FColorCount; }
    RGBQUAD Color(int index) const { return FColors[index]; }
    // The colour a pixel shows, as a COLORREF.
    COLORREF Pixel(int x, int y) const;

    // A logical palette of the colour table, for displays of 8 or fewer bits.
    PaletteHandle MakePalette() const;

    // Draws the bitmap stretched into the rectangle of a device context.
    void Draw(HDC dc, const RECT& rect) const;

private:
    int FWidth;
    int FHeight;
    int FBitsPerPixel;
    int FStride;
    uint8_t* FBits = nullptr;
    BitmapHandle FHandle;
    RGBQUAD FColors[256]{};
    int FColorCount = 0;
};

// Selects a palette into a device context and realises it; puts the
// previous palette back on scope exit.
class PaletteScope {
public:
    PaletteScope(HDC dc, HPALETTE palette);
    PaletteScope(const PaletteScope&) = delete;
    PaletteScope& operator=(const PaletteScope&) = delete;
    ~PaletteScope();

private:
    HDC FDC;
    HPALETTE FOld;
};

// True when the screen shows 8 or fewer bits per pixel (bits × planes).
bool ScreenHasPalette();
