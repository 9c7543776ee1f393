// The main dialog in this process, with the real library and the module
// simulator of the test segment: start-up, list, scan cycle and frame.
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "gdi.h"
#include "main_dialog.h"
#include "list_probe.h"
#include "modal_script.h"
#include "resource.h"
#include "sim_control.h"
#include "vorn.h"
#include "win_app.h"

namespace {

using kltest::Cell;
using kltest::ListOf;
using kltest::MessageBoxWatcher;
using kltest::PumpFor;
using kltest::PumpUntil;
using kltest::RowCount;
using kltest::RunModal;
using kltest::Sim;
using kltest::WaitForRows;

CWinApp g_testApp;

std::string Reset(const std::string& options) {
    return Sim("reset --mac-base 02-00-00-00-01-01 --ip-base 198.18.1.100 " + options);
}

// Rows keyed by their MAC text.
std::map<std::string, std::vector<std::string>> Rows(HWND dialog) {
    std::map<std::string, std::vector<std::string>> rows;
    for (int row = 0; row < RowCount(dialog); ++row) {
        std::vector<std::string> cells;
        for (int column = 0; column < 7; ++column) cells.push_back(Cell(dialog, row, column));
        rows[cells[6]] = cells;
    }
    return rows;
}

void ClickScan(HWND dialog) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1000, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, 1000)));
}

void DropInvalidPasswordQueue() {
    BYTE mac[VORN_MAC_SIZE];
    while (VORN_GetInvPswdMacId(mac)) VORN_RemoveFirstInvPswdMacId();
}

// Closes "Assign addresses" from inside its own modal loop.
void CALLBACK CloseAssignDialog(HWND, UINT, UINT_PTR, DWORD) {
    HWND assign = FindWindowA("#32770", "Assign addresses");
    if (assign) PostMessageA(assign, WM_COMMAND, IDCANCEL, 0);
}

class MainDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(Reset("--count 3"), "OK");
        DropInvalidPasswordQueue();
    }
    void TearDown() override { DropInvalidPasswordQueue(); }
};

TEST_F(MainDialogTest, StartUpSetsUpColumnsAndListsTheSegment) {
    ASSERT_EQ(Reset("--count 3 --type IO-GATEWAY --version 1.05.3 --dhcp on --sn 255.255.0.0 --gw 198.18.0.254"), "OK");
    CMainDialog dialog;
    RunModal(dialog, [&](HWND window) {
        EXPECT_EQ(g_mainDialog.load(), &dialog);
        HWND list = ListOf(window);
        EXPECT_EQ(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), LVS_EX_FULLROWSELECT);
        const std::vector<std::pair<std::string, int>> expected = {
            {"IP", 90}, {"SN", 90}, {"GW", 90}, {"DHCP", 50}, {"Version", 50}, {"Type", 114}, {"MAC", 115}};
        HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
        ASSERT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 7);
        for (int column = 0; column < 7; ++column) {
            char heading[32] = "";
            LVCOLUMNA info = {};
            info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
            info.pszText = heading;
            info.cchTextMax = sizeof heading;
            ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info)));
            EXPECT_EQ(heading, expected[column].first);
            EXPECT_EQ(info.cx, ScaleToSystemDpi(expected[column].second)) << "96-DPI width " << expected[column].second;
            EXPECT_EQ(info.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
        }
        ASSERT_TRUE(WaitForRows(window, 3));
        const auto rows = Rows(window);
        const std::vector<std::string> first = {"198.18.1.100", "255.255.0.0", "198.18.0.254", "On",
                                                "1.05.3",       "IO-GATEWAY",  "02-00-00-00-01-01"};
        ASSERT_EQ(rows.count("02-00-00-00-01-01"), 1u);
        EXPECT_EQ(rows.at("02-00-00-00-01-01"), first);
        EXPECT_EQ(rows.count("02-00-00-00-01-03"), 1u);
        EXPECT_EQ(dialog.ModuleList().Modules().size(), 3u);
    });
    EXPECT_EQ(g_mainDialog.load(), nullptr);
}

