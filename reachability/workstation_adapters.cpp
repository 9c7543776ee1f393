#include "workstation_adapters.h"

#include "broadcast_adapters.h"

namespace {

constexpr int kNameBytes = 256;

std::uint32_t FirstGateway(const IP_ADAPTER_ADDRESSES& adapter) {
    for (const IP_ADAPTER_GATEWAY_ADDRESS* gateway = adapter.FirstGatewayAddress; gateway; gateway = gateway->Next) {
        const std::uint32_t address = vorn::Ipv4Of(gateway->Address);
        if (address != 0) return address;
    }
    return 0;
}

// The name the user gave the adapter ("Ethernet 2"), in the ANSI code page
// the menus are drawn in.
CString FriendlyName(const IP_ADAPTER_ADDRESSES& adapter) {
    char name[kNameBytes] = "";
    if (adapter.FriendlyName &&
        WideCharToMultiByte(CP_ACP, 0, adapter.FriendlyName, -1, name, sizeof name, nullptr, nullptr) == 0) {
        name[0] = '\0';
    }
    return CString(name);
}

void AddEntries(const IP_ADAPTER_ADDRESSES& adapter, std::vector<WorkstationAdapter>& entries) {
    const std::uint32_t gateway = FirstGateway(adapter);
    const CString name = FriendlyName(adapter);
    for (const IP_ADAPTER_UNICAST_ADDRESS* unicast = adapter.FirstUnicastAddress; unicast; unicast = unicast->Next) {
        const std::uint32_t address = vorn::Ipv4Of(unicast->Address);
        if (address == 0) continue;
        WorkstationAdapter entry;
        entry.address = address;
        entry.prefixLength = unicast->OnLinkPrefixLength;
        entry.gateway = gateway;
        entry.name = name;
        entries.push_back(entry);
    }
}

}  // namespace

std::optional<std::vector<WorkstationAdapter>> ReadWorkstationAdapters() {
    const ULONG flags =
        GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER | GAA_FLAG_INCLUDE_GATEWAYS;
    std::vector<WorkstationAdapter> entries;
    if (!vorn::ForEachBroadcastAdapter(
            flags, [&entries](const IP_ADAPTER_ADDRESSES& adapter) { AddEntries(adapter, entries); })) {
        return std::nullopt;
    }
    return entries;
}
