// Sorting the module list by heading clicks and keeping new rows in order:
// a CModuleListCtrl in a window of the test's own, notifications reflected
// back to it as in the main dialog.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "list_host.h"
#include "module_row_texts.h"
#include "row_compare.h"

namespace {

using kltest::ListHost;
using kltest::Record;
using Texts = std::vector<std::string>;

constexpr int kIp = 0;
constexpr int kDhcp = 3;
constexpr int kVersion = 4;
constexpr int kType = 5;
constexpr int kMac = 6;

std::uint32_t Ip(unsigned a, unsigned b, unsigned c, unsigned d) { return (a << 24) | (b << 16) | (c << 8) | d; }

// Four modules whose IP and MAC orders differ, added out of either order.
void AddFour(ListHost& host) {
    host.List().AddModule(Record(0x30, Ip(10, 0, 0, 2)));
    host.List().AddModule(Record(0x10, Ip(9, 1, 1, 1)));
    host.List().AddModule(Record(0x40, Ip(192, 168, 0, 10)));
    host.List().AddModule(Record(0x20, Ip(192, 168, 0, 9)));
}

const Texts kIpAscending = {"9.1.1.1", "10.0.0.2", "192.168.0.9", "192.168.0.10"};
const Texts kIpDescending = {"192.168.0.10", "192.168.0.9", "10.0.0.2", "9.1.1.1"};
const Texts kMacAscending = {"02-00-00-00-00-10", "02-00-00-00-00-20", "02-00-00-00-00-30", "02-00-00-00-00-40"};
const Texts kMacDescending = {"02-00-00-00-00-40", "02-00-00-00-00-30", "02-00-00-00-00-20", "02-00-00-00-00-10"};

bool IsOwnerDrawn(const ListHost& host, int column) {
    HDITEMA item = {};
    item.mask = HDI_FORMAT;
    SendMessageA(host.Header(), HDM_GETITEMA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
    return (item.fmt & HDF_OWNERDRAW) != 0;
}

TEST(ModuleListSort, NewRowsArriveSortedByIpWithTheArrowOnIp) {
    ListHost host;
    EXPECT_FALSE(IsOwnerDrawn(host, kIp));
    AddFour(host);
    EXPECT_EQ(host.Column(kIp), kIpAscending);
    EXPECT_TRUE(IsOwnerDrawn(host, kIp));
    EXPECT_FALSE(IsOwnerDrawn(host, kMac));
}

TEST(ModuleListSort, FirstClickOnIpSortsDescendingAndASecondRestores) {
    ListHost host;
    AddFour(host);
    host.SendColumnClick(kIp);
    EXPECT_EQ(host.Column(kIp), kIpDescending);
    host.SendColumnClick(kIp);
    EXPECT_EQ(host.Column(kIp), kIpAscending);
}

TEST(ModuleListSort, OtherHeadingsStartAscendingWhateverCameBefore) {
    ListHost host;
    AddFour(host);
    host.SendColumnClick(kIp);  // IP descending
    host.SendColumnClick(kMac);
    EXPECT_EQ(host.Column(kMac), kMacAscending);
    host.SendColumnClick(kMac);
    EXPECT_EQ(host.Column(kMac), kMacDescending);
    host.SendColumnClick(kIp);  // back on IP: ascending again
    EXPECT_EQ(host.Column(kIp), kIpAscending);
}

TEST(ModuleListSort, RealClicksOnTheHeadingSortToo) {
    ListHost host;
    AddFour(host);
    host.ClickHeading(kMac);
    EXPECT_EQ(host.Column(kMac), kMacAscending);
    host.ClickHeading(kMac);
    EXPECT_EQ(host.Column(kMac), kMacDescending);
    host.ClickHeading(kIp);
    EXPECT_EQ(host.Column(kIp), kIpAscending);
}

TEST(ModuleListSort, NewRowLandsInPlaceWhileSortedDescendingByMac) {
    ListHost host;
    AddFour(host);
    host.SendColumnClick(kMac);
    host.SendColumnClick(kMac);
    host.List().AddModule(Record(0x25, Ip(1, 1, 1, 1)));
    EXPECT_EQ(host.Column(kMac), (Texts{"02-00-00-00-00-40", "02-00-00-00-00-30", "02-00-00-00-00-25",
                                        "02-00-00-00-00-20", "02-00-00-00-00-10"}));
    EXPECT_TRUE(IsOwnerDrawn(host, kMac));
    EXPECT_TRUE(IsOwnerDrawn(host, kIp));  // once sorted, always owner-drawn
}

TEST(ModuleListSort, RowsKeepTheirTextsAcrossColumns) {
    ListHost host;
    AddFour(host);
    host.SendColumnClick(kMac);
    for (int row = 0; row < 4; ++row) {
        const std::string mac = host.Cell(row, kMac);
        const std::string ip = host.Cell(row, kIp);
        const bool matches = (mac == "02-00-00-00-00-10" && ip == "9.1.1.1") ||
                             (mac == "02-00-00-00-00-20" && ip == "192.168.0.9") ||
                             (mac == "02-00-00-00-00-30" && ip == "10.0.0.2") ||
                             (mac == "02-00-00-00-00-40" && ip == "192.168.0.10");
        EXPECT_TRUE(matches) << mac << " " << ip;
    }
}

TEST(ModuleListSort, DhcpSortsAsTextAndMissingAddressesGoLast) {
    ListHost host;
    VORN_ModuleScanResponseType on = Record(1, Ip(10, 0, 0, 1));
    on.dhcp = 1;
    VORN_ModuleScanResponseType missing = Record(2, 0);
    missing.dhcpValid = 0;
    missing.ipValid = 0;
    host.List().AddModule(missing);
    host.List().AddModule(on);
    host.List().AddModule(Record(3, Ip(9, 0, 0, 1)));
    EXPECT_EQ(host.Column(kIp), (Texts{"9.0.0.1", "10.0.0.1", "N/A"}));
    host.SendColumnClick(kIp);
    EXPECT_EQ(host.Column(kIp), (Texts{"N/A", "10.0.0.1", "9.0.0.1"}));
    host.SendColumnClick(kDhcp);
    EXPECT_EQ(host.Column(kDhcp), (Texts{"N/A", "Off", "On"}));
}

TEST(ModuleListSort, VersionsSortAsText) {
    ListHost host;
    VORN_ModuleScanResponseType nine = Record(1, 1);
    nine.moduleVersionBuild = 9;
    VORN_ModuleScanResponseType ten = Record(2, 2);
    ten.moduleVersionBuild = 10;
    host.List().AddModule(nine);
    host.List().AddModule(ten);
    host.SendColumnClick(kVersion);
    EXPECT_EQ(host.Column(kVersion), (Texts{"1.05.10", "1.05.9"}));
}

TEST(ModuleListSort, EmptyingTheListKeepsTheOrder) {
    ListHost host;
    AddFour(host);
    host.SendColumnClick(kMac);
    host.SendColumnClick(kMac);
    host.List().RemoveAllModules();
    AddFour(host);
    EXPECT_EQ(host.Column(kMac), kMacDescending);
}

TEST(ModuleListSort, NewRowEqualToListedOnesLandsAfterThem) {
    ListHost host;
    host.SendColumnClick(kType);
    VORN_ModuleScanResponseType typeB = Record(0x40, 1);
    std::snprintf(typeB.fbType, sizeof typeB.fbType, "%s", "Type B");
    host.List().AddModule(Record(0x30, 2));
    host.List().AddModule(typeB);
    host.List().AddModule(Record(0x10, 3));
    host.List().AddModule(Record(0x20, 4));
    EXPECT_EQ(host.Column(kMac), (Texts{"02-00-00-00-00-30", "02-00-00-00-00-10", "02-00-00-00-00-20",
                                        "02-00-00-00-00-40"}));
    host.SendColumnClick(kType);  // descending: the equal rows keep their order
    host.List().AddModule(Record(0x05, 5));
    EXPECT_EQ(host.Column(kMac), (Texts{"02-00-00-00-00-40", "02-00-00-00-00-30", "02-00-00-00-00-10",
                                        "02-00-00-00-00-20", "02-00-00-00-00-05"}));
}

// A message loop takes posted messages before it paints.
void DispatchPostedMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE)) DispatchMessageA(&message);
}

