// The configure flow from a double-click on the main dialog's list, with
// the real library and the module simulator: what is sent, what is
// refused, and which module is remembered as configured last.
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "main_dialog.h"
#include "list_probe.h"
#include "modal_script.h"
#include "resource.h"
#include "sim_control.h"
#include "test_app.h"
#include "vorn.h"

namespace {

using kltest::Cell;
using kltest::ListOf;
using kltest::MessageBoxWatcher;
using kltest::PumpFor;
using kltest::PumpUntil;
using kltest::RowCount;
using kltest::RowTextColor;
using kltest::RunModal;
using kltest::Sim;
using kltest::WaitForRows;

constexpr char kFirstMac[] = "02-00-00-00-01-01";
constexpr char kIllegal[] = "Illegal hostname! Configuration was NOT downloaded!";

int RowOf(HWND dialog, const std::string& mac) {
    for (int row = 0; row < RowCount(dialog); ++row) {
        if (Cell(dialog, row, 6) == mac) return row;
    }
    return -1;
}

std::string HexOf(const std::string& bytes) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (const char c : bytes) {
        hex += kDigits[static_cast<unsigned char>(c) >> 4];
        hex += kDigits[static_cast<unsigned char>(c) & 0x0F];
    }
    return hex;
}

long Configures() {
    const std::string stats = Sim("stats");
    const std::size_t at = stats.find("configures=");
    return at == std::string::npos ? -1 : std::strtol(stats.c_str() + at + 11, nullptr, 10);
}

// The configure dialog is a nested modal loop inside the double-click: it
// is scripted from a thread timer that finds it by its caption.
struct NestedScript {
    std::string caption;
    std::function<void(HWND)> script;
    int opened = 0;
} g_nested;

void CALLBACK RunNestedScript(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND window = FindWindowA(nullptr, g_nested.caption.c_str());
    if (!window || !IsWindowVisible(window)) return;
    KillTimer(nullptr, timer);
    ++g_nested.opened;
    g_nested.script(window);
}

// Double-clicks the row and scripts the dialog that opens for it; returns
// how many configure dialogs opened.
int DoubleClickRow(HWND dialog, int row, const std::string& mac, const std::function<void(HWND)>& script) {
    g_nested = {"Configure: " + mac, script, 0};
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, &RunNestedScript);
    RECT rect = {};
    rect.left = LVIR_BOUNDS;
    SendMessageA(ListOf(dialog), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
    const int y = (rect.top + rect.bottom) / 2;
    SendMessageA(ListOf(dialog), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(rect.left + 40, y));
    KillTimer(nullptr, timer);
    return g_nested.opened;
}

void SetHostnameAndPressSet(HWND window, const char* hostname) {
    SetDlgItemTextA(window, IDC_CFG_HOSTNAME, hostname);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, IDOK)));
}

const BYTE kEarlierMac[VORN_MAC_SIZE] = {0x0E, 0, 0, 0, 0, 0x0E};

void DropInvalidPasswordQueue() {
    BYTE mac[VORN_MAC_SIZE];
    while (VORN_GetInvPswdMacId(mac)) VORN_RemoveFirstInvPswdMacId();
}

class ConfigureFlowTest : public ::testing::Test {
protected:
    void SetUp() override {
        kltest::TestApp();
        ASSERT_EQ(Sim("reset --mac-base 02-00-00-00-01-01 --ip-base 198.18.1.100 --count 2"), "OK");
        DropInvalidPasswordQueue();
    }
    void TearDown() override { DropInvalidPasswordQueue(); }

    // Opens the first module, leaves hostname in the dialog and presses Set.
    void Configure(const char* hostname, bool expectSent) {
        CMainDialog dialog;
        RunModal(dialog, [&](HWND window) {
            ASSERT_TRUE(WaitForRows(window, 2));
            dialog.ModuleList().SetLastConfiguredMac(kEarlierMac);
            MessageBoxWatcher boxes(AfxGetAppName());
            const int row = RowOf(window, kFirstMac);
            ASSERT_GE(row, 0);
            ASSERT_EQ(DoubleClickRow(window, row, kFirstMac, [&](HWND cfg) { SetHostnameAndPressSet(cfg, hostname); }),
                      1);
            PumpFor(300);
            BYTE last[VORN_MAC_SIZE];
            dialog.ModuleList().GetLastConfiguredMac(last);
            if (expectSent) {
                EXPECT_EQ(boxes.Count(), 0);
                EXPECT_EQ(Configures(), 1);
                const BYTE first[VORN_MAC_SIZE] = {0x02, 0, 0, 0, 0x01, 0x01};
                EXPECT_EQ(0, std::memcmp(last, first, VORN_MAC_SIZE));
            } else {
                EXPECT_EQ(boxes.Count(), 1);
                EXPECT_EQ(boxes.LastText(), kIllegal);
                EXPECT_EQ(Configures(), 0);
                EXPECT_EQ(0, std::memcmp(last, kEarlierMac, VORN_MAC_SIZE));
            }
        });
    }
};

