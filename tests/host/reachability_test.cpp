#include "module_row_texts.h"
#include "settings_plausibility.h"
#include "workstation_subnets.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::uint32_t Ip(const char* text) {
    std::uint32_t address = 0;
    EXPECT_TRUE(ReadDottedAddressText(text, address)) << text;
    return address;
}

WorkstationAdapter Adapter(const char* address, int prefixLength, const char* gateway = "0.0.0.0",
                           const char* name = "eth0") {
    WorkstationAdapter adapter;
    adapter.address = Ip(address);
    adapter.prefixLength = prefixLength;
    adapter.gateway = Ip(gateway);
    adapter.name = name;
    return adapter;
}

// The candidates in the subnet of the workstation's only adapter.
std::vector<std::uint32_t> Candidates(const WorkstationAdapter& adapter, std::uint32_t moduleIp,
                                      const std::vector<std::uint32_t>& listed, std::size_t maxCount) {
    return FreeAddressCandidates({adapter}, adapter, moduleIp, listed, maxCount);
}

std::vector<std::string> Texts(const std::vector<std::uint32_t>& addresses) {
    std::vector<std::string> texts;
    for (const std::uint32_t address : addresses) texts.push_back(DottedAddressText(address).GetString());
    return texts;
}

TEST(Reachability, AModuleInAnAdaptersSubnetWhoseOwnSubnetHoldsTheAdapter) {
    const std::vector<WorkstationAdapter> one = {Adapter("198.18.0.1", 24)};
    const struct {
        const char* ip;
        const char* mask;  // nullptr: the module reports none
        bool reachable;
    } cases[] = {
        {"198.18.0.20", "255.255.255.0", true},
        {"198.18.0.20", nullptr, true},
        {"198.18.0.20", "255.255.0.0", true},
        {"198.18.0.77", "0.0.0.0", true},
        {"192.168.1.50", "255.255.255.0", false},
        {"198.18.0.77", "255.255.255.252", false},  // the workstation lies outside the module's subnet
        {"198.18.0.77", "255.0.255.0", false},      // not contiguous
        {"0.0.0.0", nullptr, false},
        {"198.18.0.1", nullptr, false},    // the workstation's own address
        {"198.18.0.0", nullptr, false},    // the subnet's network address
        {"198.18.0.255", nullptr, false},  // and its broadcast address
    };
    for (const auto& c : cases) {
        const std::optional<std::uint32_t> mask = c.mask ? std::optional<std::uint32_t>(Ip(c.mask)) : std::nullopt;
        EXPECT_EQ(IsReachable(one, Ip(c.ip), mask), c.reachable) << c.ip << " " << c.mask;
    }
    EXPECT_FALSE(IsReachable({}, Ip("198.18.0.20"), std::nullopt)) << "without an adapter nothing is reachable";
    const std::vector<WorkstationAdapter> two = {Adapter("198.18.0.1", 24), Adapter("198.19.0.1", 24)};
    EXPECT_TRUE(IsReachable(two, Ip("198.19.0.5"), std::nullopt));
    // A /31 has two hosts and no network or broadcast address; a /32 none but itself.
    EXPECT_TRUE(IsReachable({Adapter("10.0.0.0", 31)}, Ip("10.0.0.1"), std::nullopt));
    EXPECT_FALSE(IsReachable({Adapter("10.0.0.0", 31)}, Ip("10.0.0.2"), std::nullopt));
    EXPECT_FALSE(IsReachable({Adapter("10.0.0.5", 32)}, Ip("10.0.0.6"), std::nullopt));
}

