// CLiveScanCycle: the main window's live list ("Keep scanning"). While it is
// on, a scan goes out every 3 seconds and at once when it is turned on,
// after a "Reconfigured:" reply and after Scan; answers update the list in
// place and the caption tells the counts. Turned off, the scans stop, the
// caption is the window's title again and the rows stay as they are.
#ifndef KL_LIVESCAN_LIVE_SCAN_CYCLE_H
#define KL_LIVESCAN_LIVE_SCAN_CYCLE_H

#include <windows.h>

#include "cstring.h"
#include "vorn.h"

class CModuleListCtrl;
class CWnd;

class CLiveScanCycle {
public:
    // The timer the cycle sets on the window.
    static constexpr UINT_PTR kTimerId = 24;
    static constexpr UINT kPeriodMs = 3000;
    // A scan within this time of the one before joins its round, so that
    // quick rescans cannot make a module miss two rounds within moments.
    static constexpr ULONGLONG kShortestRoundMs = 1000;

    CLiveScanCycle(CWnd& window, CModuleListCtrl& list);

    bool IsOn() const { return on; }
    // "Keep scanning" was picked. False when turning it on sent no scan:
    // the user asked for that scan, so the caller tells it as Scan does.
    bool Toggle();
    // The window's WM_TIMER.
    void OnTimer(UINT_PTR id);
    // A "Reconfigured:" reply came: a live scan that keeps the rows.
    void ScanAfterReconfigured();
    // Scan emptied the list and sent a scan: the rounds start afresh.
    void ScanSent();
    void TakeAnswer(const VORN_ModuleScanResponseType& record);

private:
    bool TurnOn();
    void TurnOff();
    // Sends a live scan; false when it could not be sent.
    bool SendLiveScan();
    void RestartPeriod();
    void ShowCounts();

    CWnd& window;
    CModuleListCtrl& list;
    bool on = false;
    bool roundOpen = false;
    ULONGLONG roundStart = 0;
    // The window's own caption, given back when the cycle is turned off.
    CString title;
    CString shownCaption;
};

#endif
