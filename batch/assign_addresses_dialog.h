// CAssignAddressesDialog: "Assign addresses", opened from the module list's
// menu. One check-box row per listed module with a MAC, the address fields,
// the host-name pattern and the password; a preview of the address each
// checked module gets, then a run that sends, awaits and verifies them one
// by one (batch_run.h). A plan read from a CSV file may take the fields'
// place.
#ifndef KL_BATCH_ASSIGN_ADDRESSES_DIALOG_H
#define KL_BATCH_ASSIGN_ADDRESSES_DIALOG_H

#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <unordered_set>
#include <vector>

#include "batch_assignment.h"
#include "batch_record.h"
#include "batch_run.h"
#include "controls.h"
#include "dialog.h"

class CModuleListCtrl;

// Posted by the probing thread when it is done; lParam owns the vector of
// the addresses found taken, or is null when every one counts as taken.
constexpr UINT WM_BATCH_PROBED = WM_APP + 22;

class CAssignAddressesDialog : public CDialog {
public:
    // rowType: the Type text of the row the menu was opened on; the modules
    // of that Type are checked at opening (all when it is null). rescan
    // empties the main list and scans, warning of nothing (false when the
    // scan could not be sent).
    CAssignAddressesDialog(CModuleListCtrl& list, const char* rowType, std::function<bool()> rescan,
                           CWnd* parent = nullptr);
    ~CAssignAddressesDialog() override;

    // A library notification 2 or 3 during a run; true when the run took it
    // (the main window then does not rescan).
    bool TakeLibraryReply(int code);
    // The modules the dialog offers, in the main list's order.
    const std::vector<VORN_ModuleScanResponseType>& Modules() const { return m_modules; }

protected:
    BOOL OnInitDialog() override;
    // Enter assigns nothing.
    void OnOK() override {}
    // "Close" and Escape: a run stops after the module being waited for.
    void OnCancel() override;

    void OnFieldChange();
    void OnPasswordChange();
    void OnItemChanging(NMHDR* notify, LRESULT* result);
    void OnItemChanged(NMHDR* notify, LRESULT* result);
    void OnAssign();
    void OnStop();
    void OnApplyPlan();
    void OnSaveRecord();
    void OnSize(UINT type, int cx, int cy);
    LRESULT OnGetMinMaxInfo(WPARAM, LPARAM lParam);
    LRESULT OnTimer(WPARAM timer, LPARAM);
    LRESULT OnNext(WPARAM, LPARAM);
    LRESULT OnProbed(WPARAM, LPARAM result);

private:
    struct ChildPlace {
        HWND window;
        RECT rect;
    };

    void ReadModules(const char* rowType);
    void FillRows();
    void SetupColumns();
    void ProposeFields();
    AddressFields ReadFields() const;
    std::unordered_set<std::uint32_t> NotFreeAddresses() const;
    std::vector<std::uint32_t> BatchAddresses() const;
    std::size_t CheckedCount() const;
    void UpdatePreview();
    bool PreviewFromFields(std::vector<CString>& newIps, CString& status);
    bool PreviewFromPlan(std::vector<CString>& newIps, CString& status) const;
    void ShowNewIps(const std::vector<CString>& newIps);
    void SetCell(int row, int column, const CString& text);
    void ProbeAndAssign();
    static void ProbeOnThread(HWND window, std::vector<std::uint32_t> addresses);
    void TakeProbed(const std::vector<std::uint32_t>* taken);
    void StartRun();
    std::vector<BatchEntry> EntriesToSend() const;
    void ShowResult(std::size_t entry);
    void ShowProgress(std::size_t done, std::size_t total);
    void RunEnded();
    void RefreshModules();
    void EnableControls();
    void RecordLayout();

    CModuleListCtrl& m_list;
    CListCtrl m_rows;
    CIPAddressCtrl m_first;
    CIPAddressCtrl m_mask;
    CIPAddressCtrl m_gateway;
    CEdit m_hostnames;
    CEdit m_password;
    std::function<bool()> m_rescan;
    CBatchRun m_run;

    // The listed modules with a MAC, in the main list's order, one row each.
    std::vector<VORN_ModuleScanResponseType> m_modules;
    std::vector<bool> m_checked;
    std::vector<CString> m_newIpTexts;
    // The listed modules' addresses, as read at opening and after each run;
    // those found taken on the wire; those probed by this press of Assign.
    std::vector<std::uint32_t> m_listedAddresses;
    std::unordered_set<std::uint32_t> m_taken;
    std::unordered_set<std::uint32_t> m_probed;
    std::vector<std::uint32_t> m_previewAddresses;
    bool m_fits = false;
    // A plan read by "Apply plan...": the fields give way to it until one
    // of them is edited.
    std::vector<PlanRow> m_plan;
    PlanMatch m_planMatch;
    bool m_planMode = false;
    bool m_filling = false;
    bool m_probing = false;
    std::vector<std::uint32_t> m_probeAddresses;
    bool m_closing = false;
    std::thread m_probeThread;
    std::vector<ChildPlace> m_places;
    SIZE m_minimumSize = {};
    SIZE m_initialClient = {};

    DECLARE_MESSAGE_MAP()
};

#endif
