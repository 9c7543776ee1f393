#include "program_process.h"

#include <vector>

#include "list_rows.h"

namespace kltest {

namespace {

// A terminated process is gone within moments; this only bounds a hang.
constexpr DWORD kStopTimeoutMs = 5000;

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

std::string OwnFolder() {
    char path[MAX_PATH] = "";
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    // A truncated path names no real folder.
    if (length == 0 || length >= sizeof path) return std::string();
    return FolderOf(std::string(path, length));
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!done()) {
        if (GetTickCount64() >= end) return false;
        Sleep(1);
    }
    return true;
}

DWORD RunConsoleProgram(const std::string& file, const std::string& args, std::string& output, DWORD timeoutMs) {
    char folder[MAX_PATH] = "";
    char outPath[MAX_PATH] = "";
    GetTempPathA(sizeof folder, folder);
    GetTempFileNameA(folder, "out", 0, outPath);
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput =
        CreateFileA(outPath, GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    startup.hStdError = startup.hStdOutput;
    const std::string program = OwnFolder() + file;
    std::string commandLine = "\"" + program + "\" " + args;
    PROCESS_INFORMATION info = {};
    DWORD exitCode = ~0u;
    const BOOL started = CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                        nullptr, nullptr, &startup, &info);
    CloseHandle(startup.hStdOutput);
    if (started) {
        if (WaitForSingleObject(info.hProcess, timeoutMs) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, ~0u);
        GetExitCodeProcess(info.hProcess, &exitCode);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    output.clear();
    HANDLE out = CreateFileA(outPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
    char buffer[4096];
    DWORD read = 0;
    while (out != INVALID_HANDLE_VALUE && ReadFile(out, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        output.append(buffer, read);
    }
    if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
    DeleteFileA(outPath);
    return exitCode;
}

double MillisecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool PostClick(HWND dialog, int buttonId) {
    HWND button = GetDlgItem(dialog, buttonId);
    return button && PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

bool ProgramProcess::Start(const std::string& path) {
    Stop();
    const std::string quoted = "\"" + path + "\"";
    // CreateProcessA may write into its command line.
    std::vector<char> commandLine(quoted.begin(), quoted.end());
    commandLine.push_back('\0');
    const std::string folder = FolderOf(path);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    return CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &startup, &info_) != FALSE;
}

bool ProgramProcess::WaitForExit(DWORD timeoutMs) const {
    return info_.hProcess && WaitForSingleObject(info_.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

void ProgramProcess::Stop() {
    if (!info_.hProcess) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, kStopTimeoutMs);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
    info_ = PROCESS_INFORMATION{};
}

HWND ProgramProcess::WaitForModuleList(DWORD timeoutMs) const {
    // Without a process, an id of 0 would match any program's dialog.
    if (!info_.hProcess) return nullptr;
    HWND list = nullptr;
    WaitUntil([&] { return (list = FindModuleList(Id())) != nullptr; }, timeoutMs);
    return list;
}

}  // namespace kltest
