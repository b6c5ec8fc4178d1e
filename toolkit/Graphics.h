#pragma once
// Colours, fonts and the GDI handle wrappers. Every GDI handle the program
// makes lives in a move-only wrapper that deletes it; a live count of those
// handles lets tests catch leaks (Wine's GetGuiResources always answers 0).
#include "toolkit/Events.h"
#include "toolkit/Object.h"

#include <windows.h>
#include <cstdint>
#include <string>

// A colour: a red-green-blue triple in the low three bytes, or with the top
// bit set a system colour index in the low byte, resolved when painting.
using TColor = int32_t;

constexpr TColor SystemColor(int index) { return static_cast<TColor>(0x80000000u | static_cast<uint32_t>(index)); }
constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE);       // 0x8000000F
constexpr TColor clWindow = SystemColor(COLOR_WINDOW);         // 0x80000005
constexpr TColor clWindowText = SystemColor(COLOR_WINDOWTEXT); // 0x80000008
constexpr TColor clBtnText = SystemColor(COLOR_BTNTEXT);
constexpr TColor clBtnShadow = SystemColor(COLOR_BTNSHADOW);
constexpr TColor clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT);
constexpr TColor clGrayText = SystemColor(COLOR_GRAYTEXT);
constexpr TColor clWindowFrame = SystemColor(COLOR_WINDOWFRAME);
constexpr TColor clInfoBk = SystemColor(COLOR_INFOBK);
constexpr TColor clInfoText = SystemColor(COLOR_INFOTEXT);
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;

// The red-green-blue value a colour has now: system colours are looked up.
COLORREF ColorToRGB(TColor color);

// Number of GDI objects currently held by the program's wrappers.
long LiveGdiObjects();

namespace gdi_detail {
void Counted(bool created);
}

// Owns one GDI object (font, brush, pen, bitmap, region) and deletes it.
template <class H>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(H handle) : FHandle(handle)
    {
        if (FHandle)
            gdi_detail::Counted(true);
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    GdiObject(GdiObject&& other) noexcept : FHandle(other.FHandle) { other.FHandle = nullptr; }
    GdiObject& operator=(GdiObject&& other) noexcept
    {
        if (this != &other) {
            Reset();
            FHandle = other.FHandle;
            other.FHandle = nullptr;
        }
        return *this;
    }
    ~GdiObject() { Reset(); }

    void Reset(H handle = nullptr)
    {
        if (FHandle) {
            DeleteObject(FHandle);
            gdi_detail::Counted(false);
        }
        FHandle = handle;
        if (FHandle)
            gdi_detail::Counted(true);
    }
    H Get() const { return FHandle; }
    explicit operator bool() const { return FHandle != nullptr; }

private:
    H FHandle = nullptr;
};

using FontHandle = GdiObject<HFONT>;
using BrushHandle = GdiObject<HBRUSH>;
using PenHandle = GdiObject<HPEN>;
using BitmapHandle = GdiObject<HBITMAP>;

// Selects an object into a device context and puts the previous one back.
class SelectScope {
public:
    SelectScope(HDC dc, HGDIOBJ object) : FDC(dc), FOld(SelectObject(dc, object)) {}
    SelectScope(const SelectScope&) = delete;
    SelectScope& operator=(const SelectScope&) = delete;
    ~SelectScope()
    {
        if (FOld)
            SelectObject(FDC, FOld);
    }

private:
    HDC FDC;
    HGDIOBJ FOld;
};

