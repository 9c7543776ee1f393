#include "assign_addresses_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <exception>

#include "configure_plan.h"
#include "configure_request.h"
#include "csv_files.h"
#include "data_exchange.h"
#include "gdi.h"
#include "module_list_ctrl.h"
#include "module_row_texts.h"
#include "resource.h"
#include "wire_probe.h"
#include "workstation_adapters.h"
#include "workstation_subnets.h"

namespace {

enum Column { kMacCol, kTypeCol, kIpCol, kNewIpCol, kResultCol };

// Column widths in pixels at 96 DPI.
const struct {
    const char* heading;
    int width;
} kColumns[] = {{"MAC", 125}, {"Type", 100}, {"IP", 95}, {"New IP", 95}, {"Result", 110}};

constexpr std::size_t kTextMax = 128;
constexpr DWORD kProbePostRetryMs = 50;

std::string WindowText(const CWnd& window) { return window.GetWindowText().Str(); }

bool IsChecked(HWND rows, int row) { return ListView_GetCheckState(rows, row) != 0; }

}  // namespace

BEGIN_MESSAGE_MAP(CAssignAddressesDialog, CDialog)
ON_EN_CHANGE(IDC_BATCH_HOSTNAMES, OnFieldChange)
// An address control passes its fields' EN_CHANGE on, typed or set.
ON_EN_CHANGE(IDC_BATCH_FIRST, OnFieldChange)
ON_EN_CHANGE(IDC_BATCH_MASK, OnFieldChange)
ON_EN_CHANGE(IDC_BATCH_GATEWAY, OnFieldChange)
ON_EN_CHANGE(IDC_BATCH_PASSWORD, OnPasswordChange)
ON_NOTIFY(LVN_ITEMCHANGING, IDC_BATCH_LIST, OnItemChanging)
ON_NOTIFY(LVN_ITEMCHANGED, IDC_BATCH_LIST, OnItemChanged)
ON_BN_CLICKED(IDC_BATCH_ASSIGN, OnAssign)
ON_BN_CLICKED(IDC_BATCH_STOP, OnStop)
ON_BN_CLICKED(IDC_BATCH_APPLY_PLAN, OnApplyPlan)
ON_BN_CLICKED(IDC_BATCH_SAVE_RECORD, OnSaveRecord)
ON_WM_SIZE()
ON_MESSAGE(WM_GETMINMAXINFO, OnGetMinMaxInfo)
ON_MESSAGE(WM_TIMER, OnTimer)
ON_MESSAGE(WM_BATCH_NEXT, OnNext)
ON_MESSAGE(WM_BATCH_PROBED, OnProbed)
END_MESSAGE_MAP()

CAssignAddressesDialog::CAssignAddressesDialog(CModuleListCtrl& list, const char* rowType,
                                               std::function<bool()> rescan, CWnd* parent)
    : CDialog(IDD_ASSIGN_ADDRESSES, parent),
      m_list(list),
      m_rescan(std::move(rescan)),
      m_run(list, m_rescan,
            {[this](std::size_t entry) { ShowResult(entry); },
             [this](std::size_t done, std::size_t total) { ShowProgress(done, total); }, [this] { RunEnded(); }}) {
    ReadModules(rowType);
}

// The probing thread posts its result before it ends; it is awaited here
// in case the window went first.
CAssignAddressesDialog::~CAssignAddressesDialog() {
    if (m_probeThread.joinable()) m_probeThread.join();
}

// The rows of the main list that name a module by MAC, in its order, and
// which of them start checked.
void CAssignAddressesDialog::ReadModules(const char* rowType) {
    const int count = m_list.GetItemCount();
    for (int row = 0; row < count; ++row) {
        std::uint8_t mac[VORN_MAC_SIZE];
        if (!ParseMacText(m_list.RowTexts(row)[kMacColumn], mac)) continue;
        const VORN_ModuleScanResponseType* record = m_list.Modules().Find(mac);
        if (!record) continue;
        m_modules.push_back(*record);
        m_checked.push_back(!rowType || CString(m_list.RowTexts(row)[kTypeColumn]) == rowType);
    }
    m_listedAddresses = ReportedAddresses(m_list.Modules());
}

