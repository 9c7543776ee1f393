// Reads the module list of a running "Kelvara Lanwise" from another
// process, as a user's eye would see it: the rows and their cell texts.
#ifndef KL_TESTS_E2E_LIST_ROWS_H
#define KL_TESTS_E2E_LIST_ROWS_H

#include <windows.h>

#include <string>
#include <vector>

namespace kltest {

// One list row: the cell texts, column 0 (IP) to column 6 (MAC).
using Row = std::vector<std::string>;

constexpr char kDialogClass[] = "#32770";
constexpr char kMainCaption[] = "Kelvara Lanwise";
constexpr int kModuleListId = 1002;
constexpr int kScanButtonId = 1000;
// The menu's "Keep scanning", as the list sends it to the main dialog.
constexpr int kKeepScanningCommand = 32773;
constexpr int kColumnCount = 7;

// "Assign addresses" (batch/): the menu's commands that reach the main
// dialog, the dialog's caption, controls and columns.
constexpr int kAssignAddressesCommand = 32771;
constexpr int kSaveListCommand = 32772;
constexpr char kAssignCaption[] = "Assign addresses";
constexpr int kBatchListId = 1020;
constexpr int kBatchStatusId = 1022;
constexpr int kBatchFirstId = 1023;
constexpr int kBatchMaskId = 1024;
constexpr int kBatchGatewayId = 1025;
constexpr int kBatchPasswordId = 1027;
constexpr int kBatchApplyPlanId = 1028;
constexpr int kBatchAssignId = 1029;
constexpr int kBatchSaveRecordId = 1031;
constexpr int kBatchColumns = 5;
constexpr int kBatchNewIpColumn = 3;
constexpr int kBatchResultColumn = 4;

std::string WindowText(HWND window);
// Sets the IP address control id of dialog; sent, not posted, so it
// returns once the dialog has taken the change. False when it hangs.
bool SetIpField(HWND dialog, int id, DWORD address, DWORD timeoutMs);

// Moves this thread to the named desktop (a Wine virtual desktop, say):
// windows are found only on the finder's own desktop. Call it before this
// thread owns any window.
bool UseDesktop(const char* name);

// The first top-level dialog window with this caption; processId 0 accepts
// any process. Hidden windows count: a dialog exists before it is shown.
HWND FindDialog(const char* caption, DWORD processId = 0);

// The module list (child 1002) of the main dialog, or nullptr.
HWND FindModuleList(DWORD processId = 0);

// The list's item count, or -1 when the list does not answer.
int RowCount(HWND list);

// Double-clicks a row as a user would, posted at the row's middle; false
// when the row's place could not be read.
bool DoubleClickRow(HWND list, int row);

// Reads every row; false when the list's process could not be reached or
// a cell could not be read. Rows may change meanwhile: read a settled list.
// columns: how many cells per row are read.
bool ReadRows(HWND list, std::vector<Row>& rows, int columns = kColumnCount);

// Makes row the list's one selected row, as a click on it does.
bool SelectRow(HWND list, int row);

// Ticks or clears a row's check box, as a click on it would; false when
// the list did not answer (true when it refused the change).
bool SetRowChecked(HWND list, int row, bool checked);

}  // namespace kltest

#endif
