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
