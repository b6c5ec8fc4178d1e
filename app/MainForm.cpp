#include "app/MainForm.h"
#include "app/PageFiles.h"

#include <algorithm>

const TClassInfo& TForm1::StaticClass()
{
    return MakeClassInfo<TForm1>("TForm1", &TForm::StaticClass(), [](auto&) {});
}

TForm1::TForm1(TComponent* owner) : TForm(owner)
{
    // The layout is built as one piece: setters that would lay out, fire
    // events or restore settings wait until every widget exists, then each
    // component gets its loaded step, and only then the creation handler.
    BeginLoading();
    BuildLayout();
    EndLoading();
    DoCreate();
}

TForm1::~TForm1() = default;

// ---------------------------------------------------------------- start-up

void TForm1::FormCreate(TObject*)
{
    ToolBarDockChanged(this);
    for (TMemo* memo : Memo)
        memo->SetAlign(alClient);
    for (int n = 1; n <= PageCount; ++n)
        RenamePage(n);
    // One unreadable page file does not keep the others from loading: each
    // failure is reported on its own and the next page follows.
    for (int n = 1; n <= PageCount; ++n) {
        try {
            LoadPage(n);
        } catch (...) {
            FPages[n - 1].LoadFailed = true;
            HandleCallbackException(std::current_exception());
        }
    }
}

void TForm1::LoadPage(int n)
{
    const std::string name = PageFileName(n);
    if (!PageFileExists(name))
        return;
    std::string text = NormalizeLineBreaks(ReadPageFile(name));
    PageState& state = FPages[n - 1];
    state = PageState{};
    // The editor can't hold a zero byte: it shows a blank in its place, and
    // the bytes as read are kept to be written back if the page isn't changed.
    if (text.find('\0') != std::string::npos) {
        state.HasRawBytes = true;
        state.RawBytes = text;
        std::replace(text.begin(), text.end(), '\0', ' ');
    }
    TMemo* memo = Memo[n - 1];
    if (text != memo->GetText())
        memo->SetText(text);
    memo->SetModified(false);
}

// ---------------------------------------------------------------- closing

void TForm1::FormClose(TObject*, TCloseAction&)
{
    for (int n = 1; n <= PageCount; ++n)
        SavePage(n);
}

void TForm1::SavePage(int n)
{
    TMemo* memo = Memo[n - 1];
    const PageState& state = FPages[n - 1];
    bool edited = memo->Modified();
    // A file that could not be read at start-up still holds the user's text:
    // leave it alone unless the page was typed into since.
    if (state.LoadFailed && !edited)
        return;
    if (state.HasRawBytes && !edited)
        WritePageFile(PageFileName(n), state.RawBytes);
    else
        WritePageFile(PageFileName(n), memo->GetText());
}

void TForm1::EndSession(bool ending)
{
    // Windows is logging off or shutting down and will end the process
    // without a close: write the pages now, once. A cancelled end, or the
    // same message again, writes nothing.
    if (!ending || FSessionSaved)
        return;
    FSessionSaved = true;
    // Every page, also one never shown, whose text its editor object holds.
    for (int n = 1; n <= PageCount; ++n) {
        try {
            SavePage(n);
        } catch (...) {
            // No one is there to read an error box now; the other pages
            // still get their chance.
        }
    }
}

// ---------------------------------------------------------------- pages

void TForm1::SelectPage(int n)
{
    Page[n - 1]->SetEnabled(false);
    for (int i = 1; i <= PageCount; ++i)
        if (i != n)
            Page[i - 1]->SetEnabled(true);
    Memo[n - 1]->SetVisible(true);
    for (int i = 1; i <= PageCount; ++i)
        if (i != n)
            Memo[i - 1]->SetVisible(false);
    SetActiveControl(Memo[n - 1]);
}

void TForm1::RenamePage(int n)
{
    Page[n - 1]->SetCaption(Name[n - 1]->GetText());
}

void TForm1::Page01Click(TObject*) { SelectPage(1); }
void TForm1::Page02Click(TObject*) { SelectPage(2); }
void TForm1::Page03Click(TObject*) { SelectPage(3); }
void TForm1::Page04Click(TObject*) { SelectPage(4); }
void TForm1::Page05Click(TObject*) { SelectPage(5); }
void TForm1::Page06Click(TObject*) { SelectPage(6); }
void TForm1::Page07Click(TObject*) { SelectPage(7); }
void TForm1::Page08Click(TObject*) { SelectPage(8); }
void TForm1::Page09Click(TObject*) { SelectPage(9); }
void TForm1::Page10Click(TObject*) { SelectPage(10); }

void TForm1::Name01Change(TObject*) { RenamePage(1); }
void TForm1::Name02Change(TObject*) { RenamePage(2); }
void TForm1::Name03Change(TObject*) { RenamePage(3); }
void TForm1::Name04Change(TObject*) { RenamePage(4); }
void TForm1::Name05Change(TObject*) { RenamePage(5); }
void TForm1::Name06Change(TObject*) { RenamePage(6); }
void TForm1::Name07Change(TObject*) { RenamePage(7); }
void TForm1::Name08Change(TObject*) { RenamePage(8); }
void TForm1::Name09Change(TObject*) { RenamePage(9); }
void TForm1::Name10Change(TObject*) { RenamePage(10); }

