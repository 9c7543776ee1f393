// Feeds arbitrary datagrams, up to the receive buffer's size, through the
// classification, the readers and the queues, as the worker thread does.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "receive_queues.h"
#include "wire_messages.h"

namespace {

int g_notifications = 0;
void Count(int) { ++g_notifications; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > vorn::kDatagramBufferSize) return -1;
    // A buffer of exactly the datagram's size, so any read past it is caught.
    char* datagram = new char[size ? size : 1];
    if (size) std::memcpy(datagram, data, size);

    vorn::ReceiveQueues queues;
    queues.SetCallback(&Count);
    g_notifications = 0;
    queues.Dispatch(datagram, size);
    const std::size_t queued = queues.ResponseCount() + queues.InvalidPasswordCount();
    if (queued > 1 || static_cast<std::size_t>(g_notifications) < queued) std::abort();

    VORN_ModuleScanResponseType response;
    if (queues.TakeResponse(response)) {
        // Text fields the reader filled are always terminated within 128 bytes.
        if (response.hnValid && !std::memchr(response.hn, '\0', sizeof response.hn)) std::abort();
        if (response.fbTypeValid && !std::memchr(response.fbType, '\0', sizeof response.fbType)) std::abort();
        if (response.macIdValid > 1 || response.dhcpValid > 1) std::abort();
    }
    delete[] datagram;
    return 0;
}
