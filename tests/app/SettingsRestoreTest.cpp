// The notebook's own settings coming back: through the widgets' setters, so
// names reach the buttons, a dock moves the page bar and the flags bring
// back the current page; and no content of a hand-edited file can break it.
#include "app/MainForm.h"
#include "settings/FormStorage.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <random>

using namespace testing_support;

namespace {

class NotebookSettings : public ::testing::Test {
protected:
    void TearDown() override { delete Form; }

    void Write(const std::string& key, const std::string& value) const { WriteUserKey(Ini, key, value); }
    std::string Read(const std::string& key) const { return ReadUserKey(Ini, key); }
    TForm1* Start()
    {
        delete Form;
        Form = new TForm1(Application);
        Form->FormStorage1->SetIniFileName(Ini);
        Form->ShowForm();
        Pump(20);
        return Form;
    }
    void Close() { SendMessageA(Form->Handle(), WM_CLOSE, 0, 0); }

    TempDir Dir;
    std::string Ini = Dir.File("Quiverleaf.ini");
    ErrorCatcher Errors;
    TForm1* Form = nullptr;
};

TEST_F(NotebookSettings, RestoredValuesGoThroughTheWidgets)
{
    Write("Name03_Text", "  Third page  ");
    Write("Page01_Enabled", "True");
    Write("Page06_Enabled", "False");
    Write("Memo01_Visible", "False");
    Write("Memo06_Visible", "True");
    Write("Memo01_Color", "abc");
    Write("Memo02_Color", "255");
    Write("ToolBar_FontStyle", "[fsItalic, bogus ,FSBOLD]");
    Write("Memo04_FontHeight", "-40");
    Write("Memo04_FontSize", "12");
    Start();
    EXPECT_EQ("Third page", Form->Page[2]->Caption());
    EXPECT_EQ("Third page", Form->Name[2]->GetText());
    EXPECT_TRUE(Form->Memo[5]->Visible());
    EXPECT_FALSE(Form->Memo[0]->Visible());
    EXPECT_FALSE(Form->Page[5]->Enabled());
    EXPECT_TRUE(Form->Page[0]->Enabled());
    EXPECT_EQ(0, Form->Memo[0]->Color());
    EXPECT_EQ(255, Form->Memo[1]->Color());
    EXPECT_EQ(FontStyleBit(fsBold) | FontStyleBit(fsItalic), Form->ToolBar->Font()->Style());
    EXPECT_EQ(12, Form->Memo[3]->Font()->Size());
    EXPECT_EQ(-16, Form->Memo[3]->Font()->Height());
    EXPECT_EQ(Form->Memo[5]->Handle(), GetFocus());
}

TEST_F(NotebookSettings, PageBarInTheLeftDockBringsTheTopStrip)
{
    Write("ToolBar_CurrentDock", "dockleft");
    Start();
    EXPECT_EQ(Form->DockLeft, Form->ToolBar->CurrentDock());
    EXPECT_TRUE(Form->TopPanel->Visible());
    EXPECT_EQ(0, Form->TopPanel->Top());
    EXPECT_EQ(2, Form->TopPanel->Height());
    EXPECT_EQ(0, Form->DockTop->Height());
    EXPECT_GT(Form->DockLeft->Width(), 0);
    EXPECT_EQ(Form->DockLeft->Width(), Form->Memo[0]->Left());
    Close();
    EXPECT_EQ("DockLeft", Read("ToolBar_CurrentDock"));

    // Back in the top dock the strip goes again.
    Write("ToolBar_CurrentDock", "DockTop");
    Start();
    EXPECT_FALSE(Form->TopPanel->Visible());
    EXPECT_EQ(0, Form->DockTop->Top());
}

TEST_F(NotebookSettings, PageBarNamedNowhereGoesToItsDefaultDock)
{
    // Hand-edited values that name no dock of the window: the page bar
    // stays usable in the top dock and the next save mends the file.
    for (const char* value : {"(null)", "(NULL)", "DockMiddle", "Dock", "DockLef", "Memo01", "Form1", "\x01\x7f"}) {
        SCOPED_TRACE(value);
        Write("ToolBar_CurrentDock", value);
        Start();
        EXPECT_EQ(Form->DockTop, Form->ToolBar->CurrentDock());
        EXPECT_TRUE(IsWindowVisible(Form->ToolBar->Handle()));
        EXPECT_EQ(Form->DockTop->Handle(), GetParent(Form->ToolBar->Handle()));
        EXPECT_GT(Form->DockTop->Height(), 0);
        EXPECT_FALSE(Form->TopPanel->Visible());
        Close();
        EXPECT_EQ("DockTop", Read("ToolBar_CurrentDock"));
    }
    // A value naming a real dock still moves the bar there.
    Write("ToolBar_CurrentDock", "DockRight");
    Start();
    EXPECT_EQ(Form->DockRight, Form->ToolBar->CurrentDock());
}

TEST_F(NotebookSettings, FlagsAreRestoredExactlyUntilTheUserSwitches)
{
    Write("Memo02_Visible", "True");
    Write("Page03_Enabled", "False");
    Start();
    EXPECT_TRUE(Form->Memo[0]->Visible());
    EXPECT_TRUE(Form->Memo[1]->Visible());
    EXPECT_FALSE(Form->Page[0]->Enabled());
    EXPECT_FALSE(Form->Page[2]->Enabled());
    Form->SelectPage(4);
    for (int n = 1; n <= PageCount; ++n) {
        EXPECT_EQ(n == 4, Form->Memo[n - 1]->Visible()) << n;
        EXPECT_EQ(n != 4, Form->Page[n - 1]->Enabled()) << n;
    }
}

TEST_F(NotebookSettings, UnwritableSettingsFileStillLetsTheWindowClose)
{
    ASSERT_TRUE(CreateDirectoryA(Ini.c_str(), nullptr));
    Start();
    Form->Memo[0]->SetText("saved anyway");
    Close();
    EXPECT_EQ("saved anyway", ReadFileBytes("Page01.txt"));
    delete Form;
    Form = nullptr;
    const std::string message = "Unable to write to " + Ini + ".";
    EXPECT_EQ((std::vector<std::string>{message, message}), Errors.Messages());
    RemoveDirectoryA(Ini.c_str());
}

// Values a hand-edited file might hold, good and bad.
std::string RandomValue(std::mt19937& rng, const std::string& key)
{
    static const char* words[] = {"", "True", "false", "YES", "DockLeft", "dockright", "DockBottom", "(null)",
                                  "Form1.DockTop", "Nowhere.DockTop", "Form1", "Memo01", "fpFixed", "FPVARIABLE",
                                  "[fsBold]", "[fsItalic, bogus ,FSBOLD]", "[", "]", "[,,]", "\"\"", "'", "\"x\"",
                                  "0x7FFFFFFF", "$FF", "-2147483648", "2147483648", "99999999999999", "-0", "12abc",
                                  "   ", "\t", "MS Sans Serif", "Courier New", "0", "-1", "1000000", "-1000000"};
    std::uniform_int_distribution<int> pick(0, 9);
    switch (pick(rng)) {
    case 0: return std::to_string(static_cast<int32_t>(rng()));
    case 1: return std::to_string(static_cast<int>(rng() % 400) - 200);
    case 2: {
        std::string s(rng() % 300, ' ');
        for (char& c : s)
            c = static_cast<char>(32 + rng() % 95);
        return s;
    }
    case 3: {
        std::string w = words[rng() % (sizeof words / sizeof *words)];
        return w.substr(0, rng() % (w.size() + 1)); // truncated
    }
    case 4: return std::string(2000 + rng() % 100, 'W');
    default: return words[rng() % (sizeof words / sizeof *words)];
    }
    (void)key;
}

TEST_F(NotebookSettings, NoSettingsFileContentBreaksTheProgram)
{
    std::vector<std::string> keys = {"FormVersion", "Flags", "ShowCmd", "PixelsPerInch", "MinMaxPos", "NormPos",
                                     "ToolBar_CurrentDock", "ToolBar_Color"};
    for (const char* f : {"Charset", "Color", "Height", "Name", "Pitch", "Size", "Style"})
        keys.push_back(std::string("ToolBar_Font") + f);
    for (int n = 1; n <= PageCount; ++n) {
        char p[8];
        wsprintfA(p, "%02d", n);
        keys.push_back(std::string("Page") + p + "_Enabled");
        keys.push_back(std::string("Memo") + p + "_Visible");
        keys.push_back(std::string("Memo") + p + "_Color");
        for (const char* f : {"Charset", "Color", "Height", "Name", "Pitch", "Size", "Style"})
            keys.push_back(std::string("Memo") + p + "_Font" + f);
        keys.push_back(std::string("Name") + p + "_Text");
    }
    const unsigned seed = GetTickCount();
    std::mt19937 rng(seed);
    for (int round = 0; round < 25; ++round) {
        SCOPED_TRACE("seed " + std::to_string(seed) + " round " + std::to_string(round));
        DeleteFileA(Ini.c_str());
        if (round % 5 == 4) {
            // A file cut off in the middle, or no section header at all.
            std::string junk = "[User]\r\nToolBar_CurrentDock=Dock";
            if (round % 10 == 9)
                junk = "ToolBar_Color=5\r\nName01_Text=x";
            WriteFileBytes(Ini, junk);
        } else {
            for (const std::string& key : keys)
                if (rng() % 4 != 0)
                    Write(key, RandomValue(rng, key));
        }
        Start();
        ASSERT_TRUE(IsWindowVisible(Form->Handle()));
        EXPECT_TRUE(Errors.Messages().empty()) << Errors.Messages().front();
        TTBDock* dock = Form->ToolBar->CurrentDock();
        EXPECT_TRUE(dock == nullptr || dock == Form->DockTop || dock == Form->DockBottom || dock == Form->DockLeft ||
                    dock == Form->DockRight);
        std::vector<TFont*> fonts = {Form->ToolBar->Font()};
        for (TMemo* memo : Form->Memo)
            fonts.push_back(memo->Font());
        for (TFont* font : fonts) {
            EXPECT_LE(font->Style(), 15u);
            EXPECT_GE(static_cast<int>(font->Pitch()), 0);
            EXPECT_LE(static_cast<int>(font->Pitch()), 2);
            EXPECT_GE(font->Charset(), 0);
            EXPECT_LE(font->Charset(), 255);
            EXPECT_FALSE(font->Name().empty());
            EXPECT_LT(font->Name().size(), 32u);
        }
        for (TEdit* name : Form->Name)
            EXPECT_LE(name->GetText().size(), 2047u);
        // The program runs on: pages switch, the window paints and closes.
        Form->SelectPage(1 + round % PageCount);
        EXPECT_TRUE(Form->Memo[round % PageCount]->Visible());
        UpdateWindow(Form->Handle());
        RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Close();
        EXPECT_TRUE(Errors.Messages().empty());
        Errors.Clear();
    }
}

} // namespace
