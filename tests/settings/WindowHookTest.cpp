// The window hook on real windows: a toolkit form, a toolkit child panel and
// an EDIT window the toolkit subclasses itself, fed messages through the
// platform. Window procedures and hook handlers write what they saw to one
// log, so the tests compare whole sequences.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "settings/WindowHook.h"
#include "tests/support/TestSupport.h"
#include "toolkit/Exceptions.h"
#include "toolkit/Forms.h"

namespace {

using TLog = std::vector<std::string>;

const UINT kTestMsg = WM_APP + 7;

// The messages followed; the rest of a window's traffic varies by platform.
const char* Interesting(UINT msg)
{
    switch (msg) {
    case kTestMsg: return "test";
    case WM_DESTROY: return "destroy";
    case WM_QUIT: return "quit";
    default: return nullptr;
    }
}

// Handles every message waiting, posted ones included, and returns.
void DrainMessages()
{
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
}

WNDPROC CurrentProc(HWND wnd)
{
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(wnd, GWLP_WNDPROC));
}

// A control whose own handling logs "window <message>" and answers the test
// message with 100 + WParam; given ResendOn as WParam, it first sends its
// window the test message once more (with WParam 0).
template <class Base>
class TRecording : public Base {
public:
    using Base::Base;
    TLog* Log = nullptr;
    WPARAM ResendOn = ~WPARAM{0};

protected:
    void WndProc(TMessage& msg) override
    {
        if (const char* name = Interesting(msg.Msg)) {
            if (Log)
                Log->push_back(std::string("window ") + name);
            if (msg.Msg == kTestMsg) {
                if (msg.WParam == ResendOn)
                    SendMessageA(this->Handle(), kTestMsg, 0, 0);
                msg.Result = 100 + static_cast<LRESULT>(msg.WParam);
                return;
            }
        }
        Base::WndProc(msg);
    }
};

class TTestEdit : public TWinControl {
public:
    using TWinControl::TWinControl;

protected:
    void CreateParams(TCreateParams& params) override
    {
        TWinControl::CreateParams(params);
        params.WinClassName = "EDIT";
        params.Subclass = true;
    }
};

using TTestForm = TRecording<TForm>;

enum class TAct { Nothing, HandleBefore, HandleAfter, Throw, ChangeWParam };

// The handlers of one hook: they log "<label> before|after <message>" and
// act as told on the messages followed.
struct TProbe {
    std::string Label;
    TLog* Log;
    TWindowHook* Hook;
    TAct Act;
    bool WrongSender = false;

    TProbe(std::string label, TLog& log, TWindowHook& hook, TAct act)
        : Label(std::move(label)), Log(&log), Hook(&hook), Act(act)
    {
        hook.BeforeMessage = MakeMethod<&TProbe::Before>(this);
        hook.AfterMessage = MakeMethod<&TProbe::After>(this);
    }

    bool Note(TObject* sender, const TMessage& msg, const char* when)
    {
        const char* name = Interesting(msg.Msg);
        if (name) {
            WrongSender |= sender != Hook;
            Log->push_back(Label + when + name);
        }
        return name != nullptr;
    }

    void Before(TObject* sender, TMessage& msg, bool& handled)
    {
        if (!Note(sender, msg, " before "))
            return;
        if (Act == TAct::HandleBefore) {
            msg.Result = 7;
            handled = true;
        } else if (Act == TAct::ChangeWParam) {
            msg.WParam = 40;
        } else if (Act == TAct::Throw) {
            throw Exception(Label + " failed before");
        }
    }

    void After(TObject* sender, TMessage& msg, bool& handled)
    {
        if (!Note(sender, msg, " after "))
            return;
        if (Act == TAct::HandleAfter)
            handled = true;
        else if (Act == TAct::Throw)
            throw std::runtime_error(Label + " failed after");
    }
};

