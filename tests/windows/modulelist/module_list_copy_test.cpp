// Copying the module list to the clipboard (Ctrl+C and the list's context
// menu) and the dark red text of rows that share an IP address, drawn by
// the list itself through its custom-draw notification.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "list_host.h"
#include "modal_script.h"

namespace {

using kltest::Canvas;
using kltest::ClipboardText;
using kltest::ListHost;
using kltest::PopupMenuAnswer;
using kltest::Record;

constexpr int kMac = 6;
constexpr char kHeading[] = "IP\tSN\tGW\tDHCP\tVersion\tType\tMAC\r\n";
constexpr char kMarker[] = "marker";

std::uint32_t Ip(unsigned a, unsigned b, unsigned c, unsigned d) { return (a << 24) | (b << 16) | (c << 8) | d; }

std::string Line(const std::string& ip, const std::string& macLast) {
    return ip + "\t255.255.255.0\t0.0.0.0\tOff\t1.05.0\tType A\t02-00-00-00-00-" + macLast + "\r\n";
}

class ListCopy : public ::testing::Test {
protected:
    void SetUp() override {
        host.List().AddModule(Record(0x30, Ip(10, 0, 0, 2)));
        host.List().AddModule(Record(0x10, Ip(9, 1, 1, 1)));
        host.List().AddModule(Record(0x20, Ip(192, 168, 0, 9)));
        host.SendColumnClick(kMac);  // MAC ascending, not the order of arrival
        kltest::SetClipboardMarker(kMarker);
    }

    // What a right-click at the row's height (-1: below the last row) ends in.
    void RightClick(int row) {
        RECT bounds = {LVIR_BOUNDS, 0, 0, 0};
        SendMessageA(host.List(), LVM_GETITEMRECT, row == -1 ? 2 : row, reinterpret_cast<LPARAM>(&bounds));
        POINT point = {bounds.left + 150, (bounds.top + bounds.bottom) / 2 + (row == -1 ? 40 : 0)};
        ClientToScreen(host.List(), &point);
        SendMessageA(host.List(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(host.List().GetSafeHwnd()),
                     MAKELPARAM(point.x, point.y));
    }

    void PressKey(UINT key, bool control) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        BYTE held[256];
        std::memcpy(held, keys, sizeof held);
        held[VK_CONTROL] = control ? 0x80 : 0;
        SetKeyboardState(held);
        SendMessageA(host.List(), WM_KEYDOWN, key, 1);
        SetKeyboardState(keys);
    }

