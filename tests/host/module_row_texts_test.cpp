#include "ip_text_counts.h"
#include "module_row_texts.h"
#include "test_records.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::array<std::string, kModuleColumnCount> Texts(const VORN_ModuleScanResponseType& r) {
    std::array<std::string, kModuleColumnCount> texts;
    const auto row = ModuleRowTexts(r);
    for (int i = 0; i < kModuleColumnCount; ++i) texts[i] = row[i].GetString();
    return texts;
}

TEST(ModuleRowTexts, CompleteRecord) {
    VORN_ModuleScanResponseType r = MissingEverything();
    r.ip = (192u << 24) | (168u << 16) | 1u;
    r.sn = 0xFFFFFF00u;
    r.gw = 0;
    r.dhcp = 1;
    r.moduleVersionMajor = 1;
    r.moduleVersionMinor = 5;
    r.moduleVersionBuild = 3;
    std::strcpy(r.fbType, "IO-GATEWAY");
    const std::uint8_t mac[] = {0x02, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    std::memcpy(r.macId, mac, 6);
    r.ipValid = r.snValid = r.gwValid = r.dhcpValid = r.moduleVersionValid = r.fbTypeValid = r.macIdValid = 1;
    const std::array<std::string, kModuleColumnCount> expected = {
        "192.168.0.1", "255.255.255.0", "0.0.0.0", "On", "1.05.3", "IO-GATEWAY", "02-1A-2B-3C-4D-5E"};
    EXPECT_EQ(Texts(r), expected);

    r.moduleVersionMajor = 2;
    r.moduleVersionMinor = 10;
    r.moduleVersionBuild = 300;
    r.dhcp = 0xFF;
    EXPECT_EQ(Texts(r)[4], "2.10.300");
    EXPECT_EQ(Texts(r)[3], "Off");
}

TEST(ModuleRowTexts, MissingFieldsShowNotAvailable) {
    VORN_ModuleScanResponseType r = MissingEverything();
    for (const std::string& text : Texts(r)) EXPECT_EQ(text, "N/A");
    // A type name that fills its field without NUL is shown to the field's end.
    std::memset(r.fbType, 'T', sizeof r.fbType);
    r.fbTypeValid = 1;
    EXPECT_EQ(Texts(r)[5], std::string(VORN_TEXT_SIZE, 'T'));
}

std::vector<std::pair<std::string, int>> Columns(const char* layout) {
    std::vector<std::pair<std::string, int>> result;
    for (const ColumnLayout& c : ParseColumnLayout(layout)) result.emplace_back(c.heading.GetString(), c.width);
    return result;
}

TEST(ColumnLayout, ProgramLayoutGivesSevenColumns) {
    const std::vector<std::pair<std::string, int>> expected = {{"IP", 90},      {"SN", 90},    {"GW", 90}, {"DHCP", 50},
                                                               {"Version", 50}, {"Type", 114}, {"MAC", 115}};
    EXPECT_EQ(Columns("IP,90;SN,90;GW,90;DHCP,50;Version,50;Type,114;MAC,115"), expected);
}

TEST(ColumnLayout, EdgeCases) {
    EXPECT_TRUE(Columns("").empty());
    EXPECT_TRUE(Columns("no comma at all").empty());
    EXPECT_TRUE(Columns(nullptr).empty());
    // A last entry without a comma is ignored.
    EXPECT_EQ(Columns("A,10;B"), (std::vector<std::pair<std::string, int>>{{"A", 10}}));
    // An entry without a comma merges with the next one.
    EXPECT_EQ(Columns("A;B,10"), (std::vector<std::pair<std::string, int>>{{"A;B", 10}}));
    // Widths read as atoi reads them.
    EXPECT_EQ(Columns("A,x;B,;C, 7px;D,-1"),
              (std::vector<std::pair<std::string, int>>{{"A", 0}, {"B", 0}, {"C", 7}, {"D", -1}}));
    EXPECT_EQ(Columns("A,99999999999")[0].second, 2147483647);
    EXPECT_EQ(Columns("A,5;"), (std::vector<std::pair<std::string, int>>{{"A", 5}}));
}

TEST(CopyLine, TabsBetweenCellsCrlfAtTheEndAndNoSplitCells) {
    EXPECT_EQ(CopyLine({"IP", "SN", "MAC"}), "IP\tSN\tMAC\r\n");
    EXPECT_EQ(CopyLine({"a\tb", "c\r\nd", "", "e\n"}), "a b\tc  d\t\t\"e \"\r\n");
}

TEST(IpTextCounts, OnlyAnAddressShownMoreThanOnceByModulesIsShared) {
    IpTextCounts counts;
    const char* const rows[][2] = {{"10.0.0.1", "02-00-00-00-00-01"}, {"10.0.0.2", "02-00-00-00-00-02"},
                                   {"10.0.0.1", "02-00-00-00-00-03"}, {"N/A", "02-00-00-00-00-04"},
                                   {"N/A", "02-00-00-00-00-05"},      {"10.0.0.2", "N/A"},
                                   {"10.0.0.4", "N/A"},               {"10.0.0.4", "N/A"}};
    for (const auto& row : rows) counts.Add(row[0], row[1]);
    EXPECT_TRUE(counts.IsShared("10.0.0.1", "02-00-00-00-00-01"));
    // The echo of our own request shares no module's address, not even
    // another echo's.
    EXPECT_FALSE(counts.IsShared("10.0.0.2", "02-00-00-00-00-02"));
    EXPECT_FALSE(counts.IsShared("10.0.0.2", "N/A"));
    EXPECT_FALSE(counts.IsShared("10.0.0.4", "N/A"));
    EXPECT_FALSE(counts.IsShared("N/A", "02-00-00-00-00-04"));
    EXPECT_FALSE(counts.IsShared("10.0.0.3", "02-00-00-00-00-06"));
    counts.Clear();
    counts.Add("10.0.0.1", "02-00-00-00-00-01");
    EXPECT_FALSE(counts.IsShared("10.0.0.1", "02-00-00-00-00-03"));
}

}  // namespace