BOOL CAssignAddressesDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    m_run.SetWindow(m_hWnd);
    m_rows.SubclassDlgItem(IDC_BATCH_LIST, this);
    m_first.SubclassDlgItem(IDC_BATCH_FIRST, this);
    m_mask.SubclassDlgItem(IDC_BATCH_MASK, this);
    m_gateway.SubclassDlgItem(IDC_BATCH_GATEWAY, this);
    m_hostnames.SubclassDlgItem(IDC_BATCH_HOSTNAMES, this);
    m_password.SubclassDlgItem(IDC_BATCH_PASSWORD, this);
    m_hostnames.SetLimitText(kTextMax);
    m_password.SetLimitText(kConfigureTextMax);
    RecordLayout();
    SetupColumns();
    FillRows();
    ProposeFields();
    UpdatePreview();
    EnableControls();
    return TRUE;
}

void CAssignAddressesDialog::SetupColumns() {
    m_rows.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    for (int column = 0; column < static_cast<int>(sizeof kColumns / sizeof kColumns[0]); ++column) {
        m_rows.InsertColumn(column, kColumns[column].heading, LVCFMT_LEFT,
                            ScaleToSystemDpi(kColumns[column].width));
    }
}

void CAssignAddressesDialog::FillRows() {
    m_filling = true;
    for (std::size_t i = 0; i < m_modules.size(); ++i) {
        const std::array<CString, kModuleColumnCount> texts = ModuleRowTexts(m_modules[i]);
        const int row = m_rows.InsertItem(static_cast<int>(i), texts[kMacColumn]);
        m_rows.SetItemText(row, kTypeCol, texts[kTypeColumn]);
        m_rows.SetItemText(row, kIpCol, texts[kIpColumn]);
        ListView_SetCheckState(m_rows.m_hWnd, row, m_checked[i] ? TRUE : FALSE);
    }
    m_newIpTexts.assign(m_modules.size(), CString());
    m_filling = false;
}

// As "Move into this computer's network..." proposes: the first checked
// module's host part in the first adapter's subnet (or the next free
// address there), the adapter's mask and its gateway.
void CAssignAddressesDialog::ProposeFields() {
    const std::vector<WorkstationAdapter>& adapters = m_list.Adapters();
    if (adapters.empty()) return;
    const auto first = std::find(m_checked.begin(), m_checked.end(), true);
    const std::uint32_t moduleIp = first == m_checked.end() ? 0 : m_modules[first - m_checked.begin()].ip;
    const std::vector<std::uint32_t> candidates =
        FreeAddressCandidates(adapters, adapters.front(), moduleIp, m_listedAddresses, 1);
    if (candidates.empty()) return;
    const SubnetMove move = MoveIntoSubnet(adapters.front(), candidates.front());
    m_filling = true;
    m_first.SetAddress(move.ip);
    m_mask.SetAddress(move.sn);
    m_gateway.SetAddress(move.gw);
    m_filling = false;
}

AddressFields CAssignAddressesDialog::ReadFields() const {
    DWORD first = 0;
    DWORD mask = 0;
    DWORD gateway = 0;
    m_first.GetAddress(first);
    m_mask.GetAddress(mask);
    m_gateway.GetAddress(gateway);
    return {first, mask, gateway};
}

// A listed module outside the batch keeps its address; one in the batch
// gives its own up.
std::unordered_set<std::uint32_t> CAssignAddressesDialog::NotFreeAddresses() const {
    const std::vector<std::uint32_t> known =
        ::NotFreeAddresses(m_list.Adapters(), m_listedAddresses, BatchAddresses());
    std::unordered_set<std::uint32_t> notFree(known.begin(), known.end());
    notFree.insert(m_taken.begin(), m_taken.end());
    return notFree;
}

// The present addresses of the checked modules.
std::vector<std::uint32_t> CAssignAddressesDialog::BatchAddresses() const {
    std::vector<std::uint32_t> addresses;
    for (std::size_t i = 0; i < m_modules.size(); ++i) {
        if (m_checked[i] && m_modules[i].ipValid == 1) addresses.push_back(m_modules[i].ip);
    }
    return addresses;
}

