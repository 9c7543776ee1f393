// Feeds arbitrary datagrams, up to the receive buffer's size, through the
// classification, the readers and the queues, as the worker thread does.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "receive_queues.h"
#include "wire_messages.h"

namespace {

// Notifications by code, 1 to 3.
int g_notifications[4] = {};
void Count(int code) {
    if (code < 1 || code > 3) std::abort();
    ++g_notifications[code];
}

bool FlagsAreZeroOrOne(const VORN_ModuleScanResponseType& r) {
    for (std::uint8_t flag : {r.protocolVersionValid, r.fbTypeValid, r.moduleVersionValid, r.macIdValid, r.ipValid,
                              r.snValid, r.gwValid, r.dhcpValid, r.pswdValid, r.hnValid, r.dns1Valid, r.dns2Valid}) {
        if (flag > 1) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > vorn::kDatagramBufferSize) return -1;
    // A buffer of exactly the datagram's size, so any read past it is caught.
    char* datagram = new char[size ? size : 1];
    if (size) std::memcpy(datagram, data, size);

    vorn::ReceiveQueues queues;
    queues.SetCallback(&Count);
    std::memset(g_notifications, 0, sizeof g_notifications);
    queues.Dispatch(datagram, size);
    // One notification per queued entry, of its queue's code; a
    // "Reconfigured:" notifies with nothing queued; an empty datagram
    // gives nothing at all.
    const std::size_t responses = queues.ResponseCount();
    const std::size_t invalid = queues.InvalidPasswordCount();
    const std::size_t entries = responses + invalid;
    if (entries > 1 || static_cast<std::size_t>(g_notifications[1]) != responses ||
        static_cast<std::size_t>(g_notifications[3]) != invalid || g_notifications[2] > 1 ||
        (g_notifications[2] == 1 && entries != 0) || (size == 0 && entries + g_notifications[2] != 0)) {
        std::abort();
    }

    VORN_ModuleScanResponseType response;
    if (queues.TakeResponse(response)) {
        // Text fields the reader filled are always terminated within 128 bytes.
        if (response.hnValid && !std::memchr(response.hn, '\0', sizeof response.hn)) std::abort();
        if (response.fbTypeValid && !std::memchr(response.fbType, '\0', sizeof response.fbType)) std::abort();
        if (!FlagsAreZeroOrOne(response)) std::abort();
    }
    delete[] datagram;
    return 0;
}
