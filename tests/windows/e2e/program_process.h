// Starts "Kelvara Lanwise.exe" as a process of its own, as a user would,
// and makes sure it never outlives whoever started it.
#ifndef KL_TESTS_E2E_PROGRAM_PROCESS_H
#define KL_TESTS_E2E_PROGRAM_PROCESS_H

#include <windows.h>

#include <functional>
#include <string>

namespace kltest {

constexpr char kProgramFile[] = "Kelvara Lanwise.exe";

// The folder of this executable, ending in a backslash ("" when unknown).
std::string OwnFolder();

// Polls done() every millisecond until it holds or timeoutMs passed.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs);

// Milliseconds from a QueryPerformanceCounter reading until now.
double MillisecondsSince(const LARGE_INTEGER& start);

// Posts a button's BN_CLICKED to its dialog, as a mouse click on it does.
bool PostClick(HWND dialog, int buttonId);

// Runs a console program of this folder with args, its standard output
// into a file, until it ends (at most timeoutMs); its exit code, or ~0u.
DWORD RunConsoleProgram(const std::string& file, const std::string& args, std::string& output, DWORD timeoutMs);

class ProgramProcess {
public:
    ProgramProcess() = default;
    ~ProgramProcess() { Stop(); }
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    // Starts the program at this full path, in its own folder: the program
    // finds its library and that library's version resource there.
    bool Start(const std::string& path);
    DWORD Id() const { return info_.dwProcessId; }
    // The running program's process handle (null before Start), for its
    // times and memory.
    HANDLE Handle() const { return info_.hProcess; }
    bool WaitForExit(DWORD timeoutMs) const;
    // Ends a still running program at once and waits until it is gone, so
    // that the next instance finds the module port free.
    void Stop();

    // The module list of the program's main dialog, once it exists (the
    // dialog window comes before its controls); nullptr after timeoutMs.
    HWND WaitForModuleList(DWORD timeoutMs) const;

private:
    PROCESS_INFORMATION info_ = {};
};

}  // namespace kltest

#endif
