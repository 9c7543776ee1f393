#include "address.h"

#include <cstdio>

namespace modsim {

int hexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool parseMac(std::string_view text, Mac& mac) {
  constexpr std::size_t kMacTextLength = 17;
  if (text.size() != kMacTextLength) return false;
  Mac result{};
  for (std::size_t i = 0; i < result.size(); ++i) {
    const std::size_t at = i * 3;
    const int high = hexDigitValue(text[at]);
    const int low = hexDigitValue(text[at + 1]);
    if (high < 0 || low < 0) return false;
    if (i + 1 < result.size() && text[at + 2] != '-') return false;
    result[i] = static_cast<std::uint8_t>(high * 16 + low);
  }
  mac = result;
  return true;
}

std::string formatMac(const Mac& mac) {
  char text[18];
  std::snprintf(text, sizeof text, "%02X-%02X-%02X-%02X-%02X-%02X", mac[0], mac[1],
                mac[2], mac[3], mac[4], mac[5]);
  return text;
}

Mac macPlus(const Mac& base, std::uint64_t offset) {
  std::uint64_t value = 0;
  for (std::uint8_t byte : base) value = (value << 8) | byte;
  value += offset;
  Mac result{};
  for (std::size_t i = result.size(); i-- > 0;) {
    result[i] = static_cast<std::uint8_t>(value & 0xFF);
    value >>= 8;
  }
  return result;
}

bool parseUnsigned(std::string_view text, std::uint64_t min, std::uint64_t max,
                   std::uint64_t& value) {
  // Twenty digits already exceed every limit used here; refusing longer
  // texts keeps the accumulation below from overflowing.
  if (text.empty() || text.size() > 19) return false;
  std::uint64_t result = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    result = result * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (result < min || result > max) return false;
  value = result;
  return true;
}

bool parseIpv4(std::string_view text, Ipv4& address) {
  Ipv4 result = 0;
  for (int part = 0; part < 4; ++part) {
    const std::size_t dot = text.find('.');
    const bool last = part == 3;
    if (last != (dot == std::string_view::npos)) return false;
    std::uint64_t number = 0;
    if (!parseUnsigned(text.substr(0, dot), 0, 255, number)) return false;
    result = (result << 8) | static_cast<Ipv4>(number);
    if (!last) text.remove_prefix(dot + 1);
  }
  address = result;
  return true;
}

std::string formatIpv4(Ipv4 address) {
  char text[16];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", (address >> 24) & 0xFFu,
                (address >> 16) & 0xFFu, (address >> 8) & 0xFFu, address & 0xFFu);
  return text;
}

}  // namespace modsim
