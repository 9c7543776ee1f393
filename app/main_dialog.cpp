#include "main_dialog.h"

#include <algorithm>
#include <cstring>

#include "about_dialog.h"
#include "assign_addresses_dialog.h"
#include "csv_files.h"
#include "data_exchange.h"
#include "dll_version.h"
#include "gdi.h"
#include "module_row_texts.h"
#include "module_table.h"
#include "resource.h"
#include "vorn.h"
#include "win_app.h"
#include "workstation_adapters.h"

std::atomic<CMainDialog*> g_mainDialog{nullptr};

void LibraryCallback(int code) {
    CMainDialog* dialog = g_mainDialog.load();
    if (dialog) ::PostMessageA(dialog->m_hWnd, WM_LIBRARY_EVENT, 0, static_cast<LPARAM>(code));
}

namespace {

constexpr char kLibraryFile[] = "vorn.dll";
constexpr char kScanNotSent[] =
    "The module scan could not be sent on UDP port 3250.\n\n"
    "Another program, perhaps a second copy of Kelvara Lanwise, may be using the port, "
    "or no network adapter is up.";

// Margins and sizes in pixels, recorded once the controls exist.
struct ControlLayout {
    int leftOrWidth;
    int topOrHeight;
    int rightMargin;
    int bottomMargin;
};
ControlLayout g_listLayout;
ControlLayout g_scanLayout;
ControlLayout g_exitLayout;

RECT ChildRect(HWND dialog, int id) {
    RECT rect;
    ::GetWindowRect(::GetDlgItem(dialog, id), &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

ControlLayout RecordButton(HWND dialog, int id, const RECT& client) {
    const RECT r = ChildRect(dialog, id);
    return {r.right - r.left, r.bottom - r.top, client.right - r.right, client.bottom - r.bottom};
}

void PlaceButton(HWND dialog, int id, const ControlLayout& layout, const RECT& client) {
    const int right = client.right - layout.rightMargin;
    const int bottom = client.bottom - layout.bottomMargin;
    ::MoveWindow(::GetDlgItem(dialog, id), right - layout.leftOrWidth, bottom - layout.topOrHeight,
                 layout.leftOrWidth, layout.topOrHeight, FALSE);
}

}  // namespace

BEGIN_MESSAGE_MAP(CMainDialog, CDialog)
ON_WM_SYSCOMMAND()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_BN_CLICKED(IDC_SCAN, OnScan)
ON_WM_SIZE()
ON_WM_SIZING()
ON_MESSAGE(WM_LIBRARY_EVENT, OnLibraryEvent)
ON_COMMAND(ID_LIST_ASSIGN_ADDRESSES, OnAssignAddresses)
ON_COMMAND(ID_LIST_SAVE_LIST, OnSaveList)
ON_WM_DESTROY()
ON_COMMAND(ID_KEEP_SCANNING, OnKeepScanning)
ON_MESSAGE(WM_TIMER, OnTimer)
END_MESSAGE_MAP()

CMainDialog::CMainDialog(CWnd* parent)
    : CDialog(IDD_MAIN_DIALOG, parent),
      m_liveScan(*this, m_moduleList),
      m_hIcon(::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME))) {}

CMainDialog::~CMainDialog() {
    CMainDialog* self = this;
    g_mainDialog.compare_exchange_strong(self, nullptr);
}

void CMainDialog::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_MODULE_LIST, m_moduleList);
}

BOOL CMainDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    AddAboutMenuEntry();
    SetIcons();
    if (!CheckLibraryVersion()) return TRUE;
    RecordLayout();
    ApplyLayout();
    m_moduleList.SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    m_moduleList.SetupColumns(kColumnLayout);
    // The engine may notify as soon as it runs: the dialog must be
    // reachable before the callback is registered.
    g_mainDialog = this;
    VORN_RegisterCallBack(&LibraryCallback);
    VORN_Start();
    OnScan();
    return TRUE;
}

void CMainDialog::AddAboutMenuEntry() {
    HMENU menu = GetSystemMenu(FALSE);
    if (!menu) return;
    char text[256] = "";
    if (::LoadStringA(AfxGetResourceHandle(), IDS_ABOUTBOX, text, sizeof text) <= 0) return;
    ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(menu, MF_STRING, IDM_ABOUTBOX, text);
}

void CMainDialog::SetIcons() {
    SetIcon(m_hIcon, TRUE);
    SetIcon(AfxLoadSmallIcon(IDR_MAINFRAME), FALSE);
}

