#pragma once
// One libjpeg decompressor reading from a memory buffer, destroyed with the
// object whatever state it is in. libjpeg reports a fatal error through its
// error exit, which jumps back into this object (a C++ exception must never
// unwind libjpeg's own frames); the call then raises EJPEG with libjpeg's
// message code. Warnings and trace messages are ignored.
#include "toolkit/Exceptions.h"

#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <string>

#include <jpeglib.h>

// "JPEG error #%d", the number being libjpeg's message code.
class EJPEG : public Exception {
public:
    explicit EJPEG(int code);
    int Code() const { return FCode; }

private:
    int FCode;
};

class TJPEGDecompressor {
public:
    // Reads `size` bytes at `data`, which must outlive the decompressor.
    TJPEGDecompressor(const void* data, size_t size);
    TJPEGDecompressor(const TJPEGDecompressor&) = delete;
    TJPEGDecompressor& operator=(const TJPEGDecompressor&) = delete;
    ~TJPEGDecompressor();

    jpeg_decompress_struct& Info() { return FInfo; }

    // The libjpeg calls the picture uses, each raising EJPEG on a fatal error.
    void ReadHeader();
    void CalcOutputDimensions();
    void StartDecompress();
    // Reads up to `count` rows into the given row pointers; returns how many.
    unsigned ReadScanlines(JSAMPARRAY rows, unsigned count);
    void FinishDecompress();
    bool HasMultipleScans();
    // Buffered-image mode.
    bool InputComplete();
    void StartOutput(int scan);
    void FinishOutput();

private:
    using Call = void (*)(j_decompress_ptr info, void* context);
    // Runs one call with the error exit aimed at this frame, and raises
    // EJPEG here, outside every libjpeg frame, when libjpeg gave up.
    void Run(Call call, void* context = nullptr);
    bool Guarded(Call call, void* context);

    struct ErrorManager {
        jpeg_error_mgr Public; // first: libjpeg sees only this part
        std::jmp_buf Jump;
    };
    static void ErrorExit(j_common_ptr info);
    static void IgnoreMessage(j_common_ptr info, int level);
    static void IgnoreOutput(j_common_ptr info);

    ErrorManager FError{};
    jpeg_decompress_struct FInfo{};
};
