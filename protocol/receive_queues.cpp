#include "receive_queues.h"

#include <cstring>
#include <new>

#include "wire_messages.h"

namespace vorn {

void ReceiveQueues::Clear() {
    responses_.clear();
    invalidPasswordMacs_.clear();
}

bool ReceiveQueues::TakeResponse(VORN_ModuleScanResponseType& response) {
    if (responses_.empty()) return false;
    response = responses_.front();
    responses_.pop_front();
    return true;
}

bool ReceiveQueues::PeekInvalidPasswordMac(std::uint8_t* macId) const {
    if (invalidPasswordMacs_.empty()) return false;
    std::memcpy(macId, invalidPasswordMacs_.front().data(), VORN_MAC_SIZE);
    return true;
}

void ReceiveQueues::RemoveFirstInvalidPasswordMac() {
    if (!invalidPasswordMacs_.empty()) invalidPasswordMacs_.pop_front();
}

void ReceiveQueues::Dispatch(const char* data, std::size_t length) {
    if (length == 0) return;
    const std::string_view text = ReceivedText(data, length);
    try {
        switch (ClassifyDatagram(text)) {
        case DatagramKind::Reconfigured:
            Notify(VORN_NOTIFY_RECONFIGURED);
            break;
        case DatagramKind::InvalidPassword: {
            if (invalidPasswordMacs_.size() >= kCapacity) break;
            std::uint8_t mac[VORN_MAC_SIZE];
            ReadInvalidPasswordReply(text, mac);
            MacId entry;
            std::memcpy(entry.data(), mac, VORN_MAC_SIZE);
            invalidPasswordMacs_.push_back(entry);
            Notify(VORN_NOTIFY_INVALID_PASSWORD);
            break;
        }
        case DatagramKind::ScanRequest:
            break;
        case DatagramKind::ScanAnswer:
            if (responses_.size() >= kCapacity) break;
            responses_.push_back(ReadScanAnswer(text));
            Notify(VORN_NOTIFY_RESPONSE);
            break;
        }
    } catch (const std::bad_alloc&) {
        // Out of memory: this datagram is lost, the queues stay consistent.
    }
}

void ReceiveQueues::Notify(int code) const {
    const VORN_CallBackType callback = callback_.load(std::memory_order_relaxed);
    if (callback) callback(code);
}

}  // namespace vorn
