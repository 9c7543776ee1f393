#include "controls.h"

#include <vector>

BOOL CHeaderCtrl::GetItem(int index, HDITEMA* item) const {
    return static_cast<BOOL>(SendMessage(HDM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item)));
}

BOOL CHeaderCtrl::SetItem(int index, HDITEMA* item) {
    return static_cast<BOOL>(SendMessage(HDM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item)));
}

int CHeaderCtrl::GetItemCount() const { return static_cast<int>(SendMessage(HDM_GETITEMCOUNT)); }

bool CHeaderCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, result);
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    *result = TRUE;
    return true;
}

int CListCtrl::InsertColumn(int column, const char* heading, int format, int width) {
    LVCOLUMNA lvc = {};
    lvc.mask = LVCF_FMT | LVCF_TEXT | LVCF_SUBITEM;
    lvc.fmt = format;
    lvc.pszText = const_cast<char*>(heading);
    lvc.iSubItem = column;
    if (width != -1) {
        lvc.mask |= LVCF_WIDTH;
        lvc.cx = width;
    }
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&lvc)));
}

int CListCtrl::InsertItem(int item, const char* text) {
    LVITEMA lvi = {};
    lvi.mask = LVIF_TEXT;
    lvi.iItem = item;
    lvi.pszText = const_cast<char*>(text);
    return static_cast<int>(SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&lvi)));
}

int CListCtrl::InsertItem(const LVITEMA* item) {
    return static_cast<int>(SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(item)));
}

BOOL CListCtrl::SetItemText(int item, int subItem, const char* text) {
    LVITEMA lvi = {};
    lvi.mask = LVIF_TEXT;
    lvi.iItem = item;
    lvi.iSubItem = subItem;
    lvi.pszText = const_cast<char*>(text);
    return static_cast<BOOL>(SendMessage(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&lvi)));
}

// Asks with a growing buffer until the text fits.
CString CListCtrl::GetItemText(int item, int subItem) const {
    for (int size = 256;; size *= 4) {
        std::vector<char> buffer(static_cast<size_t>(size), '\0');
        LVITEMA lvi = {};
        lvi.iSubItem = subItem;
        lvi.pszText = buffer.data();
        lvi.cchTextMax = size;
        const int length = static_cast<int>(
            SendMessage(LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lvi)));
        if (length < size - 1 || size >= (1 << 20)) return CString(buffer.data(), length);
    }
}

BOOL CListCtrl::SetItemData(int item, DWORD_PTR data) {
    LVITEMA lvi = {};
    lvi.mask = LVIF_PARAM;
    lvi.iItem = item;
    lvi.lParam = static_cast<LPARAM>(data);
    return static_cast<BOOL>(SendMessage(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&lvi)));
}

DWORD_PTR CListCtrl::GetItemData(int item) const {
    LVITEMA lvi = {};
    lvi.mask = LVIF_PARAM;
    lvi.iItem = item;
    if (!SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&lvi))) return 0;
    return static_cast<DWORD_PTR>(lvi.lParam);
}

int CListCtrl::GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }

BOOL CListCtrl::DeleteAllItems() { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }

int CListCtrl::HitTest(POINT point) const {
    LVHITTESTINFO info = {};
    info.pt = point;
    return static_cast<int>(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
}

HWND CListCtrl::GetHeaderCtrl() const { return reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER)); }

DWORD CListCtrl::SetExtendedStyle(DWORD style) {
    return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(style)));
}

BOOL CListCtrl::SortItems(PFNLVCOMPARE compare, LPARAM data) {
    return static_cast<BOOL>(SendMessage(LVM_SORTITEMS, static_cast<WPARAM>(data), reinterpret_cast<LPARAM>(compare)));
}

int CIPAddressCtrl::GetAddress(DWORD& address) const {
    return static_cast<int>(SendMessage(IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address)));
}