TEST_F(MainDialogTest, PartialAndDuplicateAnswers) {
    CMainDialog dialog;
    RunModal(dialog, [&](HWND window) {
        ASSERT_TRUE(WaitForRows(window, 3));
        ASSERT_EQ(Sim("send-batch send-text ip = 10.1.2.3;mac = 0A-0B-0C-0D-0E-0F;|"
                      "send-text ip = 10.9.9.9;mac = 0a-0b-0c-0d-0e-0f;dhcp = off;|send-text fb type = nomac;"),
                  "OK");
        ASSERT_TRUE(WaitForRows(window, 5));
        const auto rows = Rows(window);
        const std::vector<std::string> partial = {"10.1.2.3", "N/A", "N/A", "N/A", "N/A", "N/A", "0A-0B-0C-0D-0E-0F"};
        EXPECT_EQ(rows.at("0A-0B-0C-0D-0E-0F"), partial);
        EXPECT_EQ(rows.at("N/A")[5], "nomac");
        // The store keeps the first answer of a MAC, and one record per row.
        ASSERT_EQ(dialog.ModuleList().Modules().size(), 5u);
        EXPECT_EQ(dialog.ModuleList().Modules()[3].ip, (10u << 24) | (1u << 16) | (2u << 8) | 3u);
    });
}

TEST_F(MainDialogTest, ScanEmptiesTheListAndScansAgain) {
    CMainDialog dialog;
    RunModal(dialog, [&](HWND window) {
        ASSERT_TRUE(WaitForRows(window, 3));
        ASSERT_EQ(Sim("send-text hn = stray;mac = 0A-00-00-00-00-01;"), "OK");
        ASSERT_TRUE(WaitForRows(window, 4));
        ASSERT_EQ(Reset("--count 2"), "OK");
        ClickScan(window);
        ClickScan(window);
        ASSERT_TRUE(WaitForRows(window, 2));
        EXPECT_EQ(Rows(window).count("0A-00-00-00-00-01"), 0u);
        EXPECT_EQ(dialog.ModuleList().Modules().size(), 2u);
    });
}

TEST_F(MainDialogTest, ReconfiguredEmptiesAndRescansKeepingAForeignRefusal) {
    CMainDialog dialog;
    RunModal(dialog, [&](HWND window) {
        ASSERT_TRUE(WaitForRows(window, 3));
        ASSERT_EQ(Sim("send-batch send-text hn = stray;mac = 0A-00-00-00-00-01;|"
                      "send-text Invalid Password: 0A-00-00-00-00-99"),
                  "OK");
        ASSERT_TRUE(WaitForRows(window, 4));
        ASSERT_EQ(Sim("send-text Reconfigured: 02-00-00-00-01-01"), "OK");
        ASSERT_TRUE(PumpUntil([&] { return RowCount(window) == 3 && Rows(window).count("0A-00-00-00-00-01") == 0; }));
        BYTE head[VORN_MAC_SIZE];
        ASSERT_EQ(VORN_GetInvPswdMacId(head), 1);
        EXPECT_EQ(head[5], 0x99);
    });
}

TEST_F(MainDialogTest, ReconfiguredDropsTheRefusalOfTheConfiguredModule) {
    CMainDialog dialog;
    RunModal(dialog, [&](HWND window) {
        ASSERT_TRUE(WaitForRows(window, 3));
        MessageBoxWatcher boxes("Warning");
        // A refusal queued while another module was the configured one...
        ASSERT_EQ(Sim("send-text Invalid Password: 02-00-00-00-01-02"), "OK");
        PumpFor(300);
        BYTE head[VORN_MAC_SIZE];
        ASSERT_EQ(VORN_GetInvPswdMacId(head), 1);
        // ...is dropped without a word once that module, now the configured
        // one, reports that it took its settings.
        dialog.ModuleList().SetLastConfiguredMac(head);
        ASSERT_EQ(Sim("send-text Reconfigured: 02-00-00-00-01-02"), "OK");
        ASSERT_TRUE(PumpUntil([&] { return VORN_GetInvPswdMacId(head) == 0; }));
        ASSERT_TRUE(WaitForRows(window, 3));
        EXPECT_EQ(boxes.Count(), 0);
    });
}

