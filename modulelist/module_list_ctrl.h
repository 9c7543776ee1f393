// CModuleListCtrl: the list of discovered modules. One row per MAC, a copy
// of every shown record in arrival order (the first 4096 MACs), and the MAC
// of the module last configured. Rows that share their IP address with
// another are drawn in dark red, rows of modules this computer cannot reach
// in grey. While the list keeps scanning, answers update their rows in
// place and rows of modules that stopped answering are drawn struck
// through. Its menu (module_list_menu.h) opens at a right-click, the menu
// key or Shift+F10; Ctrl+C copies every row.
#ifndef KL_MODULELIST_MODULE_LIST_CTRL_H
#define KL_MODULELIST_MODULE_LIST_CTRL_H

#include <initializer_list>
#include <optional>
#include <unordered_map>
#include <vector>

#include "arrow_header_ctrl.h"
#include "controls.h"
#include "ip_text_counts.h"
#include "module_store.h"
#include "row_presence.h"
#include "vorn.h"
#include "workstation_subnets.h"

// Posted to the list itself when it stops drawing for a burst of rows.
constexpr UINT WM_RESUME_REDRAW = WM_APP + 1;

// A row's item data: a heap copy of each column's text, index = column,
// its record's key (RecordKey) and whether its module still answers.
struct ModuleRowData {
    char** texts;
    std::uint64_t macKey;
    bool hasMac;
    RowPresence presence;
};

class CModuleListCtrl : public CListCtrl {
public:
    CModuleListCtrl();
    ~CModuleListCtrl() override;

    BOOL SetupColumns(const CString& layout);
    // Adds a row unless a record with the same six MAC bytes is listed or
    // the store is full.
    void AddModule(const VORN_ModuleScanResponseType& record);
    void RemoveAllModules();

    // While the list keeps scanning: a listed module's answer replaces its
    // record and changes its row's texts in place (the row moves to its
    // place when its sort text changed); a new module gets its row.
    void TakeLiveAnswer(const VORN_ModuleScanResponseType& record);
    // A live scan went out and the round before it ends: rows that missed
    // it are counted, a module is struck through once it missed two, a
    // row without a MAC goes.
    void CloseLiveRound();
    // Rows with a MAC, missing ones included, and the missing ones.
    std::size_t ModuleRowCount() const { return macRows; }
    std::size_t MissingRowCount() const { return missingRows; }
    // Whether the menu shows "Keep scanning" checked.
    void SetKeepScanningChecked(bool checked) { keepScanningChecked = checked; }
    bool KeepScanningChecked() const { return keepScanningChecked; }
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

    const ModuleStore& Modules() const { return modules; }
    int ColumnCount() const { return columnCount; }
    // The row's own copies of its column texts; row must be listed.
    const char* const* RowTexts(int row) const { return rowsInOrder[static_cast<std::size_t>(row)]->texts; }
    // The row showing this MAC text, or -1.
    int FindRowOfMac(const char* macText) const;
    // Whether the row is drawn struck through; row must be listed.
    bool IsMissingRow(int row) const { return IsMissing(rowsInOrder[static_cast<std::size_t>(row)]->presence); }
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
    int InsertRowInOrder(std::initializer_list<const char*> texts, std::uint64_t key, bool hasMac);
    // Lists the row at place; -1 when the control refused it.
    int InsertRowData(ModuleRowData* data, int place);
    void FreeRowData(ModuleRowData* data) const;
    // The row's index in the current order; data must be listed.
    int RowOfData(const ModuleRowData* data) const;
    void ShowAnswer(ModuleRowData& data, const std::array<CString, kModuleColumnCount>& texts, bool wasMissing);
    void MoveRowToItsPlace(int row);
    // Drops a row no longer listed from the keys, the store and the counts,
    // and frees it.
    void ForgetRow(ModuleRowData* data);
    void RedrawRow(int row);
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
    // The list's font struck through, made at the first missing row.
    HFONT StruckFont();

    ModuleStore modules;
    // Every row's item data by the key of its MAC.
    std::unordered_map<std::uint64_t, ModuleRowData*> rowOfMac;
    std::size_t macRows = 0;
    std::size_t missingRows = 0;
    bool keepScanningChecked = false;
    HFONT struckFont = nullptr;
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