// ---------------------------------------------------------------- panels

namespace {
// The client height the settings panel guarantees beside a page bar in a
// side dock; in the top or bottom dock the bar's own height comes on top.
const int SettingsPanelHeight = 418;
const int ResetWidth = 600;
const int ResetClientHeight = 441;
} // namespace

int TForm1::PanelHeightForDock() const
{
    TTBDock* dock = ToolBar->CurrentDock();
    if (dock == DockTop || dock == DockBottom)
        return ToolBar->Height() + SettingsPanelHeight;
    return SettingsPanelHeight;
}

void TForm1::CloseSettingsPanel()
{
    SetClientHeight(CurrentHeight->Value());
    PagePanel->Hide();
    Settings->SetChecked(false);
}

void TForm1::SettingsClick(TObject*)
{
    if (PagePanel->Visible()) {
        CloseSettingsPanel();
        return;
    }
    CurrentHeight->SetValue(ClientHeight());
    PagePanel->Show();
    Settings->SetChecked(true);
    // Each test reads the dock and the height afresh: a change made by one
    // is seen by the next.
    for (TTBDock* dock : {DockTop, DockBottom, DockLeft, DockRight})
        if (ToolBar->CurrentDock() == dock && ClientHeight() < PanelHeightForDock())
            SetClientHeight(PanelHeightForDock());
}

void TForm1::OKBtnClick(TObject*)
{
    CloseSettingsPanel();
}

void TForm1::Memo01Click(TObject*)
{
    // A click into the page closes the settings panel.
    if (PagePanel->Visible())
        CloseSettingsPanel();
}

void TForm1::TBFontBtnClick(TObject*)
{
    TBFontDialog->SetFont(ToolBar->Font());
    if (TBFontDialog->Execute())
        ToolBar->SetFont(TBFontDialog->Font());
    // The panel is fitted to the bar's height as it is now, taller window or not.
    if (ToolBar->CurrentDock())
        SetClientHeight(PanelHeightForDock());
}

void TForm1::TBColourBtnClick(TObject*)
{
    TBColorDialog->SetColor(ToolBar->Color());
    if (TBColorDialog->Execute())
        ToolBar->SetColor(TBColorDialog->Color());
}

void TForm1::MemoFontBtnClick(TObject*)
{
    MemoFontDialog->SetFont(Memo[0]->Font());
    if (MemoFontDialog->Execute())
        Memo[0]->SetFont(MemoFontDialog->Font());
    for (int n = 2; n <= PageCount; ++n)
        Memo[n - 1]->SetFont(MemoFontDialog->Font());
}

void TForm1::MemoColourBtnClick(TObject*)
{
    MemoColorDialog->SetColor(Memo[0]->Color());
    if (MemoColorDialog->Execute())
        Memo[0]->SetColor(MemoColorDialog->Color());
    for (int n = 2; n <= PageCount; ++n)
        Memo[n - 1]->SetColor(MemoColorDialog->Color());
}

void TForm1::DefaultBtnClick(TObject*)
{
    ToolBar->SetColor(clBtnFace);
    ToolBar->SetFont(PagePanel->Font());
    ToolBar->SetCurrentDock(DockTop);
    SetWindowState(wsNormal);
    SetWidth(ResetWidth);
    SetClientHeight(ResetClientHeight);
    CurrentHeight->SetValue(ClientHeight());
    for (TMemo* memo : Memo) {
        memo->SetColor(clWindow);
        memo->SetFont(PagePanel->Font());
    }
}

void TForm1::ToolBarDockChanged(TObject*)
{
    // The 2-pixel strip at the top is there only when the page bar is not.
    TopPanel->SetVisible(ToolBar->CurrentDock() != DockTop);
}

void TForm1::EnableBehindAbout(bool enabled)
{
    ToolBar->SetEnabled(enabled);
    for (TMemo* memo : Memo)
        memo->SetEnabled(enabled);
    PagePanel->SetEnabled(enabled);
}

void TForm1::AboutMenuClick(TObject*)
{
    EnableBehindAbout(false);
    // Centred in the client area as it is now; it stays there until closed.
    PanelAbout->SetTop((ClientHeight() - PanelAbout->Height()) / 2);
    PanelAbout->SetLeft((ClientWidth() - PanelAbout->Width()) / 2);
    PanelAbout->Show();
}

void TForm1::AboutCloseBtnClick(TObject*)
{
    EnableBehindAbout(true);
    PanelAbout->Hide();
    // The focus was on the hidden "OK" button: typing would go nowhere.
    for (TMemo* memo : Memo)
        if (memo->Visible())
            SetActiveControl(memo);
}
