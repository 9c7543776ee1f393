#include "library_session.h"

#include <algorithm>
#include <cstring>

namespace {

// The callback runs on the library's worker thread with the library lock
// held: it only counts and wakes the waiting main thread.
HANDLE g_libraryEvent = nullptr;
volatile LONG g_reconfiguredCount = 0;

void OnLibraryNotification(int code) {
    if (code == VORN_NOTIFY_RECONFIGURED) InterlockedIncrement(&g_reconfiguredCount);
    SetEvent(g_libraryEvent);
}

// Milliseconds left until deadline, 0 once it has passed.
DWORD Remaining(ULONGLONG deadline) {
    const ULONGLONG now = GetTickCount64();
    return now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
}

bool AllAnswered(const ModuleStore& answers, const std::vector<MacAddress>& wanted) {
    return std::all_of(wanted.begin(), wanted.end(),
                       [&](const MacAddress& mac) { return answers.Find(mac.bytes) != nullptr; });
}

void DropAnswers() {
    VORN_ModuleScanResponseType answer;
    while (VORN_GetResponse(&answer)) {
    }
}

// VORN_SendConfigure tells nothing of its send, but the library sends a
// scan the same way through the same socket and adapters: when a scan
// cannot be sent, neither could the request. Asked only after a request
// went unanswered, so that the modules' answers cost nothing otherwise.
bool LibraryCanSend() { return VORN_SendModuleScan() != 0; }

}  // namespace

LibrarySession::LibrarySession() {
    g_libraryEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    VORN_RegisterCallBack(&OnLibraryNotification);
    VORN_Start();
}

LibrarySession::~LibrarySession() {
    // The engine is never stopped. A callback already running when it is
    // cleared may still signal the event; it runs with the library's lock
    // held, so once an export has had the lock, none runs any more.
    VORN_RegisterCallBack(nullptr);
    std::uint8_t mac[VORN_MAC_SIZE];
    VORN_GetInvPswdMacId(mac);
    CloseHandle(g_libraryEvent);
    g_libraryEvent = nullptr;
}

bool LibrarySession::Scan(const std::vector<MacAddress>& wanted, DWORD waitMs, ModuleStore& answers) {
    DropAnswers();
    answers.Clear();
    if (!VORN_SendModuleScan()) return false;
    const ULONGLONG deadline = GetTickCount64() + waitMs;
    for (;;) {
        VORN_ModuleScanResponseType answer;
        while (VORN_GetResponse(&answer)) answers.Add(answer);
        if (!wanted.empty() && AllAnswered(answers, wanted)) return true;
        const DWORD left = Remaining(deadline);
        if (left == 0) return true;
        WaitForSingleObject(g_libraryEvent, left);
    }
}

Verdict LibrarySession::Configure(const VORN_ConfigureRequestType& request, DWORD waitMs) {
    DropPendingReplies();
    VORN_SendConfigure(&request);
    const ULONGLONG deadline = GetTickCount64() + waitMs;
    for (;;) {
        // The request comes back to the library's own socket and is read
        // as an answer without a MAC; it is of no use here.
        DropAnswers();
        if (InterlockedExchange(&g_reconfiguredCount, 0) > 0) return Verdict::Reconfigured;
        std::uint8_t mac[VORN_MAC_SIZE];
        while (VORN_GetInvPswdMacId(mac)) {
            VORN_RemoveFirstInvPswdMacId();
            if (std::memcmp(mac, request.macId, VORN_MAC_SIZE) == 0) return Verdict::InvalidPassword;
        }
        const DWORD left = Remaining(deadline);
        if (left == 0) return LibraryCanSend() ? Verdict::NoReply : Verdict::NotSent;
        WaitForSingleObject(g_libraryEvent, left);
    }
}

// Replies that came before this request are not about it.
void LibrarySession::DropPendingReplies() {
    std::uint8_t mac[VORN_MAC_SIZE];
    while (VORN_GetInvPswdMacId(mac)) VORN_RemoveFirstInvPswdMacId();
    InterlockedExchange(&g_reconfiguredCount, 0);
    DropAnswers();
}
