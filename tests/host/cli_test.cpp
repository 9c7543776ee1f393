// The command line's portable part: arguments, plans, scan output, the
// request built from a module's answer, verification and exit codes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "cli_arguments.h"
#include "configure_outcome.h"
#include "configure_plan.h"
#include "module_row_texts.h"
#include "module_table.h"
#include "test_records.h"

namespace {

// An answer as the simulator gives it, protected by a password.
VORN_ModuleScanResponseType Answer(std::uint8_t lastMacByte, std::uint32_t ip, const char* hn) {
    VORN_ModuleScanResponseType r = MissingEverything();
    const std::uint8_t mac[VORN_MAC_SIZE] = {0x02, 0x00, 0x00, 0x00, 0x00, lastMacByte};
    std::memcpy(r.macId, mac, VORN_MAC_SIZE);
    r.macIdValid = 1;
    r.ip = ip;
    r.ipValid = 1;
    r.sn = 0xFFFFFF00;
    r.snValid = 1;
    r.gw = 0xC6120001;
    r.gwValid = 1;
    r.dhcp = 0;
    r.dhcpValid = 1;
    r.pswd = 1;
    r.pswdValid = 1;
    std::strcpy(r.hn, hn);
    r.hnValid = 1;
    r.dns1 = 0xC6120001;
    r.dns1Valid = 1;
    std::strcpy(r.fbType, "IO-GATEWAY");
    r.fbTypeValid = 1;
    r.moduleVersionMajor = 2;
    r.moduleVersionMinor = 3;
    r.moduleVersionBuild = 1;
    r.moduleVersionValid = 1;
    return r;
}

bool Parses(const std::vector<std::string>& args, CliArguments& parsed, std::string& error) {
    return ParseCliArguments(args, parsed, error);
}

TEST(CliArguments, ReadsEachCommandWithItsDefaults) {
    CliArguments a;
    std::string error;
    ASSERT_TRUE(Parses({"scan", "--format", "json"}, a, error)) << error;
    EXPECT_EQ(a.command, CliCommand::Scan);
    EXPECT_EQ(a.waitMs, 1500);
    EXPECT_EQ(a.format, ScanFormat::Json);

    ASSERT_TRUE(Parses({"configure", "0a:bC:00:11:22:FF", "--ip", "10.0.0.7", "--dhcp", "ON", "--hostname",
                        "press_4", "--new-password", "", "--verify"},
                       a, error))
        << error;
    EXPECT_EQ(a.waitMs, 3000);
    EXPECT_EQ(MacArgumentText(a.mac), "0A-BC-00-11-22-FF");
    EXPECT_EQ(*a.settings.ip, 0x0A000007u);
    EXPECT_TRUE(*a.settings.dhcpOn);
    EXPECT_EQ(*a.settings.newPassword, "");
    EXPECT_FALSE(a.settings.sn.has_value());
    EXPECT_TRUE(a.verify);

    ASSERT_TRUE(Parses({"apply", "plan.csv", "--dry-run", "--wait", "250"}, a, error)) << error;
    EXPECT_EQ(a.planPath, "plan.csv");
    EXPECT_TRUE(a.dryRun);
    EXPECT_EQ(a.waitMs, 250);
}

TEST(CliArguments, TakesJoinedValuesAndPasswordsFromStandardInput) {
    std::vector<std::string> lines = {"old one", "new"};
    std::vector<std::string> asked;
    const InputLineReader input = [&](const std::string& option, std::string& line) {
        asked.push_back(option);
        if (lines.empty()) return false;
        line = lines.front();
        lines.erase(lines.begin());
        return true;
    };
    CliArguments a;
    std::string error;
    ASSERT_TRUE(ParseCliArguments({"configure", "02-00-00-00-00-01", "--hostname=", "--wait=250", "--password", "-",
                                   "--new-password", "-"},
                                  a, error, input))
        << error;
    EXPECT_EQ(*a.settings.hostname, "");
    EXPECT_EQ(a.waitMs, 250);
    EXPECT_EQ(*a.settings.password, "old one");
    EXPECT_EQ(*a.settings.newPassword, "new");
    EXPECT_EQ(asked, (std::vector<std::string>{"--password", "--new-password"}));

    // Joined to its option, any value is itself, "-" and "--x" alike.
    ASSERT_TRUE(ParseCliArguments({"configure", "02-00-00-00-00-01", "--password=--x", "--new-password=-"}, a, error,
                                  input))
        << error;
    EXPECT_EQ(*a.settings.password, "--x");
    EXPECT_EQ(*a.settings.newPassword, "-");
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_FALSE(ParseCliArguments({"configure", "02-00-00-00-00-01", "--new-password", "-"}, a, error, input));
    EXPECT_EQ(error, "--new-password -: standard input holds no line");
    // The ";" check would stop at the NUL, and the module get "ab".
    lines = {std::string("ab\0;IP = 1.2.3.4", 16)};
    EXPECT_FALSE(ParseCliArguments({"configure", "02-00-00-00-00-01", "--new-password", "-"}, a, error, input));
    EXPECT_EQ(error, "--new-password: a password cannot hold a control character");
}

TEST(CliArguments, RefusesFaultsWithAReason) {
    const struct {
        std::vector<std::string> args;
        const char* reason;
    } cases[] = {
        {{}, "no command"},
        {{"scan", "--format", "xml"}, "--format"},
        {{"scan", "--wait"}, "needs a value"},
        {{"scan", "--wait", "0"}, "--wait"},
        {{"scan", "--verify"}, "scan does not take --verify"},
        {{"configure"}, "MAC"},
        {{"configure", "02-00-00-00-00-1"}, "not a MAC"},
        {{"configure", "02-00-00-00-00-01-"}, "not a MAC"},
        {{"configure", "02.00.00.00.00.01"}, "not a MAC"},
        {{"configure", "02-00-00-00-00-01", "--ip", "10.0.0.256"}, "--ip"},
        {{"configure", "02-00-00-00-00-01", "--sn", "255.255.255.255"}, "cannot be sent"},
        {{"configure", "02-00-00-00-00-01", "--ip", "1.2.3.4", "--ip", "1.2.3.5"}, "twice"},
        {{"configure", "02-00-00-00-00-01", "--hostname", "my-module"}, "letters, digits"},
        {{"configure", "02-00-00-00-00-01", "--hostname", std::string(30, 'a')}, "29"},
        {{"configure", "02-00-00-00-00-01", "--password", "a;b"}, ";"},
        {{"configure", "02-00-00-00-00-01", "--hostname", "x", "--password", "a\tb"}, "control character"},
        {{"configure", "02-00-00-00-00-01", "--new-password", std::string("ab\0;IP = 1.2.3.4", 16)},
         "--new-password: a password cannot hold a control character"},
        {{"configure", "02-00-00-00-00-01", "--dhcp", "yes"}, "on or off"},
        {{"configure", "02-00-00-00-00-01", "--dry-run"}, "does not take --dry-run"},
        {{"apply", "plan.csv", "--ip", "1.2.3.4"}, "does not take --ip"},
        {{"apply", "--verify"}, "needs a plan file"},
        {{"apply", "plan.csv", "--dry-run=no"}, "--dry-run takes no value"},
        {{"configure", "02-00-00-00-00-01", "--hostname", "x", "--password", "--verify"}, "--password needs a value"},
        {{"configure", "02-00-00-00-00-01", "--wait=", "--ip", "1.2.3.4"}, "--wait takes milliseconds"},
        {{"configure", "02-00-00-00-00-01", "--password", "secret", "--verify"}, "needs a setting to change"},
        {{"--version", "x"}, "nothing more"},
    };
    for (const auto& c : cases) {
        CliArguments a;
        std::string error;
        EXPECT_FALSE(Parses(c.args, a, error)) << c.reason;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}

TEST(CliArguments, HelpFitsEightyColumnsAndShowsExamples) {
    const std::string help = CliHelpText();
    std::size_t start = 0;
    for (std::size_t end = help.find('\n'); end != std::string::npos; end = help.find('\n', start)) {
        EXPECT_LE(end - start, 80u) << help.substr(start, end - start);
        start = end + 1;
    }
    EXPECT_NE(help.find("[--force]"), std::string::npos);
    EXPECT_NE(help.find("\nExamples:\n"), std::string::npos);
}

// The same plan as a text editor and spreadsheets of several locales save
// it: each reads to the same two rows.
TEST(ConfigurePlan, ReadsPlansAsSpreadsheetsSaveThem) {
    const char* const plans[] = {
        "\xEF\xBB\xBF" "MAC, ip ,Hostname,password,DHCP\r\n"
        "02-00-00-00-00-01, 10.0.0.1 ,press1,\"a,\"\"b \",on\r\n"
        ",,,,\r\n"
        "02:00:00:00:00:02,,N/A,fresh ,\r\n",
        "mac;ip;hostname;password;dhcp\r"
        "02-00-00-00-00-01;10.0.0.1;press1; \"a,\"\"b \" ;ON\r"
        "; ;;;\r"
        "02-00-00-00-00-02;;n/a;fresh ;",
        "mac\tip\thostname\tpassword\tdhcp\n"
        "02-00-00-00-00-01\t10.0.0.1\tpress1\t\"a,\"\"b \"\tOn\n"
        "\n"
        "02-00-00-00-00-02\t\tN/A\tfresh \t\n",
    };
    for (const char* plan : plans) {
        std::vector<PlanRow> rows;
        std::string error;
        ASSERT_TRUE(ParsePlan(plan, rows, error)) << error << "\n" << plan;
        ASSERT_EQ(rows.size(), 2u) << plan;
        EXPECT_EQ(rows[0].line, 2);
        EXPECT_EQ(*rows[0].settings.ip, 0x0A000001u);
        EXPECT_EQ(*rows[0].settings.hostname, "press1");
        EXPECT_EQ(*rows[0].settings.password, "a,\"b ");
        EXPECT_TRUE(*rows[0].settings.dhcpOn);
        EXPECT_EQ(rows[1].line, 4);
        EXPECT_EQ(MacArgumentText(rows[1].mac), "02-00-00-00-00-02");
        EXPECT_FALSE(rows[1].settings.ip || rows[1].settings.hostname || rows[1].settings.dhcpOn);
        EXPECT_EQ(*rows[1].settings.password, "fresh");
    }
}

// What scan --format csv writes reads back as a plan: N/A keeps, Version
// and Type are ignored, a module without a MAC is skipped, and values no
// one could type (a long name, 255.255.255.255) wait for the module's own.
TEST(ConfigurePlan, ReadsTheScansCsv) {
    const std::string plan =
        "IP,SN,GW,DHCP,Version,Type,MAC,Hostname\n"
        "198.18.0.98,255.255.255.0,198.18.0.1,Off,2.03.1,'=1+2,02-00-00-00-00-01,press0\n"
        "N/A,N/A,N/A,N/A,N/A,DIO,N/A,N/A\n"
        "N/A,N/A,255.255.255.255,N/A,N/A,,02-00-00-00-00-02,a_name_of_thirty_seven_characters_xxx\n";
    std::vector<PlanRow> rows;
    std::string error;
    ASSERT_TRUE(ParsePlan(plan, rows, error)) << error;
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(*rows[0].settings.ip, 0xC6120062u);
    EXPECT_EQ(*rows[0].settings.sn, 0xFFFFFF00u);
    EXPECT_FALSE(*rows[0].settings.dhcpOn);
    EXPECT_EQ(*rows[0].settings.hostname, "press0");
    EXPECT_EQ(rows[1].line, 4);
    EXPECT_FALSE(rows[1].settings.ip || rows[1].settings.dhcpOn);
    EXPECT_EQ(*rows[1].settings.gw, 0xFFFFFFFFu);
    EXPECT_EQ(rows[1].settings.hostname->size(), 37u);
}

TEST(ConfigurePlan, RefusesTheWholePlanNamingTheLine) {
    const struct {
        const char* plan;
        const char* error;
    } cases[] = {
        {"mac,ip,color\n", "line 1: unknown column \"color\""},
        {"ip,hostname\n", "line 1: the header names no mac column"},
        {"mac,ip,IP\n", "line 1: column \"ip\" named twice"},
        {"mac,ip\n02-00-00-00-00-01,10.0.0.1\n02-00-00-00-00-02\n", "line 3: 1 cells where the header names 2"},
        {"mac,ip\n02-00-00-00-00-01,10.0.0.1\n\n02-00-00-00-00-02,10.0.0\n", "line 4: \"10.0.0\" is not an address"},
        {"mac;ip;color\n", "line 1: unknown column \"color\""},
        {"mac,password\n02-00-00-00-00-01,\"x\ny\"\n", "line 2: a cell holds a control character"},
        {"mac;password\r02-00-00-00-00-01;\"x\ry\"\r", "line 2: a cell holds a control character"},
        {"mac,type\n02-00-00-00-00-01,a\x1B[2Jb\n", "line 2: a cell holds a control character"},
        {"mac,ip\n02-00-00-00-00-01,\x7F\n02-00-00-00-00-02,\"open\n", "line 2: a cell holds a control character"},
        {"mac\n02-00-00-00-00-01\n02:00:00:00:00:01\n", "line 3: MAC 02-00-00-00-00-01 named twice"},
        {"mac,password\n02-00-00-00-00-01,\"open\n", "line 2: a quoted cell is not closed"},
        {"mac,password\n02-00-00-00-00-01,\"a\"b\n", "line 2: text after a quoted cell"},
        {"mac\n,x\n", "line 2: 2 cells"},
        {"mac\n,,\n", "the plan names no module"},
        {"mac\n", "the plan names no module"},
    };
    for (const auto& c : cases) {
        std::vector<PlanRow> rows;
        std::string error;
        EXPECT_FALSE(ParsePlan(c.plan, rows, error)) << c.plan;
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
        EXPECT_TRUE(rows.empty());
    }
}

TEST(ScanOutput, KeepsTheFirstAnswerPerMacAndOrdersByAddress) {
    ModuleStore answers;
    EXPECT_TRUE(answers.Add(Answer(1, 0xC6120064, "module0")));  // 198.18.0.100
    EXPECT_FALSE(answers.Add(Answer(1, 0x0A000001, "late")));
    VORN_ModuleScanResponseType bare = MissingEverything();
    std::strcpy(bare.fbType, "DIO \"8\",rev\x01\xE9");
    bare.fbTypeValid = 1;
    EXPECT_TRUE(answers.Add(bare));
    EXPECT_TRUE(answers.Add(Answer(2, 0xC6120062, "module1")));  // 198.18.0.98
    const std::vector<ScanLine> lines = ScanLines(answers.Records());
    EXPECT_EQ(FormatScanLines(lines, ScanFormat::Table, {}),
              "IP            SN             GW          DHCP  Version  Type           MAC                "
              "Hostname\n"
              "198.18.0.98   255.255.255.0  198.18.0.1  Off   2.03.1   IO-GATEWAY     02-00-00-00-00-02  "
              "module1\n"
              "198.18.0.100  255.255.255.0  198.18.0.1  Off   2.03.1   IO-GATEWAY     02-00-00-00-00-01  "
              "module0\n"
              "N/A           N/A            N/A         N/A   N/A      DIO \"8\",rev?\xE9  N/A                N/A\n");
    EXPECT_EQ(FormatScanLines(lines, ScanFormat::Csv, {}),
              "IP,SN,GW,DHCP,Version,Type,MAC,Hostname\n"
              "198.18.0.98,255.255.255.0,198.18.0.1,Off,2.03.1,IO-GATEWAY,02-00-00-00-00-02,module1\n"
              "198.18.0.100,255.255.255.0,198.18.0.1,Off,2.03.1,IO-GATEWAY,02-00-00-00-00-01,module0\n"
              "N/A,N/A,N/A,N/A,N/A,\"DIO \"\"8\"\",rev\x01\xE9\",N/A,N/A\n");
    // This computer at 198.18.0.97/30: its subnet holds 198.18.0.98 but not .100.
    WorkstationAdapter narrow;
    narrow.address = 0xC6120061;
    narrow.prefixLength = 30;
    const std::string json = FormatScanLines(lines, ScanFormat::Json, std::vector<WorkstationAdapter>{narrow});
    EXPECT_EQ(json.substr(0, 2), "[\n");
    EXPECT_NE(json.find("  {\"ip\": \"198.18.0.98\", \"sn\": \"255.255.255.0\", \"gw\": \"198.18.0.1\", "
                        "\"dhcp\": \"Off\", \"version\": \"2.03.1\", \"type\": \"IO-GATEWAY\", "
                        "\"mac\": \"02-00-00-00-00-02\", \"hostname\": \"module1\", \"reachable\": true},\n"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"hostname\": \"module0\", \"reachable\": false},\n"), std::string::npos) << json;
    EXPECT_NE(json.find("\"type\": \"DIO \\\"8\\\",rev\\u0001\\u00E9\", \"mac\": \"N/A\", \"hostname\": \"N/A\", "
                        "\"reachable\": null}\n]\n"),
              std::string::npos)
        << json;
    EXPECT_EQ(FormatScanLines({}, ScanFormat::Json, {}), "[]\n");
    // Without any adapter nothing is reachable; when the adapters could
    // not be read, nobody knows.
    const std::string none = FormatScanLines(lines, ScanFormat::Json, std::vector<WorkstationAdapter>());
    EXPECT_NE(none.find("\"hostname\": \"module1\", \"reachable\": false},\n"), std::string::npos) << none;
    const std::string unknown = FormatScanLines(lines, ScanFormat::Json, std::nullopt);
    EXPECT_NE(unknown.find("\"hostname\": \"module1\", \"reachable\": null},\n"), std::string::npos) << unknown;
    EXPECT_NE(unknown.find("\"hostname\": \"module0\", \"reachable\": null},\n"), std::string::npos) << unknown;
}

// The text behind the heading line.
std::string BelowHeadings(const std::string& text) { return text.substr(text.find('\n') + 1); }

// Any host on the segment can answer with any text.
TEST(ScanOutput, WritesNetworkTextsSafely) {
    VORN_ModuleScanResponseType maybe = Answer(1, 0xC6120064, "m");
    maybe.dhcp = 0xFF;  // reported, but neither on nor off
    std::strcpy(maybe.fbType, "\x1B]0;owned\x07");
    EXPECT_EQ(BelowHeadings(FormatScanLines(ScanLines({maybe}), ScanFormat::Table, {})),
              "198.18.0.100  255.255.255.0  198.18.0.1  N/A   2.03.1   ?]0;owned?  02-00-00-00-00-01  m\n");


    const ScanLine encodings = {"caf\xC3\xA9", "caf\xE9", "\xE0\x80\xAF", "\xED\xA0\x80",
                                "\xF4\x90\x80\x80", "\xF0\x9F\x98\x80", "\xC3", "x\x7F"};
    const std::string json = FormatScanLines({encodings}, ScanFormat::Json, {});
    EXPECT_NE(json.find("{\"ip\": \"caf\xC3\xA9\", \"sn\": \"caf\\u00E9\", \"gw\": \"\\u00E0\\u0080\\u00AF\", "
                        "\"dhcp\": \"\\u00ED\\u00A0\\u0080\", \"version\": \"\\u00F4\\u0090\\u0080\\u0080\", "
                        "\"type\": \"\xF0\x9F\x98\x80\", \"mac\": \"\\u00C3\", \"hostname\": \"x\\u007F\", \"reachable\": null}"),
              std::string::npos)
        << json;
}

// One text from the network in the last column of the table, as a CSV
// cell and as a cell of the list's copied line: one rule for all three.
TEST(ScanOutput, GuardsTheTableTheCsvAndTheCopiedLineAlike) {
    const struct {
        const char* text;
        const char* shown;   // in the table
        const char* csv;     // the CSV cell
        const char* copied;  // the copied cell
    } cases[] = {
        {"press_1", "press_1", "press_1", "press_1"},
        {"\x1B[2J", "?[2J", "\x1B[2J", "\x1B[2J"},
        {"a\x9B" "2J\x85", "a?2J?", "a\x9B" "2J\x85", "a\x9B" "2J\x85"},              // C1 bytes
        {"a\xC2\x9B" "2J\xC2\x80", "a?2J?", "a\xC2\x9B" "2J\xC2\x80", "a\xC2\x9B" "2J\xC2\x80"},  // C1 in UTF-8
        {"x\xE2\x80\xAEy\xE2\x81\xA6z", "x?y?z", "x\xE2\x80\xAEy\xE2\x81\xA6z", "x\xE2\x80\xAEy\xE2\x81\xA6z"},
        {"caf\xC3\xA9 \xE2\x82\xAC" "5 \xE9", "caf\xC3\xA9 \xE2\x82\xAC" "5 \xE9", "caf\xC3\xA9 \xE2\x82\xAC" "5 \xE9",
         "caf\xC3\xA9 \xE2\x82\xAC" "5 \xE9"},
        {"IO\t=cmd|' /C calc'!A0", "IO?=cmd|' /C calc'!A0", "\"IO\t=cmd|' /C calc'!A0\"", "IO =cmd|' /C calc'!A0"},
        {"ok\t@SUM(1+1)", "ok?@SUM(1+1)", "\"ok\t@SUM(1+1)\"", "ok @SUM(1+1)"},
        {"\"a\",b", "\"a\",b", "\"\"\"a\"\",b\"", "\"\"\"a\"\",b\""},
        {"a,b", "a,b", "\"a,b\"", "a,b"},
        {"a\r\nb", "a??b", "\"a\r\nb\"", "a  b"},
        {"=HYPERLINK(\"http://x/\")", "=HYPERLINK(\"http://x/\")", "\"'=HYPERLINK(\"\"http://x/\"\")\"",
         "\"'=HYPERLINK(\"\"http://x/\"\")\""},
        {"=1+2", "=1+2", "'=1+2", "'=1+2"},
        {"+1", "+1", "'+1", "'+1"},
        {"-1", "-1", "'-1", "'-1"},
        {"-", "-", "-", "-"},
        {"a-b", "a-b", "a-b", "a-b"},
        {"@SUM(A1)", "@SUM(A1)", "'@SUM(A1)", "'@SUM(A1)"},
        {"\tx", "?x", "\"'\tx\"", "\" x\""},
        {"\r=1", "?=1", "\"'\r=1\"", "\" =1\""},
        {" x", " x", "\" x\"", "\" x\""},
    };
    const std::string headings = FormatScanLines({}, ScanFormat::Table, {});
    const std::size_t lastColumn = headings.find("Hostname");
    for (const auto& c : cases) {
        ScanLine line;
        line[kScanColumnCount - 1] = c.text;
        const std::string table = BelowHeadings(FormatScanLines({line}, ScanFormat::Table, {}));
        EXPECT_EQ(table.substr(lastColumn), std::string(c.shown) + "\n") << c.text;
        EXPECT_EQ(BelowHeadings(FormatScanLines({line}, ScanFormat::Csv, {})), std::string(",,,,,,,") + c.csv + "\n")
            << c.text;
        EXPECT_EQ(CopyLine({"N/A", c.text}), std::string("N/A\t") + c.copied + "\r\n") << c.text;
    }
}

std::string RequestText(const VORN_ModuleScanResponseType& answer, const ModuleSettings& settings) {
    VORN_ConfigureRequestType request;
    std::string text;
    std::string reason;
    if (!PrepareConfigureRequest(answer, settings, request, reason)) return "refused: " + reason;
    EXPECT_TRUE(ConfigureRequestText(request, text, reason)) << reason;
    return text;
}

TEST(ConfigureRequestFromAnswer, ChangesOnlyWhatIsGiven) {
    const VORN_ModuleScanResponseType answer = Answer(1, 0xC6120064, "module0");
    ModuleSettings s;
    s.ip = 0x0A000005;
    s.hostname = "press_5";
    s.dhcpOn = true;
    s.password = "secret";
    s.newPassword = "fresh";
    EXPECT_EQ(RequestText(answer, s),
              "Configure: 02-00-00-00-00-01;Password: secret;New Password = fresh;IP = 10.0.0.5;SN = 255.255.255.0;"
              "GW = 198.18.0.1;DHCP = ON;HN = press_5;DNS1 = 198.18.0.1;");

    // As in the dialog: no password for a module that reports none.
    VORN_ModuleScanResponseType open = answer;
    open.pswd = 0;
    EXPECT_EQ(RequestText(open, s).find("Password: "), std::string::npos);

    // No gateway, no DNS server, a DHCP state neither on nor off and a
    // name longer than the dialog keeps: none of them is touched.
    VORN_ModuleScanResponseType sparse = Answer(2, 0xC6120065, "a_name_of_thirty_seven_characters_xxx");
    sparse.gwValid = sparse.dns1Valid = sparse.pswdValid = 0;
    sparse.gw = sparse.dns1 = 0xFFFFFFFF;
    sparse.dhcp = 0xFF;
    ModuleSettings ip;
    ip.ip = 0x0A140032;
    EXPECT_EQ(RequestText(sparse, ip), "Configure: 02-00-00-00-00-02;IP = 10.20.0.50;SN = 255.255.255.0;"
                                       "HN = a_name_of_thirty_seven_characters_xxx;");
    // A name, given where the module reports none, is all a request needs.
    sparse.hnValid = 0;
    ModuleSettings name;
    name.hostname = "m2";
    EXPECT_EQ(RequestText(sparse, name), "Configure: 02-00-00-00-00-02;IP = 198.18.0.101;SN = 255.255.255.0;HN = m2;");
}

TEST(ConfigureRequestFromAnswer, RefusesWhatCannotBeSent) {
    ModuleSettings dns2;
    dns2.dns2 = 0x01020304;
    EXPECT_EQ(RequestText(Answer(1, 1, "m"), dns2), "refused: the module reports no secondary DNS server");
    ModuleSettings allOnes;
    allOnes.gw = 0xFFFFFFFF;
    EXPECT_EQ(RequestText(Answer(1, 1, "m"), allOnes), "refused: 255.255.255.255 cannot be sent");
    VORN_ModuleScanResponseType noDhcp = Answer(1, 1, "m");
    noDhcp.dhcpValid = 0;
    ModuleSettings dhcp;
    dhcp.dhcpOn = true;
    EXPECT_EQ(RequestText(noDhcp, dhcp), "refused: the module reports no DHCP state");
    noDhcp.dhcpValid = 1;
    noDhcp.dhcp = 0xFF;  // reported, but neither on nor off
    EXPECT_EQ(RequestText(noDhcp, dhcp), "refused: the module reports no DHCP state");
    VORN_ModuleScanResponseType nameless = Answer(1, 1, "m");
    nameless.hnValid = 0;
    ModuleSettings ip;
    ip.ip = 0x0A000005;
    EXPECT_EQ(RequestText(nameless, ip),
              "refused: the module reports no host name, and a request must carry one: give a host name");
    EXPECT_EQ(RequestText(Answer(1, 1, "plc-7\x1B[2J"), ip),
              "refused: the module's host name \"plc-7?[2J\" is not legal; give a new one");
    ModuleSettings name;
    name.hostname = "m2";
    EXPECT_EQ(RequestText(Answer(1, 1, "plc-7"), name).rfind("Configure: ", 0), 0u);
    // A plan's host name is checked once it differs from the module's.
    name.hostname = "a.b";
    EXPECT_EQ(RequestText(Answer(1, 1, "m"), name),
              "refused: host name \"a.b\" may hold only letters, digits and \"_\"");
    name.hostname = std::string(30, 'a');
    EXPECT_EQ(RequestText(Answer(1, 1, "m"), name), "refused: host name longer than 29 characters");
}

TEST(ConfigureRequestFromAnswer, TellsARowThatChangesNothing) {
    VORN_ModuleScanResponseType answer = Answer(1, 0xC6120064, "a_name_of_thirty_seven_characters_xxx");
    answer.dhcp = 0xFF;
    answer.gw = 0xFFFFFFFF;  // reported so, and sent never
    const auto changes = [&](void (*set)(ModuleSettings&)) {
        ModuleSettings s;
        s.password = "secret";
        set(s);
        return ChangesReportedValues(answer, s);
    };
    EXPECT_FALSE(changes([](ModuleSettings&) {}));
    EXPECT_FALSE(changes([](ModuleSettings& s) {
        s.ip = 0xC6120064;
        s.sn = 0xFFFFFF00;
        s.gw = 0xFFFFFFFF;
        s.dns1 = 0xC6120001;
        s.hostname = "a_name_of_thirty_seven_characters_xxx";
    }));
    EXPECT_TRUE(changes([](ModuleSettings& s) { s.ip = 0xC6120065; }));
    EXPECT_TRUE(changes([](ModuleSettings& s) { s.dns2 = 0; }));
    EXPECT_TRUE(changes([](ModuleSettings& s) { s.hostname = "a_name_of_thirty_seven_characters_xx"; }));
    EXPECT_TRUE(changes([](ModuleSettings& s) { s.dhcpOn = false; }));
    EXPECT_TRUE(changes([](ModuleSettings& s) { s.newPassword = "secret"; }));
}

// What configure and each row of apply decide before anything is sent,
// for the protected module at 198.18.0.100/24 with gateway 198.18.0.1.
TEST(ConfigureRequestFromAnswer, DecidesEachRowBeforeAnythingIsSent) {
    const auto row = [](void (*set)(ModuleSettings&), bool force = false) {
        VORN_ModuleScanResponseType answer = Answer(1, 0xC6120064, "m");
        ModuleSettings s;
        s.password = "secret";
        set(s);
        VORN_ConfigureRequestType request;
        return ResultLine(PrepareRow(answer, s, force, request));
    };
    const std::string sends = "02-00-00-00-00-01 Configure: 02-00-00-00-00-01;Password: ****;";
    EXPECT_EQ(row([](ModuleSettings& s) { s.ip = 0; }),
              "02-00-00-00-00-01 refused: IP 0.0.0.0 is no address for a module without DHCP; "
              "--force sends it all the same");
    EXPECT_EQ(row([](ModuleSettings& s) { s.ip = 0; }, true),
              sends + "IP = 0.0.0.0;SN = 255.255.255.0;GW = 198.18.0.1;DHCP = OFF;HN = m;DNS1 = 198.18.0.1;");
    EXPECT_EQ(row([](ModuleSettings& s) {
                  s.ip = 0;
                  s.dhcpOn = true;
              }).rfind(sends + "IP = 0.0.0.0;", 0),
              0u);
    EXPECT_EQ(row([](ModuleSettings& s) { s.ip = 0xC61200FF; }),
              "02-00-00-00-00-01 refused: IP 198.18.0.255 is the broadcast address of its subnet 198.18.0.0/24; "
              "--force sends it all the same");
    EXPECT_EQ(row([](ModuleSettings& s) { s.sn = 0xFFFF00FF; }),
              "02-00-00-00-00-01 refused: SN 255.255.0.255 is not a contiguous mask; --force sends it all the same");
    // The gateway the module keeps lies outside the subnet a new IP makes.
    EXPECT_EQ(row([](ModuleSettings& s) { s.ip = 0x0A000005; }),
              "02-00-00-00-00-01 refused: GW 198.18.0.1 is not a host of the module's subnet 10.0.0.0/24; "
              "--force sends it all the same");
    EXPECT_EQ(row([](ModuleSettings& s) {
                  s.ip = 0x0A000005;
                  s.gw = 0;
                  s.newPassword = "fresh";
              }),
              sends + "New Password = ****;IP = 10.0.0.5;SN = 255.255.255.0;GW = 0.0.0.0;DHCP = OFF;HN = m;"
                      "DNS1 = 198.18.0.1;");
    EXPECT_EQ(row([](ModuleSettings& s) { s.password.reset(); s.hostname = "n"; }),
              "02-00-00-00-00-01 password required");
    EXPECT_EQ(row([](ModuleSettings& s) { s.password = ""; s.hostname = "n"; }),
              "02-00-00-00-00-01 password required");
    EXPECT_EQ(row([](ModuleSettings& s) { s.password.reset(); s.hostname = "m"; }), "02-00-00-00-00-01 unchanged");

    // Settings that leave the addresses as they are send, plausible or not;
    // DHCP turned off leaves the module with the address it reports.
    VORN_ModuleScanResponseType odd = Answer(2, 0, "m");
    odd.pswd = 0;
    odd.dhcp = 1;
    ModuleSettings name;
    name.hostname = "n";
    VORN_ConfigureRequestType request;
    EXPECT_EQ(PrepareRow(odd, name, false, request).outcome, Outcome::DryRun);
    ModuleSettings dhcpOff;
    dhcpOff.dhcpOn = false;
    EXPECT_EQ(ResultLine(PrepareRow(odd, dhcpOff, false, request)),
              "02-00-00-00-00-02 refused: IP 0.0.0.0 is no address for a module without DHCP; "
              "--force sends it all the same");
}

TEST(ConfigureVerification, ComparesAddressesNameAndDhcp) {
    const VORN_ModuleScanResponseType before = Answer(1, 0xC6120064, "module0");
    ModuleSettings s;
    s.ip = 0x0A000005;
    s.hostname = "";
    VORN_ConfigureRequestType request;
    std::string reason;
    ASSERT_TRUE(PrepareConfigureRequest(before, s, request, reason)) << reason;
    VORN_ModuleScanResponseType after = before;
    after.ip = 0x0A000005;
    after.hnValid = 0;  // an emptied name is no longer reported
    EXPECT_TRUE(AnswerShowsRequest(after, request));
    // What the request left out is not looked at.
    after.dns2 = 0x01020304;
    after.dns2Valid = 1;
    EXPECT_TRUE(AnswerShowsRequest(after, request));
    VORN_ModuleScanResponseType sparse = before;
    sparse.gwValid = 0;
    sparse.dhcp = 0xFF;
    VORN_ConfigureRequestType sparseRequest;
    ASSERT_TRUE(PrepareConfigureRequest(sparse, s, sparseRequest, reason)) << reason;
    EXPECT_TRUE(AnswerShowsRequest(after, sparseRequest));
    VORN_ModuleScanResponseType stale = after;
    stale.ip = before.ip;
    EXPECT_FALSE(AnswerShowsRequest(stale, request));
    stale = after;
    stale.dhcp = 1;
    EXPECT_FALSE(AnswerShowsRequest(stale, request));
    stale = after;
    std::strcpy(stale.hn, "module0");
    stale.hnValid = 1;
    EXPECT_FALSE(AnswerShowsRequest(stale, request));
    stale = after;
    stale.dns1Valid = 0;
    EXPECT_FALSE(AnswerShowsRequest(stale, request));
    EXPECT_EQ(VerificationOutcome(before, after, request), Outcome::Verified);
    EXPECT_EQ(VerificationOutcome(before, stale, request), Outcome::NotVerified);
}

// The reply names no module, so a password change is proven only by the
// password state the module reports after it, when that state changed, or
// by the other changes of the request, which a module takes whole.
TEST(ConfigureVerification, ProvesAPasswordChangeByThePasswordState) {
    VORN_ModuleScanResponseType open = Answer(1, 0xC6120064, "m");
    open.pswd = 0;
    const VORN_ModuleScanResponseType protectedModule = Answer(1, 0xC6120064, "m");
    const auto outcome = [](const VORN_ModuleScanResponseType& before, const char* newPassword,
                            std::uint8_t pswdAfter, std::uint8_t pswdValidAfter, const char* hostname = nullptr,
                            const char* hostnameAfter = "m") {
        ModuleSettings s;
        s.newPassword = newPassword;
        if (hostname) s.hostname = hostname;
        VORN_ConfigureRequestType request;
        std::string reason;
        EXPECT_TRUE(PrepareConfigureRequest(before, s, request, reason)) << reason;
        VORN_ModuleScanResponseType after = before;
        after.pswd = pswdAfter;
        after.pswdValid = pswdValidAfter;
        std::strcpy(after.hn, hostnameAfter);
        return VerificationOutcome(before, after, request);
    };
    EXPECT_EQ(outcome(open, "fresh", 1, 1), Outcome::Verified);
    EXPECT_EQ(outcome(open, "fresh", 0, 1), Outcome::NotVerified);  // kept its old state
    EXPECT_EQ(outcome(open, "", 0, 1), Outcome::NotVerifiable);  // was off already
    EXPECT_EQ(outcome(open, "", 1, 1), Outcome::NotVerified);
    EXPECT_EQ(outcome(open, "fresh", 0, 0), Outcome::NotVerifiable);
    EXPECT_EQ(outcome(open, "fresh", 0xFF, 1), Outcome::NotVerifiable);
    // A protected module stays on whether or not it took the new password.
    EXPECT_EQ(outcome(protectedModule, "fresh", 1, 1), Outcome::NotVerifiable);
    EXPECT_EQ(outcome(protectedModule, "fresh", 1, 1, "line_7", "line_7"), Outcome::Verified);
    EXPECT_EQ(outcome(protectedModule, "fresh", 1, 1, "line_7", "m"), Outcome::NotVerified);
    EXPECT_EQ(outcome(protectedModule, "", 0, 1), Outcome::Verified);
}

TEST(ConfigureResults, GiveTheLineAndTheExitCode) {
    const MacAddress mac = {{0x02, 0, 0, 0, 0, 0x0A}};
    const struct {
        Outcome outcome;
        const char* line;
        int exitCode;      // of configure
        int planExitCode;  // of apply, the row behind a verified one
    } cases[] = {
        {Outcome::Reconfigured, "02-00-00-00-00-0A reconfigured", 0, 0},
        {Outcome::Verified, "02-00-00-00-00-0A verified", 0, 0},
        {Outcome::NotVerifiable, "02-00-00-00-00-0A reconfigured (not verifiable)", 0, 0},
        {Outcome::InvalidPassword, "02-00-00-00-00-0A invalid password", 3, 6},
        {Outcome::NotFound, "02-00-00-00-00-0A not found: why", 4, 6},
        {Outcome::NoReply, "02-00-00-00-00-0A no reply", 4, 6},
        {Outcome::NotVerified, "02-00-00-00-00-0A not verified", 7, 6},
        {Outcome::Refused, "02-00-00-00-00-0A refused: why", 2, 6},
        {Outcome::PasswordRequired, "02-00-00-00-00-0A password required", 2, 6},
        {Outcome::DryRun, "02-00-00-00-00-0A why", 0, 0},
        {Outcome::Unchanged, "02-00-00-00-00-0A unchanged", 0, 0},
        {Outcome::NotSent, "02-00-00-00-00-0A not sent", 5, 5},
    };
    for (const auto& c : cases) {
        const RowResult result = {mac, c.outcome, "why"};
        EXPECT_EQ(ResultLine(result), c.line);
        EXPECT_EQ(ConfigureExitCode(c.outcome), c.exitCode) << c.line;
        EXPECT_EQ(PlanExitCode({{mac, Outcome::Verified, ""}, result}), c.planExitCode) << c.line;
    }
    EXPECT_EQ(ResultLine(NotFoundResult(mac, 1500)),
              "02-00-00-00-00-0A not found: no module with this MAC answered within 1500 ms; --wait waits longer");
    // Nothing could be sent outweighs a row that failed before.
    EXPECT_EQ(PlanExitCode({{mac, Outcome::NoReply, ""}, {mac, Outcome::NotSent, ""}}), 5);
    EXPECT_EQ(PlanSummary({{mac, Outcome::Unchanged, ""},
                           {mac, Outcome::Refused, "why"},
                           {mac, Outcome::Verified, ""},
                           {mac, Outcome::Unchanged, ""}}),
              "4 rows: 1 verified, 2 unchanged, 1 refused");
}

}  // namespace
