// The module list's menu (right-click, the menu key or Shift+F10). For a
// row: the module's commands ("Configure...", "Open web page", a move into
// one of this computer's subnets), "Assign addresses...", then "Copy row";
// "Copy all" and "Save list..." always, and last "Keep scanning", checked
// while the list is live. The list-wide commands go to the list's parent
// as WM_COMMAND.
#ifndef KL_MODULELIST_MODULE_LIST_MENU_H
#define KL_MODULELIST_MODULE_LIST_MENU_H

#include <windows.h>

#include <vector>

#include "cstring.h"
#include "workstation_subnets.h"

class CMenu;
class CModuleListCtrl;

class CModuleListMenu {
public:
    // The menu's commands; a move into the adapter at index i is
    // kMoveIntoFirstCommand + i.
    enum Command : int {
        kCopyRowCommand = 1,
        kCopyAllCommand,
        kConfigureCommand,
        kOpenWebPageCommand,
        kAssignAddressesCommand,
        kSaveListCommand,
        kMoveIntoFirstCommand = 100,
    };

    explicit CModuleListMenu(CModuleListCtrl& list);

    // Shows the menu for row (-1: below the last row) at point, in screen
    // coordinates, waits until it closes and carries out the choice.
    void Run(int row, POINT point);

private:
    void AppendModuleCommands(CMenu& menu, int row) const;
    void AppendAssignAddresses(CMenu& menu) const;
    void SelectMenuRow();
    void SendToParent(UINT id);
    void RunModuleCommand(int command);
    void OpenWebPage(int row);

    CModuleListCtrl& list;
    // Answers keep arriving while the menu is open and move the rows, a
    // rescan empties them: the module is remembered by its MAC and found
    // again afterwards, and the adapters offered are those shown.
    CString macText;
    std::vector<WorkstationAdapter> offered;
};

#endif
