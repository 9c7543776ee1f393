#include "address_probe.h"

#include <winsock2.h>
#include <ws2ipdef.h>
#include <iphlpapi.h>
#include <icmpapi.h>

namespace {

// The longest wait for an echo's reply.
constexpr DWORD kEchoTimeoutMs = 300;
constexpr char kEchoData[] = "Kelvara Lanwise";

enum class Echo { kAnswered, kUnanswered, kNotSent };

// An echo that could not be sent at all (no ICMP handle, no resources, no
// route) tells nothing of the address, and nor would the neighbour table,
// which only the echo makes this computer fill.
Echo SendEcho(std::uint32_t address) {
    const HANDLE icmp = IcmpCreateFile();
    if (icmp == INVALID_HANDLE_VALUE) return Echo::kNotSent;
    // Room for one reply, its data and an ICMP error, as the documentation asks.
    alignas(ICMP_ECHO_REPLY) char reply[sizeof(ICMP_ECHO_REPLY) + sizeof kEchoData + 8 + 32];
    char data[sizeof kEchoData];
    CopyMemory(data, kEchoData, sizeof data);
    const DWORD replies =
        IcmpSendEcho(icmp, htonl(address), data, sizeof data, nullptr, reply, sizeof reply, kEchoTimeoutMs);
    const DWORD error = replies == 0 ? ::GetLastError() : NO_ERROR;
    IcmpCloseHandle(icmp);
    if (replies > 0) {
        return reinterpret_cast<const ICMP_ECHO_REPLY*>(reply)->Status == IP_SUCCESS ? Echo::kAnswered
                                                                                     : Echo::kUnanswered;
    }
    // Silence, or nobody on the segment giving its hardware address.
    return error == IP_REQ_TIMED_OUT || error == IP_DEST_HOST_UNREACHABLE ? Echo::kUnanswered : Echo::kNotSent;
}

// An address being resolved, or that nobody answered for, is listed with
// an all-zero hardware address.
bool HasHardwareAddress(const MIB_IPNET_ROW2& row) {
    for (ULONG i = 0; i < row.PhysicalAddressLength && i < IF_MAX_PHYS_ADDRESS_LENGTH; ++i) {
        if (row.PhysicalAddress[i] != 0) return true;
    }
    return false;
}

// The echo made this computer ask for the address's hardware address, and
// a host that drops echoes still gives it. A table that cannot be read
// counts as taken: offering nothing is better than offering a used address.
bool HasLearnedHardwareAddress(std::uint32_t address) {
    MIB_IPNET_TABLE2* table = nullptr;
    if (GetIpNetTable2(AF_INET, &table) != NO_ERROR) return true;
    const ULONG wanted = htonl(address);
    bool learned = false;
    for (ULONG i = 0; i < table->NumEntries && !learned; ++i) {
        const MIB_IPNET_ROW2& row = table->Table[i];
        learned = row.Address.si_family == AF_INET && row.Address.Ipv4.sin_addr.s_addr == wanted &&
                  HasHardwareAddress(row);
    }
    FreeMibTable(table);
    return learned;
}

}  // namespace

// What cannot be probed counts as taken: offering nothing is better than
// offering a used address.
bool IsAddressTaken(std::uint32_t address) {
    const Echo echo = SendEcho(address);
    return echo != Echo::kUnanswered || HasLearnedHardwareAddress(address);
}
