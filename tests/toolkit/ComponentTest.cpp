// Components: who frees whom and in which order, who is told when one goes,
// names within an owner, and the loading state of a layout being built.
#include "toolkit/Component.h"
#include "toolkit/Exceptions.h"
#include "toolkit/TypeInfo.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using TLog = std::vector<std::string>;

std::string Joined(const TLog& log)
{
    std::string s;
    for (const std::string& e : log)
        s += (s.empty() ? "" : ", ") + e;
    return s;
}

// Only the entries that start with `prefix`, in order.
TLog Only(const char* prefix, const TLog& log)
{
    TLog kept;
    for (const std::string& e : log)
        if (e.rfind(prefix, 0) == 0)
            kept.push_back(e);
    return kept;
}

// Writes its freeing, what it is told and its loaded step to a shared log.
class TProbe : public TComponent {
public:
    TProbe(TComponent* owner, const std::string& name, TLog& log) : TComponent(owner), FLog(log)
    {
        SetName(name);
    }
    ~TProbe() override { FLog.push_back("free " + Name()); }

    bool LoadingWhenMade = false;
    // Made by this component's loaded step, when set.
    std::string MakeInLoaded;
    TComponent* MadeInLoaded = nullptr;

    using TComponent::Notification;

protected:
    void Notification(TComponent* component, TOperation operation) override
    {
        TComponent::Notification(component, operation);
        FLog.push_back(Name() + (operation == TOperation::opRemove ? " heard remove " : " heard insert ") +
                       component->Name());
    }
    void Loaded() override
    {
        TComponent::Loaded();
        FLog.push_back("loaded " + Name());
        if (!MakeInLoaded.empty())
            MadeInLoaded = new TProbe(Owner(), MakeInLoaded, FLog);
    }

private:
    TLog& FLog;
};

TEST(Components, OwnerFreesWhatItOwnsLastCreatedFirst)
{
    TLog log;
    auto* owner = new TProbe(nullptr, "Owner", log);
    auto* a = new TProbe(owner, "A", log);
    new TProbe(owner, "B", log);
    new TProbe(owner, "C", log);
    new TProbe(a, "A1", log);
    new TProbe(a, "A2", log);
    log.clear();

    delete owner;
    EXPECT_EQ("free Owner, free C, free B, free A, free A2, free A1", Joined(Only("free ", log)));
}

TEST(Components, ComponentFreedDirectlyLeavesItsOwner)
{
    TLog log;
    TProbe owner(nullptr, "Owner", log);
    auto* a = new TProbe(&owner, "A", log);
    auto* b = new TProbe(&owner, "B", log);
    auto* c = new TProbe(&owner, "C", log);

    delete b;
    ASSERT_EQ(2, owner.ComponentCount());
    EXPECT_EQ(a, owner.Components(0));
    EXPECT_EQ(c, owner.Components(1));
    EXPECT_EQ(nullptr, owner.FindComponent("B"));

    // The owner frees only what is left, each once.
    log.clear();
    owner.DestroyComponents();
    EXPECT_EQ("free C, free A", Joined(log));
    EXPECT_EQ(0, owner.ComponentCount());
}

TEST(Components, RemovalIsToldToTheOwnerAndEverySibling)
{
    TLog log;
    TProbe owner(nullptr, "Owner", log);
    new TProbe(&owner, "A", log);
    auto* b = new TProbe(&owner, "B", log);
    new TProbe(&owner, "C", log);
    log.clear();

    delete b;
    EXPECT_EQ("free B, A heard remove B, C heard remove B, Owner heard remove B", Joined(log));
}

TEST(Components, MovingToAnotherOwnerIsToldOnBothSides)
{
    TLog log;
    TProbe first(nullptr, "First", log);
    TProbe second(nullptr, "Second", log);
    new TProbe(&first, "A", log);
    auto* moved = new TProbe(&first, "Moved", log);
    log.clear();

    second.InsertComponent(moved);
    EXPECT_EQ("A heard remove Moved, First heard remove Moved, Second heard insert Moved", Joined(log));
    EXPECT_EQ(&second, moved->Owner());
    EXPECT_EQ(1, first.ComponentCount());
    EXPECT_EQ(moved, second.FindComponent("moved"));
}

