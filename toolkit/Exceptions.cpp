#include "toolkit/Exceptions.h"

std::string FormatMessage1(const std::string& pattern, const std::string& arg)
{
    std::string::size_type at = pattern.find("%s");
    if (at == std::string::npos)
        return pattern;
    return pattern.substr(0, at) + arg + pattern.substr(at + 2);
}

void Abort()
{
    throw EAbort();
}
