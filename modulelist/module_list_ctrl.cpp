#include "module_list_ctrl.h"

#include <cstring>

#include "configure_flow.h"
#include "module_row_texts.h"
#include "row_compare.h"

namespace {

char* HeapCopy(const char* text) {
    const std::size_t length = std::strlen(text);
    char* copy = new char[length + 1];
    std::memcpy(copy, text, length + 1);
    return copy;
}

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