// Two components with different owners, so that only the free notification
// can tell one about the other.
struct FreeNotificationCase {
    const char* Title;
    bool AskerIsFreed; // which side goes first: the one that asked, or the other
    bool Withdrawn;    // the request was taken back before
    const char* Expected;
};

class FreeNotifications : public ::testing::TestWithParam<FreeNotificationCase> {};

TEST_P(FreeNotifications, TellTheOtherSideOnly)
{
    const FreeNotificationCase& c = GetParam();
    TLog log;
    auto ownerX = std::make_unique<TComponent>(nullptr);
    auto ownerY = std::make_unique<TComponent>(nullptr);
    auto* asker = new TProbe(ownerX.get(), "Asker", log);
    auto* other = new TProbe(ownerY.get(), "Other", log);
    asker->FreeNotification(other);
    asker->FreeNotification(other); // asking twice is told once
    if (c.Withdrawn)
        asker->RemoveFreeNotification(other);
    log.clear();

    delete (c.AskerIsFreed ? asker : other);
    EXPECT_EQ(c.Expected, Joined(log));

    // The survivor has forgotten the freed one: freeing it touches nothing gone.
    log.clear();
    delete (c.AskerIsFreed ? other : asker);
    EXPECT_EQ(c.AskerIsFreed ? "free Other" : "free Asker", Joined(log));
}

INSTANTIATE_TEST_SUITE_P(
    Components, FreeNotifications,
    ::testing::Values(FreeNotificationCase{"OtherFreed", false, false, "free Other, Asker heard remove Other"},
                      FreeNotificationCase{"AskerFreed", true, false, "free Asker, Other heard remove Asker"},
                      FreeNotificationCase{"WithdrawnOtherFreed", false, true, "free Other"},
                      FreeNotificationCase{"WithdrawnAskerFreed", true, true, "free Asker"}),
    [](const auto& testCase) { return std::string(testCase.param.Title); });

TEST(Components, FindComponentIgnoresLetterCase)
{
    TLog log;
    TProbe owner(nullptr, "Owner", log);
    auto* memo = new TProbe(&owner, "Memo01", log);
    auto* page = new TProbe(&owner, "Page01", log);
    new TProbe(&owner, "", log);

    struct {
        const char* Asked;
        TComponent* Expected;
    } const cases[] = {
        {"Memo01", memo}, {"memo01", memo}, {"MEMO01", memo}, {"pAGE01", page},
        {"Memo1", nullptr}, {"Memo01 ", nullptr}, {"", nullptr}, {"Owner", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("asked for \"") + c.Asked + "\"");
        TComponent* found = owner.FindComponent(c.Asked);
        EXPECT_EQ(c.Expected ? c.Expected->Name() : "(none)", found ? found->Name() : "(none)");
    }
}

TEST(Components, DuplicateNamesInOneOwnerAreRejected)
{
    TLog log;
    TProbe owner(nullptr, "Owner", log);
    TProbe elsewhere(nullptr, "Elsewhere", log);
    new TProbe(&owner, "Edit", log);
    auto* second = new TProbe(&owner, "Second", log);

    EXPECT_THROW(second->SetName("EDIT"), EInvalidOperation);
    EXPECT_EQ("Second", second->Name());

    // Through the published property, as the settings store would.
    const TPropInfo* nameProp = second->ClassType().FindProperty("Name");
    ASSERT_NE(nullptr, nameProp);
    EXPECT_THROW(SetStrProp(second, *nameProp, "edit"), EInvalidOperation);
    EXPECT_EQ("Second", second->Name());

    // A component may change the case of its own name, another owner may
    // use the name, and empty names never clash.
    EXPECT_NO_THROW(second->SetName("SECOND"));
    EXPECT_EQ("SECOND", second->Name());
    EXPECT_NO_THROW(new TProbe(&elsewhere, "Edit", log));
    EXPECT_NO_THROW(new TProbe(&owner, "", log));
    EXPECT_NO_THROW(new TProbe(&owner, "", log));
}