    const std::string all = kHeading + Line("9.1.1.1", "10") + Line("192.168.0.9", "20") + Line("10.0.0.2", "30");
    ListHost host;
};

TEST_F(ListCopy, ControlCCopiesEveryRowInTheListsOrderUnderTheHeadings) {
    PressKey('C', false);
    EXPECT_EQ(ClipboardText(), kMarker);
    PressKey('C', true);
    EXPECT_EQ(ClipboardText(), all);
}

TEST_F(ListCopy, MenuOnARowCopiesThatRowOrAll) {
    {
        PopupMenuAnswer copyRow(0);
        RightClick(1);
        EXPECT_EQ(copyRow.Items(), (std::vector<std::string>{"Copy row", "Copy all"}));
        EXPECT_EQ(ClipboardText(), Line("192.168.0.9", "20"));
    }
    PopupMenuAnswer copyAll(1);
    RightClick(2);
    EXPECT_EQ(ClipboardText(), all);
}

// Answers that arrive while the menu is open move the rows; a rescan
// empties the list.
TEST_F(ListCopy, CopyRowCopiesTheModuleUnderTheCursorWhereverItMovedAndNothingOnceGone) {
    {
        PopupMenuAnswer copyRow(0, [&] { host.List().AddModule(Record(0x05, Ip(1, 1, 1, 1))); });
        RightClick(1);
        EXPECT_EQ(ClipboardText(), Line("192.168.0.9", "20"));
    }
    kltest::SetClipboardMarker(kMarker);
    PopupMenuAnswer copyRow(0, [&] { host.List().RemoveAllModules(); });
    RightClick(1);
    EXPECT_EQ(ClipboardText(), kMarker);
}

TEST_F(ListCopy, BelowTheLastRowOnlyCopyAllIsOffered) {
    PopupMenuAnswer first(0);
    RightClick(-1);
    EXPECT_EQ(first.Items(), std::vector<std::string>{"Copy all"});
    EXPECT_EQ(ClipboardText(), all);
}

TEST_F(ListCopy, MenuKeyCopiesTheSelectedRowAndEscapeCopiesNothing) {
    LVITEMA select = {};
    select.stateMask = select.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(host.List(), LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&select));
    {
        PopupMenuAnswer escape(-1);
        SendMessageA(host.List(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(host.List().GetSafeHwnd()), -1);
        EXPECT_TRUE(escape.Seen());
        EXPECT_EQ(ClipboardText(), kMarker);
    }
    PopupMenuAnswer copyRow(0);
    SendMessageA(host.List(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(host.List().GetSafeHwnd()), -1);
    EXPECT_EQ(ClipboardText(), Line("10.0.0.2", "30"));
}

// The list painted into a memory canvas; per row and column, whether any
// pixel of the cell has the conflict colour.
std::vector<std::vector<bool>> ConflictInk(ListHost& host, const char* reviewName) {
    RECT client = {};
    GetClientRect(host.List(), &client);
    Canvas canvas(client.right, client.bottom);
    canvas.Fill(RGB(255, 255, 255));
    SendMessageA(host.List(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT | PRF_ERASEBKGND);
    std::vector<std::vector<bool>> ink;
    for (int row = 0; row < host.List().GetItemCount(); ++row) {
        ink.emplace_back();
        for (int column = 0; column <= kMac; ++column) {
            RECT cell = {LVIR_LABEL, column, 0, 0};
            SendMessageA(host.List(), LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&cell));
            bool found = false;
            for (int y = cell.top; y < cell.bottom && !found; ++y) {
                for (int x = cell.left; x < cell.right && !found; ++x) {
                    found = canvas.Pixel(x, y) == CModuleListCtrl::kConflictTextColor;
                }
            }
            ink.back().push_back(found);
        }
    }
    CreateDirectoryA(KL_REVIEW_DIR, nullptr);
    canvas.SaveBmp(std::string(KL_REVIEW_DIR) + "/" + reviewName, 2);
    return ink;
}

VORN_ModuleScanResponseType WithoutIp(std::uint8_t macLast) {
    VORN_ModuleScanResponseType record = Record(macLast, 0);
    record.ipValid = 0;
    return record;
}

TEST(ListConflicts, RowsSharingAnAddressAreDarkRedInEveryColumnUntilOneMoves) {
    ListHost host;
    const std::vector<bool> red(7, true);
    const std::vector<bool> plain(7, false);
    host.List().AddModule(Record(1, Ip(198, 18, 1, 100)));
    host.List().AddModule(Record(2, Ip(198, 18, 1, 101)));
    host.List().AddModule(Record(3, Ip(198, 18, 1, 100)));
    host.List().AddModule(WithoutIp(4));  // two rows without an address do not conflict
    host.List().AddModule(WithoutIp(5));
    ASSERT_EQ(host.Column(0), (std::vector<std::string>{"198.18.1.100", "198.18.1.100", "198.18.1.101", "N/A", "N/A"}));
    EXPECT_EQ(ConflictInk(host, "conflict_rows.bmp"),
              (std::vector<std::vector<bool>>{red, red, plain, plain, plain}));
    // The rescan after module 3 took another address.
    host.List().RemoveAllModules();
    host.List().AddModule(Record(1, Ip(198, 18, 1, 100)));
    host.List().AddModule(Record(2, Ip(198, 18, 1, 101)));
    host.List().AddModule(Record(3, Ip(198, 18, 1, 102)));
    EXPECT_EQ(ConflictInk(host, "conflict_cleared.bmp"), (std::vector<std::vector<bool>>{plain, plain, plain}));
}

}  // namespace