// Somebody who subclasses a window after the hook did: logs the test message
// as "later<Tag> test" and passes everything on.
template <int Tag>
class TLaterSubclasser {
public:
    TLaterSubclasser(HWND wnd, TLog& log) : FWnd(wnd)
    {
        sLog = &log;
        sPrev = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
    }
    TLaterSubclasser(const TLaterSubclasser&) = delete;
    TLaterSubclasser& operator=(const TLaterSubclasser&) = delete;
    ~TLaterSubclasser() { Remove(); }

    static WNDPROC Procedure() { return &Proc; }
    static WNDPROC Previous() { return sPrev; }

    // Puts back what it found if it is still on top, as a well-behaved
    // subclasser does; otherwise it has to stay in the chain.
    bool Remove()
    {
        const bool onTop = FWnd && IsWindow(FWnd) && CurrentProc(FWnd) == &Proc;
        if (onTop)
            SetWindowLongPtrA(FWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(sPrev));
        FWnd = nullptr;
        return onTop;
    }

private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        if (msg == kTestMsg)
            sLog->push_back("later" + std::to_string(Tag) + " test");
        return CallWindowProcA(sPrev, wnd, msg, wParam, lParam);
    }

    HWND FWnd;
    static inline WNDPROC sPrev = nullptr;
    static inline TLog* sLog = nullptr;
};

class WindowHookTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The test main's application object reports errors; we read them.
        FErrors = std::make_unique<testing_support::ErrorCatcher>();
        FListCount = HookListOf().Count();
    }

    void TearDown() override
    {
        FHooks.clear();
        FChildren.clear();
        FForms.clear();
        DrainMessages();
        FProbes.clear();
        EXPECT_EQ(FListCount, HookListOf().Count()) << "control hooks left in the list";
        FErrors.reset();
    }

    TTestForm* NewForm()
    {
        FForms.push_back(std::make_unique<TTestForm>(nullptr));
        auto* form = static_cast<TTestForm*>(FForms.back().get());
        form->Log = &Log;
        form->SetBounds(10, 10, 300, 200);
        return form;
    }

    template <class C>
    TWinControl* NewChild()
    {
        auto child = std::make_unique<TRecording<C>>(nullptr);
        child->Log = &Log;
        child->SetParent(NewForm());
        child->SetBounds(5, 5, 100, 24);
        FChildren.push_back(std::move(child));
        return FChildren.back().get();
    }

    // One fresh control of each kind the hook must live with.
    std::vector<std::pair<std::string, TWinControl*>> EveryKind()
    {
        return {{"form", NewForm()}, {"panel", NewChild<TCustomControl>()}, {"edit", NewChild<TTestEdit>()}};
    }

    // A hook on `control`; active by default, so attached at once. With a
    // label its handlers log and act as a probe.
    TWindowHook* NewHook(TWinControl* control, const std::string& label = "", TAct act = TAct::Nothing)
    {
        FHooks.push_back(std::make_unique<TWindowHook>(nullptr));
        TWindowHook* hook = FHooks.back().get();
        if (!label.empty())
            FProbes.push_back(std::make_unique<TProbe>(label, Log, *hook, act));
        hook->SetWinControl(control);
        return hook;
    }

    static LRESULT Send(TWinControl* control, WPARAM wParam = 0)
    {
        return SendMessageA(control->Handle(), kTestMsg, wParam, 0);
    }

    const TLog& Errors() const { return FErrors->Messages(); }

    TLog Log;
    std::vector<std::unique_ptr<TProbe>> FProbes;

private:
    std::unique_ptr<testing_support::ErrorCatcher> FErrors;
    int FListCount = 0;
    std::vector<std::unique_ptr<TForm>> FForms;
    std::vector<std::unique_ptr<TWinControl>> FChildren;
    std::vector<std::unique_ptr<TWindowHook>> FHooks;
};

// ------------------------------------------------------------- dispatching

