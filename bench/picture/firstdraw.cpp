// The first drawing of a large JPEG picture through TJPEGImage, against a
// plain libjpeg decode of the same bytes into a memory buffer in the same
// process. The goal: the picture's first draw takes at most 1.1 times the
// plain decode. The first draw is measured twice: onto a screen-sized
// surface (1024 x 768, the rest clipped away, as a window shows it) and
// 1:1 onto a surface of the whole picture's size, which adds a copy of all
// its 36 MB. Prints the figures of several alternating runs.
#include "picture/JPEGImage.h"
#include "tests/picture/TestEncoder.h"

#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double Now()
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// libjpeg alone, with the picture's default settings for a 24-bit display.
double PlainDecode(const std::string& jpeg)
{
    const double start = Now();
    jpeg_decompress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(jpeg.data()), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    const size_t stride = (info.output_width * 3 + 3) & ~size_t{3};
    std::vector<unsigned char> pixels(stride * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[16];
        const unsigned count = std::min(16u, info.output_height - info.output_scanline);
        for (unsigned i = 0; i < count; ++i)
            rows[i] = pixels.data() + (info.output_scanline + i) * stride;
        jpeg_read_scanlines(&info, rows, count);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return Now() - start;
}

// Loading (the header), then the first draw, 1:1 into a bitmap of the same size.
double PictureFirstDraw(const std::string& jpeg, HDC target, int width, int height)
{
    const double start = Now();
    TJPEGImage picture;
    picture.SetEightBitOutput(false);
    picture.LoadFromBytes(jpeg);
    picture.Draw(target, RECT{0, 0, width, height});
    GdiFlush();
    return Now() - start;
}

// The decode alone, without drawing: what the drawing itself adds.
double PictureDecode(const std::string& jpeg)
{
    const double start = Now();
    TJPEGImage picture;
    picture.SetEightBitOutput(false);
    picture.LoadFromBytes(jpeg);
    picture.DIBNeeded();
    return Now() - start;
}

double Median(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

void Print(const char* what, std::vector<double> ms, double base)
{
    std::sort(ms.begin(), ms.end());
    std::printf("%-34s median %7.1f ms  (min %7.1f, max %7.1f)  ratio %.3f\n", what, Median(ms), ms.front(), ms.back(),
                Median(ms) / base);
}

} // namespace

int main()
{
    const int width = 4000, height = 3000, runs = 7;
    const std::string jpeg = jpeg_testing::EncodePattern({.Width = width, .Height = height, .Quality = 90});
    std::printf("%dx%d baseline JPEG, %zu bytes, %d runs each, alternating\n", width, height, jpeg.size(), runs);

    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    BitmapHandle whole(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    MemoryDC wholeDC(nullptr);
    SelectScope selectedWhole(wholeDC.Get(), whole.Get());
    info.bmiHeader.biWidth = 1024;
    info.bmiHeader.biHeight = -768;
    BitmapHandle screen(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    MemoryDC screenDC(nullptr);
    SelectScope selectedScreen(screenDC.Get(), screen.Get());

    std::vector<double> plain, onScreen, onWhole, decodeOnly;
    PlainDecode(jpeg); // warm up every path once
    PictureFirstDraw(jpeg, screenDC.Get(), width, height);
    PictureFirstDraw(jpeg, wholeDC.Get(), width, height);
    for (int i = 0; i < runs; ++i) {
        plain.push_back(PlainDecode(jpeg));
        onScreen.push_back(PictureFirstDraw(jpeg, screenDC.Get(), width, height));
        onWhole.push_back(PictureFirstDraw(jpeg, wholeDC.Get(), width, height));
        decodeOnly.push_back(PictureDecode(jpeg));
    }
    const double base = Median(plain);
    Print("plain libjpeg decode to memory", plain, base);
    Print("TJPEGImage load + decode, no draw", decodeOnly, base);
    Print("TJPEGImage first draw, 1024x768", onScreen, base);
    Print("TJPEGImage first draw, 4000x3000", onWhole, base);
    std::printf("ratio: median of each against the plain decode's median; goal <= 1.1\n");
    return 0;
}
