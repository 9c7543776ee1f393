// The network adapters a request goes out through: those GetAdaptersAddresses
// lists as up, not loopback, with an IPv4 address and an interface index.
// Windows only, and header-only: the program reads its adapters by the
// same rule, so that what it marks as reachable is what the library sends
// through.
#ifndef VORN_BROADCAST_ADAPTERS_H
#define VORN_BROADCAST_ADAPTERS_H

#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
#include <ws2tcpip.h>

#include <cstdint>
#include <vector>

namespace vorn {

inline bool CarriesBroadcasts(const IP_ADAPTER_ADDRESSES& adapter) {
    return adapter.OperStatus == IfOperStatusUp && adapter.IfType != IF_TYPE_SOFTWARE_LOOPBACK &&
           adapter.FirstUnicastAddress != nullptr && adapter.IfIndex != 0;
}

// An IPv4 socket address in host byte order; 0 for anything else.
inline std::uint32_t Ipv4Of(const SOCKET_ADDRESS& address) {
    const SOCKADDR* socketAddress = address.lpSockaddr;
    if (!socketAddress || socketAddress->sa_family != AF_INET) return 0;
    return ntohl(reinterpret_cast<const sockaddr_in*>(socketAddress)->sin_addr.s_addr);
}

// Calls visit(adapter) for each such adapter, with GetAdaptersAddresses'
// flags (IPv4 only); false when the list cannot be had. A machine without
// any address lists none.
template <typename Visit>
bool ForEachBroadcastAdapter(ULONG flags, Visit visit) {
    // The list may grow between the call that reports the size it needs
    // and the next one.
    ULONG size = 15 * 1024;
    for (int attempt = 0; attempt < 3; ++attempt) {
        // ULONGLONG elements: the records need 8-byte alignment.
        std::vector<ULONGLONG> buffer((size + sizeof(ULONGLONG) - 1) / sizeof(ULONGLONG));
        IP_ADAPTER_ADDRESSES* first = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data());
        const ULONG result = GetAdaptersAddresses(AF_INET, flags, nullptr, first, &size);
        if (result == ERROR_BUFFER_OVERFLOW) continue;
        if (result == ERROR_NO_DATA) return true;
        if (result != NO_ERROR) return false;
        for (const IP_ADAPTER_ADDRESSES* adapter = first; adapter; adapter = adapter->Next) {
            if (CarriesBroadcasts(*adapter)) visit(*adapter);
        }
        return true;
    }
    return false;
}

}  // namespace vorn

#endif
