// The standard controls under real input: edit fields and their change
// event, buttons clicked by mouse and keyboard, labels sized to their text,
// panel bevels as drawn on screen, and the context menu driven through the
// platform's own popup window.
#include "tests/toolkit/ToolkitTesting.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Menus.h"
#include "toolkit/StdCtrls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testing_support;
using namespace toolkit_testing;

namespace {

class StdControls : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = MakeForm(400, 300);
        ShowAndActivate(*Form);
    }

    template <class T>
    T* Make(int left, int top, int width, int height)
    {
        auto* c = new T(Form.get());
        c->SetBounds(left, top, width, height);
        c->SetParent(Form.get());
        return c;
    }

    // Counts the events it is hooked to and notes the text at each change.
    struct TCounter {
        int Count = 0;
        std::vector<std::string> Texts;
        void Changed(TObject* sender)
        {
            ++Count;
            Texts.push_back(static_cast<TCustomEdit*>(sender)->GetText());
        }
        void Clicked(TObject*) { ++Count; }
    };

    std::unique_ptr<TForm> Form;
};

TEST_F(StdControls, EditChangeFiresAtEachTypedKey)
{
    auto* edit = Make<TEdit>(10, 10, 150, 21);
    TCounter changes;
    edit->OnChange = MakeMethod<&TCounter::Changed>(&changes);
    edit->SetFocus();
    TypeText("Ab c");
    EXPECT_EQ((std::vector<std::string>{"A", "Ab", "Ab ", "Ab c"}), changes.Texts);
    PressKey(VK_BACK);
    EXPECT_EQ("Ab ", changes.Texts.back());
    EXPECT_EQ(5, changes.Count);
    // Keys that change nothing fire nothing.
    PressKey(VK_LEFT);
    PressKey(VK_HOME);
    EXPECT_EQ(5, changes.Count);
}

struct SetTextCase {
    const char* Title;
    bool WithWindow;
    bool MultiLine;
};

class EditSetText : public StdControls, public ::testing::WithParamInterface<SetTextCase> {};

TEST_P(EditSetText, FiresOnlyWhenTheTextChanges)
{
    TCustomEdit* edit = GetParam().MultiLine ? static_cast<TCustomEdit*>(new TMemo(Form.get()))
                                             : static_cast<TCustomEdit*>(new TEdit(Form.get()));
    edit->SetBounds(10, 10, 150, 21);
    if (GetParam().WithWindow)
        edit->SetParent(Form.get());
    TCounter changes;
    edit->OnChange = MakeMethod<&TCounter::Changed>(&changes);

    struct {
        const char* Text;
        int Fired;
    } const steps[] = {{"Notes", 1}, {"Notes", 0}, {"notes", 1}, {"", 1}, {"", 0}, {"x y", 1}};
    for (const auto& s : steps) {
        SCOPED_TRACE(std::string("set \"") + s.Text + "\"");
        changes = TCounter();
        edit->SetText(s.Text);
        Pump(10);
        EXPECT_EQ(s.Fired, changes.Count);
        if (s.Fired) {
            EXPECT_EQ(std::vector<std::string>{s.Text}, changes.Texts); // the new text is in place when told
        }
        EXPECT_EQ(s.Text, edit->GetText());
    }
    EXPECT_EQ(GetParam().WithWindow, edit->HandleAllocated());
}

INSTANTIATE_TEST_SUITE_P(StdControls, EditSetText,
                         ::testing::Values(SetTextCase{"EditWithWindow", true, false},
                                           SetTextCase{"EditBeforeTheWindow", false, false},
                                           SetTextCase{"MemoWithWindow", true, true},
                                           SetTextCase{"MemoBeforeTheWindow", false, true}),
                         [](const auto& testCase) { return std::string(testCase.param.Title); });

TEST_F(StdControls, ModifiedAfterTypingOnly)
{
    for (TCustomEdit* edit : {static_cast<TCustomEdit*>(Make<TEdit>(10, 10, 150, 21)),
                              static_cast<TCustomEdit*>(Make<TMemo>(10, 40, 150, 80))}) {
        SCOPED_TRACE(edit->ClassName());
        EXPECT_FALSE(edit->Modified());
        edit->SetFocus();
        TypeText("x");
        EXPECT_TRUE(edit->Modified());
        // Text the program sets is not the user's change.
        edit->SetText("set by the program");
        EXPECT_FALSE(edit->Modified());
        TypeText("x");
        EXPECT_TRUE(edit->Modified());
        edit->SetModified(false);
        EXPECT_FALSE(edit->Modified());
        TypeText("y");
        EXPECT_TRUE(edit->Modified());
    }
}

