// The real program, started as a user would start it: typed into with real
// input, closed, and started again.
#include "app/PageFiles.h"
#include "settings/WindowPlacement.h"
#include "tests/support/ProcessRunner.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// The settings file has a bare name, so the profile functions keep it in the
// Windows folder. Each test starts without one; the user's own is kept aside.
class WindowsIniFile : public WindowsSettingsFile {
public:
    WindowsIniFile()
    {
        if (!MovedAside())
            ADD_FAILURE() << "cannot move the existing " << Path() << " aside (error " << GetLastError() << ")";
    }
    std::string Read(const std::string& key) const { return ReadUserKey(Path(), key); }
    void Write(const std::string& key, const std::string& value) const { WriteUserKey(Path(), key, value); }
    std::vector<std::string> Keys() const
    {
        std::vector<char> buf(65536);
        DWORD n = GetPrivateProfileStringA("User", nullptr, "", buf.data(), static_cast<DWORD>(buf.size()), Path().c_str());
        std::vector<std::string> keys;
        for (DWORD at = 0; at < n && buf[at];) {
            keys.emplace_back(&buf[at]);
            at += static_cast<DWORD>(keys.back().size()) + 1;
        }
        return keys;
    }
};

// The text of the visible page editor of another process's window.
HWND VisibleEditor(HWND main)
{
    for (HWND child = FindWindowExA(main, nullptr, "Edit", nullptr); child;
         child = FindWindowExA(main, child, "Edit", nullptr))
        if (IsWindowVisible(child))
            return child;
    return nullptr;
}

std::string VisibleEditorText(HWND main)
{
    HWND editor = VisibleEditor(main);
    if (!editor)
        return "<no visible editor>";
    char buf[512] = {};
    SendMessageA(editor, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf));
    return buf;
}

// Runs the program in `dir` until its window shows, lets `use` work on it,
// then closes it and expects a clean exit.
template <class Use>
void RunOnce(const std::string& dir, Use use, int showCommand = RunningProgram::kNoShowCommand)
{
    const std::string exe = QuiverleafExe();
    ASSERT_FALSE(exe.empty()) << "QV_EXE must name the built Quiverleaf.exe";
    RunningProgram program(exe, dir, showCommand);
    ASSERT_TRUE(program.Started()) << exe;
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(nullptr, main);
    Pump(200);
    use(main);
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, program.WaitForExit());
}

} // namespace

TEST(EndToEnd, TypedTextIsInThePageFilesAndComesBack)
{
    WindowsIniFile ini;
    TempDir dir;
    WriteFileBytes(PageFileName(4), "kept\nas it was");
    RunOnce(dir.Path(), [](HWND main) {
        Activate(main);
        TypeText("Hello from\nthe keyboard");
        // The other process takes the keys in its own time.
        WaitFor([main] { return VisibleEditorText(main) == "Hello from\r\nthe keyboard"; });
        EXPECT_EQ("Hello from\r\nthe keyboard", VisibleEditorText(main));
    });
    EXPECT_EQ("Hello from\r\nthe keyboard", ReadFileBytes(PageFileName(1)));
    EXPECT_EQ("kept\r\nas it was", ReadFileBytes(PageFileName(4)));
    for (int n : {2, 3, 5, 6, 7, 8, 9, 10}) {
        SCOPED_TRACE(n);
        ASSERT_TRUE(FileExists(PageFileName(n)));
        EXPECT_EQ("", ReadFileBytes(PageFileName(n)));
    }

    // Started again, the first page shows the text typed last time.
    RunOnce(dir.Path(), [](HWND main) { EXPECT_EQ("Hello from\r\nthe keyboard", VisibleEditorText(main)); });
}

