#include "request_echoes.h"

#include <algorithm>
#include <cstring>

namespace vorn {

void RequestEchoes::Sent(const char* data, std::size_t length, int copies,
                         const std::vector<std::uint32_t>& ownAddresses) {
    length_ = 0;
    firstCopyRead_ = false;
    if (copies < 2 || length == 0 || length > sizeof request_) return;
    std::memcpy(request_, data, length);
    length_ = length;
    ownAddresses_ = ownAddresses;
}

// Only the library's own socket sends from the module port of this
// workstation, and nothing else sends it exactly these bytes: a module's
// answer or reply differs in sender, port or text and is never held back.
bool RequestEchoes::IsOwnCopy(const char* data, std::size_t length, std::uint32_t fromAddress,
                              std::uint16_t fromPort) const {
    return length_ != 0 && length == length_ && fromPort == kPort && std::memcmp(data, request_, length) == 0 &&
           std::find(ownAddresses_.begin(), ownAddresses_.end(), fromAddress) != ownAddresses_.end();
}

// The copies stay recognised until the next request: a copy may come back
// late, and two adapters on one wire bring each copy twice.
bool RequestEchoes::IsFurtherCopy(const char* data, std::size_t length, std::uint32_t fromAddress,
                                  std::uint16_t fromPort) {
    if (!IsOwnCopy(data, length, fromAddress, fromPort)) return false;
    if (firstCopyRead_) return true;
    firstCopyRead_ = true;
    return false;
}

}  // namespace vorn
