// INI access against real files in a private temporary directory, the
// integer and locale converters, and the string list behaviour the settings
// store leans on.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "settings/IniFile.h"
#include "toolkit/Exceptions.h"
#include "toolkit/LocaleText.h"
#include "toolkit/StrUtils.h"
#include "toolkit/StringList.h"

namespace {

std::vector<std::string> Lines(const TStrings& list)
{
    std::vector<std::string> lines;
    for (int i = 0; i < list.Count(); ++i)
        lines.push_back(list[i]);
    return lines;
}

void Fill(TStrings& list, const std::vector<std::string>& lines)
{
    for (const auto& line : lines)
        list.Add(line);
}

bool FileExists(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string RawFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The text after "key=" on the key's line of the raw file, or "<absent>".
std::string RawValue(const std::string& path, const std::string& key)
{
    std::string raw = "\r\n" + RawFile(path);
    auto at = raw.find("\r\n" + key + "=");
    if (at == std::string::npos)
        return "<absent>";
    at += key.size() + 3;
    return raw.substr(at, raw.find("\r\n", at) - at);
}

// A fresh directory under the user's temporary directory, removed with
// everything in it at the end of the test.
class TempDir {
public:
    TempDir()
    {
        static int serial = 0;
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        FPath = std::string(base) + "qv-ini-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(GetTickCount64()) + "-" + std::to_string(++serial);
        if (!CreateDirectoryA(FPath.c_str(), nullptr))
            throw std::runtime_error("cannot create " + FPath);
    }
    ~TempDir() { RemoveTree(FPath); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return FPath; }
    std::string File(const std::string& name) const { return FPath + "\\" + name; }

private:
    static void RemoveTree(const std::string& dir)
    {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                std::string name = found.cFileName;
                if (name == "." || name == "..")
                    continue;
                std::string path = dir + "\\" + name;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(path);
                else
                    DeleteFileA(path.c_str());
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(dir.c_str());
    }

    std::string FPath;
};

// Opens a file without sharing, so that nobody else can read or replace it
// while the object lives.
class ExclusiveHandle {
public:
    explicit ExclusiveHandle(const std::string& path)
        : FHandle(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr))
    {
    }
    ~ExclusiveHandle()
    {
        if (FHandle != INVALID_HANDLE_VALUE)
            CloseHandle(FHandle);
    }
    ExclusiveHandle(const ExclusiveHandle&) = delete;
    ExclusiveHandle& operator=(const ExclusiveHandle&) = delete;
    bool IsOpen() const { return FHandle != INVALID_HANDLE_VALUE; }

private:
    HANDLE FHandle;
};

// An INI object that is not a TIniFile: the store helpers must leave it
// alone. It answers reads from memory and counts every call.
class MemoryIniFile : public TCustomIniFile {
public:
    MemoryIniFile() : TCustomIniFile("memory.ini") {}

    std::string ReadText(const std::string& section, const std::string& key,
                         const std::string& defaultText) const override
    {
        ++calls;
        auto found = values.find(section + "/" + key);
        return found == values.end() ? defaultText : found->second;
    }
    void WriteText(const std::string& section, const std::string& key, const std::string& text) override
    {
        ++calls;
        values[section + "/" + key] = text;
    }
    void ListKeys(const std::string&, TStrings&) const override { ++calls; }
    void ListSections(TStrings&) const override { ++calls; }
    void ListPairs(const std::string&, TStrings&) const override { ++calls; }
    void ClearSection(const std::string&) override { ++calls; }
    void RemoveKey(const std::string&, const std::string&) override { ++calls; }
    void FlushFile() override { ++calls; }

    std::map<std::string, std::string> values;
    mutable int calls = 0;
};

std::string Separator(LCTYPE type)
{
    char buffer[16];
    int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer);
    return length > 1 ? std::string(buffer, static_cast<size_t>(length - 1)) : std::string();
}

