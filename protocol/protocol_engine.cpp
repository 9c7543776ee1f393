#include "protocol_engine.h"

#include <iphlpapi.h>
#include <mmsystem.h>
#include <ws2tcpip.h>

#include <new>

#include "adapter_sends.h"
#include "broadcast_adapters.h"

namespace vorn {
namespace {

constexpr DWORD kLockWaitMs = 1000;
constexpr DWORD kPollWaitMs = 1;
constexpr UINT kTimerDelayMs = 1;
// Datagrams handled in one receive step before the lock is released, so
// that every exported call gets the lock within a few milliseconds however
// fast datagrams arrive; the rest waits in the socket for the next poll.
constexpr int kDatagramsPerStep = 16;
// Room for a whole segment's answers to one scan, which arrive nearly at
// once: 8192 bytes hold only about a dozen answers where the platform
// charges each datagram's bookkeeping against the buffer. A platform may
// grant less than asked; that is not a failure.
constexpr int kSegmentReceiveBufferBytes = 1 << 20;
constexpr int kMinimumReceiveBufferBytes = 8192;

sockaddr_in BroadcastAddress() {
    sockaddr_in to = {};
    to.sin_family = AF_INET;
    to.sin_port = htons(kPort);
    to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    return to;
}

// The workstation's IPv4 addresses on one adapter, in host byte order.
void AddAddresses(const IP_ADAPTER_ADDRESSES& adapter, std::vector<std::uint32_t>& addresses) {
    for (const IP_ADAPTER_UNICAST_ADDRESS* unicast = adapter.FirstUnicastAddress; unicast; unicast = unicast->Next) {
        const std::uint32_t address = Ipv4Of(unicast->Address);
        if (address != 0) addresses.push_back(address);
    }
}

// The IPv4 interface indexes of the adapters that carry broadcasts and
// those adapters' addresses; listed false when the list cannot be had.
// Asked before the lock is taken: under Wine the list costs milliseconds,
// which the worker would otherwise wait through while datagrams pile up.
BroadcastAdapters ListBroadcastAdapters() {
    const ULONG flags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER |
                        GAA_FLAG_SKIP_FRIENDLY_NAME;
    BroadcastAdapters adapters;
    adapters.listed = ForEachBroadcastAdapter(flags, [&adapters](const IP_ADAPTER_ADDRESSES& adapter) {
        adapters.interfaces.push_back(adapter.IfIndex);
        AddAddresses(adapter, adapters.addresses);
    });
    return adapters;
}

}  // namespace

ProtocolEngine& TheEngine() {
    static ProtocolEngine engine;
    return engine;
}

ProtocolEngine::LockScope::LockScope(HANDLE lock) : lock_(lock), held_(true) {
    if (lock_) {
        const DWORD result = WaitForSingleObject(lock_, kLockWaitMs);
        held_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
    }
}

ProtocolEngine::LockScope::~LockScope() {
    if (lock_ && held_) ReleaseMutex(lock_);
}

void ProtocolEngine::Load() { queues_.SetCallback(nullptr); }

// WSAStartup may load the socket provider's DLLs, which must not happen
// under the loader lock: the socket is opened at the first exported call
// instead of at load, once, even when two threads make that call at once.
void ProtocolEngine::EnsureSocket() {
    InitOnceExecuteOnce(&socketOnce_, &ProtocolEngine::OpenSocketOnce, this, nullptr);
}

BOOL CALLBACK ProtocolEngine::OpenSocketOnce(PINIT_ONCE, PVOID engine, PVOID*) {
    static_cast<ProtocolEngine*>(engine)->OpenLibrarySocket();
    return TRUE;
}

void ProtocolEngine::OpenLibrarySocket() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return;
    if (!OpenSocket() && socket_ != INVALID_SOCKET) {
        closesocket(socket_);
        socket_ = INVALID_SOCKET;
    }
}

