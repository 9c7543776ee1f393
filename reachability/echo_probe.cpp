#include "echo_probe.h"

#include <winsock2.h>
#include <iphlpapi.h>
#include <icmpapi.h>

namespace {

constexpr char kEchoData[] = "Kelvara Lanwise";

}  // namespace

bool AnswersEcho(std::uint32_t address, DWORD timeoutMs) {
    const HANDLE icmp = IcmpCreateFile();
    if (icmp == INVALID_HANDLE_VALUE) return false;
    // Room for one reply, its data and an ICMP error, as the documentation asks.
    alignas(ICMP_ECHO_REPLY) char reply[sizeof(ICMP_ECHO_REPLY) + sizeof kEchoData + 8 + 32];
    char data[sizeof kEchoData];
    CopyMemory(data, kEchoData, sizeof data);
    const DWORD replies = IcmpSendEcho(icmp, htonl(address), data, sizeof data, nullptr, reply, sizeof reply, timeoutMs);
    IcmpCloseHandle(icmp);
    return replies > 0 && reinterpret_cast<const ICMP_ECHO_REPLY*>(reply)->Status == IP_SUCCESS;
}
