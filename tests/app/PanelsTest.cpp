// The settings and about panels as the user drives them.
#include "tests/app/MainFormFixture.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

class Panels : public MainFormFixture {
protected:
    // The smallest client height the window's minimum outer size allows.
    int MinimumClientHeight() const { return 475 - (Form->Height() - Form->ClientHeight()); }
};

// Answers the next common dialog of this process with OK or Cancel.
struct DialogAnswer {
    WPARAM button;
    bool seen = false;
    static DWORD WINAPI Run(void* param)
    {
        auto* self = static_cast<DialogAnswer*>(param);
        for (int i = 0; i < 250; ++i) {
            HWND box = nullptr;
            while ((box = FindWindowExA(nullptr, box, "#32770", nullptr)) != nullptr) {
                DWORD pid = 0;
                GetWindowThreadProcessId(box, &pid);
                if (pid == GetCurrentProcessId() && IsWindowVisible(box)) {
                    self->seen = true;
                    PostMessageA(box, WM_COMMAND, self->button, 0);
                    return 0;
                }
            }
            Sleep(20);
        }
        return 1;
    }
};

void AnswerNextDialog(DialogAnswer& answer, void (*open)(TForm1*), TForm1* form)
{
    HANDLE thread = CreateThread(nullptr, 0, &DialogAnswer::Run, &answer, 0, nullptr);
    open(form);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
}

TEST_F(Panels, SettingsPanelOpensTallEnoughAndGivesTheHeightBack)
{
    const int needed = Form->ToolBar->Height() + 418;
    Form->SetClientHeight(needed);
    const int start = Form->ClientHeight();
    Form->SettingsClick(Form->Settings);
    EXPECT_TRUE(Form->PagePanel->Visible());
    EXPECT_TRUE(Form->Settings->Checked());
    EXPECT_EQ(start, Form->ClientHeight());
    EXPECT_EQ(start, Form->CurrentHeight->Value());
    // The panel takes its column at the left edge; the editor the rest.
    EXPECT_EQ(0, Form->PagePanel->Left());
    EXPECT_EQ(183, Form->PagePanel->Width());
    EXPECT_EQ(183, Form->Memo[0]->Left());

    // Dragged taller while open, "OK" goes back to the height at opening.
    SetWindowPos(Form->Handle(), nullptr, 0, 0, 700, Form->Height() + 60, SWP_NOMOVE | SWP_NOZORDER);
    Form->OKBtnClick(Form->OKBtn);
    EXPECT_FALSE(Form->PagePanel->Visible());
    EXPECT_FALSE(Form->Settings->Checked());
    EXPECT_EQ(start, Form->ClientHeight());
    EXPECT_EQ(700, Form->Width());
}

TEST_F(Panels, AClickIntoThePageClosesTheSettingsPanel)
{
    Form->ToolBar->SetCurrentDock(Form->DockLeft);
    Form->SetClientHeight(500);
    Form->SettingsClick(Form->Settings);
    EXPECT_EQ(500, Form->ClientHeight());
    RECT r{10, 10, 20, 20};
    ClickClient(Form->Memo[0]->Handle(), r);
    EXPECT_FALSE(Form->PagePanel->Visible());
    EXPECT_FALSE(Form->Settings->Checked());
    EXPECT_EQ(500, Form->ClientHeight());
}

TEST_F(Panels, DockChangesMoveTheTopStrip)
{
    Form->ToolBar->SetCurrentDock(Form->DockBottom);
    EXPECT_TRUE(Form->TopPanel->Visible());
    EXPECT_EQ(0, Form->TopPanel->Top());
    Form->ToolBar->SetCurrentDock(Form->DockTop);
    EXPECT_FALSE(Form->TopPanel->Visible());
}