class IniFileTest : public testing::Test {
protected:
    TempDir dir;
    std::string path = dir.File("Quiverleaf.ini");
    TIniFile ini{path};
};

// ---- reading and writing values ----

TEST_F(IniFileTest, MissingFileGivesDefaultsAndFirstWriteCreatesIt)
{
    EXPECT_EQ("fallback", ini.ReadText("User", "Name01_Text", "fallback"));
    EXPECT_EQ(-7, ini.ReadNumber("User", "FormVersion", -7));
    EXPECT_TRUE(ini.ReadFlag("User", "Visible", true));
    EXPECT_FALSE(ini.ReadFlag("User", "Visible", false));
    EXPECT_EQ(2.5, ini.ReadFloatValue("User", "Ratio", 2.5));
    EXPECT_EQ("dflt", StoreReadText(&ini, "User", "Name01_Text", "dflt"));
    EXPECT_EQ(99, StoreReadNumber(&ini, "User", "FormVersion", 99));
    EXPECT_FALSE(FileExists(path)) << "reading must not create " << path;

    ini.WriteText("User", "Name01_Text", "1");
    ASSERT_TRUE(FileExists(path));
    EXPECT_EQ("[User]\r\nName01_Text=1\r\n", RawFile(path));
    EXPECT_EQ("1", ini.ReadText("User", "Name01_Text", "fallback"));
}

TEST_F(IniFileTest, ReadNumberConvertsIntegerTextOrGivesDefault)
{
    const int32_t kDefault = -555;
    struct Case {
        std::string stored; // as written to the file
        int32_t expected;
    };
    const Case cases[] = {
        {"0x1F", 31},
        {"0X1f", 31},
        {"$1F", 31},
        {"-$1F", -31},
        {"42", 42},
        {"-42", -42},
        {"+42", 42},
        {"\"   42\"", 42}, // the quotes keep the blanks through the profile layer
        {"0", 0},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"-2147483640", -2147483640},
        {"12abc", kDefault},
        {"", kDefault},
        {"abc", kDefault},
        {"0x", kDefault},
        {"$", kDefault},
        {"-", kDefault},
        {"\"42 \"", kDefault},
        {"1.5", kDefault},
        {"2147483648", kDefault},
        {"-2147483649", kDefault},
        {"$80000000", kDefault},
        {"0xFFFFFFFF", kDefault},
        {"99999999999999999999", kDefault},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        ini.WriteText("User", "N" + std::to_string(i), cases[i].stored);
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(cases[i].expected, ini.ReadNumber("User", "N" + std::to_string(i), kDefault))
            << "stored text: " << cases[i].stored;
}

TEST_F(IniFileTest, WriteNumberWritesPlainDecimal)
{
    const struct {
        int32_t value;
        std::string text;
    } cases[] = {
        {0, "0"}, {31, "31"}, {-1, "-1"}, {-2147483633, "-2147483633"}, {1000000, "1000000"}, {INT32_MIN, "-2147483648"},
    };
    for (const auto& c : cases) {
        ini.WriteNumber("User", "Number", c.value);
        EXPECT_EQ(c.text, ini.ReadText("User", "Number", "")) << "value " << c.value;
        EXPECT_EQ(c.value, ini.ReadNumber("User", "Number", 12345)) << "value " << c.value;
    }
}

TEST_F(IniFileTest, FlagsWriteOneAndZeroAndReadAnyNumber)
{
    ini.WriteFlag("User", "On", true);
    ini.WriteFlag("User", "Off", false);
    EXPECT_EQ("1", RawValue(path, "On"));
    EXPECT_EQ("0", RawValue(path, "Off"));

    const struct {
        std::string stored;
        bool ifDefaultFalse;
        bool ifDefaultTrue;
    } cases[] = {
        {"1", true, true},   {"0", false, false},   {"2", true, true},     {"-1", true, true},
        {"0x0", false, false}, {"abc", false, true}, {"", false, true},     {"True", false, true},
    };
    for (const auto& c : cases) {
        ini.WriteText("User", "Flag", c.stored);
        EXPECT_EQ(c.ifDefaultFalse, ini.ReadFlag("User", "Flag", false)) << "stored text: " << c.stored;
        EXPECT_EQ(c.ifDefaultTrue, ini.ReadFlag("User", "Flag", true)) << "stored text: " << c.stored;
    }
}

