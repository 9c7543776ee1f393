#include "configure_flow.h"

#include <cstring>

#include "configure_dialog.h"
#include "configure_request.h"
#include "module_list_ctrl.h"
#include "vorn.h"
#include "win_app.h"

namespace {

constexpr int kMacColumn = 6;
constexpr char kCaptionPrefix[] = "Configure: ";
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

}  // namespace

void ConfigureModule(CModuleListCtrl& list, int row) {
    CConfigureDialog dialog;
    const CString macText = list.GetItemText(row, kMacColumn);
    dialog.m_strCaption = kCaptionPrefix + macText;
    uint8_t mac[VORN_MAC_SIZE];
    if (!ParseMacText(macText, mac)) return;
    const VORN_ModuleScanResponseType* found = FindRecord(list, mac);
    if (!found) return;
    // The store may be emptied and refilled while the dialog runs (library
    // messages keep coming), so the flow works on its own copy.
    const VORN_ModuleScanResponseType record = *found;
    FillDialog(dialog, record);
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
