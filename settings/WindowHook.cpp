#include "settings/WindowHook.h"

#include "settings/WindowProcLinks.h"
#include "toolkit/Forms.h"

#include <algorithm>

namespace {

// Made on first use of the list (not at start-up), so that it is freed at
// the end of the program after whatever was set up before it.
std::unique_ptr<THookList>& HookListHolder()
{
    static std::unique_ptr<THookList> holder;
    return holder;
}

// The list if it has been made; nothing makes it here.
THookList* ExistingHookList()
{
    return HookListHolder().get();
}

const char* const kHookListClass = "QuiverleafHookList";

} // namespace

// ------------------------------------------------------------ TWindowHook

const TClassInfo& TWindowHook::StaticClass()
{
    return MakeClassInfo<TWindowHook>("TWindowHook", &TComponent::StaticClass(), [](TClassBuilder<TWindowHook>& b) {
        b.Ordinal("Active", TypeBoolean(), &TWindowHook::Active, &TWindowHook::SetActive)
            .Object<TWinControl>("WinControl", &TWindowHook::WinControl, &TWindowHook::SetWinControl);
    });
}

TWindowHook::TWindowHook(TComponent* owner) : TComponent(owner) {}

TWindowHook::~TWindowHook()
{
    Destroying();
    SetActive(false);
    SetWinControl(nullptr);
}

void TWindowHook::SetActive(bool value)
{
    if (value)
        AttachHook();
    else
        DetachHook();
}

TWinControl* TWindowHook::WinControl() const
{
    return FControlHook ? FControlHook->Control() : FControl;
}

void TWindowHook::SetWinControl(TWinControl* value)
{
    if (value == WinControl())
        return;
    const bool wasActive = FActive;
    TControlHook* left = FControlHook;
    DetachHook();
    THookList* list = ExistingHookList();
    // An inactive hook left no control hook just now, but the old control's
    // may still be in the list with nobody on it; it goes the same way.
    if (!left && list && FControl)
        left = list->FindControlHook(FControl);
    if (FControl)
        FControl->RemoveFreeNotification(this);
    FControl = value;
    if (value)
        value->FreeNotification(this);
    // Not freed here: we may be inside a message of the very window that
    // control hook is subclassing.
    if (left && list && list->IndexOf(left) >= 0 && left->HookCount() == 0)
        PostMessageA(list->Handle(), THookList::FreeHookMessage, reinterpret_cast<WPARAM>(left), 0);
    if (wasActive)
        AttachHook();
}

bool TWindowHook::IsForm() const
{
    TComponent* owner = Owner();
    return owner && WinControl() == owner;
}

void TWindowHook::SetIsForm(bool value)
{
    if (!value)
        return;
    if (auto* form = dynamic_cast<TCustomForm*>(Owner()))
        SetWinControl(form);
}

void TWindowHook::AttachHook()
{
    if (FControl && !IsDestroying())
        HookListOf().FindOrCreateControlHook(FControl)->AddHook(this);
    FActive = true;
}

void TWindowHook::DetachHook()
{
    if (FControlHook)
        FControlHook->RemoveHook(this);
    FActive = false;
}

void TWindowHook::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component && (component == FControl || component == Owner()))
        SetWinControl(nullptr);
}

// ----------------------------------------------------------- TControlHook

TControlHook::TControlHook() = default;

TControlHook::~TControlHook()
{
    FDestroying = true;
    if (THookList* list = ExistingHookList())
        list->Forget(this);
    while (!FHooks.empty())
        RemoveHook(FHooks.back());
    UnsubclassWindow();
    FControl = nullptr;
}

void TControlHook::SetControl(TWinControl* value)
{
    if (value == FControl)
        return;
    UnsubclassWindow();
    FControl = value;
    if (!FHooks.empty())
        SubclassWindow();
}

void TControlHook::AddHook(TWindowHook* hook)
{
    if (!hook)
        return;
    if (std::find(FHooks.begin(), FHooks.end(), hook) == FHooks.end()) {
        if (hook->FControlHook && hook->FControlHook != this)
            hook->FControlHook->RemoveHook(hook);
        FHooks.push_back(hook);
        hook->FControlHook = this;
        SetControl(hook->FControl);
    }
    SubclassWindow();
}

