// The library's process-wide engine on Windows: the UDP socket opened at
// load, the lock, the one-millisecond multimedia timer and the worker
// thread that drains the socket into the receive queues.
#ifndef VORN_PROTOCOL_ENGINE_H
#define VORN_PROTOCOL_ENGINE_H

#include <winsock2.h>
#include <windows.h>

#include <vector>

#include "receive_queues.h"
#include "wire_messages.h"

namespace vorn {

// The adapters a request goes out through; listed false when the platform
// could not tell.
struct BroadcastAdapters {
    bool listed;
    std::vector<DWORD> interfaces;
};

class ProtocolEngine {
public:
    // Process attach: clears the callback and opens the socket. A failure
    // leaves the engine without a socket; loading still succeeds.
    void Load();
    // Process detach: closes the socket and releases the socket library.
    void Unload();

    // Starts lock, timer and worker once; later calls change nothing.
    void Start();

    bool SendModuleScan();
    void SendConfigure(const VORN_ConfigureRequestType& request);
    void RegisterCallback(VORN_CallBackType callback) { queues_.SetCallback(callback); }
    bool GetResponse(VORN_ModuleScanResponseType& response);
    bool GetInvalidPasswordMac(std::uint8_t* macId);
    void RemoveFirstInvalidPasswordMac();

private:
    // Holds the lock for one scope. Before Start there is no lock and no
    // worker, so the scope runs unguarded; a wait that runs out (1000 ms)
    // leaves Held() false and the caller does nothing.
    class LockScope {
    public:
        explicit LockScope(HANDLE lock);
        ~LockScope();
        LockScope(const LockScope&) = delete;
        LockScope& operator=(const LockScope&) = delete;
        bool Held() const { return held_; }

    private:
        HANDLE lock_;
        bool held_;
    };

    bool OpenSocket();
    bool SetReceiveBuffer(int bytes);
    void StartTimer();
    bool SendDatagram(const BroadcastAdapters& adapters, const char* data, int length);
    bool SendThroughEach(const std::vector<DWORD>& interfaces, const char* data, int length);
    bool SetOutgoingInterface(DWORD index);
    bool SendBroadcast(const char* data, int length);
    void ReceiveStep();
    void ReceiveStepGuarded();
    void WorkerLoop();
    static DWORD WINAPI WorkerMain(LPVOID);
    static void CALLBACK TimerProc(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR);

    SOCKET socket_ = INVALID_SOCKET;
    bool socketLibraryUp_ = false;
    bool started_ = false;
    HANDLE lock_ = nullptr;
    HANDLE pollEvent_ = nullptr;
    UINT timerResolution_ = 0;
    UINT timer_ = 0;
    char receiveBuffer_[kDatagramBufferSize];
    ReceiveQueues queues_;
};

ProtocolEngine& TheEngine();

}  // namespace vorn

#endif
