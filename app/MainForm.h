#pragma once
// The main window: ten pages of text, the page bar that selects them, the
// settings and about panels, and the settings store.
#include "toolkit/Dialogs.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Forms.h"
#include "toolkit/Menus.h"
#include "toolkit/StdCtrls.h"
#include "toolbar/dock/TBDock.h"
#include "toolbar/items/TBToolbar.h"

#include <array>
#include <string>

class TFormStorage;

constexpr int PageCount = 10;

class TForm1 : public TForm {
public:
    QV_CLASS(TForm1, TForm)
    explicit TForm1(TComponent* owner);
    ~TForm1() override;

    // Widgets of the layout, owned by the window (the component model frees them).
    TTBDock* DockTop = nullptr;
    TTBDock* DockBottom = nullptr;
    TTBDock* DockLeft = nullptr;
    TTBDock* DockRight = nullptr;
    TTBToolbar* ToolBar = nullptr;
    std::array<TTBItem*, PageCount> Page{};
    std::array<TTBSeparatorItem*, PageCount - 1> TBSeparator{};
    std::array<TMemo*, PageCount> Memo{};
    TPanel* PagePanel = nullptr;
    TPanel* TopPanel = nullptr;
    TGroupBox* NamesBox = nullptr;
    std::array<TEdit*, PageCount> Name{};
    TGroupBox* TBBox = nullptr;
    TButton* TBFontBtn = nullptr;
    TButton* TBColourBtn = nullptr;
    TGroupBox* TextBox = nullptr;
    TButton* MemoFontBtn = nullptr;
    TButton* MemoColourBtn = nullptr;
    TButton* DefaultBtn = nullptr;
    TButton* OKBtn = nullptr;
    TIntegerHolder* CurrentHeight = nullptr;
    TPanel* PanelAbout = nullptr;
    TImage* Image1 = nullptr;
    TLabel* AboutTitle = nullptr;
    TLabel* AboutVersion = nullptr;
    TLabel* AboutOverview = nullptr;
    TButton* AboutCloseBtn = nullptr;
    TPopupMenu* PopupToolBar = nullptr;
    TMenuItem* Settings = nullptr;
    TMenuItem* N1 = nullptr;
    TMenuItem* AboutMenu = nullptr;
    TFormStorage* FormStorage1 = nullptr;
    TFontDialog* TBFontDialog = nullptr;
    TColorDialog* TBColorDialog = nullptr;
    TFontDialog* MemoFontDialog = nullptr;
    TColorDialog* MemoColorDialog = nullptr;

    // Event handlers, named after the widget and the event.
    void FormCreate(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void Page01Click(TObject* sender);
    void Page02Click(TObject* sender);
    void Page03Click(TObject* sender);
    void Page04Click(TObject* sender);
    void Page05Click(TObject* sender);
    void Page06Click(TObject* sender);
    void Page07Click(TObject* sender);
    void Page08Click(TObject* sender);
    void Page09Click(TObject* sender);
    void Page10Click(TObject* sender);
    void Name01Change(TObject* sender);
    void Name02Change(TObject* sender);
    void Name03Change(TObject* sender);
    void Name04Change(TObject* sender);
    void Name05Change(TObject* sender);
    void Name06Change(TObject* sender);
    void Name07Change(TObject* sender);
    void Name08Change(TObject* sender);
    void Name09Change(TObject* sender);
    void Name10Change(TObject* sender);
    void Memo01Click(TObject* sender);
    void ToolBarDockChanged(TObject* sender);
    void SettingsClick(TObject* sender);
    void OKBtnClick(TObject* sender);
    void DefaultBtnClick(TObject* sender);
    void TBFontBtnClick(TObject* sender);
    void TBColourBtnClick(TObject* sender);
    void MemoFontBtnClick(TObject* sender);
    void MemoColourBtnClick(TObject* sender);
    void AboutMenuClick(TObject* sender);
    void AboutCloseBtnClick(TObject* sender);

    // Page n (1 … 10) becomes the current page.
    void SelectPage(int n);
    // Loads one page file into its editor, if the file exists.
    void LoadPage(int n);
    // Writes one page's text to its file.
    void SavePage(int n);

protected:
    void EndSession(bool ending) override;

private:
    void BuildLayout();
    void RenamePage(int n);
    void CloseSettingsPanel();
    // The client height the settings panel needs beside the page bar.
    int PanelHeightForDock() const;
    // The widgets the about panel keeps from being used, in the order they
    // are disabled and enabled again.
    void EnableBehindAbout(bool enabled);

    // What became of each page's file at start-up: a page whose file could
    // not be read is not written back unless the user typed into it, and a
    // file holding zero bytes (which the editor can't hold) is written back
    // byte for byte unless the user changed the page.
    struct PageState {
        bool LoadFailed = false;
        bool HasRawBytes = false;
        std::string RawBytes;
    };
    std::array<PageState, PageCount> FPages{};
    bool FSessionSaved = false;
};
