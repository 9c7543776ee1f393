#include "configure_flow.h"

#include <cstring>
#include <vector>

#include "address_probe.h"
#include "configure_dialog.h"
#include "configure_request.h"
#include "module_list_ctrl.h"
#include "module_row_texts.h"
#include "vorn.h"
#include "wait_cursor.h"
#include "win_app.h"

namespace {

constexpr char kCaptionPrefix[] = "Configure: ";
// Each costs up to one echo timeout under the wait cursor.
constexpr std::size_t kMoveCandidates = 8;
constexpr char kNoFreeAddress[] = "No free address was found for the module in ";
constexpr char kIllegalHostname[] = "Illegal hostname! Configuration was NOT downloaded!";
constexpr char kIllegalPassword[] =
    "Illegal password! A password cannot contain the character \";\". Configuration was NOT downloaded!";

// Rows and records are tied by MAC, never by position: the list is sorted,
// the store keeps arrival order. The oldest match wins.
const VORN_ModuleScanResponseType* FindRecord(const CModuleListCtrl& list, const uint8_t mac[VORN_MAC_SIZE]) {
    for (const VORN_ModuleScanResponseType& record : list.Modules()) {
        if (std::memcmp(record.macId, mac, VORN_MAC_SIZE) == 0) return &record;
    }
    return nullptr;
}

// The new password counts only when it is to be sent.
bool PasswordsCanBeCarried(const VORN_ConfigureRequestType& request) {
    return IsCarriablePassword(request.pswd) && (request.newPswdValid != 1 || IsCarriablePassword(request.newPswd));
}

void FillDialog(CConfigureDialog& dialog, const VORN_ModuleScanResponseType& record) {
    const ConfigureDialogStart start = DialogStartFromRecord(record);
    dialog.m_values = start.values;
    dialog.m_nDhcp = start.dhcpIndex;
}

// The proposed settings replace the module's, and can be edited even where
// the module reported none.
void ProposeMove(CConfigureDialog& dialog, const SubnetMove& move) {
    dialog.m_values.ip = move.ip;
    dialog.m_values.sn = move.sn;
    dialog.m_values.gw = move.gw;
    dialog.m_values.ipValid = dialog.m_values.snValid = dialog.m_values.gwValid = 1;
}

// The module's record, found by the MAC text of its row; false for a row
// that names no listed module.
bool RecordOfRow(const CModuleListCtrl& list, int row, VORN_ModuleScanResponseType& record) {
    uint8_t mac[VORN_MAC_SIZE];
    if (!ParseMacText(list.GetItemText(row, kMacColumn), mac)) return false;
    const VORN_ModuleScanResponseType* found = FindRecord(list, mac);
    if (!found) return false;
    // The store may be emptied and refilled while the dialog runs (library
    // messages keep coming), so the flow works on its own copy.
    record = *found;
    return true;
}

// Runs the dialog, filled by the caller, and sends what it hands back.
void RunConfigureDialog(CModuleListCtrl& list, CConfigureDialog& dialog, const VORN_ModuleScanResponseType& record) {
    dialog.m_strCaption = kCaptionPrefix + MacText(record.macId);
    if (dialog.DoModal() != IDOK) return;
    // Cleared so that no stale stack bytes sit in fields the library skips.
    VORN_ConfigureRequestType request = {};
    FillConfigureRequest(dialog.m_values, dialog.m_nDhcp, dialog.m_bChangePassword, record.macId, request);
    if (!IsLegalHostname(request.hn)) {
        AfxMessageBox(kIllegalHostname, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (!PasswordsCanBeCarried(request)) {
        AfxMessageBox(kIllegalPassword, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    list.SetLastConfiguredMac(request.macId);
    VORN_SendConfigure(&request);
}

}  // namespace

void ConfigureModule(CModuleListCtrl& list, int row) {
    VORN_ModuleScanResponseType record;
    if (!RecordOfRow(list, row, record)) return;
    CConfigureDialog dialog;
    FillDialog(dialog, record);
    RunConfigureDialog(list, dialog, record);
}

void MoveModuleIntoSubnet(CModuleListCtrl& list, int row, const WorkstationAdapter& adapter) {
    VORN_ModuleScanResponseType record;
    if (!RecordOfRow(list, row, record)) return;
    std::uint32_t free = 0;
    bool found = false;
    {
        CWaitCursor wait;
        const std::vector<std::uint32_t> candidates =
            FreeAddressCandidates(list.Adapters(), adapter, record.ip, ReportedAddresses(list.Modules()),
                                  kMoveCandidates);
        found = FindFreeAddress(candidates, &IsAddressTaken, free);
    }
    if (!found) {
        const CString text = kNoFreeAddress + SubnetLabel(adapter) + ".";
        list.MessageBox(text, "Warning", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    CConfigureDialog dialog;
    FillDialog(dialog, record);
    ProposeMove(dialog, MoveIntoSubnet(adapter, free));
    RunConfigureDialog(list, dialog, record);
}
