#pragma once
// The menu bars' watch on retrieved messages. A main form with a
// multiple-document client area gets no menu-key system command for an
// Alt+character typed there (the client area swallows it, and "-" in a
// child window opens that child's window menu instead); while a menu bar
// is registered, such a system character, taken when no window holds the
// mouse capture, is sent to the main form as the menu-key system command
// and removed. Registrations are counted; the shared retrieved-message
// hook stays installed while one is left.
void RegisterMenuBarHook();
void UnregisterMenuBarHook();
