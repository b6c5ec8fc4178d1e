#pragma once
// Small text helpers shared by the settings store and the application.
// Letter case is folded for ASCII letters only: names of widgets, keys and
// enumeration values are plain ASCII, and a locale-dependent fold would make
// "ToolBar" and "toolbar" compare differently on some machines.
#include <cstdint>
#include <string>

// Negative, zero or positive as a sorts before, equal to or after b, with
// ASCII letters compared as upper case and other bytes by their value.
int CompareText(const std::string& a, const std::string& b);
bool SameText(const std::string& a, const std::string& b);

std::string UpperCase(std::string text);
std::string LowerCase(std::string text);

// Removes leading and trailing blanks: spaces and control characters (every
// byte up to ' '), so stray tabs and line breaks go with the spaces.
std::string Trim(const std::string& text);

// Integer text: optional leading spaces, an optional "+" or "-", then either
// decimal digits, or hexadecimal digits after "$", "0x" or "0X". Nothing may
// follow the digits. The value must fit a signed 32-bit integer after the sign
// is applied; text outside that range fails instead of wrapping, so "$80000000"
// and "4294967295" fail while "-2147483648" and "-$80000000" succeed. Colours
// with the system bit set are therefore stored in signed decimal.
bool TryStrToInt(const std::string& text, int32_t& value);
// The same rules for 64-bit integers.
bool TryStrToInt64(const std::string& text, int64_t& value);

std::string IntToStr(int64_t value);

// General format with the given number of significant digits: fixed
// notation unless the exponent is too large or too small, then "1.5E20" or
// "1E-5". Always with ".", whatever the locale.
std::string FormatGeneral(double value, int digits);