TEST(Reachability, FreeAddressCandidatesStartWithTheModulesHostPartThenCountUp) {
    const std::vector<std::uint32_t> listed = {Ip("198.18.0.2"), Ip("198.18.0.5")};
    EXPECT_EQ(Texts(Candidates(Adapter("198.18.0.1", 24), Ip("192.168.1.50"), listed, 8)),
              (std::vector<std::string>{"198.18.0.50", "198.18.0.3", "198.18.0.4", "198.18.0.6", "198.18.0.7",
                                        "198.18.0.8", "198.18.0.9", "198.18.0.10"}));
    // A host part that is the network address, the adapter's own or listed
    // is passed over, and the count goes round past the broadcast address.
    EXPECT_EQ(Texts(Candidates(Adapter("198.18.0.1", 24), Ip("10.0.0.0"), {}, 2)),
              (std::vector<std::string>{"198.18.0.2", "198.18.0.3"}));
    EXPECT_EQ(Texts(Candidates(Adapter("198.18.0.253", 24), Ip("10.0.0.253"), {}, 3)),
              (std::vector<std::string>{"198.18.0.254", "198.18.0.1", "198.18.0.2"}));
    EXPECT_EQ(Texts(Candidates(Adapter("198.18.0.1", 24), Ip("10.0.0.2"), listed, 1)),
              std::vector<std::string>{"198.18.0.3"});
    EXPECT_EQ(Texts(Candidates(Adapter("10.0.0.0", 31), Ip("172.16.0.7"), {}, 8)),
              std::vector<std::string>{"10.0.0.1"});
    EXPECT_TRUE(Candidates(Adapter("10.0.0.5", 32), Ip("172.16.0.7"), {}, 8).empty());
    EXPECT_TRUE(Candidates(Adapter("10.0.0.1", 30), Ip("172.16.0.7"), {Ip("10.0.0.2")}, 8).empty());
    // A subnet of the whole space ends after what was asked for.
    EXPECT_EQ(Candidates(Adapter("10.0.0.1", 0), Ip("10.0.0.1"), {}, 8).size(), 8u);
    // Never the gateway, nor an address or gateway of another adapter in
    // the same subnet.
    const WorkstationAdapter lan = Adapter("10.0.0.5", 24, "10.0.0.1");
    EXPECT_EQ(Texts(Candidates(lan, Ip("192.168.0.1"), {}, 2)), (std::vector<std::string>{"10.0.0.6", "10.0.0.7"}));
    const std::vector<WorkstationAdapter> three = {Adapter("192.168.9.1", 24), lan,
                                                   Adapter("10.0.0.7", 24, "10.0.0.6")};
    EXPECT_EQ(Texts(FreeAddressCandidates(three, lan, Ip("192.168.0.7"), {Ip("10.0.0.8")}, 2)),
              (std::vector<std::string>{"10.0.0.9", "10.0.0.10"}));

    std::uint32_t free = 0;
    const std::vector<std::uint32_t> candidates = {Ip("198.18.0.50"), Ip("198.18.0.3")};
    ASSERT_TRUE(FindFreeAddress(candidates, [&](std::uint32_t a) { return a == Ip("198.18.0.50"); }, free));
    EXPECT_EQ(DottedAddressText(free), "198.18.0.3");
    EXPECT_FALSE(FindFreeAddress(candidates, [](std::uint32_t) { return true; }, free));
}

