// CModuleListCtrl: the list of discovered modules. One row per MAC, a copy
// of every shown record in arrival order, and the MAC of the module last
// configured. Rows that share their IP address with another are drawn in
// dark red, rows of modules this computer cannot reach in grey. Its menu
// (module_list_menu.h) opens at a right-click, the menu key or Shift+F10;
// Ctrl+C copies every row.
#ifndef KL_MODULELIST_MODULE_LIST_CTRL_H
#define KL_MODULELIST_MODULE_LIST_CTRL_H

#include <initializer_list>
#include <optional>
#include <vector>

#include "arrow_header_ctrl.h"
#include "controls.h"
#include "ip_text_counts.h"
#include "vorn.h"
#include "workstation_subnets.h"

// Posted to the list itself when it stops drawing for a burst of rows.
constexpr UINT WM_RESUME_REDRAW = WM_APP + 1;

// A row's item data: a heap copy of each column's text, index = column.
struct ModuleRowData {
    char** texts;
};

class CModuleListCtrl : public CListCtrl {
public:
    CModuleListCtrl();
    ~CModuleListCtrl() override;

    BOOL SetupColumns(const CString& layout);
    // Adds a row unless a record with the same six MAC bytes is listed.
    void AddModule(const VORN_ModuleScanResponseType& record);
    void RemoveAllModules();
    void GetLastConfiguredMac(BYTE mac[VORN_MAC_SIZE]) const;
    // Names the module a configure request is about to go to.
    void SetLastConfiguredMac(const BYTE mac[VORN_MAC_SIZE]);
    // This computer's adapters as read at the latest scan; until they are
    // set, and while they could not be read, no row is marked unreachable.
    void SetWorkstationAdapters(const std::optional<std::vector<WorkstationAdapter>>& adapters);

    // Sorts by the column's texts and moves the header's arrow there.
    BOOL SortByColumn(int column, BOOL ascending);
    // Sorts again by the current column and direction.
    BOOL Resort();
    // The list view's sort callback; list is this object.
    static int CALLBACK CompareRows(LPARAM data1, LPARAM data2, LPARAM list);

    const std::vector<VORN_ModuleScanResponseType>& Modules() const { return modules; }
    int ColumnCount() const { return columnCount; }
    // The row's own copies of its column texts; row must be listed.
    const char* const* RowTexts(int row) const { return rowsInOrder[static_cast<std::size_t>(row)]->texts; }
    // The row showing this MAC text, or -1.
    int FindRowOfMac(const char* macText) const;
    const std::vector<WorkstationAdapter>& Adapters() const { return adapters; }
    // A listed row with an address that no adapter's subnet holds as the
    // module's own mask would have it.
    bool IsUnreachableRow(int row) const;

    // What "Copy all" puts on the clipboard: the heading line, then every
    // row in the list's current order.
    CString AllRowsText() const;
    // What "Copy row" puts on the clipboard: the row's line alone.
    CString RowText(int row) const;

    // The text colour of a row whose IP address another row shows too.
    static constexpr COLORREF kConflictTextColor = RGB(139, 0, 0);

protected:
    void PreSubclassWindow() override;
    void OnDestroy();
    // A heading click sorts by that column; again on the same one reverses.
    void OnColumnClick(NMHDR* notify, LRESULT* result);
    // A double-click anywhere along a row opens that module's configuration.
    void OnLButtonDblClk(UINT flags, CPoint point);

    // Inserts a row with one text per column at its place in the current
    // order and returns its index; texts missing for a column leave it
    // empty and extra ones are ignored. -1 without columns.
    int InsertRowInOrder(std::initializer_list<const char*> texts);
    // Heap copies, one per column, freed by FreeRowTexts.
    char** CopyRowTexts(std::initializer_list<const char*> texts) const;
    void FreeRowTexts(char** texts) const;
    // Where a new row belongs: after every listed row that does not sort
    // after it.
    int RowInOrder(const ModuleRowData& newRow) const;
    void ReadRowOrder();
    void FreeAllRowData();
    // Stops the list drawing until the answers queued now are listed.
    void HoldRedraw();
    LRESULT OnResumeRedraw(WPARAM, LPARAM);

    // The menu for the row under the cursor or the selected row.
    void OnContextMenu(HWND window, CPoint point);
    int ContextMenuRow(CPoint& point) const;
    bool IsUnreachable(const ModuleRowData& row) const;
    // Ctrl+C copies every row.
    void OnKeyDown(NMHDR* notify, LRESULT* result);
    // Conflicting rows get the conflict colour; the counts are taken afresh
    // at the start of each paint, so they always match the rows' texts.
    void OnCustomDraw(NMHDR* notify, LRESULT* result);
    void CountIpTexts();
    std::vector<CString> HeadingTexts() const;

    std::vector<VORN_ModuleScanResponseType> modules;
    IpTextCounts ipTextCounts;
    std::vector<WorkstationAdapter> adapters;
    bool adaptersKnown = false;
    // Before the first configure request: a MAC that no module reports.
    BYTE lastConfiguredMac[VORN_MAC_SIZE] = {0, 0, 0, 0, 0, 0};
    int columnCount = 0;
    int sortColumn = 0;
    CArrowHeaderCtrl header;
    BOOL sortAscending = TRUE;
    // Every row's item data, in row order.
    std::vector<ModuleRowData*> rowsInOrder;
    BOOL redrawHeld = FALSE;

    DECLARE_MESSAGE_MAP()
};

#endif