TEST(EndToEnd, SettingsFileIsWrittenAndAHandEditedOneComesBack)
{
    WindowsIniFile ini;
    TempDir dir;
    WriteFileBytes(PageFileName(7), "seven");

    // First run: the whole settings file with the values of a first start.
    RunOnce(dir.Path(), [](HWND main) {
        RECT r;
        GetWindowRect(main, &r);
        EXPECT_EQ(199, r.left);
        EXPECT_EQ(186, r.top);
    });
    std::vector<std::string> keys = ini.Keys();
    EXPECT_EQ(9u + 119u, keys.size());
    ASSERT_GE(keys.size(), 10u);
    EXPECT_EQ("FormVersion", keys[0]);
    EXPECT_EQ("ToolBar_CurrentDock", keys[9]);
    EXPECT_EQ("Name10_Text", keys.back());
    // What depends on the screen is read from it, not assumed.
    const std::string ppi = std::to_string(ScreenPixelsPerInch());
    const std::string normPosHere = "NormPos" + ScreenSizeSuffix();
    const std::string pointSize = std::to_string(MulDiv(11, 72, ScreenPixelsPerInch()));
    struct Expected {
        const char* key;
        const char* value;
    } first[] = {
        {"FormVersion", "0"},        {"ShowCmd", "1"},
        {"PixelsPerInch", ppi.c_str()}, {normPosHere.c_str(), "199,186,799,661"},
        {"NormPos", "199,186,799,661"}, {"Visible", "0"},
        {"ToolBar_CurrentDock", "DockTop"}, {"ToolBar_Color", "-2147483633"},
        {"ToolBar_FontCharset", "1"}, {"ToolBar_FontColor", "-2147483640"},
        {"ToolBar_FontHeight", "-11"}, {"ToolBar_FontName", "MS Sans Serif"},
        {"ToolBar_FontPitch", "fpDefault"}, {"ToolBar_FontSize", pointSize.c_str()},
        {"ToolBar_FontStyle", "[]"}, {"Page01_Enabled", "False"},
        {"Page02_Enabled", "True"},  {"Memo01_Visible", "True"},
        {"Memo10_Visible", "False"}, {"Memo05_Color", "-2147483643"},
        {"Memo09_FontName", "MS Sans Serif"}, {"Name01_Text", "1"},
        {"Name10_Text", "10"},
    };
    for (const Expected& e : first)
        EXPECT_EQ(e.value, ini.Read(e.key)) << e.key;

    // Edited by hand: page 3 renamed with blanks and quotes, page 5 with a
    // name in quotes, page 7 current, every editor red.
    ini.Write("Name03_Text", "   'Quoted' page   ");
    ini.Write("Name05_Text", "\"\"both ends\"\"");
    ini.Write("Page01_Enabled", "True");
    ini.Write("Page07_Enabled", "false");
    ini.Write("Memo01_Visible", "FALSE");
    ini.Write("Memo07_Visible", "true");
    for (int n = 1; n <= 10; ++n) {
        char key[32];
        wsprintfA(key, "Memo%02d_Color", n);
        ini.Write(key, "255");
    }
    ini.Write(normPosHere, "100, 50, 720, 560");

    RunOnce(dir.Path(), [](HWND main) {
        EXPECT_EQ("seven", VisibleEditorText(main));
        RECT r;
        GetWindowRect(main, &r);
        EXPECT_EQ(100, r.left);
        EXPECT_EQ(50, r.top);
        EXPECT_EQ(620, r.right - r.left);
        EXPECT_EQ(510, r.bottom - r.top);
        HWND editor = VisibleEditor(main);
        ASSERT_NE(nullptr, editor);
        RECT e;
        GetWindowRect(editor, &e);
        EXPECT_EQ(RGB(255, 0, 0), ScreenPixel(e.left + (e.right - e.left) / 2, e.bottom - 20));
    });
    EXPECT_EQ("'Quoted' page", ini.Read("Name03_Text"));
    EXPECT_EQ("\"both ends\"", ini.Read("Name05_Text"));
    EXPECT_NE(std::string::npos, ReadFileBytes(ini.Path()).find("Name05_Text=\"\"both ends\"\"\r\n"));
    EXPECT_EQ("True", ini.Read("Page01_Enabled"));
    EXPECT_EQ("False", ini.Read("Page07_Enabled"));
    EXPECT_EQ("False", ini.Read("Memo01_Visible"));
    EXPECT_EQ("True", ini.Read("Memo07_Visible"));
    EXPECT_EQ("255", ini.Read("Memo10_Color"));
    EXPECT_EQ("100,50,720,560", ini.Read("NormPos"));
}

// Started the way a shortcut or "start /max" starts it, the window opens in
// that state; minimised without activation leaves the foreground alone. In
// every state it has its page bar and the page's editor, which fills the
// window below the bar, at the size it was made with.
TEST(EndToEnd, TheStartUpShowModeDecidesHowTheWindowOpens)
{
    enum class TState { Normal, Maximized, Minimized };
    struct TCase {
        const char* Name;
        int ShowCommand;
        TState Expected;
        bool Activated;
    };
    const TCase cases[] = {
        {"none given", RunningProgram::kNoShowCommand, TState::Normal, true},
        {"normal", SW_SHOWNORMAL, TState::Normal, true},
        {"maximised", SW_SHOWMAXIMIZED, TState::Maximized, true},
        {"minimised", SW_SHOWMINIMIZED, TState::Minimized, true},
        {"minimised, not active", SW_SHOWMINNOACTIVE, TState::Minimized, false},
        {"minimise", SW_MINIMIZE, TState::Minimized, false},
        {"hidden, which would be lost", SW_HIDE, TState::Normal, true},
    };
    WindowsIniFile ini;
    TempDir dir;
    WriteFileBytes(PageFileName(1), "page one");
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        RunOnce(dir.Path(), [&](HWND main) {
            const TState state = IsIconic(main) ? TState::Minimized : IsZoomed(main) ? TState::Maximized : TState::Normal;
            EXPECT_EQ(static_cast<int>(c.Expected), static_cast<int>(state));
            if (!c.Activated) {
                EXPECT_NE(main, GetForegroundWindow());
            }
            if (state == TState::Minimized) {
                ShowWindow(main, SW_RESTORE);
                Pump(200);
            }
            // The top dock, the page bar and the editor; an empty dock gets
            // its window when a bar first docks there.
            int windows = 0;
            EnumChildWindows(main, [](HWND, LPARAM n) { return ++*reinterpret_cast<int*>(n), TRUE; },
                             reinterpret_cast<LPARAM>(&windows));
            EXPECT_EQ(3, windows);
            EXPECT_EQ("page one", VisibleEditorText(main));
            HWND editor = VisibleEditor(main);
            ASSERT_NE(nullptr, editor);
            RECT client, e;
            GetClientRect(main, &client);
            GetWindowRect(editor, &e);
            MapWindowPoints(HWND_DESKTOP, main, reinterpret_cast<POINT*>(&e), 2);
            EXPECT_EQ(client.right, e.right - e.left);
            EXPECT_EQ(client.bottom, e.bottom);
        }, c.ShowCommand);
    }
}
