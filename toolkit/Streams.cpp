#include "toolkit/Streams.h"

#include <algorithm>
#include <cstring>

void TStream::ReadBuffer(void* buffer, size_t count)
{
    if (count != 0 && Read(buffer, count) != count)
        throw EReadError("Stream read error");
}

std::string TStream::ReadRest()
{
    size_t position = Position();
    std::string bytes(Size() > position ? Size() - position : 0, '\0');
    ReadBuffer(bytes.data(), bytes.size());
    return bytes;
}

size_t TMemoryStream::Read(void* buffer, size_t count)
{
    size_t n = std::min(count, FBytes.size() - std::min(FPosition, FBytes.size()));
    if (n != 0)
        std::memcpy(buffer, FBytes.data() + FPosition, n);
    FPosition += n;
    return n;
}

void TMemoryStream::SetPosition(size_t position)
{
    FPosition = std::min(position, FBytes.size());
}
