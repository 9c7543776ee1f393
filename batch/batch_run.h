// One run of "Assign addresses": the configure requests sent one by one,
// each awaited (at most 2 s) before the next, then the verification by
// scans until every module answers with its new settings (at most 10 s).
// Lives on the window thread: its timers and posted steps go to the
// dialog's window, which hands them back.
#ifndef KL_BATCH_BATCH_RUN_H
#define KL_BATCH_BATCH_RUN_H

#include <windows.h>

#include <functional>
#include <vector>

#include "batch_record.h"

class CModuleListCtrl;

// Timers and the posted step of a run, on the dialog's window.
constexpr UINT_PTR kReplyTimer = 1;
constexpr UINT_PTR kVerifyPollTimer = 2;
constexpr UINT_PTR kRescanTimer = 3;
constexpr UINT_PTR kNextRetryTimer = 4;
constexpr UINT WM_BATCH_NEXT = WM_APP + 21;

class CBatchRun {
public:
    // What the dialog shows of the run.
    struct View {
        std::function<void(std::size_t entry)> showResult;
        std::function<void(std::size_t done, std::size_t total)> showProgress;
        std::function<void()> ended;
    };

    // rescan empties the main list and scans, as the main window's Scan
    // does, but warns of nothing: false when the scan could not be sent.
    CBatchRun(CModuleListCtrl& list, std::function<bool()> rescan, View view);
    // The window the run's timers and steps go to, once it exists.
    void SetWindow(HWND window) { m_window = window; }

    bool IsRunning() const { return m_phase != Phase::Idle; }
    bool IsSending() const { return m_phase == Phase::Sending; }
    const std::vector<BatchEntry>& Entries() const { return m_entries; }

    void Start(std::vector<BatchEntry> entries);
    // Ends the sending after the module being waited for; the modules sent
    // so far are still verified unless skipVerification.
    void Stop(bool skipVerification);

    // A library notification (2 or 3) while running; true when taken.
    bool TakeReply(int code);
    void OnTimer(UINT_PTR timer);
    void OnNext();

private:
    enum class Phase { Idle, Sending, Verifying };

    void PostNext();
    void SendCurrent();
    void Rescan();
    void Settle(BatchResult result);
    void StartVerification();
    void CheckAnswers();
    void Finish();
    bool Verifiable(const BatchEntry& entry) const;

    HWND m_window = nullptr;
    CModuleListCtrl& m_list;
    std::function<bool()> m_rescan;
    View m_view;
    std::vector<BatchEntry> m_entries;
    // The request sent to each entry, for verification; sent[i] tells
    // whether it went.
    std::vector<VORN_ConfigureRequestType> m_requests;
    std::vector<bool> m_sent;
    std::size_t m_current = 0;
    bool m_waiting = false;
    bool m_stopRequested = false;
    bool m_skipVerification = false;
    ULONGLONG m_verifyStart = 0;
    Phase m_phase = Phase::Idle;
};

#endif
