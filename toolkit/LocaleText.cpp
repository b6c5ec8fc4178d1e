#include "toolkit/LocaleText.h"

#include "toolkit/StrUtils.h"

#include <cstdint>

#include <windows.h>

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Day 0 is 30 December 1899; 1 January 1970 is day 25569.
constexpr int64_t kUnixEpochSerial = 25569;
constexpr int64_t kMsPerDay = 86400000;

// Days since 1 January 1970 of a proleptic Gregorian date (Howard Hinnant's
// civil-date algorithm, valid far beyond the years 1..9999 we accept).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (month <= 2));
}

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return (month == 2 && IsLeapYear(year)) ? 29 : kDays[month - 1];
}

// The serials of 1 January 0001 and 31 December 9999.
constexpr double kMinDateSerial = -693593.0;
constexpr double kMaxDateSerial = 2958465.0;

bool IsValidSerial(TDateTime value)
{
    return std::isfinite(value) && value > kMinDateSerial - 1.0 && value < kMaxDateSerial + 1.0;
}

std::string LocaleText(LCTYPE type, const char* fallback)
{
    char buffer[96];
    int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer);
    if (length <= 1)
        return fallback;
    return std::string(buffer, static_cast<size_t>(length - 1));
}

// The user's settings, read afresh for every conversion so that a change in
// the control panel takes effect without a restart.
struct LocaleFormats {
    std::string decimalSeparator;
    std::string dateSeparator;
    std::string timeSeparator;
    std::string am;
    std::string pm;
    char order[3]; // 'd', 'M', 'y' in the order the short date shows them

    LocaleFormats()
        : decimalSeparator(LocaleText(LOCALE_SDECIMAL, ".")),
          dateSeparator(LocaleText(LOCALE_SDATE, "/")),
          timeSeparator(LocaleText(LOCALE_STIME, ":")),
          am(LocaleText(LOCALE_S1159, "AM")),
          pm(LocaleText(LOCALE_S2359, "PM")),
          order{'M', 'd', 'y'}
    {
        ReadOrder(LocaleText(LOCALE_SSHORTDATE, "M/d/yyyy"));
    }

private:
    // The order comes from the picture rather than LOCALE_IDATE so that a
    // customised short date format is parsed the way it is written.
    void ReadOrder(const std::string& picture)
    {
        char found[3];
        int count = 0;
        bool quoted = false;
        for (size_t i = 0; i < picture.size() && count < 3; ++i) {
            char c = picture[i];
            if (c == '\'') {
                quoted = !quoted;
                continue;
            }
            if (quoted || (c != 'd' && c != 'M' && c != 'y'))
                continue;
            bool seen = false;
            for (int k = 0; k < count; ++k)
                seen = seen || found[k] == c;
            if (!seen)
                found[count++] = c;
        }
        if (count == 3)
            for (int k = 0; k < 3; ++k)
                order[k] = found[k];
    }
};

// A cursor over text being parsed.
struct Scanner {
    const std::string& text;
    size_t pos = 0;

    bool AtEnd() const { return pos >= text.size(); }

    void SkipSpaces()
    {
        while (pos < text.size() && text[pos] == ' ')
            ++pos;
    }

    bool Take(const std::string& word)
    {
        if (word.empty() || text.size() - pos < word.size())
            return false;
        if (!SameText(text.substr(pos, word.size()), word))
            return false;
        pos += word.size();
        return true;
    }

    // Up to nine digits, so the value always fits an int.
    bool Number(int& value, int& digits)
    {
        value = 0;
        digits = 0;
        while (pos < text.size() && IsDigit(text[pos])) {
            if (++digits > 9)
                return false;
            value = value * 10 + (text[pos] - '0');
            ++pos;
        }
        return digits > 0;
    }
};

int CurrentYear()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now.wYear;
}

// A year written with one or two digits lies in the hundred years that start
// fifty years before this one.
int ExpandYear(int year, int digits)
{
    if (digits > 2)
        return year;
    int base = CurrentYear() - 50;
    year += base / 100 * 100;
    if (year < base)
        year += 100;
    return year;
}