bool HasInk(HWND list, int row) {
    RECT label = {};
    label.left = LVIR_LABEL;
    SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&label));
    HDC dc = GetDC(list);
    bool ink = false;
    for (int y = label.top; y < label.bottom && !ink; ++y) {
        for (int x = label.left; x < label.right && !ink; ++x) ink = GetPixel(dc, x, y) != GetSysColor(COLOR_WINDOW);
    }
    ReleaseDC(list, dc);
    return ink;
}

// A list whose control turns rows away while refusing is set, as a list
// view does when it cannot allocate one.
class CRefusingList : public CModuleListCtrl {
public:
    bool refusing = false;

protected:
    LRESULT OnInsertItem(WPARAM, LPARAM) { return refusing ? -1 : Default(); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRefusingList, CModuleListCtrl)
ON_MESSAGE(LVM_INSERTITEMA, OnInsertItem)
END_MESSAGE_MAP()

TEST(ModuleListSort, ARefusedRowLeavesNoRecordAndTheModulesNextAnswerIsListed) {
    CRefusingList* list = new CRefusingList;
    ListHost host{std::unique_ptr<CModuleListCtrl>(list)};
    host.List().AddModule(Record(0x10, Ip(9, 1, 1, 1)));
    list->refusing = true;
    host.List().AddModule(Record(0x20, Ip(10, 0, 0, 2)));
    EXPECT_EQ(host.List().Modules().size(), 1u);
    list->refusing = false;
    host.List().AddModule(Record(0x20, Ip(10, 0, 0, 2)));
    EXPECT_EQ(host.Column(kMac), (Texts{"02-00-00-00-00-10", "02-00-00-00-00-20"}));
    EXPECT_EQ(host.List().Modules().size(), 2u);
}

TEST(ModuleListSort, RowsOfABurstAreDrawnOnceTheQueueIsHandled) {
    ListHost host;
    ShowWindow(host.Window(), SW_SHOWNOACTIVATE);
    UpdateWindow(host.Window());
    AddFour(host);
    DispatchPostedMessages();
    UpdateWindow(host.Window());
    for (int row = 0; row < 4; ++row) EXPECT_TRUE(HasInk(host.List().GetSafeHwnd(), row)) << "row " << row;
}

// Every row added in any sort state must sit where a stable full sort of
// the rows as they were, with the new one appended, puts it. Few distinct
// texts make many ties; the types include address-shaped texts with parts
// above 255, whose comparison favours whichever text comes first.
using RowTexts = std::array<std::string, kModuleColumnCount>;

int PlatformCompare(const char* first, const char* second) { return lstrcmpA(first, second); }

RowTexts TextsOf(const VORN_ModuleScanResponseType& record) {
    const std::array<CString, kModuleColumnCount> texts = ModuleRowTexts(record);
    RowTexts row;
    for (int column = 0; column < kModuleColumnCount; ++column) row[column] = texts[column].GetString();
    return row;
}

// A later row moves before an earlier one only when the earlier one sorts
// after it, as in the list view's own sort.
void SortStably(std::vector<RowTexts>& rows, int column, bool ascending) {
    std::stable_sort(rows.begin(), rows.end(), [column, ascending](const RowTexts& a, const RowTexts& b) {
        return CompareRowTexts(b[column].c_str(), a[column].c_str(), ascending, &PlatformCompare) > 0;
    });
}

Texts MacsOf(const std::vector<RowTexts>& rows) {
    Texts macs;
    for (const RowTexts& row : rows) macs.push_back(row[kMac]);
    return macs;
}

std::vector<RowTexts> ListedRows(ListHost& host) {
    std::vector<RowTexts> rows;
    for (int row = 0; row < host.List().GetItemCount(); ++row) {
        RowTexts texts;
        for (int column = 0; column < kModuleColumnCount; ++column) texts[column] = host.Cell(row, column);
        rows.push_back(texts);
    }
    return rows;
}

class RandomModules {
public:
    // A record with texts from small pools; now and then the MAC of a row
    // already listed, which must be dropped.
    VORN_ModuleScanResponseType Next(const std::vector<int>& listed) {
        const bool again = !listed.empty() && Pick(10) == 0;
        const int serial = again ? listed[Pick(static_cast<int>(listed.size()))] : ++lastSerial_;
        VORN_ModuleScanResponseType record = Record(static_cast<std::uint8_t>(serial & 0xFF), kIps[Pick(6)]);
        record.macId[4] = static_cast<std::uint8_t>(serial >> 8);
        record.ipValid = Pick(8) != 0;
        record.sn = kIps[Pick(6)];
        record.snValid = Pick(8) != 0;
        record.gw = kIps[Pick(3)];
        record.dhcp = static_cast<std::uint8_t>(Pick(3));
        record.dhcpValid = Pick(6) != 0;
        record.moduleVersionMajor = static_cast<std::uint8_t>(1 + Pick(2));
        record.moduleVersionMinor = static_cast<std::uint8_t>(Pick(2) ? 5 : 10);
        record.moduleVersionBuild = static_cast<std::uint16_t>(Pick(2) ? 9 : 10);
        record.moduleVersionValid = Pick(6) != 0;
        std::snprintf(record.fbType, sizeof record.fbType, "%s", kTypes[Pick(kTypeCount)]);
        record.fbTypeValid = Pick(10) != 0;
        return record;
    }
    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }
    static int SerialOf(const VORN_ModuleScanResponseType& record) { return record.macId[4] << 8 | record.macId[5]; }

private:
    static constexpr std::uint32_t kIps[6] = {0x0A000001u, 0x0A000002u, 0x09010101u, 0xC0A80009u, 0xC0A8000Au, 0u};
    static constexpr int kTypeCount = 20;
    static constexpr const char* kTypes[kTypeCount] = {
        "Type A",  "type a",   "Type B", "Type-B", "TypeB",     "co-op",     "coop",      "",          "N/A",
        "Z",       "a b",      "1.2.3",  "...",    "7.7.7.7",   "10.0.0.1",  "300.1.1.1", "400.2.2.2", "1.300.0.0",
        "1.999.5.5", "9.9.9.9999"};
    std::mt19937 random_{20261208u};
    int lastSerial_ = 0;
};

