#pragma once
// The encoded image of a JPEG picture and what its header says, shared by
// the pictures copied from one another and released with the last of them.
#include <memory>
#include <string>

class TJPEGData {
public:
    // Holds a copy of a whole JPEG file's bytes; the header facts are
    // filled in by the picture that reads them.
    explicit TJPEGData(std::string bytes = {}) : FBytes(std::move(bytes)) {}
    TJPEGData(const TJPEGData&) = delete;
    TJPEGData& operator=(const TJPEGData&) = delete;

    const std::string& Bytes() const { return FBytes; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // The file's colour space is greyscale.
    bool Grayscale() const { return FGrayscale; }

    void SetHeaderFacts(int width, int height, bool grayscale)
    {
        FWidth = width;
        FHeight = height;
        FGrayscale = grayscale;
    }

private:
    std::string FBytes;
    int FWidth = 0;
    int FHeight = 0;
    bool FGrayscale = false;
};

using TJPEGDataRef = std::shared_ptr<TJPEGData>;
