// The plain-text messages exchanged with the modules: the two requests the
// library sends and the readers for everything that comes back. Portable,
// free of any platform header.
#ifndef VORN_WIRE_MESSAGES_H
#define VORN_WIRE_MESSAGES_H

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "vorn.h"

namespace vorn {

constexpr std::uint16_t kPort = 3250;
constexpr std::size_t kDatagramBufferSize = 1500;
constexpr std::size_t kFieldBufferSize = 100;
constexpr std::size_t kRequestBufferSize = 400;
constexpr std::size_t kTextValueMax = VORN_TEXT_SIZE - 1;

// "Module Scan" and its NUL: the 12 bytes of a scan request datagram.
constexpr char kScanRequest[] = "Module Scan";
constexpr std::size_t kScanRequestSize = sizeof(kScanRequest);

// A configure request's text, at most kRequestBufferSize - 1 characters,
// NUL-terminated; it is sent with its NUL.
struct ConfigureRequestText {
    char text[kRequestBufferSize];
    std::size_t length;
};

// Assembles the "Configure: " request from the record, whole or not at
// all. A request that cannot be carried whole comes back with length 0 and
// text[0] == '\0', and nothing is to be sent: when a password, new
// password or host name that goes into the request contains ";" (it would
// end its field early, and the module would read the rest as further
// fields), when a field would exceed 99 characters with its closing ";",
// or the whole request 399 characters. Nothing is ever cut or left out.
// Text fields are read up to their NUL or their 128th byte.
ConfigureRequestText BuildConfigureRequest(const VORN_ConfigureRequestType& request);

enum class DatagramKind { Reconfigured, InvalidPassword, ScanRequest, ScanAnswer };

// The text of a received datagram: up to its first NUL, or all of it when
// it carries none.
std::string_view ReceivedText(const char* data, std::size_t length);

DatagramKind ClassifyDatagram(std::string_view text);

// The MAC behind "Invalid Password: ", FF bytes where none was read.
void ReadInvalidPasswordReply(std::string_view text, std::uint8_t (&macId)[VORN_MAC_SIZE]);

VORN_ModuleScanResponseType ReadScanAnswer(std::string_view text);

// The position of the first case-insensitive (A-Z only) occurrence of key
// in text, or std::string_view::npos.
std::size_t FindKey(std::string_view text, std::string_view key);

}  // namespace vorn

#endif
