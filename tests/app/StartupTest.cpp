// What start-up leaves undone until it is needed: windows of hidden widgets,
// the text of pages not yet shown, settings keys read only to be dropped.
// Watched through a message hook on the real windows, real page files and a
// real settings file.
#include "app/MainForm.h"
#include "app/PageFiles.h"
#include "settings/FormStorage.h"
#include "settings/PropsStorage.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <functional>
#include <map>

using namespace testing_support;

namespace {

// What each edit window was sent, in order: "text" for a non-empty text
// (set, or made with), "font" and "size" for what makes it lay its text out
// again; and its client size when it got its text.
std::map<HWND, std::string> gEditLog;
std::map<HWND, SIZE> gSizeAtText;

LRESULT CALLBACK RecordEditMessages(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
    char cls[16] = {};
    if (code == HC_ACTION && GetClassNameA(m->hwnd, cls, sizeof cls) && lstrcmpiA(cls, "Edit") == 0) {
        const char* text = nullptr;
        if (m->message == WM_SETTEXT)
            text = reinterpret_cast<const char*>(m->lParam);
        else if (m->message == WM_NCCREATE)
            text = reinterpret_cast<const CREATESTRUCTA*>(m->lParam)->lpszName;
        std::string& log = gEditLog[m->hwnd];
        if (text && !IS_INTRESOURCE(text) && *text) {
            RECT r{};
            GetClientRect(m->hwnd, &r);
            gSizeAtText[m->hwnd] = SIZE{r.right, r.bottom};
        }
        log += text && !IS_INTRESOURCE(text) && *text ? "text " : m->message == WM_SETFONT ? "font "
                                                          : m->message == WM_SIZE          ? "size "
                                                                                            : "";
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class Startup : public ::testing::Test {
protected:
    void TearDown() override { Finish(); }
    void Finish()
    {
        if (Application->MainForm() == Form)
            Application->SetMainForm(nullptr);
        delete Form;
        Form = nullptr;
    }

    // `prepare` runs on the new window before it is shown.
    TForm1* Start(const std::function<void(TForm1*)>& prepare = nullptr, bool activate = true)
    {
        gEditLog.clear();
        gSizeAtText.clear();
        HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, RecordEditMessages, nullptr, GetCurrentThreadId());
        Form = new TForm1(Application);
        Form->FormStorage1->SetIniFileName(Ini);
        if (prepare)
            prepare(Form);
        Form->ShowForm();
        if (activate)
            Activate(Form->Handle());
        Pump(50);
        UnhookWindowsHookEx(hook);
        return Form;
    }
    int ChildWindows() const
    {
        int windows = 0;
        EnumChildWindows(Form->Handle(), [](HWND, LPARAM count) { return ++*reinterpret_cast<int*>(count), TRUE; },
                         reinterpret_cast<LPARAM>(&windows));
        return windows;
    }

    TempDir Dir;
    std::string Ini = Dir.File("Quiverleaf.ini");
    ErrorCatcher Errors;
    TForm1* Form = nullptr;
};

TEST_F(Startup, OnlyTheShownPageGetsAWindowAndItsTextGoesInOnceAfterSizeAndFont)
{
    for (int n = 1; n <= PageCount; ++n)
        WriteFileBytes(PageFileName(n), "page " + std::to_string(n) + "\r\nsecond line");
    // A restore that moves, resizes, re-fonts and switches the page.
    WriteUserKey(Ini, "NormPos", "100,80,800,600");
    WriteUserKey(Ini, "Memo05_FontHeight", "-20");
    WriteUserKey(Ini, "Memo05_FontSize", "15");
    WriteUserKey(Ini, "Memo05_Color", "255");
    WriteUserKey(Ini, "Memo01_Visible", "False");
    WriteUserKey(Ini, "Memo05_Visible", "True");
    Start();

    // Only the shown page's editor has a window, filled once, at its last size and font.
    ASSERT_EQ(1u, gEditLog.size());
    EXPECT_EQ(Form->Memo[4]->HandleValue(), gEditLog.begin()->first);
    const std::string& log = gEditLog.begin()->second;
    EXPECT_EQ(log.size() - 5, log.find("text ")) << log; // the last thing it was sent, and only once
    EXPECT_EQ(Form->Memo[4]->HandleValue(), GetFocus());
    // The window was made with what the restore left in the object.
    HWND memo5 = Form->Memo[4]->HandleValue();
    LOGFONTA lf{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(memo5, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    EXPECT_EQ(-20, lf.lfHeight);
    POINT inside{Form->Memo[4]->Width() - 40, Form->Memo[4]->Height() - 12};
    ClientToScreen(memo5, &inside);
    EXPECT_EQ(RGB(255, 0, 0), ScreenPixel(inside.x, inside.y));
    // The top dock, the page bar and this editor: no window for anything
    // hidden, nor for the empty docks.
    EXPECT_EQ(3, ChildWindows());

    // Shown at last, a page's editor gets its text, as loaded and unchanged.
    Form->Page03Click(Form);
    HWND wnd = Form->Memo[2]->HandleValue();
    char shown[64] = {};
    GetWindowTextA(wnd, shown, sizeof shown);
    EXPECT_STREQ("page 3\r\nsecond line", shown);
    EXPECT_FALSE(Form->Memo[2]->Modified());
    EXPECT_EQ(wnd, GetFocus());

    // The settings panel's windows are made when it opens, in tab order.
    Form->SettingsClick(Form);
    Form->Name[0]->SetFocus();
    PressKey(VK_TAB);
    EXPECT_EQ(Form->Name[1]->HandleValue(), GetFocus());
    PressKey(VK_TAB, true);
    EXPECT_EQ(Form->Name[0]->HandleValue(), GetFocus());
    EXPECT_TRUE(Errors.Messages().empty());
}

// However the window first opens, it has the page bar, and the editor
// holding text is made once, at the size it keeps, with its text last.
TEST_F(Startup, EveryOpeningStateLaysTheShownEditorOutOnce)
{
    struct Case {
        const char* Title;
        TWindowState State;
        bool Stored; // restored by the settings store, else set before showing like a start-up mode
    } const cases[] = {
        {"normal", wsNormal, false},
        {"maximised by the stored state", wsMaximized, true},
        {"maximised before showing", wsMaximized, false},
        {"minimised by the stored state", wsMinimized, true},
        {"minimised before showing", wsMinimized, false},
    };
    WriteFileBytes(PageFileName(1), "page one\r\nsecond line");
    WriteUserKey(Ini, "Memo01_Color", "255");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Title);
        WriteUserKey(Ini, "ShowCmd", c.State == wsMaximized ? "3" : c.State == wsMinimized ? "2" : "1");
        // As the main window, whose first show follows the start-up mode
        // and, when that is plain, the restored state.
        Start([&](TForm1* form) {
            Application->SetMainForm(form);
            if (c.Stored)
                form->FormStorage1->SetOptions(PlacementBit(fpState) | PlacementBit(fpPosition));
            else
                form->SetWindowState(c.State);
        }, c.State != wsMinimized);
        HWND wnd = Form->Handle();
        EXPECT_EQ(c.State == wsMaximized, IsZoomed(wnd) != 0);
        EXPECT_EQ(c.State == wsMinimized, IsIconic(wnd) != 0);
        EXPECT_EQ(3, ChildWindows());
        if (c.State == wsMinimized) {
            ShowWindow(wnd, SW_RESTORE);
            Activate(wnd);
        }
        HWND memo = Form->Memo[0]->HandleValue();
        ASSERT_NE(nullptr, memo);
        ASSERT_EQ(1u, gEditLog.size());
        const std::string& log = gEditLog[memo];
        EXPECT_EQ(log.size() - 5, log.find("text ")) << log;
        RECT client, r;
        GetClientRect(memo, &client);
        EXPECT_EQ(client.right, gSizeAtText[memo].cx);
        EXPECT_EQ(client.bottom, gSizeAtText[memo].cy);
        // It fills the window below the page bar, painted at that size.
        GetWindowRect(memo, &r);
        MapWindowPoints(HWND_DESKTOP, wnd, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(Form->ClientWidth(), r.right - r.left);
        EXPECT_EQ(Form->ClientHeight(), r.bottom);
        EXPECT_EQ(Form->DockTop->Height(), r.top);
        EXPECT_TRUE(IsWindowVisible(Form->ToolBar->Handle()));
        POINT corner{client.right - 30, client.bottom - 5};
        ClientToScreen(memo, &corner);
        EXPECT_EQ(RGB(255, 0, 0), ScreenPixel(corner.x, corner.y));
        EXPECT_EQ(memo, GetFocus());
        Finish();
    }
    EXPECT_TRUE(Errors.Messages().empty());
}

TEST_F(Startup, PagesNeverShownAreSavedByTheirRules)
{
    const std::string withZero("zero\0byte", 9);
    struct Case {
        const char* Title;
        std::string OnDisk, Written;
    } const cases[] = {
        {"plain text", "two\r\nlines", "two\r\nlines"},
        {"LF only, mended", "a\nb", "a\r\nb"},
        {"a zero byte, unedited", withZero, withZero},
        {"file that could not be read", "locked", "locked"},
    };
    for (int i = 0; i < 4; ++i)
        WriteFileBytes(PageFileName(i + 2), cases[i].OnDisk);
    // Page 5's file is held open by another program while the pages load.
    HANDLE other = CreateFileA(PageFileName(5).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    Start();
    // The load error comes at start-up, not when the page is first shown.
    EXPECT_EQ(std::vector<std::string>{"Cannot open file Page05.txt."}, Errors.Messages());
    CloseHandle(other);
    Errors.Clear();

    // Once through the end of the session, once through closing.
    for (bool endSession : {true, false}) {
        SCOPED_TRACE(endSession ? "end of session" : "close");
        for (int n = 2; n <= 5; ++n)
            DeleteFileA(PageFileName(n).c_str());
        WriteFileBytes(PageFileName(5), "locked");
        SendMessageA(Form->Handle(), endSession ? WM_ENDSESSION : WM_CLOSE, endSession, 0);
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(cases[i].Title);
            EXPECT_FALSE(Form->Memo[i + 1]->HandleAllocated());
            EXPECT_EQ(cases[i].Written, ReadFileBytes(PageFileName(i + 2)));
        }
    }
    EXPECT_TRUE(Errors.Messages().empty());
}

TEST_F(Startup, RestoreReadsExactlyTheKeysASaveWrites)
{
    Start();
    std::vector<std::string> written, read;
    TPropsStorage worker;
    worker.OnWriteString = [&](const std::string&, const std::string& key, const std::string&) {
        written.push_back(key);
    };
    worker.OnReadString = [&](const std::string&, const std::string& key, const std::string& def) {
        read.push_back(key);
        return def;
    };
    worker.SaveListedProperties(Form, *Form->FormStorage1->StoredProps());
    worker.LoadListedProperties(Form, *Form->FormStorage1->StoredProps());
    EXPECT_EQ(119u, written.size());
    EXPECT_EQ(written, read);
}

} // namespace
