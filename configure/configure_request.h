// What the configure flow does between the module list, the dialog and the
// library, without any window: reading a row's MAC text, opening values
// from a scan record, the host name rule and the request filled from the
// dialog's values.
#ifndef KL_CONFIGURE_CONFIGURE_REQUEST_H
#define KL_CONFIGURE_CONFIGURE_REQUEST_H

#include "configure_values.h"
#include "vorn.h"

// The dialog's radio index of "On" and "Off" in the DHCP group.
constexpr int kDhcpOnIndex = 0;
constexpr int kDhcpOffIndex = 1;

// Reads six hexadecimal numbers separated by "-" (the list's MAC column).
// False for anything else, such as "N/A", or a number above 0xFF: such a
// row names no module.
bool ParseMacText(const char* text, uint8_t mac[VORN_MAC_SIZE]);

// The dialog's opening state for a module: its values and the DHCP radio
// index. Only the "in" fields of values are set.
struct ConfigureDialogStart {
    ConfigureValues values;
    int dhcpIndex;
};
ConfigureDialogStart DialogStartFromRecord(const VORN_ModuleScanResponseType& record);

// Letters, digits and "_" only; empty passes. Bytes from 0x80 up fail.
bool IsLegalHostname(const char* hostname);

// A password travels as the value of one "key = value;" field, so a ";"
// would end it early and the module would read the rest as further
// fields. Every other character is carried; empty passes.
bool IsCarriablePassword(const char* password);

// The request for the module with mac from what the dialog handed back.
// newPswd is written only when the new password is to be sent.
void FillConfigureRequest(const ConfigureValues& values, int dhcpIndex, int changePassword,
                          const uint8_t mac[VORN_MAC_SIZE], VORN_ConfigureRequestType& request);

#endif