std::size_t CAssignAddressesDialog::CheckedCount() const {
    return static_cast<std::size_t>(std::count(m_checked.begin(), m_checked.end(), true));
}

void CAssignAddressesDialog::UpdatePreview() {
    std::vector<CString> newIps(m_modules.size());
    CString status;
    m_fits = m_planMode ? PreviewFromPlan(newIps, status) : PreviewFromFields(newIps, status);
    ShowNewIps(newIps);
    ::SetDlgItemTextA(m_hWnd, IDC_BATCH_STATUS, status);
    EnableControls();
}

bool CAssignAddressesDialog::PreviewFromFields(std::vector<CString>& newIps, CString& status) {
    const std::size_t count = CheckedCount();
    const AddressFields fields = ReadFields();
    std::string reason;
    m_previewAddresses.clear();
    if (count == 0) return false;
    const std::string password = WindowText(m_password);
    if (!CheckAddressFields(fields, reason) || !CheckHostnamePattern(WindowText(m_hostnames), count, reason) ||
        (!password.empty() && !CheckPasswordSetting(password, reason))) {
        status = reason.c_str();
        return false;
    }
    const bool fits = PreviewAddresses(fields, count, NotFreeAddresses(), m_previewAddresses);
    for (std::size_t i = 0, k = 0; i < m_modules.size() && k < m_previewAddresses.size(); ++i) {
        if (m_checked[i]) newIps[i] = DottedAddressText(m_previewAddresses[k++]);
    }
    if (!fits) {
        status.Format("The subnet has free addresses for %u of the %u checked modules.",
                      static_cast<unsigned>(m_previewAddresses.size()), static_cast<unsigned>(count));
    }
    return fits;
}

// The plan's address, or the module's own where the plan keeps it. The
// checked rows are checked whole before anything goes: a row that would be
// refused greys "Assign".
bool CAssignAddressesDialog::PreviewFromPlan(std::vector<CString>& newIps, CString& status) const {
    bool any = false;
    PlanMatch checked = m_planMatch;
    for (std::size_t i = 0; i < m_modules.size(); ++i) {
        if (!m_checked[i]) checked.planned[i] = nullptr;
        const PlanRow* planned = checked.planned[i];
        if (!planned) continue;
        newIps[i] = planned->settings.ip ? DottedAddressText(*planned->settings.ip)
                                         : ModuleRowTexts(m_modules[i])[kIpColumn];
        any = true;
    }
    const std::vector<std::string> refused = RefusedPlanRows(checked, m_modules);
    if (!refused.empty()) {
        std::string lines;
        for (const std::string& line : refused) lines += (lines.empty() ? "" : "; ") + line;
        status = ("The plan's rows cannot be sent: " + lines).c_str();
        return false;
    }
    if (!m_planMatch.unlisted.empty()) {
        std::string names;
        for (const std::string& mac : m_planMatch.unlisted) names += (names.empty() ? "" : ", ") + mac;
        status = ("Not listed, nothing is sent to them: " + names).c_str();
    }
    return any;
}

// Only the texts that change are set: a keystroke must not redraw 250 rows.
void CAssignAddressesDialog::ShowNewIps(const std::vector<CString>& newIps) {
    for (std::size_t i = 0; i < newIps.size(); ++i) {
        if (newIps[i] == m_newIpTexts[i]) continue;
        m_newIpTexts[i] = newIps[i];
        SetCell(static_cast<int>(i), kNewIpCol, newIps[i]);
    }
}

void CAssignAddressesDialog::SetCell(int row, int column, const CString& text) {
    m_rows.SetItemText(row, column, text);
}

// Editing a field leaves a plan: the fields speak again.
void CAssignAddressesDialog::OnFieldChange() {
    if (m_filling || m_run.IsRunning()) return;
    m_planMode = false;
    UpdatePreview();
}

