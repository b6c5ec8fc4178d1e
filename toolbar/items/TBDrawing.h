#pragma once
// Text and GDI helpers shared by the viewers and views: caption text
// without its accelerator marks, the shared menu font and the fonts and
// brushes derived for painting.
#include "toolkit/Graphics.h"

#include <windows.h>
#include <string>

// The text as shown: each single "&" removed, each "&&" reduced to one "&"
// (double-byte characters are stepped over whole).
std::string StripAccelChars(const std::string& caption);
// The character after the last single "&" (0 when there is none), and its
// index in the stripped text (-1 when none).
char FindAccelChar(const std::string& caption);
int AccelIndexInStripped(const std::string& caption);
// The width of the shown text with the font selected into the canvas.
int CaptionTextWidth(HDC canvas, const std::string& caption);

// The system's menu font, shared by every view; taken on first use and
// again after RefreshSystemMenuFont (the non-client metrics changed).
HFONT SystemMenuFont();
void RefreshSystemMenuFont();

FontHandle MakeBoldFont(HFONT font);
// The same font turned by 270 degrees for captions in side docks, with
// "MS Sans Serif" and "Microsoft Sans Serif" replaced by "Arial" and the
// vertical variant of the face where the system has one.
FontHandle MakeRotatedFont(HFONT font);

// An 8 x 8 checkerboard of button face and button highlight.
BrushHandle MakeCheckerboardBrush();
