#pragma once
// The JPEG picture: holds the encoded image (shared with the pictures
// copied from it), reads only the header when loaded, and decodes through
// libjpeg the first time it is drawn, keeping the bitmap for every later
// drawing.
#include "picture/DIBitmap.h"
#include "picture/JPEGData.h"
#include "toolkit/ExtCtrls.h"

#include <memory>
#include <string>

class TJPEGDecompressor;
struct jpeg_decompress_struct;

// An operation the picture kind does not allow ("Cannot change the size of
// a JPEG image").
class EInvalidGraphicOperation : public Exception {
public:
    using Exception::Exception;
};

class TJPEGImage : public TGraphic {
public:
    QV_CLASS(TJPEGImage, TGraphic)
    TJPEGImage();
    ~TJPEGImage() override;

    // From another JPEG picture: shares its encoded image and copies its
    // settings; the decoded bitmap is made again when next drawn.
    void Assign(const TPersistent* source) override;

    int Width() const override;
    int Height() const override;
    void SetWidth(int value) override;
    void SetHeight(int value) override;
    bool Empty() const override { return FData->Bytes().empty(); }
    void Draw(HDC dc, const RECT& rect) override;
    void LoadFromStream(TStream& stream) override;
    // A 4-byte little-endian count, then that many bytes of a JPEG file.
    void ReadData(TStream& stream) override;
    // Replaces the encoded image and reads its header (EJPEG if it can't).
    void LoadFromBytes(std::string bytes);

    // Decodes now if there is no decoded bitmap yet (drawing does this).
    void DIBNeeded();
    // The decoded bitmap, or nullptr before the first drawing.
    const TDIBitmap* Bitmap() const { return FBitmap.get(); }
    // The palette drawn through on displays of 8 or fewer bits, or nullptr.
    HPALETTE Palette() const { return FPalette.Get(); }
    // How often the encoded image has been decoded.
    int DecodeCount() const { return FDecodeCount; }
    const TJPEGDataRef& Data() const { return FData; }
    bool Grayscale() const { return FData->Grayscale(); }

    // Decoder settings; changing one drops the decoded bitmap.
    int EncodeQuality() const { return FEncodeQuality; }
    void SetEncodeQuality(int value) { FEncodeQuality = value; }
    bool GrayOutput() const { return FGrayOutput; }
    void SetGrayOutput(bool value) { SetSetting(FGrayOutput, value); }
    bool FastDecode() const { return FFastDecode; }
    void SetFastDecode(bool value) { SetSetting(FFastDecode, value); }
    bool EightBitOutput() const { return FEightBitOutput; }
    void SetEightBitOutput(bool value) { SetSetting(FEightBitOutput, value); }
    bool ShowScansProgressively() const { return FShowScansProgressively; }
    void SetShowScansProgressively(bool value) { SetSetting(FShowScansProgressively, value); }
    bool BlockSmoothing() const { return FBlockSmoothing; }
    void SetBlockSmoothing(bool value) { SetSetting(FBlockSmoothing, value); }
    // Decodes at 1 / 2^n of full size, n from 0 to 3.
    int ScaleShift() const { return FScaleShift; }
    void SetScaleShift(int value);
    // The encoded image has more than one scan.
    bool MultiScan() const { return FMultiScan; }

private:
    void SetSetting(bool& setting, bool value);
    void FreeBitmap();
    // Decodes if needed; a picture shown scan by scan is drawn into the
    // device context (if any) after each scan.
    void DecodeNeeded(HDC dc, const RECT& rect);
    void Decode(HDC dc, const RECT& rect);
    void ApplySettings(jpeg_decompress_struct& info) const;
    void ReadPasses(TJPEGDecompressor& jpeg, std::unique_ptr<TDIBitmap>& bitmap, HDC dc, const RECT& rect);
    void ReadPass(TJPEGDecompressor& jpeg, std::unique_ptr<TDIBitmap>& bitmap);
    SIZE Size() const;

    TJPEGDataRef FData;
    std::unique_ptr<TDIBitmap> FBitmap;
    PaletteHandle FPalette;
    // A picture that failed to decode is not tried again (and its error not
    // reported again at every repaint) until new data or settings come.
    bool FDecodeFailed = false;
    int FDecodeCount = 0;
    mutable SIZE FScaledSize{-1, -1};

    int FEncodeQuality = 90;
    bool FGrayOutput = false;
    bool FFastDecode = false;
    bool FEightBitOutput;
    bool FShowScansProgressively = false;
    bool FMultiScan = false;
    int FScaleShift = 0;
    bool FBlockSmoothing = true;
};
