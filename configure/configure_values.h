// The values the configure dialog is opened with and hands back: portable,
// so that what the configure flow makes of them is testable natively.
#ifndef KL_CONFIGURE_CONFIGURE_VALUES_H
#define KL_CONFIGURE_CONFIGURE_VALUES_H

#include <stdint.h>

// The longest password or host name the dialog keeps; each text field holds
// that many characters and a NUL.
constexpr int kConfigureTextMax = 29;
constexpr int kConfigureTextSize = kConfigureTextMax + 1;

// Addresses use the IP address control's packing: the first dotted number
// in the most significant byte. "In" fields are read when the dialog
// opens, "out" fields written when its window is destroyed.
struct ConfigureValues {
    int32_t pswdEnabled;               // in: the Password edit is writable
    char newPswd[kConfigureTextSize];  // out
    char pswd[kConfigureTextSize];     // out
    char hn[kConfigureTextSize];       // in and out
    uint32_t sn;                       // in and out
    uint32_t ip;                       // in and out
    uint32_t gw;                       // in and out
    uint32_t dns1;                     // in and out
    uint32_t dns2;                     // in and out
    uint8_t hnValid;                   // in: 1 when hn holds the module's name
    uint8_t snValid;                   // in
    uint8_t ipValid;                   // in
    uint8_t gwValid;                   // in
    uint8_t dns1Valid;                 // in
    uint8_t dns2Valid;                 // in
};

// Stores text into one of the text fields: at most its first 29
// characters survive, the rest of the field is zero-filled.
void StoreConfigureText(char (&field)[kConfigureTextSize], const char* text);

#endif
