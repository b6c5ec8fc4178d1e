#include "tests/support/TestSupport.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testing_support {

namespace {
void RemoveTree(const std::string& dir)
{
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string full = dir + "\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(dir.c_str());
}
} // namespace

TempDir::TempDir()
{
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    FPrevious = previous;
    static unsigned counter = 0;
    for (;;) {
        char name[MAX_PATH];
        wsprintfA(name, "%sqvtest-%lu-%lu-%u", base, GetCurrentProcessId(), GetTickCount(), ++counter);
        if (CreateDirectoryA(name, nullptr)) {
            FPath = name;
            break;
        }
    }
    SetCurrentDirectoryA(FPath.c_str());
}

TempDir::~TempDir()
{
    SetCurrentDirectoryA(FPrevious.c_str());
    RemoveTree(FPath);
}

void Pump(int ms)
{
    DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    do {
        if (Application)
            Application->ProcessMessages();
        else {
            MSG m;
            while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&m);
                DispatchMessageA(&m);
            }
        }
        Sleep(5);
    } while (static_cast<int>(end - GetTickCount()) > 0);
}

bool WaitFor(const std::function<bool()>& condition, int timeoutMs)
{
    DWORD end = GetTickCount() + static_cast<DWORD>(timeoutMs);
    for (;;) {
        if (condition())
            return true;
        if (static_cast<int>(end - GetTickCount()) <= 0)
            return false;
        Pump(10);
    }
}

ErrorCatcher::ErrorCatcher()
{
    if (!Application)
        throw std::runtime_error("ErrorCatcher needs the application object");
    FPrevious = Application->OnException;
    Application->OnException = MakeMethod<&ErrorCatcher::Caught>(this);
}

ErrorCatcher::~ErrorCatcher()
{
    if (Application)
        Application->OnException = FPrevious;
}

void ErrorCatcher::Caught(TObject*, const std::exception& e)
{
    FMessages.push_back(TApplication::ErrorBoxText(e.what()));
}

namespace {
void SendKey(WORD vk, bool up)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}
} // namespace

void PressKey(WORD vk, bool shift, bool ctrl)
{
    if (ctrl)
        SendKey(VK_CONTROL, false);
    if (shift)
        SendKey(VK_SHIFT, false);
    SendKey(vk, false);
    SendKey(vk, true);
    if (shift)
        SendKey(VK_SHIFT, true);
    if (ctrl)
        SendKey(VK_CONTROL, true);
    Pump(20);
}

void TypeText(const std::string& text)
{
    for (char c : text) {
        if (c == '\n') {
            PressKey(VK_RETURN);
            continue;
        }
        SHORT vk = VkKeyScanA(c);
        if (vk == -1)
            continue;
        PressKey(LOBYTE(vk), (HIBYTE(vk) & 1) != 0, (HIBYTE(vk) & 2) != 0);
    }
    Pump(30);
}

void ClickAt(int x, int y, bool right)
{
    SetCursorPos(x, y);
    Pump(20);
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    SendInput(1, &in[0], sizeof(INPUT));
    Pump(20);
    SendInput(1, &in[1], sizeof(INPUT));
    Pump(40);
}

void MoveMouseTo(int x, int y)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
}

void ClickClient(HWND wnd, const RECT& r, bool right)
{
    POINT pt{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(wnd, &pt);
    ClickAt(pt.x, pt.y, right);
}

void Activate(HWND wnd)
{
    SetForegroundWindow(wnd);
    SetActiveWindow(wnd);
    Pump(50);
}

COLORREF ScreenPixel(int x, int y)
{
    HDC dc = GetDC(nullptr);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(nullptr, dc);
    return c;
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

WindowsSettingsFile::WindowsSettingsFile()
{
    char dir[MAX_PATH];
    GetWindowsDirectoryA(dir, MAX_PATH);
    FPath = std::string(dir) + "\\Quiverleaf.ini";
    FKept = FPath + ".kept-during-tests";
    FHadOne = FileExists(FPath);
    if (FHadOne)
        FMovedAside = MoveFileExA(FPath.c_str(), FKept.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
    // Flushes the profile functions' cache of the file just moved.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, FPath.c_str());
}

WindowsSettingsFile::~WindowsSettingsFile()
{
    // A user's file that could not be moved aside is still in its place.
    if (!FMovedAside)
        return;
    Remove();
    if (FHadOne) {
        MoveFileExA(FKept.c_str(), FPath.c_str(), MOVEFILE_REPLACE_EXISTING);
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, FPath.c_str());
    }
}

void WindowsSettingsFile::Remove() const
{
    DeleteFileA(FPath.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, FPath.c_str());
}

bool FileExists(const std::string& path)
{
    DWORD attr = GetFileAttributesA(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadUserKey(const std::string& iniPath, const std::string& key)
{
    char buf[2048];
    GetPrivateProfileStringA("User", key.c_str(), "<missing>", buf, sizeof buf, iniPath.c_str());
    return buf;
}

void WriteUserKey(const std::string& iniPath, const std::string& key, const std::string& value)
{
    WritePrivateProfileStringA("User", key.c_str(), value.c_str(), iniPath.c_str());
}

} // namespace testing_support