TEST_F(IniFileTest, StoreWriteTextProtectsEnclosingQuotes)
{
    const struct {
        std::string text;
        std::string raw; // the value as it stands in the file
    } cases[] = {
        {"\"both\"", "\"\"both\"\""},
        {"'both'", "\"'both'\""},
        {"\"", "\"\"\""},
        {"'", "\"'\""},
        {"\"left", "\"left"},
        {"right'", "right'"},
        {"'mixed\"", "'mixed\""},
        {"in \"the\" middle", "in \"the\" middle"},
        {"plain", "plain"},
        {"", ""},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        StoreWriteText(&ini, "User", "T" + std::to_string(i), cases[i].text);
    for (size_t i = 0; i < std::size(cases); ++i) {
        const std::string key = "T" + std::to_string(i);
        EXPECT_EQ(cases[i].raw, RawValue(path, key)) << "text: " << cases[i].text;
        EXPECT_EQ(cases[i].text, StoreReadText(&ini, "User", key, "<default>")) << "text: " << cases[i].text;
    }
}

TEST_F(IniFileTest, StoreNumbersRoundTrip)
{
    for (int32_t value : {0, 7, -2147483633, INT32_MAX, INT32_MIN}) {
        StoreWriteNumber(&ini, "User", "FormVersion", value);
        EXPECT_EQ(IntToStr(value), RawValue(path, "FormVersion"));
        EXPECT_EQ(value, StoreReadNumber(&ini, "User", "FormVersion", 1));
    }
}

TEST_F(IniFileTest, LongValueReadsBackCut)
{
    std::string value;
    for (int i = 0; i < 3000; ++i)
        value += static_cast<char>('a' + i % 26);
    ini.WriteText("User", "Long", value);
    std::string read = ini.ReadText("User", "Long", "");
    EXPECT_EQ(2047u, read.size());
    EXPECT_EQ(value.substr(0, 2047), read);
}

TEST_F(IniFileTest, LocaleValuesRoundTripAndBadTextGivesDefault)
{
    TDateTime date = 0, time = 0;
    ASSERT_TRUE(TryEncodeDate(2024, 2, 29, date));
    ASSERT_TRUE(TryEncodeTime(13, 45, 30, 0, time));

    ini.WriteDateValue("User", "Date", date);
    ini.WriteDateTimeValue("User", "Stamp", date + time);
    ini.WriteTimeValue("User", "Time", time);
    ini.WriteFloatValue("User", "Float", 1.25);
    ini.WriteDateTimeValue("User", "Midnight", date);

    EXPECT_EQ(date, ini.ReadDateValue("User", "Date", -1)) << "text " << ini.ReadText("User", "Date", "");
    EXPECT_NEAR(date + time, ini.ReadDateTimeValue("User", "Stamp", -1), 1e-9)
        << "text " << ini.ReadText("User", "Stamp", "");
    EXPECT_NEAR(time, ini.ReadTimeValue("User", "Time", -1), 1e-9) << "text " << ini.ReadText("User", "Time", "");
    EXPECT_EQ(1.25, ini.ReadFloatValue("User", "Float", -1));
    EXPECT_EQ("1" + Separator(LOCALE_SDECIMAL) + "25", ini.ReadText("User", "Float", ""));
    EXPECT_EQ(ini.ReadText("User", "Date", ""), ini.ReadText("User", "Midnight", "")) << "midnight adds no time";

    for (const std::string bad : {"", "abc", "12abc", "31/31/31/31"}) {
        ini.WriteText("User", "Bad", bad);
        EXPECT_EQ(-3.0, ini.ReadDateValue("User", "Bad", -3)) << "text: " << bad;
        EXPECT_EQ(-3.0, ini.ReadDateTimeValue("User", "Bad", -3)) << "text: " << bad;
        EXPECT_EQ(-3.0, ini.ReadTimeValue("User", "Bad", -3)) << "text: " << bad;
        EXPECT_EQ(-3.0, ini.ReadFloatValue("User", "Bad", -3)) << "text: " << bad;
    }
}

// ---- lists, clearing and removing ----

class IniListTest : public IniFileTest {
protected:
    void SetUp() override
    {
        ini.WriteText("User", "Alpha", "1");
        ini.WriteText("User", "Beta", "2");
        ini.WriteText("User", "Gamma", "");
        ini.WriteText("Other", "X", "9");
    }
};

TEST_F(IniListTest, ListKeysAndSectionsReplaceTheListInOneChange)
{
    TStringList list;
    Fill(list, {"stale"});
    int changes = 0;
    list.OnChange = [&] { ++changes; };

    ini.ListKeys("User", list);
    EXPECT_EQ((std::vector<std::string>{"Alpha", "Beta", "Gamma"}), Lines(list));
    EXPECT_EQ(1, changes);

    ini.ListSections(list);
    EXPECT_EQ((std::vector<std::string>{"User", "Other"}), Lines(list));
    EXPECT_EQ(2, changes);

    ini.ListKeys("Nowhere", list);
    EXPECT_EQ(std::vector<std::string>{}, Lines(list));
}

TEST_F(IniListTest, ListPairsSetsEntriesWithoutClearing)
{
    TStringList list;
    Fill(list, {"Beta=old", "Keep=1", "Gamma=stale"});
    int changes = 0;
    list.OnChange = [&] { ++changes; };

    ini.ListPairs("User", list);
    // Beta replaced in place, Gamma's empty value removes its entry.
    EXPECT_EQ((std::vector<std::string>{"Beta=2", "Keep=1", "Alpha=1"}), Lines(list));
    EXPECT_EQ(1, changes);
}

TEST_F(IniListTest, ClearSectionRemovesOnlyThatSection)
{
    ini.ClearSection("User");
    TStringList sections;
    ini.ListSections(sections);
    EXPECT_EQ(std::vector<std::string>{"Other"}, Lines(sections));
    EXPECT_EQ("gone", ini.ReadText("User", "Alpha", "gone"));
    EXPECT_EQ("9", ini.ReadText("Other", "X", ""));
    EXPECT_NO_THROW(ini.ClearSection("Nowhere"));
}

TEST_F(IniListTest, RemoveKeyRemovesOneKey)
{
    ini.RemoveKey("User", "Beta");
    EXPECT_EQ("<absent>", RawValue(path, "Beta"));
    EXPECT_EQ("1", ini.ReadText("User", "Alpha", ""));
    EXPECT_NO_THROW(ini.RemoveKey("User", "NoSuchKey"));
    EXPECT_NO_THROW(ini.RemoveKey("Nowhere", "Alpha"));
}

TEST_F(IniListTest, FlushFileKeepsTheContents)
{
    const std::string before = RawFile(path);
    EXPECT_NO_THROW(ini.FlushFile());
    EXPECT_EQ(before, RawFile(path));
}

// ---- reads after taking a section's key names ----

struct TKeyNamesCase {
    const char* what;
    bool fileExists;
    std::string contents;
    // Whether reads still ask the platform about every key, because the
    // names could not be taken exactly.
    bool asksForEveryKey;
};

std::vector<TKeyNamesCase> KeyNamesCases()
{
    std::string many = "[User]\r\n";
    for (int i = 0; i < 1200; ++i)
        many += "Key" + std::to_string(10000 + i) + "_padding_names=" + std::to_string(i) + "\r\n";
    many += "Omega=far\r\n";
    return {
        {"no file", false, "", false},
        {"empty file", true, "", false},
        {"keys in every form", true,
         "[User]\r\nAlpha=1\r\n  beta  =  two  \r\nGAMMA=\"q\"\r\n;Delta=comment\r\nnovalue\r\n"
         "[Other]\r\nEpsilon=5\r\nZeta=6\r\n",
         false},
        {"section twice", true, "[User]\r\nAlpha=1\r\n[other]\r\nEpsilon=5\r\n[user]\r\nZeta=late\r\n", false},
        {"section in capitals", true, "[USER]\r\nalpha=x\r\n", false},
        {"more names than the list holds", true, many, true},
        {"a name outside ASCII", true, "[User]\r\nK\xE9y=1\r\nAlpha=2\r\n", true},
    };
}

TEST_F(IniFileTest, ReadsAfterTakingKeyNamesAnswerAsThePlatformDoes)
{
    struct TQuery {
        std::string section, key, defaultText;
    };
    const std::vector<TQuery> queries = {
        {"User", "Alpha", "d"},        {"User", "BETA", "d"},          {"User", "Gamma", ""},
        {"User", "Delta", "dflt  "},   {"User", "novalue", "x"},       {"User", "Zeta", "d"},
        {"user", "ALPHA", "d"},        {"Other", "Epsilon", "d"},      {"User", "Epsilon", " "},
        {"User", "Missing", "   "},    {"User", "Missing", "a b  "},   {"User", "Missing", ""},
        {"User", "Missing", " lead"},  {"User", "Missing", "tab\t"},   {"User", "Missing", std::string(3000, 'x')},
        {"User", "Missing", "\xE9t\xE9 "}, {"User", "Omega", "d"},     {"User", "Key10005_padding_names", "d"},
        {"User", "K\xE9y", "d"},       {"User", "", "empty key"},      {"User", "Missing", "\"quoted\""},
        {"User", "Missing", "'single'"}, {"User", "Missing", "\"open"},  {"User", "Missing", "'"},
    };
    for (const auto& c : KeyNamesCases()) {
        SCOPED_TRACE(c.what);
        DeleteFileA(path.c_str());
        if (c.fileExists)
            std::ofstream(path, std::ios::binary) << c.contents;

        TIniFile taken(path);
        taken.TakeKeyNames("User");
        for (const auto& q : queries)
            EXPECT_EQ(TIniFile(path).ReadText(q.section, q.key, q.defaultText),
                      taken.ReadText(q.section, q.key, q.defaultText))
                << "[" << q.section << "] " << q.key << " with default \"" << q.defaultText.substr(0, 20) << "\"";

        // A key added behind the object's back shows whether it still asks:
        // it does for the names it could not take, and once it has written.
        WritePrivateProfileStringA("User", "Late", "added", path.c_str());
        EXPECT_EQ(c.asksForEveryKey ? "added" : "none", taken.ReadText("User", "Late", "none"));
        taken.WriteText("Other", "Written", "1");
        EXPECT_EQ("added", taken.ReadText("User", "Late", "none"));
    }
}

// ---- write failures ----

void ExpectWriteError(const std::function<void()>& write, const std::string& fileName, const std::string& what)
{
    try {
        write();
        ADD_FAILURE() << what << ": no error raised";
    } catch (const EFileError& e) {
        EXPECT_EQ("Unable to write to " + fileName, e.Message()) << what;
    }
}

TEST_F(IniFileTest, WriteToDirectoryRaisesWithTheStoredName)
{
    TIniFile onDirectory(dir.Path());
    ExpectWriteError([&] { onDirectory.WriteText("User", "K", "v"); }, dir.Path(), "WriteText");
    ExpectWriteError([&] { onDirectory.WriteNumber("User", "K", 1); }, dir.Path(), "WriteNumber");
    ExpectWriteError([&] { onDirectory.WriteFlag("User", "K", true); }, dir.Path(), "WriteFlag");
    ExpectWriteError([&] { StoreWriteText(&onDirectory, "User", "K", "v"); }, dir.Path(), "StoreWriteText");

    // The name is reported as given, not completed to a full path.
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(dir.Path().c_str()));
    CreateDirectoryA("sub", nullptr);
    TIniFile relative(".\\sub");
    ExpectWriteError([&] { relative.WriteText("User", "K", "v"); }, ".\\sub", "relative WriteText");
    SetCurrentDirectoryA(previous);
}

