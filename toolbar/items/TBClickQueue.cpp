#include "toolbar/items/TBClickQueue.h"
#include "toolbar/items/TBCustomItem.h"
#include "toolbar/items/TBItemViewer.h"
#include "toolkit/Controls.h"

#include <vector>

namespace {

struct Slot {
    enum Kind { Empty, Tombstone, Item, Viewer } kind = Empty;
    void* target = nullptr;
    bool IsFree() const { return kind == Empty || kind == Tombstone; }
};

struct Queue {
    std::vector<Slot> PendingClicks;
    HWND ClickWindow = nullptr;
    long LiveObjects = 0;
};

Queue& TheQueue()
{
    static Queue q;
    return q;
}

const char* const kClassName = "QuiverleafTBClickWindow";

void RunSlot(WPARAM flag, LPARAM index)
{
    Queue& q = TheQueue();
    if (index < 0 || static_cast<size_t>(index) >= q.PendingClicks.size())
        return;
    Slot slot = q.PendingClicks[static_cast<size_t>(index)];
    q.PendingClicks[static_cast<size_t>(index)] = Slot{};
    while (!q.PendingClicks.empty() && q.PendingClicks.back().IsFree())
        q.PendingClicks.pop_back();
    if (slot.kind == Slot::Item)
        static_cast<TTBCustomItem*>(slot.target)->Click();
    else if (slot.kind == Slot::Viewer)
        static_cast<TTBItemViewer*>(slot.target)->AccessibleDefaultAction(flag != 0);
}

LRESULT CALLBACK ClickWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != TTBClickQueue::ClickMessage)
        return DefWindowProcA(wnd, msg, wParam, lParam);
    try {
        RunSlot(wParam, lParam);
    } catch (...) {
        HandleCallbackException();
    }
    return 0;
}

HWND EnsureWindow()
{
    Queue& q = TheQueue();
    if (q.ClickWindow)
        return q.ClickWindow;
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &ClickWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kClassName;
        RegisterClassA(&wc);
        registered = true;
    }
    q.ClickWindow = CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
    return q.ClickWindow;
}

void Queue1(Slot::Kind kind, void* target, bool flag)
{
    Queue& q = TheQueue();
    HWND wnd = EnsureWindow();
    size_t index = 0;
    while (index < q.PendingClicks.size() && !q.PendingClicks[index].IsFree())
        ++index;
    if (index == q.PendingClicks.size())
        q.PendingClicks.push_back(Slot{});
    q.PendingClicks[index] = Slot{kind, target};
    PostMessageA(wnd, TTBClickQueue::ClickMessage, flag ? 1 : 0, static_cast<LPARAM>(index));
}

} // namespace

void TTBClickQueue::ClickLater(TTBCustomItem* item)
{
    Queue1(Slot::Item, item, false);
}

void TTBClickQueue::ClickLater(TTBItemViewer* viewer, bool flag)
{
    Queue1(Slot::Viewer, viewer, flag);
}

void TTBClickQueue::ObjectCreated()
{
    ++TheQueue().LiveObjects;
}

void TTBClickQueue::ObjectFreed()
{
    Queue& q = TheQueue();
    if (--q.LiveObjects > 0)
        return;
    q.PendingClicks.clear();
    q.PendingClicks.shrink_to_fit();
    if (q.ClickWindow) {
        DestroyWindow(q.ClickWindow);
        q.ClickWindow = nullptr;
    }
}

void TTBClickQueue::Forget(const void* target)
{
    for (Slot& s : TheQueue().PendingClicks)
        if (!s.IsFree() && s.target == target)
            s = Slot{Slot::Tombstone, nullptr};
}

HWND TTBClickQueue::Window()
{
    return TheQueue().ClickWindow;
}

size_t TTBClickQueue::SlotCount()
{
    return TheQueue().PendingClicks.size();
}