// The batch is what Assign was pressed for: its check boxes stay as they
// are while the wire is probed and the run goes on.
void CAssignAddressesDialog::OnItemChanging(NMHDR* notify, LRESULT* result) {
    const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(notify);
    const bool checkChange =
        (change->uChanged & LVIF_STATE) && ((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK);
    *result = checkChange && (m_probing || m_run.IsRunning()) ? TRUE : FALSE;
}

// A plan brings its own passwords: the field does not end it.
void CAssignAddressesDialog::OnPasswordChange() {
    if (m_filling || m_run.IsRunning()) return;
    UpdatePreview();
}

void CAssignAddressesDialog::OnItemChanged(NMHDR* notify, LRESULT* result) {
    *result = 0;
    const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(notify);
    if (m_filling || !(change->uChanged & LVIF_STATE) || change->iItem < 0 ||
        static_cast<std::size_t>(change->iItem) >= m_checked.size()) {
        return;
    }
    const bool checked = IsChecked(m_rows.m_hWnd, change->iItem);
    if (checked == m_checked[static_cast<std::size_t>(change->iItem)]) return;
    m_checked[static_cast<std::size_t>(change->iItem)] = checked;
    if (!m_run.IsRunning()) UpdatePreview();
}

void CAssignAddressesDialog::OnAssign() {
    if (m_run.IsRunning() || m_probing || !m_fits) return;
    // Each press looks at the wire afresh; what was found taken stays so.
    m_probed.clear();
    if (m_planMode) {
        StartRun();
    } else {
        ProbeAndAssign();
    }
}

// The preview's addresses are probed before anything is sent, all at once
// on a thread of their own; a taken one moves the preview on, and the new
// addresses are probed in turn. The batch's own present addresses are not
// probed: its modules answer there.
void CAssignAddressesDialog::ProbeAndAssign() {
    std::unordered_set<std::uint32_t> own;
    for (std::size_t i = 0; i < m_modules.size(); ++i) {
        if (m_checked[i] && m_modules[i].ipValid == 1) own.insert(m_modules[i].ip);
    }
    std::vector<std::uint32_t> toProbe;
    for (const std::uint32_t address : m_previewAddresses) {
        if (!own.count(address) && !m_probed.count(address)) toProbe.push_back(address);
    }
    if (toProbe.empty()) {
        StartRun();
        return;
    }
    m_probing = true;
    m_probeAddresses = toProbe;
    EnableControls();
    ::SetDlgItemTextA(m_hWnd, IDC_BATCH_STATUS, "Looking for addresses that are taken...");
    if (m_probeThread.joinable()) m_probeThread.join();
    try {
        m_probeThread = std::thread(ProbeOnThread, m_hWnd, toProbe);
    } catch (const std::exception&) {
        if (!::PostMessageA(m_hWnd, WM_BATCH_PROBED, 0, 0)) TakeProbed(nullptr);
    }
}

// Whatever fails on the thread counts every address as taken (a null
// result); the result is posted until the window takes it or is gone, so
// that the dialog never waits for a result that was lost.
void CAssignAddressesDialog::ProbeOnThread(HWND window, std::vector<std::uint32_t> addresses) {
    std::unique_ptr<std::vector<std::uint32_t>> taken;
    try {
        taken.reset(new std::vector<std::uint32_t>(TakenAddresses(addresses)));
    } catch (const std::exception&) {
        taken.reset();
    }
    while (!::PostMessageA(window, WM_BATCH_PROBED, 0, reinterpret_cast<LPARAM>(taken.get()))) {
        if (!::IsWindow(window)) return;
        ::Sleep(kProbePostRetryMs);
    }
    taken.release();
}

LRESULT CAssignAddressesDialog::OnProbed(WPARAM, LPARAM lParam) {
    std::unique_ptr<std::vector<std::uint32_t>> taken(reinterpret_cast<std::vector<std::uint32_t>*>(lParam));
    if (m_probeThread.joinable()) m_probeThread.join();
    TakeProbed(taken.get());
    return 0;
}

// Closed while probing: the dialog has gone, nothing is sent.
void CAssignAddressesDialog::TakeProbed(const std::vector<std::uint32_t>* taken) {
    m_probing = false;
    if (m_closing) return;
    m_probed.insert(m_probeAddresses.begin(), m_probeAddresses.end());
    const std::vector<std::uint32_t>& found = taken ? *taken : m_probeAddresses;
    m_taken.insert(found.begin(), found.end());
    UpdatePreview();
    if (m_fits) ProbeAndAssign();
}

std::vector<BatchEntry> CAssignAddressesDialog::EntriesToSend() const {
    std::vector<BatchEntry> entries;
    const AddressFields fields = ReadFields();
    const std::string pattern = WindowText(m_hostnames);
    const std::string password = WindowText(m_password);
    for (std::size_t i = 0, k = 0; i < m_modules.size(); ++i) {
        if (!m_checked[i]) continue;
        if (m_planMode && m_planMatch.planned[i]) {
            entries.push_back({m_modules[i], m_planMatch.planned[i]->settings, BatchResult::Pending, std::string()});
        } else if (!m_planMode) {
            const std::string hostname = HostnameFromPattern(pattern, k + 1);
            entries.push_back({m_modules[i],
                               AssignedSettings(m_modules[i], m_previewAddresses[k], fields, hostname, password),
                               BatchResult::Pending, std::string()});
            ++k;
        }
    }
    return entries;
}

void CAssignAddressesDialog::StartRun() {
    for (std::size_t i = 0; i < m_modules.size(); ++i) SetCell(static_cast<int>(i), kResultCol, "");
    ::SetDlgItemTextA(m_hWnd, IDC_BATCH_STATUS, "");
    m_run.Start(EntriesToSend());
    EnableControls();
}

void CAssignAddressesDialog::OnStop() { m_run.Stop(false); }

// The row of an entry: the entries are the checked rows in order.
void CAssignAddressesDialog::ShowResult(std::size_t entry) {
    const std::uint8_t* mac = m_run.Entries()[entry].answer.macId;
    for (std::size_t i = 0; i < m_modules.size(); ++i) {
        if (std::memcmp(m_modules[i].macId, mac, VORN_MAC_SIZE) != 0) continue;
        SetCell(static_cast<int>(i), kResultCol, EntryResultText(m_run.Entries()[entry]).c_str());
        return;
    }
}

void CAssignAddressesDialog::ShowProgress(std::size_t done, std::size_t total) {
    HWND bar = GetDlgItem(IDC_BATCH_PROGRESS);
    ::SendMessageA(bar, PBM_SETRANGE32, 0, static_cast<LPARAM>(total));
    ::SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(done), 0);
}

