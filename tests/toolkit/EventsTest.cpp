// Events as method references, and what happens to an exception that leaves
// an event handler while a real window message is being handled.
#include "tests/support/TestSupport.h"
#include "tests/toolkit/ToolkitTesting.h"
#include "toolkit/Events.h"
#include "toolkit/Exceptions.h"
#include "toolkit/StdCtrls.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using namespace testing_support;
using namespace toolkit_testing;

namespace {

// Two members with the same body on purpose: they must still be told apart,
// since a storage that gives back "its" handler compares by member.
struct THandlers {
    int Calls = 0;
    TObject* LastSender = nullptr;
    void First(TObject* sender)
    {
        ++Calls;
        LastSender = sender;
    }
    void Second(TObject* sender)
    {
        ++Calls;
        LastSender = sender;
    }
};

TEST(Events, MethodReferencesAreEqualForTheSameMemberOfTheSameObject)
{
    THandlers x, y;
    const TNotifyEvent xFirst = MakeMethod<&THandlers::First>(&x);
    struct {
        const char* Title;
        TNotifyEvent Other;
        bool Equal;
    } const cases[] = {
        {"same member, same object", MakeMethod<&THandlers::First>(&x), true},
        {"other member, same object", MakeMethod<&THandlers::Second>(&x), false},
        {"same member, other object", MakeMethod<&THandlers::First>(&y), false},
        {"other member, other object", MakeMethod<&THandlers::Second>(&y), false},
        {"empty", TNotifyEvent(), false},
        {"nullptr", nullptr, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Title);
        EXPECT_EQ(c.Equal, xFirst == c.Other);
        EXPECT_EQ(c.Equal, c.Other == xFirst);
        EXPECT_EQ(!c.Equal, xFirst != c.Other);
    }
    EXPECT_TRUE(TNotifyEvent() == TNotifyEvent(nullptr));
}

TEST(Events, CallingReachesTheObjectWithTheArguments)
{
    THandlers x, y;
    TObject sender;
    TNotifyEvent e = MakeMethod<&THandlers::Second>(&y);
    e(&sender);
    EXPECT_EQ(0, x.Calls);
    EXPECT_EQ(1, y.Calls);
    EXPECT_EQ(&sender, y.LastSender);
    EXPECT_EQ(&y, e.Data());

    // Other argument lists carry every argument, references included.
    struct TCloser {
        void Query(TObject*, bool& canClose) { canClose = false; }
    } closer;
    TMethod<TObject*, bool&> query = MakeMethod<&TCloser::Query>(&closer);
    bool canClose = true;
    query(&sender, canClose);
    EXPECT_FALSE(canClose);
}

TEST(Events, EmptyEventsDoNothing)
{
    TNotifyEvent e;
    EXPECT_FALSE(e);
    EXPECT_NO_THROW(e(nullptr));
    THandlers x;
    e = MakeMethod<&THandlers::First>(&x);
    EXPECT_TRUE(e);
    e = nullptr;
    EXPECT_FALSE(e);
    e(nullptr);
    EXPECT_EQ(0, x.Calls);
}

// ------------------------------------------------------------ exceptions

enum class TThrown { Nothing, Message, Abort, StdError, NotAnException };

void ThrowAs(TThrown kind)
{
    switch (kind) {
    case TThrown::Nothing: return;
    case TThrown::Message: throw Exception("Cannot open file Page03.txt");
    case TThrown::Abort: Abort();
    case TThrown::StdError: throw std::runtime_error("Disk full!");
    case TThrown::NotAnException: throw 42;
    }
}

// A form with one button whose click handler counts, then throws as told.
class HandlerExceptions : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = MakeForm(300, 200);
        Button = new TButton(Form.get());
        Button->SetParent(Form.get());
        Button->SetBounds(20, 20, 100, 30);
        Button->SetCaption("Go");
        Button->OnClick = MakeMethod<&HandlerExceptions::ButtonClick>(this);
        ShowAndActivate(*Form);
    }

    void ButtonClick(TObject*)
    {
        ++Clicks;
        ThrowAs(Throw);
    }

    void ClickButton() { ClickClient(Button->Handle(), RECT{0, 0, Button->Width(), Button->Height()}); }

    ErrorCatcher Errors;
    std::unique_ptr<TForm> Form;
    TButton* Button = nullptr;
    TThrown Throw = TThrown::Nothing;
    int Clicks = 0;
};

struct ThrownCase {
    const char* Title;
    TThrown Kind;
    const char* Shown; // the error box's text; nullptr: nothing shown
};

const ThrownCase kThrownCases[] = {
    {"Message", TThrown::Message, "Cannot open file Page03.txt."},
    {"Abort", TThrown::Abort, nullptr},
    {"StdError", TThrown::StdError, "Disk full!"},
    {"NotAnException", TThrown::NotAnException, "Unknown error."},
};

