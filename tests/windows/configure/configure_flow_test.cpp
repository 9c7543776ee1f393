// The configure flow from a double-click on the main dialog's list, with
// the real library and the module simulator: what is sent, what is
// refused, and which module is remembered as configured last.
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "main_dialog.h"
#include "list_probe.h"
#include "modal_script.h"
#include "resource.h"
#include "sim_control.h"
#include "test_app.h"
#include "vorn.h"
#include "workstation_adapters.h"

namespace {

using kltest::Cell;
using kltest::ListOf;
using kltest::MessageBoxWatcher;
using kltest::PopupMenuAnswer;
using kltest::PumpFor;
using kltest::PumpUntil;
using kltest::RowCount;
using kltest::RowTextColor;
using kltest::RunModal;
using kltest::HexOf;
using kltest::Sim;
using kltest::WaitForRows;

constexpr char kFirstMac[] = "02-00-00-00-01-01";
constexpr char kIllegal[] = "Illegal hostname! Configuration was NOT downloaded!";
constexpr char kIllegalPassword[] =
    "Illegal password! A password cannot contain the character \";\". Configuration was NOT downloaded!";

int RowOf(HWND dialog, const std::string& mac) {
    for (int row = 0; row < RowCount(dialog); ++row) {
        if (Cell(dialog, row, 6) == mac) return row;
    }
    return -1;
}

long Configures() {
    const std::string stats = Sim("stats");
    const std::size_t at = stats.find("configures=");
    return at == std::string::npos ? -1 : std::strtol(stats.c_str() + at + 11, nullptr, 10);
}

// The configure dialog is a nested modal loop inside the double-click: it
// is scripted from a thread timer that finds it as this thread's visible
// window whose caption begins with the expected one.
struct NestedScript {
    std::string caption;
    std::function<void(HWND)> script;
    int opened = 0;
} g_nested;

BOOL CALLBACK MatchNestedCaption(HWND window, LPARAM found) {
    char caption[64] = "";
    GetWindowTextA(window, caption, sizeof caption);
    if (!IsWindowVisible(window) || std::string(caption).rfind(g_nested.caption, 0) != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

void CALLBACK RunNestedScript(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND window = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &MatchNestedCaption, reinterpret_cast<LPARAM>(&window));
    if (!window) return;
    KillTimer(nullptr, timer);
    ++g_nested.opened;
    g_nested.script(window);
}

// Double-clicks the list at (x, y) and scripts a configure dialog whose
// caption begins with caption, should one open; returns how many opened.
int DoubleClickAt(HWND dialog, int x, int y, const std::string& caption, const std::function<void(HWND)>& script) {
    g_nested = {caption, script, 0};
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, &RunNestedScript);
    SendMessageA(ListOf(dialog), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, y));
    KillTimer(nullptr, timer);
    return g_nested.opened;
}

// Double-clicks the row and scripts the dialog that opens for it.
int DoubleClickRow(HWND dialog, int row, const std::string& mac, const std::function<void(HWND)>& script) {
    RECT rect = {};
    rect.left = LVIR_BOUNDS;
    SendMessageA(ListOf(dialog), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
    return DoubleClickAt(dialog, rect.left + 40, (rect.top + rect.bottom) / 2, "Configure: " + mac, script);
}

// Opens the row's menu, chooses the item at index choose (subChoose: in
// its submenu) and scripts a configure dialog that opens, as DoubleClickAt.
int ChooseFromMenu(HWND dialog, int row, int choose, int subChoose, const std::string& caption,
                   const std::function<void(HWND)>& script) {
    g_nested = {caption, script, 0};
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, &RunNestedScript);
    PopupMenuAnswer answer(choose, nullptr, subChoose);
    HWND list = ListOf(dialog);
    RECT rect = {};
    rect.left = LVIR_BOUNDS;
    SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
    POINT point = {rect.left + 40, (rect.top + rect.bottom) / 2};
    ClientToScreen(list, &point);
    SendMessageA(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(point.x, point.y));
    KillTimer(nullptr, timer);
    return g_nested.opened;
}

