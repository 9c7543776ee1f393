// How one request goes out through several adapters. Portable: the engine
// passes in the socket's two operations.
#ifndef VORN_ADAPTER_SENDS_H
#define VORN_ADAPTER_SENDS_H

#include <cstdint>
#include <vector>

namespace vorn {

// Sends once through each interface: setInterface(index) picks the
// adapter, send() sends the datagram; setInterface(0) afterwards leaves
// the choice to the routing table again. When no copy could be sent
// through any adapter, the datagram still goes out once as the routing
// table has it: reaching one adapter's modules beats reaching none. No
// adapter at all sends nothing. Returns the number of datagrams sent.
template <typename SetInterface, typename Send>
int SendThroughEachInterface(const std::vector<std::uint32_t>& interfaces, SetInterface setInterface, Send send) {
    int sent = 0;
    for (const std::uint32_t index : interfaces) {
        if (setInterface(index) && send()) ++sent;
    }
    setInterface(0);
    if (!interfaces.empty() && sent == 0 && send()) ++sent;
    return sent;
}

}  // namespace vorn

#endif
