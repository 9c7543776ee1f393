#include "batch_run.h"

#include <cstring>

#include "configure_outcome.h"
#include "module_list_ctrl.h"
#include "vorn.h"

namespace {

constexpr UINT kReplyTimeoutMs = 2000;
constexpr UINT kVerifyPollMs = 50;
constexpr UINT kRescanMs = 1000;
constexpr UINT kNextRetryMs = 50;
// Rescans go on for 10 s; the answers of the last one are read for a
// moment longer.
constexpr ULONGLONG kVerifyForMs = 10000;
constexpr ULONGLONG kLastAnswersMs = 500;

bool SameMac(const std::uint8_t* a, const std::uint8_t* b) { return std::memcmp(a, b, VORN_MAC_SIZE) == 0; }

// Refusals queued before a request are not about it.
void DropInvalidPasswordQueue() {
    std::uint8_t mac[VORN_MAC_SIZE];
    while (VORN_GetInvPswdMacId(mac)) VORN_RemoveFirstInvPswdMacId();
}

}  // namespace

CBatchRun::CBatchRun(CModuleListCtrl& list, std::function<bool()> rescan, View view)
    : m_list(list), m_rescan(std::move(rescan)), m_view(std::move(view)) {}

void CBatchRun::Start(std::vector<BatchEntry> entries) {
    m_entries = std::move(entries);
    m_requests.assign(m_entries.size(), VORN_ConfigureRequestType());
    m_sent.assign(m_entries.size(), false);
    m_current = 0;
    m_stopRequested = m_skipVerification = false;
    m_phase = Phase::Sending;
    m_view.showProgress(0, m_entries.size());
    PostNext();
}

// A step that cannot be posted (the queue is full) is retried from a
// timer: a lost step would stall the run, and the dialog with it.
void CBatchRun::PostNext() {
    if (!::PostMessageA(m_window, WM_BATCH_NEXT, 0, 0)) ::SetTimer(m_window, kNextRetryTimer, kNextRetryMs, nullptr);
}

void CBatchRun::Stop(bool skipVerification) {
    m_stopRequested = true;
    m_skipVerification = m_skipVerification || skipVerification;
    if (m_phase == Phase::Verifying && skipVerification) Finish();
}

// The next entry: sent and awaited, or settled at once when there is
// nothing to send. One step per posted message, so that the window stays
// responsive and a Stop is seen between modules.
void CBatchRun::OnNext() {
    if (m_phase != Phase::Sending || m_waiting) return;
    if (m_stopRequested || m_current >= m_entries.size()) {
        for (std::size_t i = m_current; i < m_entries.size(); ++i) {
            m_entries[i].result = BatchResult::Stopped;
            m_view.showResult(i);
        }
        StartVerification();
        return;
    }
    SendCurrent();
}

void CBatchRun::SendCurrent() {
    BatchEntry& entry = m_entries[m_current];
    VORN_ConfigureRequestType& request = m_requests[m_current];
    const BatchResult decision = PrepareEntry(entry, request, entry.reason);
    if (decision != BatchResult::Pending) {
        Settle(decision);
    } else {
        DropInvalidPasswordQueue();
        m_waiting = true;
        m_sent[m_current] = true;
        VORN_SendConfigure(&request);
        ::SetTimer(m_window, kReplyTimer, kReplyTimeoutMs, nullptr);
    }
}

void CBatchRun::Settle(BatchResult result) {
    ::KillTimer(m_window, kReplyTimer);
    m_waiting = false;
    m_entries[m_current].result = result;
    m_view.showResult(m_current);
    ++m_current;
    m_view.showProgress(m_current, m_entries.size());
    PostNext();
}

// "Reconfigured:" names no module: it is taken for the module waited for,
// and the verification has the last word. "Invalid Password:" names its
// module by MAC.
bool CBatchRun::TakeReply(int code) {
    if (m_phase == Phase::Idle) return false;
    if (code == VORN_NOTIFY_RECONFIGURED) {
        if (m_waiting) Settle(BatchResult::Reconfigured);
        return true;
    }
    std::uint8_t mac[VORN_MAC_SIZE];
    while (VORN_GetInvPswdMacId(mac)) {
        VORN_RemoveFirstInvPswdMacId();
        if (m_waiting && SameMac(mac, m_entries[m_current].answer.macId)) {
            Settle(BatchResult::InvalidPassword);
            break;
        }
    }
    return true;
}

void CBatchRun::OnTimer(UINT_PTR timer) {
    if (timer == kReplyTimer && m_waiting) {
        Settle(BatchResult::NoReply);
    } else if (timer == kVerifyPollTimer) {
        CheckAnswers();
    } else if (timer == kRescanTimer && ::GetTickCount64() - m_verifyStart < kVerifyForMs) {
        Rescan();
    } else if (timer == kNextRetryTimer) {
        ::KillTimer(m_window, kNextRetryTimer);
        OnNext();
    }
}

// A scan that cannot be sent ends the verification at once: what was not
// seen yet reads "not verified", and no warning box comes every second.
void CBatchRun::Rescan() {
    if (!m_rescan()) Finish();
}

// A module that replied, or seemed not to, is verified by its answers; a
// refusal names its module and is final.
bool CBatchRun::Verifiable(const BatchEntry& entry) const {
    return entry.result == BatchResult::Reconfigured || entry.result == BatchResult::NoReply;
}

void CBatchRun::StartVerification() {
    m_phase = Phase::Verifying;
    bool any = false;
    for (std::size_t i = 0; i < m_entries.size(); ++i) any = any || (m_sent[i] && Verifiable(m_entries[i]));
    if (!any || m_skipVerification) {
        Finish();
        return;
    }
    m_verifyStart = ::GetTickCount64();
    ::SetTimer(m_window, kVerifyPollTimer, kVerifyPollMs, nullptr);
    ::SetTimer(m_window, kRescanTimer, kRescanMs, nullptr);
    Rescan();
}

void CBatchRun::CheckAnswers() {
    bool waiting = false;
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        BatchEntry& entry = m_entries[i];
        if (!m_sent[i] || !Verifiable(entry)) continue;
        const VORN_ModuleScanResponseType* answer = m_list.Modules().Find(entry.answer.macId);
        const Outcome outcome = answer ? VerificationOutcome(entry.answer, *answer, m_requests[i]) : Outcome::NotVerified;
        if (outcome == Outcome::NotVerified) {
            waiting = true;
            continue;
        }
        entry.result = outcome == Outcome::Verified ? BatchResult::Verified : BatchResult::NotVerifiable;
        m_view.showResult(i);
    }
    if (waiting && ::GetTickCount64() - m_verifyStart < kVerifyForMs + kLastAnswersMs) return;
    Finish();
}

void CBatchRun::Finish() {
    if (m_phase == Phase::Idle) return;
    ::KillTimer(m_window, kVerifyPollTimer);
    ::KillTimer(m_window, kRescanTimer);
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (m_sent[i] && m_entries[i].result == BatchResult::Reconfigured && !m_skipVerification) {
            m_entries[i].result = BatchResult::NotVerified;
            m_view.showResult(i);
        }
    }
    m_phase = Phase::Idle;
    m_view.ended();
}
