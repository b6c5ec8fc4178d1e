// The form storage on a real window: what a save writes, what a restore
// brings back, when each runs, and the window's minimum size.
#include "settings/FormStorage.h"
#include "settings/WindowPlacement.h"
#include "tests/support/TestSupport.h"
#include "toolkit/StdCtrls.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// A window with a storage component set up as the notebook sets up its own.
class TStoredForm : public TForm {
public:
    explicit TStoredForm(const std::string& iniPath) : TForm(Application)
    {
        BeginLoading();
        SetName("StoredForm");
        SetText("Stored");
        SetBounds(199, 186, 600, 475);
        HandleNeeded();
        Field = new TEdit(this);
        Field->SetName("Field");
        Field->SetBounds(10, 10, 100, 21);
        Field->SetParent(this);
        Field->SetText("designed");
        Storage = new TFormStorage(this);
        Storage->SetName("Storage");
        Storage->SetIniFileName(iniPath);
        Storage->SetIniSection("User");
        Storage->SetOptions(PlacementBit(fpPosition));
        Storage->MinMaxInfo()->SetMinTrackWidth(600);
        Storage->MinMaxInfo()->SetMinTrackHeight(475);
        Storage->StoredProps()->Add("Field.Text");
        Storage->StoredProps()->Add("Field.Color");
        EndLoading();
    }

    TEdit* Field = nullptr;
    TFormStorage* Storage = nullptr;
};

class FormStorage : public ::testing::Test {
protected:
    void TearDown() override { delete Form; }

    TStoredForm* Make()
    {
        delete Form;
        Form = new TStoredForm(Ini);
        return Form;
    }
    TStoredForm* MakeAndShow()
    {
        Make()->ShowForm();
        Pump(30);
        return Form;
    }
    std::string Read(const std::string& key) const { return ReadUserKey(Ini, key); }
    void Write(const std::string& key, const std::string& value) const { WriteUserKey(Ini, key, value); }
    RECT WindowRect() const
    {
        RECT r;
        GetWindowRect(Form->Handle(), &r);
        return r;
    }
    void Close() { SendMessageA(Form->Handle(), WM_CLOSE, 0, 0); }

    TempDir Dir;
    std::string Ini = Dir.File("Quiverleaf.ini");
    ErrorCatcher Errors;
    TStoredForm* Form = nullptr;
};

TEST_F(FormStorage, FirstCloseWritesPlacementThenProperties)
{
    MakeAndShow();
    Close();
    const std::string suffix = ScreenSizeSuffix();
    struct Expected {
        std::string key, value;
    } expected[] = {
        {"FormVersion", "0"},
        {"ShowCmd", "1"},
        {"PixelsPerInch", std::to_string(ScreenPixelsPerInch())},
        {"NormPos" + suffix, "199,186,799,661"},
        {"NormPos", "199,186,799,661"},
        {"Visible", "0"},
        {"Field_Text", "designed"},
        {"Field_Color", "-2147483643"},
    };
    for (const Expected& e : expected)
        EXPECT_EQ(e.value, Read(e.key)) << e.key;
    // The keys in the order they were written.
    std::string file = ReadFileBytes(Ini);
    size_t last = 0;
    for (const char* key : {"FormVersion=", "Flags=", "ShowCmd=", "PixelsPerInch=", "MinMaxPos(", "MinMaxPos=",
                            "NormPos(", "NormPos=", "Visible=", "Field_Text=", "Field_Color="}) {
        size_t at = file.find(key);
        ASSERT_NE(std::string::npos, at) << key;
        EXPECT_LT(last, at + 1) << key;
        last = at;
    }
    EXPECT_TRUE(Errors.Messages().empty());
}

TEST_F(FormStorage, AWindowNeverShownWritesNothing)
{
    Make();
    Form->Storage->SavePass();
    delete Form;
    Form = nullptr;
    EXPECT_FALSE(FileExists(Ini));
}