TEST_F(IniFileTest, WriteToFileHeldOpenRaisesButRemoveAndFlushDoNot)
{
    ini.WriteText("User", "K", "before");
    ExclusiveHandle held(path);
    ASSERT_TRUE(held.IsOpen());

    ExpectWriteError([&] { ini.WriteText("User", "K", "after"); }, path, "WriteText");
    ExpectWriteError([&] { ini.ClearSection("User"); }, path, "ClearSection");
    EXPECT_NO_THROW(ini.RemoveKey("User", "K"));
    EXPECT_NO_THROW(ini.FlushFile());
}

// ---- store helpers on something that is not a TIniFile ----

TEST(StoreHelpers, OtherStoresReadDefaultsAndWriteNothing)
{
    MemoryIniFile memory;
    memory.values["User/Name"] = "stored";
    memory.values["User/Count"] = "5";
    memory.calls = 0;

    EXPECT_EQ("dflt", StoreReadText(&memory, "User", "Name", "dflt"));
    EXPECT_EQ(3, StoreReadNumber(&memory, "User", "Count", 3));
    StoreWriteText(&memory, "User", "Name", "new");
    StoreWriteNumber(&memory, "User", "Count", 8);
    EXPECT_EQ(0, memory.calls);
    EXPECT_EQ("stored", memory.values["User/Name"]);

    EXPECT_EQ("dflt", StoreReadText(nullptr, "User", "Name", "dflt"));
    EXPECT_EQ(3, StoreReadNumber(nullptr, "User", "Count", 3));
    EXPECT_NO_THROW(StoreWriteText(nullptr, "User", "Name", "x"));
    EXPECT_NO_THROW(StoreWriteNumber(nullptr, "User", "Count", 1));
}

