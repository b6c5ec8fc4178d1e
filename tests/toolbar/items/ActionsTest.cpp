// Actions linked to items: the action's properties reach the item and are
// then not stored with it, a click runs the item's own handler or the
// action, the bar's idle update asks every linked action to update, and a
// freed action leaves the item unlinked.
#include "toolbar/items/TBToolbar.h"
#include "toolkit/ActnList.h"
#include "toolkit/TypeInfo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Handlers that write down who ran, with which sender.
struct Recorder {
    std::vector<std::string> Log;
    std::string NameOf(TObject* sender) const
    {
        auto* c = dynamic_cast<TComponent*>(sender);
        return c ? c->Name() : "?";
    }
    void Execute(TObject* sender) { Log.push_back("execute " + NameOf(sender)); }
    void Other(TObject* sender) { Log.push_back("other " + NameOf(sender)); }
    void Update(TObject* sender) { Log.push_back("update " + NameOf(sender)); }
    void Disable(TObject* sender)
    {
        Update(sender);
        static_cast<TAction*>(sender)->SetEnabled(false);
    }
};

std::string Joined(const std::vector<std::string>& log)
{
    std::string out;
    for (const std::string& s : log)
        out += (out.empty() ? "" : ", ") + s;
    return out;
}

// A published value as text, whatever its kind.
std::string ValueOf(const TObject* obj, const char* name)
{
    const TPropInfo* p = obj->ClassType().FindProperty(name);
    return p->Kind() == TTypeKind::String ? GetStrProp(obj, *p) : std::to_string(GetOrdProp(obj, *p));
}

void SetValue(TObject* obj, const char* name, const std::string& value)
{
    const TPropInfo* p = obj->ClassType().FindProperty(name);
    if (p->Kind() == TTypeKind::String)
        SetStrProp(obj, *p, value);
    else
        SetOrdProp(obj, *p, std::stoll(value));
}

bool Stored(const TObject* obj, const char* name)
{
    return IsStoredProp(obj, *obj->ClassType().FindProperty(name));
}

TEST(ItemActions, EachActionPropertyReachesTheItemAndIsNotStoredWhileTheActionSuppliesIt)
{
    // Property, the action's value when linked, its value after a change,
    // and a value of the item's own.
    const struct {
        const char* name;
        std::string linked, changed, own;
    } cases[] = {
        {"Caption", "&Save", "Save &as", "Keep"},
        {"Checked", "1", "0", "1"},
        {"Enabled", "0", "1", "0"},
        {"HelpContext", "17", "42", "5"},
        {"Hint", "Save|Saves the page", "Save as|Saves elsewhere", "Mine"},
        {"ImageIndex", "3", "-1", "7"},
        {"ShortCut", std::to_string(scCtrl | 'S').c_str(), std::to_string(scShift | VK_F12).c_str(), "113"},
        {"Visible", "0", "1", "0"},
    };
    for (const auto& c : cases) {
        TComponent owner(nullptr);
        auto* action = new TAction(&owner);
        auto* item = new TTBItem(&owner);
        SetValue(action, c.name, c.linked);
        EXPECT_TRUE(Stored(item, c.name)) << c.name << ": unlinked, the item's own value is stored";
        SetObjectProp(item, *item->ClassType().FindProperty("Action"), action);
        EXPECT_EQ(action, item->Action());
        EXPECT_EQ(c.linked, ValueOf(item, c.name)) << c.name << " after linking";
        EXPECT_FALSE(Stored(item, c.name)) << c.name << " while the action supplies it";
        SetValue(action, c.name, c.changed);
        EXPECT_EQ(c.changed, ValueOf(item, c.name)) << c.name << " after the action changed";
        EXPECT_FALSE(Stored(item, c.name)) << c.name;
        SetValue(item, c.name, c.own);
        EXPECT_TRUE(Stored(item, c.name)) << c.name << ": a value of the item's own is stored";
        SetValue(item, c.name, c.changed);
        item->SetAction(nullptr);
        EXPECT_EQ(c.changed, ValueOf(item, c.name)) << c.name << ": unlinking keeps the value";
        EXPECT_TRUE(Stored(item, c.name)) << c.name;
        EXPECT_EQ(0, action->ClientCount()) << c.name;
    }
}