// Two hooks, H1 attached first and H2 second, on every kind of window; H2
// acts as the case says. The sent message is the test message (WParam 5),
// the quit message, or the destroy message of the control's window.
TEST_F(WindowHookTest, HooksSeeMessagesBeforeAndAfterTheWindowInTheirOrder)
{
    struct TCase {
        const char* Name;
        UINT Msg;
        TAct Act;
        LRESULT Result;
        TLog Expected;
        TLog ExpectedErrors;
    };
    const TCase cases[] = {
        {"last attached first", kTestMsg, TAct::Nothing, 105,
         {"H2 before test", "H1 before test", "window test", "H2 after test", "H1 after test"}, {}},
        {"handled before", kTestMsg, TAct::HandleBefore, 7, {"H2 before test"}, {}},
        {"handled after", kTestMsg, TAct::HandleAfter, 105,
         {"H2 before test", "H1 before test", "window test", "H2 after test"}, {}},
        {"message changed", kTestMsg, TAct::ChangeWParam, 140,
         {"H2 before test", "H1 before test", "window test", "H2 after test", "H1 after test"}, {}},
        {"handler errors", kTestMsg, TAct::Throw, 105,
         {"H2 before test", "H1 before test", "window test", "H2 after test", "H1 after test"},
         {"H2 failed before.", "H2 failed after."}},
        {"quit never before", WM_QUIT, TAct::Nothing, 0, {"window quit", "H2 after quit", "H1 after quit"}, {}},
        {"destroy though handled", WM_DESTROY, TAct::HandleBefore, 0,
         {"H2 before destroy", "window destroy", "H2 after destroy", "H1 after destroy"}, {}},
    };
    for (const TCase& c : cases) {
        for (auto& [kind, control] : EveryKind()) {
            SCOPED_TRACE(std::string(c.Name) + " on " + kind);
            NewHook(control, "H1");
            NewHook(control, "H2", c.Act);
            const size_t errorsBefore = Errors().size();
            Log.clear();
            if (c.Msg == WM_DESTROY)
                control->DestroyHandle();
            else
                EXPECT_EQ(c.Result, SendMessageA(control->Handle(), c.Msg, c.Msg == kTestMsg ? 5 : 0, 0));
            EXPECT_EQ(c.Expected, Log);
            EXPECT_EQ(c.ExpectedErrors, TLog(Errors().begin() + static_cast<std::ptrdiff_t>(errorsBefore), Errors().end()));
        }
    }
    for (const auto& probe : FProbes)
        EXPECT_FALSE(probe->WrongSender) << probe->Label;
}

TEST_F(WindowHookTest, HooksOfOneWindowShareOneControlHook)
{
    TTestForm* form = NewForm();
    const int before = HookListOf().Count();
    TWindowHook* first = NewHook(form, "H1");
    TWindowHook* second = NewHook(form, "H2");
    TWindowHook* elsewhere = NewHook(NewForm());

    TControlHook* shared = first->ControlHook();
    ASSERT_NE(nullptr, shared);
    EXPECT_EQ(shared, second->ControlHook());
    EXPECT_NE(shared, elsewhere->ControlHook());
    EXPECT_EQ(before + 2, HookListOf().Count());
    ASSERT_EQ(2, shared->HookCount());
    EXPECT_EQ(first, shared->Hooks(0));
    EXPECT_EQ(second, shared->Hooks(1));

    // Attaching an attached hook again keeps its place.
    first->SetActive(true);
    Send(form);
    EXPECT_EQ((TLog{"H2 before test", "H1 before test", "window test", "H2 after test", "H1 after test"}), Log);
}

// ------------------------------------------------------------- subclassing

