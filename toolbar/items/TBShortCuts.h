#pragma once
// The process-wide list of toolbars that take part in shortcut handling.
// The first registration installs a message hook on the user-interface
// thread, the last removal takes it away. The hook offers every key press
// (before it reaches the focused control) to the registered toolbars of the
// active form, then of the main form; the first that uses it consumes it.
class TTBCustomToolbar;

void RegisterShortCutToolbar(TTBCustomToolbar* toolbar);
void UnregisterShortCutToolbar(TTBCustomToolbar* toolbar);
// How many toolbars are registered (for tests).
int ShortCutToolbarCount();
