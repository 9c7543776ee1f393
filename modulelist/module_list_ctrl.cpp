#include "module_list_ctrl.h"

#include <algorithm>
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
ON_MESSAGE(WM_RESUME_REDRAW, OnResumeRedraw)
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
    // Only sorting moves the arrow, and sorting shows it: once the first
    // row has put it up, it stands where every later row would put it.
    if (rowsInOrder.empty()) header.ShowSortIndicator(sortColumn, sortAscending);
    HoldRedraw();
    InsertRowInOrder({t[0], t[1], t[2], t[3], t[4], t[5], t[6]});
}

// A new module takes its place in the current order at once. The rows
// listed are in that order already, so one search and one insert put it
// where a full sort would, without sorting them all again.
int CModuleListCtrl::InsertRowInOrder(std::initializer_list<const char*> texts) {
    if (columnCount <= 0) return -1;
    ModuleRowData* data = new ModuleRowData{CopyRowTexts(texts)};
    const int place = RowInOrder(*data);
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = place;
    item.pszText = data->texts[0];
    item.lParam = reinterpret_cast<LPARAM>(data);
    rowsInOrder.insert(rowsInOrder.begin() + place, data);
    const int row = InsertItem(&item);
    if (row == -1) {
        rowsInOrder.erase(rowsInOrder.begin() + place);
        FreeRowTexts(data->texts);
        delete data;
        return -1;
    }
    for (int column = 1; column < columnCount; ++column) SetItemText(row, column, data->texts[column]);
    return row;
}

char** CModuleListCtrl::CopyRowTexts(std::initializer_list<const char*> texts) const {
    char** copies = new char*[static_cast<std::size_t>(columnCount)];
    const char* const* text = texts.begin();
    for (int column = 0; column < columnCount; ++column) {
        copies[column] = HeapCopy(static_cast<std::size_t>(column) < texts.size() ? text[column] : "");
    }
    return copies;
}

void CModuleListCtrl::FreeRowTexts(char** texts) const {
    for (int column = 0; column < columnCount; ++column) delete[] texts[column];
    delete[] texts;
}

// The first row that sorts after the new one. Rows equal to it stay before
// it, as in a stable sort of the list with the new row appended. The
// listed row goes first into the comparison, as in the list view's own
// sort, which only ever compares an earlier row with a later one: that
// keeps the result the same even for the address-shaped texts whose
// comparison favours whichever comes first (a part above 255 at the same
// place in both). The rows are read from rowsInOrder, not the control:
// asking the control costs a message per step.
int CModuleListCtrl::RowInOrder(const ModuleRowData& newRow) const {
    const LPARAM self = reinterpret_cast<LPARAM>(this);
    const auto place = std::upper_bound(rowsInOrder.begin(), rowsInOrder.end(), &newRow,
                                        [self](const ModuleRowData* added, const ModuleRowData* listed) {
                                            return CompareRows(reinterpret_cast<LPARAM>(listed),
                                                               reinterpret_cast<LPARAM>(added), self) > 0;
                                        });
    return static_cast<int>(place - rowsInOrder.begin());
}

// Rows that come in a burst are drawn once, after the burst: the message
// that lets the list draw again waits behind the answers already queued.
// Rows that come one at a time are drawn one at a time, as before.
void CModuleListCtrl::HoldRedraw() {
    if (redrawHeld) return;
    redrawHeld = TRUE;
    SendMessage(WM_SETREDRAW, FALSE);
    PostMessage(WM_RESUME_REDRAW);
}

LRESULT CModuleListCtrl::OnResumeRedraw(WPARAM, LPARAM) {
    redrawHeld = FALSE;
    SendMessage(WM_SETREDRAW, TRUE);
    // As the documentation of WM_SETREDRAW asks; the list view may have
    // done so itself.
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    return 0;
}

// From rowsInOrder: asking the control for each row's data costs a
// message per row, which a list of hundreds feels on every rescan.
void CModuleListCtrl::FreeAllRowData() {
    for (ModuleRowData* data : rowsInOrder) {
        FreeRowTexts(data->texts);
        delete data;
    }
    rowsInOrder.clear();
}

void CModuleListCtrl::RemoveAllModules() {
    DeleteAllItems();
    FreeAllRowData();
    modules.clear();
}

// Rows still listed when the window goes are freed with it.
void CModuleListCtrl::OnDestroy() {
    Default();
    FreeAllRowData();
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

BOOL CModuleListCtrl::Resort() {
    const BOOL sorted = SortItems(&CModuleListCtrl::CompareRows, reinterpret_cast<LPARAM>(this));
    ReadRowOrder();
    return sorted;
}

// The order is the control's own after its sort; rows added later are
// placed against it.
void CModuleListCtrl::ReadRowOrder() {
    const int count = GetItemCount();
    rowsInOrder.resize(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row) rowsInOrder[row] = reinterpret_cast<ModuleRowData*>(GetItemData(row));
}

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