TEST_F(WindowHookTest, AttachingInstallsTheProcedureAndDetachingPutsThePreviousBack)
{
    for (auto& [kind, control] : EveryKind()) {
        SCOPED_TRACE(kind);
        HWND wnd = control->Handle();
        const WNDPROC original = CurrentProc(wnd);
        TWindowHook* hook = NewHook(control, "H1");
        TControlHook* controlHook = hook->ControlHook();
        ASSERT_NE(nullptr, controlHook);
        EXPECT_TRUE(controlHook->Subclassed());
        EXPECT_EQ(controlHook->WindowProcedure(), CurrentProc(wnd));
        EXPECT_EQ(original, controlHook->PreviousProcedure());

        hook->SetActive(false);
        EXPECT_EQ(nullptr, hook->ControlHook());
        EXPECT_FALSE(controlHook->Subclassed());
        EXPECT_EQ(original, CurrentProc(wnd));
        Log.clear();
        EXPECT_EQ(103, Send(control, 3));
        EXPECT_EQ((TLog{"window test"}), Log);
        EXPECT_EQ(control, TWinControl::FromHandle(wnd));
    }
}

TEST_F(WindowHookTest, DetachingLeavesALaterSubclasserInPlace)
{
    TTestForm* form = NewForm();
    HWND wnd = form->Handle();
    TWindowHook* hook = NewHook(form, "H1");
    TControlHook* controlHook = hook->ControlHook();
    TLaterSubclasser<1> later1(wnd, Log);
    EXPECT_EQ(controlHook->WindowProcedure(), TLaterSubclasser<1>::Previous());

    hook->SetActive(false);
    EXPECT_EQ(TLaterSubclasser<1>::Procedure(), CurrentProc(wnd));
    // Still passed on through where we were.
    EXPECT_EQ(104, Send(form, 4));
    EXPECT_EQ((TLog{"later1 test", "window test"}), Log);

    // Attached again, on top of it: every handler once.
    hook->SetActive(true);
    EXPECT_EQ(controlHook->WindowProcedure(), CurrentProc(wnd));
    EXPECT_EQ(TLaterSubclasser<1>::Procedure(), controlHook->PreviousProcedure());
    Log.clear();
    Send(form);
    EXPECT_EQ((TLog{"H1 before test", "later1 test", "window test", "H1 after test"}), Log);

    // Under a second later one, another hook adds no second entry of ours.
    TLaterSubclasser<2> later2(wnd, Log);
    NewHook(form, "H2");
    EXPECT_EQ(TLaterSubclasser<2>::Procedure(), CurrentProc(wnd));
    Log.clear();
    Send(form);
    EXPECT_EQ((TLog{"later2 test", "H2 before test", "H1 before test", "later1 test", "window test", "H2 after test",
                    "H1 after test"}),
              Log);

    // Everybody leaves, the later ones as far as they can.
    while (controlHook->HookCount() > 0)
        controlHook->Hooks(0)->SetActive(false);
    EXPECT_FALSE(controlHook->Subclassed());
    Log.clear();
    EXPECT_EQ(104, Send(form, 4));
    EXPECT_EQ((TLog{"later2 test", "later1 test", "window test"}), Log);
    EXPECT_TRUE(later2.Remove());
    EXPECT_FALSE(later1.Remove());
    Log.clear();
    Send(form);
    EXPECT_EQ((TLog{"later1 test", "window test"}), Log);
    // The window ends through what is left of the chain.
    form->DestroyHandle();
    EXPECT_EQ((TLog{"later1 test", "window test", "window destroy"}), Log);
}

