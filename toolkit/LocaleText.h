#pragma once
// Numbers, dates and times as the user's locale writes them (decimal
// separator, short date format, time separator, AM/PM designators), read
// from the platform's locale settings at every conversion.
#include <string>

// Dates and times are day counts since 30 December 1899 with the time of day
// as the fraction; a negative value counts days backwards and its fraction is
// still the time after midnight.
using TDateTime = double;

// Locale-aware conversions using the user's settings (decimal separator,
// short date format, time separator, AM/PM designators). The readers never
// throw: text that is not a value of the kind answers false.
bool TryStrToFloat(const std::string& text, double& value);
bool TryStrToDate(const std::string& text, TDateTime& value);
bool TryStrToTime(const std::string& text, TDateTime& value);
bool TryStrToDateTime(const std::string& text, TDateTime& value);

// Fifteen significant digits with the user's decimal separator.
std::string FloatToStr(double value);
// The user's short date format; years before 1601, which the platform does
// not format, come out as plain numbers in the locale's field order.
std::string DateToStr(TDateTime value);
// The user's long time format.
std::string TimeToStr(TDateTime value);
// The date, followed by a space and the time unless the time is midnight.
std::string DateTimeToStr(TDateTime value);

// Builds a date from a calendar day; false for a day that does not exist or
// a year outside 1..9999.
bool TryEncodeDate(int year, int month, int day, TDateTime& value);
void DecodeDate(TDateTime value, int& year, int& month, int& day);
bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& value);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond);
