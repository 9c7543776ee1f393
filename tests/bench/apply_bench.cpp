// Apply benchmark, run under Wine on the test segment: how long
// "lanwise-cli apply" takes for a plan that gives each of 250 simulated
// modules a new address, without and with --verify. Each run is the whole
// process, start-up included, as a technician's script sees it; the
// simulator is reset before each, so that every row changes something.
#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "program_process.h"
#include "sim_control.h"

namespace {

constexpr int kModules = 250;
constexpr int kRuns = 5;
constexpr DWORD kRunTimeoutMs = 120000;
// Without a gateway, so that the new addresses, in another subnet, are
// plausible settings.
constexpr char kPopulation[] = "reset --count 250 --ip-base 198.18.1.1 --gw 0.0.0.0 --spread 0";

std::string TempPath(const char* prefix) {
    char folder[MAX_PATH] = "";
    char path[MAX_PATH] = "";
    GetTempPathA(sizeof folder, folder);
    GetTempFileNameA(folder, prefix, 0, path);
    return path;
}

// Row i gives the module 02-00-00-00-00-01 + i an address of the
// 198.19.x.y range, which none of them reports.
std::string WritePlan() {
    const std::string path = TempPath("pln");
    std::ofstream plan(path, std::ios::binary);
    plan << "mac,ip\n";
    for (int i = 0; i < kModules; ++i) {
        char row[64];
        std::snprintf(row, sizeof row, "02-00-00-00-%02X-%02X,198.19.%d.%d\n", (i + 1) >> 8, (i + 1) & 0xFF, i / 200,
                      i % 200 + 1);
        plan << row;
    }
    return path;
}

// Result lines "<MAC> <outcome>" with that outcome.
int CountResults(const std::string& path, const std::string& outcome) {
    constexpr std::size_t kMacLength = 17;
    std::ifstream file(path, std::ios::binary);
    std::string line;
    int count = 0;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() > kMacLength && line.compare(kMacLength, std::string::npos, " " + outcome) == 0) ++count;
    }
    return count;
}

// Milliseconds from the start of "lanwise-cli.exe args" to its exit, or a
// negative value when it did not run to its end with exit code 0.
double TimeCli(const std::string& args, const std::string& outPath) {
    const std::string program = kltest::OwnFolder() + "lanwise-cli.exe";
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileA(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return -1.0;
    HANDLE discard = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = INVALID_HANDLE_VALUE;
    startup.hStdOutput = out;
    startup.hStdError = discard;
    std::string commandLine = "\"" + program + "\" " + args;
    PROCESS_INFORMATION info = {};
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    const BOOL started = CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                        nullptr, nullptr, &startup, &info);
    CloseHandle(out);
    CloseHandle(discard);
    if (!started) return -1.0;
    DWORD exitCode = ~0u;
    if (WaitForSingleObject(info.hProcess, kRunTimeoutMs) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, ~0u);
    QueryPerformanceCounter(&end);
    GetExitCodeProcess(info.hProcess, &exitCode);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    if (exitCode != 0) return -1.0;
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// One timed apply on a fresh population; negative when it failed or did
// not report every row as expected. Each run writes a file of its own:
// under Wine the last run's may still be held open for a moment.
double TimeApply(const std::string& args, const char* expected) {
    if (kltest::Sim(kPopulation) != "OK") return -1.0;
    const std::string outPath = TempPath("out");
    const double ms = TimeCli(args, outPath);
    const int rows = CountResults(outPath, expected);
    DeleteFileA(outPath.c_str());
    if (ms >= 0 && rows == kModules) return ms;
    std::printf("apply %s: failed (%d of %d rows %s)\n", args.c_str(), rows, kModules, expected);
    return -1.0;
}

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main() {
    // Only the first simulator plays modules.
    const std::vector<std::string> addresses = kltest::SimulatorAddresses();
    for (std::size_t i = 1; i < addresses.size(); ++i) kltest::SimCommand(addresses[i], "reset --count 0");
    const std::string plan = WritePlan();
    // The first start of a program in a fresh Wine prefix is slower than
    // the rest; the runs alternate, so that a busy moment of the machine
    // weighs on both alike.
    const std::string warmUp = TempPath("out");
    TimeCli("--version", warmUp);
    DeleteFileA(warmUp.c_str());
    std::vector<double> plain;
    std::vector<double> verified;
    for (int run = 0; run < kRuns; ++run) {
        plain.push_back(TimeApply("apply \"" + plan + "\"", "reconfigured"));
        verified.push_back(TimeApply("apply \"" + plan + "\" --verify", "verified"));
    }
    DeleteFileA(plan.c_str());
    if (*std::min_element(plain.begin(), plain.end()) < 0 || *std::min_element(verified.begin(), verified.end()) < 0) {
        return 1;
    }
    std::printf("apply %d modules, median of %d runs: %.0f ms without --verify, %.0f ms with --verify (%.2f x)\n",
                kModules, kRuns, Median(plain), Median(verified), Median(verified) / Median(plain));
    return 0;
}
