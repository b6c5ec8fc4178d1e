#include "settings/WindowProcLinks.h"

#include "settings/WindowHook.h"
#include "toolkit/Controls.h"
#include "toolkit/Exceptions.h"

#include <algorithm>

namespace {

const char* const kLinksProp = "QuiverleafProcLinks";

} // namespace

WNDPROC TWindowProcLinks::SharedProcedure()
{
    return &TWindowProcLinks::SharedProc;
}

TWindowProcLinks* TWindowProcLinks::Of(HWND wnd)
{
    return wnd ? static_cast<TWindowProcLinks*>(GetPropA(wnd, kLinksProp)) : nullptr;
}

TWindowProcLink* TWindowProcLinks::Install(HWND wnd, TControlHook* owner)
{
    TWindowProcLinks* links = Of(wnd);
    const auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(wnd, GWLP_WNDPROC));
    if (links && links->Top() && current == SharedProcedure()) {
        // Our topmost entry is on top of the chain: a second one right above
        // it would only pass messages on to it.
        TWindowProcLink* top = links->Top();
        if (top->Owner && top->Owner != owner)
            top->Owner->LinkEnded(top);
        top->Owner = owner;
        return top;
    }
    if (!links) {
        links = new TWindowProcLinks(wnd);
        if (!SetPropA(wnd, kLinksProp, links)) {
            delete links;
            throw EInvalidOperation("Cannot subclass the window: its property cannot be set");
        }
    }
    auto link = std::make_unique<TWindowProcLink>();
    link->Owner = owner;
    link->Prev = current;
    TWindowProcLink* made = link.get();
    links->FLinks.insert(links->FLinks.begin(), std::move(link));
    SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SharedProcedure()));
    return made;
}

void TWindowProcLinks::Release(HWND wnd, TWindowProcLink* link)
{
    TWindowProcLinks* links = Of(wnd);
    if (!links || !link)
        return;
    auto it = std::find_if(links->FLinks.begin(), links->FLinks.end(),
                           [link](const std::unique_ptr<TWindowProcLink>& l) { return l.get() == link; });
    if (it == links->FLinks.end())
        return;
    link->Owner = nullptr;
    if (link == links->Top() && reinterpret_cast<WNDPROC>(GetWindowLongPtrA(wnd, GWLP_WNDPROC)) == SharedProcedure()) {
        SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(link->Prev));
        links->Retire(link);
    }
    // Otherwise somebody subclassed the window after us and passes its
    // messages on to this entry: it stays, so that they still reach the
    // procedure before us, and goes when the window ends.
    links->Tidy();
}

LRESULT TWindowProcLinks::CallPrevious(TWindowProcLink& link, UINT msg, WPARAM wParam, LPARAM lParam)
{
    // Not knowing the previous procedure, the window's class procedure is
    // the closest thing to the window's own handling.
    WNDPROC previous = link.Prev ? link.Prev : reinterpret_cast<WNDPROC>(GetClassLongPtrA(FWnd, GCLP_WNDPROC));
    struct TRestore {
        TPassedOn& Target;
        TPassedOn Saved;
        ~TRestore() { Target = Saved; }
    } restore{FPassedOn, FPassedOn};
    FPassedOn = TPassedOn{Below(&link), msg};
    return CallWindowProcA(previous, FWnd, msg, wParam, lParam);
}

LRESULT CALLBACK TWindowProcLinks::SharedProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TWindowProcLinks* links = Of(wnd);
    if (!links || !links->Top())
        return DefWindowProcA(wnd, msg, wParam, lParam);
    // Passed on by an entry of ours above, the message is for the next
    // entry below that one; anything else comes in from the window and is
    // for the topmost. (A later subclasser that sends the window the same
    // message again before passing this one on would be taken for passing
    // it on: that is the one thing a shared procedure cannot tell apart.)
    const TPassedOn expected = links->FPassedOn;
    const bool passedOn = expected.Link && expected.Msg == msg;
    TWindowProcLink* link = passedOn ? expected.Link : links->Top();
    links->FPassedOn = {};
    ++links->FCalls;
    LRESULT result = 0;
    try {
        if (link->Owner)
            result = link->Owner->WindowProc(*links, *link, msg, wParam, lParam);
        else
            result = links->CallPrevious(*link, msg, wParam, lParam);
    } catch (...) {
        HandleCallbackException(std::current_exception());
    }
    --links->FCalls;
    // A message that came in from the window meanwhile leaves the message
    // it interrupted on its way down as it was.
    links->FPassedOn = passedOn ? TPassedOn{} : expected;
    if (msg == WM_NCDESTROY)
        links->WindowEnded();
    links->Tidy();
    return result;
}

TWindowProcLink* TWindowProcLinks::Below(const TWindowProcLink* link) const
{
    for (size_t i = 0; i + 1 < FLinks.size(); ++i)
        if (FLinks[i].get() == link)
            return FLinks[i + 1].get();
    return nullptr;
}

void TWindowProcLinks::Retire(TWindowProcLink* link)
{
    auto it = std::find_if(FLinks.begin(), FLinks.end(),
                           [link](const std::unique_ptr<TWindowProcLink>& l) { return l.get() == link; });
    if (it == FLinks.end())
        return;
    FRetired.push_back(std::move(*it));
    FLinks.erase(it);
}

void TWindowProcLinks::WindowEnded()
{
    if (FEnded)
        return;
    // The window's last message: every entry is in no chain any more.
    FEnded = true;
    RemovePropA(FWnd, kLinksProp);
    for (auto& link : FLinks) {
        if (link->Owner)
            link->Owner->LinkEnded(link.get());
        link->Owner = nullptr;
        FRetired.push_back(std::move(link));
    }
    FLinks.clear();
}

void TWindowProcLinks::Tidy()
{
    // Calls still in progress hold on to their entries and to this object.
    if (FCalls > 0)
        return;
    FRetired.clear();
    if (FLinks.empty()) {
        if (!FEnded)
            RemovePropA(FWnd, kLinksProp);
        delete this;
    }
}