TEST_F(StdControls, TextInPlaceWhenTheWindowIsMadeIsNoModification)
{
    for (TCustomEdit* edit : {static_cast<TCustomEdit*>(new TEdit(Form.get())),
                              static_cast<TCustomEdit*>(new TMemo(Form.get()))}) {
        SCOPED_TRACE(edit->ClassName());
        edit->SetText("loaded from a file");
        edit->SetBounds(10, 10, 150, 60);
        edit->SetParent(Form.get());
        EXPECT_EQ("loaded from a file", edit->GetText());
        EXPECT_FALSE(edit->Modified());
        // Nor when the window is made anew.
        edit->RecreateWnd();
        EXPECT_EQ("loaded from a file", edit->GetText());
        EXPECT_FALSE(edit->Modified());
    }
}

TEST_F(StdControls, MemoTakesLineBreaksAndLongText)
{
    auto* memo = Make<TMemo>(10, 10, 200, 100);
    memo->SetFocus();
    TypeText("one\ntwo");
    EXPECT_EQ("one\r\ntwo", memo->GetText());

    // Far more than a platform editor's default limit, set and typed into.
    std::string big(200000, 'a');
    for (size_t i = 80; i < big.size(); i += 81) {
        big[i - 1] = '\r';
        big[i] = '\n';
    }
    memo->SetText(big);
    EXPECT_EQ(big.size(), memo->GetText().size());
    EXPECT_TRUE(memo->GetText() == big);
    // A window made anew gets it all back: the platform's editor drops a
    // text longer than its default limit that it is made with.
    memo->SetWordWrap(false);
    memo->SetWordWrap(true);
    EXPECT_TRUE(memo->GetText() == big);
    memo->SetFocus();
    memo->SetSel(static_cast<int>(big.size()), 0);
    TypeText("z");
    EXPECT_EQ(big + "z", memo->GetText());
}

TEST_F(StdControls, MemoRefusesWhatItsWindowCantHoldWithOrWithoutTheWindow)
{
    for (bool withWindow : {true, false}) {
        SCOPED_TRACE(withWindow ? "with its window" : "before its window");
        auto* memo = new TMemo(Form.get());
        memo->SetParent(withWindow ? Form.get() : nullptr);
        memo->SetText("kept");
        std::string error;
        try {
            memo->SetText(std::string("zero\0byte", 9));
        } catch (const std::exception& e) {
            error = e.what();
        }
        EXPECT_EQ("Text exceeds memo capacity", error);
        memo->SetParent(Form.get());
        EXPECT_EQ("kept", memo->GetText());
        delete memo;
    }
}

struct ButtonCase {
    const char* Title;
    bool ByKeyboard;
    bool Enabled;
    int Clicks;
};

class ButtonClick : public StdControls, public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(ButtonClick, ByMouseOrSpace)
{
    const ButtonCase& c = GetParam();
    auto* button = Make<TButton>(10, 10, 90, 25);
    button->SetCaption("OK");
    TCounter clicks;
    button->OnClick = MakeMethod<&TCounter::Clicked>(&clicks);
    button->SetEnabled(c.Enabled);
    if (c.ByKeyboard) {
        button->SetFocus();
        PressKey(VK_SPACE);
    } else {
        ClickClient(button->Handle(), RECT{0, 0, button->Width(), button->Height()});
    }
    Pump(20);
    EXPECT_EQ(c.Clicks, clicks.Count);
    // A press released outside the button is no click.
    if (c.Enabled && !c.ByKeyboard) {
        POINT down{45, 12}, up{300, 200};
        ClientToScreen(button->Handle(), &down);
        ClientToScreen(Form->Handle(), &up);
        SetCursorPos(down.x, down.y);
        INPUT in[3]{};
        in[0].type = in[1].type = in[2].type = INPUT_MOUSE;
        in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        in[1].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        in[1].mi.dx = up.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
        in[1].mi.dy = up.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
        in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        for (INPUT& i : in) {
            SendInput(1, &i, sizeof i);
            Pump(20);
        }
        EXPECT_EQ(c.Clicks, clicks.Count);
    }
}

