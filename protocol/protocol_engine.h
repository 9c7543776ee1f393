// The library's process-wide engine on Windows: the UDP socket opened at
// the first exported call, the lock, the one-millisecond multimedia timer
// and the worker thread that drains the socket into the receive queues.
#ifndef VORN_PROTOCOL_ENGINE_H
#define VORN_PROTOCOL_ENGINE_H

#include <winsock2.h>
#include <windows.h>

#include <cstdint>
#include <vector>

#include "receive_queues.h"
#include "request_echoes.h"
#include "wire_messages.h"

namespace vorn {

// The adapters a request goes out through, and the workstation's IPv4
// addresses on them (host byte order); listed false when the platform could
// not tell.
struct BroadcastAdapters {
    bool listed = false;
    std::vector<std::uint32_t> interfaces;
    std::vector<std::uint32_t> addresses;
};

class ProtocolEngine {
public:
    // Process attach: clears the callback, nothing else (the loader lock
    // is held).
    void Load();
    // Opens the socket at the first call, once. A failure leaves the engine
    // without a socket for good.
    void EnsureSocket();
    // Process detach: an explicit unload, which can only come before Start,
    // closes the socket; at process end nothing is torn down.
    void Unload(bool processEnding);

    // Pins the library in the process, then starts lock, timer and worker
    // once; later calls change nothing.
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

    static BOOL CALLBACK OpenSocketOnce(PINIT_ONCE, PVOID engine, PVOID*);
    bool PinLibrary() const;
    void OpenLibrarySocket();
    bool OpenSocket();
    bool SetReceiveBuffer(int bytes);
    void StartTimer();
    int SendDatagram(const BroadcastAdapters& adapters, const char* data, int length);
    bool SetOutgoingInterface(DWORD index);
    bool SendBroadcast(const char* data, int length);
    void ReceiveStep();
    void ReceiveStepGuarded();
    void WorkerLoop();
    static DWORD WINAPI WorkerMain(LPVOID);
    static void CALLBACK TimerProc(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR);

    INIT_ONCE socketOnce_ = INIT_ONCE_STATIC_INIT;
    SOCKET socket_ = INVALID_SOCKET;
    bool started_ = false;
    HANDLE lock_ = nullptr;
    HANDLE pollEvent_ = nullptr;
    UINT timerResolution_ = 0;
    UINT timer_ = 0;
    char receiveBuffer_[kDatagramBufferSize];
    ReceiveQueues queues_;
    RequestEchoes echoes_;
};

ProtocolEngine& TheEngine();

}  // namespace vorn

#endif
