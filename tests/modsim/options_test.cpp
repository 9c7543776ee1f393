#include "options.h"

#include <gtest/gtest.h>

namespace modsim {
namespace {

CommandLine parseOk(const std::vector<std::string>& args) {
  CommandLine commandLine;
  std::string error;
  EXPECT_TRUE(parseCommandLine(args, commandLine, error)) << error;
  return commandLine;
}

std::string parseError(const std::vector<std::string>& args) {
  CommandLine commandLine;
  std::string error;
  EXPECT_FALSE(parseCommandLine(args, commandLine, error));
  return error;
}

TEST(CommandLine, DefaultsGiveThreeModulesOnPort3250) {
  const CommandLine c = parseOk({});
  EXPECT_EQ(c.bind, 0u);
  EXPECT_EQ(c.port, 3250);
  EXPECT_EQ(c.controlPort, 0);
  EXPECT_FALSE(c.sendTo);
  const std::vector<Module> modules = buildPopulation(c.population);
  ASSERT_EQ(modules.size(), 3u);
  EXPECT_EQ(answerText(modules[2]),
            "protocol version = 1.10;fb type = IO-GATEWAY;module version = 2.03.1;"
            "mac = 02-00-00-00-00-03;ip = 198.18.0.102;sn = 255.255.255.0;"
            "gw = 198.18.0.1;dhcp = off;pswd = off;hn = module2;dns1 = 198.18.0.1;");
}

TEST(CommandLine, PopulationOptionsShapeEveryModule) {
  const CommandLine c = parseOk({"--count", "5", "--mac-base", "02-00-00-00-00-FE",
                                 "--ip-base", "10.1.0.254", "--sn", "255.255.0.0", "--gw",
                                 "10.1.0.1", "--dns1", "none", "--dns2", "0.0.0.0", "--type",
                                 "IO GATE", "--version", "3.1.200", "--protocol", "1.9",
                                 "--dhcp", "on", "--hostname-prefix", "press",
                                 "--protect-every", "2", "--password", "pw"});
  const std::vector<Module> modules = buildPopulation(c.population);
  ASSERT_EQ(modules.size(), 5u);
  EXPECT_EQ(answerText(modules[3]),
            "protocol version = 1.9;fb type = IO GATE;module version = 3.1.200;"
            "mac = 02-00-00-00-01-01;ip = 10.1.1.1;sn = 255.255.0.0;gw = 10.1.0.1;"
            "dhcp = on;pswd = off;hn = press3;dns2 = 0.0.0.0;");
  EXPECT_TRUE(modules[0].isProtected);
  EXPECT_EQ(modules[0].password, "pw");
  EXPECT_FALSE(modules[1].isProtected);
  EXPECT_TRUE(modules[4].isProtected);
}

// A panel at its factory default: every module at one address, and the
// last one set apart.
TEST(CommandLine, ModulesShareOneAddressAndTheLastIsSetApart) {
  const CommandLine c = parseOk({"--count", "4", "--ip-base", "192.168.1.100", "--ip-step", "0",
                                 "--last-type", "DIO-8", "--last-ip", "198.18.0.20",
                                 "--restart", "1000"});
  const std::vector<Module> modules = buildPopulation(c.population);
  ASSERT_EQ(modules.size(), 4u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(formatIpv4(modules[i].ip), "192.168.1.100");
    EXPECT_EQ(modules[i].fbType, "IO-GATEWAY");
  }
  EXPECT_EQ(formatIpv4(modules[3].ip), "198.18.0.20");
  EXPECT_EQ(modules[3].fbType, "DIO-8");
  EXPECT_EQ(c.population.restartMs, 1000u);
  EXPECT_EQ(parseError({"--restart", "60001"}).find("--restart"), 0u);
}

TEST(CommandLine, HostNamePrefixNoneLeavesHostNamesOut) {
  const CommandLine c = parseOk({"--hostname-prefix", "none", "--count", "1"});
  EXPECT_FALSE(buildPopulation(c.population)[0].hostName);
}

TEST(CommandLine, ProcessAndTimingOptions) {
  const CommandLine c = parseOk({"--bind", "127.0.0.2", "--port", "4000", "--control",
                                 "4001", "--verbose", "--spread", "250", "--jitter",
                                 "--seed", "42", "--delay", "700"});
  EXPECT_EQ(c.bind, 0x7F000002u);
  EXPECT_EQ(c.port, 4000);
  EXPECT_EQ(c.controlPort, 4001);
  EXPECT_TRUE(c.verbose);
  EXPECT_EQ(c.population.spreadMs, 250u);
  EXPECT_TRUE(c.population.jitter);
  EXPECT_EQ(c.population.seed, 42u);
  EXPECT_EQ(c.population.delayMs, 700u);
}

TEST(CommandLine, RawSendsKeepTheirOrderAndBytes) {
  const CommandLine c = parseOk({"--to", "127.0.0.1", "--send-text", "Module Scan",
                                 "--send-hex", "00ff41", "--send-size", "4", "--send-size",
                                 "0"});
  ASSERT_TRUE(c.sendTo);
  EXPECT_EQ(*c.sendTo, 0x7F000001u);
  ASSERT_EQ(c.rawSends.size(), 4u);
  EXPECT_EQ(c.rawSends[0], std::string("Module Scan\0", 12));
  EXPECT_EQ(c.rawSends[1], std::string("\0\xff" "A", 3));
  EXPECT_EQ(c.rawSends[2], std::string("xxx\0", 4));
  EXPECT_EQ(c.rawSends[3], "");
}

TEST(CommandLine, HelpNeedsNothingElse) {
  EXPECT_TRUE(parseOk({"--help"}).help);
}

TEST(CommandLineErrors, NameTheOptionAndWhatIsWrong) {
  EXPECT_EQ(parseError({"--colour", "red"}), "unknown option '--colour'");
  EXPECT_EQ(parseError({"--count"}), "--count needs a value");
  EXPECT_EQ(parseError({"--mac-base", "02-00-00-00-01"}),
            "--mac-base needs a MAC address like 02-00-00-00-00-01, got '02-00-00-00-01'");
  EXPECT_EQ(parseError({"--ip-base", "10.0.0.256"}),
            "--ip-base needs an IPv4 address like 198.18.0.100, got '10.0.0.256'");
  EXPECT_EQ(parseError({"--dns1", "nothing"}),
            "--dns1 needs an IPv4 address or 'none', got 'nothing'");
}

TEST(CommandLineErrors, RefuseValuesOutOfRange) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--count", "65536"},        {"--count", "-1"},
           {"--port", "0"},             {"--port", "70000"},
           {"--spread", "60001"},       {"--dhcp", "yes"},
           {"--version", "2.03"},       {"--version", "2.256.1"},
           {"--version", "2.3.65536"},  {"--protocol", "1.10.0"},
           {"--type", "A;B"},           {"--password", "p;w"},
           {"--hostname-prefix", "a;"}, {"--seed", "4294967296"},
           {"--send-hex", "abc"},       {"--send-size", "65508"},
       }) {
    EXPECT_FALSE(parseError(args).empty()) << args[0] << " " << args[1];
  }
}

