#include "control.h"
#include "payload.h"

#include <gtest/gtest.h>

namespace modsim {
namespace {

ControlCommand parseOk(std::string_view line) {
  ControlCommand command;
  std::string error;
  EXPECT_TRUE(parseControl(line, command, error)) << line << ": " << error;
  return command;
}

std::string parseError(std::string_view line) {
  ControlCommand command;
  std::string error;
  EXPECT_FALSE(parseControl(line, command, error)) << line;
  return error;
}

TEST(ControlParse, ResetReadsPopulationOptions) {
  const ControlCommand c = parseOk("reset --count 7  --spread 100 --jitter --seed 9");
  EXPECT_EQ(c.verb, ControlVerb::Reset);
  EXPECT_EQ(c.population.count, 7u);
  EXPECT_EQ(c.population.spreadMs, 100u);
  EXPECT_TRUE(c.population.jitter);
  EXPECT_EQ(c.population.seed, 9u);
}

TEST(ControlParse, BareResetRestoresDefaults) {
  const ControlCommand c = parseOk("reset");
  EXPECT_EQ(c.population.count, PopulationOptions{}.count);
  EXPECT_EQ(c.population.macBase, PopulationOptions{}.macBase);
}

TEST(ControlParse, ResetRefusesProcessOptionsAndBadValues) {
  EXPECT_EQ(parseError("reset --control 5"), "'--control' is not a population option");
  EXPECT_EQ(parseError("reset --count"), "--count needs a value");
}

TEST(ControlParse, SendTextKeepsTheRestVerbatim) {
  const ControlCommand c = parseOk("send-text  Module Scan;x = 1 ");
  EXPECT_EQ(c.verb, ControlVerb::Send);
  ASSERT_EQ(c.datagrams.size(), 1u);
  EXPECT_EQ(c.datagrams[0], std::string(" Module Scan;x = 1 \0", 20));
}

TEST(ControlParse, TrailingNulAndNewlineAreDropped) {
  EXPECT_EQ(parseOk(std::string_view("send-text abc\n\0", 15)).datagrams[0],
            std::string("abc\0", 4));
  EXPECT_EQ(parseOk("stats\r\n").verb, ControlVerb::Stats);
  EXPECT_EQ(parseOk(std::string_view("quit\0", 5)).verb, ControlVerb::Quit);
}

TEST(ControlParse, SendHexAndSize) {
  EXPECT_EQ(parseOk("send-hex 4D6f00").datagrams[0], std::string("Mo\0", 3));
  EXPECT_EQ(parseOk("send-size 3").datagrams[0], std::string("xx\0", 3));
  EXPECT_EQ(parseOk("send-size 0").datagrams[0], "");
  EXPECT_EQ(parseOk("send-size 65507").datagrams[0].size(), 65507u);
}

TEST(ControlParse, SendErrorsSayWhichCommand) {
  EXPECT_EQ(parseError("send-hex 4D6"), "send-hex: hex text needs an even number of digits");
  EXPECT_EQ(parseError("send-hex zz"),
            "send-hex: hex text may hold only the digits 0-9, a-f, A-F");
  EXPECT_EQ(parseError("send-size 65508"), "send-size: size must be a number from 0 to 65507");
  EXPECT_EQ(parseError("send-size"), "send-size: size must be a number from 0 to 65507");
}

TEST(ControlParse, BatchSendsEveryPartInOrder) {
  const ControlCommand c =
      parseOk("send-batch send-text Module Scan|send-hex 41 | send-size 2|send-text");
  EXPECT_EQ(c.verb, ControlVerb::Send);
  ASSERT_EQ(c.datagrams.size(), 4u);
  EXPECT_EQ(c.datagrams[0], std::string("Module Scan\0", 12));
  EXPECT_EQ(c.datagrams[1], "A");
  EXPECT_EQ(c.datagrams[2], std::string("x\0", 2));
  EXPECT_EQ(c.datagrams[3], std::string("\0", 1));
}

TEST(ControlParse, BatchRefusesOtherCommandsAndEmptyParts) {
  EXPECT_EQ(parseError("send-batch"), "send-batch needs at least one send command");
  EXPECT_EQ(parseError("send-batch send-hex 41|stats"), "not a send command: 'stats'");
  EXPECT_EQ(parseError("send-batch send-hex 41||send-hex 42"), "not a send command: ''");
  EXPECT_EQ(parseError("send-batch send-hex 41|send-size x"),
            "send-size: size must be a number from 0 to 65507");
}

TEST(ControlParse, UnknownEmptyAndSurplusWords) {
  EXPECT_EQ(parseError("scan"), "unknown command 'scan'");
  EXPECT_EQ(parseError(""), "empty command");
  EXPECT_EQ(parseError("\n"), "empty command");
  EXPECT_EQ(parseError("stats now"), "stats takes no arguments");
  EXPECT_EQ(parseError("quit 0"), "quit takes no arguments");
}

TEST(ControlLastConfigure, TakesNoArgumentAndReportsBytesInHex) {
  EXPECT_EQ(parseOk("last-configure").verb, ControlVerb::LastConfigure);
  EXPECT_EQ(parseError("last-configure now"), "last-configure takes no arguments");
  EXPECT_EQ(hexOf(std::string("Co\x00\xff", 4)), "436F00FF");
  EXPECT_EQ(hexOf(""), "");
}

TEST(ControlConfigureLog, TakesNoArgument) {
  EXPECT_EQ(parseOk("configure-log").verb, ControlVerb::ConfigureLog);
  EXPECT_EQ(parseError("configure-log all"), "configure-log takes no arguments");
}

TEST(ControlFlood, ReadsDurationRateAndWhatToSend) {
  const ControlCommand answers = parseOk("flood 3000 0 answers");
  EXPECT_EQ(answers.verb, ControlVerb::Flood);
  EXPECT_EQ(answers.flood.durationMs, 3000u);
  EXPECT_EQ(answers.flood.rate, 0u);
  EXPECT_TRUE(answers.flood.answers);
  const ControlCommand text = parseOk("flood 10 20000 send-text Module Scan");
  EXPECT_FALSE(text.flood.answers);
  EXPECT_EQ(text.flood.rate, 20000u);
  EXPECT_EQ(text.flood.datagram, std::string("Module Scan\0", 12));
  EXPECT_EQ(parseOk("flood 1 0 send-size 0").flood.datagram, "");
  EXPECT_EQ(parseError("flood 0 0 answers"), "flood needs a duration of 1 to 600000 ms, got '0'");
  EXPECT_EQ(parseError("flood 10 x answers"),
            "flood needs a rate of 0 (as fast as possible) to 10000000 per second, got 'x'");
  EXPECT_EQ(parseError("flood 10 0 stats"), "not a send command: 'stats'");
  EXPECT_EQ(parseOk("flood-status").verb, ControlVerb::FloodStatus);
  EXPECT_EQ(floodStatusReply(true, 12), "OK running=1 sent=12");
}

TEST(ControlFlood, AnswersCarryEverNewMacsAndTheRateIsKept) {
  FloodOptions options;
  options.answers = true;
  Module model;
  model.fbType = "IO-GATEWAY";
  FloodSource source(options, model, Mac{0x02, 0, 0, 0, 0x01, 0xFF});
  const std::string first = source.next();
  EXPECT_NE(first.find("mac = 02-00-00-00-01-FF;"), std::string::npos) << first;
  EXPECT_EQ(first.back(), '\0');
  EXPECT_NE(source.next().find("mac = 02-00-00-00-02-00;"), std::string::npos);
  EXPECT_EQ(floodDue(20000, std::chrono::milliseconds(250)), 5000u);
  EXPECT_EQ(floodDue(20000, std::chrono::microseconds(49)), 0u);
  EXPECT_GT(floodDue(0, std::chrono::microseconds(0)), 1000000000u);
}

TEST(ControlStats, ReplyListsEveryCounter) {
  Stats stats;
  stats.scans = 1;
  stats.configures = 2;
  stats.answers = 30;
  stats.reconfigured = 4;
  stats.invalid = 5;
  EXPECT_EQ(statsReply(stats), "OK scans=1 configures=2 answers=30 reconfigured=4 invalid=5");
}

}  // namespace
}  // namespace modsim
