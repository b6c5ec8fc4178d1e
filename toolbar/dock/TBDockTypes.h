#pragma once
// Types shared by the docks, the dockable bars and the toolbar control:
// dock edges, where a bar sits, how it yields when its row is too short,
// and the framework's own messages that docks pass on to their bars.
#include "toolkit/Events.h"
#include "toolkit/TypeInfo.h"

#include <windows.h>
#include <cstdint>

class TTBDock;
class TTBCustomDockableWindow;

enum TTBDockPosition { dpTop, dpBottom, dpLeft, dpRight };
const TTypeInfo& TypeDockPosition();

// Bits of TTBDockableTo: the dock edges a bar may be dropped on.
using TTBDockableTo = uint32_t;
constexpr TTBDockableTo DockableBit(TTBDockPosition p) { return 1u << p; }
constexpr TTBDockableTo DockableToAll = 0xFu;
const TTypeInfo& TypeDockableTo();

enum TTBDockBoundLine { blTop, blBottom, blLeft, blRight };
using TTBDockBoundLines = uint32_t;
constexpr TTBDockBoundLines BoundLineBit(TTBDockBoundLine l) { return 1u << l; }
const TTypeInfo& TypeDockBoundLines();

// Where a bar sits; handed to the bar's re-arrangement of its contents.
enum PlacementKind { pkNone, pkFloating, pkHorizontal, pkVertical };

// How a bar yields when its row is too short.
enum TTBShrinkMode { tbsmNone, tbsmWrap, tbsmChevron };
const TTypeInfo& TypeShrinkMode();

enum TTBDockMode { dmCanFloat, dmCannotFloat, dmCannotFloatOrChangeDocks };
const TTypeInfo& TypeDockMode();

enum TTBDragHandleStyle { dhDouble, dhNone, dhSingle };
const TTypeInfo& TypeDragHandleStyle();

enum TTBFloatingMode { fmOnTopOfParentForm, fmOnTopOfAllForms };
const TTypeInfo& TypeFloatingMode();

// The docked border: the form's bsNone and bsSingle.
const TTypeInfo& TypeBarBorderStyle();

// (Sender, Inserting, Bar): a bar became visible in a dock or left it.
using TTBInsertRemoveEvent = TMethod<TObject*, bool, TTBCustomDockableWindow*>;
// (Sender, Bar, var Accept): may the bar be dropped on this dock?
using TTBRequestDockEvent = TMethod<TObject*, TTBCustomDockableWindow*, bool&>;
// (Sender, Floating, DockingTo): the bar is about to change docks.
using TTBDockChangingEvent = TMethod<TObject*, bool, TTBDock*>;

// The framework's own messages, offered by a dock to its floating bars:
// a dialog key or character (WParam the key, LParam the key data) and the
// application's system command (WParam the command, LParam its data). A
// non-zero result means the bar used it.
constexpr UINT TBM_DIALOGKEY = WM_APP + 0x3B10;
constexpr UINT TBM_DIALOGCHAR = WM_APP + 0x3B11;
constexpr UINT TBM_APPSYSCOMMAND = WM_APP + 0x3B12;
