#pragma once
// Actions: one command (its caption, state and handlers) that several
// clients (buttons, items) show and run alike. A client holds an action
// link; the action tells every link when one of its properties changes and
// when it is freed, so the clients follow it.
#include "toolkit/Component.h"
#include "toolkit/Events.h"

#include <cstdint>
#include <string>
#include <vector>

class TBasicAction;

// (var hint text, var can show): lets the program change a client's hint, or
// refuse it.
using TActionHintEvent = TMethod<std::string&, bool&>;

// What changed on an action, as its links are told.
enum class TActionProperty { Caption, Checked, Enabled, HelpContext, Hint, ImageIndex, ShortCut, Visible, OnExecute };

// A client's tie to an action. Not a component: the client owns it.
class TBasicActionLink {
public:
    TBasicActionLink() = default;
    TBasicActionLink(const TBasicActionLink&) = delete;
    TBasicActionLink& operator=(const TBasicActionLink&) = delete;
    virtual ~TBasicActionLink();

    // nullptr once the action has been freed.
    TBasicAction* Action() const { return FAction; }
    // Joins the action's clients (leaving the old one's) and tells the link
    // every property of the new action.
    void SetAction(TBasicAction* value);
    // Runs the action for the client; true when something ran.
    virtual bool Execute();
    // Asks the action to update itself; true when its update handler ran.
    virtual bool Update();

protected:
    // One property of the action changed (also each of them on linking).
    virtual void Changed(TActionProperty property) { (void)property; }

private:
    friend class TBasicAction;
    TBasicAction* FAction = nullptr;
};

class TBasicAction : public TComponent {
public:
    QV_CLASS(TBasicAction, TComponent)
    explicit TBasicAction(TComponent* owner);
    ~TBasicAction() override;

    // Runs OnExecute; true when it is assigned.
    virtual bool Execute();
    // Runs OnUpdate, where the program brings the action's state up to
    // date; true when it is assigned (handled).
    virtual bool Update();

    TNotifyEvent OnExecute() const { return FOnExecute; }
    void SetOnExecute(const TNotifyEvent& value);
    TNotifyEvent OnUpdate;

    int ClientCount() const { return static_cast<int>(FClients.size()); }

protected:
    // Tells every link that a property changed.
    void Change(TActionProperty property);

private:
    friend class TBasicActionLink;
    TNotifyEvent FOnExecute;
    std::vector<TBasicActionLink*> FClients; // observed, not owned
};

// An action with what a button or an item shows.
class TAction : public TBasicAction {
public:
    QV_CLASS(TAction, TBasicAction)
    using TBasicAction::TBasicAction;

    // Updates first; a disabled action does not run.
    bool Execute() override;
    // Runs OnHint with the hint a client is about to show; false refuses it.
    virtual bool DoHint(std::string& hint);
    TActionHintEvent OnHint;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int value);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    // Key code plus shift bits, as items keep it; 0 = none.
    uint16_t ShortCut() const { return FShortCut; }
    void SetShortCut(uint16_t value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);

private:
    template <class T>
    void Set(T& field, const T& value, TActionProperty property);

    std::string FCaption;
    bool FChecked = false;
    bool FEnabled = true;
    int FHelpContext = 0;
    std::string FHint;
    int FImageIndex = -1;
    uint16_t FShortCut = 0;
    bool FVisible = true;
};
