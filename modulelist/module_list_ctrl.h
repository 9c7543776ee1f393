// CModuleListCtrl: the list of discovered modules. One row per MAC, a copy
// of every shown record in arrival order, and the MAC of the module last
// configured.
#ifndef KL_MODULELIST_MODULE_LIST_CTRL_H
#define KL_MODULELIST_MODULE_LIST_CTRL_H

#include <initializer_list>
#include <vector>

#include "arrow_header_ctrl.h"
#include "controls.h"
#include "vorn.h"

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

    // Sorts by the column's texts and moves the header's arrow there.
    BOOL SortByColumn(int column, BOOL ascending);
    // Sorts again by the current column and direction.
    BOOL Resort();
    // The list view's sort callback; list is this object.
    static int CALLBACK CompareRows(LPARAM data1, LPARAM data2, LPARAM list);

    const std::vector<VORN_ModuleScanResponseType>& Modules() const { return modules; }
    int ColumnCount() const { return columnCount; }

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

    std::vector<VORN_ModuleScanResponseType> modules;
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
