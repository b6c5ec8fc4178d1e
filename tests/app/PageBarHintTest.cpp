// The real main window shows no hints: its ShowHint is off and the page bar
// follows it, so even a page button with a hint gets no hint window, while
// the same button shows its hint once the window's ShowHint is on.
#include "tests/app/MainFormFixture.h"
#include "tests/toolkit/ToolkitTesting.h"

#include <gtest/gtest.h>

using namespace testing_support;
using namespace toolkit_testing;

namespace {

class PageBarHints : public MainFormFixture {};

TEST_F(PageBarHints, TheMainWindowsPageBarShowsNoHintUntilTheWindowShowsHints)
{
    EXPECT_FALSE(Form->ShowHint());
    EXPECT_TRUE(Form->ToolBar->ParentShowHint());
    Form->Page[0]->SetHint("First page|Shows the first page");
    Form->Page[1]->SetHint("Second page");

    struct Case {
        bool windowShowsHints;
        int page;
        const char* shown; // empty: no hint window
    } const cases[] = {{false, 1, ""}, {false, 2, ""}, {true, 1, "First page"}, {true, 2, "Second page"}};
    for (const Case& c : cases) {
        Form->SetShowHint(c.windowShowsHints);
        EXPECT_EQ(c.windowShowsHints, Form->ToolBar->ShowHint());
        EXPECT_EQ(c.windowShowsHints, Form->ToolBar->View()->ShowHints());
        RECT r = Form->ToolBar->View()->Find(Form->Page[c.page - 1])->BoundsRect();
        POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(Form->ToolBar->Handle(), &centre);
        MoveMouseTo(centre.x, centre.y);
        // The bar has seen the move: its own hint is the button's.
        const std::string& hint = Form->Page[c.page - 1]->Hint();
        ASSERT_TRUE(WaitFor([&] { return Form->ToolBar->Hint() == hint; })) << Form->ToolBar->Hint();
        if (*c.shown) {
            EXPECT_TRUE(WaitForHint(c.shown)) << c.page << ": '" << CurrentHint().Text << "'";
        } else {
            Pump(Application->HintPause() * 2);
            EXPECT_FALSE(CurrentHint().Visible) << c.page << ": '" << CurrentHint().Text << "'";
        }
    }
    Application->CancelHint();
    EXPECT_TRUE(Errors.Messages().empty()) << Errors.Messages().front();
}

} // namespace
