// Building the raw datagrams that tests ask the simulator to send, and
// showing received bytes in the log.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace modsim {

// The largest payload of one UDP datagram over IPv4.
constexpr std::size_t kMaxDatagramSize = 65507;

enum class PayloadKind {
  Text,  // the text and one NUL
  Hex,   // exactly the bytes written as hexadecimal pairs
  Size,  // N bytes: 'x' repeated, the last one NUL
};

// Builds one datagram; on a bad argument returns false and says why.
bool buildPayload(PayloadKind kind, std::string_view argument, std::string& datagram,
                  std::string& error);

// The bytes as upper-case hexadecimal pairs, the form send-hex takes.
std::string hexOf(std::string_view bytes);

// The bytes as one log-friendly line: printable ASCII as is, everything
// else as \xNN, cut after maxChars input bytes.
std::string printable(std::string_view bytes, std::size_t maxChars);

}  // namespace modsim
