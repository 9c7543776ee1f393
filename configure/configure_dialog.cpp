#include "configure_dialog.h"

#include "data_exchange.h"
#include "resource.h"
#include "win_app.h"

namespace {

// A blank control, or a blank field of one, reads as 0.
uint32_t ReadAddress(const CIPAddressCtrl& control) {
    DWORD address = 0;
    control.GetAddress(address);
    return address;
}

}  // namespace

BEGIN_MESSAGE_MAP(CConfigureDialog, CDialog)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_BN_CLICKED(IDC_CFG_CHANGE_PASSWORD, OnChangePassword)
END_MESSAGE_MAP()

// m_values is left for the caller to fill: the dialog reads only the
// fields the caller sets and writes the others when it closes.
CConfigureDialog::CConfigureDialog(CWnd* parent)
    : CDialog(IDD_CONFIGURE, parent),
      m_hIcon(::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME))) {}

CConfigureDialog::~CConfigureDialog() = default;

void CConfigureDialog::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_CFG_HOSTNAME, m_editHostname);
    DDX_Control(dx, IDC_CFG_DNS2, m_ipDns2);
    DDX_Control(dx, IDC_CFG_DNS1, m_ipDns1);
    DDX_Control(dx, IDC_CFG_NEW_PASSWORD, m_editNewPassword);
    DDX_Control(dx, IDC_CFG_PASSWORD, m_editPassword);
    DDX_Control(dx, IDC_CFG_SUBNET_MASK, m_ipSubnetMask);
    DDX_Control(dx, IDC_CFG_IP, m_ipAddress);
    DDX_Control(dx, IDC_CFG_GATEWAY, m_ipGateway);
    DDX_Text(dx, IDC_CFG_NEW_PASSWORD, m_strNewPassword);
    DDV_MaxChars(dx, IDC_CFG_NEW_PASSWORD, m_strNewPassword, kConfigureTextMax);
    DDX_Text(dx, IDC_CFG_PASSWORD, m_strPassword);
    DDV_MaxChars(dx, IDC_CFG_PASSWORD, m_strPassword, kConfigureTextMax);
    DDX_Radio(dx, IDC_CFG_DHCP_ON, m_nDhcp);
    DDX_Check(dx, IDC_CFG_CHANGE_PASSWORD, m_bChangePassword);
    DDX_Text(dx, IDC_CFG_HOSTNAME, m_strHostname);
}

BOOL CConfigureDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcons();
    SetWindowText(m_strCaption);
    if (m_values.hnValid == 1) {
        m_editHostname.SetWindowText(m_values.hn);
    } else {
        m_editHostname.EnableWindow(FALSE);
    }
    ShowAddress(m_ipSubnetMask, m_values.snValid, m_values.sn);
    ShowAddress(m_ipAddress, m_values.ipValid, m_values.ip);
    ShowAddress(m_ipGateway, m_values.gwValid, m_values.gw);
    ShowAddress(m_ipDns1, m_values.dns1Valid, m_values.dns1);
    ShowAddress(m_ipDns2, m_values.dns2Valid, m_values.dns2);
    if (m_values.pswdEnabled == 0) m_editPassword.SetReadOnly(TRUE);
    // A new password is typed only after "Change password" is checked.
    m_editNewPassword.SetReadOnly(TRUE);
    return TRUE;
}

void CConfigureDialog::SetIcons() {
    SetIcon(m_hIcon, TRUE);
    SetIcon(AfxLoadSmallIcon(IDR_MAINFRAME), FALSE);
}

// A value the module did not report cannot be entered: the control stays
// blank and disabled.
void CConfigureDialog::ShowAddress(CIPAddressCtrl& control, uint8_t valid, uint32_t address) {
    if (valid == 1) {
        control.SetAddress(address);
    } else {
        control.ClearAddress();
        control.EnableWindow(FALSE);
    }
}

int CConfigureDialog::OnCreate(LPCREATESTRUCTA) { return Default() == -1 ? -1 : 0; }

void CConfigureDialog::OnChangePassword() {
    UpdateData(TRUE);
    m_editNewPassword.SetReadOnly(m_bChangePassword == 1 ? FALSE : TRUE);
}

// Runs on every close, after "Set" and after "Cancel", while the controls
// still exist: the caller reads the values once the window is gone.
void CConfigureDialog::OnDestroy() {
    StoreAddresses();
    StoreTexts();
    Default();
}

void CConfigureDialog::StoreAddresses() {
    m_values.sn = ReadAddress(m_ipSubnetMask);
    m_values.ip = ReadAddress(m_ipAddress);
    m_values.gw = ReadAddress(m_ipGateway);
    m_values.dns1 = ReadAddress(m_ipDns1);
    m_values.dns2 = ReadAddress(m_ipDns2);
}

// The texts of the last data exchange: after "Cancel" those of the last
// "Change password" click, or the empty initial ones.
void CConfigureDialog::StoreTexts() {
    StoreConfigureText(m_values.pswd, m_strPassword);
    StoreConfigureText(m_values.newPswd, m_strNewPassword);
    StoreConfigureText(m_values.hn, m_strHostname);
}