bool ScanDate(Scanner& in, const LocaleFormats& formats, TDateTime& value)
{
    int numbers[3];
    int digits[3];
    int count = 0;
    in.SkipSpaces();
    while (count < 3) {
        if (!in.Number(numbers[count], digits[count]))
            return false;
        ++count;
        size_t before = in.pos;
        in.SkipSpaces();
        if (count == 3 || !in.Take(formats.dateSeparator)) {
            in.pos = before;
            break;
        }
        in.SkipSpaces();
    }
    if (count < 2)
        return false;

    int year = 0, month = 0, day = 0;
    int field = 0;
    for (char part : formats.order) {
        if (part == 'y' && count == 2)
            continue;
        if (part == 'y')
            year = ExpandYear(numbers[field], digits[field]);
        else if (part == 'M')
            month = numbers[field];
        else
            day = numbers[field];
        ++field;
    }
    if (count == 2)
        year = CurrentYear();
    return TryEncodeDate(year, month, day, value);
}

bool ScanDayPeriod(Scanner& in, const LocaleFormats& formats, int& period)
{
    if (in.Take(formats.am) || in.Take("AM")) {
        period = 1;
        return true;
    }
    if (in.Take(formats.pm) || in.Take("PM")) {
        period = 2;
        return true;
    }
    return false;
}

bool ScanTime(Scanner& in, const LocaleFormats& formats, TDateTime& value)
{
    int period = 0; // 0: 24-hour clock, 1: before noon, 2: after noon
    int hour = 0, minute = 0, second = 0, millisecond = 0;
    int digits = 0;
    in.SkipSpaces();
    if (ScanDayPeriod(in, formats, period))
        in.SkipSpaces();
    if (!in.Number(hour, digits))
        return false;
    bool hasMinutes = in.Take(formats.timeSeparator);
    if (hasMinutes) {
        if (!in.Number(minute, digits))
            return false;
        if (in.Take(formats.timeSeparator)) {
            if (!in.Number(second, digits))
                return false;
            if (in.Take(formats.decimalSeparator)) {
                if (!in.Number(millisecond, digits) || digits > 3)
                    return false;
                for (; digits < 3; ++digits)
                    millisecond *= 10;
            }
        }
    }
    in.SkipSpaces();
    if (period == 0 && ScanDayPeriod(in, formats, period))
        in.SkipSpaces();
    if (!hasMinutes && period == 0)
        return false;
    if (period != 0) {
        if (hour > 12)
            return false;
        if (period == 1 && hour == 12)
            hour = 0;
        else if (period == 2 && hour < 12)
            hour += 12;
    }
    return TryEncodeTime(hour, minute, second, millisecond, value);
}

TDateTime CombineDateTime(TDateTime date, TDateTime time)
{
    return date < 0 ? date - time : date + time;
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

} // namespace