// ---- converters ----

TEST(TryStrToInt, FollowsTheIntegerTextRules)
{
    const struct {
        std::string text;
        bool ok;
        int32_t value;
    } cases[] = {
        {"0", true, 0},
        {"123", true, 123},
        {"-123", true, -123},
        {"+123", true, 123},
        {"   7", true, 7},
        {"$ff", true, 255},
        {"$FF", true, 255},
        {"0x10", true, 16},
        {"  -0X10", true, -16},
        {"-$80000000", true, INT32_MIN},
        {"$7FFFFFFF", true, INT32_MAX},
        {"00000000000000000042", true, 42},
        {"", false, 0},
        {"   ", false, 0},
        {"\t7", false, 0},
        {"7 ", false, 0},
        {"12abc", false, 0},
        {"- 5", false, 0},
        {"+-5", false, 0},
        {"$", false, 0},
        {"$G", false, 0},
        {"0x", false, 0},
        {"1e3", false, 0},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"$80000000", false, 0},
        {"$100000000", false, 0},
        {"18446744073709551617", false, 0},
    };
    for (const auto& c : cases) {
        int32_t value = 999;
        bool ok = TryStrToInt(c.text, value);
        EXPECT_EQ(c.ok, ok) << "text: [" << c.text << "]";
        EXPECT_EQ(c.ok ? c.value : 999, value) << "text: [" << c.text << "] (a failure leaves the value alone)";
    }
}

