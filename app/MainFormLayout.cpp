// The main window's layout: every widget with its designed values, in
// creation order (which is also stacking and tab order). Read it like a
// table: name, kind, bounds, visibility, then the widget's own settings.
#include "app/MainForm.h"
#include "picture/JPEGImage.h"
#include "picture/PictureKinds.h"
#include "settings/FormStorage.h"

#include <cstdio>

namespace {

std::string Numbered(const char* prefix, int n)
{
    char name[32];
    std::snprintf(name, sizeof name, "%s%02d", prefix, n);
    return name;
}

struct Bounds {
    int Left, Top, Width, Height;
};

// Makes one widget of the layout, owned by the window and placed in its parent.
template <class T>
T* Place(TForm1* form, TWinControl* parent, const std::string& name, Bounds b, bool visible = true)
{
    auto* c = new T(form);
    c->SetName(name);
    c->SetBounds(b.Left, b.Top, b.Width, b.Height);
    c->SetVisible(visible);
    c->SetParent(parent);
    return c;
}

template <class T>
T* Make(TForm1* form, const std::string& name)
{
    auto* c = new T(form);
    c->SetName(name);
    return c;
}

void SetDesignFont(TFont* font, int height, TFontStyles style = 0)
{
    font->SetName("MS Sans Serif");
    font->SetHeight(height);
    font->SetColor(clWindowText);
    font->SetCharset(DEFAULT_CHARSET);
    font->SetStyle(style);
}

} // namespace

