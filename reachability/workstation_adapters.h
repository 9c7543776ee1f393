// This computer's IPv4 adapters as the library sends through them: up, not
// loopback, with an address. Read afresh at each scan, so that an adapter
// plugged in or readdressed counts from the next Scan on.
#ifndef KL_REACHABILITY_WORKSTATION_ADAPTERS_H
#define KL_REACHABILITY_WORKSTATION_ADAPTERS_H

#include <optional>
#include <vector>

#include "workstation_subnets.h"

// One entry per IPv4 address of each such adapter, in the system's order
// (empty for a computer without any); nothing when the list cannot be had,
// so that a caller can tell "unknown" from "no adapter".
std::optional<std::vector<WorkstationAdapter>> ReadWorkstationAdapters();

#endif