TEST_F(FormStorage, SavedPositionAndPropertiesComeBack)
{
    Write("NormPos" + ScreenSizeSuffix(), "120,80,820,640");
    Write("NormPos", "1,1,700,600");
    Write("Field_Text", "  restored  ");
    MakeAndShow();
    RECT r = WindowRect();
    EXPECT_EQ(120, r.left);
    EXPECT_EQ(80, r.top);
    EXPECT_EQ(700, r.right - r.left);
    EXPECT_EQ(560, r.bottom - r.top);
    EXPECT_EQ("restored", Form->Field->GetText());
}

TEST_F(FormStorage, PlainKeysServeAScreenSizeNotSeenBefore)
{
    Write("NormPos(1x1)", "5,5,900,900");
    Write("NormPos", "60,70,700,600");
    MakeAndShow();
    RECT r = WindowRect();
    EXPECT_EQ(60, r.left);
    EXPECT_EQ(70, r.top);
    Close();
    // The next save writes this screen's keys as well as the plain ones.
    EXPECT_EQ("60,70,700,600", Read("NormPos" + ScreenSizeSuffix()));
    EXPECT_EQ("5,5,900,900", Read("NormPos(1x1)"));
}

TEST_F(FormStorage, NormPosWithTwoNumbersKeepsTheSize)
{
    Write("NormPos", "50,40");
    MakeAndShow();
    RECT r = WindowRect();
    EXPECT_EQ(50, r.left);
    EXPECT_EQ(40, r.top);
    // Right and bottom default to the window's own edges when read.
    EXPECT_EQ(199 + 600 - 50, r.right - r.left);
    EXPECT_EQ(186 + 475 - 40, r.bottom - r.top);
}

TEST_F(FormStorage, OtherPixelsPerInchRestoresEverythingButThePlacement)
{
    Write("PixelsPerInch", "120");
    Write("NormPos", "10,10,700,600");
    Write("Field_Text", "kept");
    MakeAndShow();
    RECT r = WindowRect();
    EXPECT_EQ(199, r.left);
    EXPECT_EQ(186, r.top);
    EXPECT_EQ("kept", Form->Field->GetText());
}

TEST_F(FormStorage, NewerFormVersionRestoresNothing)
{
    Write("FormVersion", "-1");
    Write("NormPos", "10,10,700,600");
    Write("Field_Text", "ignored");
    MakeAndShow();
    EXPECT_EQ(199, WindowRect().left);
    EXPECT_EQ("designed", Form->Field->GetText());
    Close();
    EXPECT_EQ("0", Read("FormVersion"));
}

TEST_F(FormStorage, BackwardNormalRectangleIsNotApplied)
{
    Write("NormPos", "500,100,400,600");
    MakeAndShow();
    EXPECT_EQ(199, WindowRect().left);
}

TEST_F(FormStorage, MaximisedAtCloseOpensNormalAtItsNormalRectangle)
{
    MakeAndShow();
    SetWindowPos(Form->Handle(), nullptr, 150, 90, 640, 500, SWP_NOZORDER);
    ShowWindow(Form->Handle(), SW_MAXIMIZE);
    Pump(30);
    ASSERT_TRUE(IsZoomed(Form->Handle()));
    Close();
    EXPECT_EQ("150,90,790,590", Read("NormPos"));
    EXPECT_EQ("3", Read("ShowCmd"));

    MakeAndShow();
    EXPECT_FALSE(IsZoomed(Form->Handle()));
    RECT r = WindowRect();
    EXPECT_EQ(150, r.left);
    EXPECT_EQ(640, r.right - r.left);
}

