// The real main window shows no hints: its ShowHint is off and the page bar
// follows it, so even a page button with a hint gets no hint window, while
// the same button shows its hint once the window's ShowHint is on.
#include "app/MainForm.h"
#include "settings/FormStorage.h"
#include "tests/support/TestSupport.h"
#include "tests/toolkit/ToolkitTesting.h"

#include <gtest/gtest.h>

using namespace testing_support;
using namespace toolkit_testing;

namespace {

TEST(PageBarHints, TheMainWindowsPageBarShowsNoHintUntilTheWindowShowsHints)
{
    TempDir dir;
    ErrorCatcher errors;
    auto* form = new TForm1(Application);
    form->FormStorage1->SetIniFileName(dir.File("Quiverleaf.ini"));
    form->ShowForm();
    Activate(form->Handle());
    Pump(30);
    EXPECT_FALSE(form->ShowHint());
    EXPECT_TRUE(form->ToolBar->ParentShowHint());
    form->Page[0]->SetHint("First page|Shows the first page");
    form->Page[1]->SetHint("Second page");

    struct Case {
        bool windowShowsHints;
        int page;
        const char* shown; // empty: no hint window
    } const cases[] = {{false, 1, ""}, {false, 2, ""}, {true, 1, "First page"}, {true, 2, "Second page"}};
    for (const Case& c : cases) {
        form->SetShowHint(c.windowShowsHints);
        EXPECT_EQ(c.windowShowsHints, form->ToolBar->ShowHint());
        EXPECT_EQ(c.windowShowsHints, form->ToolBar->View()->ShowHints());
        RECT r = form->ToolBar->View()->Find(form->Page[c.page - 1])->BoundsRect();
        POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(form->ToolBar->Handle(), &centre);
        MoveMouseTo(centre.x, centre.y);
        // The bar has seen the move: its own hint is the button's.
        const std::string& hint = form->Page[c.page - 1]->Hint();
        ASSERT_TRUE(WaitFor([&] { return form->ToolBar->Hint() == hint; })) << form->ToolBar->Hint();
        if (*c.shown) {
            EXPECT_TRUE(WaitForHint(c.shown)) << c.page << ": '" << CurrentHint().Text << "'";
        } else {
            Pump(Application->HintPause() * 2);
            EXPECT_FALSE(CurrentHint().Visible) << c.page << ": '" << CurrentHint().Text << "'";
        }
    }
    Application->CancelHint();
    delete form;
    EXPECT_TRUE(errors.Messages().empty()) << errors.Messages().front();
}

} // namespace
