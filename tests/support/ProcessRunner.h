#pragma once
// Starting the real Quiverleaf.exe for end-to-end tests and benchmarks.
#include <windows.h>
#include <string>

namespace testing_support {

// The built program, from the QV_EXE environment variable (a Windows path,
// or a Unix path that Wine sees on drive Z:). Empty if not set.
std::string QuiverleafExe();

// A visible top-level window of the process, without an owner, and with
// that title unless the title is null; nullptr if there is none.
HWND FindVisibleTopWindow(DWORD processId, const char* title);

class RunningProgram {
public:
    // Starts the program with `dir` as its current directory; with a show
    // command (SW_...), the start-up information asks for it.
    static constexpr int kNoShowCommand = -1;
    RunningProgram(const std::string& exe, const std::string& dir, int showCommand = kNoShowCommand);
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;
    ~RunningProgram();

    bool Started() const { return FProcess.hProcess != nullptr; }
    // The program's main window once it is visible, or nullptr on time-out.
    HWND WaitForMainWindow(int timeoutMs = 10000);
    // Waits for the process to end; its exit code, or -1 on time-out.
    int WaitForExit(int timeoutMs = 10000);
    DWORD ProcessId() const { return FProcess.dwProcessId; }

private:
    PROCESS_INFORMATION FProcess{};
};

} // namespace testing_support
