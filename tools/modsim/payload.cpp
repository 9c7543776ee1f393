#include "payload.h"

#include <cstdio>

#include "address.h"

namespace modsim {

namespace {

bool decodeHex(std::string_view hex, std::string& bytes, std::string& error) {
  if (hex.size() % 2 != 0) {
    error = "hex text needs an even number of digits";
    return false;
  }
  if (hex.size() / 2 > kMaxDatagramSize) {
    error = "hex text is longer than one datagram";
    return false;
  }
  std::string result;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = hexDigitValue(hex[i]);
    const int low = hexDigitValue(hex[i + 1]);
    if (high < 0 || low < 0) {
      error = "hex text may hold only the digits 0-9, a-f, A-F";
      return false;
    }
    result.push_back(static_cast<char>(high * 16 + low));
  }
  bytes = std::move(result);
  return true;
}

bool sizedFiller(std::string_view sizeText, std::string& bytes, std::string& error) {
  std::uint64_t size = 0;
  if (!parseUnsigned(sizeText, 0, kMaxDatagramSize, size)) {
    error = "size must be a number from 0 to " + std::to_string(kMaxDatagramSize);
    return false;
  }
  bytes.assign(size, 'x');
  if (!bytes.empty()) bytes.back() = '\0';
  return true;
}

}  // namespace

bool buildPayload(PayloadKind kind, std::string_view argument, std::string& datagram,
                  std::string& error) {
  switch (kind) {
    case PayloadKind::Text:
      if (argument.size() + 1 > kMaxDatagramSize) {
        error = "text is longer than one datagram";
        return false;
      }
      datagram.assign(argument).push_back('\0');
      return true;
    case PayloadKind::Hex:
      return decodeHex(argument, datagram, error);
    case PayloadKind::Size:
      return sizedFiller(argument, datagram, error);
  }
  return false;
}

std::string printable(std::string_view bytes, std::size_t maxChars) {
  std::string line;
  for (std::size_t i = 0; i < bytes.size() && i < maxChars; ++i) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      line.push_back(static_cast<char>(c));
    } else {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      line.append(escaped);
    }
  }
  if (bytes.size() > maxChars) line.append("...");
  return line;
}

std::string hexOf(std::string_view bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 0x0F];
  }
  return hex;
}

}  // namespace modsim
