#include "module_list_ctrl.h"

#include <algorithm>
#include <cstring>

#include "clipboard.h"
#include "configure_flow.h"
#include "gdi.h"
#include "module_list_menu.h"
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

// Layout widths are pixels at 96 DPI; -1 leaves the width to the list view.
int ColumnWidth(int layoutWidth) { return layoutWidth > 0 ? ScaleToSystemDpi(layoutWidth) : layoutWidth; }

}  // namespace

BEGIN_MESSAGE_MAP(CModuleListCtrl, CListCtrl)
ON_WM_LBUTTONDBLCLK()
ON_NOTIFY_REFLECT(LVN_COLUMNCLICK, OnColumnClick)
ON_WM_DESTROY()
ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
ON_NOTIFY_REFLECT(LVN_KEYDOWN, OnKeyDown)
ON_WM_CONTEXTMENU()
ON_MESSAGE(WM_RESUME_REDRAW, OnResumeRedraw)
END_MESSAGE_MAP()

CModuleListCtrl::CModuleListCtrl() = default;

CModuleListCtrl::~CModuleListCtrl() {
    if (struckFont) ::DeleteObject(struckFont);
}

void CModuleListCtrl::PreSubclassWindow() {
    CListCtrl::PreSubclassWindow();
    header.SubclassWindow(GetHeaderCtrl());
}

BOOL CModuleListCtrl::SetupColumns(const CString& layout) {
    for (const ColumnLayout& column : ParseColumnLayout(layout)) {
        const int index = columnCount++;
        if (InsertColumn(index, column.heading, LVCFMT_LEFT, ColumnWidth(column.width)) == -1) return FALSE;
    }
    return TRUE;
}

// A full store turns the answer away without a word: the first MACs stay
// listed and the store counts the others.
void CModuleListCtrl::AddModule(const VORN_ModuleScanResponseType& record) {
    if (!modules.Add(record)) return;
    const std::array<CString, kModuleColumnCount> t = ModuleRowTexts(record);
    // Only sorting moves the arrow, and sorting shows it: once the first
    // row has put it up, it stands where every later row would put it.
    if (rowsInOrder.empty()) header.ShowSortIndicator(sortColumn, sortAscending);
    HoldRedraw();
    // A record without a row would turn the module's later answers away
    // as duplicates until the next scan.
    if (InsertRowInOrder({t[0], t[1], t[2], t[3], t[4], t[5], t[6]}, RecordKey(record), record.macIdValid != 0) ==
        -1) {
        modules.Remove(RecordKey(record));
    }
}

// A new module takes its place in the current order at once. The rows
// listed are in that order already, so one search and one insert put it
// where a full sort would, without sorting them all again.
int CModuleListCtrl::InsertRowInOrder(std::initializer_list<const char*> texts, std::uint64_t key, bool hasMac) {
    if (columnCount <= 0) return -1;
    ModuleRowData* data = new ModuleRowData{CopyRowTexts(texts), key, hasMac, RowPresence()};
    const int row = InsertRowData(data, RowInOrder(*data));
    if (row == -1) {
        FreeRowData(data);
        return -1;
    }
    rowOfMac[data->macKey] = data;
    if (hasMac) ++macRows;
    return row;
}

int CModuleListCtrl::InsertRowData(ModuleRowData* data, int place) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = place;
    item.pszText = data->texts[0];
    item.lParam = reinterpret_cast<LPARAM>(data);
    rowsInOrder.insert(rowsInOrder.begin() + place, data);
    const int row = InsertItem(&item);
    if (row == -1) {
        rowsInOrder.erase(rowsInOrder.begin() + place);
        return -1;
    }
    for (int column = 1; column < columnCount; ++column) SetItemText(row, column, data->texts[column]);
    return row;
}

void CModuleListCtrl::FreeRowData(ModuleRowData* data) const {
    FreeRowTexts(data->texts);
    delete data;
}

// A module that answered again is marked present; its row is touched only
// when what it shows changes, so a steady list is never drawn again.
void CModuleListCtrl::TakeLiveAnswer(const VORN_ModuleScanResponseType& record) {
    const auto listed = rowOfMac.find(RecordKey(record));
    if (listed == rowOfMac.end()) {
        AddModule(record);
        const auto added = rowOfMac.find(RecordKey(record));
        if (added != rowOfMac.end()) added->second->presence.answered = true;
        return;
    }
    modules.Replace(record);
    ModuleRowData& data = *listed->second;
    const bool wasMissing = NoteAnswer(data.presence);
    if (wasMissing) --missingRows;
    ShowAnswer(data, ModuleRowTexts(record), wasMissing);
}

