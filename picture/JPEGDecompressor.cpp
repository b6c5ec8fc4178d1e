#include "picture/JPEGDecompressor.h"

#include <cstdio>

EJPEG::EJPEG(int code) : Exception("JPEG error #" + std::to_string(code)), FCode(code) {}

TJPEGDecompressor::TJPEGDecompressor(const void* data, size_t size)
{
    FInfo.err = jpeg_std_error(&FError.Public);
    FError.Public.error_exit = &ErrorExit;
    FError.Public.emit_message = &IgnoreMessage;
    FError.Public.output_message = &IgnoreOutput;
    struct Source {
        const void* Data;
        size_t Size;
    } source{data, size};
    // Creation itself can fail (no memory); the struct is zeroed, so the
    // destructor's destroy is harmless then.
    Run([](j_decompress_ptr info, void*) { jpeg_create_decompress(info); });
    Run(
        [](j_decompress_ptr info, void* context) {
            auto* s = static_cast<Source*>(context);
            jpeg_mem_src(info, static_cast<const unsigned char*>(s->Data), static_cast<unsigned long>(s->Size));
        },
        &source);
}

TJPEGDecompressor::~TJPEGDecompressor()
{
    // Safe in any state, also after an error exit or a failed creation.
    jpeg_destroy_decompress(&FInfo);
}

void TJPEGDecompressor::ErrorExit(j_common_ptr info)
{
    auto* error = reinterpret_cast<ErrorManager*>(info->err);
    std::longjmp(error->Jump, 1);
}

void TJPEGDecompressor::IgnoreMessage(j_common_ptr, int) {}

void TJPEGDecompressor::IgnoreOutput(j_common_ptr) {}

// Nothing between the setjmp and the libjpeg call has a destructor: the
// jump back skips only plain C frames and this call's captureless function.
bool TJPEGDecompressor::Guarded(Call call, void* context)
{
    if (setjmp(FError.Jump) != 0)
        return false;
    call(&FInfo, context);
    return true;
}

void TJPEGDecompressor::Run(Call call, void* context)
{
    if (!Guarded(call, context))
        throw EJPEG(FError.Public.msg_code);
}

void TJPEGDecompressor::ReadHeader()
{
    Run([](j_decompress_ptr info, void*) { jpeg_read_header(info, TRUE); });
}

void TJPEGDecompressor::CalcOutputDimensions()
{
    Run([](j_decompress_ptr info, void*) { jpeg_calc_output_dimensions(info); });
}

void TJPEGDecompressor::StartDecompress()
{
    Run([](j_decompress_ptr info, void*) { jpeg_start_decompress(info); });
}

unsigned TJPEGDecompressor::ReadScanlines(JSAMPARRAY rows, unsigned count)
{
    struct Lines {
        JSAMPARRAY Rows;
        unsigned Count;
    } lines{rows, count};
    Run(
        [](j_decompress_ptr info, void* context) {
            auto* l = static_cast<Lines*>(context);
            l->Count = jpeg_read_scanlines(info, l->Rows, l->Count);
        },
        &lines);
    return lines.Count;
}

void TJPEGDecompressor::FinishDecompress()
{
    Run([](j_decompress_ptr info, void*) { jpeg_finish_decompress(info); });
}

bool TJPEGDecompressor::HasMultipleScans()
{
    bool result = false;
    Run([](j_decompress_ptr info, void* context) { *static_cast<bool*>(context) = jpeg_has_multiple_scans(info); },
        &result);
    return result;
}

bool TJPEGDecompressor::InputComplete()
{
    bool result = false;
    Run([](j_decompress_ptr info, void* context) { *static_cast<bool*>(context) = jpeg_input_complete(info); },
        &result);
    return result;
}

void TJPEGDecompressor::StartOutput(int scan)
{
    Run([](j_decompress_ptr info, void* context) { jpeg_start_output(info, *static_cast<int*>(context)); }, &scan);
}

void TJPEGDecompressor::FinishOutput()
{
    Run([](j_decompress_ptr info, void*) { jpeg_finish_output(info); });
}
