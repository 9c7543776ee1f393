// Records the library's notifications as the registered callback sees them,
// on the library's worker thread, and lets a test wait for them.
#ifndef KL_TESTS_NOTIFICATION_RECORDER_H
#define KL_TESTS_NOTIFICATION_RECORDER_H

#include <winsock2.h>
#include <windows.h>

#include <vector>

#include "vorn.h"

namespace kltest {

class NotificationRecorder {
public:
    static NotificationRecorder& Instance();
    static void OnNotify(int code);

    // When set, the callback takes one response from inside each
    // notification 1, as a caller may do while the library holds its lock.
    void SetTakeInsideCallback(bool take);

    // Waits until count notifications have arrived; false after timeoutMs.
    bool WaitForCount(std::size_t count, DWORD timeoutMs = 5000);
    // Waits until no notification has come for quietMs.
    void WaitForQuiet(DWORD quietMs = 150);

    std::vector<int> Codes();
    std::vector<VORN_ModuleScanResponseType> TakenInside();
    void Clear();

private:
    NotificationRecorder();
    CRITICAL_SECTION guard_;
    HANDLE changed_;
    bool takeInside_ = false;
    std::vector<int> codes_;
    std::vector<VORN_ModuleScanResponseType> takenInside_;
};

// Empties both library queues and the recorder after the segment went quiet.
void DrainLibrary();

}  // namespace kltest

#endif
