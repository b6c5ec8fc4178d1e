#include "toolkit/ImgList.h"

#include <algorithm>
#include <functional>

namespace {

// Keeps the pixels of the destination where the source is white and puts
// the selected brush where it is black: a stencil through a monochrome
// bitmap.
const DWORD kBrushWhereBlack = 0x00B8074A;

// An opaque pixel darker than this (the mean of its channels) is part of
// the shape a disabled image shows; lighter ones drop out, as paper does
// under embossed text.
const int kInkLimit = 0xC0;

// The pixels of a bitmap, top row first, as 0x00RRGGBB.
bool ReadPixels(HBITMAP bitmap, int& width, int& height, std::vector<uint32_t>& pixels)
{
    BITMAP info{};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight == 0)
        return false;
    width = info.bmWidth;
    height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    BITMAPINFO bi = TopDownBitmapInfo(width, height);
    pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    WindowDC screen(nullptr);
    return GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(height), pixels.data(), &bi, DIB_RGB_COLORS) != 0;
}

uint32_t PixelOf(COLORREF c)
{
    return (static_cast<uint32_t>(GetRValue(c)) << 16) | (static_cast<uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
}

bool IsInk(uint32_t pixel)
{
    const int sum = static_cast<int>((pixel >> 16) & 0xFF) + static_cast<int>((pixel >> 8) & 0xFF) +
                    static_cast<int>(pixel & 0xFF);
    return sum < 3 * kInkLimit;
}

// A monochrome bitmap whose pixel (x, y) is white where `white` says so.
BitmapHandle MakeMonochrome(int width, int height, const std::function<bool(size_t)>& white)
{
    // Rows of a monochrome bitmap's bits are padded to 16 bits, leftmost
    // pixel in the highest bit.
    const int stride = (width + 15) / 16 * 2;
    std::vector<BYTE> bits(static_cast<size_t>(stride) * static_cast<size_t>(height), 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (white(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)))
                bits[static_cast<size_t>(y * stride + x / 8)] |= static_cast<BYTE>(0x80 >> (x % 8));
    return BitmapHandle(CreateBitmap(width, height, 1, 1, bits.data()));
}

// Sets the canvas's colours for monochrome sources (black stays black,
// white stays white) and puts them back afterwards.
class MonochromeColours {
public:
    explicit MonochromeColours(HDC dc)
        : FDC(dc), FText(SetTextColor(dc, RGB(0, 0, 0))), FBack(SetBkColor(dc, RGB(255, 255, 255)))
    {
    }
    MonochromeColours(const MonochromeColours&) = delete;
    MonochromeColours& operator=(const MonochromeColours&) = delete;
    ~MonochromeColours()
    {
        SetTextColor(FDC, FText);
        SetBkColor(FDC, FBack);
    }

private:
    HDC FDC;
    COLORREF FText;
    COLORREF FBack;
};

} // namespace

// ----------------------------------------------------------- change link

TChangeLink::~TChangeLink()
{
    SetImages(nullptr);
}

void TChangeLink::SetImages(TCustomImageList* value)
{
    if (value == FImages)
        return;
    if (value)
        value->RegisterChanges(this);
    else
        FImages->UnRegisterChanges(this);
}

void TChangeLink::Change()
{
    OnChange(FImages);
}

// ------------------------------------------------------------ image list

const TClassInfo& TCustomImageList::StaticClass()
{
    using T = TCustomImageList;
    return MakeClassInfo<T>("TCustomImageList", &TComponent::StaticClass(), [](TClassBuilder<T>& b) {
        b.Ordinal("Height", TypeInteger(), &T::Height, &T::SetHeight)
            .Ordinal("Width", TypeInteger(), &T::Width, &T::SetWidth);
    });
}

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) {}

TCustomImageList::~TCustomImageList()
{
    Destroying();
    for (TChangeLink* link : FLinks)
        link->FImages = nullptr;
    FLinks.clear();
}

void TCustomImageList::SetSize(int width, int height)
{
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (width == FWidth && height == FHeight)
        return;
    FWidth = width;
    FHeight = height;
    Rebuild({}, {}, 0);
    Change();
}

void TCustomImageList::Clear()
{
    if (FCount == 0)
        return;
    Rebuild({}, {}, 0);
    Change();
}

int TCustomImageList::Add(HBITMAP image, HBITMAP mask)
{
    int mw = 0, mh = 0;
    std::vector<uint32_t> maskPixels;
    if (mask && !ReadPixels(mask, mw, mh, maskPixels))
        mw = mh = 0;
    return AddStrip(image, [&](int x, int y, uint32_t) {
        return x < mw && y < mh && (maskPixels[static_cast<size_t>(y * mw + x)] & 0xFFFFFF) != 0;
    });
}

