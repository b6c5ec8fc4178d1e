#pragma once
// What the benchmarks share: a millisecond clock and big page texts.
#include <windows.h>
#include <string>

namespace bench {

inline double Now()
{
    LARGE_INTEGER freq, t;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

// About 1 MiB of text in lines of 20 to 110 characters, different for each
// page; with `loneLF`, about half the lines end in LF only, so that loading
// has line breaks to mend.
inline std::string PageText(int page, bool loneLF)
{
    std::string text;
    text.reserve(1 << 20);
    unsigned seed = static_cast<unsigned>(page) * 2654435761u;
    while (text.size() < (1u << 20)) {
        seed = seed * 1103515245u + 12345u;
        int length = 20 + static_cast<int>((seed >> 16) % 90);
        for (int i = 0; i < length; ++i)
            text += static_cast<char>('a' + (i * 7 + page) % 26);
        text += (loneLF && (seed & 0x100)) ? "\n" : "\r\n";
    }
    return text;
}

} // namespace bench
