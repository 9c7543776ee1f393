// Sorting the module list by heading clicks and keeping new rows in order:
// a CModuleListCtrl in a window of the test's own, notifications reflected
// back to it as in the main dialog.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "list_host.h"

namespace {

using kltest::ListHost;
using kltest::Record;
using Texts = std::vector<std::string>;

constexpr int kIp = 0;
constexpr int kDhcp = 3;
constexpr int kVersion = 4;
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

}  // namespace
