// CMainDialog: the program's one main window. It checks the protocol
// library, starts its engine, keeps the module list filled from the
// library's notifications and lays out its controls as it is resized.
#ifndef KL_APP_MAIN_DIALOG_H
#define KL_APP_MAIN_DIALOG_H

#include <atomic>

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
    // the batch dialog is open, the library's replies go to its run, and a
    // "Reconfigured:" brings no rescan: the run scans when it verifies.
    void OnAssignAddresses();
    void OnSaveList();
    bool RouteReplyToBatch(int code);

    CModuleListCtrl m_moduleList;
    CLiveScanCycle m_liveScan;
    HICON m_hIcon;
    CAssignAddressesDialog* m_pBatchDialog = nullptr;

    DECLARE_MESSAGE_MAP()
};

// The running main dialog, for the library callback; set before the
// callback is registered and cleared when the dialog's window goes.
extern std::atomic<CMainDialog*> g_mainDialog;

// Registered with the library: runs on its worker thread, so it only posts.
void LibraryCallback(int code);

#endif