void TControlHook::RemoveHook(TWindowHook* hook)
{
    if (!hook)
        return;
    if (hook->FControlHook == this)
        hook->FControlHook = nullptr;
    auto it = std::find(FHooks.begin(), FHooks.end(), hook);
    if (it == FHooks.end())
        return;
    FHooks.erase(it);
    if (FHooks.empty())
        UnsubclassWindow();
}

void TControlHook::SubclassWindow()
{
    // Without hooks there is nothing to tell, and the control may be gone
    // already when a posted re-subclass arrives.
    if (!FControl || FControl->IsDesigning() || FControl->IsDestroying() || FDestroying || FHooks.empty())
        return;
    HWND wnd = FControl->Handle();
    if (FLink) {
        // Already in this window's chain, perhaps under somebody who came
        // later: a second entry would call us twice.
        if (FWnd == wnd && IsWindow(wnd))
            return;
        UnsubclassWindow();
    }
    FLink = TWindowProcLinks::Install(wnd, this);
    FWnd = wnd;
    FInstalled = true;
}

void TControlHook::UnsubclassWindow()
{
    TWindowProcLink* link = FLink;
    HWND wnd = FWnd;
    FLink = nullptr;
    FWnd = nullptr;
    TWindowProcLinks::Release(wnd, link);
}

void TControlHook::LinkEnded(const TWindowProcLink* link)
{
    if (FLink == link) {
        FLink = nullptr;
        FWnd = nullptr;
    }
}

bool TControlHook::Subclassed() const
{
    return FLink && FWnd && IsWindow(FWnd);
}

WNDPROC TControlHook::WindowProcedure() const
{
    return FInstalled ? TWindowProcLinks::SharedProcedure() : nullptr;
}

WNDPROC TControlHook::PreviousProcedure() const
{
    return FLink ? FLink->Prev : nullptr;
}

LRESULT TControlHook::WindowProc(TWindowProcLinks& links, TWindowProcLink& link, UINT msg, WPARAM wParam,
                                 LPARAM lParam)
{
    TMessage m{msg, wParam, lParam, 0};
    if (!FControl)
        return links.CallPrevious(link, msg, wParam, lParam);

    // While a message of the window is in progress this object must stay,
    // even when a nested message loop handles a posted free meanwhile.
    struct TBusyScope {
        TControlHook& Hook;
        explicit TBusyScope(TControlHook& hook) : Hook(hook) { ++Hook.FBusy; }
        ~TBusyScope()
        {
            if (--Hook.FBusy == 0 && Hook.FFreePending) {
                Hook.FFreePending = false;
                // The list's window handled the free that was put off, so it
                // exists; should it have to be made again and fail, the error
                // must not leave this destructor.
                try {
                    if (THookList* list = ExistingHookList())
                        PostMessageA(list->Handle(), THookList::FreeHookMessage, reinterpret_cast<WPARAM>(&Hook), 0);
                } catch (...) {
                    HandleCallbackException(std::current_exception());
                }
            }
        }
    } busy(*this);

    bool handled = false;
    if (msg != WM_QUIT)
        DispatchToHooks(false, m, handled);
    // The destroy message always reaches the window: a control whose window
    // goes must see it go, whatever a hook thinks of it.
    if (!handled || msg == WM_DESTROY) {
        bool afterHandled = false;
        try {
            m.Result = links.CallPrevious(link, m.Msg, m.WParam, m.LParam);
        } catch (...) {
            DispatchToHooks(true, m, afterHandled);
            throw;
        }
        DispatchToHooks(true, m, afterHandled);
    }
    if (msg == WM_DESTROY) {
        UnsubclassWindow();
        // The control lives on and will make a new window; subclass that
        // one once it exists, after this message.
        THookList* list = ExistingHookList();
        if (list && !FDestroying && FControl && !FControl->IsDestroying())
            PostMessageA(list->Handle(), THookList::ReSubclassMessage, reinterpret_cast<WPARAM>(this), 0);
    }
    return m.Result;
}