TEST_F(MainDialogTest, InvalidPasswordOfTheConfiguredModuleIsShownOnce) {
    CMainDialog dialog;
    RunModal(dialog, [&](HWND window) {
        ASSERT_TRUE(WaitForRows(window, 3));
        const BYTE configured[VORN_MAC_SIZE] = {0x02, 0, 0, 0, 0x01, 0x03};
        dialog.ModuleList().SetLastConfiguredMac(configured);
        MessageBoxWatcher boxes("Warning");
        ASSERT_EQ(Sim("send-text Invalid Password: 02-00-00-00-01-03"), "OK");
        ASSERT_TRUE(PumpUntil([&] { return boxes.Count() == 1; }));
        PumpFor(200);
        EXPECT_EQ(boxes.Count(), 1);
        EXPECT_EQ(boxes.LastText(), "Invalid password");
        BYTE head[VORN_MAC_SIZE];
        EXPECT_EQ(VORN_GetInvPswdMacId(head), 0);
        EXPECT_EQ(RowCount(window), 3);  // no rescan
    });
}

TEST_F(MainDialogTest, InvalidPasswordOfAnotherModuleStaysQueuedSilently) {
    CMainDialog dialog;
    RunModal(dialog, [&](HWND window) {
        ASSERT_TRUE(WaitForRows(window, 3));
        const BYTE configured[VORN_MAC_SIZE] = {0x02, 0, 0, 0, 0x01, 0x03};
        dialog.ModuleList().SetLastConfiguredMac(configured);
        MessageBoxWatcher boxes("Warning");
        ASSERT_EQ(Sim("send-batch send-text Invalid Password: 02-00-00-00-01-02|"
                      "send-text Invalid Password: 02-00-00-00-01-03"),
                  "OK");
        PumpFor(500);
        // The head belongs to another module, so the configured one stays silent too.
        EXPECT_EQ(boxes.Count(), 0);
        BYTE head[VORN_MAC_SIZE];
        ASSERT_EQ(VORN_GetInvPswdMacId(head), 1);
        EXPECT_EQ(head[5], 0x02);
    });
}

// A refusal of a batch's module that reaches no run (it came late) leaves
// the queue, so that the configured module's refusal is still shown.
TEST_F(MainDialogTest, ALateRefusalOfABatchModuleHidesNoLaterBox) {
    CMainDialog dialog;
    RunModal(dialog, [&](HWND window) {
        ASSERT_TRUE(WaitForRows(window, 3));
        const UINT_PTR closer = SetTimer(nullptr, 0, 50, &CloseAssignDialog);
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(ID_LIST_ASSIGN_ADDRESSES, 0), 0);
        KillTimer(nullptr, closer);
        const BYTE configured[VORN_MAC_SIZE] = {0x02, 0, 0, 0, 0x01, 0x03};
        dialog.ModuleList().SetLastConfiguredMac(configured);
        MessageBoxWatcher boxes("Warning");
        ASSERT_EQ(Sim("send-batch send-text Invalid Password: 02-00-00-00-01-02|"
                      "send-text Invalid Password: 02-00-00-00-01-03"),
                  "OK");
        ASSERT_TRUE(PumpUntil([&] { return boxes.Count() == 1; }));
        EXPECT_EQ(boxes.LastText(), "Invalid password");
    });
}

TEST_F(MainDialogTest, LibraryEventResultsAndUnknownCodes) {
    CMainDialog dialog;
    RunModal(dialog, [&](HWND window) {
        ASSERT_TRUE(WaitForRows(window, 3));
        // Results come back through the dialog's message result.
        EXPECT_EQ(SendMessageA(window, WM_LIBRARY_EVENT, 0, 1), 0);  // nothing queued
        EXPECT_EQ(SendMessageA(window, WM_LIBRARY_EVENT, 0, 0), 1);
        EXPECT_EQ(SendMessageA(window, WM_LIBRARY_EVENT, 0, 4), 1);
        EXPECT_EQ(RowCount(window), 3);
    });
}

TEST_F(MainDialogTest, EscapeIsIgnoredAndCloseEndsWithOk) {
    CMainDialog dialog;
    const INT_PTR result = RunModal(dialog, [&](HWND window) {
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        PumpFor(100);
        ASSERT_TRUE(IsWindow(window));
        SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_EQ(result, IDOK);
}

TEST_F(MainDialogTest, NotificationsAfterTheWindowIsGoneArePostedNowhere) {
    {
        CMainDialog dialog;
        RunModal(dialog, [&](HWND window) { SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); });
    }
    EXPECT_EQ(g_mainDialog.load(), nullptr);
    LibraryCallback(VORN_NOTIFY_RESPONSE);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_LIBRARY_EVENT, WM_LIBRARY_EVENT, PM_REMOVE));
}

}  // namespace
