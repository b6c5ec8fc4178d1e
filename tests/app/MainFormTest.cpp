// The main window as the user meets it: real windows, real input, real
// page files in a temporary current directory.
#include "app/MainForm.h"
#include "app/PageFiles.h"
#include "settings/FormStorage.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <memory>

using namespace testing_support;

namespace {

class MainWindow : public ::testing::Test {
protected:
    void TearDown() override
    {
        SetPageWriteLimitForTesting(-1);
        delete Form;
        Form = nullptr;
        Pump(20);
    }

    // Creates and shows the window the way the program does.
    TForm1* Start()
    {
        Form = new TForm1(Application);
        // Each test keeps its settings file beside its page files.
        Form->FormStorage1->SetIniFileName(Dir.File("Quiverleaf.ini"));
        Form->ShowForm();
        Activate(Form->Handle());
        Pump(50);
        return Form;
    }

    std::string Caption(int n) const { return Form->Page[n - 1]->Caption(); }

    void ClickPage(int n)
    {
        RECT r = Form->ToolBar->View()->Find(Form->Page[n - 1])->BoundsRect();
        ClickClient(Form->ToolBar->Handle(), r);
    }

    // Closes through the window's own close message, as Alt+F4 would.
    void CloseWindow() { SendMessageA(Form->Handle(), WM_CLOSE, 0, 0); }

