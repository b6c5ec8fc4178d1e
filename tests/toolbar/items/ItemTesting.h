#pragma once
// What the item tests share: the change notifications an item sends,
// written down as text by a subscriber.
#include "toolbar/items/TBCustomItem.h"

#include <functional>
#include <string>
#include <vector>

namespace item_testing {

inline const char* KindName(ItemChange k)
{
    static const char* names[] = {"ItemAdded", "ItemRemoving", "ChildrenReset", "BatchBegin", "BatchEnd",
                                  "Repaint", "RepaintAndRelayout", "RebuildViewers", "NameSet",
                                  "SubmenuImagesSwapped"};
    return names[static_cast<int>(k)];
}

// Subscribes to an item and writes down every notification as text.
struct Recorder {
    explicit Recorder(TTBCustomItem* item) : Item(item) { item->Subscribe(Handler()); }
    ~Recorder() { Item->Unsubscribe(Handler()); }
    TTBItemChangedProc Handler() { return MakeMethod<&Recorder::Changed>(this); }
    void Changed(TTBCustomItem* ancestor, bool relayed, ItemChange kind, int index, TTBCustomItem* item)
    {
        std::string line = KindName(kind);
        if (kind != ItemChange::BatchBegin && kind != ItemChange::BatchEnd)
            line += " " + std::to_string(index) + " " + (item ? item->Name() : "-");
        if (relayed)
            line += " from " + ancestor->Name();
        Log.push_back(line);
        if (Then)
            Then();
    }
    std::string Text() const
    {
        std::string s;
        for (auto& l : Log)
            s += (s.empty() ? "" : "; ") + l;
        return s;
    }
    TTBCustomItem* Item;
    std::vector<std::string> Log;
    std::function<void()> Then;
};

} // namespace item_testing
