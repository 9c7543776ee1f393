// MAC and IPv4 address helpers shared by the option parser, the answer
// builder and the configure reader.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace modsim {

using Mac = std::array<std::uint8_t, 6>;

// IPv4 addresses are kept with the first dotted number in the most
// significant byte, the same value the commissioning tool works with.
using Ipv4 = std::uint32_t;

// Reads exactly "XX-XX-XX-XX-XX-XX" (hex digits of either case).
bool parseMac(std::string_view text, Mac& mac);
// "%02X-%02X-%02X-%02X-%02X-%02X", upper case.
std::string formatMac(const Mac& mac);
// Treats the MAC as a 48-bit number so that counting carries into the
// higher bytes; wraps at 2^48.
Mac macPlus(const Mac& base, std::uint64_t offset);

// Reads exactly four dotted decimal numbers 0..255.
bool parseIpv4(std::string_view text, Ipv4& address);
std::string formatIpv4(Ipv4 address);

// 0..15 for a hexadecimal digit of either case, else -1.
int hexDigitValue(char c);

// Reads a plain decimal number within [min, max]; no sign, no blanks.
bool parseUnsigned(std::string_view text, std::uint64_t min, std::uint64_t max,
                   std::uint64_t& value);

}  // namespace modsim
