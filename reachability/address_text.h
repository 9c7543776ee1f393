// IPv4 addresses as people write them: "198.18.0.1" for the address held
// in host byte order, the first dotted number in the top byte. Portable.
#ifndef KL_REACHABILITY_ADDRESS_TEXT_H
#define KL_REACHABILITY_ADDRESS_TEXT_H

#include <cstdint>

#include "cstring.h"

CString DottedAddressText(std::uint32_t address);
// The inverse: exactly four decimal numbers of up to three digits, each at
// most 255, joined by "."; false for anything else ("N/A" included).
bool ReadDottedAddressText(const char* text, std::uint32_t& address);

#endif
