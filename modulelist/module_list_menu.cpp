#include "module_list_menu.h"

#include <shellapi.h>

#include <cstring>

#include "clipboard.h"
#include "configure_flow.h"
#include "menu.h"
#include "module_list_ctrl.h"
#include "module_row_texts.h"
#include "resource.h"

namespace {

constexpr char kMoveIntoText[] = "Move into this computer's network...";

}  // namespace

CModuleListMenu::CModuleListMenu(CModuleListCtrl& moduleList) : list(moduleList) {}

void CModuleListMenu::Run(int row, POINT point) {
    CMenu menu;
    if (!menu.CreatePopupMenu()) return;
    macText = row != -1 ? list.GetItemText(row, kMacColumn) : CString();
    offered = list.Adapters();
    if (row != -1) AppendModuleCommands(menu, row);
    AppendAssignAddresses(menu);
    menu.AppendMenu(MF_SEPARATOR, 0, nullptr);
    if (row != -1) menu.AppendMenu(MF_STRING, kCopyRowCommand, "Copy row");
    menu.AppendMenu(MF_STRING, kCopyAllCommand, "Copy all");
    menu.AppendMenu(MF_STRING, kSaveListCommand, "Save list...");
    menu.AppendMenu(MF_SEPARATOR, 0, nullptr);
    menu.AppendMenu(MF_STRING | (list.KeepScanningChecked() ? MF_CHECKED : MF_UNCHECKED), ID_KEEP_SCANNING,
                    "Keep scanning");
    const int command = menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, point.x,
                                            point.y, list.m_hWnd);
    if (command == kCopyAllCommand) {
        CopyTextToClipboard(list.m_hWnd, list.AllRowsText());
    } else if (command == kAssignAddressesCommand) {
        SelectMenuRow();
        SendToParent(ID_LIST_ASSIGN_ADDRESSES);
    } else if (command == kSaveListCommand) {
        SendToParent(ID_LIST_SAVE_LIST);
    } else if (command == ID_KEEP_SCANNING) {
        SendToParent(ID_KEEP_SCANNING);
    } else if (command != 0) {
        RunModuleCommand(command);
    }
}

// Greyed while no listed row names a module by its MAC.
void CModuleListMenu::AppendAssignAddresses(CMenu& menu) const {
    bool anyMac = false;
    for (const VORN_ModuleScanResponseType& record : list.Modules()) anyMac = anyMac || record.macIdValid == 1;
    menu.AppendMenu(MF_STRING | (anyMac ? MF_ENABLED : MF_GRAYED), kAssignAddressesCommand, "Assign addresses...");
}

// The row the menu was opened on becomes the selected row, found again by
// its MAC (none when it is gone, or below the last row), so that the
// parent knows it.
void CModuleListMenu::SelectMenuRow() {
    const int row = macText.IsEmpty() ? -1 : list.FindRowOfMac(macText);
    ListView_SetItemState(list.m_hWnd, -1, 0, LVIS_SELECTED);
    if (row != -1) ListView_SetItemState(list.m_hWnd, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void CModuleListMenu::SendToParent(UINT id) {
    HWND parent = ::GetParent(list.m_hWnd);
    if (parent) ::SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

// "Configure..." (what a double-click does), "Open web page" and, for a
// module this computer cannot reach, a move into one of its subnets: one
// item with one adapter, a submenu of them with several. A row without a
// MAC names no module that could be configured; one without an address,
// or with one no module's web page can have, has no web page.
void CModuleListMenu::AppendModuleCommands(CMenu& menu, int row) const {
    const char* const* texts = list.RowTexts(row);
    const UINT configurable = std::strcmp(texts[kMacColumn], kNotAvailableText) == 0 ? MF_GRAYED : MF_ENABLED;
    std::uint32_t address = 0;
    const UINT addressed =
        ReadDottedAddressText(texts[kIpColumn], address) && IsWebPageAddress(address) ? MF_ENABLED : MF_GRAYED;
    menu.AppendMenu(MF_STRING | configurable, kConfigureCommand, "Configure...");
    menu.SetDefaultItem(kConfigureCommand);
    menu.AppendMenu(MF_STRING | addressed, kOpenWebPageCommand, "Open web page");
    if (!list.IsUnreachableRow(row) || offered.empty()) return;
    if (offered.size() == 1) {
        menu.AppendMenu(MF_STRING | configurable, kMoveIntoFirstCommand, kMoveIntoText);
        return;
    }
    CMenu subnets;
    if (!subnets.CreatePopupMenu()) return;
    for (std::size_t i = 0; i < offered.size(); ++i) {
        subnets.AppendMenu(MF_STRING | configurable, kMoveIntoFirstCommand + i, SubnetLabel(offered[i]));
    }
    menu.AppendSubMenu(subnets, kMoveIntoText);
}

void CModuleListMenu::RunModuleCommand(int command) {
    const int row = list.FindRowOfMac(macText);
    if (row == -1) return;  // gone with a rescan while the menu was open
    const std::size_t adapter = static_cast<std::size_t>(command) - kMoveIntoFirstCommand;
    if (command == kCopyRowCommand) {
        CopyTextToClipboard(list.m_hWnd, list.RowText(row));
    } else if (command == kConfigureCommand) {
        ConfigureModule(list, row);
    } else if (command == kOpenWebPageCommand) {
        OpenWebPage(row);
    } else if (command >= kMoveIntoFirstCommand && adapter < offered.size()) {
        MoveModuleIntoSubnet(list, row, offered[adapter]);
    }
}

// The module's own pages, in the user's default browser. The row is found
// again after the menu closed and may show another address by now.
void CModuleListMenu::OpenWebPage(int row) {
    const CString ip = list.RowTexts(row)[kIpColumn];
    std::uint32_t address = 0;
    if (!ReadDottedAddressText(ip, address) || !IsWebPageAddress(address)) return;
    const CString url = "http://" + ip + "/";
    ::ShellExecuteA(list.m_hWnd, "open", url, nullptr, nullptr, SW_SHOWNORMAL);
}
