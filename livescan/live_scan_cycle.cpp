#include "live_scan_cycle.h"

#include "live_caption.h"
#include "module_list_ctrl.h"
#include "workstation_adapters.h"
#include "wnd.h"

CLiveScanCycle::CLiveScanCycle(CWnd& mainWindow, CModuleListCtrl& moduleList) : window(mainWindow), list(moduleList) {}

bool CLiveScanCycle::Toggle() {
    if (!on) return TurnOn();
    TurnOff();
    return true;
}

bool CLiveScanCycle::TurnOn() {
    title = window.GetWindowText();
    shownCaption = title;
    on = true;
    roundOpen = false;
    list.SetKeepScanningChecked(true);
    const bool sent = SendLiveScan();
    ShowCounts();
    return sent;
}

void CLiveScanCycle::TurnOff() {
    ::KillTimer(window.m_hWnd, kTimerId);
    on = false;
    roundOpen = false;
    list.SetKeepScanningChecked(false);
    window.SetWindowText(title);
}

// While a modal dialog of the program is open (configure, About, a message
// box...) the main window is disabled, and nothing may change under the
// user's hand: the ticks pass without a scan until it closes. The periodic
// scans say nothing when they cannot leave: a box every 3 s would stop
// the user from doing anything else.
void CLiveScanCycle::OnTimer(UINT_PTR id) {
    if (id != kTimerId || !on || !::IsWindowEnabled(window.m_hWnd)) return;
    SendLiveScan();
    ShowCounts();
}

void CLiveScanCycle::ScanAfterReconfigured() {
    if (!on) return;
    SendLiveScan();
    ShowCounts();
}

void CLiveScanCycle::ScanSent() {
    if (!on) return;
    roundOpen = true;
    roundStart = ::GetTickCount64();
    RestartPeriod();
    ShowCounts();
}

void CLiveScanCycle::TakeAnswer(const VORN_ModuleScanResponseType& record) {
    list.TakeLiveAnswer(record);
    ShowCounts();
}

// The adapters are read at each scan, as Scan reads them, so the grey rows
// follow this computer's networks. A round is closed only by a scan that
// went out: one that could not leave gives no module a chance to answer.
bool CLiveScanCycle::SendLiveScan() {
    list.SetWorkstationAdapters(ReadWorkstationAdapters());
    RestartPeriod();
    if (!VORN_SendModuleScan()) return false;
    const ULONGLONG now = ::GetTickCount64();
    if (roundOpen && now - roundStart < kShortestRoundMs) return true;
    if (roundOpen) list.CloseLiveRound();
    roundOpen = true;
    roundStart = now;
    return true;
}

// Every scan, periodic or not, starts the next period: scans never come
// closer together than the period unless something asks for one.
void CLiveScanCycle::RestartPeriod() { ::SetTimer(window.m_hWnd, kTimerId, kPeriodMs, nullptr); }

void CLiveScanCycle::ShowCounts() {
    if (!on) return;
    const CString caption = LiveCaption(title, list.ModuleRowCount(), list.MissingRowCount());
    if (caption == shownCaption) return;
    shownCaption = caption;
    window.SetWindowText(caption);
}
