#include "module.h"

#include <gtest/gtest.h>

namespace modsim {
namespace {

// A protected module with every key of the answer present.
Module fullModule() {
  Module m;
  m.mac = {0x02, 0x12, 0x34, 0x56, 0x78, 0x9A};
  m.protocolVersion = "1.10";
  m.fbType = "IO-GATEWAY";
  m.moduleVersion = "2.03.1";
  m.ip = 0xC0A80014;  // 192.168.0.20
  m.sn = 0xFFFFFF00;
  m.gw = 0xC0A80001;
  m.dhcp = false;
  m.isProtected = true;
  m.password = "secret";
  m.hostName = "press4";
  m.dns1 = 0xC0A80001;
  m.dns2 = 0;
  return m;
}

Module openModule() {
  Module m = fullModule();
  m.isProtected = false;
  m.password.clear();
  return m;
}

ConfigureRequest parsed(std::string_view text) {
  const auto request = parseConfigure(text);
  EXPECT_TRUE(request.has_value()) << text;
  return request.value_or(ConfigureRequest{});
}

TEST(AnswerText, FullModuleIsByteExact) {
  EXPECT_EQ(answerText(fullModule()),
            "protocol version = 1.10;fb type = IO-GATEWAY;module version = 2.03.1;"
            "mac = 02-12-34-56-78-9A;ip = 192.168.0.20;sn = 255.255.255.0;"
            "gw = 192.168.0.1;dhcp = off;pswd = on;hn = press4;dns1 = 192.168.0.1;"
            "dns2 = 0.0.0.0;");
}

TEST(AnswerText, LeavesOutHostNameAndDnsWhenAbsent) {
  Module m = openModule();
  m.dhcp = true;
  m.hostName.reset();
  m.dns1.reset();
  m.dns2.reset();
  EXPECT_EQ(answerText(m),
            "protocol version = 1.10;fb type = IO-GATEWAY;module version = 2.03.1;"
            "mac = 02-12-34-56-78-9A;ip = 192.168.0.20;sn = 255.255.255.0;"
            "gw = 192.168.0.1;dhcp = on;pswd = off;");
}

TEST(AnswerText, KeepsSecondDnsWhenOnlyFirstIsAbsent) {
  Module m = fullModule();
  m.dns1.reset();
  const std::string text = answerText(m);
  EXPECT_EQ(text.find("dns1 = "), std::string::npos);
  EXPECT_NE(text.find("hn = press4;dns2 = 0.0.0.0;"), std::string::npos);
}

TEST(RequestKind, ScanIsRecognisedWithoutRegardToCase) {
  EXPECT_EQ(classifyRequest(std::string_view("Module Scan\0", 12)), Request::Scan);
  EXPECT_EQ(classifyRequest("module scan"), Request::Scan);
  EXPECT_EQ(classifyRequest("MODULE SCAN and more"), Request::Scan);
  EXPECT_EQ(classifyRequest("Module Sca"), Request::Other);
  EXPECT_EQ(classifyRequest(std::string_view("\0Module Scan", 12)), Request::Other);
}

TEST(RequestKind, AnswersAndRepliesAreNeitherScanNorConfigure) {
  EXPECT_EQ(classifyRequest(answerText(fullModule())), Request::Other);
  EXPECT_EQ(classifyRequest("Reconfigured: 02-12-34-56-78-9A"), Request::Other);
  EXPECT_EQ(classifyRequest("Invalid Password: 02-12-34-56-78-9A"), Request::Other);
  EXPECT_EQ(classifyRequest("Configure:02-12-34-56-78-9A;"), Request::Other);
  EXPECT_EQ(classifyRequest("Configure: 02-12-34-56-78-9A;HN = ;"), Request::Configure);
}

TEST(ConfigureParse, ReadsEveryField) {
  const ConfigureRequest r = parsed(
      "Configure: 02-12-34-56-78-9A;Password: old;New Password = new;IP = 10.0.0.5;"
      "SN = 255.0.0.0;GW = 10.0.0.1;DHCP = ON;HN = cell_7;DNS1 = 10.0.0.2;"
      "DNS2 = 10.0.0.3;");
  EXPECT_EQ(r.mac, (Mac{0x02, 0x12, 0x34, 0x56, 0x78, 0x9A}));
  EXPECT_EQ(r.password, "old");
  EXPECT_EQ(r.newPassword, "new");
  EXPECT_EQ(r.ip, 0x0A000005u);
  EXPECT_EQ(r.sn, 0xFF000000u);
  EXPECT_EQ(r.gw, 0x0A000001u);
  EXPECT_EQ(r.dhcp, true);
  EXPECT_EQ(r.hostName, "cell_7");
  EXPECT_EQ(r.dns1, 0x0A000002u);
  EXPECT_EQ(r.dns2, 0x0A000003u);
}

TEST(ConfigureParse, MinimalRequestHasOnlyMacAndEmptyHostName) {
  const ConfigureRequest r = parsed(std::string_view("Configure: 02-12-34-56-78-9A;HN = ;\0", 36));
  EXPECT_EQ(r.hostName, "");
  EXPECT_FALSE(r.password || r.newPassword || r.ip || r.sn || r.gw || r.dhcp || r.dns1 ||
               r.dns2);
  EXPECT_EQ(parsed("Configure: 02-12-34-56-78-9A;DHCP = OFF;").dhcp, false);
}

TEST(ConfigureParse, TextEndsAtFirstNul) {
  const ConfigureRequest r =
      parsed(std::string_view("Configure: 02-12-34-56-78-9A;HN = a;\0IP = 1.2.3.4;", 50));
  EXPECT_EQ(r.hostName, "a");
  EXPECT_FALSE(r.ip);
}

TEST(ConfigureParse, RefusesMalformedRequests) {
  for (const char* bad : {
           "Configure: 02-12-34-56-78;HN = ;",        // short MAC
           "Configure: 02-12-34-56-78-9A",            // MAC without ';'
           "Configure: 02-12-34-56-78-9A;HN = x",     // field without ';'
           "Configure: 02-12-34-56-78-9A;IP = 1.2.3;",
           "Configure: 02-12-34-56-78-9A;DHCP = MAYBE;",
           "Configure: 02-12-34-56-78-9A;Colour = red;",
           "Configure: 02-12-34-56-78-9A;Password = x;",  // the password uses ": "
       }) {
    EXPECT_FALSE(parseConfigure(bad).has_value()) << bad;
  }
}

TEST(Configure, ProtectedModuleRefusesMissingOrWrongPassword) {
  for (const char* text : {"Configure: 02-12-34-56-78-9A;IP = 10.0.0.5;HN = ;",
                           "Configure: 02-12-34-56-78-9A;Password: Secret;IP = 10.0.0.5;HN = ;",
                           "Configure: 02-12-34-56-78-9A;Password: ;IP = 10.0.0.5;HN = ;"}) {
    Module m = fullModule();
    EXPECT_EQ(applyConfigure(m, parsed(text)), Verdict::InvalidPassword) << text;
    EXPECT_EQ(answerText(m), answerText(fullModule())) << "nothing may change: " << text;
  }
}

TEST(Configure, RightPasswordAppliesEveryField) {
  Module m = fullModule();
  const Verdict verdict = applyConfigure(
      m, parsed("Configure: 02-12-34-56-78-9A;Password: secret;IP = 10.0.0.5;"
                "SN = 255.0.0.0;GW = 10.0.0.1;DHCP = ON;HN = cell_7;DNS1 = 10.0.0.2;"
                "DNS2 = 10.0.0.3;"));
  EXPECT_EQ(verdict, Verdict::Reconfigured);
  EXPECT_EQ(answerText(m),
            "protocol version = 1.10;fb type = IO-GATEWAY;module version = 2.03.1;"
            "mac = 02-12-34-56-78-9A;ip = 10.0.0.5;sn = 255.0.0.0;gw = 10.0.0.1;"
            "dhcp = on;pswd = on;hn = cell_7;dns1 = 10.0.0.2;dns2 = 10.0.0.3;");
}

TEST(Configure, UnprotectedModuleIgnoresThePasswordField) {
  Module m = openModule();
  EXPECT_EQ(applyConfigure(m, parsed("Configure: 02-12-34-56-78-9A;Password: x;IP = 1.2.3.4;HN = a;")),
            Verdict::Reconfigured);
  EXPECT_EQ(m.ip, 0x01020304u);
  EXPECT_EQ(applyConfigure(m, parsed("Configure: 02-12-34-56-78-9A;GW = 1.2.3.1;HN = a;")),
            Verdict::Reconfigured);
  EXPECT_EQ(m.gw, 0x01020301u);
}

TEST(Configure, NewPasswordProtectsAndLaterRequestsNeedIt) {
  Module m = openModule();
  ASSERT_EQ(applyConfigure(m, parsed("Configure: 02-12-34-56-78-9A;New Password = pw2;HN = a;")),
            Verdict::Reconfigured);
  EXPECT_NE(answerText(m).find("pswd = on;"), std::string::npos);
  EXPECT_EQ(applyConfigure(m, parsed("Configure: 02-12-34-56-78-9A;HN = b;")),
            Verdict::InvalidPassword);
  EXPECT_EQ(m.hostName, "a");
  EXPECT_EQ(applyConfigure(m, parsed("Configure: 02-12-34-56-78-9A;Password: pw2;HN = b;")),
            Verdict::Reconfigured);
  EXPECT_EQ(m.hostName, "b");
}

TEST(Configure, EmptyNewPasswordRemovesProtection) {
  Module m = fullModule();
  ASSERT_EQ(applyConfigure(m, parsed("Configure: 02-12-34-56-78-9A;Password: secret;"
                                     "New Password = ;HN = x;")),
            Verdict::Reconfigured);
  EXPECT_NE(answerText(m).find("pswd = off;"), std::string::npos);
  EXPECT_EQ(applyConfigure(m, parsed("Configure: 02-12-34-56-78-9A;HN = y;")),
            Verdict::Reconfigured);
}

TEST(Configure, EmptyHostNameAndZeroDnsAreLeftOutOfLaterAnswers) {
  Module m = openModule();
  ASSERT_EQ(applyConfigure(m, parsed("Configure: 02-12-34-56-78-9A;HN = ;DNS1 = 0.0.0.0;")),
            Verdict::Reconfigured);
  EXPECT_EQ(answerText(m),
            "protocol version = 1.10;fb type = IO-GATEWAY;module version = 2.03.1;"
            "mac = 02-12-34-56-78-9A;ip = 192.168.0.20;sn = 255.255.255.0;"
            "gw = 192.168.0.1;dhcp = off;pswd = off;dns2 = 0.0.0.0;");
  ASSERT_EQ(applyConfigure(m, parsed("Configure: 02-12-34-56-78-9A;HN = back;DNS1 = 8.8.4.4;"
                                     "DNS2 = 0.0.0.0;")),
            Verdict::Reconfigured);
  EXPECT_NE(answerText(m).find("hn = back;dns1 = 8.8.4.4;"), std::string::npos);
  EXPECT_FALSE(m.dns2.has_value());
}

TEST(Configure, HostNameIsTakenLiterally) {
  Module m = openModule();
  applyConfigure(m, parsed("Configure: 02-12-34-56-78-9A;HN =  Odd Name = 1 ;"));
  EXPECT_EQ(m.hostName, " Odd Name = 1 ");
}

TEST(Configure, OnlyTheAddressedModuleIsFound) {
  std::vector<Module> modules = {openModule(), openModule()};
  modules[1].mac[5] = 0x9B;
  EXPECT_EQ(findModule(modules, parsed("Configure: 02-12-34-56-78-9B;HN = ;").mac), &modules[1]);
  EXPECT_EQ(findModule(modules, parsed("Configure: 02-12-34-56-78-9C;HN = ;").mac), nullptr);
}

TEST(VerdictText, NamesTheModule) {
  const Mac mac{0x02, 0x12, 0x34, 0x56, 0x78, 0x9A};
  EXPECT_EQ(verdictText(Verdict::Reconfigured, mac), "Reconfigured: 02-12-34-56-78-9A");
  EXPECT_EQ(verdictText(Verdict::InvalidPassword, mac), "Invalid Password: 02-12-34-56-78-9A");
}

}  // namespace
}  // namespace modsim