std::string AddressOf(HWND cfg, int id) {
    DWORD address = 0;
    SendDlgItemMessageA(cfg, id, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address));
    char text[16];
    std::snprintf(text, sizeof text, "%lu.%lu.%lu.%lu", address >> 24, (address >> 16) & 255, (address >> 8) & 255,
                  address & 255);
    return text;
}

void PressSet(HWND window) {
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, IDOK)));
}

void SetHostnameAndPressSet(HWND window, const char* hostname) {
    SetDlgItemTextA(window, IDC_CFG_HOSTNAME, hostname);
    PressSet(window);
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
        Configure([&](HWND cfg) { SetDlgItemTextA(cfg, IDC_CFG_HOSTNAME, hostname); }, expectSent ? nullptr : kIllegal);
    }

    // Opens the first module, lets edit fill the dialog and presses Set;
    // then the request was sent, or refused with the box text refusal.
    void Configure(const std::function<void(HWND)>& edit, const char* refusal) {
        const bool expectSent = refusal == nullptr;
        CMainDialog dialog;
        RunModal(dialog, [&](HWND window) {
            ASSERT_TRUE(WaitForRows(window, 2));
            dialog.ModuleList().SetLastConfiguredMac(kEarlierMac);
            MessageBoxWatcher boxes(AfxGetAppName());
            const int row = RowOf(window, kFirstMac);
            ASSERT_GE(row, 0);
            ASSERT_EQ(DoubleClickRow(window, row, kFirstMac,
                                     [&](HWND cfg) {
                                         edit(cfg);
                                         PressSet(cfg);
                                     }),
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
                EXPECT_EQ(boxes.LastText(), refusal);
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

// A ";" would end the password's field early and the module would read the
// rest as further fields (here a new IP address).
TEST_F(ConfigureFlowTest, SemicolonInAPasswordIsRefused) {
    ASSERT_EQ(Sim("reset --mac-base 02-00-00-00-01-01 --ip-base 198.18.1.100 --count 2 --protect-every 1 "
                  "--password right"),
              "OK");
    const auto typePassword = [](int edit, const char* text) {
        return [edit, text](HWND cfg) {
            if (edit == IDC_CFG_NEW_PASSWORD) SendDlgItemMessageA(cfg, IDC_CFG_CHANGE_PASSWORD, BM_CLICK, 0, 0);
            SetDlgItemTextA(cfg, edit, text);
        };
    };
    Configure(typePassword(IDC_CFG_PASSWORD, "right;IP = 198.18.9.9"), kIllegalPassword);
    Configure(typePassword(IDC_CFG_NEW_PASSWORD, "x;IP = 198.18.9.9"), kIllegalPassword);
    // A new password that is not to be sent is not looked at.
    Configure(
        [](HWND cfg) {
            SetDlgItemTextA(cfg, IDC_CFG_PASSWORD, "right");
            SetDlgItemTextA(cfg, IDC_CFG_NEW_PASSWORD, "x;y");
        },
        nullptr);
}

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
// another address and the list is scanned again. The modules lie in this
// computer's subnet, so a row without a conflict has the normal colour.
TEST_F(ConfigureFlowTest, AnAddressConflictClearsOnceTheModuleMoved) {
    ASSERT_EQ(Sim("reset --mac-base 02-00-00-00-01-01 --ip-base 198.18.0.100 --count 2"), "OK");
    const std::string stranger = "send-text ip = 198.18.0.100;mac = 0A-0B-0C-0D-0E-0F;";
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
                                                         static_cast<LPARAM>((198u << 24) | (18u << 16) | 200u));
                                     SetHostnameAndPressSet(cfg, "module0");
                                 }),
                  1);
        ASSERT_TRUE(PumpUntil([&] {
            const int r = RowOf(window, kFirstMac);
            return r >= 0 && Cell(window, r, 0) == "198.18.0.200";
        }));
        ASSERT_TRUE(WaitForRows(window, 2));
        ASSERT_EQ(Sim(stranger), "OK");  // still at the old address
        ASSERT_TRUE(WaitForRows(window, 3));
        for (int row = 0; row < 3; ++row) EXPECT_EQ(RowTextColor(window, row), CLR_DEFAULT) << Cell(window, row, 6);
    });
}

