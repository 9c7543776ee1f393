// Live-list benchmark, run under Wine on the test segment, against 250
// simulated modules answering every scan. "cpu [S]": the program's CPU time
// over S seconds (default 60) idle, then over S seconds with "Keep
// scanning" on. "soak [S]": S seconds (default 3600) of live scans while
// 10 of the modules go and come back every 15 s; the program's resident
// size (working set) before and after.
#include <winsock2.h>
#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "list_rows.h"
#include "program_process.h"
#include "sim_control.h"

namespace {

using kltest::WindowText;

constexpr int kModules = 250;
constexpr int kComingAndGoing = 10;
constexpr DWORD kStartTimeoutMs = 15000;
constexpr DWORD kListedTimeoutMs = 10000;
// Long enough for the modules that went to be missed twice.
constexpr DWORD kSoakStepMs = 15000;

std::string Reset(int modules) {
    return kltest::Sim("reset --mac-base 02-00-00-00-01-01 --ip-base 198.18.1.100 --spread 0 --count " +
                       std::to_string(modules));
}

long Scans() {
    const std::string stats = kltest::Sim("stats");
    const std::size_t at = stats.find(" scans=");
    return at == std::string::npos ? -1 : std::atol(stats.c_str() + at + 7);
}

// The head of one entry of the system's process list; the SDKs' headers
// give its times different names, or none.
struct ProcessEntryHead {
    ULONG nextEntryOffset;
    ULONG numberOfThreads;
    LARGE_INTEGER reserved[3];
    LARGE_INTEGER createTime;
    LARGE_INTEGER userTime;
    LARGE_INTEGER kernelTime;
    UNICODE_STRING imageName;
    LONG basePriority;
    HANDLE uniqueProcessId;
};

// The process's user and kernel time, from the system's process list:
// Wine's GetProcessTimes reports zeros for any process but the caller's,
// while its process list reads every process's times from Linux.
double CpuSeconds(DWORD processId) {
    using QuerySystemInformation = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<QuerySystemInformation>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    std::vector<char> buffer(1 << 20);
    ULONG length = 0;
    if (!query || query(SystemProcessInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &length) != 0) {
        return -1.0;
    }
    for (std::size_t at = 0;;) {
        const auto* entry = reinterpret_cast<const ProcessEntryHead*>(buffer.data() + at);
        if (static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(entry->uniqueProcessId)) == processId) {
            return static_cast<double>(entry->userTime.QuadPart + entry->kernelTime.QuadPart) / 1e7;
        }
        if (entry->nextEntryOffset == 0) return -1.0;
        at += entry->nextEntryOffset;
    }
}

double MiB(SIZE_T bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

// The program's CPU over the period, printed with the scans that went out.
double MeasureCpu(const char* what, DWORD process, DWORD seconds) {
    const long scans = Scans();
    const double before = CpuSeconds(process);
    Sleep(seconds * 1000);
    const double used = CpuSeconds(process) - before;
    std::printf("%s: %.2f s CPU in %lu s (%.2f %% of one core), %ld scans\n", what, used,
                static_cast<unsigned long>(seconds), 100.0 * used / seconds, Scans() - scans);
    std::fflush(stdout);
    return used;
}

void PrintMemory(const char* when, HANDLE process) {
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(process, &memory, sizeof memory);
    std::printf("%s: resident %.2f MiB (peak %.2f MiB)\n", when, MiB(memory.WorkingSetSize),
                MiB(memory.PeakWorkingSetSize));
    std::fflush(stdout);
}

int RunCpu(kltest::ProgramProcess& program, HWND dialog, DWORD seconds) {
    const double idle = MeasureCpu("idle", program.Id(), seconds);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kltest::kKeepScanningCommand, 0), 0);
    const double live = MeasureCpu("live", program.Id(), seconds);
    std::printf("live/idle: %.2f (%s)\n", idle > 0 ? live / idle : 0.0, WindowText(dialog).c_str());
    return 0;
}

int RunSoak(kltest::ProgramProcess& program, HWND dialog, HWND list, DWORD seconds) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kltest::kKeepScanningCommand, 0), 0);
    // One full cycle of going and coming back before the first figure, so
    // that the rows, the fonts and the heaps have their working size.
    for (const int count : {kModules - kComingAndGoing, kModules}) {
        Reset(count);
        Sleep(kSoakStepMs);
    }
    PrintMemory("before", program.Handle());
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1000;
    int cycles = 0;
    while (GetTickCount64() < end) {
        Reset(kModules - kComingAndGoing);
        Sleep(kSoakStepMs);
        Reset(kModules);
        Sleep(kSoakStepMs);
        ++cycles;
    }
    PrintMemory("after", program.Handle());
    std::printf("%d cycles of %d modules going and coming back; %d rows (%s)\n", cycles, kComingAndGoing,
                kltest::RowCount(list), WindowText(dialog).c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const bool soak = argc > 1 && std::strcmp(argv[1], "soak") == 0;
    if (argc < 2 || (!soak && std::strcmp(argv[1], "cpu") != 0)) {
        std::fprintf(stderr, "usage: live_bench cpu|soak [seconds]\n");
        return 2;
    }
    const DWORD seconds = argc > 2 ? static_cast<DWORD>(std::atoi(argv[2])) : (soak ? 3600 : 60);
    if (Reset(kModules) != "OK") {
        std::fprintf(stderr, "live_bench: the simulator does not answer\n");
        return 1;
    }
    kltest::ProgramProcess program;
    HWND list = program.Start(kltest::OwnFolder() + kltest::kProgramFile) ? program.WaitForModuleList(kStartTimeoutMs)
                                                                         : nullptr;
    if (!list || !kltest::WaitUntil([&] { return kltest::RowCount(list) == kModules; }, kListedTimeoutMs)) {
        std::fprintf(stderr, "live_bench: the program did not list the modules\n");
        return 1;
    }
    HWND dialog = GetParent(list);
    return soak ? RunSoak(program, dialog, list, seconds) : RunCpu(program, dialog, seconds);
}
