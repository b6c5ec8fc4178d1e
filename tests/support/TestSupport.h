#pragma once
// What the tests share: a temporary working directory, message pumping,
// real input through SendInput, screen pixels, and catching the error box.
#include "toolkit/Forms.h"

#include <windows.h>
#include <functional>
#include <string>
#include <vector>

namespace testing_support {

// A fresh directory under the temporary folder that becomes the current
// directory for the test's life; removed with its files afterwards.
class TempDir {
public:
    TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();
    const std::string& Path() const { return FPath; }
    std::string File(const std::string& name) const { return FPath + "\\" + name; }

private:
    std::string FPath;
    std::string FPrevious;
};

// Dispatches messages for about `ms` milliseconds.
void Pump(int ms = 50);
// Pumps until the condition holds or the time runs out; true if it held.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 3000);

// Collects what would have gone to the error box while it lives.
class ErrorCatcher {
public:
    ErrorCatcher();
    ~ErrorCatcher();
    const std::vector<std::string>& Messages() const { return FMessages; }
    void Clear() { FMessages.clear(); }

private:
    void Caught(TObject* sender, const std::exception& e);
    std::vector<std::string> FMessages;
    TExceptionEvent FPrevious;
};

// Real input: the platform sees ordinary keyboard and mouse events.
void TypeText(const std::string& text);
void PressKey(WORD vk, bool shift = false, bool ctrl = false);
void ClickAt(int screenX, int screenY, bool right = false);
// Moves the mouse to a screen point with a real (absolute) move.
void MoveMouseTo(int screenX, int screenY);
// Clicks the centre of a rectangle given in a window's client coordinates.
void ClickClient(HWND wnd, const RECT& clientRect, bool right = false);

// Brings a top-level window to the front and gives it the keyboard.
void Activate(HWND wnd);

COLORREF ScreenPixel(int x, int y);

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// One key of the settings section "User" of an INI file, read straight
// through the profile functions ("<missing>" when absent), and written.
std::string ReadUserKey(const std::string& iniPath, const std::string& key);
void WriteUserKey(const std::string& iniPath, const std::string& key, const std::string& value);

// Quiverleaf.ini in the Windows folder, where the real program keeps it.
// While this object lives, a settings file of the user's own that was there
// is moved aside (into a side file that stays if the run never ends), and
// the place is free for a run's own; after it, the user's file is back.
class WindowsSettingsFile {
public:
    WindowsSettingsFile();
    ~WindowsSettingsFile();
    WindowsSettingsFile(const WindowsSettingsFile&) = delete;
    WindowsSettingsFile& operator=(const WindowsSettingsFile&) = delete;

    const std::string& Path() const { return FPath; }
    // False when the user's file was there and could not be moved aside.
    bool MovedAside() const { return FMovedAside; }
    // Deletes the run's file, and the profile functions' cached copy of it.
    void Remove() const;

private:
    std::string FPath;
    std::string FKept;
    bool FHadOne = false;
    bool FMovedAside = true;
};

} // namespace testing_support