TEST_F(ConfigureFlowTest, HyphenIsRefused) { Configure("my-module", false); }
TEST_F(ConfigureFlowTest, DotIsRefused) { Configure("a.b", false); }
TEST_F(ConfigureFlowTest, SpaceIsRefused) { Configure("a b", false); }
TEST_F(ConfigureFlowTest, AccentedLetterIsRefused) { Configure("caf\xE9", false); }
TEST_F(ConfigureFlowTest, UnderscoreNameIsSent) { Configure("module_1", true); }
TEST_F(ConfigureFlowTest, LettersAndDigitsAreSent) { Configure("ABC123", true); }
TEST_F(ConfigureFlowTest, EmptyNameIsSent) { Configure("", true); }

TEST_F(ConfigureFlowTest, OpensWithTheRecordAndTheNewSettingsShowAfterTheRescan) {
    CMainDialog dialog;
    RunModal(dialog, [&](HWND window) {
        ASSERT_TRUE(WaitForRows(window, 2));
        const int row = RowOf(window, kFirstMac);
        ASSERT_GE(row, 0);
        const int opened = DoubleClickRow(window, row, kFirstMac, [&](HWND cfg) {
            char host[64] = "";
            GetDlgItemTextA(cfg, IDC_CFG_HOSTNAME, host, sizeof host);
            EXPECT_STREQ(host, "module0");
            DWORD ip = 0;
            SendDlgItemMessageA(cfg, IDC_CFG_IP, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&ip));
            EXPECT_EQ(ip, (198u << 24) | (18u << 16) | (1u << 8) | 100u);
            EXPECT_TRUE(SendDlgItemMessageA(cfg, IDC_CFG_DHCP_OFF, BM_GETCHECK, 0, 0) == BST_CHECKED);
            EXPECT_TRUE(GetWindowLongA(GetDlgItem(cfg, IDC_CFG_PASSWORD), GWL_STYLE) & ES_READONLY);
            SendDlgItemMessageA(cfg, IDC_CFG_IP, IPM_SETADDRESS, 0, static_cast<LPARAM>((198u << 24) | (18u << 16) | (1u << 8) | 200u));
            SendDlgItemMessageA(cfg, IDC_CFG_DHCP_ON, BM_CLICK, 0, 0);
            SetHostnameAndPressSet(cfg, "renamed");
        });
        ASSERT_EQ(opened, 1);
        // "Reconfigured" empties the list and rescans; the new values show.
        ASSERT_TRUE(PumpUntil([&] {
            const int r = RowOf(window, kFirstMac);
            return r >= 0 && Cell(window, r, 0) == "198.18.1.200";
        }));
        const int r = RowOf(window, kFirstMac);
        EXPECT_EQ(Cell(window, r, 3), "On");
        EXPECT_EQ(Configures(), 1);
        // Byte for byte as the module received it: the module reported no
        // secondary DNS, so its blank control sends 0.0.0.0.
        const std::string expected =
            "Configure: 02-00-00-00-01-01;IP = 198.18.1.200;SN = 255.255.255.0;GW = 198.18.0.1;DHCP = ON;"
            "HN = renamed;DNS1 = 198.18.0.1;DNS2 = 0.0.0.0;";
        EXPECT_EQ(Sim("last-configure"), "OK " + HexOf(expected + '\0'));
    });
}

// A module the simulator does not run answers at the first module's
// address: both rows are dark red until the first module is configured to
// another address and the list is scanned again.
TEST_F(ConfigureFlowTest, AnAddressConflictClearsOnceTheModuleMoved) {
    const std::string stranger = "send-text ip = 198.18.1.100;mac = 0A-0B-0C-0D-0E-0F;";
    const COLORREF conflict = CModuleListCtrl::kConflictTextColor;
    CMainDialog dialog;
    RunModal(dialog, [&](HWND window) {
        ASSERT_TRUE(WaitForRows(window, 2));
        ASSERT_EQ(Sim(stranger), "OK");
        ASSERT_TRUE(WaitForRows(window, 3));
        EXPECT_EQ(RowTextColor(window, RowOf(window, kFirstMac)), conflict);
        EXPECT_EQ(RowTextColor(window, RowOf(window, "0A-0B-0C-0D-0E-0F")), conflict);
        EXPECT_EQ(RowTextColor(window, RowOf(window, "02-00-00-00-01-02")), CLR_DEFAULT);
        ASSERT_EQ(DoubleClickRow(window, RowOf(window, kFirstMac), kFirstMac,
                                 [](HWND cfg) {
                                     SendDlgItemMessageA(cfg, IDC_CFG_IP, IPM_SETADDRESS, 0,
                                                         static_cast<LPARAM>((198u << 24) | (18u << 16) | (1u << 8) | 200u));
                                     SetHostnameAndPressSet(cfg, "module0");
                                 }),
                  1);
        ASSERT_TRUE(PumpUntil([&] {
            const int r = RowOf(window, kFirstMac);
            return r >= 0 && Cell(window, r, 0) == "198.18.1.200";
        }));
        ASSERT_TRUE(WaitForRows(window, 2));
        ASSERT_EQ(Sim(stranger), "OK");  // still at the old address
        ASSERT_TRUE(WaitForRows(window, 3));
        for (int row = 0; row < 3; ++row) EXPECT_EQ(RowTextColor(window, row), CLR_DEFAULT) << Cell(window, row, 6);
    });
}

