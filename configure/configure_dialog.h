// CConfigureDialog: the modal dialog in which the user edits one module's
// Ethernet settings. It knows nothing of the protocol or the module list:
// the caller fills m_values, m_nDhcp and m_strCaption, runs it, and reads
// the values back after DoModal, as the window writes them when it goes.
#ifndef KL_CONFIGURE_CONFIGURE_DIALOG_H
#define KL_CONFIGURE_CONFIGURE_DIALOG_H

#include "configure_values.h"
#include "controls.h"
#include "dialog.h"

class CConfigureDialog : public CDialog {
public:
    explicit CConfigureDialog(CWnd* parent = nullptr);
    ~CConfigureDialog() override;

    ConfigureValues m_values;
    CString m_strCaption;

    CEdit m_editHostname;
    CIPAddressCtrl m_ipDns2;
    CIPAddressCtrl m_ipDns1;
    CEdit m_editNewPassword;
    CEdit m_editPassword;
    CIPAddressCtrl m_ipSubnetMask;
    CIPAddressCtrl m_ipAddress;
    CIPAddressCtrl m_ipGateway;

    CString m_strNewPassword;
    CString m_strPassword;
    int m_nDhcp = -1;           // radio index: 0 "On", 1 "Off", -1 none
    int m_bChangePassword = 0;  // 1 when "Change password" is checked
    CString m_strHostname;

    HICON m_hIcon;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    int OnCreate(LPCREATESTRUCTA createStruct);
    void OnDestroy();
    void OnChangePassword();

    void SetIcons();
    void ShowAddress(CIPAddressCtrl& control, uint8_t valid, uint32_t address);
    void StoreAddresses();
    void StoreTexts();

    DECLARE_MESSAGE_MAP()
};

#endif
