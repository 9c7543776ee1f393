// What this computer can reach: the subnets of its IPv4 adapters, whether a
// listed module lies in one of them, and which addresses a module could be
// given to bring it into one. Portable. Addresses are in host byte order,
// the first dotted number in the top byte, as the scan records hold them.
#ifndef KL_REACHABILITY_WORKSTATION_SUBNETS_H
#define KL_REACHABILITY_WORKSTATION_SUBNETS_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "cstring.h"

// One IPv4 address of an adapter that is up: its prefix, the adapter's
// default gateway (0 when it has none) and the adapter's name.
struct WorkstationAdapter {
    std::uint32_t address = 0;
    int prefixLength = 0;
    std::uint32_t gateway = 0;
    CString name;
};

// The settings that bring a module into an adapter's subnet.
struct SubnetMove {
    std::uint32_t ip;
    std::uint32_t sn;
    std::uint32_t gw;
};

// 24 gives 255.255.255.0; lengths outside 0..32 are held within it.
std::uint32_t PrefixMask(int prefixLength);
// True for a mask of leading ones and trailing zeros (0.0.0.0 included).
bool IsContiguousMask(std::uint32_t mask);
// The number of the mask's leading ones: 24 for 255.255.255.0.
int MaskPrefixLength(std::uint32_t mask);

// Whether address is a host of the subnet that base lies in: inside it and,
// below a /31, neither its network nor its broadcast address.
bool SubnetHoldsHost(std::uint32_t base, int prefixLength, std::uint32_t address);

// A module is reachable when some adapter's subnet holds its IP as a host
// (not the adapter's own address) and, when it reports a mask, its own
// subnet holds that adapter's address. The all-zero address and a mask
// that is not contiguous are never reachable. reportedMask is empty when
// the module reports none.
bool IsReachable(const std::vector<WorkstationAdapter>& adapters, std::uint32_t ip,
                 std::optional<std::uint32_t> reportedMask);

// The addresses the listed modules report (scan records: ip and ipValid).
template <typename Records>
std::vector<std::uint32_t> ReportedAddresses(const Records& records) {
    std::vector<std::uint32_t> addresses;
    for (const auto& record : records) {
        if (record.ipValid == 1) addresses.push_back(record.ip);
    }
    return addresses;
}

// The addresses no module may be given: this computer's addresses and its
// adapters' gateways, and the listed ones but those given up (the present
// addresses of the modules that are given new ones). Sorted, each once.
std::vector<std::uint32_t> NotFreeAddresses(const std::vector<WorkstationAdapter>& adapters,
                                            const std::vector<std::uint32_t>& listed,
                                            const std::vector<std::uint32_t>& givenUp);

// Addresses to offer a module in the subnet of into, one of adapters, best
// first: the module's own host part in that subnet, then counting up from
// into's address + 1 (round to the subnet's start). Each is a host of the
// subnet and none that is known to be taken: no address of this computer
// (any adapter), no adapter's gateway, none of the listed ones. At most
// maxCount of them.
std::vector<std::uint32_t> FreeAddressCandidates(const std::vector<WorkstationAdapter>& adapters,
                                                 const WorkstationAdapter& into, std::uint32_t moduleIp,
                                                 const std::vector<std::uint32_t>& listed, std::size_t maxCount);

// The first candidate that nothing holds (taken(address) true when
// something does); false when each one is taken.
template <typename Taken>
bool FindFreeAddress(const std::vector<std::uint32_t>& candidates, Taken taken, std::uint32_t& free) {
    for (const std::uint32_t candidate : candidates) {
        if (taken(candidate)) continue;
        free = candidate;
        return true;
    }
    return false;
}

// Whether a module's web page may be opened at http://address/: not an
// address of "this network" (0.0.0.0/8), of this computer itself
// (127.0.0.0/8), multicast or reserved (224.0.0.0/3, the limited broadcast
// 255.255.255.255 among them), where a module, or a forged answer, would
// point the browser at this computer's own services or at no host at all.
bool IsWebPageAddress(std::uint32_t address);

// ip, the adapter's mask, and the adapter's gateway when it lies in that
// subnet (0.0.0.0 otherwise).
SubnetMove MoveIntoSubnet(const WorkstationAdapter& adapter, std::uint32_t ip);

// "198.18.0.0/24 (Ethernet 2)".
CString SubnetLabel(const WorkstationAdapter& adapter);

#endif