std::vector<std::string> Expected(const ThrownCase& c)
{
    return c.Shown ? std::vector<std::string>{c.Shown} : std::vector<std::string>{};
}

TEST_F(HandlerExceptions, ClickByRealMouseReportsAndTheProgramGoesOn)
{
    for (const ThrownCase& c : kThrownCases) {
        SCOPED_TRACE(c.Title);
        Errors.Clear();
        Clicks = 0;
        Throw = c.Kind;
        ClickButton();
        EXPECT_EQ(1, Clicks);
        EXPECT_EQ(Expected(c), Errors.Messages());

        // The next click is handled as usual: nothing was left half done.
        Throw = TThrown::Nothing;
        ClickButton();
        EXPECT_EQ(2, Clicks);
        EXPECT_EQ(Expected(c), Errors.Messages());
    }
    EXPECT_TRUE(IsWindowVisible(Form->Handle()));
}

TEST_F(HandlerExceptions, CommandMessageFromTheButtonReportsOnce)
{
    for (const ThrownCase& c : kThrownCases) {
        SCOPED_TRACE(c.Title);
        Errors.Clear();
        Clicks = 0;
        Throw = c.Kind;
        LRESULT r = SendMessageA(Form->Handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                                 reinterpret_cast<LPARAM>(Button->Handle()));
        EXPECT_EQ(0, r);
        EXPECT_EQ(1, Clicks);
        EXPECT_EQ(Expected(c), Errors.Messages());
    }
}

// A window whose own message handling throws, for a posted message that
// travels through the message loop.
class TThrowingPanel : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    static constexpr UINT kMessage = WM_APP + 11;
    int Seen = 0;

protected:
    void WndProc(TMessage& msg) override
    {
        if (msg.Msg == kMessage) {
            ++Seen;
            if (msg.WParam)
                throw Exception("Posted failure");
            msg.Result = 1;
            return;
        }
        TCustomControl::WndProc(msg);
    }
};

TEST_F(HandlerExceptions, PostedMessageThroughTheLoopReports)
{
    auto* panel = new TThrowingPanel(Form.get());
    panel->SetParent(Form.get());
    panel->SetBounds(150, 20, 50, 50);
    PostMessageA(panel->Handle(), TThrowingPanel::kMessage, 1, 0);
    PostMessageA(panel->Handle(), TThrowingPanel::kMessage, 0, 0);
    Pump(50);
    EXPECT_EQ(2, panel->Seen);
    EXPECT_EQ(std::vector<std::string>{"Posted failure."}, Errors.Messages());
}

// The sink is the one place errors go: the application while it is the
// sink, any other sink put in its place, and nothing at all for a report
// made where no exception is being handled.
TEST(ErrorSink, ReportsGoToTheCurrentSinkAndNoErrorIsNoReport)
{
    struct TRecordingSink : TErrorSink {
        std::vector<std::string> Seen;
        void ReportError(std::exception_ptr error) noexcept override
        {
            try {
                std::rethrow_exception(error);
            } catch (const std::exception& e) {
                Seen.push_back(e.what());
            }
        }
    } sink;
    ErrorCatcher boxes;
    ASSERT_EQ(static_cast<TErrorSink*>(Application), CurrentErrorSink());
    HandleCallbackException();
    HandleCallbackException(nullptr);
    HandleCallbackException(std::make_exception_ptr(EAbort()));
    HandleCallbackException(std::make_exception_ptr(std::runtime_error("To the application")));

    SetErrorSink(&sink);
    try {
        throw Exception("To the other sink");
    } catch (...) {
        HandleCallbackException();
    }
    SetErrorSink(Application);
    EXPECT_EQ(std::vector<std::string>{"To the application."}, boxes.Messages());
    EXPECT_EQ(std::vector<std::string>{"To the other sink"}, sink.Seen);
}

TEST(ErrorBox, FullStopOnlyAfterCharactersThatSortAfterIt)
{
    struct {
        const char* Message;
        const char* Shown;
    } const cases[] = {
        {"Cannot create file Page01.txt", "Cannot create file Page01.txt."},
        {"Ends with a stop.", "Ends with a stop."},
        {"Ends with a bang!", "Ends with a bang!"},
        {"Closing (bracket)", "Closing (bracket)"},
        {"Ends with a dash -", "Ends with a dash -"},
        {"Ends with a digit 5", "Ends with a digit 5."},
        {"Ends with a slash /", "Ends with a slash /."},
        {"Ends with a question?", "Ends with a question?."},
        {"Accented \xE9", "Accented \xE9."},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Message);
        EXPECT_EQ(c.Shown, TApplication::ErrorBoxText(c.Message));
    }
}

} // namespace