// Two control hooks on one window with somebody else's procedure between
// them: every entry of the one shared procedure works for its own control
// hook, also for a message the window sends itself while another is on its
// way down the chain, and each leaves the chain by the same rules.
TEST_F(WindowHookTest, TwoControlHooksAroundALaterSubclasserEachSeeEveryMessageOnce)
{
    TTestForm* form = NewForm();
    HWND wnd = form->Handle();
    const WNDPROC original = CurrentProc(wnd);
    TWindowHook* a = NewHook(form, "A");
    TLaterSubclasser<1> later1(wnd, Log);
    TWindowHook* b = NewHook(form, "B");
    TControlHook second;
    second.AddHook(b);
    EXPECT_EQ(second.WindowProcedure(), CurrentProc(wnd));
    EXPECT_EQ(TLaterSubclasser<1>::Procedure(), second.PreviousProcedure());

    const TLog once{"B before test", "later1 test", "A before test", "window test", "A after test", "B after test"};
    EXPECT_EQ(101, Send(form, 1));
    EXPECT_EQ(once, Log);
    form->ResendOn = 2;
    Log.clear();
    EXPECT_EQ(102, Send(form, 2));
    EXPECT_EQ((TLog{"B before test", "later1 test", "A before test", "window test", "B before test", "later1 test",
                    "A before test", "window test", "A after test", "B after test", "A after test", "B after test"}),
              Log);

    // The one under somebody else only passes messages on; the one on top
    // gives the window back what it found.
    a->SetActive(false);
    b->SetActive(false);
    EXPECT_EQ(TLaterSubclasser<1>::Procedure(), CurrentProc(wnd));
    Log.clear();
    Send(form);
    EXPECT_EQ((TLog{"later1 test", "window test"}), Log);

    // With that somebody gone, the entry left behind is taken up again
    // rather than a second one put above it.
    EXPECT_TRUE(later1.Remove());
    a->SetActive(true);
    TControlHook* first = a->ControlHook();
    EXPECT_EQ(first->WindowProcedure(), CurrentProc(wnd));
    EXPECT_EQ(original, first->PreviousProcedure());
    Log.clear();
    Send(form);
    EXPECT_EQ((TLog{"A before test", "window test", "A after test"}), Log);
    a->SetActive(false);
    EXPECT_EQ(original, CurrentProc(wnd));
}

TEST_F(WindowHookTest, RecreatedWindowIsSubclassedAgainOnceThePostedMessageIsHandled)
{
    for (auto& [kind, control] : EveryKind()) {
        SCOPED_TRACE(kind);
        const WNDPROC original = CurrentProc(control->Handle());
        TWindowHook* hook = NewHook(control, "H1");
        TControlHook* controlHook = hook->ControlHook();

        control->RecreateWnd();
        HWND wnd = control->HandleValue();
        ASSERT_NE(nullptr, wnd);
        EXPECT_EQ(original, CurrentProc(wnd));
        Log.clear();
        Send(control);
        EXPECT_EQ((TLog{"window test"}), Log);

        DrainMessages();
        EXPECT_EQ(controlHook, hook->ControlHook());
        EXPECT_EQ(controlHook->WindowProcedure(), CurrentProc(wnd));
        Log.clear();
        Send(control);
        EXPECT_EQ((TLog{"H1 before test", "window test", "H1 after test"}), Log);
    }
}

// --------------------------------------------------------- deferred freeing

TEST_F(WindowHookTest, ControlHookLeftBehindIsFreedOnlyOnceThePostedMessageIsHandled)
{
    TTestForm* a = NewForm();
    TTestForm* b = NewForm();
    const WNDPROC originalA = CurrentProc(a->Handle());
    TWindowHook* hook = NewHook(a, "H1");
    TControlHook* old = hook->ControlHook();

    hook->SetWinControl(b);
    EXPECT_EQ(b, hook->WinControl());
    EXPECT_TRUE(hook->Active());
    EXPECT_EQ(originalA, CurrentProc(a->Handle()));
    EXPECT_NE(old, hook->ControlHook());
    ASSERT_GE(HookListOf().IndexOf(old), 0);
    EXPECT_EQ(0, old->HookCount());
    DrainMessages();
    EXPECT_EQ(-1, HookListOf().IndexOf(old));
    Send(a);
    Send(b);
    EXPECT_EQ((TLog{"window test", "H1 before test", "window test", "H1 after test"}), Log);

    // One taken into use again before the message comes stays.
    TControlHook* onB = hook->ControlHook();
    hook->SetWinControl(a);
    TWindowHook* newcomer = NewHook(b);
    EXPECT_EQ(onB, newcomer->ControlHook());
    DrainMessages();
    EXPECT_GE(HookListOf().IndexOf(onB), 0);
}

