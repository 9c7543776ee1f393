#include "module_settings.h"

#include <algorithm>
#include <cstdio>

#include "configure_request.h"
#include "configure_values.h"
#include "module_row_texts.h"

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool EqualsNoCase(const std::string& text, const char* word) {
    std::size_t i = 0;
    for (; i < text.size() && word[i]; ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != word[i]) return false;
    }
    return i == text.size() && word[i] == '\0';
}

bool WithinDialogLimit(const std::string& text) { return text.size() <= static_cast<std::size_t>(kConfigureTextMax); }

}  // namespace

bool AsksForChange(const ModuleSettings& s) {
    return s.ip || s.sn || s.gw || s.dns1 || s.dns2 || s.hostname || s.dhcpOn || s.newPassword;
}

bool ParseMacArgument(const std::string& text, MacAddress& mac) {
    // "XX" six times and five separators.
    if (text.size() != 3 * VORN_MAC_SIZE - 1) return false;
    MacAddress read = {};
    for (int i = 0; i < VORN_MAC_SIZE; ++i) {
        const std::size_t at = static_cast<std::size_t>(3 * i);
        const int high = HexValue(text[at]);
        const int low = HexValue(text[at + 1]);
        if (high < 0 || low < 0) return false;
        if (i + 1 < VORN_MAC_SIZE && text[at + 2] != '-' && text[at + 2] != ':') return false;
        read.bytes[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    mac = read;
    return true;
}

std::string MacArgumentText(const MacAddress& mac) {
    char text[3 * VORN_MAC_SIZE];
    std::snprintf(text, sizeof text, "%02X-%02X-%02X-%02X-%02X-%02X", mac.bytes[0], mac.bytes[1], mac.bytes[2],
                  mac.bytes[3], mac.bytes[4], mac.bytes[5]);
    return text;
}

bool ParseAddressText(const std::string& text, std::uint32_t& address, std::string& reason) {
    // A NUL inside would end the text early for the reader.
    if (text.find('\0') == std::string::npos && ReadDottedAddressText(text.c_str(), address)) return true;
    reason = "\"" + text + "\" is not an address A.B.C.D";
    return false;
}

bool ParseAddressSetting(const std::string& text, std::uint32_t& address, std::string& reason) {
    if (!ParseAddressText(text, address, reason)) return false;
    // The library leaves a field of all ones out of the request.
    if (address == kLeftOutAddress) {
        reason = "255.255.255.255 cannot be sent";
        return false;
    }
    return true;
}

bool ParseDhcpSetting(const std::string& text, bool& on, std::string& reason) {
    if (EqualsNoCase(text, "on") || EqualsNoCase(text, "off")) {
        on = EqualsNoCase(text, "on");
        return true;
    }
    reason = "DHCP is on or off, not \"" + text + "\"";
    return false;
}

bool CheckHostnameSetting(const std::string& text, std::string& reason) {
    if (!WithinDialogLimit(text)) {
        reason = "host name longer than 29 characters";
        return false;
    }
    if (!IsLegalHostname(text.c_str())) {
        reason = "host name \"" + text + "\" may hold only letters, digits and \"_\"";
        return false;
    }
    return true;
}

bool CheckPasswordSetting(const std::string& text, std::string& reason) {
    if (!WithinDialogLimit(text)) {
        reason = "password longer than 29 characters";
        return false;
    }
    // A NUL would end the password early for the checks and the request,
    // so that the module got another one than was typed.
    if (HoldsControlCharacter(text)) {
        reason = "a password cannot hold a control character";
        return false;
    }
    if (!IsCarriablePassword(text.c_str())) {
        reason = "a password cannot hold \";\"";
        return false;
    }
    return true;
}

bool HoldsControlCharacter(const std::string& text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}
