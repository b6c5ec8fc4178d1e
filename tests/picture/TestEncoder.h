#pragma once
// Makes JPEG files for tests and benchmarks with libjpeg's compressor: a
// smooth pattern with some detail, at any size, baseline or progressive,
// colour or greyscale, with or without restart markers.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace jpeg_testing {

struct EncodeOptions {
    int Width = 40;
    int Height = 24;
    bool Progressive = false;
    bool Grey = false;
    int RestartRows = 0;
    int Quality = 85;
};

inline std::string EncodePattern(const EncodeOptions& o)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(o.Width);
    info.image_height = static_cast<JDIMENSION>(o.Height);
    info.input_components = o.Grey ? 1 : 3;
    info.in_color_space = o.Grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, o.Quality, TRUE);
    if (o.Progressive)
        jpeg_simple_progression(&info);
    info.restart_in_rows = o.RestartRows;
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(o.Width) * 3);
    while (info.next_scanline < info.image_height) {
        const int y = static_cast<int>(info.next_scanline);
        for (int x = 0; x < o.Width; ++x) {
            unsigned char r = static_cast<unsigned char>(x * 255 / o.Width);
            unsigned char g = static_cast<unsigned char>(y * 255 / o.Height);
            unsigned char b = static_cast<unsigned char>(((x / 8 + y / 8) % 2) * 160 + (x * y) % 64);
            if (o.Grey)
                row[static_cast<size_t>(x)] = static_cast<unsigned char>((r + g + b) / 3);
            else {
                row[3 * static_cast<size_t>(x)] = r;
                row[3 * static_cast<size_t>(x) + 1] = g;
                row[3 * static_cast<size_t>(x) + 2] = b;
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    std::string bytes(reinterpret_cast<const char*>(buffer), size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return bytes;
}

// Offsets of every marker 0xFF <code> outside the entropy-coded data.
inline std::vector<size_t> MarkerOffsets(const std::string& jpeg, unsigned char code)
{
    std::vector<size_t> found;
    for (size_t i = 0; i + 1 < jpeg.size(); ++i)
        if (static_cast<unsigned char>(jpeg[i]) == 0xFF && static_cast<unsigned char>(jpeg[i + 1]) == code)
            found.push_back(i);
    return found;
}

} // namespace jpeg_testing
