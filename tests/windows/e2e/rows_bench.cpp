// Rows benchmark, run under Wine on the test segment: how long the running
// program takes from a click on Scan until the N-th module is listed, with
// the simulator answering N modules in one burst. One program instance
// serves every run. Arguments: the module counts (default 50 250 1000).
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "list_rows.h"
#include "program_process.h"
#include "sim_control.h"

namespace {

constexpr DWORD kStartTimeoutMs = 15000;
constexpr DWORD kAnswerTimeoutMs = 2000;
// Rows that stop coming for this long will not come: answers were lost.
constexpr DWORD kQuietMs = 1000;

struct Result {
    int rows;
    double clickMilliseconds;  // until the click was handled: list emptied, scan sent
    double firstMilliseconds;  // until the first row: the answers are arriving
    double milliseconds;       // until the last row that came
};

// Clicks Scan and polls the item count every millisecond until N rows are
// listed or no further row came for kQuietMs.
Result TimeScan(HWND dialog, HWND list, int modules) {
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    // Sent, not posted: when it returns, the list has been emptied and the
    // scan sent, so no row of the previous run is counted.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(dialog, WM_COMMAND, MAKEWPARAM(kltest::kScanButtonId, BN_CLICKED),
                        reinterpret_cast<LPARAM>(GetDlgItem(dialog, kltest::kScanButtonId)), SMTO_ABORTIFHUNG,
                        kAnswerTimeoutMs, &ignored);
    Result result = {0, kltest::MillisecondsSince(start), 0.0, 0.0};
    ULONGLONG lastChange = GetTickCount64();
    while (result.rows < modules && GetTickCount64() - lastChange < kQuietMs) {
        const int rows = kltest::RowCount(list);
        if (rows > result.rows) {
            const double now = kltest::MillisecondsSince(start);
            result = {rows, result.clickMilliseconds, result.rows == 0 ? now : result.firstMilliseconds, now};
            lastChange = GetTickCount64();
        }
        Sleep(1);
    }
    return result;
}

// Waits until the list stopped changing for kQuietMs.
void WaitUntilQuiet(HWND list) {
    int last = -1;
    ULONGLONG lastChange = GetTickCount64();
    while (GetTickCount64() - lastChange < kQuietMs) {
        const int rows = kltest::RowCount(list);
        if (rows != last) lastChange = GetTickCount64();
        last = rows;
        Sleep(1);
    }
}

std::vector<int> ModuleCounts(int argc, char** argv) {
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
    if (counts.empty()) counts = {50, 250, 1000};
    return counts;
}

std::string Reset(int modules) {
    return kltest::Sim("reset --mac-base 02-00-00-00-01-01 --ip-base 198.18.1.100 --spread 0 --count " +
                       std::to_string(modules));
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<int> counts = ModuleCounts(argc, argv);
    if (Reset(counts.front()) != "OK") {
        std::fprintf(stderr, "rows_bench: the simulator does not answer\n");
        return 1;
    }
    kltest::ProgramProcess program;
    HWND list = program.Start(kltest::OwnFolder() + kltest::kProgramFile) ? program.WaitForModuleList(kStartTimeoutMs)
                                                                         : nullptr;
    if (!list) {
        std::fprintf(stderr, "rows_bench: the program did not start\n");
        return 1;
    }
    HWND dialog = GetParent(list);
    // Answers to the start-up scan must not be counted in the first run.
    WaitUntilQuiet(list);
    for (int modules : counts) {
        if (Reset(modules) != "OK") return 1;
        const Result result = TimeScan(dialog, list, modules);
        std::printf("modules %d rows %d click handled %.1f ms first row %.1f ms last row %.1f ms\n", modules,
                    result.rows, result.clickMilliseconds, result.firstMilliseconds, result.milliseconds);
        std::fflush(stdout);
    }
    return 0;
}
