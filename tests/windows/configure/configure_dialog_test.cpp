// The configure dialog on its own: opening states, the 29-character
// password limit, "Change password", and what every close writes back.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "configure_dialog.h"
#include "modal_script.h"
#include "resource.h"
#include "test_app.h"

namespace kltest {

CWinApp& TestApp() {
    static CWinApp app;
    if (app.m_appName.IsEmpty()) app.InitApplication(GetModuleHandleA(nullptr));
    return app;
}

}  // namespace kltest

namespace {

using kltest::MessageBoxWatcher;
using kltest::PumpFor;
using kltest::RunModal;

ConfigureValues EveryField() {
    ConfigureValues values = {};
    values.pswdEnabled = 1;
    StoreConfigureText(values.hn, "module_7");
    values.hnValid = 1;
    values.ip = 0xC0A8000A;
    values.sn = 0xFFFFFF00;
    values.gw = 0xC0A80001;
    values.dns1 = 0x08080808;
    values.dns2 = 0x08080404;
    values.ipValid = values.snValid = values.gwValid = values.dns1Valid = values.dns2Valid = 1;
    return values;
}

void Prepare(CConfigureDialog& dialog, const ConfigureValues& values, int dhcp) {
    dialog.m_values = values;
    dialog.m_nDhcp = dhcp;
    dialog.m_strCaption = "Configure: 02-1A-2B-3C-4D-5E";
}

std::string Text(HWND window, int id) {
    char text[256] = "";
    GetDlgItemTextA(window, id, text, sizeof text);
    return text;
}

bool ReadOnly(HWND window, int id) { return (GetWindowLongA(GetDlgItem(window, id), GWL_STYLE) & ES_READONLY) != 0; }
bool Enabled(HWND window, int id) { return IsWindowEnabled(GetDlgItem(window, id)) != FALSE; }
bool Checked(HWND window, int id) { return SendDlgItemMessageA(window, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }

DWORD Address(HWND window, int id) {
    DWORD address = 0;
    SendDlgItemMessageA(window, id, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address));
    return address;
}

bool Blank(HWND window, int id) { return SendDlgItemMessageA(window, id, IPM_ISBLANK, 0, 0) != 0; }

void Type(HWND window, int id, const std::string& text) {
    for (char c : text) SendDlgItemMessageA(window, id, WM_CHAR, static_cast<unsigned char>(c), 1);
}

void Press(HWND window, int id) {
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

void ClickChangePassword(HWND window) { SendDlgItemMessageA(window, IDC_CFG_CHANGE_PASSWORD, BM_CLICK, 0, 0); }

class ConfigureDialogTest : public ::testing::Test {
protected:
    void SetUp() override { kltest::TestApp(); }
};

TEST_F(ConfigureDialogTest, EveryFieldShownAndWrittenBackAfterSet) {
    CConfigureDialog dialog;
    Prepare(dialog, EveryField(), 0);
    const INT_PTR result = RunModal(dialog, [&](HWND window) {
        char caption[64] = "";
        GetWindowTextA(window, caption, sizeof caption);
        EXPECT_STREQ(caption, "Configure: 02-1A-2B-3C-4D-5E");
        EXPECT_EQ(Text(window, IDC_CFG_HOSTNAME), "module_7");
        EXPECT_TRUE(Enabled(window, IDC_CFG_HOSTNAME));
        EXPECT_EQ(Address(window, IDC_CFG_IP), 0xC0A8000Au);
        EXPECT_EQ(Address(window, IDC_CFG_SUBNET_MASK), 0xFFFFFF00u);
        EXPECT_EQ(Address(window, IDC_CFG_GATEWAY), 0xC0A80001u);
        EXPECT_EQ(Address(window, IDC_CFG_DNS1), 0x08080808u);
        EXPECT_EQ(Address(window, IDC_CFG_DNS2), 0x08080404u);
        for (int id : {IDC_CFG_IP, IDC_CFG_SUBNET_MASK, IDC_CFG_GATEWAY, IDC_CFG_DNS1, IDC_CFG_DNS2}) {
            EXPECT_TRUE(Enabled(window, id)) << id;
        }
        EXPECT_FALSE(ReadOnly(window, IDC_CFG_PASSWORD));
        EXPECT_TRUE(ReadOnly(window, IDC_CFG_NEW_PASSWORD));
        EXPECT_TRUE(Checked(window, IDC_CFG_DHCP_ON));
        EXPECT_FALSE(Checked(window, IDC_CFG_DHCP_OFF));
        EXPECT_FALSE(Checked(window, IDC_CFG_CHANGE_PASSWORD));
        EXPECT_EQ(SendDlgItemMessageA(window, IDC_CFG_PASSWORD, EM_GETLIMITTEXT, 0, 0), 29);
        EXPECT_EQ(SendDlgItemMessageA(window, IDC_CFG_NEW_PASSWORD, EM_GETLIMITTEXT, 0, 0), 29);
        EXPECT_EQ(SendMessageA(window, WM_GETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(dialog.m_hIcon));
        EXPECT_NE(SendMessageA(window, WM_GETICON, ICON_SMALL, 0), 0);
        // Switching DHCP changes nothing else.
        SendDlgItemMessageA(window, IDC_CFG_DHCP_OFF, BM_CLICK, 0, 0);
        EXPECT_TRUE(Enabled(window, IDC_CFG_IP));
        Type(window, IDC_CFG_PASSWORD, "pw");
        Press(window, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.m_nDhcp, 1);
    EXPECT_EQ(dialog.m_bChangePassword, 0);
    EXPECT_STREQ(dialog.m_values.pswd, "pw");
    EXPECT_STREQ(dialog.m_values.newPswd, "");
    EXPECT_STREQ(dialog.m_values.hn, "module_7");
    EXPECT_EQ(dialog.m_values.ip, 0xC0A8000Au);
    EXPECT_EQ(dialog.m_values.sn, 0xFFFFFF00u);
    EXPECT_EQ(dialog.m_values.gw, 0xC0A80001u);
    EXPECT_EQ(dialog.m_values.dns1, 0x08080808u);
    EXPECT_EQ(dialog.m_values.dns2, 0x08080404u);
}

TEST_F(ConfigureDialogTest, WithoutDnsTheControlsAreBlankDisabledAndGiveZero) {
    ConfigureValues values = EveryField();
    values.dns1Valid = values.dns2Valid = 0;
    CConfigureDialog dialog;
    Prepare(dialog, values, 1);
    const INT_PTR result = RunModal(dialog, [&](HWND window) {
        EXPECT_TRUE(Checked(window, IDC_CFG_DHCP_OFF));
        for (int id : {IDC_CFG_DNS1, IDC_CFG_DNS2}) {
            EXPECT_FALSE(Enabled(window, id));
            EXPECT_TRUE(Blank(window, id));
        }
        EXPECT_TRUE(Enabled(window, IDC_CFG_IP));
        Press(window, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.m_values.dns1, 0u);
    EXPECT_EQ(dialog.m_values.dns2, 0u);
    EXPECT_EQ(dialog.m_values.ip, 0xC0A8000Au);
}

TEST_F(ConfigureDialogTest, WithoutHostNameTheEditIsEmptyAndDisabled) {
    ConfigureValues values = EveryField();
    values.hnValid = 0;
    CConfigureDialog dialog;
    Prepare(dialog, values, 0);
    RunModal(dialog, [&](HWND window) {
        EXPECT_FALSE(Enabled(window, IDC_CFG_HOSTNAME));
        EXPECT_EQ(Text(window, IDC_CFG_HOSTNAME), "");
        Press(window, IDOK);
    });
    EXPECT_STREQ(dialog.m_values.hn, "");
}

TEST_F(ConfigureDialogTest, NotPasswordProtectedTakesNoTypingButCanChangePassword) {
    ConfigureValues values = EveryField();
    values.pswdEnabled = 0;
    CConfigureDialog dialog;
    Prepare(dialog, values, 0);
    RunModal(dialog, [&](HWND window) {
        EXPECT_TRUE(ReadOnly(window, IDC_CFG_PASSWORD));
        Type(window, IDC_CFG_PASSWORD, "abc");
        EXPECT_EQ(Text(window, IDC_CFG_PASSWORD), "");
        ClickChangePassword(window);
        EXPECT_FALSE(ReadOnly(window, IDC_CFG_NEW_PASSWORD));
        Type(window, IDC_CFG_NEW_PASSWORD, "fresh");
        Press(window, IDOK);
    });
    EXPECT_STREQ(dialog.m_values.pswd, "");
    EXPECT_STREQ(dialog.m_values.newPswd, "fresh");
    EXPECT_EQ(dialog.m_bChangePassword, 1);
}

TEST_F(ConfigureDialogTest, PasswordsStopAt29Characters) {
    CConfigureDialog dialog;
    Prepare(dialog, EveryField(), 0);
    RunModal(dialog, [&](HWND window) {
        Type(window, IDC_CFG_PASSWORD, std::string(35, 'p'));
        EXPECT_EQ(Text(window, IDC_CFG_PASSWORD), std::string(29, 'p'));
        ClickChangePassword(window);
        const std::string forty(40, 'n');
        SendDlgItemMessageA(window, IDC_CFG_NEW_PASSWORD, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(forty.c_str()));
        EXPECT_EQ(Text(window, IDC_CFG_NEW_PASSWORD), std::string(29, 'n'));
        Press(window, IDOK);
    });
    EXPECT_STREQ(dialog.m_values.pswd, std::string(29, 'p').c_str());
    EXPECT_STREQ(dialog.m_values.newPswd, std::string(29, 'n').c_str());
}

TEST_F(ConfigureDialogTest, ThirtyCharacterPasswordFailsValidationAndTheDialogStays) {
    CConfigureDialog dialog;
    Prepare(dialog, EveryField(), 0);
    bool stayedOpen = false;
    int boxes = 0;
    std::string message;
    const INT_PTR result = RunModal(dialog, [&](HWND window) {
        // The template is not WS_VISIBLE and the modal loop has not shown it
        // yet; shown now, a dialog that ended would be hidden again.
        ShowWindow(window, SW_SHOWNORMAL);
        MessageBoxWatcher watcher(AfxGetAppName());
        SetDlgItemTextA(window, IDC_CFG_PASSWORD, std::string(30, 'x').c_str());
        Press(window, IDOK);
        PumpFor(100);
        stayedOpen = IsWindowVisible(window) != FALSE;
        boxes = watcher.Count();
        message = watcher.LastText();
        SetDlgItemTextA(window, IDC_CFG_PASSWORD, "short");
        Press(window, IDOK);
    });
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(boxes, 1);
    EXPECT_NE(message.find("29"), std::string::npos) << message;
    EXPECT_EQ(result, IDOK);
    EXPECT_STREQ(dialog.m_values.pswd, "short");
}

TEST_F(ConfigureDialogTest, ChangePasswordCheckedTypedUnchecked) {
    CConfigureDialog dialog;
    Prepare(dialog, EveryField(), 0);
    RunModal(dialog, [&](HWND window) {
        ClickChangePassword(window);
        EXPECT_TRUE(Checked(window, IDC_CFG_CHANGE_PASSWORD));
        EXPECT_FALSE(ReadOnly(window, IDC_CFG_NEW_PASSWORD));
        Type(window, IDC_CFG_NEW_PASSWORD, "next");
        ClickChangePassword(window);
        EXPECT_TRUE(ReadOnly(window, IDC_CFG_NEW_PASSWORD));
        EXPECT_EQ(Text(window, IDC_CFG_NEW_PASSWORD), "next");
        Press(window, IDOK);
    });
    EXPECT_EQ(dialog.m_bChangePassword, 0);
    EXPECT_STREQ(dialog.m_values.newPswd, "next");
}

TEST_F(ConfigureDialogTest, LongHostNameIsCutTo29WhenStored) {
    CConfigureDialog dialog;
    Prepare(dialog, EveryField(), 0);
    RunModal(dialog, [&](HWND window) {
        SetDlgItemTextA(window, IDC_CFG_HOSTNAME, "");
        Type(window, IDC_CFG_HOSTNAME, std::string(40, 'h'));
        EXPECT_EQ(Text(window, IDC_CFG_HOSTNAME).size(), 40u);
        Press(window, IDOK);
    });
    EXPECT_STREQ(dialog.m_values.hn, std::string(29, 'h').c_str());
}

TEST_F(ConfigureDialogTest, CancelStillWritesAddressesAndLastExchangedTexts) {
    CConfigureDialog dialog;
    Prepare(dialog, EveryField(), 0);
    const INT_PTR result = RunModal(dialog, [&](HWND window) {
        SendDlgItemMessageA(window, IDC_CFG_IP, IPM_SETADDRESS, 0, static_cast<LPARAM>(0x0A000005));
        SendDlgItemMessageA(window, IDC_CFG_GATEWAY, IPM_CLEARADDRESS, 0, 0);
        SetDlgItemTextA(window, IDC_CFG_HOSTNAME, "at_click");
        Type(window, IDC_CFG_PASSWORD, "pw");
        ClickChangePassword(window);  // the last exchange
        SetDlgItemTextA(window, IDC_CFG_HOSTNAME, "after_click");
        Press(window, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(dialog.m_values.ip, 0x0A000005u);
    EXPECT_EQ(dialog.m_values.gw, 0u);
    EXPECT_STREQ(dialog.m_values.hn, "at_click");
    EXPECT_STREQ(dialog.m_values.pswd, "pw");
}

TEST_F(ConfigureDialogTest, CancelWithoutExchangeWritesTheEmptyInitialTexts) {
    CConfigureDialog dialog;
    Prepare(dialog, EveryField(), 0);
    const INT_PTR result = RunModal(dialog, [&](HWND window) {
        Type(window, IDC_CFG_PASSWORD, "pw");
        Press(window, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_STREQ(dialog.m_values.hn, "");
    EXPECT_STREQ(dialog.m_values.pswd, "");
    EXPECT_EQ(dialog.m_values.sn, 0xFFFFFF00u);
}

}  // namespace