TEST_F(FormStorage, WindowCannotBeMadeSmallerThanItsMinimum)
{
    MakeAndShow();
    MINMAXINFO info{};
    info.ptMinTrackSize = POINT{100, 100};
    SendMessageA(Form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(600, info.ptMinTrackSize.x);
    EXPECT_EQ(475, info.ptMinTrackSize.y);

    SetWindowPos(Form->Handle(), nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    RECT r = WindowRect();
    EXPECT_EQ(600, r.right - r.left);
    EXPECT_EQ(475, r.bottom - r.top);
    // No upper limit.
    SetWindowPos(Form->Handle(), nullptr, 0, 0, 900, 700, SWP_NOMOVE | SWP_NOZORDER);
    r = WindowRect();
    EXPECT_EQ(900, r.right - r.left);
}

TEST_F(FormStorage, EveryShowRestores)
{
    MakeAndShow();
    Form->Field->SetText("typed");
    Form->Hide();
    Write("Field_Text", "from file");
    Form->ShowForm();
    EXPECT_EQ("from file", Form->Field->GetText());
}

TEST_F(FormStorage, UnwritableFileIsReportedAtCloseAndAtDestroy)
{
    ASSERT_TRUE(CreateDirectoryA(Ini.c_str(), nullptr));
    MakeAndShow();
    bool closed = false;
    struct CloseProbe {
        bool* flag;
        void Closed(TObject*, TCloseAction&) { *flag = true; }
    } probe{&closed};
    Form->OnClose = MakeMethod<&CloseProbe::Closed>(&probe);
    Close();
    EXPECT_TRUE(closed); // closing goes on
    const std::string message = "Unable to write to " + Ini + ".";
    EXPECT_EQ(std::vector<std::string>{message}, Errors.Messages());
    delete Form;
    Form = nullptr;
    EXPECT_EQ((std::vector<std::string>{message, message}), Errors.Messages());
    RemoveDirectoryA(Ini.c_str());
}

TEST_F(FormStorage, DestroyWithoutCloseSavesWithVisibleSet)
{
    MakeAndShow();
    delete Form;
    Form = nullptr;
    EXPECT_EQ("1", Read("Visible"));
}

TEST_F(FormStorage, EventHooksAreTakenOverAndGivenBack)
{
    Make();
    struct Probe {
        int shows = 0;
        void Shown(TObject*) { ++shows; }
    } probe;
    // A handler set before the storage was loaded still runs after the restore.
    delete Form;
    Form = nullptr;
    auto* form = new TStoredForm(Ini);
    Form = form;
    TNotifyEvent storageShow = form->OnShow;
    EXPECT_TRUE(static_cast<bool>(storageShow));
    form->Storage->SetActive(true);
    delete form->Storage;
    form->Storage = nullptr;
    EXPECT_FALSE(static_cast<bool>(form->OnShow));
    form->OnShow = MakeMethod<&Probe::Shown>(&probe);
    form->ShowForm();
    EXPECT_EQ(1, probe.shows);
}

TEST(DefaultNames, IniFileAndSection)
{
    EXPECT_EQ("TEST_SETTINGS.INI", [] {
        std::string n = TFormPlacement::DefaultIniFileName();
        for (char& c : n)
            c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
        return n;
    }());
    TForm form(nullptr);
    form.SetName("Main");
    EXPECT_EQ("TForm", TFormPlacement::DefaultSectionOf(&form));
    TEdit* edit = new TEdit(&form);
    edit->SetName("Box");
    edit->SetParent(&form);
    EXPECT_EQ("TFormBox", TFormPlacement::DefaultSectionOf(edit));
    TComponent* plain = new TComponent(&form);
    plain->SetName("Plain");
    EXPECT_EQ("TForm.Plain", TFormPlacement::DefaultSectionOf(plain));
    EXPECT_EQ("", TFormPlacement::DefaultSectionOf(nullptr));
}

TEST(PositionWords, CommasAndBlanksSeparateWords)
{
    struct Case {
        const char* text;
        int expected[4];
    } cases[] = {
        {"1,2,3,4", {1, 2, 3, 4}},
        {"1, 2  3,,4", {1, 2, 3, 4}},
        {"7,8", {7, 8, -3, -4}},
        {"x,2,y,4", {-1, 2, -3, 4}},
        {"", {-1, -2, -3, -4}},
        {"99999999999,5", {-1, 5, -3, -4}},
    };
    const int defaults[4] = {-1, -2, -3, -4};
    for (const Case& c : cases) {
        int v[4];
        ParsePositionWords(c.text, v, defaults, 4);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(c.expected[i], v[i]) << c.text << " word " << i;
    }
}

} // namespace