TEST_F(WindowHookTest, ControlHookLeftDuringItsOwnWindowsMessageOutlivesThatMessage)
{
    TTestForm* a = NewForm();
    TWindowHook* hook = NewHook(a);
    struct TContext {
        TWindowHook* Hook;
        TWinControl* Next;
        TControlHook* Old;
        int IndexAfterNestedLoop = -2;
    } context{hook, NewForm(), hook->ControlHook()};
    hook->BeforeMessage = THookMessageEvent::FromFunction(
        [](void* data, TObject*, TMessage& msg, bool&) {
            auto* c = static_cast<TContext*>(data);
            if (msg.Msg != kTestMsg)
                return;
            c->Hook->SetWinControl(c->Next);
            DrainMessages(); // a nested message loop meets the posted free
            c->IndexAfterNestedLoop = HookListOf().IndexOf(c->Old);
        },
        &context);

    EXPECT_EQ(101, Send(a, 1));
    EXPECT_GE(context.IndexAfterNestedLoop, 0);
    DrainMessages();
    EXPECT_EQ(-1, HookListOf().IndexOf(context.Old));
}

TEST_F(WindowHookTest, DestroyingTheHookOrItsControlReleasesTheControlHookLater)
{
    // The hook goes first: the window gets its procedure back at once.
    TTestForm* form = NewForm();
    const WNDPROC original = CurrentProc(form->Handle());
    auto hook = std::make_unique<TWindowHook>(nullptr);
    hook->SetWinControl(form);
    TControlHook* controlHook = hook->ControlHook();
    ASSERT_NE(nullptr, controlHook);
    hook.reset();
    EXPECT_EQ(original, CurrentProc(form->Handle()));
    EXPECT_GE(HookListOf().IndexOf(controlHook), 0);
    DrainMessages();
    EXPECT_EQ(-1, HookListOf().IndexOf(controlHook));

    // The control goes first: the hook forgets it, and its handlers are not
    // told of a window that goes with its control.
    auto control = std::make_unique<TTestForm>(nullptr);
    TWindowHook* survivor = NewHook(control.get(), "H1");
    controlHook = survivor->ControlHook();
    control.reset();
    EXPECT_EQ(nullptr, survivor->WinControl());
    EXPECT_EQ(nullptr, survivor->ControlHook());
    EXPECT_EQ(TLog{}, Log);
    DrainMessages();
    EXPECT_EQ(-1, HookListOf().IndexOf(controlHook));
}

TEST_F(WindowHookTest, HookListIsOneHiddenWindowThatIgnoresStaleMessages)
{
    THookList& list = HookListOf();
    EXPECT_EQ(&list, &HookListOf());
    ASSERT_TRUE(IsWindow(list.Handle()));
    EXPECT_FALSE(IsWindowVisible(list.Handle()));

    // Made and found by control, but nothing is watched before a hook comes.
    TTestForm* form = NewForm();
    const WNDPROC original = CurrentProc(form->Handle());
    TControlHook* made = list.FindOrCreateControlHook(form);
    EXPECT_EQ(made, list.FindOrCreateControlHook(form));
    EXPECT_EQ(form, made->Control());
    EXPECT_FALSE(made->Subclassed());
    EXPECT_EQ(original, CurrentProc(form->Handle()));

    PostMessageA(list.Handle(), THookList::FreeHookMessage, reinterpret_cast<WPARAM>(made), 0);
    DrainMessages();
    ASSERT_EQ(-1, list.IndexOf(made));
    // Messages naming it again find nothing to do.
    const int count = list.Count();
    PostMessageA(list.Handle(), THookList::ReSubclassMessage, reinterpret_cast<WPARAM>(made), 0);
    PostMessageA(list.Handle(), THookList::FreeHookMessage, reinterpret_cast<WPARAM>(made), 0);
    DrainMessages();
    EXPECT_EQ(count, list.Count());
    EXPECT_EQ(original, CurrentProc(form->Handle()));
    EXPECT_TRUE(Errors().empty());
}

