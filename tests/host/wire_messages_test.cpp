#include "wire_messages.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace vorn {
namespace {

VORN_ConfigureRequestType BlankRequest() {
    VORN_ConfigureRequestType r;
    std::memset(&r, 0, sizeof r);
    const std::uint8_t mac[] = {0x02, 0x12, 0x34, 0x56, 0x78, 0x9A};
    std::memcpy(r.macId, mac, sizeof mac);
    r.ip = r.sn = r.gw = r.dns1 = r.dns2 = 0xFFFFFFFFu;
    r.dhcp = 2;
    return r;
}

std::uint32_t Addr(unsigned a, unsigned b, unsigned c, unsigned d) { return (a << 24) | (b << 16) | (c << 8) | d; }

std::string Build(const VORN_ConfigureRequestType& r) {
    const ConfigureRequestText t = BuildConfigureRequest(r);
    EXPECT_EQ(std::strlen(t.text), t.length);
    return std::string(t.text, t.length);
}

const char kFullAnswer[] =
    "protocol version = 1.10;fb type = IO-GATEWAY;module version = 2.03.1;mac = 02-12-34-56-78-9A;"
    "ip = 192.168.0.20;sn = 255.255.255.0;gw = 192.168.0.1;dhcp = off;pswd = on;hn = press4;"
    "dns1 = 192.168.0.1;dns2 = 0.0.0.0;";

TEST(ScanRequest, IsTwelveBytesWithNul) {
    const unsigned char expected[] = {0x4D, 0x6F, 0x64, 0x75, 0x6C, 0x65, 0x20, 0x53, 0x63, 0x61, 0x6E, 0x00};
    ASSERT_EQ(kScanRequestSize, sizeof expected);
    EXPECT_EQ(0, std::memcmp(kScanRequest, expected, sizeof expected));
}

TEST(ConfigureRequest, FullExampleInFieldOrder) {
    VORN_ConfigureRequestType r = BlankRequest();
    r.ip = Addr(192, 168, 0, 20);
    r.sn = Addr(255, 255, 255, 0);
    r.gw = Addr(192, 168, 0, 1);
    r.dhcp = 0;
    std::strcpy(r.hn, "press4");
    r.dns1 = Addr(192, 168, 0, 1);
    const std::string text = Build(r);
    EXPECT_EQ(text,
              "Configure: 02-12-34-56-78-9A;IP = 192.168.0.20;SN = 255.255.255.0;GW = 192.168.0.1;DHCP = OFF;"
              "HN = press4;DNS1 = 192.168.0.1;");
    EXPECT_EQ(text.size(), 125u);

    std::strcpy(r.pswd, "old");
    r.newPswdValid = 1;
    std::strcpy(r.newPswd, "new");
    r.dhcp = 1;
    r.dns2 = 0;
    EXPECT_EQ(Build(r),
              "Configure: 02-12-34-56-78-9A;Password: old;New Password = new;IP = 192.168.0.20;SN = 255.255.255.0;"
              "GW = 192.168.0.1;DHCP = ON;HN = press4;DNS1 = 192.168.0.1;DNS2 = 0.0.0.0;");
}

TEST(ConfigureRequest, OmittedFieldsLeaveMacAndEmptyHostName) {
    VORN_ConfigureRequestType r = BlankRequest();
    EXPECT_EQ(Build(r), "Configure: 02-12-34-56-78-9A;HN = ;");
    r.dhcp = 5;
    r.newPswdValid = 2;
    std::strcpy(r.newPswd, "ignored");
    EXPECT_EQ(Build(r), "Configure: 02-12-34-56-78-9A;HN = ;");
}

void SetText(char (&field)[VORN_TEXT_SIZE], std::size_t length, char c) {
    std::memset(field, c, length);
    field[length] = '\0';
}

// Every field at its longest: 99 characters each for the texts, 446 in all.
VORN_ConfigureRequestType LongestRequest() {
    VORN_ConfigureRequestType r = BlankRequest();
    SetText(r.pswd, 88, 'p');
    r.newPswdValid = 1;
    SetText(r.newPswd, 83, 'n');
    SetText(r.hn, 93, 'h');
    r.ip = Addr(255, 255, 255, 251);
    r.sn = Addr(255, 255, 255, 252);
    r.gw = Addr(255, 255, 255, 250);
    r.dhcp = 0;
    r.dns1 = Addr(255, 255, 255, 254);
    r.dns2 = Addr(255, 255, 255, 253);
    return r;
}

// Nothing is cut and nothing left out: a request that cannot be carried
// whole is not built at all.
TEST(ConfigureRequest, WholeOrNotAtAll) {
    VORN_ConfigureRequestType r = LongestRequest();
    const ConfigureRequestText longest = BuildConfigureRequest(r);
    EXPECT_EQ(longest.length, 0u);
    EXPECT_EQ(longest.text[0], '\0');
    // 47 characters less host name: exactly 399 characters, built.
    SetText(r.hn, 46, 'h');
    const std::string text = Build(r);
    EXPECT_EQ(text.size(), kRequestBufferSize - 1);
    EXPECT_EQ(text.find("Configure: 02-12-34-56-78-9A;Password: " + std::string(88, 'p') + ";New Password = " +
                        std::string(83, 'n') + ";IP = "),
              0u);
    const std::string tail = "HN = " + std::string(46, 'h') + ";DNS1 = 255.255.255.254;DNS2 = 255.255.255.253;";
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    SetText(r.hn, 47, 'h');
    EXPECT_EQ(Build(r), "");

    // One character over a field's 99: not built. Text fields without any
    // NUL are read up to their 128th byte, far over.
    using TextField = char(VORN_ConfigureRequestType::*)[VORN_TEXT_SIZE];
    struct Field {
        TextField text;
        std::size_t longest;
    };
    for (const Field f : {Field{&VORN_ConfigureRequestType::pswd, 88}, Field{&VORN_ConfigureRequestType::newPswd, 83},
                          Field{&VORN_ConfigureRequestType::hn, 93}}) {
        VORN_ConfigureRequestType one = BlankRequest();
        one.newPswdValid = 1;
        SetText(one.*f.text, f.longest, 'x');
        EXPECT_NE(Build(one), "") << f.longest;
        SetText(one.*f.text, f.longest + 1, 'x');
        EXPECT_EQ(Build(one), "") << f.longest;
        std::memset(one.*f.text, 'x', VORN_TEXT_SIZE);
        EXPECT_EQ(Build(one), "") << f.longest;
    }
}

TEST(ConfigureRequest, SemicolonInASentTextIsNotBuilt) {
    VORN_ConfigureRequestType r = BlankRequest();
    std::strcpy(r.pswd, "x;IP = 10.9.9.9");
    EXPECT_EQ(Build(r), "");
    r = BlankRequest();
    r.newPswdValid = 1;
    std::strcpy(r.newPswd, "x;IP = 10.9.9.9");
    EXPECT_EQ(Build(r), "");
    r.newPswdValid = 0;  // not sent: carries no harm
    EXPECT_EQ(Build(r), "Configure: 02-12-34-56-78-9A;HN = ;");
    std::strcpy(r.hn, ";");
    EXPECT_EQ(Build(r), "");
    // Every other character is carried as it is.
    std::strcpy(r.hn, "a = b:\x01\xFF");
    std::strcpy(r.pswd, " =:,");
    EXPECT_EQ(Build(r), "Configure: 02-12-34-56-78-9A;Password:  =:,;HN = a = b:\x01\xFF;");
}

TEST(Classify, ByCaseInsensitivePrefix) {
    EXPECT_EQ(ClassifyDatagram("RECONFIGURED: 02-12-34-56-78-9A"), DatagramKind::Reconfigured);
    EXPECT_EQ(ClassifyDatagram("Invalid Password: 02-12"), DatagramKind::InvalidPassword);
    EXPECT_EQ(ClassifyDatagram("invalid password:"), DatagramKind::InvalidPassword);
    EXPECT_EQ(ClassifyDatagram("module scan"), DatagramKind::ScanRequest);
    EXPECT_EQ(ClassifyDatagram("Module Sca"), DatagramKind::ScanAnswer);
    EXPECT_EQ(ClassifyDatagram("Configure: 02-12-34-56-78-9A;HN = ;"), DatagramKind::ScanAnswer);
    EXPECT_EQ(ClassifyDatagram(""), DatagramKind::ScanAnswer);
    // Only A-Z fold: a byte that differs outside the letters does not match.
    EXPECT_EQ(ClassifyDatagram("Reconfigured;"), DatagramKind::ScanAnswer);
}

// The pairs that a fold by bit 0x20, by a range wider than A-Z or by the
// locale would take as equal: "@" and "`" sit just outside A-Z and a-z,
// "[" and "{" just behind them, and bytes from 0x80 fold in Latin-1.
TEST(KeySearch, FoldsOnlyTheLettersAToZ) {
    EXPECT_EQ(FindKey("xxIP = ", "ip = "), 2u);
    EXPECT_EQ(FindKey("-aZ@[", "Az@["), 1u);
    const char* const pairs[][2] = {{"@", "`"}, {"[", "{"}, {"]", "}"}, {"^", "~"},
                                    {"\xC0", "\xE0"}, {"\xC9", "\xE9"}, {"\xDE", "\xFE"}};
    for (const auto& pair : pairs) {
        EXPECT_EQ(FindKey(std::string("k") + pair[0], std::string("k") + pair[1]), std::string_view::npos) << pair[0];
        EXPECT_EQ(FindKey(std::string("k") + pair[1], std::string("k") + pair[0]), std::string_view::npos) << pair[1];
    }
}

TEST(ReceivedText, EndsAtFirstNulOrAtLength) {
    const char withNul[] = {'a', 'b', '\0', 'c'};
    EXPECT_EQ(ReceivedText(withNul, sizeof withNul), "ab");
    const char without[] = {'h', 'n', ' ', '=', ' ', 'x'};
    EXPECT_EQ(ReceivedText(without, sizeof without), "hn = x");
}

TEST(InvalidPasswordReply, ReadsMacPartlyOrNot) {
    std::uint8_t mac[6];
    ReadInvalidPasswordReply("Invalid Password: 02-12-34-56-78-9A", mac);
    const std::uint8_t full[] = {0x02, 0x12, 0x34, 0x56, 0x78, 0x9A};
    EXPECT_EQ(0, std::memcmp(mac, full, 6));
    ReadInvalidPasswordReply("Invalid Password: 02-12-34", mac);
    const std::uint8_t partial[] = {0x02, 0x12, 0x34, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(0, std::memcmp(mac, partial, 6));
    ReadInvalidPasswordReply("Invalid Password:02-12-34-56-78-9A", mac);
    const std::uint8_t none[] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(0, std::memcmp(mac, none, 6));
}

TEST(MacReader, FollowsHexConversionRules) {
    struct Case {
        const char* value;
        std::uint8_t expected[6];
    } cases[] = {
        {"2-12-34-56-78-9a", {0x02, 0x12, 0x34, 0x56, 0x78, 0x9A}},
        {" 0x2- 0X12-+34--1-178-9A", {0x02, 0x12, 0x34, 0xFF, 0x78, 0x9A}},
        {"02-12 -34", {0x02, 0x12, 0xFF, 0xFF, 0xFF, 0xFF}},  // "-" must follow the number directly
        {"02-zz-34", {0x02, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"0x-12", {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},  // "0x" without digits: the 0 is the number
        {"123456789-1-2-3-4-5", {0x89, 0x01, 0x02, 0x03, 0x04, 0x05}},
    };
    for (const Case& c : cases) {
        const VORN_ModuleScanResponseType r = ReadScanAnswer(std::string("mac = ") + c.value);
        EXPECT_EQ(r.macIdValid, 1);
        EXPECT_EQ(0, std::memcmp(r.macId, c.expected, 6)) << c.value;
    }
}

TEST(ScanAnswer, FullExampleFillsEveryField) {
    const VORN_ModuleScanResponseType r = ReadScanAnswer(kFullAnswer);
    EXPECT_EQ(r.protocolVersionMajor, 1);
    EXPECT_EQ(r.protocolVersionMinor, 10);
    EXPECT_STREQ(r.fbType, "IO-GATEWAY");
    EXPECT_EQ(r.moduleVersionMajor, 2);
    EXPECT_EQ(r.moduleVersionMinor, 3);
    EXPECT_EQ(r.moduleVersionBuild, 1);
    const std::uint8_t mac[] = {0x02, 0x12, 0x34, 0x56, 0x78, 0x9A};
    EXPECT_EQ(0, std::memcmp(r.macId, mac, 6));
    EXPECT_EQ(r.ip, Addr(192, 168, 0, 20));
    EXPECT_EQ(r.sn, Addr(255, 255, 255, 0));
    EXPECT_EQ(r.gw, Addr(192, 168, 0, 1));
    EXPECT_EQ(r.dhcp, 0);
    EXPECT_EQ(r.pswd, 1);
    EXPECT_STREQ(r.hn, "press4");
    EXPECT_EQ(r.dns1, Addr(192, 168, 0, 1));
    EXPECT_EQ(r.dns2, 0u);
    for (std::uint8_t flag : {r.protocolVersionValid, r.fbTypeValid, r.moduleVersionValid, r.macIdValid, r.ipValid,
                              r.snValid, r.gwValid, r.dhcpValid, r.pswdValid, r.hnValid, r.dns1Valid, r.dns2Valid}) {
        EXPECT_EQ(flag, 1);
    }
}

TEST(ScanAnswer, MissingKeysKeepAllOnesAndZeroFlags) {
    const VORN_ModuleScanResponseType r = ReadScanAnswer("dhcp = maybe;");
    EXPECT_EQ(r.dhcpValid, 1);
    EXPECT_EQ(r.dhcp, 0xFF);
    EXPECT_EQ(r.hnValid, 0);
    for (unsigned char c : r.hn) EXPECT_EQ(c, 0xFF);
    EXPECT_EQ(r.ip, 0xFFFFFFFFu);
    EXPECT_EQ(r.moduleVersionBuild, 0xFFFF);
    EXPECT_EQ(r.macIdValid, 0);
    EXPECT_EQ(r.protocolVersionValid, 0);
    const VORN_ModuleScanResponseType nothing = ReadScanAnswer("hello");
    EXPECT_EQ(nothing.fbTypeValid + nothing.ipValid + nothing.pswdValid + nothing.dns2Valid, 0);
}

TEST(ScanAnswer, KeysAnywhereAnyCaseFirstOccurrence) {
    const VORN_ModuleScanResponseType r = ReadScanAnswer("HN = first;IP = 10.0.0.1;hn = second;ip = 10.0.0.2;");
    EXPECT_STREQ(r.hn, "first");
    EXPECT_EQ(r.ip, Addr(10, 0, 0, 1));
    // "sn = " inside another value is found there.
    const VORN_ModuleScanResponseType inside = ReadScanAnswer("fb type = xsn = 1.2.3.4;");
    EXPECT_EQ(inside.sn, Addr(1, 2, 3, 4));
}

TEST(ScanAnswer, OwnConfigureBroadcastReadsAsAnswerWithoutMac) {
    const VORN_ModuleScanResponseType r = ReadScanAnswer(
        "Configure: 02-12-34-56-78-9A;IP = 192.168.0.20;SN = 255.255.255.0;GW = 192.168.0.1;DHCP = OFF;HN = ;"
        "DNS1 = 192.168.0.1;DNS2 = 8.8.8.8;");
    EXPECT_EQ(r.macIdValid, 0);
    for (std::uint8_t b : r.macId) EXPECT_EQ(b, 0xFF);
    EXPECT_EQ(r.ip, Addr(192, 168, 0, 20));
    EXPECT_EQ(r.gw, Addr(192, 168, 0, 1));
    EXPECT_EQ(r.dhcp, 0);
    EXPECT_EQ(r.hnValid, 1);
    EXPECT_STREQ(r.hn, "");
    EXPECT_EQ(r.dns2, Addr(8, 8, 8, 8));
    EXPECT_EQ(r.pswdValid, 0);
}

TEST(ScanAnswer, DecimalsReadLikeAtoi) {
    EXPECT_EQ(ReadScanAnswer("ip = 300.1.1.1").ip, Addr(44, 1, 1, 1));
    EXPECT_EQ(ReadScanAnswer("ip =  \t-1.+2.x.4").ip, Addr(255, 2, 0, 4));
    // Past the int range a number saturates as the platform's atoi does:
    // at INT_MAX (low byte 0xFF) and INT_MIN (low byte 0). Cut to 32 or 64
    // bits instead, these numbers would give 0, 0, 0xFF and 0x01.
    EXPECT_EQ(ReadScanAnswer("ip = 2147483648.4294967296.-2147483649.-99999999999").ip, Addr(255, 255, 0, 0));
    EXPECT_EQ(ReadScanAnswer("module version = 1.2.70000").moduleVersionBuild, 70000 & 0xFFFF);
    EXPECT_EQ(ReadScanAnswer("protocol version = 257.2").protocolVersionMajor, 1);
}

TEST(ScanAnswer, DotSearchRunsOnAndMissingDotsReadZero) {
    // The "." search is not stopped by ";".
    const VORN_ModuleScanResponseType r = ReadScanAnswer("protocol version = 1;fb type = a.7;");
    EXPECT_EQ(r.protocolVersionMajor, 1);
    EXPECT_EQ(r.protocolVersionMinor, 7);
    const VORN_ModuleScanResponseType bare = ReadScanAnswer("protocol version = 3");
    EXPECT_EQ(bare.protocolVersionMajor, 3);
    EXPECT_EQ(bare.protocolVersionMinor, 0);
    EXPECT_EQ(bare.protocolVersionValid, 1);
    const VORN_ModuleScanResponseType mv = ReadScanAnswer("module version = 4.5");
    EXPECT_EQ(mv.moduleVersionMinor, 5);
    EXPECT_EQ(mv.moduleVersionBuild, 0);
    EXPECT_EQ(ReadScanAnswer("gw = 10.1").gw, Addr(10, 1, 0, 0));
}

TEST(ScanAnswer, OnOffValues) {
    EXPECT_EQ(ReadScanAnswer("dhcp = ON").dhcp, 1);
    EXPECT_EQ(ReadScanAnswer("dhcp = Off").dhcp, 0);
    EXPECT_EQ(ReadScanAnswer("dhcp = offline").dhcp, 0);
    EXPECT_EQ(ReadScanAnswer("dhcp = 1").dhcp, 0xFF);
    EXPECT_EQ(ReadScanAnswer("pswd = o").pswd, 0xFF);
}

TEST(ScanAnswer, TextValuesBoundedAt127) {
    EXPECT_EQ(ReadScanAnswer("hn = ;").hnValid, 1);
    EXPECT_STREQ(ReadScanAnswer("hn = ;").hn, "");
    const std::string longName(200, 'h');
    const VORN_ModuleScanResponseType r = ReadScanAnswer("hn = " + longName + ";ip = 1.2.3.4;");
    EXPECT_EQ(std::string(r.hn), longName.substr(0, 127));
    EXPECT_EQ(r.ip, Addr(1, 2, 3, 4));
}

TEST(ScanAnswer, UnterminatedLongTextEndsTheTextForLaterKeys) {
    // "fb type" has no ";" and a rest longer than 127 characters: keys read
    // afterwards see the text only up to the cut, keys read before do not.
    const std::string head = "protocol version = 1.2;fb type = ";
    const std::string rest = std::string(130, 't') + "ip = 1.2.3.4";
    const VORN_ModuleScanResponseType r = ReadScanAnswer(head + rest);
    EXPECT_EQ(std::string(r.fbType), rest.substr(0, 127));
    EXPECT_EQ(r.ipValid, 0);
    EXPECT_EQ(r.protocolVersionMinor, 2);
    // A short unterminated value cuts nothing.
    const VORN_ModuleScanResponseType shortOne = ReadScanAnswer("ip = 1.2.3.4 fb type = abc");
    EXPECT_STREQ(shortOne.fbType, "abc");
    EXPECT_EQ(shortOne.ip, Addr(1, 2, 3, 4));
}

TEST(ScanAnswer, NeverReadsPastTheText) {
    // Values end exactly at the end of the view; bytes behind it must not count.
    const char buffer[] = "ip = 1.2.3.4dns1 = 9.9.9.9";
    const VORN_ModuleScanResponseType r = ReadScanAnswer(std::string_view(buffer, 11));
    EXPECT_EQ(r.ip, Addr(1, 2, 3, 0));
    EXPECT_EQ(r.dns1Valid, 0);
    EXPECT_EQ(ReadScanAnswer("mac = ").macIdValid, 1);
    EXPECT_EQ(ReadScanAnswer("mac = 01-").macId[1], 0xFF);
}

}  // namespace
}  // namespace vorn