TEST(Reachability, AWebPageIsOpenedOnlyAtAnAddressAModuleCanHold) {
    const struct {
        const char* ip;
        bool webPage;
    } cases[] = {
        {"0.0.0.0", false},       {"0.255.255.255", false}, {"1.0.0.0", true},
        {"126.255.255.255", true}, {"127.0.0.0", false},     {"127.0.0.1", false},
        {"127.255.255.255", false}, {"128.0.0.0", true},     {"198.18.0.20", true},
        {"223.255.255.255", true}, {"224.0.0.0", false},     {"239.255.255.250", false},
        {"240.0.0.1", false},      {"255.255.255.255", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsWebPageAddress(Ip(c.ip)), c.webPage) << c.ip;
}

TEST(Reachability, AMoveTakesTheAdaptersMaskAndItsGatewayOnlyFromInsideTheSubnet) {
    const SubnetMove inside = MoveIntoSubnet(Adapter("198.18.0.1", 24, "198.18.0.254"), Ip("198.18.0.50"));
    EXPECT_EQ(Texts({inside.ip, inside.sn, inside.gw}),
              (std::vector<std::string>{"198.18.0.50", "255.255.255.0", "198.18.0.254"}));
    EXPECT_EQ(MoveIntoSubnet(Adapter("198.18.0.1", 24, "10.1.1.1"), Ip("198.18.0.50")).gw, 0u);
    EXPECT_EQ(MoveIntoSubnet(Adapter("198.18.0.1", 24), Ip("198.18.0.50")).gw, 0u);
    EXPECT_EQ(SubnetLabel(Adapter("198.18.0.77", 24, "0.0.0.0", "Ethernet 2")), "198.18.0.0/24 (Ethernet 2)");
    EXPECT_TRUE(IsContiguousMask(0));
    EXPECT_FALSE(IsContiguousMask(Ip("255.255.0.255")));
}

TEST(Reachability, ImplausibleSettingsNameTheValueAndTheRuleTheyBreak) {
    const struct {
        const char* ip;
        const char* sn;
        const char* gw;
        bool dhcpOn;
        const char* message;  // "" when plausible
    } cases[] = {
        {"198.18.0.20", "255.255.255.0", "198.18.0.1", false, ""},
        {"198.18.0.20", "255.255.255.0", "0.0.0.0", false, ""},
        {"0.0.0.0", "255.255.255.0", "0.0.0.0", false, "IP 0.0.0.0 is no address for a module without DHCP"},
        {"0.0.0.0", "0.0.0.0", "0.0.0.0", true, ""},
        {"198.18.0.0", "255.255.255.0", "0.0.0.0", false,
         "IP 198.18.0.0 is the network address of its subnet 198.18.0.0/24"},
        {"198.18.0.255", "255.255.255.0", "0.0.0.0", true,
         "IP 198.18.0.255 is the broadcast address of its subnet 198.18.0.0/24"},
        {"198.18.0.255", "255.255.0.0", "0.0.0.0", false, ""},
        {"10.0.0.0", "255.255.255.254", "10.0.0.1", false, ""},  // a /31 has two hosts
        {"10.0.0.1", "255.255.255.254", "0.0.0.0", false, ""},
        {"10.0.0.7", "255.255.255.255", "0.0.0.0", false, ""},
        {"198.18.0.20", "255.0.255.0", "0.0.0.0", false, "SN 255.0.255.0 is not a contiguous mask"},
        {"0.0.0.0", "255.255.255.1", "0.0.0.0", true, "SN 255.255.255.1 is not a contiguous mask"},
        {"198.18.0.20", "255.255.255.0", "198.18.1.1", false,
         "GW 198.18.1.1 is not a host of the module's subnet 198.18.0.0/24"},
        {"198.18.0.20", "255.255.255.0", "198.18.0.255", false,
         "GW 198.18.0.255 is not a host of the module's subnet 198.18.0.0/24"},
        {"198.18.0.20", "0.0.0.0", "10.9.9.9", false, ""},  // a /0 holds every gateway
    };
    for (const auto& c : cases) {
        const ModuleAddressing settings = {Ip(c.ip), Ip(c.sn), Ip(c.gw), c.dhcpOn};
        EXPECT_EQ(ImplausibleAddressing(settings).Str(), c.message) << c.ip << " " << c.sn << " " << c.gw;
    }
}

TEST(Reachability, DottedAddressTextsReadBackExactly) {
    std::uint32_t address = 0;
    for (const char* bad : {"N/A", "", "1.2.3", "1.2.3.4.5", "256.1.1.1", "1.2.3.4 ", "1234.1.1.1", "1..2.3"}) {
        EXPECT_FALSE(ReadDottedAddressText(bad, address)) << bad;
    }
    EXPECT_EQ(Ip("255.255.255.0"), 0xFFFFFF00u);
}

}  // namespace