TEST_F(ConfigureFlowTest, ConfigureFromTheMenuOpensWhatADoubleClickOpens) {
    CMainDialog dialog;
    RunModal(dialog, [&](HWND window) {
        ASSERT_TRUE(WaitForRows(window, 2));
        const int opened = ChooseFromMenu(window, RowOf(window, kFirstMac), 0, -1, "Configure: " + std::string(kFirstMac),
                                          [](HWND cfg) {
                                              EXPECT_EQ(AddressOf(cfg, IDC_CFG_IP), "198.18.1.100");
                                              char host[64] = "";
                                              GetDlgItemTextA(cfg, IDC_CFG_HOSTNAME, host, sizeof host);
                                              EXPECT_STREQ(host, "module0");
                                              SendMessageA(cfg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                                          });
        EXPECT_EQ(opened, 1);
    });
}

RECT WindowRectOf(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

// The configure dialog, once initialised, is centred over the main window,
// as the program's main window owns it; moved near the corner of the work
// area, the main window still gets a dialog wholly on the work area.
TEST_F(ConfigureFlowTest, TheDialogOpensCentredOverTheMainWindowAndOnTheWorkArea) {
    CMainDialog dialog;
    kltest::TestApp().m_pMainWnd = &dialog;
    RunModal(dialog, [&](HWND window) {
        ASSERT_TRUE(WaitForRows(window, 2));
        SetWindowPos(window, nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        RECT cfgRect = {};
        const auto readRect = [&](HWND cfg) {
            cfgRect = WindowRectOf(cfg);
            SendMessageA(cfg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        };
        ASSERT_EQ(DoubleClickRow(window, RowOf(window, kFirstMac), kFirstMac, readRect), 1);
        const RECT main = WindowRectOf(window);
        EXPECT_NEAR((cfgRect.left + cfgRect.right) / 2, (main.left + main.right) / 2, 1);
        EXPECT_NEAR((cfgRect.top + cfgRect.bottom) / 2, (main.top + main.bottom) / 2, 1);
        EXPECT_GT(cfgRect.left, main.left) << "not at the main window's corner";

        MONITORINFO monitor = {};
        monitor.cbSize = sizeof monitor;
        ASSERT_TRUE(GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor));
        const RECT work = monitor.rcWork;
        SetWindowPos(window, nullptr, work.right - 100, work.bottom - 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ASSERT_EQ(DoubleClickRow(window, RowOf(window, kFirstMac), kFirstMac, readRect), 1);
        EXPECT_EQ(cfgRect.right, work.right);
        EXPECT_EQ(cfgRect.bottom, work.bottom);
    });
    kltest::TestApp().m_pMainWnd = nullptr;
}

// On the test segment this computer is 198.18.0.1/24 with the gateway
// 198.18.0.254, the first module namespace answers echoes at 198.18.0.11
// and a computer at 198.18.0.2 drops them. Two modules out of reach, at
// 192.168.1.11 and .12, each moved in: the first module's own host part
// answers and .2 is taken though silent, so the count gives .3; a module
// at 192.168.1.254 would land on the gateway, and gets .3 too. The second
// gets 198.18.0.12, takes it and is listed in the normal colour after the
// rescan.
TEST_F(ConfigureFlowTest, MoveIntoThisComputersNetworkProposesAFreeAddressThatTheModuleTakes) {
    ASSERT_EQ(Sim("reset --mac-base 02-00-00-00-01-01 --ip-base 192.168.1.11 --count 2 --gw 192.168.1.1"), "OK");
    // With a second adapter the move is a submenu; the first segment's
    // adapter comes first.
    const int subChoose = ReadWorkstationAdapters().value().size() > 1 ? 0 : -1;
    constexpr int kMoveItem = 2;
    const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    CMainDialog dialog;
    RunModal(dialog, [&](HWND window) {
        ASSERT_TRUE(WaitForRows(window, 2));
        EXPECT_EQ(RowTextColor(window, 0), grey);
        EXPECT_EQ(RowTextColor(window, 1), grey);
        std::vector<std::string> proposed;
        const auto readProposal = [&](HWND cfg) {
            proposed = {AddressOf(cfg, IDC_CFG_IP), AddressOf(cfg, IDC_CFG_SUBNET_MASK),
                        AddressOf(cfg, IDC_CFG_GATEWAY)};
        };
        const auto readProposalAndCancel = [&](HWND cfg) {
            readProposal(cfg);
            SendMessageA(cfg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        };
        const std::vector<std::string> third = {"198.18.0.3", "255.255.255.0", "198.18.0.254"};
        ASSERT_EQ(ChooseFromMenu(window, RowOf(window, kFirstMac), kMoveItem, subChoose,
                                 "Configure: " + std::string(kFirstMac), readProposalAndCancel),
                  1);
        EXPECT_EQ(proposed, third);
        const std::string atGateway = "0A-0B-0C-0D-0E-0F";
        ASSERT_EQ(Sim("send-text ip = 192.168.1.254;sn = 255.255.255.0;mac = " + atGateway + ";"), "OK");
        ASSERT_TRUE(WaitForRows(window, 3));
        ASSERT_EQ(ChooseFromMenu(window, RowOf(window, atGateway), kMoveItem, subChoose, "Configure: " + atGateway,
                                 readProposalAndCancel),
                  1);
        EXPECT_EQ(proposed, third);
        const std::string second = "02-00-00-00-01-02";
        ASSERT_EQ(ChooseFromMenu(window, RowOf(window, second), kMoveItem, subChoose, "Configure: " + second,
                                 [&](HWND cfg) {
                                     readProposal(cfg);
                                     PressSet(cfg);
                                 }),
                  1);
        EXPECT_EQ(proposed, (std::vector<std::string>{"198.18.0.12", "255.255.255.0", "198.18.0.254"}));
        ASSERT_TRUE(PumpUntil([&] {
            const int r = RowOf(window, second);
            return r >= 0 && Cell(window, r, 0) == "198.18.0.12";
        })) << "not listed at its new address";
        EXPECT_EQ(Configures(), 1);
        EXPECT_EQ(Cell(window, RowOf(window, second), 2), "198.18.0.254");
        EXPECT_EQ(RowTextColor(window, RowOf(window, second)), CLR_DEFAULT);
        EXPECT_EQ(RowTextColor(window, RowOf(window, kFirstMac)), grey);
    });
}

// The modules lie in this computer's subnet, so that a row in the normal
// colour is neither grey nor red: the echo of the refused request shows
// the first module's address and is no second module there.
TEST_F(ConfigureFlowTest, WrongPasswordIsReportedOnceAndItsEchoIsNoConflict) {
    ASSERT_EQ(Sim("reset --mac-base 02-00-00-00-01-01 --ip-base 198.18.0.100 --count 2 --protect-every 1 "
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
        const int echo = RowOf(window, "N/A");
        ASSERT_GE(echo, 0);
        EXPECT_EQ(Cell(window, echo, 0), "198.18.0.100");
        EXPECT_EQ(RowTextColor(window, echo), CLR_DEFAULT);
        EXPECT_EQ(RowTextColor(window, RowOf(window, kFirstMac)), CLR_DEFAULT);
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
        // A dialog that opened anyway is cancelled, so that the test fails
        // instead of waiting in it.
        const int opened = DoubleClickAt(window, 10, client.bottom - 3, "Configure: ", [](HWND cfg) {
            SendMessageA(cfg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        });
        EXPECT_EQ(opened, 0);
        EXPECT_EQ(Configures(), 0);
    });
}

}  // namespace
