// Whether something on the network holds an address, for the addresses
// offered to a module moved into this computer's subnet.
#ifndef KL_REACHABILITY_ADDRESS_PROBE_H
#define KL_REACHABILITY_ADDRESS_PROBE_H

#include <cstdint>

// True when something holds the address: it answers an echo, or this
// computer learns a hardware address for it; and when no echo could be
// sent or the neighbour table cannot be read.
bool IsAddressTaken(std::uint32_t address);

#endif
