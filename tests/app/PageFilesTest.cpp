#include "app/PageFiles.h"
#include "tests/support/TestSupport.h"
#include "toolkit/Forms.h"

#include <gtest/gtest.h>

using namespace testing_support;

TEST(PageFiles, NamesHaveTwoDigits)
{
    EXPECT_EQ("Page01.txt", PageFileName(1));
    EXPECT_EQ("Page09.txt", PageFileName(9));
    EXPECT_EQ("Page10.txt", PageFileName(10));
}

TEST(PageFiles, LineBreaksAreNormalisedInOnePass)
{
    struct Case {
        std::string in, out;
    } cases[] = {
        {"", ""},
        {"a\r\nb", "a\r\nb"},
        {"a\nb", "a\r\nb"},
        {"a\rb", "a\r\nb"},
        {"\n\r", "\r\n\r\n"},
        {"\r\r\n", "\r\n\r\n"},
        {"x\r", "x\r\n"},
        {"\n", "\r\n"},
        {std::string("a\0\nb", 4), std::string("a\0\r\nb", 5)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.out, NormalizeLineBreaks(c.in)) << "input of " << c.in.size() << " bytes";
}

TEST(PageFiles, ReadingAndWritingRealFiles)
{
    TempDir dir;
    EXPECT_FALSE(PageFileExists("Page01.txt"));
    WritePageFile("Page01.txt", std::string("a\0b", 3));
    EXPECT_TRUE(PageFileExists("Page01.txt"));
    EXPECT_EQ(std::string("a\0b", 3), ReadPageFile("Page01.txt"));
    WritePageFile("Page01.txt", "");
    EXPECT_EQ("", ReadPageFile("Page01.txt"));

    CreateDirectoryA("Page02.txt", nullptr);
    EXPECT_FALSE(PageFileExists("Page02.txt"));
    try {
        WritePageFile("Page02.txt", "x");
        FAIL() << "writing over a directory must fail";
    } catch (const Exception& e) {
        EXPECT_EQ("Cannot create file Page02.txt", e.Message());
    }
    EXPECT_FALSE(FileExists(PageTempFileName("Page02.txt")));
    try {
        ReadPageFile("Page09.txt");
        FAIL() << "reading a missing file must fail";
    } catch (const Exception& e) {
        EXPECT_EQ("Cannot open file Page09.txt", e.Message());
    }
}

TEST(ErrorBox, FullStopIsAddedAfterCharactersThatSortAfterIt)
{
    struct Case {
        std::string message, shown;
    } cases[] = {
        {"Cannot open file Page03.txt", "Cannot open file Page03.txt."},
        {"Stream write error", "Stream write error."},
        {"Ends with a stop.", "Ends with a stop."},
        {"Ends with a dash-", "Ends with a dash-"},
        {"Ends with a bang!", "Ends with a bang!"},
        {"Ends with a digit 7", "Ends with a digit 7."},
        {"Ends with a slash/", "Ends with a slash/."},
        {"", ""},
        {"high byte \xE9", "high byte \xE9."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.shown, TApplication::ErrorBoxText(c.message));
}

namespace {
struct BoxSeen {
    std::string caption, text;
    bool errorIcon = false;
};

DWORD WINAPI ReadAndDismissBox(void* param)
{
    auto* seen = static_cast<BoxSeen*>(param);
    for (int i = 0; i < 300; ++i) {
        HWND box = FindWindowA("#32770", "Quiverleaf");
        if (box) {
            char buf[256];
            GetWindowTextA(box, buf, sizeof buf);
            seen->caption = buf;
            HWND label = GetDlgItem(box, 0xFFFF);
            if (label) {
                GetWindowTextA(label, buf, sizeof buf);
                seen->text = buf;
            }
            seen->errorIcon = GetDlgItem(box, 0x14) != nullptr;
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            return 0;
        }
        Sleep(20);
    }
    return 1;
}
} // namespace

TEST(ErrorBox, TheRealBoxShowsMessageCaptionAndOK)
{
    BoxSeen seen;
    HANDLE reader = CreateThread(nullptr, 0, ReadAndDismissBox, &seen, 0, nullptr);
    try {
        throw EFileError("Cannot create file Page05.txt");
    } catch (...) {
        Application->HandleException(nullptr);
    }
    WaitForSingleObject(reader, 10000);
    CloseHandle(reader);
    EXPECT_EQ("Quiverleaf", seen.caption);
    EXPECT_EQ("Cannot create file Page05.txt.", seen.text);

    // A quiet abort shows nothing at all.
    BoxSeen none;
    HANDLE watcher = CreateThread(nullptr, 0, ReadAndDismissBox, &none, 0, nullptr);
    try {
        Abort();
    } catch (...) {
        Application->HandleException(nullptr);
    }
    DWORD waited = WaitForSingleObject(watcher, 1000);
    if (waited == WAIT_TIMEOUT)
        TerminateThread(watcher, 0);
    CloseHandle(watcher);
    EXPECT_EQ("", none.caption);
}
