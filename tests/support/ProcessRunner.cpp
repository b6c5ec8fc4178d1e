#include "tests/support/ProcessRunner.h"
#include "tests/support/TestSupport.h"

#include <cstdlib>

namespace testing_support {

std::string QuiverleafExe()
{
    const char* v = std::getenv("QV_EXE");
    if (!v || !*v)
        return {};
    std::string path = v;
    if (path[0] == '/') {
        for (char& c : path)
            if (c == '/')
                c = '\\';
        path = "Z:" + path;
    }
    return path;
}

RunningProgram::RunningProgram(const std::string& exe, const std::string& dir, int showCommand)
{
    STARTUPINFOA si{};
    si.cb = sizeof si;
    if (showCommand != kNoShowCommand) {
        si.dwFlags = STARTF_USESHOWWINDOW;
        si.wShowWindow = static_cast<WORD>(showCommand);
    }
    std::string cmd = "\"" + exe + "\"";
    if (!CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &FProcess))
        FProcess = PROCESS_INFORMATION{};
}

RunningProgram::~RunningProgram()
{
    if (FProcess.hProcess) {
        if (WaitForSingleObject(FProcess.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(FProcess.hProcess, 1);
        CloseHandle(FProcess.hProcess);
        CloseHandle(FProcess.hThread);
    }
}

namespace {
struct FindData {
    DWORD pid;
    const char* title;
    HWND found;
};
BOOL CALLBACK FindVisibleWindow(HWND wnd, LPARAM param)
{
    auto* data = reinterpret_cast<FindData*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid != data->pid || !IsWindowVisible(wnd) || GetWindow(wnd, GW_OWNER))
        return TRUE;
    char title[64];
    if (data->title && !(GetWindowTextA(wnd, title, sizeof title) && std::string(title) == data->title))
        return TRUE;
    data->found = wnd;
    return FALSE;
}
} // namespace

HWND FindVisibleTopWindow(DWORD processId, const char* title)
{
    FindData data{processId, title, nullptr};
    EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&data));
    return data.found;
}

HWND RunningProgram::WaitForMainWindow(int timeoutMs)
{
    HWND found = nullptr;
    WaitFor([&] { return (found = FindVisibleTopWindow(FProcess.dwProcessId, "Quiverleaf")) != nullptr; }, timeoutMs);
    return found;
}

int RunningProgram::WaitForExit(int timeoutMs)
{
    if (!FProcess.hProcess || WaitForSingleObject(FProcess.hProcess, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(FProcess.hProcess, &code);
    return static_cast<int>(code);
}

} // namespace testing_support
