// CMainDialog: the program's one main window. It checks the protocol
// library, starts its engine, keeps the module list filled from the
// library's notifications and lays out its controls as it is resized.
#ifndef KL_APP_MAIN_DIALOG_H
#define KL_APP_MAIN_DIALOG_H

#include <array>
#include <atomic>
#include <vector>

#include "dialog.h"
#include "live_scan_cycle.h"
#include "module_list_ctrl.h"

class CAssignAddressesDialog;

// Posted by the library callback to the main dialog; lParam is the code.
constexpr UINT WM_LIBRARY_EVENT = WM_USER + 1;

// The window's minimum size while a border is dragged, in pixels at 96 DPI;
// scaled to the system DPI at start-up.
constexpr int kMinimumWidth = 194;
constexpr int kMinimumHeight = 130;

constexpr char kColumnLayout[] = "IP,90;SN,90;GW,90;DHCP,50;Version,50;Type,114;MAC,115";

class CMainDialog : public CDialog {
public:
    explicit CMainDialog(CWnd* parent = nullptr);
    ~CMainDialog() override;

    CModuleListCtrl& ModuleList() { return m_moduleList; }

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    // Escape never closes the main dialog.
    void OnCancel() override {}

    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnScan();
    // Empties the list and scans; false when the scan could not be sent.
    bool Rescan();
    void OnSize(UINT type, int cx, int cy);
    void OnSizing(UINT edge, LPRECT rect);
    LRESULT OnLibraryEvent(WPARAM wParam, LPARAM lParam);
    void OnDestroy();

    void AddAboutMenuEntry();
    void SetIcons();
    bool CheckLibraryVersion();
    void RecordLayout();
    void ApplyLayout();
    void ShowAboutBox();
    LRESULT TakeResponse();
    void OnModuleReconfigured();
    void OnInvalidPassword();
    bool InvalidPasswordHeadIsLastConfigured();
    void WarnScanNotSent();

    // The live list ("Keep scanning").
    void OnKeepScanning();
    LRESULT OnTimer(WPARAM id, LPARAM);

    // "Assign addresses..." and "Save list..." from the list's menu. While
    // a run of the batch dialog is active (its verification included), the
    // library's replies go to the run, and a "Reconfigured:" brings no
    // rescan: the run scans when it verifies. A refusal of a batch's module
    // that comes later is dropped, unless it is the last configured one's.
    void OnAssignAddresses();
    void OnSaveList();
    bool RouteReplyToBatch(int code);
    void DropLateBatchRefusals();
    bool IsBatchModule(const BYTE mac[VORN_MAC_SIZE]) const;

    CModuleListCtrl m_moduleList;
    CLiveScanCycle m_liveScan;
    HICON m_hIcon;
    CAssignAddressesDialog* m_pBatchDialog = nullptr;
    // The MACs of the modules every batch dialog offered.
    std::vector<std::array<BYTE, VORN_MAC_SIZE>> m_batchMacs;

    DECLARE_MESSAGE_MAP()
};

// The running main dialog, for the library callback; set before the
// callback is registered and cleared when the dialog's window goes.
extern std::atomic<CMainDialog*> g_mainDialog;

// Registered with the library: runs on its worker thread, so it only posts.
void LibraryCallback(int code);

#endif
