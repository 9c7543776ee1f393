// Reads the main dialog's module list from inside the process.
#ifndef KL_TESTS_LIST_PROBE_H
#define KL_TESTS_LIST_PROBE_H

#include <windows.h>

#include <string>

namespace kltest {

HWND ListOf(HWND dialog);
int RowCount(HWND dialog);
std::string Cell(HWND dialog, int row, int column);
// Pumps messages until count rows are listed, then a little longer so that
// late or duplicate answers would show; true when exactly count remain.
bool WaitForRows(HWND dialog, int count);
// The text colour the list's custom-draw handler gives the row, asked
// through the dialog as the list asks while it paints; CLR_DEFAULT when the
// handler leaves the row alone.
COLORREF RowTextColor(HWND dialog, int row);

}  // namespace kltest

#endif
