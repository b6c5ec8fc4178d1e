#pragma once
// The standard controls: the platform's EDIT and BUTTON windows wrapped by
// subclassing, and the label that its parent paints.
#include "toolkit/Controls.h"

// Shared by the single-line and multi-line editors.
class TCustomEdit : public TWinControl {
public:
    QV_CLASS(TCustomEdit, TWinControl)
    explicit TCustomEdit(TComponent* owner);

    const std::string& GetText() const override;
    void SetText(const std::string& value) override;

    // True once the user has changed the text since it was last set.
    bool Modified() const;
    void SetModified(bool value);

    int SelStart() const;
    int SelLength() const;
    void SetSel(int start, int length);

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void SaveWndState() override;
    void CommandNotify(WORD code) override;
    void WndProc(TMessage& msg) override;
    virtual void Change();
    // Puts the text into the window (or, before there is one, into the
    // object); false when the window can't take it.
    bool WriteWindowText(const std::string& value);
    // True while the object, not the window, holds the text because the
    // window could not take it all.
    bool HoldsText() const { return FHeld; }
    // Whether a text that the window refuses when it is made stays with the
    // object (a single-line field keeps what its window took).
    bool FHoldRefusedText = false;

private:
    bool FModified = false;
    bool FFilling = false;
    bool FHeld = false;
    bool FMouseDown = false;
    mutable std::string FTextCache;
};

// A multi-line text editor: word wrap, vertical scroll bar, Enter inserts a
// line break, Tab moves the focus. Lines are separated by CR LF.
class TMemo : public TCustomEdit {
public:
    QV_CLASS(TMemo, TCustomEdit)
    explicit TMemo(TComponent* owner);

    // The most characters the editor's window is allowed to hold.
    static constexpr size_t Capacity = 0x7FFFFFFE;

    // Raises "Text exceeds memo capacity" when the editor can't hold it all.
    // Before the window exists the object holds the text; the window gets
    // it when it is made, which for a page is when the page is first shown.
    void SetText(const std::string& value) override;
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void InitializeWnd() override;

private:
    bool FWordWrap = true;
};

// A single-line edit field.
class TEdit : public TCustomEdit {
public:
    QV_CLASS(TEdit, TCustomEdit)
    explicit TEdit(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
};

class TButton : public TWinControl {
public:
    QV_CLASS(TButton, TWinControl)
    explicit TButton(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
    void CommandNotify(WORD code) override;
};

class TGroupBox : public TWinControl {
public:
    QV_CLASS(TGroupBox, TWinControl)
    explicit TGroupBox(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& msg) override;
};

// A caption painted by its parent, sized to its text.
class TLabel : public TGraphicControl {
public:
    QV_CLASS(TLabel, TGraphicControl)
    explicit TLabel(TComponent* owner);

    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    void PaintOn(HDC dc) override;

protected:
    void TextChanged() override;
    void FontChanged() override;

private:
    void AdjustSize();
    bool FTransparent = false;
};
