// Which addresses are taken on the wire, probed together: a batch of
// silent addresses costs one probe's wait, not one per address.
#ifndef KL_BATCH_WIRE_PROBE_H
#define KL_BATCH_WIRE_PROBE_H

#include <cstdint>
#include <vector>

// The addresses of the list that something holds (IsAddressTaken: an echo
// answers, or a hardware address is learnt). Blocks for about one probe's
// timeout per 64 addresses; call it off the window's thread. Every address
// counts as taken when the probes cannot be started.
std::vector<std::uint32_t> TakenAddresses(const std::vector<std::uint32_t>& addresses);

#endif