TEST(TryStrToFloat, UsesTheLocaleDecimalSeparator)
{
    const std::string sep = Separator(LOCALE_SDECIMAL);
    const struct {
        std::string text;
        bool ok;
        double value;
    } cases[] = {
        {"1" + sep + "5", true, 1.5}, {"  -2" + sep + "25  ", true, -2.25}, {"1E3", true, 1000.0},
        {"5e-1", true, 0.5},          {sep + "5", true, 0.5},              {"", false, 0},
        {sep, false, 0},              {"1x", false, 0},                    {"1E", false, 0},
        {"1e999", false, 0},          {"INF", false, 0},                   {"1" + sep + "2" + sep + "3", false, 0},
    };
    for (const auto& c : cases) {
        double value = -99;
        EXPECT_EQ(c.ok, TryStrToFloat(c.text, value)) << "text: [" << c.text << "]";
        if (c.ok) {
            EXPECT_EQ(c.value, value) << "text: [" << c.text << "]";
        }
    }
}

TEST(DateSerials, CountDaysFromTheEndOf1899)
{
    const struct {
        int year, month, day;
        double serial;
    } cases[] = {
        {1899, 12, 30, 0}, {1900, 1, 1, 2}, {2000, 1, 1, 36526}, {2024, 2, 29, 45351},
        {1, 1, 1, -693593}, {9999, 12, 31, 2958465}, {1899, 12, 29, -1},
    };
    for (const auto& c : cases) {
        TDateTime value = 0;
        ASSERT_TRUE(TryEncodeDate(c.year, c.month, c.day, value)) << c.year << "-" << c.month << "-" << c.day;
        EXPECT_EQ(c.serial, value) << c.year << "-" << c.month << "-" << c.day;
        int y = 0, m = 0, d = 0;
        DecodeDate(c.serial, y, m, d);
        EXPECT_EQ((std::vector<int>{c.year, c.month, c.day}), (std::vector<int>{y, m, d})) << "serial " << c.serial;
    }
    TDateTime untouched = 5;
    EXPECT_FALSE(TryEncodeDate(2023, 2, 29, untouched));
    EXPECT_FALSE(TryEncodeDate(2024, 13, 1, untouched));
    EXPECT_FALSE(TryEncodeDate(0, 1, 1, untouched));
    EXPECT_EQ(5.0, untouched);
}

