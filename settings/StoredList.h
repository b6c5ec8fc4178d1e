#pragma once
// The list of stored properties: lines of the form "Component.Property",
// each bound to the component it names through the line's object slot once
// the window that owns the components has been built.
#include <optional>
#include <string>

class TComponent;
class TStrings;

// One line of the list, split at its first "." with both parts trimmed of
// blanks. A line with an empty part, or without ".", is not an item.
struct StoredItem {
    std::string Component;
    std::string Property;

    static std::optional<StoredItem> Parse(const std::string& line);
    // The line for this item: component name, ".", property name.
    std::string Line() const { return Component + "." + Property; }
};

// The component bound to a line, or nullptr.
TComponent* StoredComponent(const TStrings& list, int index);

// Binds every line to the component of that name among those the window
// owns (ignoring letter case), from the last line to the first; a line that
// is not an item, or names no owned component, is deleted.
void ResolveStoredList(TComponent* window, TStrings& list);

// Rewrites every line with its component's current name, from the last line
// to the first, so that a renamed component keeps its keys in step; a line
// that is not an item or has no bound component is deleted.
void RenameStoredList(TStrings& list);

// Deletes every line bound to the component, which is going away; the
// storage component calls it from its removal notification. Answers how
// many lines went.
int RemoveStoredComponent(TStrings& list, const TComponent* component);
