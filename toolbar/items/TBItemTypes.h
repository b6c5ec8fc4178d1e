#pragma once
// The small types the item tree, its views and the toolbar share: item
// options, style flags, display modes, change kinds and the handler types.
#include "toolkit/Events.h"
#include "toolkit/Exceptions.h"
#include "toolkit/TypeInfo.h"

#include <cstdint>

class TTBCustomItem;
class TTBItemViewer;

// Raised by the child-list operations; the tree is unchanged when it is.
class ETBItemError : public Exception {
public:
    using Exception::Exception;
};

enum TTBItemOption {
    tboDefault,
    tboDropdownArrow,
    tboImageAboveCaption,
    tboLongHintInMenuOnly,
    tboNoRotation,
    tboSameWidth,
    tboShowHint,
    tboToolbarStyle,
    tboToolbarSize
};
using TTBItemOptions = uint16_t;
constexpr TTBItemOptions OptionBit(TTBItemOption option) { return static_cast<TTBItemOptions>(1u << option); }
const TTypeInfo& TypeItemOptions();

enum TTBItemDisplayMode { nbdmDefault, nbdmTextOnly, nbdmTextOnlyInMenus, nbdmImageAndText };
const TTypeInfo& TypeItemDisplayMode();

// Style flags fixed by each item class; the values are the bit numbers.
enum class TTBItemStyleFlag {
    HasSubmenu = 0,
    Selectable = 1,
    IsSeparator = 2,
    EmbeddedGroup = 3,
    ClickThrough = 4,
    SplitDropdown = 5,
    NoLineBreak = 8,
    AlignRight = 9,
    RepaintOnSelect = 11,
    RepaintOnHover = 12
};
using TTBItemStyle = uint16_t;
constexpr TTBItemStyle StyleBit(TTBItemStyleFlag flag) { return static_cast<TTBItemStyle>(1u << static_cast<int>(flag)); }

// The kinds of change notification, numbered as sent.
enum class ItemChange {
    ItemAdded,
    ItemRemoving,
    ChildrenReset,
    BatchBegin,
    BatchEnd,
    Repaint,
    RepaintAndRelayout,
    RebuildViewers,
    NameSet,
    SubmenuImagesSwapped
};

// A key code in the low byte with the shift bits above it; 0 is none.
using TShortCut = uint16_t;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

// (Ancestor, Relayed, kind, Index, Item): Ancestor is the item whose
// children the change concerns; Relayed is true when it is not the item the
// handler subscribed to.
using TTBItemChangedProc = TMethod<TTBCustomItem*, bool, ItemChange, int, TTBCustomItem*>;
// (Sender, Viewer, Selecting)
using TTBSelectEvent = TMethod<TObject*, TTBItemViewer*, bool>;
// (Sender, FromLink)
using TTBPopupEvent = TMethod<TObject*, bool>;
