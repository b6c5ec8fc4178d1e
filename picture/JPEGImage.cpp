#include "picture/JPEGImage.h"
#include "picture/JPEGDecompressor.h"
#include "picture/PictureKinds.h"
#include "toolkit/Streams.h"

#include <algorithm>
#include <cstdint>

namespace {

// Decided once, at program start: an 8-bit display gets 8-bit pictures.
bool EightBitDisplay()
{
    static const bool eightBit = ScreenHasPalette();
    return eightBit;
}

const int QuantizedColors = 236;
// Rows handed to libjpeg in one read when the bitmap's rows allow it.
const unsigned RowsPerRead = 16;

} // namespace

const TClassInfo& TJPEGImage::StaticClass()
{
    return MakeClassInfo<TJPEGImage>("TJPEGImage", &TGraphic::StaticClass(), [](TClassBuilder<TJPEGImage>& b) {
        b.Ordinal("BlockSmoothing", TypeBoolean(), &TJPEGImage::BlockSmoothing, &TJPEGImage::SetBlockSmoothing)
            .Ordinal("EightBitOutput", TypeBoolean(), &TJPEGImage::EightBitOutput, &TJPEGImage::SetEightBitOutput)
            .Ordinal("EncodeQuality", TypeInteger(), &TJPEGImage::EncodeQuality, &TJPEGImage::SetEncodeQuality)
            .Ordinal("FastDecode", TypeBoolean(), &TJPEGImage::FastDecode, &TJPEGImage::SetFastDecode)
            .Ordinal("GrayOutput", TypeBoolean(), &TJPEGImage::GrayOutput, &TJPEGImage::SetGrayOutput)
            .Ordinal("ScaleShift", TypeInteger(), &TJPEGImage::ScaleShift, &TJPEGImage::SetScaleShift)
            .Ordinal("ShowScansProgressively", TypeBoolean(), &TJPEGImage::ShowScansProgressively,
                     &TJPEGImage::SetShowScansProgressively);
    });
}

TJPEGImage::TJPEGImage() : FData(std::make_shared<TJPEGData>()), FEightBitOutput(EightBitDisplay()) {}

TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::Assign(const TPersistent* source)
{
    auto* other = dynamic_cast<const TJPEGImage*>(source);
    if (!other) {
        TGraphic::Assign(source);
        return;
    }
    FData = other->FData;
    FEncodeQuality = other->FEncodeQuality;
    FGrayOutput = other->FGrayOutput;
    FFastDecode = other->FFastDecode;
    FEightBitOutput = other->FEightBitOutput;
    FShowScansProgressively = other->FShowScansProgressively;
    FMultiScan = other->FMultiScan;
    FScaleShift = other->FScaleShift;
    FBlockSmoothing = other->FBlockSmoothing;
    FreeBitmap();
    Changed();
}

// ------------------------------------------------------------------ loading

void TJPEGImage::LoadFromStream(TStream& stream)
{
    LoadFromBytes(stream.ReadRest());
}

void TJPEGImage::ReadData(TStream& stream)
{
    unsigned char count[4];
    stream.ReadBuffer(count, sizeof count);
    const uint32_t n = count[0] | (count[1] << 8) | (count[2] << 16) | (static_cast<uint32_t>(count[3]) << 24);
    std::string bytes(n, '\0');
    stream.ReadBuffer(bytes.data(), n);
    LoadFromBytes(std::move(bytes));
}

void TJPEGImage::LoadFromBytes(std::string bytes)
{
    FData = std::make_shared<TJPEGData>(std::move(bytes));
    FreeBitmap();
    FMultiScan = false;
    if (!Empty()) {
        try {
            TJPEGDecompressor jpeg(FData->Bytes().data(), FData->Bytes().size());
            jpeg.ReadHeader();
            const jpeg_decompress_struct& info = jpeg.Info();
            FData->SetHeaderFacts(static_cast<int>(info.image_width), static_cast<int>(info.image_height),
                                  info.jpeg_color_space == JCS_GRAYSCALE);
            FMultiScan = jpeg.HasMultipleScans();
        } catch (...) {
            // Its header already failed: drawing it would only fail again.
            FDecodeFailed = true;
            throw;
        }
    }
    Changed();
}

// --------------------------------------------------------------------- size

int TJPEGImage::Width() const
{
    return Size().cx;
}

int TJPEGImage::Height() const
{
    return Size().cy;
}

SIZE TJPEGImage::Size() const
{
    if (FBitmap)
        return SIZE{FBitmap->Width(), FBitmap->Height()};
    if (FScaleShift == 0 || Empty())
        return SIZE{FData->Width(), FData->Height()};
    // Scaled, before decoding: the output size libjpeg computes from the
    // header, kept until the data or the scale change.
    if (FScaledSize.cx < 0) {
        TJPEGDecompressor jpeg(FData->Bytes().data(), FData->Bytes().size());
        jpeg.ReadHeader();
        ApplySettings(jpeg.Info());
        jpeg.CalcOutputDimensions();
        FScaledSize = SIZE{static_cast<LONG>(jpeg.Info().output_width), static_cast<LONG>(jpeg.Info().output_height)};
    }
    return FScaledSize;
}

void TJPEGImage::SetWidth(int)
{
    throw EInvalidGraphicOperation("Cannot change the size of a JPEG image");
}

void TJPEGImage::SetHeight(int)
{
    throw EInvalidGraphicOperation("Cannot change the size of a JPEG image");
}

// ----------------------------------------------------------------- settings

void TJPEGImage::SetSetting(bool& setting, bool value)
{
    if (setting == value)
        return;
    setting = value;
    FreeBitmap();
    Changed();
}

