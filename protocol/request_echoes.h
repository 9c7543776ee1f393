// The copies of a configure request that come back to the library's own
// socket. A request leaves once through each adapter, and each copy is
// read back; only the first is an answer worth queueing (the list shows it
// as its row without a MAC), the others would turn up as that row again,
// possibly after the module's reply has already emptied the list. Portable.
#ifndef VORN_REQUEST_ECHOES_H
#define VORN_REQUEST_ECHOES_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "wire_messages.h"

namespace vorn {

class RequestEchoes {
public:
    // The request just sent, as copies datagrams from these addresses of
    // the workstation (host byte order). With one copy or none there is
    // nothing to tell apart: every echo is read as it always was.
    void Sent(const char* data, std::size_t length, int copies, const std::vector<std::uint32_t>& ownAddresses);

    // True for a datagram that is a further copy of the last request: its
    // bytes, from one of the workstation's addresses and the module port,
    // after the first such copy was read. The first copy, whichever
    // adapter it came through, returns false and is read as usual.
    bool IsFurtherCopy(const char* data, std::size_t length, std::uint32_t fromAddress, std::uint16_t fromPort);

private:
    bool IsOwnCopy(const char* data, std::size_t length, std::uint32_t fromAddress, std::uint16_t fromPort) const;

    char request_[kRequestBufferSize] = {};
    std::size_t length_ = 0;  // 0: no request of several copies is pending
    bool firstCopyRead_ = false;
    std::vector<std::uint32_t> ownAddresses_;
};

}  // namespace vorn

#endif
