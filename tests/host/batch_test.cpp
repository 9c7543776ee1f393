// "Assign addresses" before anything is sent: host names from a pattern,
// the addresses of the preview, the settings of one request and the record
// read back as a plan.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <unordered_set>
#include <vector>

#include "batch_assignment.h"
#include "batch_record.h"
#include "configure_outcome.h"
#include "configure_plan.h"
#include "test_records.h"
#include "workstation_subnets.h"

namespace {

constexpr std::uint32_t Ip(unsigned a, unsigned b, unsigned c, unsigned d) { return a << 24 | b << 16 | c << 8 | d; }

VORN_ModuleScanResponseType Module(std::uint8_t lastMacByte, const char* hostname) {
    VORN_ModuleScanResponseType r = MissingEverything();
    const std::uint8_t mac[VORN_MAC_SIZE] = {0x02, 0x00, 0x00, 0x00, 0x01, lastMacByte};
    std::memcpy(r.macId, mac, VORN_MAC_SIZE);
    r.macIdValid = 1;
    r.ip = Ip(192, 168, 1, 100);
    r.sn = 0xFFFFFF00;
    r.gw = Ip(192, 168, 1, 1);
    r.ipValid = r.snValid = r.gwValid = 1;
    r.dhcp = 1;
    r.dhcpValid = 1;
    std::strcpy(r.fbType, "IO-GATEWAY");
    r.fbTypeValid = 1;
    if (hostname) {
        std::strcpy(r.hn, hostname);
        r.hnValid = 1;
    }
    return r;
}

TEST(BatchHostnames, EachRunOfHashesIsTheNumberPaddedToItsLength) {
    const struct {
        const char* pattern;
        std::size_t number;
        const char* name;
    } cases[] = {
        {"io_##", 1, "io_01"},   {"io_##", 24, "io_24"}, {"io_#", 124, "io_124"}, {"a#b###", 7, "a7b007"},
        {"press", 3, "press"},   {"##", 100, "100"},     {"", 5, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(HostnameFromPattern(c.pattern, c.number), c.name) << c.pattern;
}

TEST(BatchHostnames, APatternGivingAnIllegalOrTooLongNameIsRefusedWithItsReason) {
    std::string reason;
    EXPECT_TRUE(CheckHostnamePattern("io_##", 24, reason));
    EXPECT_TRUE(CheckHostnamePattern("", 24, reason));
    EXPECT_FALSE(CheckHostnamePattern("io-##", 24, reason));
    EXPECT_NE(reason.find("letters, digits"), std::string::npos) << reason;
    // 26 letters and "##" are 28 characters up to module 99; the 100th
    // makes 29, the 1000th 30.
    const std::string long26(26, 'x');
    EXPECT_TRUE(CheckHostnamePattern(long26 + "##", 999, reason));
    EXPECT_FALSE(CheckHostnamePattern(long26 + "##", 1000, reason));
    EXPECT_NE(reason.find(long26 + "1000"), std::string::npos) << reason;
}

TEST(BatchPreview, CountsUpSkippingEveryAddressThatIsNotFree) {
    const AddressFields fields = {Ip(198, 18, 0, 8), 0xFFFFFF00, Ip(198, 18, 0, 10)};
    // This computer's .9, a listed module outside the batch at .12, a host
    // found on the wire at .14.
    const std::unordered_set<std::uint32_t> notFree = {Ip(198, 18, 0, 9), Ip(198, 18, 0, 12), Ip(198, 18, 0, 14)};
    std::vector<std::uint32_t> addresses;
    ASSERT_TRUE(PreviewAddresses(fields, 4, notFree, addresses));
    EXPECT_EQ(addresses, (std::vector<std::uint32_t>{Ip(198, 18, 0, 8), Ip(198, 18, 0, 11), Ip(198, 18, 0, 13),
                                                     Ip(198, 18, 0, 15)}));
}

TEST(BatchPreview, NotFreeAreThisComputersAddressesAndTheListedOnesOutsideTheBatch) {
    WorkstationAdapter adapter;
    adapter.address = Ip(198, 18, 0, 1);
    adapter.prefixLength = 24;
    adapter.gateway = Ip(198, 18, 0, 254);
    const std::vector<std::uint32_t> listed = {Ip(198, 18, 0, 20), Ip(198, 18, 0, 9), Ip(198, 18, 0, 20)};
    EXPECT_EQ(NotFreeAddresses({adapter}, listed, {Ip(198, 18, 0, 9)}),
              (std::vector<std::uint32_t>{Ip(198, 18, 0, 1), Ip(198, 18, 0, 20), Ip(198, 18, 0, 254)}));
}

TEST(BatchPreview, TheSubnetRunsOutBeforeItsBroadcastAddress) {
    const AddressFields fields = {Ip(10, 0, 0, 250), 0xFFFFFF00, Ip(10, 0, 0, 252)};
    std::vector<std::uint32_t> addresses;
    EXPECT_TRUE(PreviewAddresses(fields, 4, {}, addresses));
    EXPECT_FALSE(PreviewAddresses(fields, 5, {}, addresses));
    EXPECT_EQ(addresses, (std::vector<std::uint32_t>{Ip(10, 0, 0, 250), Ip(10, 0, 0, 251), Ip(10, 0, 0, 253),
                                                     Ip(10, 0, 0, 254)}));
    // A /31 has two hosts and no broadcast address; the top of the
    // address space ends the count without wrapping.
    EXPECT_TRUE(PreviewAddresses({Ip(10, 0, 0, 4), 0xFFFFFFFE, 0}, 2, {}, addresses));
    EXPECT_FALSE(PreviewAddresses({0xFFFFFFFE, 0xFFFFFFFE, 0}, 3, {}, addresses));
    EXPECT_EQ(addresses.size(), 2u);
}

TEST(BatchPreview, FieldsThatCannotGiveAddressesSayWhy) {
    std::string reason;
    EXPECT_TRUE(CheckAddressFields({Ip(198, 18, 0, 8), 0xFFFFFF00, 0}, reason));
    EXPECT_FALSE(CheckAddressFields({Ip(198, 18, 0, 8), 0xFFFF00FF, 0}, reason));
    EXPECT_FALSE(CheckAddressFields({Ip(198, 18, 0, 255), 0xFFFFFF00, 0}, reason));
    EXPECT_FALSE(CheckAddressFields({Ip(198, 18, 0, 8), 0xFFFFFF00, Ip(198, 18, 1, 1)}, reason));
    EXPECT_NE(reason.find("GW 198.18.1.1"), std::string::npos) << reason;
}

TEST(BatchRequest, CarriesTheAddressesDhcpOffTheNameAndThePasswordOnly) {
    const VORN_ModuleScanResponseType answer = Module(1, "module0");
    const AddressFields fields = {Ip(198, 18, 0, 8), 0xFFFFFF00, Ip(198, 18, 0, 254)};
    VORN_ConfigureRequestType request;
    std::string reason;
    ASSERT_TRUE(PrepareConfigureRequest(answer, AssignedSettings(answer, Ip(198, 18, 0, 9), fields, "io_01", "pw"),
                                        request, reason))
        << reason;
    EXPECT_EQ(request.ip, Ip(198, 18, 0, 9));
    EXPECT_EQ(request.sn, 0xFFFFFF00u);
    EXPECT_EQ(request.gw, Ip(198, 18, 0, 254));
    EXPECT_EQ(request.dhcp, 0);
    EXPECT_STREQ(request.hn, "io_01");
    // The module reports no password protection: none is sent.
    EXPECT_STREQ(request.pswd, "");
    EXPECT_EQ(request.dns1, kLeftOutAddress);

    // Without a pattern the module's own name goes; a module without one
    // cannot be sent a request; one that reports no DHCP state gets none.
    VORN_ModuleScanResponseType nameless = Module(2, nullptr);
    nameless.dhcpValid = 0;
    const ModuleSettings keep = AssignedSettings(nameless, Ip(198, 18, 0, 9), fields, "", "");
    EXPECT_FALSE(keep.dhcpOn.has_value());
    EXPECT_FALSE(PrepareConfigureRequest(nameless, keep, request, reason));
    // A password the command line refuses is refused here too: its ";"
    // would carry a field of its own.
    const BatchEntry injecting = {answer, AssignedSettings(answer, Ip(198, 18, 0, 9), fields, "", "x;IP = 10.9.9.9"),
                                  BatchResult::Pending, std::string()};
    EXPECT_EQ(PrepareEntry(injecting, request, reason), BatchResult::Refused);
    EXPECT_EQ(reason, "a password cannot hold \";\"");
    ASSERT_TRUE(PrepareConfigureRequest(answer, AssignedSettings(answer, Ip(198, 18, 0, 9), fields, "", ""), request,
                                        reason));
    EXPECT_STREQ(request.hn, "module0");
}

// A record read back by the command line's plan reader gives each module
// what it was sent: a module that took its settings needs nothing more.
TEST(BatchRecord, ReadsBackAsAPlanThatChangesOnlyWhatWasNotTaken) {
    const AddressFields fields = {Ip(198, 18, 0, 8), 0xFFFFFF00, Ip(198, 18, 0, 254)};
    std::vector<BatchEntry> entries;
    for (std::uint8_t i = 0; i < 3; ++i) {
        const VORN_ModuleScanResponseType answer = Module(i + 1, "old,\"name");
        const std::string hostname = i == 2 ? std::string() : HostnameFromPattern("io_##", i + 1u);
        entries.push_back({answer, AssignedSettings(answer, Ip(198, 18, 0, 8) + i, fields, hostname, "pw"),
                           i == 1 ? BatchResult::InvalidPassword : BatchResult::Verified, std::string()});
    }
    const std::string text = BatchRecordText(entries);
    EXPECT_EQ(text.substr(0, text.find('\n') + 1), "MAC,Type,Old_IP,IP,SN,GW,DHCP,Hostname,Result\n");
    EXPECT_NE(text.find("02-00-00-00-01-02,IO-GATEWAY,192.168.1.100,198.18.0.9,255.255.255.0,198.18.0.254,off,io_02,"
                        "invalid password\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("pw"), std::string::npos) << "a password in the record";
    const BatchEntry refused = {entries[0].answer, entries[0].settings, BatchResult::Refused, "GW 1.2.3.4, no host"};
    EXPECT_EQ(EntryResultText(refused), "refused: GW 1.2.3.4, no host");
    EXPECT_NE(BatchRecordText({refused}).find(",\"refused: GW 1.2.3.4, no host\"\n"), std::string::npos);

    std::vector<PlanRow> rows;
    std::string error;
    ASSERT_TRUE(ParsePlan(text, rows, error)) << error;
    ASSERT_EQ(rows.size(), 3u);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        VORN_ModuleScanResponseType taken = entries[i].answer;
        taken.ip = Ip(198, 18, 0, 8) + static_cast<std::uint32_t>(i);
        taken.sn = 0xFFFFFF00;
        taken.gw = Ip(198, 18, 0, 254);
        taken.dhcp = 0;
        if (entries[i].settings.hostname) std::strcpy(taken.hn, entries[i].settings.hostname->c_str());
        EXPECT_FALSE(ChangesReportedValues(taken, rows[i].settings)) << "row " << i << "\n" << text;
        EXPECT_TRUE(ChangesReportedValues(entries[i].answer, rows[i].settings)) << "row " << i;
    }
    // The module that did not take its settings still has DHCP on; the
    // record turns it off again.
    VORN_ConfigureRequestType request;
    ASSERT_EQ(PrepareRow(entries[1].answer, rows[1].settings, false, request).outcome, Outcome::DryRun);
    EXPECT_EQ(request.dhcp, 0);

    // A module that was sent nothing (no host name, its own illegal) is
    // written as it reports itself: apply leaves it unchanged.
    const VORN_ModuleScanResponseType nameless = Module(4, nullptr);
    const std::vector<BatchEntry> unsent = {
        {nameless, AssignedSettings(nameless, Ip(198, 18, 0, 11), fields, "", ""), BatchResult::NeedsHostname, ""},
        {entries[2].answer, entries[2].settings, BatchResult::Refused, "illegal host name"}};
    ASSERT_TRUE(ParsePlan(BatchRecordText(unsent), rows, error)) << error;
    ASSERT_EQ(rows.size(), 2u);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(PrepareRow(unsent[i].answer, rows[i].settings, false, request).outcome, Outcome::Unchanged) << i;
    }
}

TEST(BatchRecord, APlanIsMatchedToTheListedModulesByMac) {
    const std::vector<VORN_ModuleScanResponseType> modules = {Module(1, "a"), Module(2, "b"), Module(3, "c")};
    std::vector<PlanRow> rows;
    std::string error;
    ASSERT_TRUE(ParsePlan("mac;ip\n02-00-00-00-01-03;10.0.0.3\n02:00:00:00:09:09;10.0.0.9\n02-00-00-00-01-01;N/A\n",
                          rows, error))
        << error;
    const PlanMatch match = MatchPlan(rows, modules);
    ASSERT_EQ(match.planned.size(), 3u);
    ASSERT_NE(match.planned[0], nullptr);
    EXPECT_FALSE(match.planned[0]->settings.ip.has_value());
    EXPECT_EQ(match.planned[1], nullptr);
    ASSERT_NE(match.planned[2], nullptr);
    EXPECT_EQ(*match.planned[2]->settings.ip, Ip(10, 0, 0, 3));
    EXPECT_EQ(match.unlisted, std::vector<std::string>{"02-00-00-00-09-09"});

    // A row that would be refused is named before anything is sent.
    ASSERT_TRUE(ParsePlan("mac,ip\n02-00-00-00-01-01,192.168.1.4\n02-00-00-00-01-02,192.168.1.255\n", rows, error));
    const std::vector<std::string> refused = RefusedPlanRows(MatchPlan(rows, modules), modules);
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0].rfind("line 3: IP 192.168.1.255 is the broadcast address", 0), 0u) << refused[0];
    EXPECT_EQ(refused[0].find("--force"), std::string::npos) << "the dialog has no such option";
}

}  // namespace