INSTANTIATE_TEST_SUITE_P(StdControls, ButtonClick,
                         ::testing::Values(ButtonCase{"Mouse", false, true, 1}, ButtonCase{"Space", true, true, 1},
                                           ButtonCase{"MouseOnDisabled", false, false, 0}),
                         [](const auto& testCase) { return std::string(testCase.param.Title); });

// The size a line of text takes in a font, measured by the platform.
SIZE TextSize(const TFont& font, const std::string& text)
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font.Handle());
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size;
}

TEST_F(StdControls, LabelSizesItselfToItsText)
{
    auto* label = new TLabel(Form.get());
    label->SetBounds(20, 30, 5, 5);
    label->SetParent(Form.get());
    struct {
        const char* Text;
        int FontHeight;
        TFontStyles Style;
    } const cases[] = {
        {"Quiverleaf", -16, FontStyleBit(fsBold)},
        {"Version 2.1", -13, 0},
        {"10 Page Notebook", -13, 0},
        {"W", -40, 0},
        {"A & B", -11, 0}, // no mnemonic: the ampersand is shown and measured
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        label->SetCaption(c.Text);
        label->Font()->SetHeight(c.FontHeight);
        label->Font()->SetStyle(c.Style);
        SIZE want = TextSize(*label->Font(), c.Text);
        EXPECT_EQ(RectText(20, 30, want.cx, want.cy), BoundsText(label));
    }
}

TEST_F(StdControls, LabelPaintsItsTextWithinItsBounds)
{
    Form->SetColor(clWhite);
    auto* label = new TLabel(Form.get());
    label->SetBounds(40, 40, 5, 5);
    label->Font()->SetHeight(-24);
    label->Font()->SetColor(clBlack);
    label->SetColor(0x0000FFFF); // yellow
    label->SetCaption("MMM");
    label->SetParent(Form.get());
    Pump(40);
    const COLORREF white = RGB(255, 255, 255), yellow = RGB(255, 255, 0);
    const RECT bounds = label->BoundsRect();
    const RECT around{bounds.left - 5, bounds.top - 5, bounds.right + 5, bounds.bottom + 5};

    // Its own background fills its bounds exactly, with the text drawn in it
    // (smoothed text has shades between black and yellow, never white).
    auto dark = [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 150; };
    auto notWhite = [white](COLORREF c) { return c != white; };
    ScreenArea opaque(Form->Handle(), around);
    const int area = label->Width() * label->Height();
    EXPECT_GT(opaque.CountIf(dark), area / 20);
    EXPECT_EQ(area, opaque.CountIf(notWhite));
    EXPECT_EQ(ColorText(white), ColorText(opaque.At(bounds.right, bounds.top + 5)));
    EXPECT_EQ(ColorText(white), ColorText(opaque.At(bounds.left + 5, bounds.bottom)));
    EXPECT_EQ(ColorText(yellow), ColorText(opaque.At(bounds.left, bounds.top)));

    // Transparent: the form's colour shows where there is no text.
    label->SetTransparent(true);
    Pump(40);
    ScreenArea clear(Form->Handle(), around);
    EXPECT_EQ(0, clear.Count(yellow));
    EXPECT_GT(clear.CountIf(dark), area / 20);
    EXPECT_LT(clear.CountIf(notWhite), area / 2);
}

struct BevelCase {
    const char* Title;
    TPanelBevel Outer, Inner;
    TBorderStyle Border;
    // Expected system colours (COLOR_*) at the corners, outermost ring first;
    // -1 for the panel's own colour.
    int TopLeft0, TopLeft1, BottomRight0, BottomRight1;
};

class PanelBevels : public StdControls, public ::testing::WithParamInterface<BevelCase> {};

