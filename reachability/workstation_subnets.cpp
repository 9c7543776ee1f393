#include "workstation_subnets.h"

#include <algorithm>

#include "address_text.h"

namespace {

constexpr int kAddressBits = 32;

bool Contains(const std::vector<std::uint32_t>& addresses, std::uint32_t address) {
    return std::find(addresses.begin(), addresses.end(), address) != addresses.end();
}

// Reachable through this adapter: its subnet holds the module, and the
// module's subnet holds the adapter, so that answers find their way back.
bool ReachableThrough(const WorkstationAdapter& adapter, std::uint32_t ip, std::optional<std::uint32_t> reportedMask) {
    if (ip == adapter.address || !SubnetHoldsHost(adapter.address, adapter.prefixLength, ip)) return false;
    return !reportedMask || SubnetHoldsHost(ip, MaskPrefixLength(*reportedMask), adapter.address);
}

}  // namespace

std::uint32_t PrefixMask(int prefixLength) {
    if (prefixLength <= 0) return 0;
    if (prefixLength >= kAddressBits) return 0xFFFFFFFFu;
    return ~(0xFFFFFFFFu >> prefixLength);
}

bool IsContiguousMask(std::uint32_t mask) { return PrefixMask(MaskPrefixLength(mask)) == mask; }

int MaskPrefixLength(std::uint32_t mask) {
    int length = 0;
    while (length < kAddressBits && (mask & (0x80000000u >> length)) != 0) ++length;
    return length;
}

// Sorted, so that a look-up costs a binary search.
std::vector<std::uint32_t> NotFreeAddresses(const std::vector<WorkstationAdapter>& adapters,
                                            const std::vector<std::uint32_t>& listed,
                                            const std::vector<std::uint32_t>& givenUp) {
    std::vector<std::uint32_t> given = givenUp;
    std::sort(given.begin(), given.end());
    std::vector<std::uint32_t> taken;
    for (const std::uint32_t address : listed) {
        if (!std::binary_search(given.begin(), given.end(), address)) taken.push_back(address);
    }
    for (const WorkstationAdapter& adapter : adapters) {
        taken.push_back(adapter.address);
        taken.push_back(adapter.gateway);
    }
    std::sort(taken.begin(), taken.end());
    taken.erase(std::unique(taken.begin(), taken.end()), taken.end());
    return taken;
}

bool SubnetHoldsHost(std::uint32_t base, int prefixLength, std::uint32_t address) {
    const std::uint32_t mask = PrefixMask(prefixLength);
    if ((address & mask) != (base & mask)) return false;
    // A /31 has two hosts and no network or broadcast address; a /32 one.
    if (prefixLength >= kAddressBits - 1) return true;
    const std::uint32_t host = address & ~mask;
    return host != 0 && host != ~mask;
}

bool IsReachable(const std::vector<WorkstationAdapter>& adapters, std::uint32_t ip,
                 std::optional<std::uint32_t> reportedMask) {
    if (ip == 0 || (reportedMask && !IsContiguousMask(*reportedMask))) return false;
    for (const WorkstationAdapter& adapter : adapters) {
        if (ReachableThrough(adapter, ip, reportedMask)) return true;
    }
    return false;
}

std::vector<std::uint32_t> FreeAddressCandidates(const std::vector<WorkstationAdapter>& adapters,
                                                 const WorkstationAdapter& into, std::uint32_t moduleIp,
                                                 const std::vector<std::uint32_t>& listed, std::size_t maxCount) {
    std::vector<WorkstationAdapter> withInto = adapters;
    withInto.push_back(into);
    const std::vector<std::uint32_t> taken = NotFreeAddresses(withInto, listed, {});
    std::vector<std::uint32_t> candidates;
    const std::uint32_t mask = PrefixMask(into.prefixLength);
    const std::uint32_t network = into.address & mask;
    const auto offer = [&](std::uint32_t address) {
        if (candidates.size() < maxCount && SubnetHoldsHost(network, into.prefixLength, address) &&
            !std::binary_search(taken.begin(), taken.end(), address) && !Contains(candidates, address)) {
            candidates.push_back(address);
        }
    };
    offer(network | (moduleIp & ~mask));
    // Every address turned away is the network, the broadcast, a taken one
    // or the first candidate: past that many steps the count is complete,
    // however large the subnet.
    const std::uint64_t steps = static_cast<std::uint64_t>(~mask) + 1;
    const std::uint64_t enough = taken.size() + maxCount + 3;
    std::uint32_t host = into.address & ~mask;
    for (std::uint64_t step = 1; step < steps && step <= enough && candidates.size() < maxCount; ++step) {
        host = (host + 1) & ~mask;
        offer(network | host);
    }
    return candidates;
}

bool IsWebPageAddress(std::uint32_t address) {
    const std::uint32_t firstByte = address >> 24;
    return firstByte != 0 && firstByte != 127 && firstByte < 224;
}

SubnetMove MoveIntoSubnet(const WorkstationAdapter& adapter, std::uint32_t ip) {
    const bool gatewayInSubnet =
        adapter.gateway != 0 && SubnetHoldsHost(adapter.address, adapter.prefixLength, adapter.gateway);
    return {ip, PrefixMask(adapter.prefixLength), gatewayInSubnet ? adapter.gateway : 0u};
}

CString SubnetLabel(const WorkstationAdapter& adapter) {
    const std::uint32_t network = adapter.address & PrefixMask(adapter.prefixLength);
    CString label;
    label.Format("%s/%d (%s)", DottedAddressText(network).GetString(), adapter.prefixLength,
                 adapter.name.GetString());
    return label;
}
