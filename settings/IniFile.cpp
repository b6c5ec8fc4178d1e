#include "settings/IniFile.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "toolkit/Exceptions.h"
#include "toolkit/StringList.h"

// ---- TCustomIniFile ----

TCustomIniFile::TCustomIniFile(std::string fileName) : FFileName(std::move(fileName)) {}

TCustomIniFile::~TCustomIniFile() = default;

int32_t TCustomIniFile::ReadNumber(const std::string& section, const std::string& key, int32_t defaultValue) const
{
    std::string text = ReadText(section, key, std::string());
    // Only at the very start: " 0x1F" keeps its blank and reaches the
    // converter, which accepts "0x" after blanks by itself.
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text = "$" + text.substr(2);
    int32_t value = 0;
    return TryStrToInt(text, value) ? value : defaultValue;
}

void TCustomIniFile::WriteNumber(const std::string& section, const std::string& key, int32_t value)
{
    WriteText(section, key, IntToStr(value));
}

bool TCustomIniFile::ReadFlag(const std::string& section, const std::string& key, bool defaultValue) const
{
    return ReadNumber(section, key, defaultValue ? 1 : 0) != 0;
}

void TCustomIniFile::WriteFlag(const std::string& section, const std::string& key, bool value)
{
    WriteText(section, key, value ? "1" : "0");
}

// The converters answer false instead of throwing, so only a failed
// conversion turns into the default; errors of the read itself still pass.
TDateTime TCustomIniFile::ReadDateValue(const std::string& section, const std::string& key,
                                        TDateTime defaultValue) const
{
    TDateTime value = 0;
    return TryStrToDate(ReadText(section, key, std::string()), value) ? value : defaultValue;
}

TDateTime TCustomIniFile::ReadDateTimeValue(const std::string& section, const std::string& key,
                                            TDateTime defaultValue) const
{
    TDateTime value = 0;
    return TryStrToDateTime(ReadText(section, key, std::string()), value) ? value : defaultValue;
}

double TCustomIniFile::ReadFloatValue(const std::string& section, const std::string& key, double defaultValue) const
{
    double value = 0;
    return TryStrToFloat(ReadText(section, key, std::string()), value) ? value : defaultValue;
}

TDateTime TCustomIniFile::ReadTimeValue(const std::string& section, const std::string& key,
                                        TDateTime defaultValue) const
{
    TDateTime value = 0;
    return TryStrToTime(ReadText(section, key, std::string()), value) ? value : defaultValue;
}

void TCustomIniFile::WriteDateValue(const std::string& section, const std::string& key, TDateTime value)
{
    WriteText(section, key, DateToStr(value));
}

void TCustomIniFile::WriteDateTimeValue(const std::string& section, const std::string& key, TDateTime value)
{
    WriteText(section, key, DateTimeToStr(value));
}

void TCustomIniFile::WriteFloatValue(const std::string& section, const std::string& key, double value)
{
    WriteText(section, key, FloatToStr(value));
}

void TCustomIniFile::WriteTimeValue(const std::string& section, const std::string& key, TDateTime value)
{
    WriteText(section, key, TimeToStr(value));
}

// ---- TIniFile ----

namespace {

// Printable ASCII without "?", which is what a name the platform could not
// give in the program's code page comes back as.
bool IsPlainName(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= ' ' && c <= '~' && c != '?'; });
}

bool IsAscii(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Whether the platform would answer a default as it is given. One outside
// ASCII would go through the platform's code page conversion, one that ends
// in a blank through the platform's own trimming of it, and one that begins
// with a quote through the dropping of a pair of quotes that values get too.
bool ComesBackAsGiven(const std::string& defaultText)
{
    if (defaultText.empty())
        return true;
    return IsAscii(defaultText) && defaultText.back() != ' ' && defaultText.front() != '"' &&
           defaultText.front() != '\'';
}

} // namespace

bool TIniFile::AnswersWithoutAsking(const std::string& section, const std::string& key,
                                    const std::string& defaultText) const
{
    return FKeyNamesTaken && !key.empty() && IsPlainName(key) && ComesBackAsGiven(defaultText) &&
           SameText(section, FKeyNamesSection) &&
           !std::binary_search(FKeyNames.begin(), FKeyNames.end(), LowerCase(key));
}

std::string TIniFile::ReadText(const std::string& section, const std::string& key,
                               const std::string& defaultText) const
{
    // What the platform gives for a missing key: the default, cut to the
    // buffer like a value.
    if (AnswersWithoutAsking(section, key, defaultText))
        return defaultText.substr(0, ReadBufferSize - 1);
    char buffer[ReadBufferSize];
    DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultText.c_str(), buffer,
                                            sizeof buffer, FileName().c_str());
    return std::string(buffer, length);
}