TEST_P(PanelBevels, AreDrawnWithTheSystemEdgeColours)
{
    const BevelCase& c = GetParam();
    const TColor face = 0x00208040;
    auto* panel = Make<TPanel>(50, 50, 120, 80);
    panel->SetColor(face);
    panel->SetBevelOuter(c.Outer);
    panel->SetBevelInner(c.Inner);
    panel->SetBorderStyle(c.Border);
    Pump(40);
    auto expected = [&](int sys) { return ColorText(sys < 0 ? ColorToRGB(face) : GetSysColor(sys)); };
    auto at = [&](int x, int y) { return ColorText(ClientPixel(panel->Handle(), x, y)); };
    const int w = panel->Width(), h = panel->Height();
    EXPECT_EQ(expected(c.TopLeft0), at(0, 0)) << "top left, outer ring";
    EXPECT_EQ(expected(c.TopLeft0), at(w / 2, 0)) << "top edge, outer ring";
    EXPECT_EQ(expected(c.TopLeft1), at(1, 1)) << "top left, second ring";
    EXPECT_EQ(expected(c.BottomRight0), at(w - 1, h - 1)) << "bottom right, outer ring";
    EXPECT_EQ(expected(c.BottomRight0), at(w - 1, h / 2)) << "right edge, outer ring";
    EXPECT_EQ(expected(c.BottomRight1), at(w - 2, h - 2)) << "bottom right, second ring";
    EXPECT_EQ(expected(-1), at(w / 2, h / 2)) << "centre";
}

INSTANTIATE_TEST_SUITE_P(
    StdControls, PanelBevels,
    ::testing::Values(
        BevelCase{"NoBevel", bvNone, bvNone, bsNoBorder, -1, -1, -1, -1},
        BevelCase{"RaisedOuter", bvRaised, bvNone, bsNoBorder, COLOR_BTNHIGHLIGHT, -1, COLOR_BTNSHADOW, -1},
        BevelCase{"LoweredOuter", bvLowered, bvNone, bsNoBorder, COLOR_BTNSHADOW, -1, COLOR_BTNHIGHLIGHT, -1},
        BevelCase{"BothLowered", bvLowered, bvLowered, bsNoBorder, COLOR_BTNSHADOW, COLOR_BTNSHADOW,
                  COLOR_BTNHIGHLIGHT, COLOR_BTNHIGHLIGHT},
        BevelCase{"RaisedInsideLowered", bvLowered, bvRaised, bsNoBorder, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT,
                  COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW},
        BevelCase{"FlatBorder", bvNone, bvNone, bsSingleBorder, COLOR_WINDOWFRAME, -1, COLOR_WINDOWFRAME, -1},
        BevelCase{"BorderThenRaised", bvRaised, bvNone, bsSingleBorder, COLOR_WINDOWFRAME, COLOR_BTNHIGHLIGHT,
                  COLOR_WINDOWFRAME, COLOR_BTNSHADOW}),
    [](const auto& testCase) { return std::string(testCase.param.Title); });

// ------------------------------------------------------------ popup menu

// Drives the platform's popup menu while it is open: a timer fires inside
// the menu's own message loop, finds the menu window ("#32768"), notes the
// state of each entry as the platform shows it, and presses the keys.
class MenuDriver {
public:
    explicit MenuDriver(std::vector<WORD> keys) : FKeys(std::move(keys)) { Current = this; }
    ~MenuDriver() { Current = nullptr; }

    void Start() { FTimer = SetTimer(nullptr, 0, 50, &MenuDriver::Tick); }
    void Stop()
    {
        if (FTimer)
            KillTimer(nullptr, FTimer);
        FTimer = 0;
    }

    bool SawMenu = false;
    std::vector<std::string> Entries; // "caption [checked] [grayed]" or "---"

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        MenuDriver* self = Current;
        if (!self || self->SawMenu)
            return;
        HWND menuWnd = FindWindowA("#32768", nullptr);
        if (!menuWnd || !IsWindowVisible(menuWnd))
            return;
        self->SawMenu = true;
        self->Stop();
        auto menu = reinterpret_cast<HMENU>(SendMessageA(menuWnd, MN_GETHMENU, 0, 0));
        for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
            char text[64] = {};
            MENUITEMINFOA mii{};
            mii.cbSize = sizeof mii;
            mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
            mii.dwTypeData = text;
            mii.cch = sizeof text;
            GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &mii);
            if (mii.fType & MFT_SEPARATOR) {
                self->Entries.push_back("---");
                continue;
            }
            std::string e = text;
            if (mii.fState & MFS_CHECKED)
                e += " [checked]";
            if (mii.fState & MFS_GRAYED)
                e += " [grayed]";
            self->Entries.push_back(e);
        }
        // A last Escape closes the menu if the keys left it open (as Enter
        // on a disabled entry does), so a failing test can't hang.
        std::vector<WORD> keys = self->FKeys;
        keys.push_back(VK_ESCAPE);
        for (WORD key : keys) {
            INPUT in[2]{};
            in[0].type = in[1].type = INPUT_KEYBOARD;
            in[0].ki.wVk = in[1].ki.wVk = key;
            in[1].ki.dwFlags = KEYEVENTF_KEYUP;
            SendInput(2, in, sizeof(INPUT));
        }
    }

    static inline MenuDriver* Current = nullptr;
    std::vector<WORD> FKeys;
    UINT_PTR FTimer = 0;
};