TEST(CommandLineErrors, RawSendOptionsGoTogether) {
  EXPECT_EQ(parseError({"--send-text", "x"}),
            "--send-text, --send-hex and --send-size need --to");
  EXPECT_EQ(parseError({"--to", "127.0.0.1"}),
            "--to needs at least one --send-text, --send-hex or --send-size");
}

TEST(CommandLineErrors, LeaveTheTargetUntouched) {
  CommandLine c;
  c.port = 1234;
  std::string error;
  EXPECT_FALSE(parseCommandLine({"--port", "4000", "--bogus"}, c, error));
  EXPECT_EQ(c.port, 1234);
}

TEST(PopulationOnly, StartsFromDefaultsAndRefusesProcessOptions) {
  PopulationOptions p;
  p.count = 99;
  std::string error;
  ASSERT_TRUE(parsePopulation({"--spread", "10"}, p, error)) << error;
  EXPECT_EQ(p.count, 3u) << "options not given take their defaults";
  EXPECT_EQ(p.spreadMs, 10u);
  EXPECT_FALSE(parsePopulation({"--port", "1"}, p, error));
  EXPECT_EQ(error, "'--port' is not a population option");
  EXPECT_FALSE(parsePopulation({"--nope"}, p, error));
  EXPECT_EQ(error, "unknown option '--nope'");
}

}  // namespace
}  // namespace modsim
