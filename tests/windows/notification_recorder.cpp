#include "notification_recorder.h"

#include <cstdint>

namespace kltest {

NotificationRecorder::NotificationRecorder() {
    InitializeCriticalSection(&guard_);
    changed_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
}

NotificationRecorder& NotificationRecorder::Instance() {
    static NotificationRecorder recorder;
    return recorder;
}

void NotificationRecorder::OnNotify(int code) {
    NotificationRecorder& self = Instance();
    EnterCriticalSection(&self.guard_);
    self.codes_.push_back(code);
    if (self.takeInside_ && code == VORN_NOTIFY_RESPONSE) {
        VORN_ModuleScanResponseType response;
        if (VORN_GetResponse(&response)) self.takenInside_.push_back(response);
    }
    LeaveCriticalSection(&self.guard_);
    SetEvent(self.changed_);
}

void NotificationRecorder::SetTakeInsideCallback(bool take) {
    EnterCriticalSection(&guard_);
    takeInside_ = take;
    LeaveCriticalSection(&guard_);
}

bool NotificationRecorder::WaitForCount(std::size_t count, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (Codes().size() >= count) return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return false;
        WaitForSingleObject(changed_, static_cast<DWORD>(deadline - now));
    }
}

void NotificationRecorder::WaitForQuiet(DWORD quietMs) {
    while (WaitForSingleObject(changed_, quietMs) == WAIT_OBJECT_0) {
    }
}

std::vector<int> NotificationRecorder::Codes() {
    EnterCriticalSection(&guard_);
    std::vector<int> copy = codes_;
    LeaveCriticalSection(&guard_);
    return copy;
}

std::vector<VORN_ModuleScanResponseType> NotificationRecorder::TakenInside() {
    EnterCriticalSection(&guard_);
    std::vector<VORN_ModuleScanResponseType> copy = takenInside_;
    LeaveCriticalSection(&guard_);
    return copy;
}

void NotificationRecorder::Clear() {
    EnterCriticalSection(&guard_);
    codes_.clear();
    takenInside_.clear();
    LeaveCriticalSection(&guard_);
}

void DrainLibrary() {
    NotificationRecorder::Instance().WaitForQuiet();
    VORN_ModuleScanResponseType response;
    while (VORN_GetResponse(&response)) {
    }
    std::uint8_t mac[VORN_MAC_SIZE];
    while (VORN_GetInvPswdMacId(mac)) VORN_RemoveFirstInvPswdMacId();
    NotificationRecorder::Instance().Clear();
}

}  // namespace kltest