// Closed during the sending: the replies were the run's, so the main list
// has not been scanned since; it is now.
void CAssignAddressesDialog::RunEnded() {
    if (m_closing) {
        m_rescan();
        EndDialog(IDCANCEL);
        return;
    }
    RefreshModules();
    UpdatePreview();
    ::SetDlgItemTextA(m_hWnd, IDC_BATCH_STATUS, BatchSummary(m_run.Entries()).c_str());
}

// The verifying scans brought the modules' new answers: a further run, or
// a plan, starts from what the modules report now.
// The addresses the run gave away are listed now, and no longer free.
void CAssignAddressesDialog::RefreshModules() {
    for (std::size_t i = 0; i < m_modules.size(); ++i) {
        const VORN_ModuleScanResponseType* record = m_list.Modules().Find(m_modules[i].macId);
        if (!record) continue;
        m_modules[i] = *record;
        SetCell(static_cast<int>(i), kIpCol, ModuleRowTexts(*record)[kIpColumn]);
    }
    m_listedAddresses = ReportedAddresses(m_list.Modules());
}

void CAssignAddressesDialog::EnableControls() {
    const bool running = m_run.IsRunning() || m_probing;
    ::EnableWindow(GetDlgItem(IDC_BATCH_ASSIGN), !running && m_fits);
    ::EnableWindow(GetDlgItem(IDC_BATCH_STOP), m_run.IsSending());
    ::EnableWindow(GetDlgItem(IDC_BATCH_APPLY_PLAN), !running);
    ::EnableWindow(GetDlgItem(IDC_BATCH_SAVE_RECORD), !running && !m_run.Entries().empty());
    for (const int id : {IDC_BATCH_FIRST, IDC_BATCH_MASK, IDC_BATCH_GATEWAY, IDC_BATCH_HOSTNAMES, IDC_BATCH_PASSWORD}) {
        ::EnableWindow(GetDlgItem(id), !running);
    }
}

