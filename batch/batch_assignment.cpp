#include "batch_assignment.h"

#include <cstdio>

#include "configure_outcome.h"
#include "configure_request.h"
#include "configure_values.h"
#include "settings_plausibility.h"
#include "workstation_subnets.h"

namespace {

std::string Padded(std::size_t number, std::size_t width) {
    std::string digits = std::to_string(number);
    if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
    return digits;
}

}  // namespace

std::string HostnameFromPattern(const std::string& pattern, std::size_t number) {
    std::string name;
    for (std::size_t at = 0; at < pattern.size();) {
        const std::size_t end = pattern.find_first_not_of('#', at);
        const std::size_t runEnd = end == std::string::npos ? pattern.size() : end;
        if (pattern[at] == '#') {
            name += Padded(number, runEnd - at);
            at = runEnd;
        } else {
            name += pattern[at++];
        }
    }
    return name;
}

bool CheckHostnamePattern(const std::string& pattern, std::size_t count, std::string& reason) {
    if (pattern.empty() || count == 0) return true;
    // The digits are legal, so the first name tells the characters; the
    // last is the longest.
    if (!IsLegalHostname(HostnameFromPattern(pattern, 1).c_str())) {
        reason = "A host name may hold letters, digits and \"_\" only.";
        return false;
    }
    const std::string longest = HostnameFromPattern(pattern, count);
    if (longest.size() <= static_cast<std::size_t>(kConfigureTextMax)) return true;
    reason = "The host name \"" + longest + "\" is longer than " + std::to_string(kConfigureTextMax) + " characters.";
    return false;
}

bool CheckAddressFields(const AddressFields& fields, std::string& reason) {
    const CString implausible = ImplausibleAddressing({fields.first, fields.sn, fields.gw, false});
    if (implausible.IsEmpty()) return true;
    reason = implausible.Str();
    return false;
}

bool PreviewAddresses(const AddressFields& fields, std::size_t count, const std::unordered_set<std::uint32_t>& notFree,
                      std::vector<std::uint32_t>& addresses) {
    addresses.clear();
    const int prefix = MaskPrefixLength(fields.sn);
    const std::uint32_t network = fields.first & fields.sn;
    // Counting stops at the subnet's end, and at the top of the address
    // space, where the count would wrap.
    for (std::uint64_t next = fields.first; addresses.size() < count && next <= 0xFFFFFFFFu; ++next) {
        const std::uint32_t address = static_cast<std::uint32_t>(next);
        if ((address & fields.sn) != network) break;
        if (!SubnetHoldsHost(network, prefix, address) || address == fields.gw || notFree.count(address)) continue;
        addresses.push_back(address);
    }
    return addresses.size() == count;
}

ModuleSettings AssignedSettings(const VORN_ModuleScanResponseType& answer, std::uint32_t ip,
                                const AddressFields& fields, const std::string& hostname,
                                const std::string& password) {
    ModuleSettings settings;
    settings.ip = ip;
    settings.sn = fields.sn;
    settings.gw = fields.gw;
    if (ReportedDhcp(answer) != kLeftOutDhcp) settings.dhcpOn = false;
    if (!hostname.empty()) settings.hostname = hostname;
    if (!password.empty()) settings.password = password;
    return settings;
}