// -------------------------------------------------------------- properties

TEST_F(WindowHookTest, PublishedPropertiesDriveTheHook)
{
    TTestForm* form = NewForm();
    TWindowHook* hook = NewHook(nullptr, "H1");
    const TPropInfo* active = TWindowHook::StaticClass().FindProperty("active");
    const TPropInfo* control = TWindowHook::StaticClass().FindProperty("WinControl");
    ASSERT_NE(nullptr, active);
    ASSERT_NE(nullptr, control);
    EXPECT_EQ(TTypeKind::Enumeration, active->Kind());
    EXPECT_EQ(TTypeKind::Class, control->Kind());
    // Active by default, with nothing to attach to yet.
    EXPECT_EQ(1, GetOrdProp(hook, *active));
    EXPECT_EQ(nullptr, hook->ControlHook());

    SetObjectProp(hook, *control, form);
    Send(form);
    EXPECT_EQ((TLog{"H1 before test", "window test", "H1 after test"}), Log);

    SetOrdProp(hook, *active, 0);
    EXPECT_EQ(form, GetObjectProp(hook, *control)); // still named while detached
    Log.clear();
    Send(form);
    EXPECT_EQ((TLog{"window test"}), Log);
    // A new control while inactive is only stored.
    hook->SetWinControl(NewForm());
    EXPECT_EQ(nullptr, hook->ControlHook());
    EXPECT_FALSE(hook->Active());
}

TEST_F(WindowHookTest, IsFormAttachesToTheOwningForm)
{
    TTestForm* form = NewForm();
    auto* onForm = new TWindowHook(form); // freed by the form
    TProbe probe("H1", Log, *onForm, TAct::Nothing);
    EXPECT_FALSE(onForm->IsForm());
    onForm->SetIsForm(true);
    EXPECT_TRUE(onForm->IsForm());
    EXPECT_EQ(form, onForm->WinControl());
    Send(form);
    EXPECT_EQ((TLog{"H1 before test", "window test", "H1 after test"}), Log);
    onForm->SetWinControl(NewForm());
    EXPECT_FALSE(onForm->IsForm());

    TComponent notAForm(nullptr);
    auto* onComponent = new TWindowHook(&notAForm);
    onComponent->SetIsForm(true);
    EXPECT_EQ(nullptr, onComponent->WinControl());
}

// ------------------------------------------------------------- program end

// Checked in a child process by a handler registered before the list was
// made, so that it runs after the list has gone; the exit code is the verdict.
struct TAtExitState {
    HWND Wnd = nullptr;
    WNDPROC Original = nullptr;
    TWindowHook* Hook = nullptr;
} gAtExit;

void CheckAfterTheListHasGone()
{
    const bool restored = CurrentProc(gAtExit.Wnd) == gAtExit.Original;
    const bool released = gAtExit.Hook->ControlHook() == nullptr;
    std::fflush(stderr);
    _exit(restored && released ? 3 : restored ? 4 : 5);
}

TEST(WindowHookAtExit, ListFreesWhatItStillHoldsWhenTheProgramEnds)
{
    EXPECT_EXIT(
        {
            std::atexit(&CheckAfterTheListHasGone);
            // Both left alive on purpose: the end of the program finds them.
            auto* form = new TTestForm(nullptr);
            gAtExit.Wnd = form->Handle();
            gAtExit.Original = CurrentProc(gAtExit.Wnd);
            gAtExit.Hook = new TWindowHook(nullptr);
            gAtExit.Hook->SetWinControl(form);
            if (CurrentProc(gAtExit.Wnd) == gAtExit.Original)
                _exit(6); // never subclassed: nothing to check
            std::exit(0);
        },
        ::testing::ExitedWithCode(3), "");
}

} // namespace
