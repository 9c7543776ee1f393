#include "wire_probe.h"

#include <algorithm>
#include <system_error>
#include <thread>

#include "address_probe.h"

namespace {

// Probes run side by side; each waits for its reply or its timeout.
constexpr std::size_t kParallelProbes = 64;

}  // namespace

std::vector<std::uint32_t> TakenAddresses(const std::vector<std::uint32_t>& addresses) {
    std::vector<char> taken(addresses.size(), 0);
    const std::size_t count = std::min<std::size_t>(kParallelProbes, addresses.size());
    std::vector<std::thread> probes;
    probes.reserve(count);
    // A probe thread that cannot be started leaves every address taken:
    // the started ones are awaited, since they use what this frame holds.
    try {
        for (std::size_t first = 0; first < count; ++first) {
            probes.emplace_back([&addresses, &taken, first, count] {
                for (std::size_t i = first; i < addresses.size(); i += count) taken[i] = IsAddressTaken(addresses[i]);
            });
        }
    } catch (const std::system_error&) {
        for (std::thread& probe : probes) probe.join();
        return addresses;
    }
    for (std::thread& probe : probes) probe.join();
    std::vector<std::uint32_t> found;
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        if (taken[i]) found.push_back(addresses[i]);
    }
    return found;
}
