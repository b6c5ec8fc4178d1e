#pragma once
// What the picture tests share: the folder of test pictures and djpeg's
// references (made on the build machine before the tests run), reading
// PPM/PGM files, and comparing a decoded bitmap with a reference.
#include "picture/JPEGImage.h"
#include "tests/support/TestSupport.h"
#include "toolkit/Forms.h"

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace jpeg_testing {

// The references' folder, or "" when the build machine could not make them.
inline std::string ReferenceDir()
{
    const char* dir = std::getenv("QV_JPEG_REFERENCES");
    return dir ? dir : "";
}

inline std::string ReferenceFile(const std::string& name)
{
    return ReferenceDir() + "\\" + name;
}

// A decoded image as djpeg wrote it: RGB triples, or grey expanded to RGB.
struct Pnm {
    int Width = 0;
    int Height = 0;
    std::vector<COLORREF> Pixels;
    COLORREF At(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
};

inline Pnm ReadPnm(const std::string& path)
{
    std::string bytes = testing_support::ReadFileBytes(path);
    std::istringstream in(bytes);
    std::string magic;
    int maxval = 0;
    Pnm p;
    in >> magic >> p.Width >> p.Height >> maxval;
    in.get();
    const bool grey = magic == "P5";
    size_t at = static_cast<size_t>(in.tellg());
    const size_t channels = grey ? 1 : 3;
    if ((magic != "P5" && magic != "P6") || bytes.size() < at + channels * p.Width * p.Height)
        return Pnm{};
    auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[at + i]); };
    for (size_t i = 0; i < static_cast<size_t>(p.Width) * p.Height; ++i)
        p.Pixels.push_back(grey ? RGB(byte(i), byte(i), byte(i))
                                : RGB(byte(3 * i), byte(3 * i + 1), byte(3 * i + 2)));
    return p;
}

// "" when equal, else where and how they first differ and how many differ.
template <class PixelOf>
std::string Compare(const Pnm& expected, int width, int height, PixelOf actual)
{
    if (expected.Width != width || expected.Height != height) {
        std::ostringstream s;
        s << "size " << width << "x" << height << ", expected " << expected.Width << "x" << expected.Height;
        return s.str();
    }
    int differing = 0;
    std::ostringstream first;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            COLORREF a = actual(x, y), e = expected.At(x, y);
            if (a != e && differing++ == 0)
                first << "at " << x << "," << y << ": 0x" << std::hex << a << ", expected 0x" << e << std::dec;
        }
    if (differing == 0)
        return "";
    return std::to_string(differing) + " pixels differ, first " + first.str();
}

inline std::string CompareBitmap(const Pnm& expected, const TDIBitmap& bitmap)
{
    return Compare(expected, bitmap.Width(), bitmap.Height(), [&](int x, int y) { return bitmap.Pixel(x, y); });
}

// A form at 100, 100 (200 x 150) with a picture widget of the given bounds
// holding `picture`; the form owns the widget.
inline TImage* PlaceImage(TForm& form, RECT bounds, std::unique_ptr<TGraphic> picture, bool autoSize = false)
{
    form.SetBounds(100, 100, 200, 150);
    auto* image = new TImage(&form);
    image->SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
    image->SetAutoSize(autoSize);
    image->SetParent(&form);
    image->SetPicture(std::move(picture));
    return image;
}

} // namespace jpeg_testing
