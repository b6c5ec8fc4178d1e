// The real page bar in the real main window: one row spanning the top dock,
// wrapping and unwrapping as the window is resized, a column in the left
// dock, the settings panel's heights beside it, and its context menu.
#include "tests/app/MainFormFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace testing_support;

namespace {

class PageBar : public MainFormFixture {
protected:
    RECT Button(int n) const { return Form->ToolBar->View()->Find(Form->Page[n - 1])->BoundsRect(); }
    int LineSeparators() const
    {
        int n = 0;
        for (TTBSeparatorItem* sep : Form->TBSeparator)
            n += Form->ToolBar->View()->Find(sep)->IsLineSeparator() ? 1 : 0;
        return n;
    }
    // Resizes the window the way the platform does, and waits for the layout.
    void ResizeWindowTo(int clientWidth)
    {
        const int frame = Form->Width() - Form->ClientWidth();
        SetWindowPos(Form->Handle(), nullptr, 0, 0, clientWidth + frame, Form->Height(),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        WaitFor([&] { return Form->ClientWidth() == clientWidth && Form->DockTop->Width() == clientWidth; });
    }
    int TextHeight() const
    {
        WindowDC screen(nullptr);
        SelectScope font(screen.Get(), Form->ToolBar->Font()->Handle());
        TEXTMETRICA tm;
        GetTextMetricsA(screen.Get(), &tm);
        return tm.tmHeight;
    }
};

TEST_F(PageBar, OneRowSpanningTheTopDock)
{
    TTBToolbar* bar = Form->ToolBar;
    // One item row (character height + 6) plus the 2-pixel frame on each side.
    EXPECT_EQ(TextHeight() + 6 + 4, Form->DockTop->Height());
    EXPECT_EQ(Form->DockTop->Height(), bar->Height());
    EXPECT_EQ(Form->ClientWidth(), Form->DockTop->Width());
    EXPECT_EQ(Form->DockTop->Width(), bar->Width());
    EXPECT_EQ(0, LineSeparators());
    for (int n = 2; n <= PageCount; ++n)
        EXPECT_EQ(Button(1).top, Button(n).top) << n;
    EXPECT_EQ(Form->DockTop->Height(), Form->Memo[0]->Top());
}

TEST_F(PageBar, NarrowingWrapsAtSeparatorsAndWideningUnwraps)
{
    for (int n = 1; n <= PageCount; ++n)
        Form->Name[n - 1]->SetText("Long page " + std::to_string(n));
    Pump(20);
    SIZE row{0, 0};
    Form->ToolBar->GetContentSize(row);
    const int oneRow = TextHeight() + 6 + 4;
    const int wide = row.cx + 4 + 20;
    ASSERT_GT(row.cx, 600) << "the names must not fit in the narrowest window";
    ASSERT_LT(wide, GetSystemMetrics(SM_CXSCREEN) - 40);

    ResizeWindowTo(wide);
    EXPECT_EQ(oneRow, Form->DockTop->Height());
    EXPECT_EQ(0, LineSeparators());

    ResizeWindowTo(600);
    ASSERT_TRUE(WaitFor([&] { return Form->DockTop->Height() > oneRow; }));
    EXPECT_GE(LineSeparators(), 1);
    // The rows: each starts at the left edge, none is longer than the bar's client area.
    int rowStarts = 0;
    for (int n = 1; n <= PageCount; ++n) {
        EXPECT_LE(Button(n).right, Form->ToolBar->ClientWidth()) << n;
        rowStarts += Button(n).left == 0 ? 1 : 0;
    }
    EXPECT_EQ(LineSeparators() + 1, rowStarts);
    EXPECT_EQ(Form->DockTop->Height(), Form->ToolBar->Height());
    EXPECT_EQ(Form->DockTop->Height(), Form->Memo[0]->Top());

    ResizeWindowTo(wide);
    ASSERT_TRUE(WaitFor([&] { return Form->DockTop->Height() == oneRow; }));
    EXPECT_EQ(0, LineSeparators());
    EXPECT_EQ(Form->DockTop->Height(), Form->Memo[0]->Top());
}

TEST_F(PageBar, LeftDockColumnAndResetAll)
{
    int widest = 0;
    for (int n = 1; n <= PageCount; ++n)
        widest = std::max(widest, static_cast<int>(Button(n).right - Button(n).left));
    EXPECT_FALSE(Form->DockLeft->HandleAllocated());
    Form->ToolBar->SetCurrentDock(Form->DockLeft);
    Pump(20);
    // The empty dock got its window with the bar.
    ASSERT_TRUE(Form->DockLeft->HandleAllocated());
    EXPECT_EQ(Form->DockLeft->HandleValue(), GetParent(Form->ToolBar->Handle()));
    EXPECT_TRUE(IsWindowVisible(Form->DockLeft->HandleValue()));
    EXPECT_TRUE(Form->TopPanel->Visible());
    EXPECT_EQ(0, Form->DockTop->Height());
    // Captions stay horizontal: the column is as wide as the widest button.
    EXPECT_EQ(widest + 4, Form->DockLeft->Width());
    for (int n = 2; n <= PageCount; ++n) {
        EXPECT_GT(Button(n).top, Button(n - 1).top) << n;
        // Narrower buttons are centred in the column.
        EXPECT_NEAR(widest / 2, (Button(n).left + Button(n).right) / 2, 1) << n;
    }
    EXPECT_EQ(Form->DockLeft->Width(), Form->Memo[0]->Left());

    Form->SettingsClick(Form);
    Form->DefaultBtnClick(Form);
    EXPECT_EQ(Form->DockTop, Form->ToolBar->CurrentDock());
    EXPECT_FALSE(Form->TopPanel->Visible());
    EXPECT_EQ(0, Form->DockLeft->Width());
    EXPECT_EQ(TextHeight() + 6 + 4, Form->DockTop->Height());
}

TEST_F(PageBar, SettingsPanelMakesRoomForATallerBar)
{
    const int saved = Form->ClientHeight();
    // A page bar font that makes the bar 30 pixels high, then a larger one.
    auto fontFor = [this](int want) {
        for (int h = -8; h >= -60 && Form->ToolBar->Height() < want; --h)
            Form->ToolBar->Font()->SetHeight(h);
        return Form->ToolBar->Height();
    };
    for (int want : {30, 60}) {
        SCOPED_TRACE(want);
        const int bar = fontFor(want);
        if (want == 30) {
            ASSERT_EQ(30, bar);
        }
        ASSERT_EQ(bar, Form->DockTop->Height());
        Form->SettingsClick(Form);
        EXPECT_EQ(std::max(saved, bar + 418), Form->ClientHeight());
        EXPECT_TRUE(Form->Settings->Checked());
        Form->OKBtnClick(Form);
        EXPECT_EQ(saved, Form->ClientHeight());
    }
}

// Watches for the process's popup menu and closes it with Escape.
struct MenuWatch {
    bool seen = false;
    static DWORD WINAPI Run(void* param)
    {
        auto* self = static_cast<MenuWatch*>(param);
        for (int i = 0; i < 250; ++i) {
            HWND menu = FindWindowA("#32768", nullptr);
            DWORD pid = 0;
            if (menu)
                GetWindowThreadProcessId(menu, &pid);
            if (menu && pid == GetCurrentProcessId() && IsWindowVisible(menu)) {
                self->seen = true;
                Sleep(50);
                PressKey(VK_ESCAPE);
                return 0;
            }
            Sleep(20);
        }
        return 1;
    }
};

TEST_F(PageBar, RightReleaseOpensTheContextMenu)
{
    // On empty bar space, right of the last button.
    RECT last = Button(PageCount);
    RECT empty{last.right + 20, last.top + 2, last.right + 30, last.bottom - 2};
    MenuWatch watch;
    HANDLE thread = CreateThread(nullptr, 0, &MenuWatch::Run, &watch, 0, nullptr);
    ClickClient(Form->ToolBar->Handle(), empty, true);
    WaitFor([&] { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }, 6000);
    CloseHandle(thread);
    EXPECT_TRUE(watch.seen);
    EXPECT_EQ(Form->ToolBar, Form->PopupToolBar->PopupComponent());
    EXPECT_TRUE(Errors.Messages().empty());
}

// Reads the face and size the process's font dialog opens on, then confirms it.
struct FontDialogReader {
    std::string face, size;
    static DWORD WINAPI Run(void* param)
    {
        auto* self = static_cast<FontDialogReader*>(param);
        for (int i = 0; i < 250; ++i) {
            HWND box = nullptr;
            while ((box = FindWindowExA(nullptr, box, "#32770", nullptr)) != nullptr) {
                DWORD pid = 0;
                GetWindowThreadProcessId(box, &pid);
                if (pid != GetCurrentProcessId() || !IsWindowVisible(box))
                    continue;
                char text[LF_FACESIZE + 8] = "";
                GetDlgItemTextA(box, 0x470, text, sizeof text); // the face box
                self->face = text;
                GetDlgItemTextA(box, 0x472, text, sizeof text); // the size box
                self->size = text;
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                return 0;
            }
            Sleep(20);
        }
        return 1;
    }
};

TEST_F(PageBar, FontDialogOpensOnTheBarsFont)
{
    // The face the bar is really drawn with ("MS Sans Serif" where the system has it).
    std::string drawn;
    {
        WindowDC screen(nullptr);
        SelectScope font(screen.Get(), Form->ToolBar->Font()->Handle());
        char face[LF_FACESIZE] = "";
        GetTextFaceA(screen.Get(), LF_FACESIZE, face);
        drawn = face;
    }
    Form->SettingsClick(Form);
    FontDialogReader reader;
    HANDLE thread = CreateThread(nullptr, 0, &FontDialogReader::Run, &reader, 0, nullptr);
    Form->TBFontBtnClick(Form);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    EXPECT_EQ(drawn, reader.face);
    EXPECT_EQ("8", reader.size);
    // Confirmed unchanged, the bar keeps the font it had, name and all.
    EXPECT_EQ("MS Sans Serif", Form->ToolBar->Font()->Name());
    EXPECT_EQ(-11, Form->ToolBar->Font()->Height());
}

} // namespace
