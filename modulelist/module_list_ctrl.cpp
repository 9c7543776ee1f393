#include "module_list_ctrl.h"

#include <cstring>

#include "clipboard.h"
#include "configure_flow.h"
#include "menu.h"
#include "module_row_texts.h"
#include "row_compare.h"

namespace {

char* HeapCopy(const char* text) {
    const std::size_t length = std::strlen(text);
    char* copy = new char[length + 1];
    std::memcpy(copy, text, length + 1);
    return copy;
}

constexpr UINT kCopyRowCommand = 1;
constexpr UINT kCopyAllCommand = 2;
constexpr int kIpColumn = 0;

// The platform's locale-aware comparison under the portable signature
// (lstrcmpA's own calling convention differs on 32-bit Windows).
int PlatformCompare(const char* first, const char* second) { return lstrcmpA(first, second); }

// The row's text in the column; a row without texts (not expected: every
// row gets them when appended) or a column beyond them sorts as "".
const char* SortText(LPARAM data, int column, int columnCount) {
    const ModuleRowData* row = reinterpret_cast<const ModuleRowData*>(data);
    if (!row || column < 0 || column >= columnCount) return "";
    return row->texts[column];
}

}  // namespace

BEGIN_MESSAGE_MAP(CModuleListCtrl, CListCtrl)
ON_WM_LBUTTONDBLCLK()
ON_NOTIFY_REFLECT(LVN_COLUMNCLICK, OnColumnClick)
ON_WM_DESTROY()
ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
ON_NOTIFY_REFLECT(LVN_KEYDOWN, OnKeyDown)
ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

CModuleListCtrl::CModuleListCtrl() = default;

CModuleListCtrl::~CModuleListCtrl() { modules.clear(); }

void CModuleListCtrl::PreSubclassWindow() {
    CListCtrl::PreSubclassWindow();
    header.SubclassWindow(GetHeaderCtrl());
}

BOOL CModuleListCtrl::SetupColumns(const CString& layout) {
    for (const ColumnLayout& column : ParseColumnLayout(layout)) {
        const int index = columnCount++;
        if (InsertColumn(index, column.heading, LVCFMT_LEFT, column.width) == -1) return FALSE;
    }
    return TRUE;
}

void CModuleListCtrl::AddModule(const VORN_ModuleScanResponseType& record) {
    for (auto it = modules.rbegin(); it != modules.rend(); ++it) {
        if (std::memcmp(it->macId, record.macId, VORN_MAC_SIZE) == 0) return;
    }
    modules.push_back(record);
    const std::array<CString, kModuleColumnCount> t = ModuleRowTexts(record);
    AppendRow({t[0], t[1], t[2], t[3], t[4], t[5], t[6]});
    // A new module takes its place in the current order at once.
    header.ShowSortIndicator(sortColumn, sortAscending);
    Resort();
}

int CModuleListCtrl::AppendRow(std::initializer_list<const char*> texts) {
    if (columnCount <= 0) return -1;
    const int row = InsertItem(GetItemCount(), texts.size() > 0 ? *texts.begin() : "");
    if (row == -1) return -1;
    char** copies = new char*[static_cast<std::size_t>(columnCount)];
    const char* const* text = texts.begin();
    for (int column = 0; column < columnCount; ++column) {
        const char* value = static_cast<std::size_t>(column) < texts.size() ? text[column] : "";
        if (column > 0) SetItemText(row, column, value);
        copies[column] = HeapCopy(value);
    }
    AttachRowData(row, copies);
    return row;
}

void CModuleListCtrl::AttachRowData(int row, char** texts) {
    SetItemData(row, reinterpret_cast<DWORD_PTR>(new ModuleRowData{texts}));
}

void CModuleListCtrl::FreeRowData(int row) {
    ModuleRowData* data = reinterpret_cast<ModuleRowData*>(GetItemData(row));
    if (!data) return;
    for (int column = 0; column < columnCount; ++column) delete[] data->texts[column];
    delete[] data->texts;
    delete data;
    SetItemData(row, 0);
}

void CModuleListCtrl::RemoveAllModules() {
    for (int row = 0; row < GetItemCount(); ++row) FreeRowData(row);
    modules.clear();
    DeleteAllItems();
}

// Rows still listed when the window goes are freed with it.
void CModuleListCtrl::OnDestroy() {
    for (int row = 0; row < GetItemCount(); ++row) FreeRowData(row);
    Default();
}

void CModuleListCtrl::OnLButtonDblClk(UINT, CPoint point) {
    Default();
    // Hit-testing at the left edge finds the row from any column, and from
    // the empty space right of the last one.
    const int row = HitTest(CPoint(2, point.y));
    if (row != -1) ConfigureModule(*this, row);
}

