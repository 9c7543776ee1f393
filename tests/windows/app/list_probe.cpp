#include "list_probe.h"

#include <commctrl.h>

#include "modal_script.h"

namespace kltest {

HWND ListOf(HWND dialog) { return GetDlgItem(dialog, 1002); }

int RowCount(HWND dialog) { return static_cast<int>(SendMessageA(ListOf(dialog), LVM_GETITEMCOUNT, 0, 0)); }

std::string Cell(HWND dialog, int row, int column) {
    char text[256] = "";
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(ListOf(dialog), LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

bool WaitForRows(HWND dialog, int count) {
    const bool reached = PumpUntil([&] { return RowCount(dialog) >= count; });
    PumpFor(200);
    return reached && RowCount(dialog) == count;
}

}  // namespace kltest