void TJPEGImage::SetScaleShift(int value)
{
    value = std::clamp(value, 0, 3);
    if (value == FScaleShift)
        return;
    FScaleShift = value;
    FreeBitmap();
    Changed();
}

void TJPEGImage::FreeBitmap()
{
    FBitmap.reset();
    FPalette.Reset();
    FDecodeFailed = false;
    FScaledSize = SIZE{-1, -1};
}

// ----------------------------------------------------------------- decoding

void TJPEGImage::Draw(HDC dc, const RECT& rect)
{
    DecodeNeeded(dc, rect);
    if (!FBitmap)
        return;
    if (FPalette) {
        PaletteScope palette(dc, FPalette.Get());
        FBitmap->Draw(dc, rect);
    } else {
        FBitmap->Draw(dc, rect);
    }
}

void TJPEGImage::DIBNeeded()
{
    DecodeNeeded(nullptr, RECT{});
}

void TJPEGImage::DecodeNeeded(HDC dc, const RECT& rect)
{
    if (FBitmap || FDecodeFailed || Empty())
        return;
    try {
        Decode(dc, rect);
    } catch (...) {
        FDecodeFailed = true;
        // The picture's owner repaints around what could not be drawn.
        Changed();
        throw;
    }
}

void TJPEGImage::ApplySettings(jpeg_decompress_struct& info) const
{
    info.scale_num = 1;
    info.scale_denom = 1u << FScaleShift;
    info.do_block_smoothing = FBlockSmoothing;
    if (FGrayOutput)
        info.out_color_space = JCS_GRAYSCALE;
    if (FEightBitOutput || info.out_color_space == JCS_GRAYSCALE) {
        if (info.out_color_space != JCS_GRAYSCALE)
            info.out_color_space = JCS_RGB;
        info.quantize_colors = TRUE;
        info.desired_number_of_colors = QuantizedColors;
    } else {
        // A 24-bit bitmap keeps its pixels in blue, green, red order.
        info.out_color_space = JCS_EXT_BGR;
    }
    if (FFastDecode) {
        info.dct_method = JDCT_IFAST;
        info.two_pass_quantize = FALSE;
        info.dither_mode = JDITHER_ORDERED;
    }
}

void TJPEGImage::Decode(HDC dc, const RECT& rect)
{
    ++FDecodeCount;
    TJPEGDecompressor jpeg(FData->Bytes().data(), FData->Bytes().size());
    jpeg.ReadHeader();
    jpeg_decompress_struct& info = jpeg.Info();
    ApplySettings(info);
    info.buffered_image = FShowScansProgressively && FMultiScan;
    jpeg.StartDecompress();
    std::unique_ptr<TDIBitmap> bitmap;
    if (info.buffered_image)
        ReadPasses(jpeg, bitmap, dc, rect);
    else
        ReadPass(jpeg, bitmap);
    jpeg.FinishDecompress();
    FBitmap = std::move(bitmap);
    if (FBitmap->BitsPerPixel() == 8 && ScreenHasPalette())
        FPalette = FBitmap->MakePalette();
}

// Buffered-image mode: each scan is output into the bitmap as it arrives
// and, when decoding for a drawing, shown there at once; once the input is
// complete a last pass makes the finished picture (the pass over the last
// scan started before that scan was read, so it may still be smoothed).
void TJPEGImage::ReadPasses(TJPEGDecompressor& jpeg, std::unique_ptr<TDIBitmap>& bitmap, HDC dc, const RECT& rect)
{
    bool final = false;
    do {
        final = jpeg.InputComplete();
        jpeg.StartOutput(jpeg.Info().input_scan_number);
        ReadPass(jpeg, bitmap);
        jpeg.FinishOutput();
        if (dc && !final)
            bitmap->Draw(dc, rect);
    } while (!final);
}

void TJPEGImage::ReadPass(TJPEGDecompressor& jpeg, std::unique_ptr<TDIBitmap>& bitmap)
{
    jpeg_decompress_struct& info = jpeg.Info();
    const bool quantized = info.quantize_colors;
    if (!bitmap)
        bitmap = std::make_unique<TDIBitmap>(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                                             quantized ? 8 : 24);
    if (quantized) {
        RGBQUAD colors[256]{};
        const bool grey = info.out_color_components == 1;
        for (int i = 0; i < info.actual_number_of_colors && i < 256; ++i) {
            colors[i].rgbRed = info.colormap[0][i];
            colors[i].rgbGreen = info.colormap[grey ? 0 : 1][i];
            colors[i].rgbBlue = info.colormap[grey ? 0 : 2][i];
        }
        bitmap->SetColors(colors, std::min(info.actual_number_of_colors, 256));
    }
    // Rows go straight into the bitmap: several per read when they lie
    // top-down at a whole number of 4-byte words apart, one otherwise.
    const unsigned batch = bitmap->TopDown() && bitmap->Stride() % 4 == 0 ? RowsPerRead : 1;
    JSAMPROW rows[RowsPerRead];
    while (info.output_scanline < info.output_height) {
        const unsigned first = info.output_scanline;
        const unsigned count = std::min(batch, info.output_height - first);
        for (unsigned i = 0; i < count; ++i)
            rows[i] = bitmap->Row(static_cast<int>(first + i));
        jpeg.ReadScanlines(rows, count);
    }
}

// --------------------------------------------------------------- registration

namespace {
std::unique_ptr<TGraphic> MakeJPEGImage()
{
    return std::make_unique<TJPEGImage>();
}

const bool Registered = [] {
    RegisterPictureKind("jpeg", "JPEG Image File", TJPEGImage::StaticClass(), &MakeJPEGImage);
    RegisterPictureKind("jpg", "JPEG Image File", TJPEGImage::StaticClass(), &MakeJPEGImage);
    return true;
}();
} // namespace
