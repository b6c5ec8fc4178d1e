// The real program, started as a user would start it: typed into with real
// input, closed, and started again.
#include "app/PageFiles.h"
#include "tests/support/ProcessRunner.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// The text of the visible page editor of another process's window.
std::string VisibleEditorText(HWND main)
{
    for (HWND child = FindWindowExA(main, nullptr, "Edit", nullptr); child;
         child = FindWindowExA(main, child, "Edit", nullptr)) {
        if (!IsWindowVisible(child))
            continue;
        char buf[512] = {};
        SendMessageA(child, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf));
        return buf;
    }
    return "<no visible editor>";
}

} // namespace

TEST(EndToEnd, TypedTextIsInThePageFilesAndComesBack)
{
    const std::string exe = QuiverleafExe();
    ASSERT_FALSE(exe.empty()) << "QV_EXE must name the built Quiverleaf.exe";
    TempDir dir;
    WriteFileBytes(PageFileName(4), "kept\nas it was");
    {
        RunningProgram program(exe, dir.Path());
        ASSERT_TRUE(program.Started()) << exe;
        HWND main = program.WaitForMainWindow();
        ASSERT_NE(nullptr, main);
        Activate(main);
        Pump(200);
        TypeText("Hello from\nthe keyboard");
        EXPECT_EQ("Hello from\r\nthe keyboard", VisibleEditorText(main));
        PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(0, program.WaitForExit());
    }
    EXPECT_EQ("Hello from\r\nthe keyboard", ReadFileBytes(PageFileName(1)));
    EXPECT_EQ("kept\r\nas it was", ReadFileBytes(PageFileName(4)));
    for (int n : {2, 3, 5, 6, 7, 8, 9, 10}) {
        SCOPED_TRACE(n);
        ASSERT_TRUE(FileExists(PageFileName(n)));
        EXPECT_EQ("", ReadFileBytes(PageFileName(n)));
    }

    // Started again, the first page shows the text typed last time.
    RunningProgram again(exe, dir.Path());
    HWND main = again.WaitForMainWindow();
    ASSERT_NE(nullptr, main);
    EXPECT_EQ("Hello from\r\nthe keyboard", VisibleEditorText(main));
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, again.WaitForExit());
}
