#pragma once
// A window's placement in the settings file: the normal rectangle, the
// minimised and maximised positions, the show command and the flags, with
// the position keys kept per screen size.
#include <windows.h>
#include <string>

class TCustomForm;
class TCustomIniFile;

// The window's placement record, ready to be applied again: a window that
// is not shown yet gets the hide command, so applying it does not show it.
WINDOWPLACEMENT PlacementForApplying(HWND wnd);

// "(1024x768)" for the screen this runs on.
std::string ScreenSizeSuffix();

// The key with the screen-size suffix, or, when that is empty, the plain key.
std::string ReadPositionText(const TCustomIniFile* store, const std::string& section, const std::string& key);
// Writes under the key with the screen-size suffix, then under the plain key.
void WritePositionText(TCustomIniFile* store, const std::string& section, const std::string& key,
                       const std::string& text);

void SaveWindowPlacement(TCustomForm* window, TCustomIniFile* store, const std::string& section);
void LoadWindowPlacement(TCustomForm* window, const TCustomIniFile* store, const std::string& section,
                         bool loadPosition, bool loadState);

// The integer words of a position text ("1,2, 3 4"), each converted with
// its own default when missing or not a number.
void ParsePositionWords(const std::string& text, int* values, const int* defaults, int count);