void TControlHook::DispatchToHooks(bool after, TMessage& msg, bool& handled)
{
    if (FHooks.empty() || !FControl || FDestroying || FControl->IsDestroying())
        return;
    // A handler may detach or free hooks, its own included: walk a copy and
    // skip those that have left meanwhile (without touching them).
    const std::vector<TWindowHook*> hooks = FHooks;
    for (auto it = hooks.rbegin(); it != hooks.rend(); ++it) {
        TWindowHook* hook = *it;
        if (std::find(FHooks.begin(), FHooks.end(), hook) == FHooks.end())
            continue;
        const THookMessageEvent handler = after ? hook->AfterMessage : hook->BeforeMessage;
        try {
            handler(hook, msg, handled);
        } catch (...) {
            HandleCallbackException(std::current_exception());
        }
        if (handled)
            break;
    }
}

// -------------------------------------------------------------- THookList

THookList::THookList() = default;

HWND THookList::Handle()
{
    // Made when work is first put off: most runs never need it, and the
    // first window of its kind costs the start-up a millisecond.
    if (FHandle)
        return FHandle;
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &THookList::StaticWndProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kHookListClass;
        RegisterClassExA(&wc);
        registered = true;
    }
    // A message-only window: it is never shown and takes no broadcasts.
    if (!CreateWindowExA(0, kHookListClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr),
                         this))
        throw EInvalidOperation("Cannot create the window of the hook list");
    return FHandle;
}

THookList::~THookList()
{
    while (!FItems.empty()) {
        std::unique_ptr<TControlHook> hook = std::move(FItems.back());
        FItems.pop_back();
        hook.reset();
    }
    if (FHandle)
        DestroyWindow(FHandle);
}

int THookList::IndexOf(const TControlHook* hook) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].get() == hook)
            return static_cast<int>(i);
    return -1;
}

TControlHook* THookList::FindControlHook(const TWinControl* control) const
{
    for (const auto& hook : FItems)
        if (hook->Control() == control)
            return hook.get();
    return nullptr;
}

TControlHook* THookList::FindOrCreateControlHook(TWinControl* control)
{
    if (TControlHook* found = FindControlHook(control))
        return found;
    auto hook = std::make_unique<TControlHook>();
    TControlHook* added = hook.get();
    FItems.push_back(std::move(hook)); // on failure `hook` still owns it and frees it
    added->SetControl(control);
    return added;
}

void THookList::FreeControlHook(TControlHook* hook)
{
    int index = IndexOf(hook);
    if (index < 0)
        return;
    std::unique_ptr<TControlHook> owned = std::move(FItems[static_cast<size_t>(index)]);
    FItems.erase(FItems.begin() + index);
    owned.reset();
}

void THookList::Forget(TControlHook* hook)
{
    int index = IndexOf(hook);
    if (index < 0)
        return;
    (void)FItems[static_cast<size_t>(index)].release();
    FItems.erase(FItems.begin() + index);
}

LRESULT CALLBACK THookList::StaticWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<THookList*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
    if (msg == WM_NCCREATE) {
        self = static_cast<THookList*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->FHandle = wnd;
    }
    if (!self)
        return DefWindowProcA(wnd, msg, wParam, lParam);
    LRESULT result = 0;
    try {
        result = self->WndProc(msg, wParam, lParam);
    } catch (...) {
        HandleCallbackException(std::current_exception());
    }
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(wnd, GWLP_USERDATA, 0);
        self->FHandle = nullptr;
    }
    return result;
}

LRESULT THookList::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // The parameter is only compared with the list: a control hook freed
    // since the message was posted is not there any more.
    auto* hook = reinterpret_cast<TControlHook*>(wParam);
    switch (msg) {
    case ReSubclassMessage:
        if (IndexOf(hook) >= 0)
            hook->SubclassWindow();
        return 0;
    case FreeHookMessage:
        if (IndexOf(hook) >= 0 && hook->HookCount() == 0) {
            if (hook->Busy())
                hook->FFreePending = true;
            else
                FreeControlHook(hook);
        }
        return 0;
    default:
        return DefWindowProcA(FHandle, msg, wParam, lParam);
    }
}

THookList& HookListOf()
{
    std::unique_ptr<THookList>& holder = HookListHolder();
    if (!holder)
        holder.reset(new THookList);
    return *holder;
}
