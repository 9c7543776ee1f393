// Feeds arbitrary configure records to the request builder: text fields
// with or without their NUL, addresses all-ones or not, any DHCP value. A
// request is either not built at all or built whole: at most 400 bytes
// with its NUL, its fields exactly those the record asks for and in their
// order (so no ";" stands inside a value), and read back as the library
// reads its own echo, the same addresses, DHCP state and host name.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "wire_messages.h"

namespace {

constexpr std::uint32_t kAllOnes = 0xFFFFFFFFu;

// The record from the input, zero-filled behind it. One more byte, when
// there is one, sets the addresses that are to be all-ones (bits 0-4) and
// picks a DHCP value of 0, 1 or the input's (bits 5-6), so that the
// fuzzer reaches every combination of present and left-out fields.
VORN_ConfigureRequestType RecordOf(const std::uint8_t* data, std::size_t size) {
    VORN_ConfigureRequestType r;
    std::memset(&r, 0, sizeof r);
    std::memcpy(&r, data, size < sizeof r ? size : sizeof r);
    if (size <= sizeof r) return r;
    const std::uint8_t shape = data[sizeof r];
    std::uint32_t* const addresses[] = {&r.ip, &r.sn, &r.gw, &r.dns1, &r.dns2};
    for (int i = 0; i < 5; ++i) {
        if (shape & (1u << i)) *addresses[i] = kAllOnes;
    }
    if ((shape >> 5) & 3u) r.dhcp = static_cast<std::uint8_t>(((shape >> 5) & 3u) - 1);
    return r;
}

std::string_view TextOf(const char (&field)[VORN_TEXT_SIZE]) {
    const void* nul = std::memchr(field, '\0', VORN_TEXT_SIZE);
    return std::string_view(field, nul ? static_cast<const char*>(nul) - field : VORN_TEXT_SIZE);
}

// The fields' keys in the order the record asks for them.
std::vector<std::string_view> ExpectedKeys(const VORN_ConfigureRequestType& r) {
    std::vector<std::string_view> keys = {"Configure: "};
    if (r.pswd[0] != '\0') keys.push_back("Password: ");
    if (r.newPswdValid == 1) keys.push_back("New Password = ");
    if (r.ip != kAllOnes) keys.push_back("IP = ");
    if (r.sn != kAllOnes) keys.push_back("SN = ");
    if (r.gw != kAllOnes) keys.push_back("GW = ");
    if (r.dhcp <= 1) keys.push_back("DHCP = ");
    keys.push_back("HN = ");
    if (r.dns1 != kAllOnes) keys.push_back("DNS1 = ");
    if (r.dns2 != kAllOnes) keys.push_back("DNS2 = ");
    return keys;
}

bool FieldsAreThoseAsked(std::string_view text, const VORN_ConfigureRequestType& r) {
    const std::vector<std::string_view> keys = ExpectedKeys(r);
    std::size_t at = 0;
    for (std::string_view key : keys) {
        if (text.compare(at, key.size(), key) != 0) return false;
        const std::size_t end = text.find(';', at);
        if (end == std::string_view::npos) return false;
        at = end + 1;
    }
    return at == text.size();
}

// A value holding the text of an answer key is read there first, as the
// reader is meant to; such records are not compared field by field.
bool ValuesHoldNoAnswerKey(const VORN_ConfigureRequestType& r) {
    static const char* const kKeys[] = {"protocol version = ", "fb type = ", "module version = ", "mac = ",
                                        "ip = ", "sn = ", "gw = ", "dhcp = ", "pswd = ", "hn = ", "dns1 = ",
                                        "dns2 = "};
    for (std::string_view value : {TextOf(r.pswd), r.newPswdValid == 1 ? TextOf(r.newPswd) : std::string_view(),
                                   TextOf(r.hn)}) {
        for (const char* key : kKeys) {
            if (vorn::FindKey(value, key) != std::string_view::npos) return false;
        }
    }
    return true;
}

bool SameAddress(std::uint32_t sent, std::uint8_t valid, std::uint32_t read) {
    return sent == kAllOnes ? valid == 0 : valid == 1 && read == sent;
}

bool ReadsBackTheSame(std::string_view text, const VORN_ConfigureRequestType& r) {
    const VORN_ModuleScanResponseType echo = vorn::ReadScanAnswer(text);
    const bool dhcpSame = r.dhcp <= 1 ? echo.dhcpValid == 1 && echo.dhcp == r.dhcp : echo.dhcpValid == 0;
    return SameAddress(r.ip, echo.ipValid, echo.ip) && SameAddress(r.sn, echo.snValid, echo.sn) &&
           SameAddress(r.gw, echo.gwValid, echo.gw) && SameAddress(r.dns1, echo.dns1Valid, echo.dns1) &&
           SameAddress(r.dns2, echo.dns2Valid, echo.dns2) && dhcpSame && echo.hnValid == 1 &&
           TextOf(echo.hn) == TextOf(r.hn);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > sizeof(VORN_ConfigureRequestType) + 1) return -1;
    const VORN_ConfigureRequestType r = RecordOf(data, size);
    const vorn::ConfigureRequestText request = vorn::BuildConfigureRequest(r);
    if (request.length == 0) {
        if (request.text[0] != '\0') std::abort();
        return 0;
    }
    if (request.length + 1 > vorn::kRequestBufferSize || request.text[request.length] != '\0' ||
        std::memchr(request.text, '\0', request.length)) {
        std::abort();
    }
    const std::string_view text(request.text, request.length);
    if (!FieldsAreThoseAsked(text, r)) std::abort();
    if (ValuesHoldNoAnswerKey(r) && !ReadsBackTheSame(text, r)) std::abort();
    return 0;
}