TEST_F(Panels, ResetAllOnAMaximisedWindow)
{
    Form->SettingsClick(Form->Settings);
    Form->ToolBar->SetCurrentDock(Form->DockRight);
    Form->ToolBar->SetColor(255);
    Form->Memo[3]->SetColor(0xFF00);
    ShowWindow(Form->Handle(), SW_MAXIMIZE);
    Pump(30);
    Form->DefaultBtnClick(Form->DefaultBtn);
    EXPECT_FALSE(IsZoomed(Form->Handle()));
    EXPECT_EQ(600, Form->Width());
    EXPECT_EQ(std::max(441, MinimumClientHeight()), Form->ClientHeight());
    EXPECT_EQ(Form->ClientHeight(), Form->CurrentHeight->Value());
    EXPECT_EQ(Form->DockTop, Form->ToolBar->CurrentDock());
    EXPECT_FALSE(Form->TopPanel->Visible());
    EXPECT_EQ(clBtnFace, Form->ToolBar->Color());
    for (TMemo* memo : Form->Memo) {
        EXPECT_EQ(clWindow, memo->Color());
        EXPECT_TRUE(memo->Font()->Equals(*Form->PagePanel->Font()));
    }
    EXPECT_TRUE(Form->PagePanel->Visible()); // the panel stays open
    const int height = Form->ClientHeight();
    Form->OKBtnClick(Form->OKBtn);
    EXPECT_EQ(height, Form->ClientHeight());
}

TEST_F(Panels, CancelledColourDialogGivesEveryEditorPageOnesColour)
{
    Form->Memo[0]->SetColor(0x0000FF);
    Form->Memo[5]->SetColor(0x00FF00);
    DialogAnswer cancel{IDCANCEL};
    AnswerNextDialog(cancel, [](TForm1* f) { f->MemoColourBtnClick(f->MemoColourBtn); }, Form);
    ASSERT_TRUE(cancel.seen);
    for (TMemo* memo : Form->Memo)
        EXPECT_EQ(0x0000FF, memo->Color());

    // A system colour stays a system colour through a cancel.
    Form->Memo[0]->SetColor(clWindow);
    DialogAnswer again{IDCANCEL};
    AnswerNextDialog(again, [](TForm1* f) { f->MemoColourBtnClick(f->MemoColourBtn); }, Form);
    for (TMemo* memo : Form->Memo)
        EXPECT_EQ(clWindow, memo->Color());
}

TEST_F(Panels, CancelledPageBarFontStillFitsTheHeight)
{
    Form->SetClientHeight(600);
    DialogAnswer cancel{IDCANCEL};
    AnswerNextDialog(cancel, [](TForm1* f) { f->TBFontBtnClick(f->TBFontBtn); }, Form);
    ASSERT_TRUE(cancel.seen);
    EXPECT_EQ(std::max(Form->ToolBar->Height() + 418, MinimumClientHeight()), Form->ClientHeight());
    Form->ToolBar->SetCurrentDock(Form->DockLeft);
    DialogAnswer again{IDCANCEL};
    AnswerNextDialog(again, [](TForm1* f) { f->TBFontBtnClick(f->TBFontBtn); }, Form);
    EXPECT_EQ(std::max(418, MinimumClientHeight()), Form->ClientHeight());
}

TEST_F(Panels, AboutPanelIsCentredAndBlocksTheRest)
{
    Form->SettingsClick(Form->Settings);
    Form->SetClientWidth(700);
    Form->SetClientHeight(500);
    ASSERT_EQ(700, Form->ClientWidth());
    ASSERT_EQ(500, Form->ClientHeight());
    Form->AboutMenuClick(Form->AboutMenu);
    EXPECT_TRUE(Form->PanelAbout->Visible());
    EXPECT_EQ(195, Form->PanelAbout->Left());
    EXPECT_EQ(150, Form->PanelAbout->Top());
    EXPECT_FALSE(IsWindowEnabled(Form->ToolBar->Handle()));
    EXPECT_FALSE(IsWindowEnabled(Form->Memo[0]->Handle()));
    EXPECT_FALSE(IsWindowEnabled(Form->PagePanel->Handle()));
    // Resizing leaves it where it opened.
    Form->SetClientWidth(800);
    EXPECT_EQ(195, Form->PanelAbout->Left());

    RECT ok{0, 0, Form->AboutCloseBtn->Width(), Form->AboutCloseBtn->Height()};
    ClickClient(Form->AboutCloseBtn->Handle(), ok);
    EXPECT_FALSE(Form->PanelAbout->Visible());
    EXPECT_TRUE(IsWindowEnabled(Form->ToolBar->Handle()));
    EXPECT_TRUE(IsWindowEnabled(Form->Memo[9]->Handle()));
    EXPECT_TRUE(IsWindowEnabled(Form->PagePanel->Handle()));
    EXPECT_TRUE(Form->PagePanel->Visible());
}

} // namespace