TEST(ItemActions, ClickRunsTheItemsOwnHandlerOrTheAction)
{
    enum Handler { None, ActionsExecute, Another };
    const struct {
        const char* what;
        Handler onClick;          // the item's OnClick, set after linking
        bool linked;
        bool actionEnabled;
        const char* expected;
    } cases[] = {
        {"no handler: the action runs", None, true, true, "update Act, execute Act"},
        {"the action's own handler: the action runs", ActionsExecute, true, true, "update Act, execute Act"},
        {"another handler: only it runs", Another, true, true, "other Item"},
        {"a disabled action: updated, not run", None, true, false, "update Act"},
        {"unlinked with a handler", Another, false, true, "other Item"},
        {"unlinked without one", None, false, true, ""},
    };
    for (const auto& c : cases) {
        TComponent owner(nullptr);
        Recorder rec;
        auto* action = new TAction(&owner);
        action->SetName("Act");
        action->SetOnExecute(MakeMethod<&Recorder::Execute>(&rec));
        action->OnUpdate = MakeMethod<&Recorder::Update>(&rec);
        auto* item = new TTBItem(&owner);
        item->SetName("Item");
        if (c.linked) {
            item->SetAction(action);
            EXPECT_EQ(action->OnExecute(), item->OnClick) << c.what << ": the action gives its handler";
            EXPECT_FALSE(item->StoredUnlessSupplied<TActionProperty::OnExecute>()) << c.what;
        }
        item->OnClick = c.onClick == ActionsExecute ? action->OnExecute()
                        : c.onClick == Another      ? MakeMethod<&Recorder::Other>(&rec)
                                                    : TNotifyEvent();
        action->SetEnabled(c.actionEnabled);
        item->SetEnabled(true); // a disabled action must stop the click by itself
        item->Click();
        EXPECT_EQ(c.expected, Joined(rec.Log)) << c.what;
    }
}

TEST(ItemActions, TheBarsIdleUpdateAsksEachLinkedActionOnceAndTheItemsFollow)
{
    TComponent owner(nullptr);
    Recorder rec;
    auto* bar = new TTBToolbar(&owner);
    std::vector<TAction*> actions;
    for (const char* name : {"One", "Two", "Three"}) {
        auto* action = new TAction(&owner);
        action->SetName(name);
        action->OnUpdate = MakeMethod<&Recorder::Update>(&rec);
        auto* item = new TTBItem(&owner);
        item->SetAction(action);
        bar->Items()->Add(item);
        actions.push_back(action);
    }
    bar->Items()->Add(new TTBItem(&owner)); // one without an action
    actions[1]->OnUpdate = MakeMethod<&Recorder::Disable>(&rec);
    bar->InitiateActions();
    EXPECT_EQ("update One, update Two, update Three", Joined(rec.Log));
    EXPECT_FALSE(bar->Items()->Items(1)->Enabled()) << "the item follows its action's update";
    EXPECT_TRUE(bar->Items()->Items(0)->Enabled());
    rec.Log.clear();
    bar->SetUpdateActions(false);
    bar->InitiateActions();
    EXPECT_EQ("", Joined(rec.Log));
}

TEST(ItemActions, AFreedActionLeavesTheItemUnlinkedAndAFreedItemLeavesTheAction)
{
    TComponent owner(nullptr);
    Recorder rec;
    auto* action = new TAction(&owner);
    action->SetCaption("Go");
    action->SetOnExecute(MakeMethod<&Recorder::Execute>(&rec));
    auto* item = new TTBItem(&owner);
    item->SetName("Item");
    item->SetAction(action);
    auto* other = new TTBItem(&owner);
    other->SetAction(action);
    EXPECT_EQ(2, action->ClientCount());
    delete other;
    EXPECT_EQ(1, action->ClientCount());
    delete action;
    EXPECT_EQ(nullptr, item->Action());
    EXPECT_TRUE(Stored(item, "Caption"));
    EXPECT_EQ("Go", item->Caption());
    item->Click(); // the handler the action gave is the item's own now
    item->InitiateAction();
    EXPECT_EQ("execute Item", Joined(rec.Log));
}

} // namespace
