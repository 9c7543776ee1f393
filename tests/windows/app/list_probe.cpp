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

COLORREF RowTextColor(HWND dialog, int row) {
    HWND list = ListOf(dialog);
    NMLVCUSTOMDRAW draw = {};
    draw.nmcd.hdr.hwndFrom = list;
    draw.nmcd.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list));
    draw.nmcd.hdr.code = NM_CUSTOMDRAW;
    draw.nmcd.dwDrawStage = CDDS_PREPAINT;
    const LRESULT wanted = SendMessageA(dialog, WM_NOTIFY, draw.nmcd.hdr.idFrom, reinterpret_cast<LPARAM>(&draw));
    if (!(wanted & CDRF_NOTIFYITEMDRAW)) return CLR_DEFAULT;
    draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
    // As the list view fills it: the row's item data.
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    draw.nmcd.lItemlParam = item.lParam;
    draw.clrText = CLR_DEFAULT;
    const LRESULT changed = SendMessageA(dialog, WM_NOTIFY, draw.nmcd.hdr.idFrom, reinterpret_cast<LPARAM>(&draw));
    return (changed & CDRF_NEWFONT) ? draw.clrText : CLR_DEFAULT;
}

}  // namespace kltest
