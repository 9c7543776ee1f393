#include "settings_plausibility.h"

#include "address_text.h"
#include "workstation_subnets.h"

namespace {

CString SubnetText(std::uint32_t ip, int prefixLength) {
    CString text;
    text.Format("%s/%d", DottedAddressText(ip & PrefixMask(prefixLength)).GetString(), prefixLength);
    return text;
}

// The network or the broadcast address of its subnet (a /31 and a /32 have neither).
CString HostRuleBroken(std::uint32_t ip, int prefixLength) {
    if (SubnetHoldsHost(ip, prefixLength, ip)) return CString();
    const bool network = (ip & ~PrefixMask(prefixLength)) == 0;
    CString message;
    message.Format("IP %s is the %s address of its subnet %s", DottedAddressText(ip).GetString(),
                   network ? "network" : "broadcast", SubnetText(ip, prefixLength).GetString());
    return message;
}

}  // namespace

CString ImplausibleAddressing(const ModuleAddressing& settings) {
    CString message;
    if (!IsContiguousMask(settings.sn)) {
        message.Format("SN %s is not a contiguous mask", DottedAddressText(settings.sn).GetString());
        return message;
    }
    if (settings.ip == 0) {
        // With DHCP on the server gives the address; there is no subnet to check against.
        if (!settings.dhcpOn) message = "IP 0.0.0.0 is no address for a module without DHCP";
        return message;
    }
    const int prefixLength = MaskPrefixLength(settings.sn);
    message = HostRuleBroken(settings.ip, prefixLength);
    if (!message.IsEmpty()) return message;
    if (settings.gw != 0 && !SubnetHoldsHost(settings.ip, prefixLength, settings.gw)) {
        message.Format("GW %s is not a host of the module's subnet %s", DottedAddressText(settings.gw).GetString(),
                       SubnetText(settings.ip, prefixLength).GetString());
    }
    return message;
}