void CModuleListCtrl::ShowAnswer(ModuleRowData& data, const std::array<CString, kModuleColumnCount>& texts,
                                 bool wasMissing) {
    const AnswerChange change = ChangeOfAnswer(data.texts, texts, sortColumn);
    if (change == AnswerChange::kNone && !wasMissing) return;
    const int row = RowOfData(&data);
    for (int column = 0; column < columnCount && column < kModuleColumnCount; ++column) {
        const char* text = texts[static_cast<std::size_t>(column)];
        if (std::strcmp(data.texts[column], text) == 0) continue;
        delete[] data.texts[column];
        data.texts[column] = HeapCopy(text);
        SetItemText(row, column, text);
    }
    if (change == AnswerChange::kPlace) {
        MoveRowToItsPlace(row);
    } else if (wasMissing) {
        RedrawRow(row);
    }
}

int CModuleListCtrl::RowOfData(const ModuleRowData* data) const {
    return static_cast<int>(std::find(rowsInOrder.begin(), rowsInOrder.end(), data) - rowsInOrder.begin());
}

// Only this row moves; it keeps its selection and focus.
void CModuleListCtrl::MoveRowToItsPlace(int row) {
    ModuleRowData* data = rowsInOrder[static_cast<std::size_t>(row)];
    rowsInOrder.erase(rowsInOrder.begin() + row);
    const int place = RowInOrder(*data);
    if (place == row) {
        rowsInOrder.insert(rowsInOrder.begin() + row, data);
        RedrawRow(row);
        return;
    }
    const UINT kept = LVIS_SELECTED | LVIS_FOCUSED;
    const UINT state = static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(row), kept));
    SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(row));
    const int moved = InsertRowData(data, place);
    if (moved == -1) {
        ForgetRow(data);
        return;
    }
    LVITEMA item = {};
    item.stateMask = kept;
    item.state = state;
    SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(moved), reinterpret_cast<LPARAM>(&item));
}

// For a row that is no longer listed.
void CModuleListCtrl::ForgetRow(ModuleRowData* data) {
    rowOfMac.erase(data->macKey);
    modules.Remove(data->macKey);
    if (data->hasMac) --macRows;
    if (IsMissing(data->presence)) --missingRows;
    FreeRowData(data);
}

void CModuleListCtrl::RedrawRow(int row) {
    SendMessage(LVM_REDRAWITEMS, static_cast<WPARAM>(row), static_cast<LPARAM>(row));
}

void CModuleListCtrl::CloseLiveRound() {
    for (int row = static_cast<int>(rowsInOrder.size()) - 1; row >= 0; --row) {
        ModuleRowData& data = *rowsInOrder[static_cast<std::size_t>(row)];
        switch (CloseRound(data.presence, data.hasMac)) {
        case RoundEnd::kNowMissing:
            ++missingRows;
            RedrawRow(row);
            break;
        case RoundEnd::kDropped:
            SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(row));
            rowsInOrder.erase(rowsInOrder.begin() + row);
            ForgetRow(&data);
            break;
        case RoundEnd::kUnchanged:
            break;
        }
    }
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
// When the message cannot be posted (the thread's queue is full), nothing
// is held: without it the list would never draw again.
void CModuleListCtrl::HoldRedraw() {
    if (redrawHeld || !PostMessage(WM_RESUME_REDRAW)) return;
    redrawHeld = TRUE;
    SendMessage(WM_SETREDRAW, FALSE);
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
    for (ModuleRowData* data : rowsInOrder) FreeRowData(data);
    rowsInOrder.clear();
    rowOfMac.clear();
    macRows = 0;
    missingRows = 0;
}

