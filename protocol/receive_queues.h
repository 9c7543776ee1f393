// The engine's two first-in first-out queues and the dispatch of one
// received datagram into them. Portable: the platform side owns the socket,
// the lock and the thread, and hands every received datagram to Dispatch.
#ifndef VORN_RECEIVE_QUEUES_H
#define VORN_RECEIVE_QUEUES_H

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>

#include "vorn.h"

namespace vorn {

class ReceiveQueues {
public:
    using MacId = std::array<std::uint8_t, VORN_MAC_SIZE>;

    // Entries each queue holds at most: far above the answers of any real
    // segment, and a bound on the memory that a flood can take (about
    // 1.3 MB of answers). What arrives for a full queue is dropped.
    static constexpr std::size_t kCapacity = 4096;

    void Clear();

    // Copies the oldest answer out and removes it; false when there is none
    // (the caller's record is then untouched).
    bool TakeResponse(VORN_ModuleScanResponseType& response);

    // Copies the oldest invalid-password MAC out and leaves it queued.
    bool PeekInvalidPasswordMac(std::uint8_t* macId) const;
    void RemoveFirstInvalidPasswordMac();

    // Reads one received datagram, queues what it carries and then notifies
    // the registered callback, so every notification finds its entry
    // queued. An empty datagram carries nothing and is ignored. An entry
    // for a full queue, or one that cannot be allocated, is dropped without
    // a notification, keeping one notification per queued entry.
    void Dispatch(const char* data, std::size_t length);

    void SetCallback(VORN_CallBackType callback) { callback_.store(callback, std::memory_order_relaxed); }

    std::size_t ResponseCount() const { return responses_.size(); }
    std::size_t InvalidPasswordCount() const { return invalidPasswordMacs_.size(); }

private:
    void Notify(int code) const;

    std::deque<VORN_ModuleScanResponseType> responses_;
    std::deque<MacId> invalidPasswordMacs_;
    // Written by the caller's thread without the lock, read by the worker.
    std::atomic<VORN_CallBackType> callback_{nullptr};
};

}  // namespace vorn

#endif