class PopupMenus : public StdControls {
protected:
    void SetUp() override
    {
        StdControls::SetUp();
        Target = Make<TPanel>(20, 20, 200, 150);
        Menu = new TPopupMenu(Form.get());
        Settings = AddItem("Settings", "Settings ...");
        AddItem("N1", "-");
        About = AddItem("AboutMenu", "About ...");
        Target->SetPopupMenu(Menu);
    }

    TMenuItem* AddItem(const char* name, const char* caption)
    {
        auto* item = new TMenuItem(Form.get());
        item->SetName(name);
        item->SetCaption(caption);
        item->OnClick = MakeMethod<&PopupMenus::ItemClick>(this);
        Menu->Add(item);
        return item;
    }

    void ItemClick(TObject* sender) { Clicked.push_back(static_cast<TMenuItem*>(sender)->Name()); }

    // Opens the menu as a right click on the target does, and drives it.
    void RightClickAndPress(MenuDriver& driver)
    {
        driver.Start();
        ClickClient(Target->Handle(), RECT{0, 0, 100, 100}, true);
        Pump(50);
        driver.Stop();
    }

    TPanel* Target = nullptr;
    TPopupMenu* Menu = nullptr;
    TMenuItem *Settings = nullptr, *About = nullptr;
    std::vector<std::string> Clicked;
};

TEST_F(PopupMenus, ClickingTheCheckedEntryRunsItsClick)
{
    Settings->SetChecked(true);
    MenuDriver driver({VK_DOWN, VK_RETURN});
    RightClickAndPress(driver);
    ASSERT_TRUE(driver.SawMenu);
    EXPECT_EQ((std::vector<std::string>{"Settings ... [checked]", "---", "About ..."}), driver.Entries);
    EXPECT_EQ(std::vector<std::string>{"Settings"}, Clicked);
    EXPECT_EQ(Target, Menu->PopupComponent());
}

TEST_F(PopupMenus, TheSeparatorIsSteppedOver)
{
    MenuDriver driver({VK_DOWN, VK_DOWN, VK_RETURN});
    RightClickAndPress(driver);
    ASSERT_TRUE(driver.SawMenu);
    EXPECT_EQ((std::vector<std::string>{"Settings ...", "---", "About ..."}), driver.Entries);
    EXPECT_EQ(std::vector<std::string>{"AboutMenu"}, Clicked);
}

TEST_F(PopupMenus, EscapeChoosesNothingAndADisabledEntryCannotBeChosen)
{
    {
        MenuDriver driver({VK_ESCAPE});
        RightClickAndPress(driver);
        ASSERT_TRUE(driver.SawMenu);
        EXPECT_TRUE(Clicked.empty());
    }
    About->SetEnabled(false);
    {
        MenuDriver driver({VK_UP, VK_RETURN});
        RightClickAndPress(driver);
        ASSERT_TRUE(driver.SawMenu);
        EXPECT_EQ((std::vector<std::string>{"Settings ...", "---", "About ... [grayed]"}), driver.Entries);
        EXPECT_NE(std::vector<std::string>{"AboutMenu"}, Clicked);
    }
}

TEST_F(PopupMenus, AnEntryFreedLeavesTheMenu)
{
    delete About;
    About = nullptr;
    EXPECT_EQ(2, Menu->Count());
    MenuDriver driver({VK_ESCAPE});
    RightClickAndPress(driver);
    EXPECT_EQ((std::vector<std::string>{"Settings ...", "---"}), driver.Entries);

    // The menu freed: the control forgets it, and a right click shows nothing.
    delete Menu;
    EXPECT_EQ(nullptr, Target->PopupMenu());
    MenuDriver none({VK_ESCAPE});
    RightClickAndPress(none);
    EXPECT_FALSE(none.SawMenu);
}

} // namespace