bool ProtocolEngine::OpenSocket() {
    socket_ = socket(AF_INET, SOCK_DGRAM, 0);
    if (socket_ == INVALID_SOCKET) return false;
    const BOOL broadcast = TRUE;
    if (setsockopt(socket_, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&broadcast), sizeof broadcast) != 0)
        return false;
    if (!SetReceiveBuffer(kSegmentReceiveBufferBytes) && !SetReceiveBuffer(kMinimumReceiveBufferBytes)) return false;
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    local.sin_port = htons(kPort);
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (bind(socket_, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) return false;
    u_long nonBlocking = 1;
    ioctlsocket(socket_, FIONBIO, &nonBlocking);
    return true;
}

bool ProtocolEngine::SetReceiveBuffer(int bytes) {
    return setsockopt(socket_, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&bytes), sizeof bytes) == 0;
}

// Runs under the loader lock, and only before Start: a started engine has
// pinned the library. WSACleanup may unload the socket provider's DLLs,
// which must not happen under the loader lock; the socket library's count
// stays raised until the process ends.
void ProtocolEngine::Unload(bool processEnding) {
    // At process end the system reclaims the socket; calling into the
    // socket library then may touch DLLs already gone.
    if (processEnding) return;
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
    socket_ = INVALID_SOCKET;
}

// The worker and the timer run in this library's code until the process
// ends, and nothing stops them: once they exist, FreeLibrary must not
// unmap that code. Without the pin the engine does not start.
// The engine itself is a static object of the library: its address names
// the library's module.
bool ProtocolEngine::PinLibrary() const {
    HMODULE library = nullptr;
    return GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                              reinterpret_cast<LPCSTR>(this), &library) != FALSE;
}

void ProtocolEngine::Start() {
    if (started_) return;
    started_ = true;
    if (!PinLibrary()) return;
    queues_.Clear();
    HANDLE lock = CreateMutexA(nullptr, TRUE, nullptr);
    if (!lock) return;
    ReleaseMutex(lock);
    lock_ = lock;
    pollEvent_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    // Without the event the worker's 1 ms wait would return at once and
    // the worker would spin on the lock.
    if (!pollEvent_) return;
    StartTimer();
    if (!timer_) return;
    HANDLE worker = CreateThread(nullptr, 0, &ProtocolEngine::WorkerMain, nullptr, 0, nullptr);
    if (worker) {
        SetThreadPriority(worker, THREAD_PRIORITY_NORMAL);
        CloseHandle(worker);
    }
}

void ProtocolEngine::StartTimer() {
    TIMECAPS caps;
    timerResolution_ = 0;
    if (timeGetDevCaps(&caps, sizeof caps) == TIMERR_NOERROR) {
        timerResolution_ = caps.wPeriodMin < caps.wPeriodMax ? caps.wPeriodMin : caps.wPeriodMax;
    }
    timeBeginPeriod(timerResolution_);
    timer_ = timeSetEvent(kTimerDelayMs, timerResolution_, &ProtocolEngine::TimerProc,
                          reinterpret_cast<DWORD_PTR>(pollEvent_), TIME_PERIODIC);
}

void CALLBACK ProtocolEngine::TimerProc(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    SetEvent(reinterpret_cast<HANDLE>(user));
}

DWORD WINAPI ProtocolEngine::WorkerMain(LPVOID) {
    TheEngine().WorkerLoop();
    return 0;
}

void ProtocolEngine::WorkerLoop() {
    for (;;) {
        {
            LockScope scope(lock_);
            if (scope.Held()) ReceiveStepGuarded();
        }
        WaitForSingleObject(pollEvent_, kPollWaitMs);
    }
}

// A callback that throws must not end the worker, and with it all
// receiving: the step is abandoned and the next poll goes on.
void ProtocolEngine::ReceiveStepGuarded() {
    try {
        ReceiveStep();
    } catch (...) {
    }
}

