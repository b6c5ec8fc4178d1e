#pragma once
// Byte streams: what pictures are loaded from (a stored layout, a file's
// bytes, a resource of the executable).
#include "toolkit/Exceptions.h"

#include <cstddef>
#include <string>

// A stream could not give the bytes asked of it.
class EReadError : public Exception {
public:
    using Exception::Exception;
};

class TStream {
public:
    TStream() = default;
    TStream(const TStream&) = delete;
    TStream& operator=(const TStream&) = delete;
    virtual ~TStream() = default;

    // Reads up to `count` bytes; returns how many it read (0 at the end).
    virtual size_t Read(void* buffer, size_t count) = 0;
    virtual size_t Position() const = 0;
    virtual void SetPosition(size_t position) = 0;
    virtual size_t Size() const = 0;

    // Reads exactly `count` bytes or raises EReadError "Stream read error".
    void ReadBuffer(void* buffer, size_t count);
    // Every byte from the position to the end.
    std::string ReadRest();
};

// A stream over bytes it holds itself.
class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::string bytes) : FBytes(std::move(bytes)) {}

    size_t Read(void* buffer, size_t count) override;
    size_t Position() const override { return FPosition; }
    void SetPosition(size_t position) override;
    size_t Size() const override { return FBytes.size(); }
    const std::string& Bytes() const { return FBytes; }

private:
    std::string FBytes;
    size_t FPosition = 0;
};
