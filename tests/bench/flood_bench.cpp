// Flood benchmark, run under Wine on the test segment. The simulator floods
// the library's port with scan answers of ever new MACs.
//   Scans: as fast as the simulator can, while this calls
//          VORN_SendModuleScan 200 times: how many were sent, median and
//          longest wait for the call.
//   Memory: for 10 s while nothing takes the entries: the process's peak
//          working set and how many answers the library read but did not
//          queue. What it read is the platform's UDP count of datagrams
//          taken by sockets, read from the Linux host under Wine. This run
//          comes first, so that the peak is its own.
// Arguments: the flood rate per second of run 2 (default 0: as fast as
// possible).
#include <winsock2.h>
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "sim_control.h"
#include "vorn.h"

namespace {

constexpr int kScans = 200;
constexpr DWORD kScanSpacingMs = 10;
constexpr DWORD kFloodLeadMs = 300;
constexpr DWORD kMemoryFloodMs = 10000;
// Longer than any run; a reset ends the flood earlier.
constexpr DWORD kEndlessFloodMs = 600000;

volatile LONG g_notifications = 0;
// Replies from the simulator that this process received, to tell them
// apart from the library's datagrams in the platform's count.
long long g_controlReplies = 0;

void OnNotify(int) { InterlockedIncrement(&g_notifications); }

double Milliseconds(LONGLONG ticks) {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    return 1000.0 * static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart);
}

std::string Sim(const std::string& command) {
    ++g_controlReplies;
    return kltest::Sim(command);
}

// One number behind "key=" in a simulator reply, or -1.
long long ReplyValue(const std::string& reply, const char* key) {
    const std::size_t at = reply.find(std::string(key) + "=");
    return at == std::string::npos ? -1 : std::atoll(reply.c_str() + at + std::strlen(key) + 1);
}

// Starts a flood of durationMs and returns false when the simulator refused it.
bool StartFlood(DWORD durationMs, unsigned rate) {
    const std::string command = "flood " + std::to_string(durationMs) + " " + std::to_string(rate) + " answers";
    const std::string reply = Sim(command);
    if (reply == "OK") return true;
    std::printf("simulator did not accept '%s': %s\n", command.c_str(), reply.c_str());
    return false;
}

// Waits for the end of the flood and gives the number of datagrams it sent.
long long WaitForFloodEnd() {
    for (;;) {
        const std::string status = Sim("flood-status");
        if (ReplyValue(status, "running") == 0) return ReplyValue(status, "sent");
        Sleep(100);
    }
}

void DrainResponses() {
    VORN_ModuleScanResponseType response;
    while (VORN_GetResponse(&response)) {
    }
}

// One counter of the "Udp:" lines of the Linux host's /proc/net/snmp for
// this network namespace, reached under Wine through drive Z:; -1 when it
// cannot be read (on Windows).
long long UdpCounter(const char* name) {
    FILE* file = std::fopen("Z:\\proc\\net\\snmp", "r");
    if (!file) return -1;
    char names[1024] = "";
    char values[1024] = "";
    long long counter = -1;
    const std::string key = std::string(" ") + name + " ";
    while (std::fgets(names, sizeof names, file) && std::fgets(values, sizeof values, file)) {
        if (std::strncmp(names, "Udp:", 4) != 0) continue;
        const char* at = std::strstr(names, key.c_str());
        if (!at) break;
        int column = 0;
        for (const char* p = names; p <= at; ++p) column += *p == ' ';
        const char* value = values;
        for (int i = 0; i < column && value; ++i) value = std::strchr(value + 1, ' ');
        if (value) counter = std::atoll(value);
        break;
    }
    std::fclose(file);
    return counter;
}

double MiB(SIZE_T bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

PROCESS_MEMORY_COUNTERS Memory() {
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    return memory;
}

// Calls VORN_SendModuleScan kScans times, kScanSpacingMs apart; gives how
// many were sent and prints the waits.
int TimeScans(const char* label) {
    std::vector<double> waits;
    int sent = 0;
    for (int i = 0; i < kScans; ++i) {
        LARGE_INTEGER before, after;
        QueryPerformanceCounter(&before);
        sent += VORN_SendModuleScan();
        QueryPerformanceCounter(&after);
        waits.push_back(Milliseconds(after.QuadPart - before.QuadPart));
        Sleep(kScanSpacingMs);
    }
    std::sort(waits.begin(), waits.end());
    std::printf("scans:  %s: sent %d of %d, wait median %.2f ms, 90%% %.2f ms, 99%% %.2f ms, max %.2f ms\n", label, sent,
                kScans, waits[kScans / 2], waits[kScans * 9 / 10], waits[kScans * 99 / 100], waits.back());
    return sent;
}

bool ScanWhileFlooding() {
    if (Sim("reset --count 0") != "OK") return false;
    TimeScans("quiet segment, for reference");
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    if (!StartFlood(kEndlessFloodMs, 0)) return false;
    Sleep(kFloodLeadMs);
    TimeScans("during the flood (target: all, max <= 20 ms)");
    const long long flooded = ReplyValue(Sim("flood-status"), "sent");
    QueryPerformanceCounter(&end);
    if (Sim("reset --count 0") != "OK") return false;
    const double floodMs = Milliseconds(end.QuadPart - start.QuadPart);
    std::printf("scans:  flood of %lld answers in %.0f ms, %.0f per second\n", flooded, floodMs,
                1000.0 * static_cast<double>(flooded) / floodMs);
    return true;
}

bool FillWithoutTaking(unsigned rate) {
    if (Sim("reset --count 0") != "OK") return false;
    DrainResponses();
    Sleep(200);
    DrainResponses();
    InterlockedExchange(&g_notifications, 0);
    const SIZE_T workingSetBefore = Memory().WorkingSetSize;
    const long long readBefore = UdpCounter("InDatagrams");
    const long long repliesBefore = g_controlReplies;
    if (!StartFlood(kMemoryFloodMs, rate)) return false;
    const long long flooded = WaitForFloodEnd();
    Sleep(1000);  // the library reads what still waits in its socket
    const long long read = UdpCounter("InDatagrams") - readBefore - (g_controlReplies - repliesBefore);
    const PROCESS_MEMORY_COUNTERS memory = Memory();
    long long queued = 0;
    VORN_ModuleScanResponseType response;
    while (VORN_GetResponse(&response)) ++queued;
    std::printf("memory: flood of %lld answers with distinct MACs in %lu ms (%s), nothing taken meanwhile\n", flooded,
                static_cast<unsigned long>(kMemoryFloodMs),
                rate ? (std::to_string(rate) + " per second").c_str() : "as fast as possible");
    std::printf("memory: peak working set %.1f MiB (target: under 64 MiB); working set %.1f MiB before the flood\n",
                MiB(memory.PeakWorkingSetSize), MiB(workingSetBefore));
    std::printf("memory: queued %lld, notified %ld\n", queued, static_cast<long>(g_notifications));
    if (readBefore >= 0) {
        std::printf("memory: read by the library %lld, dropped by it %lld; lost before it (segment, socket buffer) %lld\n",
                    read, read - queued, flooded - read);
    } else {
        std::printf("memory: not queued %lld (dropped by the library or lost before it)\n", flooded - queued);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const unsigned rate = argc > 1 ? static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10)) : 0;
    VORN_RegisterCallBack(&OnNotify);
    VORN_Start();
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const bool ok = FillWithoutTaking(rate) && ScanWhileFlooding();
    return ok ? 0 : 1;
}