void CModuleListCtrl::RemoveAllModules() {
    DeleteAllItems();
    FreeAllRowData();
    modules.Clear();
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

// While the list is live its rows stay: when the subnets changed, or
// whether they are known, the grey marks are drawn again; otherwise nothing is.
void CModuleListCtrl::SetWorkstationAdapters(
    const std::optional<std::vector<WorkstationAdapter>>& workstationAdapters) {
    const std::vector<WorkstationAdapter> known = workstationAdapters.value_or(std::vector<WorkstationAdapter>());
    const auto sameSubnet = [](const WorkstationAdapter& a, const WorkstationAdapter& b) {
        return a.address == b.address && a.prefixLength == b.prefixLength;
    };
    const bool sameSubnets = adaptersKnown == workstationAdapters.has_value() &&
                             std::equal(adapters.begin(), adapters.end(), known.begin(), known.end(), sameSubnet);
    adapters = known;
    adaptersKnown = workstationAdapters.has_value();
    if (!sameSubnets && !rowsInOrder.empty()) Invalidate(FALSE);
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

// The row showing this MAC text, or -1; from rowsInOrder, whose order is
// the rows' order.
int CModuleListCtrl::FindRowOfMac(const char* macText) const {
    for (std::size_t row = 0; row < rowsInOrder.size(); ++row) {
        if (std::strcmp(rowsInOrder[row]->texts[kMacColumn], macText) == 0) return static_cast<int>(row);
    }
    return -1;
}

void CModuleListCtrl::OnContextMenu(HWND, CPoint point) {
    int row = ContextMenuRow(point);
    if (row >= static_cast<int>(rowsInOrder.size())) row = -1;
    CModuleListMenu menu(*this);
    menu.Run(row, point);
}

// The row the menu is for, and where the menu opens (screen coordinates):
// from the keyboard (-1, -1) the selected row, the menu at its left end;
// from the mouse the row under the cursor, found from any column as a
// double-click finds it.
int CModuleListCtrl::ContextMenuRow(CPoint& point) const {
    if (point.x != -1 || point.y != -1) {
        POINT client = point;
        ::ScreenToClient(m_hWnd, &client);
        return HitTest(CPoint(2, client.y));
    }
    const int row = static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    RECT bounds = {LVIR_BOUNDS, 0, 0, 0};
    if (row == -1 || !SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&bounds))) {
        bounds = {0, 0, 0, 0};
    }
    point = CPoint(bounds.left, bounds.bottom);
    ::ClientToScreen(m_hWnd, &point);
    return row;
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
        const ModuleRowData* row = reinterpret_cast<const ModuleRowData*>(draw->nmcd.lItemlParam);
        // A conflict is the graver news: it wins over the grey.
        if (row && ipTextCounts.IsShared(row->texts[kIpColumn], row->texts[kMacColumn])) {
            draw->clrText = kConflictTextColor;
            *result = CDRF_NEWFONT;
        } else if (row && IsUnreachable(*row)) {
            draw->clrText = ::GetSysColor(COLOR_GRAYTEXT);
            *result = CDRF_NEWFONT;
        }
        HFONT struck = row && IsMissing(row->presence) ? StruckFont() : nullptr;
        if (struck) {
            ::SelectObject(draw->nmcd.hdc, struck);
            *result = CDRF_NEWFONT;
        }
    }
}

HFONT CModuleListCtrl::StruckFont() {
    if (struckFont) return struckFont;
    HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    LOGFONTA face = {};
    if (!::GetObjectA(font ? font : ::GetStockObject(DEFAULT_GUI_FONT), sizeof face, &face)) return nullptr;
    face.lfStrikeOut = TRUE;
    struckFont = ::CreateFontIndirectA(&face);
    return struckFont;
}

// From the row's own texts, at each paint, so the mark always matches what
// the row shows; a row whose address reads "N/A" is not marked.
bool CModuleListCtrl::IsUnreachableRow(int row) const { return IsUnreachable(*rowsInOrder[static_cast<std::size_t>(row)]); }

bool CModuleListCtrl::IsUnreachable(const ModuleRowData& row) const {
    std::uint32_t ip = 0;
    std::optional<std::uint32_t> mask;
    return adaptersKnown && ReadRowAddresses(row.texts[kIpColumn], row.texts[kSubnetMaskColumn], ip, mask) &&
           !IsReachable(adapters, ip, mask);
}

// From the rows' own copies of their texts: asking the control costs a
// message per row, and this runs at every paint.
void CModuleListCtrl::CountIpTexts() {
    ipTextCounts.Clear();
    for (const ModuleRowData* row : rowsInOrder) ipTextCounts.Add(row->texts[kIpColumn], row->texts[kMacColumn]);
}