// A library of another version must not be started: the program ends
// before anything touches the network.
bool CMainDialog::CheckLibraryVersion() {
    int major = 0;
    int minor = 0;
    int release = 0;
    CDllVersion version;
    version.GetVersion(kLibraryFile, major, minor, release);
    if (IsSupportedLibraryVersion(major, minor)) return true;
    MessageBox("Incorrect DLL version", "Warning", MB_OK | MB_ICONEXCLAMATION);
    CDialog::OnCancel();
    return false;
}

void CMainDialog::RecordLayout() {
    RECT client;
    GetClientRect(&client);
    const RECT list = ChildRect(m_hWnd, IDC_MODULE_LIST);
    g_listLayout = {list.left, list.top, client.right - list.right, client.bottom - list.bottom};
    g_scanLayout = RecordButton(m_hWnd, IDC_SCAN, client);
    g_exitLayout = RecordButton(m_hWnd, IDOK, client);
    Invalidate(TRUE);
    UpdateWindow();
}

void CMainDialog::ApplyLayout() {
    RECT client;
    GetClientRect(&client);
    const int right = client.right - g_listLayout.rightMargin;
    const int bottom = client.bottom - g_listLayout.bottomMargin;
    ::MoveWindow(GetDlgItem(IDC_MODULE_LIST), g_listLayout.leftOrWidth, g_listLayout.topOrHeight,
                 right - g_listLayout.leftOrWidth, bottom - g_listLayout.topOrHeight, FALSE);
    PlaceButton(m_hWnd, IDC_SCAN, g_scanLayout, client);
    PlaceButton(m_hWnd, IDOK, g_exitLayout, client);
    Invalidate(TRUE);
    UpdateWindow();
}

void CMainDialog::OnSysCommand(UINT id, LPARAM) {
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        ShowAboutBox();
    } else if (id == SC_CLOSE) {
        CDialog::OnOK();
    } else {
        Default();
    }
}

void CMainDialog::ShowAboutBox() {
    CAboutDialog about;
    about.DoModal();
}