void TIniFile::RaiseWriteError() const
{
    throw EFileError(FormatMessage1("Unable to write to %s", FileName()));
}

void TIniFile::TakeKeyNames(const std::string& section)
{
    ForgetKeyNames();
    if (!IsPlainName(section))
        return;
    TStringList names;
    if (ListNames(section.c_str(), names))
        return;
    std::vector<std::string> keys;
    keys.reserve(static_cast<size_t>(names.Count()));
    for (int i = 0; i < names.Count(); ++i) {
        if (!IsPlainName(names[i]))
            return;
        keys.push_back(LowerCase(names[i]));
    }
    std::sort(keys.begin(), keys.end());
    FKeyNames = std::move(keys);
    FKeyNamesSection = section;
    FKeyNamesTaken = true;
}

// A write may add the very key that a read would then skip; after one the
// platform is asked again for everything.
void TIniFile::ForgetKeyNames()
{
    FKeyNamesTaken = false;
    FKeyNamesSection.clear();
    FKeyNames.clear();
}

void TIniFile::WriteText(const std::string& section, const std::string& key, const std::string& text)
{
    ForgetKeyNames();
    if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), text.c_str(), FileName().c_str()))
        RaiseWriteError();
}

// Leaving the key out (and for the section list the section too) makes the
// platform answer the names, each ended by a zero and the whole by a second.
bool TIniFile::ListNames(const char* section, TStrings& list) const
{
    TStringsUpdate update(list);
    list.Clear();
    std::vector<char> buffer(ListBufferSize);
    DWORD length = GetPrivateProfileStringA(section, nullptr, "", buffer.data(), ListBufferSize, FileName().c_str());
    // A full buffer may end inside a name; the length marks where the
    // platform stopped, so nothing past it is read.
    const char* p = buffer.data();
    const char* end = buffer.data() + length;
    while (p < end && *p != '\0') {
        std::string name(p, strnlen(p, static_cast<size_t>(end - p)));
        list.Add(name);
        p += name.size() + 1;
    }
    // The platform answers two less than the buffer's size when it had to
    // cut the list.
    return length >= ListBufferSize - 2;
}

void TIniFile::ListKeys(const std::string& section, TStrings& list) const
{
    ListNames(section.c_str(), list);
}

void TIniFile::ListSections(TStrings& list) const
{
    ListNames(nullptr, list);
}

void TIniFile::ListPairs(const std::string& section, TStrings& list) const
{
    TStringList keys;
    ListKeys(section, keys);
    TStringsUpdate update(list);
    for (int i = 0; i < keys.Count(); ++i)
        list.SetValues(keys[i], ReadText(section, keys[i], std::string()));
}

void TIniFile::ClearSection(const std::string& section)
{
    ForgetKeyNames();
    if (!WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, FileName().c_str()))
        RaiseWriteError();
}

void TIniFile::RemoveKey(const std::string& section, const std::string& key)
{
    ForgetKeyNames();
    WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr, FileName().c_str());
}

void TIniFile::FlushFile()
{
    ForgetKeyNames();
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, FileName().c_str());
}

// ---- store helpers ----

namespace {

// There is no registry store in this program, so a TIniFile is the only
// kind of store the helpers talk to.
const TIniFile* AsStore(const TCustomIniFile* store)
{
    return dynamic_cast<const TIniFile*>(store);
}

TIniFile* AsStore(TCustomIniFile* store)
{
    return dynamic_cast<TIniFile*>(store);
}

bool IsEnclosedIn(const std::string& text, char quote)
{
    return !text.empty() && text.front() == quote && text.back() == quote;
}

} // namespace

std::string StoreReadText(const TCustomIniFile* store, const std::string& section, const std::string& key,
                          const std::string& defaultText)
{
    const TIniFile* ini = AsStore(store);
    return ini ? ini->ReadText(section, key, defaultText) : defaultText;
}

void StoreWriteText(TCustomIniFile* store, const std::string& section, const std::string& key,
                    const std::string& text)
{
    TIniFile* ini = AsStore(store);
    if (!ini)
        return;
    if (IsEnclosedIn(text, '"') || IsEnclosedIn(text, '\''))
        ini->WriteText(section, key, "\"" + text + "\"");
    else
        ini->WriteText(section, key, text);
}

int32_t StoreReadNumber(const TCustomIniFile* store, const std::string& section, const std::string& key,
                        int32_t defaultValue)
{
    const TIniFile* ini = AsStore(store);
    return ini ? ini->ReadNumber(section, key, defaultValue) : defaultValue;
}

void StoreWriteNumber(TCustomIniFile* store, const std::string& section, const std::string& key, int32_t value)
{
    if (TIniFile* ini = AsStore(store))
        ini->WriteNumber(section, key, value);
}
