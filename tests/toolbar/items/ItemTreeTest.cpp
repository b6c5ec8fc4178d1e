// The item tree: what each change tells the views, the child list's errors,
// option inheritance, radio groups, shortcuts and queued clicks.
#include "tests/support/TestSupport.h"
#include "tests/toolbar/items/ItemTesting.h"
#include "toolbar/items/TBClickQueue.h"
#include "toolbar/items/TBToolbar.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace testing_support;
using namespace item_testing;

namespace {

template <class T = TTBItem>
T* Named(TComponent* owner, const std::string& name)
{
    auto* item = new T(owner);
    item->SetName(name);
    return item;
}

struct Tree {
    Tree()
    {
        Root.SetName("Root");
        for (const char* n : {"A", "B", "C"})
            Root.Add(Named(&Owner, n));
        Root.Add(Named<TTBSeparatorItem>(&Owner, "Sep"));
    }
    TTBItem* Item(int i) { return static_cast<TTBItem*>(Root.Items(i)); }
    std::string Names() const
    {
        std::string s;
        for (int i = 0; i < Root.Count(); ++i)
            s += Root.Items(i)->Name() + " ";
        return s;
    }
    TComponent Owner{nullptr};
    TTBRootItem Root{nullptr};
};

TEST(ItemTree, EachSetterSendsItsNotificationOnceAndNothingWhenUnchanged)
{
    struct Case {
        const char* what;
        std::function<void(Tree&)> change;
        const char* expected;
    } cases[] = {
        {"same caption", [](Tree& t) { t.Item(0)->SetCaption(""); }, ""},
        {"new caption", [](Tree& t) { t.Item(0)->SetCaption("x"); }, "RepaintAndRelayout -1 A"},
        {"disabled", [](Tree& t) { t.Item(0)->SetEnabled(false); }, "Repaint -1 A"},
        {"hidden", [](Tree& t) { t.Item(1)->SetVisible(false); }, "RepaintAndRelayout -1 B"},
        {"checked", [](Tree& t) { t.Item(1)->SetChecked(true); }, "Repaint -1 B"},
        {"display mode", [](Tree& t) { t.Item(1)->SetDisplayMode(nbdmTextOnly); }, "RepaintAndRelayout -1 B"},
        {"image gained", [](Tree& t) { t.Item(2)->SetImageIndex(3); }, "RepaintAndRelayout -1 C"},
        {"group index", [](Tree& t) { t.Item(2)->SetGroupIndex(4); }, ""},
        {"hint", [](Tree& t) { t.Item(2)->SetHint("h"); }, ""},
        {"blank separator", [](Tree& t) { static_cast<TTBSeparatorItem*>(t.Root.Items(3))->SetBlank(true); },
         "Repaint -1 Sep"},
        {"renamed", [](Tree& t) { t.Item(1)->SetName("B2"); }, "NameSet 1 B2"},
        {"bar option reaches all", [](Tree& t) { t.Root.SetOptions(OptionBit(tboNoRotation)); },
         "RepaintAndRelayout -1 A; RepaintAndRelayout -1 B; RepaintAndRelayout -1 C; RepaintAndRelayout -1 Sep"},
        {"hint options only", [](Tree& t) { t.Item(0)->SetOptions(OptionBit(tboShowHint)); }, ""},
        {"removed", [](Tree& t) { t.Root.Delete(1); }, "ItemRemoving 1 B"},
        {"moved", [](Tree& t) { t.Root.Move(0, 2); },
         "BatchBegin; ItemRemoving 0 A; BatchBegin; ItemAdded 2 A; BatchEnd; BatchEnd"},
        {"moved to itself", [](Tree& t) { t.Root.Move(3, 3); }, ""},
    };
    for (auto& c : cases) {
        Tree t;
        Recorder r(&t.Root);
        c.change(t);
        EXPECT_EQ(c.expected, r.Text()) << c.what;
    }
    // Another image in place of one only repaints.
    Tree t;
    t.Item(0)->SetImageIndex(1);
    Recorder r(&t.Root);
    t.Item(0)->SetImageIndex(2);
    EXPECT_EQ("Repaint -1 A", r.Text());
}

TEST(ItemTree, FailedInsertsAndMovesRaiseAndLeaveTheTreeAsItWas)
{
    struct Case {
        const char* what;
        std::function<void(Tree&)> op;
        const char* message;
    } cases[] = {
        {"already inserted", [](Tree& t) { t.Root.Insert(0, t.Item(2)); }, "Toolbar item already inserted"},
        {"past the end", [](Tree& t) { t.Root.Insert(5, Named(&t.Owner, "New")); }, "Toolbar item index out of range"},
        {"negative", [](Tree& t) { t.Root.Insert(-1, Named(&t.Owner, "New")); }, "Toolbar item index out of range"},
        {"delete past the end", [](Tree& t) { t.Root.Delete(4); }, "Toolbar item index out of range"},
        {"move to count", [](Tree& t) { t.Root.Move(0, 4); }, "Toolbar item index out of range"},
        {"move from nowhere", [](Tree& t) { t.Root.Move(7, 0); }, "Toolbar item index out of range"},
        // An item inside its own subtree would make every walk of the tree endless.
        {"into its own child", [](Tree& t) { t.Item(0)->Add(&t.Root); }, "Toolbar item cannot be inserted into itself"},
    };
    for (auto& c : cases) {
        Tree t;
        const std::string before = t.Names();
        try {
            c.op(t);
            ADD_FAILURE() << c.what << ": nothing raised";
        } catch (const ETBItemError& e) {
            EXPECT_EQ(c.message, e.Message()) << c.what;
        }
        EXPECT_EQ(before, t.Names()) << c.what;
    }
    // A cycle through a grandchild is refused too.
    Tree t;
    TTBItem* a = t.Item(0);
    TTBItem* sub = Named(&t.Owner, "Sub");
    a->Add(sub);
    t.Root.Delete(0);
    try {
        sub->Add(a);
        ADD_FAILURE() << "cycle accepted";
    } catch (const ETBItemError& e) {
        EXPECT_EQ("Toolbar item cannot be inserted into itself", e.Message());
    }
    EXPECT_EQ(nullptr, a->Parent());
}

TEST(ItemTree, OptionsAreInheritedFromTheRootLessDefaultAndMasked)
{
    Tree t;
    t.Root.SetOptions(OptionBit(tboNoRotation) | OptionBit(tboDefault));
    TTBItem* sub = Named(&t.Owner, "Sub");
    t.Item(0)->Add(sub);
    t.Item(1)->SetInheritOptions(false);
    t.Item(2)->SetMaskOptions(OptionBit(tboNoRotation));
    t.Item(2)->SetOptions(OptionBit(tboToolbarSize)); // dropped without tboToolbarStyle
    EXPECT_EQ(OptionBit(tboNoRotation), t.Item(0)->EffectiveOptions());
    EXPECT_EQ(OptionBit(tboNoRotation), sub->EffectiveOptions());
    EXPECT_EQ(0, t.Item(1)->EffectiveOptions());
    EXPECT_EQ(0, t.Item(2)->EffectiveOptions());
    EXPECT_EQ(0, t.Item(2)->Options());
    t.Item(1)->SetInheritOptions(true);
    EXPECT_EQ(OptionBit(tboNoRotation), t.Item(1)->EffectiveOptions());
    t.Root.SetOptions(0);
    EXPECT_EQ(0, sub->EffectiveOptions());
}

TEST(ItemTree, CheckingARadioItemUnchecksOnlyItsGroup)
{
    Tree t;
    for (int i = 0; i < 3; ++i)
        t.Item(i)->SetGroupIndex(1);
    TTBItem* loner = Named(&t.Owner, "Loner");
    t.Root.Add(loner);
    loner->SetChecked(true);
    t.Item(0)->SetChecked(true);
    t.Item(1)->SetAutoCheck(true);
    t.Item(1)->Click();
    EXPECT_FALSE(t.Item(0)->Checked());
    EXPECT_TRUE(t.Item(1)->Checked());
    EXPECT_FALSE(t.Item(2)->Checked());
    EXPECT_TRUE(loner->Checked());
    // Joining the group while checked applies the rule at once.
    loner->SetGroupIndex(1);
    EXPECT_TRUE(loner->Checked());
    EXPECT_FALSE(t.Item(1)->Checked());
    // A disabled item is never clicked.
    t.Item(1)->SetEnabled(false);
    t.Item(1)->Click();
    EXPECT_FALSE(t.Item(1)->Checked());
}

TEST(ItemTree, AHandlerThatUnsubscribesItselfSkipsNoOneAndCountsAreKept)
{
    Tree t;
    Recorder first(&t.Root), second(&t.Root), third(&t.Root);
    first.Then = [&] { t.Root.Unsubscribe(first.Handler()); };
    t.Item(0)->SetCaption("x");
    t.Item(0)->SetCaption("y");
    EXPECT_EQ(1u, first.Log.size());
    EXPECT_EQ(2u, second.Log.size());
    EXPECT_EQ(2u, third.Log.size());
    t.Root.Subscribe(first.Handler()); // given back by its destructor

    // Subscribing twice needs two unsubscriptions.
    t.Root.Subscribe(second.Handler());
    EXPECT_EQ(2, t.Root.SubscriptionCount(second.Handler()));
    t.Root.Unsubscribe(second.Handler());
    t.Item(0)->SetCaption("z");
    EXPECT_EQ(3u, second.Log.size());
    EXPECT_EQ(1, t.Root.SubscriptionCount(second.Handler()));
}

TEST(ItemTree, NotificationsReachLinkParentsAndTheParentsOfEmbeddedGroups)
{
    Tree t;
    TTBItem* target = Named(&t.Owner, "Target");
    TTBItem* linker = Named(&t.Owner, "Linker");
    {
        Recorder viaLink(linker);
        linker->SetLinkSubitems(target);
        target->Add(Named(&t.Owner, "T1"));
        EXPECT_EQ("ChildrenReset -1 -; BatchBegin from Target; ItemAdded 0 T1 from Target; BatchEnd from Target",
                  viaLink.Text());
    }
    // A group embedded in the root tells the root's views of its children.
    struct Group : TTBCustomItem {
        explicit Group(TComponent* owner) : TTBCustomItem(owner)
        {
            SetItemStyle(ItemStyle() | StyleBit(TTBItemStyleFlag::EmbeddedGroup));
        }
    };
    auto* group = new Group(&t.Owner);
    group->SetName("G");
    t.Root.Add(group);
    Recorder atRoot(&t.Root);
    group->Add(Named(&t.Owner, "G1"));
    EXPECT_EQ("BatchBegin from G; ItemAdded 0 G1 from G; BatchEnd from G", atRoot.Text());
    // A freed link target leaves no dangling link.
    delete target;
    EXPECT_EQ(nullptr, linker->LinkSubitems());
}

TEST(ItemTree, ShortCutsFindEnabledItemsAlsoThroughLinks)
{
    Tree t;
    int clicks = 0;
    struct Counter {
        int* n;
        void Click(TObject*) { ++*n; }
    } counter{&clicks};
    TTBItem* inner = Named(&t.Owner, "Inner");
    TTBItem* holder = Named(&t.Owner, "Holder");
    holder->Add(inner);
    t.Item(2)->SetLinkSubitems(holder);
    inner->SetShortCut(VK_F7);
    inner->OnClick = MakeMethod<&Counter::Click>(&counter);
    t.Item(0)->SetShortCut(VK_F6);
    t.Item(0)->OnClick = MakeMethod<&Counter::Click>(&counter);
    MSG msg{};
    msg.message = WM_KEYDOWN;
    struct Case {
        WPARAM key;
        std::function<void()> before;
        bool handled;
        int clicks;
    } cases[] = {
        {VK_F6, nullptr, true, 1},
        {VK_F7, nullptr, true, 2},
        {VK_F8, nullptr, false, 2},
        {VK_F6, [&] { t.Item(0)->SetEnabled(false); }, false, 2},
        {VK_F7, [&] { t.Item(2)->SetEnabled(false); }, false, 2},
    };
    for (auto& c : cases) {
        if (c.before)
            c.before();
        msg.wParam = c.key;
        EXPECT_EQ(c.handled, t.Root.FindByShortCut(msg)) << c.key;
        EXPECT_EQ(c.clicks, clicks) << c.key;
    }
    EXPECT_EQ("F7", inner->ShortCutText());
    inner->SetCaption("&Open\tCtrl+O");
    EXPECT_EQ("&Open", inner->CaptionText());
    EXPECT_EQ("Ctrl+O", inner->ShortCutText());
}

TEST(ItemTree, AQueuedClickOfAFreedItemDoesNothing)
{
    int clicks = 0;
    struct Counter {
        int* n;
        void Click(TObject*) { ++*n; }
    } counter{&clicks};
    auto keep = std::make_unique<TTBItem>(nullptr);
    auto gone = std::make_unique<TTBItem>(nullptr);
    keep->OnClick = gone->OnClick = MakeMethod<&Counter::Click>(&counter);
    TTBClickQueue::ClickLater(gone.get());
    TTBClickQueue::ClickLater(keep.get());
    TTBClickQueue::ClickLater(gone.get());
    EXPECT_EQ(3u, TTBClickQueue::SlotCount());
    EXPECT_EQ(0, clicks); // nothing runs before the message arrives
    gone.reset();
    EXPECT_TRUE(WaitFor([&] { return TTBClickQueue::SlotCount() == 0; }));
    Pump(20);
    EXPECT_EQ(1, clicks);
    // With no item or viewer left, the hidden window goes too.
    EXPECT_NE(nullptr, TTBClickQueue::Window());
    keep.reset();
    EXPECT_EQ(nullptr, TTBClickQueue::Window());
}

} // namespace
