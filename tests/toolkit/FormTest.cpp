// The form's life-cycle events on a real window: their order, the show
// event coming before the window is visible, and the ways a close can be
// refused; and the client-size setters, before and after the window exists.
#include "tests/toolkit/ToolkitTesting.h"
#include "toolkit/Exceptions.h"
#include "toolkit/ExtCtrls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testing_support;
using namespace toolkit_testing;

namespace {

using TLog = std::vector<std::string>;

// A form whose handlers log what happened and answer as told.
class TLoggedForm : public TForm {
public:
    explicit TLoggedForm(TLog& log) : TForm(nullptr), Log(log)
    {
        OnCreate = MakeMethod<&TLoggedForm::FormCreate>(this);
        OnShow = MakeMethod<&TLoggedForm::FormShow>(this);
        OnHide = MakeMethod<&TLoggedForm::FormHide>(this);
        OnCloseQuery = MakeMethod<&TLoggedForm::FormCloseQuery>(this);
        OnClose = MakeMethod<&TLoggedForm::FormClose>(this);
        OnDestroy = MakeMethod<&TLoggedForm::FormDestroy>(this);
        SetBounds(80, 80, 300, 200);
    }
    ~TLoggedForm() override { DoDestroy(); }

    TLog& Log;
    bool AllowClose = true;
    TCloseAction Action = caHide;
    bool OverrideAction = false;
    bool ThrowInShow = false;

private:
    std::string Visibility() { return IsWindowVisible(Handle()) ? " (visible)" : " (not visible)"; }
    void FormCreate(TObject*) { Log.push_back("create" + Visibility()); }
    void FormShow(TObject* sender)
    {
        Log.push_back("show" + Visibility() + (sender == this ? "" : " wrong sender"));
        if (ThrowInShow)
            throw Exception("Show failed");
    }
    void FormHide(TObject*) { Log.push_back("hide" + Visibility()); }
    void FormCloseQuery(TObject*, bool& canClose)
    {
        Log.push_back(std::string("close query, offered ") + (canClose ? "yes" : "no"));
        canClose = AllowClose;
    }
    void FormClose(TObject*, TCloseAction& action)
    {
        Log.push_back("close, offered " + std::to_string(action));
        if (OverrideAction)
            action = Action;
    }
    void FormDestroy(TObject*) { Log.push_back("destroy"); }
};

std::string Joined(const TLog& log)
{
    std::string s;
    for (const std::string& e : log)
        s += (s.empty() ? "" : ", ") + e;
    return s;
}

TEST(Form, LifeCycleEventsComeInOrderOnce)
{
    TLog log;
    auto* form = new TLoggedForm(log);
    form->DoCreate();
    form->ShowForm();
    Pump(30);
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    delete form;
    EXPECT_EQ("create (not visible), show (not visible), close query, offered yes, close, offered 1, "
              "hide (visible), destroy",
              Joined(log));
}

struct CloseCase {
    const char* Title;
    bool AllowClose;
    bool OverrideAction;
    TCloseAction Action;
    bool VisibleAfter;
    const char* Log;
};

class FormClose : public ::testing::TestWithParam<CloseCase> {};

TEST_P(FormClose, ByTheCloseMessage)
{
    const CloseCase& c = GetParam();
    TLog log;
    TLoggedForm form(log);
    form.AllowClose = c.AllowClose;
    form.OverrideAction = c.OverrideAction;
    form.Action = c.Action;
    form.ShowForm();
    Pump(30);
    log.clear();

    SendMessageA(form.Handle(), WM_CLOSE, 0, 0);
    Pump(30);
    EXPECT_EQ(c.VisibleAfter, IsWindowVisible(form.Handle()) != FALSE);
    EXPECT_EQ(c.VisibleAfter, form.Visible());
    EXPECT_EQ(c.Log, Joined(log));
    EXPECT_TRUE(IsWindow(form.Handle()));

    // Asking again runs the whole sequence again.
    if (c.VisibleAfter) {
        log.clear();
        form.AllowClose = true;
        form.OverrideAction = false;
        form.Close();
        EXPECT_FALSE(IsWindowVisible(form.Handle()));
        EXPECT_EQ("close query, offered yes, close, offered 1, hide (visible)", Joined(log));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Form, FormClose,
    ::testing::Values(
        CloseCase{"Allowed", true, false, caHide, false, "close query, offered yes, close, offered 1, hide (visible)"},
        CloseCase{"QuerySaysNo", false, false, caHide, true, "close query, offered yes"},
        CloseCase{"ActionNone", true, true, caNone, true, "close query, offered yes, close, offered 1"}),
    [](const auto& testCase) { return std::string(testCase.param.Title); });

TEST(Form, ExceptionInTheShowEventIsReportedAndTheWindowStillAppears)
{
    ErrorCatcher errors;
    TLog log;
    TLoggedForm form(log);
    form.ThrowInShow = true;
    form.ShowForm();
    Pump(30);
    EXPECT_EQ(std::vector<std::string>{"Show failed."}, errors.Messages());
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
}

TEST(Form, ExceptionInTheCreateEventIsReported)
{
    ErrorCatcher errors;
    TForm form(nullptr);
    bool ran = false;
    form.OnCreate = TNotifyEvent::FromFunction(
        [](void* r, TObject*) {
            *static_cast<bool*>(r) = true;
            throw Exception("Cannot open file Page02.txt");
        },
        &ran);
    form.DoCreate();
    EXPECT_TRUE(ran);
    EXPECT_EQ(std::vector<std::string>{"Cannot open file Page02.txt."}, errors.Messages());
}

TEST(Form, ClientSizeSettersSizeTheRealClientArea)
{
    auto form = MakeForm(300, 200);
    form->ShowForm();
    Pump(20);
    struct {
        int Width, Height;
    } const cases[] = {{300, 200}, {592, 441}, {150, 90}, {451, 333}};
    for (const auto& c : cases) {
        SCOPED_TRACE(RectText(0, 0, c.Width, c.Height));
        form->SetClientWidth(c.Width);
        form->SetClientHeight(c.Height);
        RECT client;
        GetClientRect(form->Handle(), &client);
        EXPECT_EQ(RectText(0, 0, c.Width, c.Height), RectText(client));
        EXPECT_EQ(c.Width, form->ClientWidth());
        EXPECT_EQ(c.Height, form->ClientHeight());
        // The outer bounds the form keeps are the window's.
        RECT outer;
        GetWindowRect(form->Handle(), &outer);
        EXPECT_EQ(RectText(outer), BoundsText(form.get()));
    }
}

// A form is made without a window, which comes when it is first needed; until
// then its client size is worked out from its style, and a child aligned to
// fill it must already have the size that the real window gives.
TEST(Form, ClientSizeWithoutAWindowIsTheWindowsOwn)
{
    const TFormBorderStyle styles[] = {bsSizeable, bsSingle, bsDialog, bsToolWindow, bsSizeToolWin, bsNone};
    for (TFormBorderStyle style : styles) {
        SCOPED_TRACE(static_cast<int>(style));
        TForm form(nullptr);
        form.SetBorderStyle(style);
        form.SetBounds(70, 90, 420, 310);
        form.SetClientWidth(333);
        form.SetClientHeight(222);
        auto* fill = new TPanel(&form);
        fill->SetParent(&form);
        fill->SetAlign(alClient);
        EXPECT_EQ(nullptr, form.HandleValue());
        EXPECT_EQ(RectText(0, 0, 333, 222), BoundsText(fill));

        const std::string outer = BoundsText(&form);
        RECT client;
        GetClientRect(form.Handle(), &client);
        EXPECT_EQ(RectText(0, 0, 333, 222), RectText(client));
        RECT window;
        GetWindowRect(form.Handle(), &window);
        EXPECT_EQ(outer, RectText(window));
        EXPECT_EQ(RectText(0, 0, 333, 222), BoundsText(fill));
    }
}

} // namespace