TEST_F(ConfigureFlowTest, WrongPasswordIsReportedOnce) {
    ASSERT_EQ(Sim("reset --mac-base 02-00-00-00-01-01 --ip-base 198.18.1.100 --count 2 --protect-every 1 "
                  "--password right"),
              "OK");
    CMainDialog dialog;
    RunModal(dialog, [&](HWND window) {
        ASSERT_TRUE(WaitForRows(window, 2));
        MessageBoxWatcher boxes("Warning");
        const int row = RowOf(window, kFirstMac);
        ASSERT_EQ(DoubleClickRow(window, row, kFirstMac,
                                 [&](HWND cfg) {
                                     EXPECT_FALSE(GetWindowLongA(GetDlgItem(cfg, IDC_CFG_PASSWORD), GWL_STYLE) &
                                                  ES_READONLY);
                                     SetDlgItemTextA(cfg, IDC_CFG_PASSWORD, "wrong");
                                     SetHostnameAndPressSet(cfg, "module0");
                                 }),
                  1);
        ASSERT_TRUE(PumpUntil([&] { return boxes.Count() == 1; }));
        PumpFor(300);
        EXPECT_EQ(boxes.Count(), 1);
        EXPECT_EQ(boxes.LastText(), "Invalid password");
        // No rescan after a refusal: the two modules stay, with the row of
        // our own request read back without a MAC.
        EXPECT_EQ(RowCount(window), 3);
        EXPECT_GE(RowOf(window, "N/A"), 0);
        const std::string reply = Sim("last-configure");
        EXPECT_NE(reply.find(HexOf("Password: wrong;")), std::string::npos) << reply;
    });
}

TEST_F(ConfigureFlowTest, CancelSendsNothing) {
    CMainDialog dialog;
    RunModal(dialog, [&](HWND window) {
        ASSERT_TRUE(WaitForRows(window, 2));
        dialog.ModuleList().SetLastConfiguredMac(kEarlierMac);
        const int row = RowOf(window, kFirstMac);
        ASSERT_EQ(DoubleClickRow(window, row, kFirstMac,
                                 [](HWND cfg) { SendMessageA(cfg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); }),
                  1);
        PumpFor(300);
        EXPECT_EQ(Configures(), 0);
        BYTE last[VORN_MAC_SIZE];
        dialog.ModuleList().GetLastConfiguredMac(last);
        EXPECT_EQ(0, std::memcmp(last, kEarlierMac, VORN_MAC_SIZE));
    });
}

TEST_F(ConfigureFlowTest, ARowWithoutMacOpensNothing) {
    CMainDialog dialog;
    RunModal(dialog, [&](HWND window) {
        ASSERT_TRUE(WaitForRows(window, 2));
        ASSERT_EQ(Sim("send-text fb type = nomac;"), "OK");
        ASSERT_TRUE(WaitForRows(window, 3));
        const int row = RowOf(window, "N/A");
        ASSERT_GE(row, 0);
        const int opened = DoubleClickRow(window, row, "N/A", [](HWND cfg) { SendMessageA(cfg, WM_COMMAND, IDCANCEL, 0); });
        PumpFor(200);
        EXPECT_EQ(opened, 0);
        EXPECT_EQ(Configures(), 0);
    });
}

TEST_F(ConfigureFlowTest, ADoubleClickBelowTheLastRowDoesNothing) {
    CMainDialog dialog;
    RunModal(dialog, [&](HWND window) {
        ASSERT_TRUE(WaitForRows(window, 2));
        RECT client;
        GetClientRect(ListOf(window), &client);
        g_nested = {"Configure: " + std::string(kFirstMac), [](HWND) {}, 0};
        SendMessageA(ListOf(window), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, client.bottom - 3));
        EXPECT_EQ(g_nested.opened, 0);
        EXPECT_EQ(Configures(), 0);
    });
}

}  // namespace
