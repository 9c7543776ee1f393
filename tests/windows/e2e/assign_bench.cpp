// "Assign addresses" benchmark, run under Wine on the test segment: the
// running program opens the dialog over N modules that reply at once, and
// the benchmark times how long the preview takes to follow one keystroke in
// the first address, and the run from the click on "Assign" until every row
// reads "verified" (the probe for taken addresses, one request after
// another, the verifying scans). Arguments: the module counts (default 24
// 250).
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "list_rows.h"
#include "program_process.h"
#include "sim_control.h"

namespace {

using kltest::SetIpField;
using kltest::WindowText;
using kltest::kAssignAddressesCommand;
using kltest::kBatchAssignId;
using kltest::kBatchColumns;
using kltest::kBatchFirstId;
using kltest::kBatchGatewayId;
using kltest::kBatchListId;
using kltest::kBatchMaskId;
using kltest::kBatchResultColumn;
using kltest::kBatchSaveRecordId;
using kltest::kBatchStatusId;

constexpr DWORD kStartTimeoutMs = 15000;
constexpr DWORD kAnswerTimeoutMs = 5000;
constexpr DWORD kRunTimeoutMs = 120000;
// The address control's last field: its rightmost edit.
HWND LastField(HWND control) {
    HWND last = nullptr;
    RECT lastRect = {};
    for (HWND edit = FindWindowExA(control, nullptr, "Edit", nullptr); edit;
         edit = FindWindowExA(control, edit, "Edit", nullptr)) {
        RECT rect;
        GetWindowRect(edit, &rect);
        if (!last || rect.left > lastRect.left) {
            last = edit;
            lastRect = rect;
        }
    }
    return last;
}

// One keystroke in the first address's last field, as typed: it returns
// once the dialog has shown the new preview.
bool TypeIntoLastField(HWND dialog, char digit) {
    HWND field = LastField(GetDlgItem(dialog, kBatchFirstId));
    DWORD_PTR ignored = 0;
    return field &&
           SendMessageTimeoutA(field, EM_SETSEL, 0, -1, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &ignored) &&
           SendMessageTimeoutA(field, WM_CHAR, static_cast<WPARAM>(digit), 1, SMTO_ABORTIFHUNG, kAnswerTimeoutMs,
                               &ignored);
}

int VerifiedRows(HWND list) {
    std::vector<kltest::Row> rows;
    if (!kltest::ReadRows(list, rows, kBatchColumns)) return -1;
    int verified = 0;
    for (const kltest::Row& row : rows) verified += row.at(kBatchResultColumn) == "verified";
    return verified;
}

std::string Reset(int modules) {
    return kltest::Sim("reset --mac-base 02-00-00-00-01-01 --ip-base 192.168.1.100 --ip-step 0 --count " +
                       std::to_string(modules));
}

bool Fail(const char* step) {
    std::fprintf(stderr, "assign_bench: %s\n", step);
    return false;
}

// Scans, opens the dialog over every listed module, times the preview and
// the run, and closes the dialog; false when a step did not happen.
bool TimeAssign(HWND main, HWND list, DWORD processId, int modules) {
    if (Reset(modules) != "OK") return Fail("the simulator does not answer");
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(main, WM_COMMAND, MAKEWPARAM(kltest::kScanButtonId, BN_CLICKED),
                        reinterpret_cast<LPARAM>(GetDlgItem(main, kltest::kScanButtonId)), SMTO_ABORTIFHUNG,
                        kAnswerTimeoutMs, &ignored);
    if (!kltest::WaitUntil([&] { return kltest::RowCount(list) == modules; }, kAnswerTimeoutMs)) {
        return Fail("the scan did not list every module");
    }
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(kAssignAddressesCommand, 0), 0);
    HWND dialog = nullptr;
    HWND rows = nullptr;
    if (!kltest::WaitUntil(
            [&] {
                dialog = kltest::FindDialog("Assign addresses", processId);
                return dialog && kltest::RowCount(rows = GetDlgItem(dialog, kBatchListId)) == modules;
            },
            kAnswerTimeoutMs)) {
        return Fail("the dialog did not open with every module");
    }
    SetIpField(dialog, kBatchMaskId, MAKEIPADDRESS(255, 255, 0, 0), kAnswerTimeoutMs);
    SetIpField(dialog, kBatchGatewayId, 0, kAnswerTimeoutMs);
    if (!SetIpField(dialog, kBatchFirstId, MAKEIPADDRESS(10, 20, 0, 9), kAnswerTimeoutMs)) {
        return Fail("the dialog does not answer");
    }
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (!TypeIntoLastField(dialog, '1')) return Fail("the first address's field does not answer");
    const double preview = kltest::MillisecondsSince(start);
    if (!IsWindowEnabled(GetDlgItem(dialog, kBatchAssignId))) {
        return Fail(("\"Assign\" is greyed: " + WindowText(GetDlgItem(dialog, kBatchStatusId))).c_str());
    }
    QueryPerformanceCounter(&start);
    kltest::PostClick(dialog, kBatchAssignId);
    const bool done = kltest::WaitUntil(
        [&] { return IsWindowEnabled(GetDlgItem(dialog, kBatchSaveRecordId)) && VerifiedRows(rows) >= 0; },
        kRunTimeoutMs);
    const double run = kltest::MillisecondsSince(start);
    std::printf("assign %d modules: preview follows a keystroke in the first address in %.1f ms; Assign to the "
                "end of the run "
                "%.0f ms, %d verified\n",
                modules, preview, run, done ? VerifiedRows(rows) : -1);
    std::fflush(stdout);
    kltest::PostClick(dialog, IDCANCEL);
    return done && kltest::WaitUntil([&] { return !kltest::FindDialog("Assign addresses", processId); },
                                     kAnswerTimeoutMs);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
    if (counts.empty()) counts = {24, 250};
    if (Reset(counts.front()) != "OK") {
        std::fprintf(stderr, "assign_bench: the simulator does not answer\n");
        return 1;
    }
    kltest::ProgramProcess program;
    HWND list = program.Start(kltest::OwnFolder() + kltest::kProgramFile) ? program.WaitForModuleList(kStartTimeoutMs)
                                                                         : nullptr;
    if (!list) {
        std::fprintf(stderr, "assign_bench: the program did not start\n");
        return 1;
    }
    for (int modules : counts) {
        if (!TimeAssign(GetParent(list), list, program.Id(), modules)) {
            std::fprintf(stderr, "assign_bench: the run over %d modules did not complete\n", modules);
            return 1;
        }
    }
    return 0;
}