void CModuleListCtrl::OnColumnClick(NMHDR* notify, LRESULT* result) {
    const int column = reinterpret_cast<NMLISTVIEW*>(notify)->iSubItem;
    const BOOL ascending = column == sortColumn ? !sortAscending : TRUE;
    SortByColumn(column, ascending);
    *result = 0;
}

BOOL CModuleListCtrl::SortByColumn(int column, BOOL ascending) {
    sortAscending = ascending;
    sortColumn = column;
    header.ShowSortIndicator(sortColumn, sortAscending);
    return Resort();
}

BOOL CModuleListCtrl::Resort() { return SortItems(&CModuleListCtrl::CompareRows, reinterpret_cast<LPARAM>(this)); }

int CALLBACK CModuleListCtrl::CompareRows(LPARAM data1, LPARAM data2, LPARAM list) {
    const CModuleListCtrl* self = reinterpret_cast<const CModuleListCtrl*>(list);
    const char* t1 = SortText(data1, self->sortColumn, self->columnCount);
    const char* t2 = SortText(data2, self->sortColumn, self->columnCount);
    return CompareRowTexts(t1, t2, self->sortAscending != FALSE, &PlatformCompare);
}

void CModuleListCtrl::GetLastConfiguredMac(BYTE mac[VORN_MAC_SIZE]) const {
    std::memcpy(mac, lastConfiguredMac, VORN_MAC_SIZE);
}

void CModuleListCtrl::SetLastConfiguredMac(const BYTE mac[VORN_MAC_SIZE]) {
    std::memcpy(lastConfiguredMac, mac, VORN_MAC_SIZE);
}

std::vector<CString> CModuleListCtrl::HeadingTexts() const {
    std::vector<CString> headings;
    for (int column = 0; column < columnCount; ++column) {
        char heading[256] = "";
        LVCOLUMNA info = {};
        info.mask = LVCF_TEXT;
        info.pszText = heading;
        info.cchTextMax = sizeof heading;
        SendMessage(LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
        headings.push_back(heading);
    }
    return headings;
}

CString CModuleListCtrl::RowText(int row) const {
    std::vector<CString> cells;
    for (int column = 0; column < columnCount; ++column) cells.push_back(GetItemText(row, column));
    return CopyLine(cells);
}

CString CModuleListCtrl::AllRowsText() const {
    CString text = CopyLine(HeadingTexts());
    for (int row = 0; row < GetItemCount(); ++row) text += RowText(row);
    return text;
}

void CModuleListCtrl::OnContextMenu(HWND, CPoint point) {
    int row = -1;
    if (point.x == -1 && point.y == -1) {
        // From the keyboard: the selected row, the menu at its left end.
        row = static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
        RECT bounds = {LVIR_BOUNDS, 0, 0, 0};
        if (row == -1 || !SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&bounds))) {
            bounds = {0, 0, 0, 0};
        }
        point = CPoint(bounds.left, bounds.bottom);
        ::ClientToScreen(m_hWnd, &point);
    } else {
        POINT client = point;
        ::ScreenToClient(m_hWnd, &client);
        // As for a double-click: the row from any column.
        row = HitTest(CPoint(2, client.y));
    }
    CMenu menu;
    if (!menu.CreatePopupMenu()) return;
    if (row != -1) menu.AppendMenu(MF_STRING, kCopyRowCommand, "Copy row");
    menu.AppendMenu(MF_STRING, kCopyAllCommand, "Copy all");
    const int command = menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, point.x,
                                            point.y, m_hWnd);
    if (command == kCopyRowCommand) CopyTextToClipboard(m_hWnd, RowText(row));
    if (command == kCopyAllCommand) CopyTextToClipboard(m_hWnd, AllRowsText());
}

void CModuleListCtrl::OnKeyDown(NMHDR* notify, LRESULT* result) {
    const NMLVKEYDOWN* key = reinterpret_cast<const NMLVKEYDOWN*>(notify);
    if (key->wVKey == 'C' && ::GetKeyState(VK_CONTROL) < 0) CopyTextToClipboard(m_hWnd, AllRowsText());
    *result = 0;
}

void CModuleListCtrl::OnCustomDraw(NMHDR* notify, LRESULT* result) {
    NMLVCUSTOMDRAW* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(notify);
    *result = CDRF_DODEFAULT;
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
        CountIpTexts();
        *result = CDRF_NOTIFYITEMDRAW;
    } else if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
        const int row = static_cast<int>(draw->nmcd.dwItemSpec);
        if (ipTextCounts.IsShared(GetItemText(row, kIpColumn))) {
            draw->clrText = kConflictTextColor;
            *result = CDRF_NEWFONT;
        }
    }
}

void CModuleListCtrl::CountIpTexts() {
    ipTextCounts.Clear();
    for (int row = 0; row < GetItemCount(); ++row) ipTextCounts.Add(GetItemText(row, kIpColumn));
}