TEST(TextHelpers, CompareIgnoringAsciiCaseAndTrimBlanks)
{
    EXPECT_TRUE(SameText("ToolBar.CurrentDock", "toolbar.currentdock"));
    EXPECT_FALSE(SameText("Memo01", "Memo1"));
    EXPECT_LT(CompareText("apple", "Banana"), 0);
    EXPECT_GT(CompareText("memo10", "Memo01"), 0);
    EXPECT_LT(CompareText("Page", "page01"), 0);
    EXPECT_EQ("MEMO01_FONT", UpperCase("Memo01_Font"));
    EXPECT_EQ("memo01_font", LowerCase("Memo01_Font"));
    EXPECT_EQ("a b", Trim(" \t a b \r\n"));
    EXPECT_EQ("", Trim("   "));
}

// ---- string lists ----

TEST(StringList, ValuesSetReplaceAndRemove)
{
    TStringList list;
    Fill(list, {"Alpha=1", "beta=2", "gamma", "=x"});

    const struct {
        std::string name;
        int index;
    } lookups[] = {{"ALPHA", 0}, {"Beta", 1}, {"gamma", -1}, {"delta", -1}, {"", 3}};
    for (const auto& l : lookups)
        EXPECT_EQ(l.index, list.IndexOfName(l.name)) << "name: [" << l.name << "]";

    EXPECT_EQ("beta", list.Names(1));
    EXPECT_EQ("2", list.ValueFromIndex(1));
    EXPECT_EQ("", list.Names(2));
    EXPECT_EQ("2", list.Values("BETA"));
    EXPECT_EQ("", list.Values("missing"));

    list.SetValues("BETA", "two");
    list.SetValues("Delta", "4");
    list.SetValues("alpha", "");
    list.SetValues("missing", "");
    EXPECT_EQ((std::vector<std::string>{"BETA=two", "gamma", "=x", "Delta=4"}), Lines(list));
}

