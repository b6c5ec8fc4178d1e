// The toolbar's part in the application's keyboard handling, with real key
// input on a real window: shortcuts reaching the bar's items, the menu key
// (Alt alone, Alt+character) handed to a menu bar, the menu bars' watch on
// a multiple-document client area, and the shared hooks coming and going
// with the bars that need them.
#include "tests/support/TestSupport.h"
#include "tests/toolkit/ToolkitTesting.h"
#include "toolbar/items/TBHookRegistry.h"
#include "toolbar/items/TBShortCuts.h"
#include "toolbar/items/TBToolbar.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace testing_support;
using namespace toolkit_testing;

namespace {

// Records where keyboard tracking would start, and takes over.
class KeyMenuBar : public TTBToolbar {
public:
    using TTBToolbar::TTBToolbar;
    std::string Keys; // one character per opening, "0" for the menu key alone

protected:
    bool OpenFromKeyboard(char key, bool) override
    {
        Keys += key ? key : '0';
        return true;
    }
};

void Key(WORD vk, bool up)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}

// Alt held while the keys go down and up; none: Alt alone.
void AltWith(const std::string& keys)
{
    Key(VK_MENU, false);
    for (char c : keys) {
        Key(static_cast<WORD>(c), false);
        Key(static_cast<WORD>(c), true);
    }
    Key(VK_MENU, true);
    Pump(80);
}

struct Window {
    Window()
    {
        Form = MakeForm(400, 200);
        Dock = new TTBDock(Form.get());
        Dock->SetParent(Form.get());
        Bar = new KeyMenuBar(Form.get());
        Item = new TTBItem(Form.get());
        Item->SetCaption("&Notes");
        Item->SetShortCut(VK_F6);
        Item->OnClick = MakeMethod<&Window::Clicked>(this);
        Bar->Items()->Add(Item);
        Bar->SetParent(Dock);
        ShowAndActivate(*Form);
        Application->SetMainForm(Form.get());
    }
    ~Window() { Application->SetMainForm(nullptr); }
    void Clicked(TObject*) { ++Clicks; }
    std::unique_ptr<TForm> Form;
    TTBDock* Dock;
    KeyMenuBar* Bar;
    TTBItem* Item;
    int Clicks = 0;
};

TEST(ToolbarKeyboard, ShortCutsAndTheMenuKeyReachTheBarOnlyWhenItTakesPart)
{
    struct Case {
        const char* what;
        bool menuBar, processShortCuts, enabled;
        const char* altKeys; // nullptr: F6 pressed alone
        const char* opened;
        int clicks;
    } cases[] = {
        {"Alt+N opens a menu bar with its character", true, true, true, "N", "n", 0},
        {"Alt alone opens it with none", true, true, true, "", "0", 0},
        {"two Alt+characters, two openings", true, true, true, "NX", "nx", 0},
        {"a disabled menu bar leaves the menu key to the system", true, true, false, "N", "", 0},
        {"a bar that is no menu bar is not offered it", false, true, true, "N", "", 0},
        {"F6 clicks the item through the shortcut hook", false, true, true, nullptr, "", 1},
        {"without shortcut processing F6 does nothing", false, false, true, nullptr, "", 0},
    };
    for (const Case& c : cases) {
        Window w;
        w.Bar->SetMenuBar(c.menuBar);
        w.Bar->SetProcessShortCuts(c.processShortCuts);
        w.Bar->SetEnabled(c.enabled);
        if (c.altKeys) {
            AltWith(c.altKeys);
        } else {
            PressKey(VK_F6);
            WaitFor([&] { return w.Clicks > 0; }, 500);
        }
        // Whatever the system opened instead is closed again.
        PressKey(VK_ESCAPE);
        EXPECT_EQ(c.opened, w.Bar->Keys) << c.what;
        EXPECT_EQ(c.clicks, w.Clicks) << c.what;
    }
}

// Where the menu-key system command went.
std::vector<HWND> g_sysCommandTargets;
LRESULT RecordSysCommand(int, WPARAM, LPARAM lParam)
{
    auto* call = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (call->message == WM_SYSCOMMAND && (call->wParam & 0xFFF0) == SC_KEYMENU)
        g_sysCommandTargets.push_back(call->hwnd);
    return 0;
}

TEST(ToolbarKeyboard, AMenuBarTurnsSystemCharactersOfAMultipleDocumentClientIntoTheMainFormsMenuKey)
{
    Window w;
    CLIENTCREATESTRUCT ccs{nullptr, 1000};
    HWND client = CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE, 0, 60, 300, 100,
                                  w.Form->Handle(), nullptr, GetModuleHandleA(nullptr), &ccs);
    ASSERT_NE(nullptr, client);
    HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, client, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    InstallHookHandler(TTBHookKind::CallWndProc, &RecordSysCommand);
    struct Case {
        bool menuBar;
        HWND target;
        char key;
        HWND commandTo;
    } cases[] = {
        {true, client, 'q', w.Form->HandleValue()},
        {true, child, '-', w.Form->HandleValue()},
        {true, child, 'x', child},
        {false, client, 'q', client},
    };
    for (const Case& c : cases) {
        w.Bar->SetMenuBar(c.menuBar);
        g_sysCommandTargets.clear();
        // As the system posts it: with the Alt key down.
        PostMessageA(c.target, WM_SYSCHAR, static_cast<WPARAM>(c.key), KF_ALTDOWN << 16);
        Pump(60);
        ASSERT_FALSE(g_sysCommandTargets.empty()) << c.key;
        EXPECT_EQ(c.commandTo, g_sysCommandTargets.front()) << c.key << c.menuBar;
    }
    // Every menu-key command that came while the bar was a menu bar opened it once.
    EXPECT_EQ("q-x", w.Bar->Keys);
    RemoveHookHandler(TTBHookKind::CallWndProc, &RecordSysCommand);
    DestroyWindow(client);
}

TEST(ToolbarKeyboard, TheSharedHooksComeWithTheFirstBarThatNeedsThemAndGoWithTheLast)
{
    TComponent owner(nullptr);
    auto* menu = new TTBToolbar(&owner);
    auto* other = new TTBToolbar(&owner);
    auto state = [] {
        return std::to_string(ShortCutToolbarCount()) + (HookInstalled(TTBHookKind::GetMessage) ? " G" : " -") +
               (HookInstalled(TTBHookKind::CBT) ? "C" : "-");
    };
    struct Step {
        std::function<void()> act;
        const char* state;
    } steps[] = {
        {[] {}, "0 --"},
        {[&] { menu->SetMenuBar(true); }, "1 GC"},
        {[&] { other->SetProcessShortCuts(true); }, "2 GC"},
        {[&] { menu->SetMenuBar(false); }, "1 GC"}, // menu bar also gave up its shortcut processing
        {[&] { other->SetProcessShortCuts(false); }, "0 --"},
        {[&] { menu->SetMenuBar(true); }, "1 GC"},
        {[&] { delete menu; }, "0 --"},
    };
    for (const Step& s : steps) {
        s.act();
        EXPECT_EQ(s.state, state());
    }
}

} // namespace