TEST(Components, MovingIntoAnOwnerThatHasTheNameIsRejected)
{
    TLog log;
    TProbe first(nullptr, "First", log);
    TProbe second(nullptr, "Second", log);
    new TProbe(&second, "Edit", log);
    auto* moving = new TProbe(&first, "edit", log);

    EXPECT_THROW(second.InsertComponent(moving), EInvalidOperation);
    // Nothing moved: it stays where it was, and the name stays unique.
    EXPECT_EQ(&first, moving->Owner());
    EXPECT_EQ(1, first.ComponentCount());
    EXPECT_EQ(1, second.ComponentCount());
}

TEST(Components, ComponentsMadeWhileTheirOwnerLoadsAreLoadingToo)
{
    TLog log;
    TProbe form(nullptr, "Form", log);
    auto* before = new TProbe(&form, "Before", log);
    form.BeginLoading();
    auto* a = new TProbe(&form, "A", log);
    auto* b = new TProbe(&form, "B", log);
    auto* b1 = new TProbe(b, "B1", log);
    auto* c = new TProbe(&form, "C", log);
    auto* outside = new TProbe(nullptr, "Outside", log);

    for (TComponent* x : std::vector<TComponent*>{&form, before, a, b, b1, c}) {
        SCOPED_TRACE(x->Name());
        EXPECT_TRUE(x->IsLoading());
    }
    EXPECT_FALSE(outside->IsLoading());
    delete outside;
    log.clear();

    form.EndLoading();
    // Creation order, each one's own components before it, the owner last.
    EXPECT_EQ("loaded Before, loaded A, loaded B1, loaded B, loaded C, loaded Form", Joined(Only("loaded ", log)));
    for (TComponent* x : std::vector<TComponent*>{&form, before, a, b, b1, c}) {
        SCOPED_TRACE(x->Name());
        EXPECT_FALSE(x->IsLoading());
    }

    // Once only, and a component made afterwards is not part of the layout.
    log.clear();
    form.EndLoading();
    auto* later = new TProbe(&form, "Later", log);
    EXPECT_FALSE(later->IsLoading());
    form.EndLoading();
    EXPECT_EQ("", Joined(Only("loaded ", log)));
}

TEST(Components, ComponentMadeByASiblingsLoadedStepIsNotLeftLoading)
{
    TLog log;
    TProbe form(nullptr, "Form", log);
    form.BeginLoading();
    auto* maker = new TProbe(&form, "Maker", log);
    maker->MakeInLoaded = "Made";
    new TProbe(&form, "After", log);
    log.clear();

    form.EndLoading();
    ASSERT_NE(nullptr, maker->MadeInLoaded);
    // A component stuck in the loading state would never lay out nor fire
    // its events.
    EXPECT_FALSE(maker->MadeInLoaded->IsLoading());
    EXPECT_EQ("loaded Maker, loaded After, loaded Made, loaded Form", Joined(Only("loaded ", log)));
}

TEST(Components, DestroyingIsSeenByEverythingOwned)
{
    // An owned component knows in its own destructor that it is being freed
    // with its owner (an editor then fires no change event, for one).
    struct TWatcher : TComponent {
        using TComponent::TComponent;
        bool* SawDestroying = nullptr;
        ~TWatcher() override { *SawDestroying = IsDestroying(); }
    };
    bool child = false, grandchild = false;
    auto* owner = new TComponent(nullptr);
    auto* w = new TWatcher(owner);
    auto* ww = new TWatcher(w);
    w->SawDestroying = &child;
    ww->SawDestroying = &grandchild;
    EXPECT_FALSE(w->IsDestroying());
    delete owner;
    EXPECT_TRUE(child);
    EXPECT_TRUE(grandchild);
}

} // namespace
