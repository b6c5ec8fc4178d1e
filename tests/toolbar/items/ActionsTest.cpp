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

// Handlers that write down who ran, with which sender, joined by ", ".
struct Recorder {
    std::string Log;
    void Note(const char* what, TObject* sender)
    {
        Log += (Log.empty() ? "" : ", ") + std::string(what) + " " + static_cast<TComponent*>(sender)->Name();
    }
    void Execute(TObject* sender) { Note("execute", sender); }
    void Other(TObject* sender) { Note("other", sender); }
    void Update(TObject* sender) { Note("update", sender); }
    void Disable(TObject* sender)
    {
        Update(sender);
        static_cast<TAction*>(sender)->SetEnabled(false);
    }
};

// A published value as text, whatever its kind; "=text" sets it.
std::string Value(TObject* obj, const char* name, const char* set = nullptr)
{
    const TPropInfo* p = obj->ClassType().FindProperty(name);
    const bool text = p->Kind() == TTypeKind::String;
    if (set && text)
        SetStrProp(obj, *p, set);
    else if (set)
        SetOrdProp(obj, *p, std::stoll(set));
    return text ? GetStrProp(obj, *p) : std::to_string(GetOrdProp(obj, *p));
}

bool Stored(const TObject* obj, const char* name)
{
    return IsStoredProp(obj, *obj->ClassType().FindProperty(name));
}

TEST(ItemActions, EachActionPropertyReachesTheItemAndIsNotStoredWhileTheActionSuppliesIt)
{
    // The action's value when linked, after a change, and a value of the item's own.
    const std::string ctrlS = std::to_string(scCtrl | 'S'), shiftF12 = std::to_string(scShift | VK_F12);
    const struct {
        const char *name, *linked, *changed, *own;
    } cases[] = {
        {"Caption", "&Save", "Save &as", "Keep"}, {"Checked", "1", "0", "1"},
        {"Enabled", "0", "1", "0"}, {"HelpContext", "17", "42", "5"},
        {"Hint", "Save|Saves the page", "Save as|Elsewhere", "Mine"}, {"ImageIndex", "3", "-1", "7"},
        {"ShortCut", ctrlS.c_str(), shiftF12.c_str(), "113"}, {"Visible", "0", "1", "0"},
    };
    for (const auto& c : cases) {
        TComponent owner(nullptr);
        auto* action = new TAction(&owner);
        auto* item = new TTBItem(&owner);
        Value(action, c.name, c.linked);
        SetObjectProp(item, *item->ClassType().FindProperty("Action"), action);
        EXPECT_EQ(action, item->Action());
        EXPECT_EQ(c.linked, Value(item, c.name)) << c.name << " after linking";
        EXPECT_FALSE(Stored(item, c.name)) << c.name << " while the action supplies it";
        Value(action, c.name, c.changed);
        EXPECT_EQ(c.changed, Value(item, c.name)) << c.name << " after the action changed";
        EXPECT_FALSE(Stored(item, c.name)) << c.name;
        Value(item, c.name, c.own);
        EXPECT_TRUE(Stored(item, c.name)) << c.name << ": a value of the item's own is stored";
        item->SetAction(nullptr);
        EXPECT_EQ(c.own, Value(item, c.name)) << c.name << ": unlinking keeps the value";
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
        EXPECT_EQ(c.expected, rec.Log) << c.what;
    }
}

TEST(ItemActions, TheIdleUpdateAsksEachLinkedActionOnceAndAFreedActionLeavesItsItemsUnlinked)
{
    TComponent owner(nullptr);
    Recorder rec;
    auto* bar = new TTBToolbar(&owner);
    std::vector<TAction*> actions;
    for (const char* name : {"One", "Two", "Three"}) {
        auto* action = new TAction(&owner);
        action->SetName(name);
        action->SetOnExecute(MakeMethod<&Recorder::Execute>(&rec));
        action->OnUpdate = MakeMethod<&Recorder::Update>(&rec);
        auto* item = new TTBItem(&owner);
        item->SetName(std::string("Item") + name);
        item->SetAction(action);
        bar->Items()->Add(item);
        actions.push_back(action);
    }
    bar->Items()->Add(new TTBItem(&owner)); // one without an action
    actions[1]->OnUpdate = MakeMethod<&Recorder::Disable>(&rec);
    bar->InitiateActions();
    EXPECT_EQ("update One, update Two, update Three", rec.Log);
    EXPECT_FALSE(bar->Items()->Items(1)->Enabled()) << "the item follows its action's update";
    rec.Log.clear();
    bar->SetUpdateActions(false);
    bar->InitiateActions();
    EXPECT_EQ("", rec.Log);

    // Freed: the item forgets the action and keeps what it had from it.
    delete actions[0];
    TTBCustomItem* first = bar->Items()->Items(0);
    EXPECT_EQ(nullptr, first->Action());
    EXPECT_TRUE(Stored(first, "Caption"));
    first->Click(); // the handler the action gave is the item's own now
    first->InitiateAction();
    EXPECT_EQ("execute ItemOne", rec.Log);
    delete bar->Items()->Items(2);
    EXPECT_EQ(0, actions[2]->ClientCount()) << "a freed item leaves its action";
}

} // namespace