LRESULT CAssignAddressesDialog::OnTimer(WPARAM timer, LPARAM) {
    m_run.OnTimer(timer);
    // A retried step is a step as OnNext takes it.
    if (timer == kNextRetryTimer) EnableControls();
    return 0;
}

LRESULT CAssignAddressesDialog::OnNext(WPARAM, LPARAM) {
    m_run.OnNext();
    EnableControls();
    return 0;
}

bool CAssignAddressesDialog::TakeLibraryReply(int code) { return m_run.TakeReply(code); }

// Nothing is cut short: the module being waited for gets its reply's time
// before the dialog goes. Otherwise it goes at once; probes still running
// are awaited when the dialog is destroyed, and their result is dropped.
void CAssignAddressesDialog::OnCancel() {
    if (!m_run.IsSending()) {
        if (m_run.IsRunning()) m_run.Stop(true);
        m_closing = true;
        CDialog::OnCancel();
        return;
    }
    m_closing = true;
    m_run.Stop(true);
}

void CAssignAddressesDialog::OnApplyPlan() {
    std::string text;
    if (!OpenCsvFile(m_hWnd, text)) return;
    std::vector<PlanRow> rows;
    std::string error;
    if (!ParsePlan(text, rows, error)) {
        MessageBox(("The plan was refused, nothing was sent: " + error).c_str(), "Warning",
                   MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_plan = std::move(rows);
    m_planMatch = MatchPlan(m_plan, m_modules);
    m_planMode = true;
    m_filling = true;
    for (std::size_t i = 0; i < m_modules.size(); ++i) {
        m_checked[i] = m_planMatch.planned[i] != nullptr;
        ListView_SetCheckState(m_rows.m_hWnd, static_cast<int>(i), m_checked[i] ? TRUE : FALSE);
    }
    m_filling = false;
    UpdatePreview();
}

void CAssignAddressesDialog::OnSaveRecord() {
    if (m_run.Entries().empty()) return;
    SaveCsvFile(m_hWnd, "assigned.csv", BatchRecordText(m_run.Entries()));
}

// Every child's place as the template has it; the minimum size is the
// template's.
void CAssignAddressesDialog::RecordLayout() {
    RECT window;
    GetWindowRect(&window);
    m_minimumSize = {window.right - window.left, window.bottom - window.top};
    RECT client;
    GetClientRect(&client);
    m_initialClient = {client.right, client.bottom};
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT rect;
        ::GetWindowRect(child, &rect);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        m_places.push_back({child, rect});
    }
}

// The list takes the growth; the progress bar and the status line widen
// with it; everything below it moves down, and the buttons right of
// "Apply plan..." stay at the right edge.
void CAssignAddressesDialog::OnSize(UINT, int cx, int cy) {
    Default();
    if (m_places.empty()) return;
    const int dx = cx - m_initialClient.cx;
    const int dy = cy - m_initialClient.cy;
    const HWND list = GetDlgItem(IDC_BATCH_LIST);
    const HWND applyPlan = GetDlgItem(IDC_BATCH_APPLY_PLAN);
    RECT listRect = {};
    for (const ChildPlace& place : m_places) {
        if (place.window == list) listRect = place.rect;
    }
    for (const ChildPlace& place : m_places) {
        RECT r = place.rect;
        const int id = ::GetDlgCtrlID(place.window);
        if (place.window == list) {
            r.right += dx;
            r.bottom += dy;
        } else if (r.top >= listRect.bottom) {
            ::OffsetRect(&r, 0, dy);
            if (id == IDC_BATCH_PROGRESS || id == IDC_BATCH_STATUS) r.right += dx;
            const bool button = ::SendMessageA(place.window, WM_GETDLGCODE, 0, 0) &
                                (DLGC_BUTTON | DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON);
            if (button && place.window != applyPlan) ::OffsetRect(&r, dx, 0);
        }
        ::MoveWindow(place.window, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
    }
    Invalidate(TRUE);
}

LRESULT CAssignAddressesDialog::OnGetMinMaxInfo(WPARAM, LPARAM lParam) {
    MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
    if (m_minimumSize.cx > 0) info->ptMinTrackSize = {m_minimumSize.cx, m_minimumSize.cy};
    return 0;
}
