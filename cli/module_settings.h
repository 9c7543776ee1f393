// What a technician asks of one module, from the command line or a plan
// row, and the checks each value passes before anything is sent. Portable.
#ifndef KL_CLI_MODULE_SETTINGS_H
#define KL_CLI_MODULE_SETTINGS_H

#include <cstdint>
#include <optional>
#include <string>

#include "vorn.h"

// Values the library leaves out of a configure request: the module keeps
// its own.
constexpr std::uint32_t kLeftOutAddress = 0xFFFFFFFFu;
constexpr std::uint8_t kLeftOutDhcp = 0xFF;

struct MacAddress {
    std::uint8_t bytes[VORN_MAC_SIZE];
};

// Only what is given changes; everything else keeps the module's value.
// The current password only opens the module; it changes nothing.
struct ModuleSettings {
    std::optional<std::uint32_t> ip;
    std::optional<std::uint32_t> sn;
    std::optional<std::uint32_t> gw;
    std::optional<std::uint32_t> dns1;
    std::optional<std::uint32_t> dns2;
    std::optional<std::string> hostname;
    std::optional<bool> dhcpOn;
    std::optional<std::string> password;
    std::optional<std::string> newPassword;
};

// True when a setting other than the current password is given.
bool AsksForChange(const ModuleSettings& settings);

// Six two-digit hexadecimal bytes in either case, each pair separated by
// "-" or ":".
bool ParseMacArgument(const std::string& text, MacAddress& mac);

// The form the program shows: upper case, "-" between the bytes.
std::string MacArgumentText(const MacAddress& mac);

// Each setting read from its text and checked by the configure dialog's
// rules; on failure, false and a reason naming the value.
// ParseAddressText reads any dotted address, ParseAddressSetting only one
// that can be sent. A password holds no control character and no ";".
bool ParseAddressText(const std::string& text, std::uint32_t& address, std::string& reason);
bool ParseAddressSetting(const std::string& text, std::uint32_t& address, std::string& reason);
bool ParseDhcpSetting(const std::string& text, bool& on, std::string& reason);
bool CheckHostnameSetting(const std::string& text, std::string& reason);
bool CheckPasswordSetting(const std::string& text, std::string& reason);

// A byte below 0x20 or 0x7F: it would reach the module as part of a host
// name or password, though nobody typed it.
bool HoldsControlCharacter(const std::string& text);

#endif