int TCustomImageList::AddMasked(HBITMAP image, TColor transparentColor)
{
    const uint32_t clear = PixelOf(ColorToRGB(transparentColor));
    return AddStrip(image, [clear](int, int, uint32_t pixel) { return pixel == clear; });
}

int TCustomImageList::AddStrip(HBITMAP image, const std::function<bool(int x, int y, uint32_t pixel)>& transparent)
{
    int w = 0, h = 0;
    std::vector<uint32_t> pixels;
    if (!ReadPixels(image, w, h, pixels) || w / FWidth <= 0)
        return -1;
    const int count = w / FWidth, first = FCount;
    // The strip grows: the old images, then the new ones, row by row.
    const int oldWidth = FCount * FWidth, newWidth = oldWidth + count * FWidth;
    std::vector<uint32_t> all(static_cast<size_t>(newWidth) * static_cast<size_t>(FHeight), 0);
    std::vector<bool> opaque(all.size(), false);
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < newWidth; ++x) {
            const size_t to = static_cast<size_t>(y * newWidth + x);
            if (x < oldWidth) {
                all[to] = FBits[y * oldWidth + x];
                opaque[to] = FOpaque[static_cast<size_t>(y * oldWidth + x)];
            } else if (const int sx = x - oldWidth; y < h) {
                const uint32_t p = pixels[static_cast<size_t>(y * w + sx)] & 0xFFFFFF;
                if (!transparent(sx, y, p)) {
                    all[to] = p;
                    opaque[to] = true;
                }
            }
        }
    Rebuild(std::move(all), std::move(opaque), FCount + count);
    Change();
    return first;
}

void TCustomImageList::Rebuild(std::vector<uint32_t> pixels, std::vector<bool> opaque, int count)
{
    FImage.Reset();
    FMask.Reset();
    FInk.Reset();
    FBits = nullptr;
    FOpaque.clear();
    FCount = 0;
    if (count <= 0)
        return;
    const int width = count * FWidth;
    BITMAPINFO bi = TopDownBitmapInfo(width, FHeight);
    void* bits = nullptr;
    FImage.Reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!FImage || !bits) {
        FImage.Reset();
        return;
    }
    FBits = static_cast<uint32_t*>(bits);
    std::copy(pixels.begin(), pixels.end(), FBits);
    FOpaque = std::move(opaque);
    FMask = MakeMonochrome(width, FHeight, [&](size_t i) { return !FOpaque[i]; });
    FInk = MakeMonochrome(width, FHeight, [&](size_t i) { return !(FOpaque[i] && IsInk(FBits[i])); });
    FCount = count;
}

void TCustomImageList::Draw(HDC canvas, int x, int y, int index, bool enabled) const
{
    if (index < 0 || index >= FCount || !FImage || !FMask || !FInk)
        return;
    MemoryDC source(canvas);
    MonochromeColours colours(canvas);
    const int sx = index * FWidth;
    if (enabled) {
        // Black where the image goes, then its colours into the black
        // (its transparent pixels are black and leave the canvas alone).
        {
            SelectScope mask(source.Get(), FMask.Get());
            BitBlt(canvas, x, y, FWidth, FHeight, source.Get(), sx, 0, SRCAND);
        }
        SelectScope image(source.Get(), FImage.Get());
        BitBlt(canvas, x, y, FWidth, FHeight, source.Get(), sx, 0, SRCPAINT);
        return;
    }
    SelectScope ink(source.Get(), FInk.Get());
    const struct {
        int offset;
        TColor color;
    } layers[] = {{1, clBtnHighlight}, {0, clBtnShadow}};
    for (const auto& layer : layers) {
        BrushHandle brush = MakeSolidBrush(layer.color);
        SelectScope selectBrush(canvas, brush.Get());
        BitBlt(canvas, x + layer.offset, y + layer.offset, FWidth, FHeight, source.Get(), sx, 0, kBrushWhereBlack);
    }
}

void TCustomImageList::RegisterChanges(TChangeLink* link)
{
    if (!link || link->FImages == this)
        return;
    if (link->FImages)
        link->FImages->UnRegisterChanges(link);
    FLinks.push_back(link);
    link->FImages = this;
}

void TCustomImageList::UnRegisterChanges(TChangeLink* link)
{
    FLinks.erase(std::remove(FLinks.begin(), FLinks.end(), link), FLinks.end());
    if (link && link->FImages == this)
        link->FImages = nullptr;
}

void TCustomImageList::Change()
{
    // A listener may end its own or another's subscription meanwhile.
    const std::vector<TChangeLink*> links = FLinks;
    for (TChangeLink* link : links)
        if (std::find(FLinks.begin(), FLinks.end(), link) != FLinks.end())
            link->Change();
    OnChange(this);
}