// The header of a 32-bit bitmap with its top row first, whose pixels read
// as 0x00RRGGBB: what the program builds and reads images in.
inline BITMAPINFO TopDownBitmapInfo(int width, int height)
{
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

// A window's device context, released on scope exit: of its client area
// (GetDC), or of the whole window, frame included (GetWindowDC), when asked
// with WindowDC::WholeWindow.
class WindowDC {
public:
    struct WholeWindowTag {};
    static constexpr WholeWindowTag WholeWindow{};

    explicit WindowDC(HWND wnd) : FWnd(wnd), FDC(GetDC(wnd)) {}
    WindowDC(HWND wnd, WholeWindowTag) : FWnd(wnd), FDC(GetWindowDC(wnd)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC()
    {
        if (FDC)
            ReleaseDC(FWnd, FDC);
    }
    HDC Get() const { return FDC; }

private:
    HWND FWnd;
    HDC FDC;
};

// A memory device context from CreateCompatibleDC, deleted on scope exit.
class MemoryDC {
public:
    explicit MemoryDC(HDC compatible) : FDC(CreateCompatibleDC(compatible)) {}
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    ~MemoryDC()
    {
        if (FDC)
            DeleteDC(FDC);
    }
    HDC Get() const { return FDC; }

private:
    HDC FDC;
};

// BeginPaint/EndPaint around one WM_PAINT.
class PaintScope {
public:
    explicit PaintScope(HWND wnd) : FWnd(wnd) { FDC = BeginPaint(wnd, &FPaint); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { EndPaint(FWnd, &FPaint); }
    HDC Get() const { return FDC; }
    const RECT& Rect() const { return FPaint.rcPaint; }

private:
    HWND FWnd;
    HDC FDC;
    PAINTSTRUCT FPaint{};
};

// Saves a device context's state and restores it on scope exit.
class SaveDCScope {
public:
    explicit SaveDCScope(HDC dc) : FDC(dc), FSaved(SaveDC(dc)) {}
    SaveDCScope(const SaveDCScope&) = delete;
    SaveDCScope& operator=(const SaveDCScope&) = delete;
    ~SaveDCScope() { RestoreDC(FDC, FSaved); }

private:
    HDC FDC;
    int FSaved;
};

// The mouse capture for a window, held while this object lives (a drag or
// a tracking loop), released when it goes or earlier by Release. It never
// releases a capture some other window has taken meanwhile. Movable, so
// that a loop can hand it on; copying is not.
class MouseCapture {
public:
    explicit MouseCapture(HWND wnd) : FWnd(wnd) { SetCapture(wnd); }
    MouseCapture(MouseCapture&& other) noexcept : FWnd(other.FWnd) { other.FWnd = nullptr; }
    MouseCapture& operator=(MouseCapture&& other) noexcept
    {
        if (this != &other) {
            Release();
            FWnd = other.FWnd;
            other.FWnd = nullptr;
        }
        return *this;
    }
    MouseCapture(const MouseCapture&) = delete;
    MouseCapture& operator=(const MouseCapture&) = delete;
    ~MouseCapture() { Release(); }

    // True while the window still has the capture (the platform takes it
    // away when another window captures or the window goes).
    bool Held() const { return FWnd && GetCapture() == FWnd; }
    void Release()
    {
        if (Held())
            ReleaseCapture();
        FWnd = nullptr;
    }

private:
    HWND FWnd;
};

BrushHandle MakeSolidBrush(TColor color);

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = uint32_t; // bit (1 << TFontStyle)
enum TFontPitch { fpDefault, fpVariable, fpFixed };

constexpr TFontStyles FontStyleBit(TFontStyle s) { return 1u << s; }

const TTypeInfo& TypeFontStyle();
const TTypeInfo& TypeFontStyles();
const TTypeInfo& TypeFontPitch();
const TTypeInfo& TypeFontCharset();

// The screen's pixels per inch (vertical), read once.
int ScreenPixelsPerInch();

// A memory device context compatible with the screen, made on first use and
// kept for the program's life, for measuring text and asking about fonts: it
// answers as the screen does, and unlike a screen context from GetDC it costs
// no call into the window system each time. Whoever selects a font into it
// puts the old one back (SelectScope).
HDC TextMeasuringDC();

// A font description with its own published properties and a handle made
// on demand. Setting Size sets Height for the screen's pixels per inch, and
// Size is derived from Height, so the two never disagree.
class TFont : public TPersistent {
public:
    QV_CLASS(TFont, TPersistent)

    TFont();
    void Assign(const TPersistent* source) override;
    bool Equals(const TFont& other) const;

    int Charset() const { return FCharset; }
    void SetCharset(int value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    int Height() const { return FHeight; }
    void SetHeight(int value);
    const std::string& Name() const { return FName; }
    void SetName(const std::string& value);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch value);
    int Size() const;
    void SetSize(int value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles value);

    // The handle for the current description, made on first use after a change.
    HFONT Handle() const;
    void ToLogFont(LOGFONTA& lf) const;
    void FromLogFont(const LOGFONTA& lf);

    TNotifyEvent OnChange;

private:
    void Changed();

    int FCharset = DEFAULT_CHARSET;
    TColor FColor = clWindowText;
    int FHeight = -11;
    std::string FName = "MS Sans Serif";
    TFontPitch FPitch = fpDefault;
    TFontStyles FStyle = 0;
    mutable FontHandle FHandle;
};
