// Moving a bar between docks from code: the events in their order, what the
// bar and the docks look like at each of them, and the bar's window
// surviving the move.
#include "tests/toolbar/dock/TestBar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace testing_support;
using namespace toolkit_testing;

namespace {

// Writes down each event with the bar's window state and the docks' sizes.
class Recorder : public TObject {
public:
    TTestBar* Bar = nullptr;
    TTBDock* Top = nullptr;
    TTBDock* Left = nullptr;
    std::vector<std::string> Events;

    void Note(const std::string& what)
    {
        bool visible = Bar->HandleAllocated() && IsWindowVisible(Bar->HandleValue());
        Events.push_back(what + (visible ? " shown" : " hidden"));
    }
    void Changing(TObject*, bool floating, TTBDock* to)
    {
        Note(std::string("Changing(") + (floating ? "floating," : "") + (to ? to->Name() : "none") + ")");
    }
    void ChangingHidden(TObject*, bool, TTBDock* to) { Note("ChangingHidden(" + (to ? to->Name() : "none") + ")"); }
    void Recreating(TObject*) { Note("Recreating"); }
    void Moved(TObject*) { Note("Move"); }
    void Recreated(TObject*) { Note("Recreated"); }
    void Changed(TObject*)
    {
        Note("Changed top=" + std::to_string(Top->Height()) + " left=" + std::to_string(Left->Width()));
    }
    void Inserted(TObject*, bool inserting, TTBCustomDockableWindow* bar)
    {
        Events.push_back((inserting ? "+" : "-") + bar->Name());
    }
    bool AllowClose = false;
    void CloseQuery(TObject*, bool& canClose) { canClose = AllowClose; }
};

class DockChange : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = MakeForm(400, 300);
        Top = new TTBDock(Form.get());
        Top->SetName("DockTop");
        Top->SetParent(Form.get());
        Left = new TTBDock(Form.get());
        Left->SetName("DockLeft");
        Left->SetPosition(dpLeft);
        Left->SetParent(Form.get());
        Bar = new TTestBar(Form.get(), "Bar", 100, 22);
        Bar->SetParent(Top);
        ShowAndActivate(*Form);
        Rec.Bar = Bar;
        Rec.Top = Top;
        Rec.Left = Left;
        Bar->OnDockChanging = MakeMethod<&Recorder::Changing>(&Rec);
        Bar->OnDockChangingHidden = MakeMethod<&Recorder::ChangingHidden>(&Rec);
        Bar->OnRecreating = MakeMethod<&Recorder::Recreating>(&Rec);
        Bar->OnMove = MakeMethod<&Recorder::Moved>(&Rec);
        Bar->OnRecreated = MakeMethod<&Recorder::Recreated>(&Rec);
        Bar->OnDockChanged = MakeMethod<&Recorder::Changed>(&Rec);
    }

    std::unique_ptr<TForm> Form;
    TTBDock* Top = nullptr;
    TTBDock* Left = nullptr;
    TTestBar* Bar = nullptr;
    Recorder Rec;
};

TEST_F(DockChange, EventsInOrderWithBothDocksLaidOut)
{
    HWND window = Bar->Handle();
    Bar->SetDockPos(30);
    Rec.Events.clear();
    Bar->SetCurrentDock(Left);
    const std::vector<std::string> expected = {
        "Changing(DockLeft) shown", "Recreating shown", "ChangingHidden(DockLeft) hidden",
        "Move shown", "Recreated shown", "Changed top=0 left=26 shown",
    };
    EXPECT_EQ(expected, Rec.Events);
    EXPECT_EQ(window, Bar->HandleValue());
    EXPECT_EQ(Left->Handle(), GetParent(window));
    EXPECT_EQ(Left, Bar->CurrentDock());
    EXPECT_TRUE(Bar->Docked());
    // Row and position are kept; in the empty dock the bar lands at row 0, at its position.
    EXPECT_EQ(30, Bar->DockPos());
    EXPECT_EQ("0@30+104", Bar->Placed());
    // With UseLastDock it belongs to the new dock only.
    EXPECT_TRUE(Top->BarList().empty());
    EXPECT_EQ(std::vector<TTBCustomDockableWindow*>{Bar}, Left->BarList());
    EXPECT_EQ(Left, Bar->LastDock());

    Rec.Events.clear();
    Bar->SetCurrentDock(Left);
    EXPECT_TRUE(Rec.Events.empty());

    Bar->SetCurrentDock(Top);
    ASSERT_EQ(6u, Rec.Events.size());
    EXPECT_EQ("Changed top=26 left=0 shown", Rec.Events.back());
    EXPECT_EQ(window, Bar->HandleValue());
}

TEST_F(DockChange, OffTheDocksAndBack)
{
    Bar->SetDefaultDock(Top);
    Bar->SetUseLastDock(false);
    Bar->SetCurrentDock(nullptr);
    EXPECT_EQ(Form.get(), Bar->Parent());
    EXPECT_FALSE(Bar->Docked());
    EXPECT_EQ(0, Top->Height());
    EXPECT_EQ(0, Bar->GetDockedFrameSize().cx);
    Rec.Events.clear();
    // A loose bar goes to its default dock, before the bars already in row 0.
    Bar->DockAtDefault();
    EXPECT_EQ(Top, Bar->CurrentDock());
    EXPECT_EQ(-8, Bar->DockPos());
    EXPECT_EQ(6u, Rec.Events.size());
    EXPECT_EQ(26, Top->Height());
    // A docked bar that cannot float ignores it.
    Bar->SetDockMode(dmCannotFloat);
    Bar->DockAtDefault();
    EXPECT_EQ(Top, Bar->CurrentDock());

    auto loose = std::make_unique<TTestBar>(nullptr, "Loose", 10, 10);
    try {
        loose->SetCurrentDock(nullptr);
        FAIL() << "no error";
    } catch (const EInvalidOperation& e) {
        EXPECT_STREQ("Control 'Loose' has no parent window", e.what());
    }
}

TEST_F(DockChange, ClosingAndHidingLeaveTheRow)
{
    Top->OnInsertRemoveBar = MakeMethod<&Recorder::Inserted>(&Rec);
    Bar->OnCloseQuery = MakeMethod<&Recorder::CloseQuery>(&Rec);
    Bar->OnMove = nullptr;
    Bar->CloseBar();
    EXPECT_TRUE(Bar->Visible());
    Rec.AllowClose = true;
    Bar->CloseBar();
    EXPECT_FALSE(Bar->Visible());
    EXPECT_FALSE(IsWindowVisible(Bar->Handle()));
    EXPECT_EQ(0, Top->Height());
    Bar->Show();
    EXPECT_EQ(26, Top->Height());
    Bar->SetCurrentDock(Left);
    // The old dock hears the bar leave; the dock-change events are not what this watches.
    Rec.Events.erase(std::remove_if(Rec.Events.begin(), Rec.Events.end(),
                                    [](const std::string& e) { return e[0] != '+' && e[0] != '-'; }),
                     Rec.Events.end());
    EXPECT_EQ((std::vector<std::string>{"-Bar", "+Bar", "-Bar"}), Rec.Events);
}

} // namespace
