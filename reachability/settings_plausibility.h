// Whether the settings a request would leave a module with make sense for a
// module on a network: an address that is no host of its own subnet, a
// mask with holes or a gateway it cannot reach cut the module off. One rule
// for the command line and the program. Portable; addresses in host byte
// order as in workstation_subnets.h.
#ifndef KL_REACHABILITY_SETTINGS_PLAUSIBILITY_H
#define KL_REACHABILITY_SETTINGS_PLAUSIBILITY_H

#include <cstdint>

#include "cstring.h"

// What a request would leave a module with.
struct ModuleAddressing {
    std::uint32_t ip;
    std::uint32_t sn;
    std::uint32_t gw;
    bool dhcpOn;
};

// The first rule the settings break, as a message that names the value
// and the rule; empty when they are plausible.
CString ImplausibleAddressing(const ModuleAddressing& settings);

#endif
