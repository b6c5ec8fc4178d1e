// The toolbar's hints and its published item properties, on a real bar in
// a real window: the hint under a real mouse move, the hint text of each
// kind of button, the application's hint window over the buttons, the
// chevron's hint and caption, and the items' actions updated at idle time.
#include "tests/support/TestSupport.h"
#include "tests/toolkit/ToolkitTesting.h"
#include "toolbar/items/TBToolbar.h"
#include "toolkit/ActnList.h"
#include "toolkit/Exceptions.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>
#include <string>

using namespace testing_support;
using namespace toolkit_testing;

namespace {

class CountingItem : public TTBItem {
public:
    using TTBItem::TTBItem;
    int Initiated = 0;
    void InitiateAction() override { ++Initiated; }
};

// A linked action's say on its item's hint: none, rewrite it, or refuse it.
enum class ActionSay { None, Rewrite, Refuse };

void ActionHint(void* say, std::string& hint, bool& canShow)
{
    if (*static_cast<ActionSay*>(say) == ActionSay::Rewrite)
        hint = "<" + hint + ">";
    else
        canShow = false;
}

TEST(ToolbarHints, TheHintFollowsTheMouseAndEachButtonGivesItsHintText)
{
    struct Case {
        const char* caption;
        const char* hint;
        TShortCut shortCut;
        bool longHintInMenuOnly;
        const char* hintText; // what a hint window shows
        ActionSay action = ActionSay::None;
    } cases[] = {
        {"&Open...", "", 0, false, "Open"},
        {"Name:", "", VK_F6, false, "Name (F6)"},
        {"Save", "Save it|Saves the page to its file", 0, false, "Save it"},
        {"A&&B", "|Only a long hint", 0, false, "A&B"},
        {"Quiet", "Quiet|In menus", 0, true, "Quiet"},
        {"Print", "Print it", VK_F7, false, "<Print it> (F7)", ActionSay::Rewrite},
        {"Secret", "Secret", VK_F8, false, "", ActionSay::Refuse},
    };
    auto form = MakeForm(500, 120);
    auto* dock = new TTBDock(form.get());
    dock->SetParent(form.get());
    auto* bar = new TTBToolbar(form.get());
    std::vector<CountingItem*> items;
    for (const Case& c : cases) {
        auto* item = new CountingItem(form.get());
        item->SetCaption(c.caption);
        item->SetHint(c.hint);
        item->SetShortCut(c.shortCut);
        if (c.longHintInMenuOnly)
            item->SetOptions(OptionBit(tboLongHintInMenuOnly));
        if (c.action != ActionSay::None) {
            auto* action = new TAction(form.get());
            action->SetCaption(c.caption);
            action->SetHint(c.hint);
            action->SetShortCut(c.shortCut);
            action->OnHint = TActionHintEvent::FromFunction(&ActionHint, const_cast<ActionSay*>(&c.action));
            item->SetAction(action);
        }
        bar->Items()->Add(item);
        items.push_back(item);
    }
    bar->SetParent(dock);
    ShowAndActivate(*form);
    for (size_t i = 0; i < items.size(); ++i) {
        const Case& c = cases[i];
        const TTBItemViewer* v = bar->View()->Find(items[i]);
        ASSERT_NE(nullptr, v) << c.caption;
        RECT r = v->BoundsRect();
        POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        RECT cursorRect{};
        std::string text;
        ASSERT_TRUE(bar->HintAt(centre, cursorRect, text)) << c.caption;
        EXPECT_TRUE(EqualRect(&r, &cursorRect)) << c.caption;
        EXPECT_EQ(c.hintText, text) << c.caption;
        POINT screen = centre;
        ClientToScreen(bar->HandleValue(), &screen);
        MoveMouseTo(screen.x, screen.y);
        const std::string expected = c.longHintInMenuOnly ? "" : c.hint;
        EXPECT_TRUE(WaitFor([&] { return bar->Hint() == expected && bar->View()->Selected() == v; }, 1000))
            << c.caption << " hint '" << bar->Hint() << "'";
    }
    // Leaving the bar for the window clears the hot button; the bar's hint
    // is changed only by moves over the bar.
    ASSERT_FALSE(bar->Hint().empty());
    POINT below{10, 100};
    ClientToScreen(form->HandleValue(), &below);
    MoveMouseTo(below.x, below.y);
    EXPECT_TRUE(WaitFor([&] { return bar->View()->Selected() == nullptr; }, 1000));
    EXPECT_EQ("Secret", bar->Hint());
    RECT none{};
    std::string text;
    EXPECT_FALSE(bar->HintAt(POINT{bar->Width() - 2, 1}, none, text));

    // At idle time every item updates its action, unless the bar is told not to.
    bar->InitiateActions();
    bar->SetUpdateActions(false);
    bar->InitiateActions();
    for (CountingItem* item : items)
        EXPECT_EQ(1, item->Initiated) << item->Caption();
}

TEST(ToolbarHints, WithShowHintTheHintWindowShowsEachButtonsHintAndTheIdleStepUpdatesActions)
{
    auto form = MakeForm(500, 120);
    auto* dock = new TTBDock(form.get());
    dock->SetParent(form.get());
    auto* bar = new TTBToolbar(form.get());
    struct Button {
        const char* caption;
        const char* hint;
        TShortCut shortCut;
    } const buttons[] = {{"Open", "Open a page|Opens a page file", 0}, {"Save", "", VK_F6}, {"Third", "Third|", 0}};
    std::vector<CountingItem*> items;
    for (const Button& b : buttons) {
        auto* item = new CountingItem(form.get());
        item->SetCaption(b.caption);
        item->SetHint(b.hint);
        item->SetShortCut(b.shortCut);
        bar->Items()->Add(item);
        items.push_back(item);
    }
    bar->SetParent(dock);
    // Inherited from the form, which shows none; set on the bar, its view shows them.
    EXPECT_FALSE(bar->ShowHint());
    EXPECT_TRUE(bar->ParentShowHint());
    EXPECT_FALSE(bar->View()->ShowHints());
    bar->SetShowHint(true);
    EXPECT_TRUE(bar->View()->ShowHints());
    ShowAndActivate(*form);
    auto centreOf = [&](int i) {
        RECT r = bar->View()->Find(items[static_cast<size_t>(i)])->BoundsRect();
        POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(bar->Handle(), &p);
        return p;
    };

    POINT first = centreOf(0);
    MoveMouseTo(first.x, first.y);
    ASSERT_TRUE(WaitForHint("Open a page")) << CurrentHint().Text;
    const ShownHint shown = CurrentHint();
    // Moving on the same button keeps the same hint where it is.
    MoveMouseTo(first.x + 2, first.y + 1);
    Pump(100);
    EXPECT_EQ("Open a page", CurrentHint().Text);
    EXPECT_EQ(RectText(shown.Rect), RectText(CurrentHint().Rect));

    // The next button's own hint follows; shortcuts are named unless the application says not to.
    POINT second = centreOf(1);
    MoveMouseTo(second.x, second.y);
    EXPECT_TRUE(WaitForHint("Save (F6)")) << CurrentHint().Text;
    Application->SetHintShortCuts(false);
    POINT third = centreOf(2);
    MoveMouseTo(third.x, third.y);
    EXPECT_TRUE(WaitForHint("Third")) << CurrentHint().Text;
    MoveMouseTo(second.x, second.y);
    EXPECT_TRUE(WaitForHint("Save")) << CurrentHint().Text;
    Application->SetHintShortCuts(true);

    // Off the bar, onto the form that shows none: the hint goes.
    POINT below{250, 100};
    ClientToScreen(form->Handle(), &below);
    MoveMouseTo(below.x, below.y);
    EXPECT_TRUE(WaitForHint("")) << CurrentHint().Text;

    // Following the form again, the bar and its view show none.
    bar->SetParentShowHint(true);
    EXPECT_FALSE(bar->ShowHint());
    EXPECT_FALSE(bar->View()->ShowHints());

    // The idle step has every item initiate its action, unless the bar is told not to.
    for (CountingItem* item : items)
        item->Initiated = 0;
    EXPECT_TRUE(RunLoopUntil([&] { return items[0]->Initiated && items[1]->Initiated && items[2]->Initiated; }));
    struct Counter {
        int Idles = 0;
        void Idle(TObject*, bool&) { ++Idles; }
    } counter;
    Application->OnIdle = MakeMethod<&Counter::Idle>(&counter);
    bar->SetUpdateActions(false);
    for (CountingItem* item : items)
        item->Initiated = 0;
    EXPECT_TRUE(RunLoopUntil([&] { return counter.Idles >= 3; }));
    Application->OnIdle = TIdleEvent();
    for (CountingItem* item : items)
        EXPECT_EQ(0, item->Initiated) << item->Caption();
}

TEST(ToolbarHints, PublishedChevronHintItemsAndLinkSubitems)
{
    TComponent owner(nullptr);
    auto* bar = new TTBToolbar(&owner);
    const TClassInfo& cls = bar->ClassType();
    EXPECT_EQ("More Buttons|", GetStrProp(bar, *cls.FindProperty("ChevronHint")));
    struct Case {
        const char* hint;
        const char* caption;
    } cases[] = {{"Mo&re|Shows the rest", "Mo&&re"}, {"Plain", "Plain"}, {"|Long only", ""}};
    for (const Case& c : cases) {
        SetStrProp(bar, *cls.FindProperty("ChevronHint"), c.hint);
        EXPECT_EQ(c.hint, bar->ChevronItem()->Hint());
        EXPECT_EQ(c.caption, bar->ChevronItem()->Caption()) << c.hint;
    }
    EXPECT_EQ(bar->Items(), GetObjectProp(bar, *cls.FindProperty("Items")));
    TTBRootItem other(nullptr);
    EXPECT_THROW(SetObjectProp(bar, *cls.FindProperty("Items"), &other), EPropertyError);
    SetObjectProp(bar, *cls.FindProperty("LinkSubitems"), &other);
    EXPECT_EQ(&other, bar->Items()->LinkSubitems());
    EXPECT_EQ(&other, GetObjectProp(bar, *cls.FindProperty("LinkSubitems")));
    bar->SetLinkSubitems(nullptr);
}

} // namespace