// Reads the datagrams waiting in the socket, in arrival order, at most
// kDatagramsPerStep of them. The socket is non-blocking, so the receive
// call itself tells that nothing is left. FIONREAD is not asked: for a
// datagram socket it reports either the next datagram's size or the sum of
// all waiting bytes, depending on the platform, and an empty datagram at
// the head of the queue would then hide everything behind it. An empty
// datagram is received like any other and dropped by the dispatch; a
// failed receive skips its datagram (an oversized one is dropped so).
void ProtocolEngine::ReceiveStep() {
    if (socket_ == INVALID_SOCKET) return;
    for (int i = 0; i < kDatagramsPerStep; ++i) {
        sockaddr_in from;
        int fromLength = sizeof from;
        const int received = recvfrom(socket_, receiveBuffer_, sizeof receiveBuffer_, 0,
                                      reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (received == SOCKET_ERROR) {
            if (WSAGetLastError() == WSAEWOULDBLOCK) return;
            continue;
        }
        const std::size_t length = static_cast<std::size_t>(received);
        if (echoes_.IsFurtherCopy(receiveBuffer_, length, ntohl(from.sin_addr.s_addr), ntohs(from.sin_port))) continue;
        queues_.Dispatch(receiveBuffer_, length);
    }
}

// A limited broadcast leaves through the one adapter the routing table
// picks, so each request goes out once through every adapter instead: a
// module with factory settings lies in no subnet of the workstation and
// hears only a broadcast on its own wire. Without an adapter list the
// request goes out once, as the routing table has it. Returns the number
// of datagrams sent.
int ProtocolEngine::SendDatagram(const BroadcastAdapters& adapters, const char* data, int length) {
    if (socket_ == INVALID_SOCKET) return 0;
    if (!adapters.listed) return SendBroadcast(data, length) ? 1 : 0;
    // IP_UNICAST_IF picks the adapter that the socket's IPv4 traffic leaves
    // through; the socket stays bound to 0.0.0.0:3250, so every answer
    // still arrives at it. The library sets the option nowhere else.
    return SendThroughEachInterface(
        adapters.interfaces, [this](std::uint32_t index) { return SetOutgoingInterface(index); },
        [this, data, length] { return SendBroadcast(data, length); });
}

bool ProtocolEngine::SetOutgoingInterface(DWORD index) {
    const DWORD value = htonl(index);
    return setsockopt(socket_, IPPROTO_IP, IP_UNICAST_IF, reinterpret_cast<const char*>(&value), sizeof value) == 0;
}

bool ProtocolEngine::SendBroadcast(const char* data, int length) {
    const sockaddr_in to = BroadcastAddress();
    return sendto(socket_, data, length, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to) != SOCKET_ERROR;
}

bool ProtocolEngine::SendModuleScan() {
    const BroadcastAdapters adapters = ListBroadcastAdapters();
    LockScope scope(lock_);
    return scope.Held() && SendDatagram(adapters, kScanRequest, static_cast<int>(kScanRequestSize)) > 0;
}

void ProtocolEngine::SendConfigure(const VORN_ConfigureRequestType& request) {
    const BroadcastAdapters adapters = ListBroadcastAdapters();
    LockScope scope(lock_);
    if (!scope.Held()) return;
    const ConfigureRequestText text = BuildConfigureRequest(request);
    if (text.length == 0) return;  // it cannot be carried whole
    const int copies = SendDatagram(adapters, text.text, static_cast<int>(text.length + 1));
    echoes_.Sent(text.text, text.length + 1, copies, adapters.addresses);
}

bool ProtocolEngine::GetResponse(VORN_ModuleScanResponseType& response) {
    LockScope scope(lock_);
    return scope.Held() && queues_.TakeResponse(response);
}

bool ProtocolEngine::GetInvalidPasswordMac(std::uint8_t* macId) {
    LockScope scope(lock_);
    return scope.Held() && queues_.PeekInvalidPasswordMac(macId);
}

void ProtocolEngine::RemoveFirstInvalidPasswordMac() {
    LockScope scope(lock_);
    if (scope.Held()) queues_.RemoveFirstInvalidPasswordMac();
}

}  // namespace vorn