TEST(ModuleListSort, EveryNewRowLandsWhereAStableFullSortPutsIt) {
    ListHost host;
    RandomModules modules;
    std::vector<RowTexts> expected;
    std::vector<int> listed;
    int column = kIp;
    bool ascending = true;
    for (int step = 0; step < 300; ++step) {
        if (modules.Pick(8) == 0) {
            const int clicked = modules.Pick(kModuleColumnCount);
            ascending = clicked == column ? !ascending : true;
            column = clicked;
            host.SendColumnClick(column);
            SortStably(expected, column, ascending);
            ASSERT_EQ(host.Column(kMac), MacsOf(expected)) << "full sort at step " << step;
        }
        if (modules.Pick(60) == 0) {
            host.List().RemoveAllModules();
            expected.clear();
            listed.clear();
        }
        const VORN_ModuleScanResponseType record = modules.Next(listed);
        host.List().AddModule(record);
        const int serial = RandomModules::SerialOf(record);
        if (std::find(listed.begin(), listed.end(), serial) == listed.end()) {
            listed.push_back(serial);
            expected.push_back(TextsOf(record));
            SortStably(expected, column, ascending);
        }
        ASSERT_EQ(host.Column(kMac), MacsOf(expected)) << "step " << step << ", column " << column
                                                       << (ascending ? " ascending" : " descending");
    }
    EXPECT_EQ(ListedRows(host), expected);
}

}  // namespace