void TForm1::BuildLayout()
{
    // ---- The window
    SetName("Form1");
    SetText("Quiverleaf");
    SetBounds(199, 186, 600, 475);
    SetBorderStyle(bsSizeable);
    SetColor(clBtnFace);
    SetDesignFont(Font(), -11);
    // Made now that its bounds, caption, style and font are set, so that
    // the platform does not have to move or restyle it afterwards.
    HandleNeeded();

    // ---- Direct children, in creation order
    //                          name          bounds                 visible
    DockTop = Place<TTBDock>(this, this, "DockTop", {0, 2, 592, 23});
    DockBottom = Place<TTBDock>(this, this, "DockBottom", {0, 432, 592, 9});
    DockLeft = Place<TTBDock>(this, this, "DockLeft", {183, 25, 9, 407});
    DockRight = Place<TTBDock>(this, this, "DockRight", {583, 25, 9, 407});
    Memo[0] = Place<TMemo>(this, this, "Memo01", {202, 88, 87, 81});
    PagePanel = Place<TPanel>(this, this, "PagePanel", {0, 25, 183, 407}, false);
    TopPanel = Place<TPanel>(this, this, "TopPanel", {0, 0, 592, 2});
    for (int n = 2; n <= PageCount; ++n)
        Memo[n - 1] = Place<TMemo>(this, this, Numbered("Memo", n), {8 + 60 * ((n - 2) % 5), 200 + 60 * ((n - 2) / 5), 57, 57}, false);
    PanelAbout = Place<TPanel>(this, this, "PanelAbout", {224, 152, 310, 200}, false);

    DockTop->SetPosition(dpTop);
    DockBottom->SetPosition(dpBottom);
    DockLeft->SetPosition(dpLeft);
    DockRight->SetPosition(dpRight);

    for (TMemo* memo : Memo) {
        memo->SetWordWrap(true);
        memo->SetTabStop(true);
        memo->OnClick = MakeMethod<&TForm1::Memo01Click>(this);
    }

    PagePanel->SetAlign(alLeft);
    PagePanel->SetBevelInner(bvLowered);
    PagePanel->SetBevelOuter(bvLowered);
    TopPanel->SetAlign(alTop);
    TopPanel->SetBevelInner(bvNone);
    TopPanel->SetBevelOuter(bvNone);
    PanelAbout->SetBevelInner(bvNone);
    PanelAbout->SetBevelOuter(bvNone);
    PanelAbout->SetBorderStyle(bsSingleBorder);

    // ---- The page bar in the top dock
    ToolBar = Make<TTBToolbar>(this, "ToolBar");
    ToolBar->SetCaption(" Pages  ...");
    ToolBar->SetBorderStyle(bsNone);
    ToolBar->SetCloseButton(false);
    ToolBar->SetDefaultDock(DockTop);
    ToolBar->SetDockMode(dmCannotFloat);
    ToolBar->SetDragHandleStyle(dhNone);
    ToolBar->SetFullSize(true);
    // Read as part of the layout, MenuBar leaves the settings around it alone.
    ToolBar->SetMenuBar(true);
    ToolBar->SetOptions(OptionBit(tboNoRotation));
    ToolBar->SetProcessShortCuts(true);
    ToolBar->SetShrinkMode(tbsmWrap);
    ToolBar->SetSystemFont(false);
    SetDesignFont(ToolBar->Font(), -11);
    ToolBar->SetParentFont(false);
    // Its place in the layout is inside the top dock (CurrentDock itself
    // waits until the layout has been read).
    ToolBar->SetParent(DockTop);
    ToolBar->OnDockChanged = MakeMethod<&TForm1::ToolBarDockChanged>(this);

    const TNotifyEvent pageClicks[PageCount] = {
        MakeMethod<&TForm1::Page01Click>(this), MakeMethod<&TForm1::Page02Click>(this),
        MakeMethod<&TForm1::Page03Click>(this), MakeMethod<&TForm1::Page04Click>(this),
        MakeMethod<&TForm1::Page05Click>(this), MakeMethod<&TForm1::Page06Click>(this),
        MakeMethod<&TForm1::Page07Click>(this), MakeMethod<&TForm1::Page08Click>(this),
        MakeMethod<&TForm1::Page09Click>(this), MakeMethod<&TForm1::Page10Click>(this)};
    for (int n = 1; n <= PageCount; ++n) {
        if (n > 1) {
            TBSeparator[n - 2] = Make<TTBSeparatorItem>(this, "TBSeparator" + std::to_string(n - 1));
            ToolBar->Items()->Add(TBSeparator[n - 2]);
        }
        Page[n - 1] = Make<TTBItem>(this, Numbered("Page", n));
        Page[n - 1]->SetCaption(std::to_string(n));
        Page[n - 1]->SetEnabled(n != 1);
        Page[n - 1]->OnClick = pageClicks[n - 1];
        ToolBar->Items()->Add(Page[n - 1]);
    }

    // ---- The settings panel, in tab order
    NamesBox = Place<TGroupBox>(this, PagePanel, "NamesBox", {8, 9, 167, 264});
    NamesBox->SetCaption(" Page Names ");
    const TNotifyEvent nameChanges[PageCount] = {
        MakeMethod<&TForm1::Name01Change>(this), MakeMethod<&TForm1::Name02Change>(this),
        MakeMethod<&TForm1::Name03Change>(this), MakeMethod<&TForm1::Name04Change>(this),
        MakeMethod<&TForm1::Name05Change>(this), MakeMethod<&TForm1::Name06Change>(this),
        MakeMethod<&TForm1::Name07Change>(this), MakeMethod<&TForm1::Name08Change>(this),
        MakeMethod<&TForm1::Name09Change>(this), MakeMethod<&TForm1::Name10Change>(this)};
    for (int n = 1; n <= PageCount; ++n) {
        Name[n - 1] = Place<TEdit>(this, PagePanel, Numbered("Name", n), {16, 27 + 24 * (n - 1), 150, 21});
        Name[n - 1]->SetText(std::to_string(n));
        Name[n - 1]->OnChange = nameChanges[n - 1];
    }
    TBBox = Place<TGroupBox>(this, PagePanel, "TBBox", {8, 278, 167, 48});
    TBBox->SetCaption(" ToolBar Settings ");
    TBFontBtn = Place<TButton>(this, TBBox, "TBFontBtn", {8, 17, 70, 22});
    TBFontBtn->SetCaption("Font");
    TBColourBtn = Place<TButton>(this, TBBox, "TBColourBtn", {88, 17, 70, 22});
    TBColourBtn->SetCaption("Colour");
    TextBox = Place<TGroupBox>(this, PagePanel, "TextBox", {8, 330, 167, 48});
    TextBox->SetCaption(" Text Window Settings ");
    MemoFontBtn = Place<TButton>(this, TextBox, "MemoFontBtn", {8, 17, 70, 22});
    MemoFontBtn->SetCaption("Font");
    MemoColourBtn = Place<TButton>(this, TextBox, "MemoColourBtn", {88, 17, 70, 22});
    MemoColourBtn->SetCaption("Colour");
    DefaultBtn = Place<TButton>(this, PagePanel, "DefaultBtn", {16, 385, 70, 22});
    DefaultBtn->SetCaption("Reset All");
    OKBtn = Place<TButton>(this, PagePanel, "OKBtn", {96, 385, 70, 22});
    OKBtn->SetCaption("OK");
    CurrentHeight = Place<TIntegerHolder>(this, PagePanel, "CurrentHeight", {24, 400, 121, 22}, false);
    CurrentHeight->SetValue(0);

    // ---- The about panel
    Image1 = Place<TImage>(this, PanelAbout, "Image1", {10, 10, 288, 88});
    Image1->SetAutoSize(true);
    // Only the header is read here; the picture is decoded when first shown.
    UsesPictureKind<TJPEGImage>();
    Image1->SetPicture(LoadStoredPictureResource("ABOUTPICTURE"));
    AboutTitle = Place<TLabel>(this, PanelAbout, "AboutTitle", {10, 105, 0, 0});
    AboutTitle->SetTransparent(true);
    SetDesignFont(AboutTitle->Font(), -16, FontStyleBit(fsBold));
    AboutTitle->SetCaption("Quiverleaf");
    AboutVersion = Place<TLabel>(this, PanelAbout, "AboutVersion", {108, 108, 0, 0});
    AboutVersion->SetTransparent(true);
    SetDesignFont(AboutVersion->Font(), -13);
    AboutVersion->SetCaption("Version 2.1");
    AboutOverview = Place<TLabel>(this, PanelAbout, "AboutOverview", {10, 125, 0, 0});
    AboutOverview->SetTransparent(true);
    SetDesignFont(AboutOverview->Font(), -13);
    AboutOverview->SetCaption("10 Page Notebook");
    AboutCloseBtn = Place<TButton>(this, PanelAbout, "AboutCloseBtn", {224, 164, 75, 25});
    AboutCloseBtn->SetCaption("OK");

    // ---- Components without a place on screen
    PopupToolBar = Make<TPopupMenu>(this, "PopupToolBar");
    Settings = Make<TMenuItem>(this, "Settings");
    Settings->SetCaption("Settings ...");
    N1 = Make<TMenuItem>(this, "N1");
    N1->SetCaption("-");
    AboutMenu = Make<TMenuItem>(this, "AboutMenu");
    AboutMenu->SetCaption("About ...");
    PopupToolBar->Add(Settings);
    PopupToolBar->Add(N1);
    PopupToolBar->Add(AboutMenu);
    ToolBar->SetPopupMenu(PopupToolBar);
    Settings->OnClick = MakeMethod<&TForm1::SettingsClick>(this);
    AboutMenu->OnClick = MakeMethod<&TForm1::AboutMenuClick>(this);
    OKBtn->OnClick = MakeMethod<&TForm1::OKBtnClick>(this);
    DefaultBtn->OnClick = MakeMethod<&TForm1::DefaultBtnClick>(this);
    TBFontBtn->OnClick = MakeMethod<&TForm1::TBFontBtnClick>(this);
    TBColourBtn->OnClick = MakeMethod<&TForm1::TBColourBtnClick>(this);
    MemoFontBtn->OnClick = MakeMethod<&TForm1::MemoFontBtnClick>(this);
    MemoColourBtn->OnClick = MakeMethod<&TForm1::MemoColourBtnClick>(this);
    AboutCloseBtn->OnClick = MakeMethod<&TForm1::AboutCloseBtnClick>(this);

    TBFontDialog = Make<TFontDialog>(this, "TBFontDialog");
    SetDesignFont(TBFontDialog->Font(), -11);
    TBColorDialog = Make<TColorDialog>(this, "TBColorDialog");
    MemoFontDialog = Make<TFontDialog>(this, "MemoFontDialog");
    SetDesignFont(MemoFontDialog->Font(), -11);
    MemoColorDialog = Make<TColorDialog>(this, "MemoColorDialog");

    FormStorage1 = Make<TFormStorage>(this, "FormStorage1");
    FormStorage1->SetIniFileName("Quiverleaf.ini");
    FormStorage1->SetIniSection("User");
    FormStorage1->SetOptions(PlacementBit(fpPosition));
    FormStorage1->MinMaxInfo()->SetMinTrackWidth(600);
    FormStorage1->MinMaxInfo()->SetMinTrackHeight(475);
    TStrings& stored = *FormStorage1->StoredProps();
    stored.Add("ToolBar.CurrentDock");
    stored.Add("ToolBar.Color");
    stored.Add("ToolBar.Font");
    for (const char* what : {"Page%02d.Enabled", "Memo%02d.Visible", "Memo%02d.Color", "Memo%02d.Font", "Name%02d.Text"})
        for (int n = 1; n <= PageCount; ++n) {
            char line[32];
            std::snprintf(line, sizeof line, what, n);
            stored.Add(line);
        }

    OnCreate = MakeMethod<&TForm1::FormCreate>(this);
    OnClose = MakeMethod<&TForm1::FormClose>(this);
}
