#pragma once
// Queued clicks: a click chosen while a message is being handled (the end
// of a tracking loop) runs only after that message, from a message posted
// to a hidden window. The targets wait in a process-wide slot list; an item
// or viewer that is freed first leaves a tombstone in its slots, so a click
// never reaches a freed object.
#include <windows.h>
#include <cstddef>

class TTBCustomItem;
class TTBItemViewer;

class TTBClickQueue {
public:
    // The message posted to the hidden window: WParam the flag, LParam the slot.
    static constexpr UINT ClickMessage = 0x0500;

    static void ClickLater(TTBCustomItem* item);
    // A viewer's click runs its accessibility default action.
    static void ClickLater(TTBItemViewer* viewer, bool flag);

    // Every item and viewer counts itself; at zero the window and list go.
    static void ObjectCreated();
    static void ObjectFreed();
    // Replaces every slot of the target by a tombstone.
    static void Forget(const void* target);

    // For tests: the hidden window (nullptr when there is none) and the
    // length of the slot list.
    static HWND Window();
    static size_t SlotCount();
};
