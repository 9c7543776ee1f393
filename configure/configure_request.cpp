#include "configure_request.h"

#include <cstdio>
#include <cstring>

bool ParseMacText(const char* text, uint8_t mac[VORN_MAC_SIZE]) {
    unsigned int numbers[VORN_MAC_SIZE];
    if (std::sscanf(text, "%x-%x-%x-%x-%x-%x", &numbers[0], &numbers[1], &numbers[2], &numbers[3], &numbers[4],
                    &numbers[5]) != VORN_MAC_SIZE) {
        return false;
    }
    for (unsigned int number : numbers) {
        if (number > 0xFF) return false;
    }
    for (int i = 0; i < VORN_MAC_SIZE; ++i) mac[i] = static_cast<uint8_t>(numbers[i]);
    return true;
}

namespace {

// A reported address is taken only when its flag is exactly 1; otherwise
// the dialog shows a blank, disabled control.
void TakeAddress(uint8_t reportedValid, uint32_t reported, uint8_t& valid, uint32_t& address) {
    valid = reportedValid == 1 ? 1 : 0;
    address = valid ? reported : 0;
}

}  // namespace

ConfigureDialogStart DialogStartFromRecord(const VORN_ModuleScanResponseType& record) {
    ConfigureDialogStart start = {};
    ConfigureValues& values = start.values;
    TakeAddress(record.ipValid, record.ip, values.ipValid, values.ip);
    TakeAddress(record.snValid, record.sn, values.snValid, values.sn);
    TakeAddress(record.gwValid, record.gw, values.gwValid, values.gw);
    TakeAddress(record.dns1Valid, record.dns1, values.dns1Valid, values.dns1);
    TakeAddress(record.dns2Valid, record.dns2, values.dns2Valid, values.dns2);
    values.hnValid = record.hnValid == 1 ? 1 : 0;
    // A reported name may run to 127 characters; the dialog keeps 29.
    if (values.hnValid) StoreConfigureText(values.hn, record.hn);
    start.dhcpIndex = record.dhcpValid && record.dhcp ? kDhcpOnIndex : kDhcpOffIndex;
    values.pswdEnabled = record.pswdValid && record.pswd ? 1 : 0;
    return start;
}

bool IsLegalHostname(const char* hostname) {
    for (const char* p = hostname; *p; ++p) {
        // Tested as a signed value, so bytes from 0x80 up (accented
        // letters) fall outside every range.
        const signed char c = static_cast<signed char>(*p);
        const bool legal = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        if (!legal) return false;
    }
    return true;
}

bool IsCarriablePassword(const char* password) {
    return std::strchr(password, ';') == nullptr;
}

namespace {

// The dialog's texts are at most 29 characters; the request's fields
// are far larger, so the copy is bounded by the source field.
template <std::size_t N>
void CopyDialogText(char (&dest)[N], const char (&source)[kConfigureTextSize]) {
    static_assert(N > kConfigureTextMax, "request text field too small");
    std::memcpy(dest, source, kConfigureTextSize);
    dest[kConfigureTextMax] = '\0';
}

}  // namespace

void FillConfigureRequest(const ConfigureValues& values, int dhcpIndex, int changePassword,
                          const uint8_t mac[VORN_MAC_SIZE], VORN_ConfigureRequestType& request) {
    std::memcpy(request.macId, mac, VORN_MAC_SIZE);
    CopyDialogText(request.pswd, values.pswd);
    request.newPswdValid = changePassword == 1 ? 1 : 0;
    if (request.newPswdValid) CopyDialogText(request.newPswd, values.newPswd);
    // A blank or disabled control gave 0, sent as 0.0.0.0.
    request.ip = values.ip;
    request.sn = values.sn;
    request.gw = values.gw;
    request.dhcp = dhcpIndex == kDhcpOnIndex ? 1 : 0;
    CopyDialogText(request.hn, values.hn);
    request.dns1 = values.dns1;
    request.dns2 = values.dns2;
}