bool TryStrToFloat(const std::string& text, double& value)
{
    const LocaleFormats formats;
    Scanner in{text};
    in.SkipSpaces();
    std::string plain; // the number respelled for from_chars: "." and no "+"
    if (in.Take("-"))
        plain += '-';
    else
        in.Take("+");
    int mantissaDigits = 0;
    while (!in.AtEnd() && IsDigit(text[in.pos])) {
        plain += text[in.pos++];
        ++mantissaDigits;
    }
    if (in.Take(formats.decimalSeparator)) {
        plain += '.';
        while (!in.AtEnd() && IsDigit(text[in.pos])) {
            plain += text[in.pos++];
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return false;
    if (in.Take("E")) {
        plain += 'e';
        if (in.Take("-"))
            plain += '-';
        else
            in.Take("+");
        int exponentDigits = 0;
        while (!in.AtEnd() && IsDigit(text[in.pos])) {
            plain += text[in.pos++];
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return false;
    }
    in.SkipSpaces();
    if (!in.AtEnd())
        return false;

    double parsed = 0;
    auto result = std::from_chars(plain.data(), plain.data() + plain.size(), parsed);
    if (result.ec != std::errc() || result.ptr != plain.data() + plain.size() || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

std::string FloatToStr(double value)
{
    return ReplaceAll(FormatGeneral(value, 15), ".", LocaleFormats().decimalSeparator);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& value)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return false;
    value = static_cast<TDateTime>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
                                   kUnixEpochSerial);
    return true;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day)
{
    if (!IsValidSerial(value)) {
        year = month = day = 0;
        return;
    }
    CivilFromDays(static_cast<int64_t>(std::trunc(value)) - kUnixEpochSerial, year, month, day);
}

bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& value)
{
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
        millisecond > 999)
        return false;
    int64_t ms = ((static_cast<int64_t>(hour) * 60 + minute) * 60 + second) * 1000 + millisecond;
    value = static_cast<TDateTime>(ms) / static_cast<TDateTime>(kMsPerDay);
    return true;
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond)
{
    if (!std::isfinite(value)) {
        hour = minute = second = millisecond = 0;
        return;
    }
    double fraction = std::fabs(value - std::trunc(value));
    int64_t ms = std::llround(fraction * static_cast<double>(kMsPerDay));
    if (ms >= kMsPerDay)
        ms = kMsPerDay - 1; // a hair before midnight stays on its own day
    millisecond = static_cast<int>(ms % 1000);
    second = static_cast<int>(ms / 1000 % 60);
    minute = static_cast<int>(ms / 60000 % 60);
    hour = static_cast<int>(ms / 3600000);
}

bool TryStrToDate(const std::string& text, TDateTime& value)
{
    const LocaleFormats formats;
    Scanner in{text};
    TDateTime date = 0;
    if (!ScanDate(in, formats, date))
        return false;
    in.SkipSpaces();
    if (!in.AtEnd())
        return false;
    value = date;
    return true;
}

bool TryStrToTime(const std::string& text, TDateTime& value)
{
    const LocaleFormats formats;
    Scanner in{text};
    TDateTime time = 0;
    if (!ScanTime(in, formats, time) || !in.AtEnd())
        return false;
    value = time;
    return true;
}

bool TryStrToDateTime(const std::string& text, TDateTime& value)
{
    const LocaleFormats formats;
    Scanner in{text};
    TDateTime date = 0;
    if (!ScanDate(in, formats, date))
        return TryStrToTime(text, value);
    in.SkipSpaces();
    TDateTime time = 0;
    if (!in.AtEnd() && (!ScanTime(in, formats, time) || !in.AtEnd()))
        return false;
    value = CombineDateTime(date, time);
    return true;
}

std::string DateToStr(TDateTime value)
{
    int year = 0, month = 0, day = 0;
    DecodeDate(value, year, month, day);
    if (year == 0)
        return std::string();
    if (year >= 1601) {
        SYSTEMTIME st = {};
        st.wYear = static_cast<WORD>(year);
        st.wMonth = static_cast<WORD>(month);
        st.wDay = static_cast<WORD>(day);
        char buffer[128];
        int length = GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, sizeof buffer);
        if (length > 1)
            return std::string(buffer, static_cast<size_t>(length - 1));
    }
    const LocaleFormats formats;
    std::string text;
    for (char part : formats.order) {
        if (!text.empty())
            text += formats.dateSeparator;
        text += std::to_string(part == 'y' ? year : part == 'M' ? month : day);
    }
    return text;
}

std::string TimeToStr(TDateTime value)
{
    int hour = 0, minute = 0, second = 0, millisecond = 0;
    DecodeTime(value, hour, minute, second, millisecond);
    SYSTEMTIME st = {};
    st.wYear = 2000; // the platform checks the whole record, date included
    st.wMonth = 1;
    st.wDay = 1;
    st.wHour = static_cast<WORD>(hour);
    st.wMinute = static_cast<WORD>(minute);
    st.wSecond = static_cast<WORD>(second);
    char buffer[128];
    int length = GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, buffer, sizeof buffer);
    if (length > 1)
        return std::string(buffer, static_cast<size_t>(length - 1));
    const LocaleFormats formats;
    char fallback[32];
    std::snprintf(fallback, sizeof fallback, "%d%s%02d%s%02d", hour, formats.timeSeparator.c_str(), minute,
                  formats.timeSeparator.c_str(), second);
    return fallback;
}

std::string DateTimeToStr(TDateTime value)
{
    int hour = 0, minute = 0, second = 0, millisecond = 0;
    DecodeTime(value, hour, minute, second, millisecond);
    std::string text = DateToStr(value);
    if (hour != 0 || minute != 0 || second != 0 || millisecond != 0)
        text += " " + TimeToStr(value);
    return text;
}