void CMainDialog::OnPaint() {
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(m_hWnd);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    RECT client;
    GetClientRect(&client);
    const int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CMainDialog::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

// A scan that did not leave would otherwise show as a segment without
// modules. The adapters are read at each scan: the rows it brings are
// marked against the subnets this computer has now.
void CMainDialog::OnScan() {
    if (!Rescan()) WarnScanNotSent();
}

bool CMainDialog::Rescan() {
    m_moduleList.SetWorkstationAdapters(ReadWorkstationAdapters());
    m_moduleList.RemoveAllModules();
    const bool sent = VORN_SendModuleScan() != 0;
    m_liveScan.ScanSent();
    return sent;
}

void CMainDialog::WarnScanNotSent() { MessageBox(kScanNotSent, "Warning", MB_OK | MB_ICONEXCLAMATION); }

void CMainDialog::OnSize(UINT, int, int) {
    Default();
    // The first size message comes before the controls exist.
    if (GetWindow(GW_CHILD)) ApplyLayout();
}

void CMainDialog::OnSizing(UINT edge, LPRECT rect) {
    Default();
    const int width = ScaleToSystemDpi(kMinimumWidth);
    const int height = ScaleToSystemDpi(kMinimumHeight);
    if (rect->right - rect->left < width) {
        if (edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT) {
            rect->left = rect->right - width;
        } else {
            rect->right = rect->left + width;
        }
    }
    if (rect->bottom - rect->top < height) {
        if (edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT) {
            rect->top = rect->bottom - height;
        } else {
            rect->bottom = rect->top + height;
        }
    }
}

LRESULT CMainDialog::OnLibraryEvent(WPARAM, LPARAM code) {
    if (RouteReplyToBatch(static_cast<int>(code))) return 1;
    switch (code) {
    case VORN_NOTIFY_RESPONSE:
        return TakeResponse();
    case VORN_NOTIFY_RECONFIGURED:
        OnModuleReconfigured();
        return 1;
    case VORN_NOTIFY_INVALID_PASSWORD:
        OnInvalidPassword();
        return 1;
    default:
        return 1;
    }
}

LRESULT CMainDialog::TakeResponse() {
    VORN_ModuleScanResponseType response;
    if (!VORN_GetResponse(&response)) return 0;
    if (m_liveScan.IsOn()) {
        m_liveScan.TakeAnswer(response);
    } else {
        m_moduleList.AddModule(response);
    }
    return 1;
}

bool CMainDialog::InvalidPasswordHeadIsLastConfigured() {
    BYTE head[VORN_MAC_SIZE];
    BYTE last[VORN_MAC_SIZE];
    if (VORN_GetInvPswdMacId(head) != 1) return false;
    m_moduleList.GetLastConfiguredMac(last);
    return std::memcmp(head, last, VORN_MAC_SIZE) == 0;
}

// A pending refusal of the module that has now taken its settings is
// dropped silently; the list is rebuilt from fresh answers, or, while it
// is live, updated by them.
void CMainDialog::OnModuleReconfigured() {
    if (InvalidPasswordHeadIsLastConfigured()) VORN_RemoveFirstInvPswdMacId();
    if (m_liveScan.IsOn()) {
        m_liveScan.ScanAfterReconfigured();
    } else {
        OnScan();
    }
}

void CMainDialog::OnInvalidPassword() {
    if (!InvalidPasswordHeadIsLastConfigured()) return;
    VORN_RemoveFirstInvPswdMacId();
    MessageBox("Invalid password", "Warning", MB_OK | MB_ICONEXCLAMATION);
}

bool CMainDialog::RouteReplyToBatch(int code) {
    if (code != VORN_NOTIFY_RECONFIGURED && code != VORN_NOTIFY_INVALID_PASSWORD) return false;
    if (m_pBatchDialog && m_pBatchDialog->TakeLibraryReply(code)) return true;
    DropLateBatchRefusals();
    return false;
}

// A refusal that reaches no run (it came after the run, or the dialog)
// would stay at the head of the queue, where no configured module matches
// it, and hide the refusal of a module configured later.
void CMainDialog::DropLateBatchRefusals() {
    BYTE head[VORN_MAC_SIZE];
    BYTE last[VORN_MAC_SIZE];
    m_moduleList.GetLastConfiguredMac(last);
    while (VORN_GetInvPswdMacId(head) == 1 && std::memcmp(head, last, VORN_MAC_SIZE) != 0 && IsBatchModule(head)) {
        VORN_RemoveFirstInvPswdMacId();
    }
}

bool CMainDialog::IsBatchModule(const BYTE mac[VORN_MAC_SIZE]) const {
    return std::any_of(m_batchMacs.begin(), m_batchMacs.end(), [mac](const std::array<BYTE, VORN_MAC_SIZE>& batch) {
        return std::memcmp(batch.data(), mac, VORN_MAC_SIZE) == 0;
    });
}

// The modules of the Type of the row the menu was opened on (the list's
// selected row) start checked; all of them below the last row.
void CMainDialog::OnAssignAddresses() {
    const int row = ListView_GetNextItem(m_moduleList.m_hWnd, -1, LVNI_SELECTED);
    const CString rowType = row == -1 ? CString() : CString(m_moduleList.RowTexts(row)[kTypeColumn]);
    CAssignAddressesDialog dialog(m_moduleList, row == -1 ? nullptr : rowType.GetString(), [this] { return Rescan(); },
                                  this);
    for (const VORN_ModuleScanResponseType& module : dialog.Modules()) {
        std::array<BYTE, VORN_MAC_SIZE> mac;
        std::memcpy(mac.data(), module.macId, VORN_MAC_SIZE);
        if (!IsBatchModule(mac.data())) m_batchMacs.push_back(mac);
    }
    m_pBatchDialog = &dialog;
    dialog.DoModal();
    m_pBatchDialog = nullptr;
}

// The list as "lanwise-cli scan --format csv" writes it.
void CMainDialog::OnSaveList() {
    const std::string text =
        FormatScanLines(ScanLines(m_moduleList.Modules().Records()), ScanFormat::Csv, m_moduleList.Adapters());
    SaveCsvFile(m_hWnd, "modules.csv", text);
}

void CMainDialog::OnKeepScanning() {
    if (!m_liveScan.Toggle()) WarnScanNotSent();
}

LRESULT CMainDialog::OnTimer(WPARAM id, LPARAM) {
    m_liveScan.OnTimer(static_cast<UINT_PTR>(id));
    return 0;
}

// The library's engine outlives this window: later notifications must
// not reach it. Notifications run under the library's lock, so taking it
// once (through a queue query that changes nothing) waits out one that
// may still be reading this object.
void CMainDialog::OnDestroy() {
    CMainDialog* self = this;
    if (g_mainDialog.compare_exchange_strong(self, nullptr)) {
        BYTE unused[VORN_MAC_SIZE];
        VORN_GetInvPswdMacId(unused);
    }
    Default();
}