TEST(StringList, IndexOfIgnoresCase)
{
    TStringList list;
    Fill(list, {"DockTop", "DockBottom"});
    EXPECT_EQ(1, list.IndexOf("dockbottom"));
    EXPECT_EQ(-1, list.IndexOf("DockLeft"));
    list.SetSorted(true);
    EXPECT_EQ((std::vector<std::string>{"DockBottom", "DockTop"}), Lines(list));
    EXPECT_EQ(1, list.IndexOf("DOCKTOP"));
}

TEST(StringList, SortedListsApplyTheDuplicatesRule)
{
    const struct {
        TDuplicates rule;
        std::vector<std::string> expected;
        bool raises;
    } cases[] = {
        {dupIgnore, {"a", "b"}, false},
        {dupAccept, {"a", "B", "b"}, false},
        {dupError, {"a", "b"}, true},
    };
    for (const auto& c : cases) {
        TStringList list;
        list.SetSorted(true);
        list.SetDuplicates(c.rule);
        list.Add("b");
        list.Add("a");
        try {
            list.Add("B");
            EXPECT_FALSE(c.raises) << "rule " << c.rule << ": no error raised";
        } catch (const EListError& e) {
            EXPECT_TRUE(c.raises) << "rule " << c.rule << ": unexpected " << e.Message();
            EXPECT_EQ("String list does not allow duplicates", e.Message());
        }
        EXPECT_EQ(c.expected, Lines(list)) << "rule " << c.rule;
    }

    TStringList sorted;
    sorted.SetSorted(true);
    EXPECT_THROW(sorted.Insert(0, "x"), EListError);
    EXPECT_THROW(sorted.Get(0), EListError);
}

TEST(StringList, TextRoundTrips)
{
    const struct {
        std::string text;
        std::vector<std::string> lines;
        std::string textBack;
    } cases[] = {
        {"", {}, ""},
        {"a\r\nb\r\n", {"a", "b"}, "a\r\nb\r\n"},
        {"a\r\nb", {"a", "b"}, "a\r\nb\r\n"},
        {"a\nb\rc", {"a", "b", "c"}, "a\r\nb\r\nc\r\n"},
        {"a\r\n\r\n", {"a", ""}, "a\r\n\r\n"},
        {"\r\n", {""}, "\r\n"},
    };
    for (const auto& c : cases) {
        TStringList list;
        list.SetText(c.text);
        EXPECT_EQ(c.lines, Lines(list)) << "text: " << testing::PrintToString(c.text);
        EXPECT_EQ(c.textBack, list.Text()) << "text: " << testing::PrintToString(c.text);
    }
}

TEST(StringList, NestedUpdatesFireOnChangeOnceAtTheEnd)
{
    TStringList list;
    int changes = 0;
    list.OnChange = [&] { ++changes; };

    list.Add("one");
    list.Add("two");
    EXPECT_EQ(2, changes) << "outside an update every change fires";

    list.BeginUpdate();
    list.BeginUpdate();
    list.Add("three");
    list.Delete(0);
    list.EndUpdate();
    EXPECT_EQ(2, changes) << "inner EndUpdate must not fire";
    list.EndUpdate();
    EXPECT_EQ(3, changes);

    list.BeginUpdate();
    list.EndUpdate();
    EXPECT_EQ(3, changes) << "an update without changes fires nothing";

    TStringList source;
    TPersistent marker;
    source.AddObject("x", &marker);
    source.Add("y");
    list.Assign(&source);
    EXPECT_EQ(4, changes);
    EXPECT_EQ((std::vector<std::string>{"x", "y"}), Lines(list));
    EXPECT_EQ(&marker, list.Objects(0));
}

} // namespace
