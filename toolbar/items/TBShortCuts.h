#pragma once
// The process-wide list of toolbars that take part in the application's
// keyboard handling. The first registration installs the application hooks
// on the user-interface thread, the last removal takes them away:
// - every key press, before it reaches the focused control, is offered to
//   the registered toolbars of the active form, then of the main form; the
//   first that uses it consumes it;
// - the menu-key system command (Alt released alone, F10, Alt+character)
//   is sent, as TBM_APPSYSCOMMAND, to the visible, enabled docks and
//   menu-event toolbars of the active form, depth first; the first non-zero
//   answer consumes it.
class TTBCustomToolbar;

void RegisterShortCutToolbar(TTBCustomToolbar* toolbar);
void UnregisterShortCutToolbar(TTBCustomToolbar* toolbar);
// How many toolbars are registered (for tests).
int ShortCutToolbarCount();
