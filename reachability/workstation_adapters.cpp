#include "workstation_adapters.h"

#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
#include <ws2tcpip.h>

namespace {

// The list may grow between the call that reports the size it needs and
// the next one.
constexpr ULONG kAdapterListBytes = 15 * 1024;
constexpr int kAdapterListTries = 3;
constexpr int kNameBytes = 256;

bool CarriesModules(const IP_ADAPTER_ADDRESSES& adapter) {
    return adapter.OperStatus == IfOperStatusUp && adapter.IfType != IF_TYPE_SOFTWARE_LOOPBACK &&
           adapter.FirstUnicastAddress != nullptr && adapter.IfIndex != 0;
}

// An IPv4 socket address in host byte order, or 0 for anything else.
std::uint32_t Ipv4Of(const SOCKET_ADDRESS& address) {
    const SOCKADDR* socketAddress = address.lpSockaddr;
    if (!socketAddress || socketAddress->sa_family != AF_INET) return 0;
    return ntohl(reinterpret_cast<const sockaddr_in*>(socketAddress)->sin_addr.s_addr);
}

std::uint32_t FirstGateway(const IP_ADAPTER_ADDRESSES& adapter) {
    for (const IP_ADAPTER_GATEWAY_ADDRESS* gateway = adapter.FirstGatewayAddress; gateway; gateway = gateway->Next) {
        const std::uint32_t address = Ipv4Of(gateway->Address);
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
        const std::uint32_t address = Ipv4Of(unicast->Address);
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

std::vector<WorkstationAdapter> ReadWorkstationAdapters() {
    const ULONG flags =
        GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER | GAA_FLAG_INCLUDE_GATEWAYS;
    std::vector<WorkstationAdapter> entries;
    ULONG size = kAdapterListBytes;
    for (int attempt = 0; attempt < kAdapterListTries; ++attempt) {
        // ULONGLONG elements: the records need 8-byte alignment.
        std::vector<ULONGLONG> buffer((size + sizeof(ULONGLONG) - 1) / sizeof(ULONGLONG));
        IP_ADAPTER_ADDRESSES* first = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data());
        const ULONG result = GetAdaptersAddresses(AF_INET, flags, nullptr, first, &size);
        if (result == ERROR_BUFFER_OVERFLOW) continue;
        if (result != NO_ERROR) return entries;
        for (const IP_ADAPTER_ADDRESSES* adapter = first; adapter; adapter = adapter->Next) {
            if (CarriesModules(*adapter)) AddEntries(*adapter, entries);
        }
        return entries;
    }
    return entries;
}