    TempDir Dir;
    ErrorCatcher Errors;
    TForm1* Form = nullptr;
};

TEST_F(MainWindow, FirstStartShowsTheDesignedWindow)
{
    Start();
    RECT r;
    GetWindowRect(Form->Handle(), &r);
    EXPECT_EQ(199, r.left);
    EXPECT_EQ(186, r.top);
    EXPECT_EQ(600, r.right - r.left);
    EXPECT_EQ(475, r.bottom - r.top);
    char title[64];
    GetWindowTextA(Form->Handle(), title, sizeof title);
    EXPECT_STREQ("Quiverleaf", title);

    EXPECT_FALSE(Form->Page[0]->Enabled());
    for (int n = 1; n <= PageCount; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(std::to_string(n), Caption(n));
        EXPECT_EQ(n != 1, Form->Page[n - 1]->Enabled());
        EXPECT_EQ(n == 1, Form->Memo[n - 1]->Visible());
        EXPECT_EQ("", Form->Memo[n - 1]->GetText());
    }
    EXPECT_EQ(Form->DockTop, Form->ToolBar->CurrentDock());
    EXPECT_FALSE(Form->TopPanel->Visible());
    EXPECT_FALSE(Form->PagePanel->Visible());
    EXPECT_FALSE(Form->PanelAbout->Visible());
    EXPECT_EQ(Form->Memo[0]->Handle(), GetFocus());
    EXPECT_TRUE(Errors.Messages().empty());

    // The editor fills what the page bar leaves of the client area.
    RECT client;
    GetClientRect(Form->Handle(), &client);
    EXPECT_EQ(0, Form->DockTop->Top());
    EXPECT_EQ(Form->DockTop->Height(), Form->Memo[0]->Top());
    EXPECT_EQ(client.right, Form->Memo[0]->Width());
    EXPECT_EQ(client.bottom, Form->Memo[0]->Top() + Form->Memo[0]->Height());
}

TEST_F(MainWindow, SwitchingPagesKeepsEachPagesTextAndCaret)
{
    Start();
    TypeText("first page\nsecond line");
    ASSERT_EQ("first page\r\nsecond line", Form->Memo[0]->GetText());
    Form->Memo[0]->SetSel(3, 0);

    ClickPage(7);
    EXPECT_TRUE(Form->Memo[6]->Visible());
    EXPECT_FALSE(Form->Memo[0]->Visible());
    EXPECT_FALSE(Form->Page[6]->Enabled());
    EXPECT_TRUE(Form->Page[0]->Enabled());
    EXPECT_EQ(Form->Memo[6]->Handle(), GetFocus());
    TypeText("seven");
    EXPECT_EQ("seven", Form->Memo[6]->GetText());

    // Clicking the current page's button does nothing: it is disabled.
    ClickPage(7);
    EXPECT_TRUE(Form->Memo[6]->Visible());

    ClickPage(1);
    EXPECT_TRUE(Form->Memo[0]->Visible());
    EXPECT_FALSE(Form->Memo[6]->Visible());
    EXPECT_EQ(Form->Memo[0]->Handle(), GetFocus());
    EXPECT_EQ("first page\r\nsecond line", Form->Memo[0]->GetText());
    EXPECT_EQ(3, Form->Memo[0]->SelStart());
    EXPECT_EQ("seven", Form->Memo[6]->GetText());
}

TEST_F(MainWindow, TypedPageNameReachesItsButtonAtEachKeystroke)
{
    Start();
    Form->PagePanel->SetVisible(true);
    Form->Name[2]->SetFocus();
    Form->Name[2]->SetSel(0, 1);
    PressKey(VK_DELETE);
    EXPECT_EQ("", Caption(3));
    const std::string typed = "A&b c";
    for (size_t i = 0; i < typed.size(); ++i) {
        TypeText(typed.substr(i, 1));
        EXPECT_EQ(typed.substr(0, i + 1), Caption(3));
    }
    EXPECT_EQ("9", Caption(9));

    // An empty name leaves a small button that can still be clicked.
    Form->Name[4]->SetText("");
    EXPECT_EQ("", Caption(5));
    RECT r = Form->ToolBar->View()->Find(Form->Page[4])->BoundsRect();
    EXPECT_GT(r.right - r.left, 0);
    ClickPage(5);
    EXPECT_TRUE(Form->Memo[4]->Visible());
    // The settings panel stays open beside the new page.
    EXPECT_TRUE(Form->PagePanel->Visible());
}

TEST_F(MainWindow, PageFilesLoadWithNormalisedLineBreaksAndAreWrittenBack)
{
    struct Case {
        const char* name;
        std::string onDisk, inEditor;
    } cases[] = {
        {"LF only", "one\ntwo\nthree", "one\r\ntwo\r\nthree"},
        {"lone CR", "one\rtwo", "one\r\ntwo"},
        {"LF CR is two breaks", "a\n\rb", "a\r\n\r\nb"},
        {"CR LF kept, final break kept", "a\r\nb\r\n", "a\r\nb\r\n"},
        {"no final break", "last line", "last line"},
        {"empty", "", ""},
        {"breaks only", "\n\r\r\n", "\r\n\r\n\r\n"},
    };
    for (int n = 1; n <= 7; ++n)
        WriteFileBytes(PageFileName(n), cases[n - 1].onDisk);
    Start();
    for (int n = 1; n <= 7; ++n) {
        SCOPED_TRACE(cases[n - 1].name);
        EXPECT_EQ(cases[n - 1].inEditor, Form->Memo[n - 1]->GetText());
    }
    CloseWindow();
    EXPECT_TRUE(Errors.Messages().empty());
    for (int n = 1; n <= PageCount; ++n) {
        SCOPED_TRACE(n);
        ASSERT_TRUE(FileExists(PageFileName(n)));
        EXPECT_EQ(n <= 7 ? cases[n - 1].inEditor : std::string(), ReadFileBytes(PageFileName(n)));
        EXPECT_FALSE(FileExists(PageTempFileName(PageFileName(n))));
    }
}

TEST_F(MainWindow, ZeroBytesSurviveAnUneditedPage)
{
    const std::string withZero("before\0after\r\nnext", 18);
    WriteFileBytes(PageFileName(2), withZero);
    WriteFileBytes(PageFileName(3), withZero);
    Start();
    // The editor shows the text after the zero byte too.
    EXPECT_EQ("before after\r\nnext", Form->Memo[1]->GetText());
    ClickPage(3);
    TypeText("X");
    CloseWindow();
    EXPECT_EQ(withZero, ReadFileBytes(PageFileName(2)));
    EXPECT_EQ("Xbefore after\r\nnext", ReadFileBytes(PageFileName(3)));
}

TEST_F(MainWindow, PageThatCannotBeReplacedKeepsTheWindowOpen)
{
    Start();
    for (int n = 1; n <= PageCount; ++n)
        Form->Memo[n - 1]->SetText("text " + std::to_string(n));
    ASSERT_TRUE(CreateDirectoryA(PageFileName(5).c_str(), nullptr));

    CloseWindow();
    ASSERT_EQ(1u, Errors.Messages().size());
    EXPECT_EQ("Cannot create file Page05.txt.", Errors.Messages()[0]);
    EXPECT_TRUE(IsWindowVisible(Form->Handle()));
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ("text " + std::to_string(n), ReadFileBytes(PageFileName(n)));
    for (int n = 6; n <= PageCount; ++n)
        EXPECT_FALSE(FileExists(PageFileName(n)));
    EXPECT_EQ("text 5", Form->Memo[4]->GetText());

    // Every attempt fails the same way until the directory is gone.
    Errors.Clear();
    CloseWindow();
    EXPECT_EQ(std::vector<std::string>{"Cannot create file Page05.txt."}, Errors.Messages());
    RemoveDirectoryA(PageFileName(5).c_str());
    Errors.Clear();
    CloseWindow();
    EXPECT_TRUE(Errors.Messages().empty());
    EXPECT_EQ("text 10", ReadFileBytes(PageFileName(10)));
    EXPECT_FALSE(FileExists(PageTempFileName(PageFileName(5))));
}

TEST_F(MainWindow, PageFileHeldOpenByAnotherProgram)
{
    WriteFileBytes(PageFileName(3), "locked");
    WriteFileBytes(PageFileName(4), "four");
    // Held open for writing at start: reading it must fail.
    HANDLE other = CreateFileA(PageFileName(3).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, other);
    Start();
    EXPECT_EQ(std::vector<std::string>{"Cannot open file Page03.txt."}, Errors.Messages());
    EXPECT_EQ("", Form->Memo[2]->GetText());
    EXPECT_EQ("four", Form->Memo[3]->GetText()); // later pages still load

    // Still held at close: it can't be replaced, and the window stays open.
    Errors.Clear();
    Form->Memo[2]->SetModified(true);
    CloseWindow();
    EXPECT_EQ(std::vector<std::string>{"Cannot create file Page03.txt."}, Errors.Messages());
    EXPECT_TRUE(IsWindowVisible(Form->Handle()));
    CloseHandle(other);

    // Untouched, the page whose file could not be read is not overwritten.
    Form->Memo[2]->SetModified(false);
    Errors.Clear();
    CloseWindow();
    EXPECT_TRUE(Errors.Messages().empty());
    EXPECT_EQ("locked", ReadFileBytes(PageFileName(3)));
    EXPECT_EQ("four", ReadFileBytes(PageFileName(4)));
}

TEST_F(MainWindow, FailedSaveLeavesTheOldFileWhole)
{
    WriteFileBytes(PageFileName(1), "old text that must survive");
    Start();
    Form->Memo[0]->SetText("new text, much longer than three bytes");
    SetPageWriteLimitForTesting(3); // the disk fills up after three bytes
    CloseWindow();
    EXPECT_EQ(std::vector<std::string>{"Stream write error."}, Errors.Messages());
    EXPECT_EQ("old text that must survive", ReadFileBytes(PageFileName(1)));
    EXPECT_FALSE(FileExists(PageTempFileName(PageFileName(1))));
    EXPECT_TRUE(IsWindowVisible(Form->Handle()));

    // A temporary file left by a save that was killed midway is gone after
    // the next good save.
    SetPageWriteLimitForTesting(-1);
    WriteFileBytes(PageTempFileName(PageFileName(2)), "half");
    Errors.Clear();
    CloseWindow();
    EXPECT_TRUE(Errors.Messages().empty());
    EXPECT_EQ("new text, much longer than three bytes", ReadFileBytes(PageFileName(1)));
    EXPECT_FALSE(FileExists(PageTempFileName(PageFileName(2))));
}

TEST_F(MainWindow, EndOfSessionWritesThePagesOnce)
{
    WriteFileBytes(PageFileName(6), "six");
    Start();
    Form->Memo[0]->SetText("typed before log-off");
    EXPECT_EQ(TRUE, SendMessageA(Form->Handle(), WM_QUERYENDSESSION, 0, 0));
    // Called off: nothing is written.
    SendMessageA(Form->Handle(), WM_ENDSESSION, FALSE, 0);
    EXPECT_FALSE(FileExists(PageFileName(1)));

    SendMessageA(Form->Handle(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ("typed before log-off", ReadFileBytes(PageFileName(1)));
    EXPECT_EQ("six", ReadFileBytes(PageFileName(6)));

    // The same message again never replaces good files.
    Form->Memo[0]->SetText("");
    SendMessageA(Form->Handle(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ("typed before log-off", ReadFileBytes(PageFileName(1)));
    EXPECT_TRUE(Errors.Messages().empty());
}

TEST_F(MainWindow, TabMovesTheFocusInsteadOfTypingATab)
{
    Start();
    Form->PagePanel->SetVisible(true);
    Form->Memo[0]->SetFocus();
    PressKey(VK_TAB);
    EXPECT_EQ("", Form->Memo[0]->GetText());
    EXPECT_NE(Form->Memo[0]->Handle(), GetFocus());
}

} // namespace
