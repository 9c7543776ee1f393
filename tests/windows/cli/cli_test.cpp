// lanwise-cli.exe as a script runs it: a process of its own on the test
// segment, its output and exit code read back, the simulator telling what
// reached the modules.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <cstring>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "program_process.h"
#include "sim_control.h"

namespace {

using kltest::HexOf;
using kltest::Sim;

// Wine needs a moment to start a program; this only bounds a hang.
constexpr DWORD kRunTimeoutMs = 30000;
constexpr char kNoConfigure[] = " configures=0 ";
// Addresses 198.18.0.98 to .100 (ordered as text, .100 would come first),
// every module protected by a password, no secondary DNS server.
constexpr char kPopulation[] =
    "reset --count 3 --ip-base 198.18.0.98 --protect-every 1 --password secret --hostname-prefix press";

struct CliRun {
    DWORD exitCode;
    std::string out;
    std::string err;
};

std::string TempPath(const char* prefix) {
    char folder[MAX_PATH] = "";
    char path[MAX_PATH] = "";
    GetTempPathA(sizeof folder, folder);
    GetTempFileNameA(folder, prefix, 0, path);
    return path;
}

HANDLE InheritableFile(const std::string& path) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

// The file's text with the console's CR LF line ends turned into LF.
std::string TakeText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    file.close();
    DeleteFileA(path.c_str());
    std::string result;
    for (char c : text.str()) {
        if (c != '\r') result += c;
    }
    return result;
}

std::string WriteTemp(const char* prefix, const std::string& text) {
    const std::string path = TempPath(prefix);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// Runs lanwise-cli.exe with args and input as its standard input;
// whileRunning runs once the process has started.
CliRun RunCli(const std::string& args, const std::function<void()>& whileRunning = nullptr,
              const std::string& input = "") {
    const std::string program = kltest::OwnFolder() + "lanwise-cli.exe";
    const std::string outPath = TempPath("out");
    const std::string errPath = TempPath("err");
    const std::string inPath = WriteTemp("in", input);
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput =
        CreateFileA(inPath.c_str(), GENERIC_READ, FILE_SHARE_READ, &inherit, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    startup.hStdOutput = InheritableFile(outPath);
    startup.hStdError = InheritableFile(errPath);
    std::string commandLine = "\"" + program + "\" " + args;
    PROCESS_INFORMATION info = {};
    CliRun run = {~0u, "", ""};
    const BOOL started = CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                        nullptr, nullptr, &startup, &info);
    CloseHandle(startup.hStdInput);
    CloseHandle(startup.hStdOutput);
    CloseHandle(startup.hStdError);
    if (started) {
        if (whileRunning) whileRunning();
        if (WaitForSingleObject(info.hProcess, kRunTimeoutMs) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, ~0u);
        GetExitCodeProcess(info.hProcess, &run.exitCode);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    run.out = TakeText(outPath);
    run.err = TakeText(errPath);
    DeleteFileA(inPath.c_str());
    return run;
}

std::string WritePlan(const std::string& text) { return WriteTemp("pln", text); }

// Waits until the simulator, freshly reset, has answered the program's
// scan, then sends two more answers from the workstation's side of the
// segment: one that lacks most keys and a second answer for a MAC that
// already answered.
void AddOddAnswers() {
    ASSERT_TRUE(kltest::WaitUntil([] { return Sim("stats").find(" scans=1 ") != std::string::npos; }, 15000));
    ASSERT_EQ(Sim("send-batch send-text fb type = DIO \"8\",rev;hn = ;|"
                  "send-text mac = 02-00-00-00-00-02;ip = 10.0.0.1;hn = late;"),
              "OK");
}

// Answers a module could give, sent once the program's scan went out: a
// type that spreadsheets take for a formula, one that would steer a
// terminal, a host name in UTF-8 and one in Latin-1 (from a module outside
// this computer's subnet).
void AddHostileAnswers() {
    ASSERT_TRUE(kltest::WaitUntil([] { return Sim("stats").find(" scans=1 ") != std::string::npos; }, 15000));
    ASSERT_EQ(Sim("send-batch send-text mac = 02-00-00-00-00-0A;fb type = =1+2;hn = caf\xC3\xA9;|"
                  "send-text mac = 02-00-00-00-00-0B;ip = 192.168.1.50;fb type = \x1B[2J;hn = caf\xE9;"),
              "OK");
}

using JsonObject = std::map<std::string, std::string>;

// A strict reader of what scan --format json writes, an array of objects
// of strings and the literals true, false and null (kept as their text):
// false on anything RFC 8259 refuses, text that is not UTF-8 (as Windows
// itself judges it) among it. Strings come back in UTF-8.
class StrictJson {
public:
    explicit StrictJson(const std::string& text) : text_(text) {}

    bool Read(std::vector<JsonObject>& objects) {
        const int length = static_cast<int>(text_.size());
        if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text_.data(), length, nullptr, 0) == 0) return false;
        if (!Take('[')) return false;
        if (Take(']')) return AtEnd();
        do {
            objects.emplace_back();
            if (!ReadObject(objects.back())) return false;
        } while (Take(','));
        return Take(']') && AtEnd();
    }

private:
    void SkipSpace() {
        while (pos_ < text_.size() && text_[pos_] && std::strchr(" \t\r\n", text_[pos_])) ++pos_;
    }
    bool Take(char c) {
        SkipSpace();
        if (pos_ >= text_.size() || text_[pos_] != c) return false;
        ++pos_;
        return true;
    }
    bool AtEnd() {
        SkipSpace();
        return pos_ == text_.size();
    }

    bool ReadObject(JsonObject& object) {
        if (!Take('{')) return false;
        if (Take('}')) return true;
        do {
            std::string key;
            if (!ReadString(key) || !Take(':') || !ReadValue(object[key])) return false;
        } while (Take(','));
        return Take('}');
    }

    bool ReadValue(std::string& out) {
        SkipSpace();
        for (const char* literal : {"true", "false", "null"}) {
            if (text_.compare(pos_, std::strlen(literal), literal) != 0) continue;
            pos_ += std::strlen(literal);
            out = literal;
            return true;
        }
        return ReadString(out);
    }

    bool ReadString(std::string& out) {
        std::wstring escaped;  // \uXXXX units, turned into UTF-8 together
        if (!Take('"')) return false;
        while (pos_ < text_.size()) {
            if (text_.compare(pos_, 2, "\\u") == 0 && pos_ + 6 <= text_.size() &&
                text_.find_first_not_of("0123456789abcdefABCDEF", pos_ + 2) >= pos_ + 6) {
                escaped += static_cast<wchar_t>(std::stoi(text_.substr(pos_ + 2, 4), nullptr, 16));
                pos_ += 6;
                continue;
            }
            out += Utf8(escaped);
            const char c = text_[pos_++];
            if (c == '"') return true;
            if (static_cast<unsigned char>(c) < 0x20) return false;
            if (c != '\\') {
                out += c;
            } else if (pos_ < text_.size() && text_[pos_] && std::strchr("\"\\/", text_[pos_])) {
                out += text_[pos_++];
            } else {
                return false;  // \b, \f, \n, \r, \t are never written
            }
        }
        return false;
    }

    static std::string Utf8(std::wstring& units) {
        if (units.empty()) return std::string();
        char bytes[64] = "";
        const int n = WideCharToMultiByte(CP_UTF8, 0, units.data(), static_cast<int>(units.size()), bytes,
                                          sizeof bytes, nullptr, nullptr);
        units.clear();
        return std::string(bytes, static_cast<std::size_t>(n > 0 ? n : 0));
    }

    const std::string& text_;
    std::size_t pos_ = 0;
};

const JsonObject* ObjectOf(const std::vector<JsonObject>& objects, const std::string& mac) {
    for (const JsonObject& object : objects) {
        if (object.count("mac") && object.at("mac") == mac) return &object;
    }
    return nullptr;
}

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        // Only the first simulator plays modules, so every line is
        // accounted for.
        const std::vector<std::string> addresses = kltest::SimulatorAddresses();
        for (std::size_t i = 1; i < addresses.size(); ++i) {
            ASSERT_EQ(kltest::SimCommand(addresses[i], "reset --count 0"), "OK");
        }
        ASSERT_EQ(Sim(kPopulation), "OK");
    }
};

TEST_F(Cli, ScanPrintsEveryFormatInAddressOrder) {
    const CliRun table = RunCli("scan", AddOddAnswers);
    EXPECT_EQ(table.exitCode, 0u) << table.err;
    EXPECT_EQ(table.out,
              "IP            SN             GW          DHCP  Version  Type         MAC                Hostname\n"
              "198.18.0.98   255.255.255.0  198.18.0.1  Off   2.03.1   IO-GATEWAY   02-00-00-00-00-01  press0\n"
              "198.18.0.99   255.255.255.0  198.18.0.1  Off   2.03.1   IO-GATEWAY   02-00-00-00-00-02  press1\n"
              "198.18.0.100  255.255.255.0  198.18.0.1  Off   2.03.1   IO-GATEWAY   02-00-00-00-00-03  press2\n"
              "N/A           N/A            N/A         N/A   N/A      DIO \"8\",rev  N/A\n");

    ASSERT_EQ(Sim(kPopulation), "OK");
    const CliRun csv = RunCli("scan --format csv --wait 1000", AddOddAnswers);
    EXPECT_EQ(csv.exitCode, 0u) << csv.err;
    EXPECT_EQ(csv.out,
              "IP,SN,GW,DHCP,Version,Type,MAC,Hostname\n"
              "198.18.0.98,255.255.255.0,198.18.0.1,Off,2.03.1,IO-GATEWAY,02-00-00-00-00-01,press0\n"
              "198.18.0.99,255.255.255.0,198.18.0.1,Off,2.03.1,IO-GATEWAY,02-00-00-00-00-02,press1\n"
              "198.18.0.100,255.255.255.0,198.18.0.1,Off,2.03.1,IO-GATEWAY,02-00-00-00-00-03,press2\n"
              "N/A,N/A,N/A,N/A,N/A,\"DIO \"\"8\"\",rev\",N/A,\n");

    ASSERT_EQ(Sim(kPopulation), "OK");
    const CliRun json = RunCli("scan --format json", AddOddAnswers);
    EXPECT_EQ(json.exitCode, 0u) << json.err;
    EXPECT_EQ(json.out,
              "[\n"
              "  {\"ip\": \"198.18.0.98\", \"sn\": \"255.255.255.0\", \"gw\": \"198.18.0.1\", \"dhcp\": \"Off\", "
              "\"version\": \"2.03.1\", \"type\": \"IO-GATEWAY\", \"mac\": \"02-00-00-00-00-01\", \"hostname\": "
              "\"press0\", \"reachable\": true},\n"
              "  {\"ip\": \"198.18.0.99\", \"sn\": \"255.255.255.0\", \"gw\": \"198.18.0.1\", \"dhcp\": \"Off\", "
              "\"version\": \"2.03.1\", \"type\": \"IO-GATEWAY\", \"mac\": \"02-00-00-00-00-02\", \"hostname\": "
              "\"press1\", \"reachable\": true},\n"
              "  {\"ip\": \"198.18.0.100\", \"sn\": \"255.255.255.0\", \"gw\": \"198.18.0.1\", \"dhcp\": \"Off\", "
              "\"version\": \"2.03.1\", \"type\": \"IO-GATEWAY\", \"mac\": \"02-00-00-00-00-03\", \"hostname\": "
              "\"press2\", \"reachable\": true},\n"
              "  {\"ip\": \"N/A\", \"sn\": \"N/A\", \"gw\": \"N/A\", \"dhcp\": \"N/A\", \"version\": \"N/A\", "
              "\"type\": \"DIO \\\"8\\\",rev\", \"mac\": \"N/A\", \"hostname\": \"\", \"reachable\": null}\n"
              "]\n");
}

// More modules answer than one scan keeps: the first 4096 are listed, the
// rest counted once on standard error.
TEST_F(Cli, ScanKeepsAtMost4096Modules) {
    ASSERT_EQ(Sim("reset --count 4200 --ip-base 198.18.0.98 --spread 2000"), "OK");
    const CliRun run = RunCli("scan --format csv --wait 5000");
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1 + 4096);
    const std::string note = "lanwise-cli: only the first 4096 modules are listed; ";
    EXPECT_EQ(run.err.rfind(note, 0), 0u) << run.err;
    EXPECT_NE(run.err.find(" answers from further MACs were left out\n"), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
}

TEST_F(Cli, ScanWritesHostileTextsSafely) {
    const CliRun table = RunCli("scan --wait 1000", AddHostileAnswers);
    EXPECT_EQ(table.exitCode, 0u) << table.err;
    EXPECT_NE(table.out.find("  ?[2J  "), std::string::npos) << table.out;
    EXPECT_EQ(table.out.find('\x1B'), std::string::npos);

    ASSERT_EQ(Sim(kPopulation), "OK");
    const CliRun csv = RunCli("scan --format csv --wait 1000", AddHostileAnswers);
    EXPECT_NE(csv.out.find("\nN/A,N/A,N/A,N/A,N/A,'=1+2,02-00-00-00-00-0A,caf\xC3\xA9\n"), std::string::npos)
        << csv.out;

    ASSERT_EQ(Sim(kPopulation), "OK");
    const CliRun json = RunCli("scan --format json --wait 1000", AddHostileAnswers);
    std::vector<JsonObject> objects;
    ASSERT_TRUE(StrictJson(json.out).Read(objects)) << json.out;
    ASSERT_EQ(objects.size(), 5u);
    const JsonObject* utf8 = ObjectOf(objects, "02-00-00-00-00-0A");
    const JsonObject* latin1 = ObjectOf(objects, "02-00-00-00-00-0B");
    ASSERT_TRUE(utf8 && latin1) << json.out;
    EXPECT_EQ(utf8->at("hostname"), "caf\xC3\xA9");
    EXPECT_EQ(latin1->at("hostname"), "caf\xC3\xA9");
    EXPECT_EQ(latin1->at("type"), "\x1B[2J");
    EXPECT_EQ(utf8->at("reachable"), "null");
    EXPECT_EQ(latin1->at("reachable"), "false");
}

TEST_F(Cli, ConfigureSendsOnlyWhatIsGivenAndVerifies) {
    const CliRun run = RunCli(
        "configure 02:00:00:00:00:02 --ip 198.18.0.150 --dhcp on --hostname line_7 --password secret --verify");
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_EQ(run.out, "02-00-00-00-00-02 verified\n");
    const std::string expected =
        "Configure: 02-00-00-00-00-02;Password: secret;IP = 198.18.0.150;SN = 255.255.255.0;GW = 198.18.0.1;"
        "DHCP = ON;HN = line_7;DNS1 = 198.18.0.1;";
    EXPECT_EQ(Sim("last-configure"), "OK " + HexOf(expected + '\0'));

    // The password from standard input, its first line without the line end.
    const CliRun piped = RunCli("configure 02-00-00-00-00-01 --hostname piped --password -", nullptr,
                                "secret\r\nsomething else\r\n");
    EXPECT_EQ(piped.exitCode, 0u) << piped.err;
    EXPECT_EQ(piped.out, "02-00-00-00-00-01 reconfigured\n");
    EXPECT_NE(Sim("last-configure").find(HexOf(";Password: secret;IP = ")), std::string::npos);

    // A module that reports no gateway, no DNS server, a DHCP state neither
    // on nor off and a long host name, given only an address; no module
    // answers the request.
    const std::string longName = "a_name_of_thirty_seven_characters_xxx";
    ASSERT_EQ(Sim(kPopulation), "OK");
    const CliRun sparse = RunCli("configure 02-00-00-00-00-0C --ip 10.20.0.50 --wait 300", [&] {
        ASSERT_TRUE(kltest::WaitUntil([] { return Sim("stats").find(" scans=1 ") != std::string::npos; }, 15000));
        ASSERT_EQ(Sim("send-text mac = 02-00-00-00-00-0C;ip = 198.18.0.120;sn = 255.255.255.0;dhcp = maybe;hn = " +
                      longName + ";"),
                  "OK");
    });
    EXPECT_EQ(sparse.exitCode, 4u) << sparse.err;
    EXPECT_EQ(sparse.out, "02-00-00-00-00-0C no reply\n");
    const std::string sent = "Configure: 02-00-00-00-00-0C;IP = 10.20.0.50;SN = 255.255.255.0;HN = " + longName + ";";
    EXPECT_EQ(Sim("last-configure"), "OK " + HexOf(sent + '\0'));
}

TEST_F(Cli, ConfigureFailuresGiveTheirExitCodes) {
    const struct {
        const char* args;
        DWORD exitCode;
        const char* out;
        const char* err;
        bool sent;
    } cases[] = {
        {"configure 02-00-00-00-00-02 --password wrong --hostname x", 3, "02-00-00-00-00-02 invalid password\n", "",
         true},
        {"configure 02-00-00-00-00-09 --ip 10.0.0.1 --wait 2000", 4,
         "02-00-00-00-00-09 not found: no module with this MAC answered within 2000 ms; --wait waits longer\n", "",
         false},
        {"configure 02-00-00-00-00-01 --hostname x", 2, "",
         "lanwise-cli: 02-00-00-00-00-01 is password-protected: give --password\n", false},
        {"configure 02-00-00-00-00-01 --hostname my-module", 2, "", "host name \"my-module\"", false},
        {"configure 02-00-00-00-00-01 --dns2 10.0.0.53", 2, "",
         "02-00-00-00-00-01 refused: the module reports no secondary DNS server\n", false},
        {"configure 02-00-00-00-00-01 --password secret", 2, "", "configure needs a setting to change", false},
        {"configure 02-00-00-00-00-01 --hostname x --password --verify", 2, "", "--password needs a value", false},
        {"configure 02-00-00-00-00-01 --ip 198.18.0.98 --hostname press0", 0, "02-00-00-00-00-01 unchanged\n", "",
         false},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(Sim(kPopulation), "OK");
        const CliRun run = RunCli(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args << "\n" << run.err;
        EXPECT_EQ(run.out, c.out) << c.args;
        // An empty expectation means nothing at all on standard error.
        if (*c.err) {
            EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
        } else {
            EXPECT_EQ(run.err, "") << c.args;
        }
        const std::string stats = Sim("stats");
        EXPECT_EQ(stats.find(kNoConfigure) == std::string::npos, c.sent) << c.args << "\n" << stats;
    }
}

// The second row's module is protected and the row gives no password:
// nothing is sent for it, and the run goes on.
TEST_F(Cli, ApplyConfiguresEachRowAndReportsTheWrongPassword) {
    const std::string plan = WritePlan(
        "mac,ip,hostname,password\n"
        "02-00-00-00-00-01,198.18.0.201,line_1,secret\n"
        "02-00-00-00-00-02,198.18.0.202,line_2,\n"
        "02-00-00-00-00-03,198.18.0.203,,wrong\n");
    const CliRun run = RunCli("apply \"" + plan + "\" --verify");
    EXPECT_EQ(run.exitCode, 6u) << run.err;
    EXPECT_EQ(run.out,
              "02-00-00-00-00-01 verified\n"
              "02-00-00-00-00-02 password required\n"
              "02-00-00-00-00-03 invalid password\n");
    EXPECT_EQ(run.err, "lanwise-cli: 3 rows: 1 verified, 1 invalid password, 1 password required\n");
    EXPECT_NE(Sim("stats").find(" configures=2 "), std::string::npos);
    DeleteFileA(plan.c_str());
}

// "Reconfigured:" names no module, so a password change is proven only by
// the password state the module reports afterwards. Here the module is
// played from the workstation's side of the segment: it answers both scans,
// with its password off before and pswdAfter after the "Reconfigured:".
TEST_F(Cli, VerifyOfAPasswordChangeReadsThePasswordState) {
    const std::string plan = WritePlan("mac,new_password\n02-00-00-00-00-0C,fresh\n");
    const auto stat = [](const char* value) {
        return kltest::WaitUntil([=] { return Sim("stats").find(value) != std::string::npos; }, 15000);
    };
    const struct {
        const char* pswdAfter;
        DWORD exitCode;
        const char* out;
    } cases[] = {
        {"off", 6, "02-00-00-00-00-0C not verified\n"},  // it kept its old state
        {"on", 0, "02-00-00-00-00-0C verified\n"},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(Sim(kPopulation), "OK");
        const std::string answer = "send-text mac = 02-00-00-00-00-0C;ip = 198.18.0.120;sn = 255.255.255.0;hn = m12;";
        const CliRun run = RunCli("apply \"" + plan + "\" --verify", [&] {
            ASSERT_TRUE(stat(" scans=1 "));
            ASSERT_EQ(Sim(answer + "pswd = off;"), "OK");
            ASSERT_TRUE(stat(" configures=1 "));
            ASSERT_EQ(Sim("send-text Reconfigured: 02-00-00-00-00-0C"), "OK");
            ASSERT_TRUE(stat(" scans=2 "));
            ASSERT_EQ(Sim(answer + "pswd = " + c.pswdAfter + ";"), "OK");
        });
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        EXPECT_EQ(run.out, c.out);
    }
    DeleteFileA(plan.c_str());
}

// As a spreadsheet of a ";" locale saves it, with blanks typed around cells.
TEST_F(Cli, ApplyReadsASpreadsheetsPlan) {
    const std::string plan = WritePlan(
        "\xEF\xBB\xBF" "MAC ; IP ; Hostname ; DHCP ; Password\r\n"
        " 02:00:00:00:00:03 ; 198.18.0.151 ; ; on ; secret \r\n"
        ";;;;\r\n"
        "02-00-00-00-00-01;198.18.0.98;press0;Off;secret\r\n");
    const CliRun run = RunCli("apply \"" + plan + "\"");
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_EQ(run.out, "02-00-00-00-00-03 reconfigured\n02-00-00-00-00-01 unchanged\n");
    EXPECT_NE(Sim("stats").find(" configures=1 "), std::string::npos);
    const std::string expected =
        "Configure: 02-00-00-00-00-03;Password: secret;IP = 198.18.0.151;SN = 255.255.255.0;GW = 198.18.0.1;"
        "DHCP = ON;HN = press2;DNS1 = 198.18.0.1;";
    EXPECT_EQ(Sim("last-configure"), "OK " + HexOf(expected + '\0'));
    DeleteFileA(plan.c_str());
}

// scan --format csv > plan.csv, one cell edited, apply plan.csv --verify.
TEST_F(Cli, ScanCsvEditedInOneCellIsAPlan) {
    ASSERT_EQ(Sim("reset --count 3 --ip-base 198.18.0.98 --hostname-prefix press"), "OK");
    const CliRun scan = RunCli("scan --format csv --wait 1000");
    ASSERT_EQ(scan.exitCode, 0u) << scan.err;
    std::string edited = scan.out;
    const std::size_t cell = edited.find(",press1\n");
    ASSERT_NE(cell, std::string::npos) << edited;
    edited.replace(cell, 7, ",line_1");
    const std::string plan = WritePlan(edited);
    const CliRun run = RunCli("apply \"" + plan + "\" --verify");
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_EQ(run.out,
              "02-00-00-00-00-01 unchanged\n"
              "02-00-00-00-00-02 verified\n"
              "02-00-00-00-00-03 unchanged\n");
    EXPECT_EQ(run.err, "lanwise-cli: 3 rows: 1 verified, 2 unchanged\n");
    EXPECT_NE(Sim("stats").find(" configures=1 "), std::string::npos);
    DeleteFileA(plan.c_str());
}

TEST_F(Cli, DryRunAndMalformedPlansSendNoRequest) {
    const std::string plan = WritePlan("mac,dhcp,password,new_password\n02:00:00:00:00:03,on,secret,fresh\n");
    const CliRun dry = RunCli("apply \"" + plan + "\" --dry-run");
    EXPECT_EQ(dry.exitCode, 0u) << dry.err;
    EXPECT_EQ(dry.out,
              "02-00-00-00-00-03 Configure: 02-00-00-00-00-03;Password: ****;New Password = ****;IP = 198.18.0.100;"
              "SN = 255.255.255.0;GW = 198.18.0.1;DHCP = ON;HN = press2;DNS1 = 198.18.0.1;\n");
    DeleteFileA(plan.c_str());

    // Checked whole once the modules answered: the first row would be sent,
    // the second would cut its module off, the third holds a host name no
    // module takes (with a bidirectional override and a C1 control, which
    // the message shows as "?").
    const std::string refusedRows = WritePlan(
        "mac,ip,hostname,password\n"
        "02-00-00-00-00-01,198.18.0.201,,secret\n"
        "02-00-00-00-00-02,198.18.0.0,,secret\n"
        "02-00-00-00-00-03,,a\xE2\x80\xAE" "b\xC2\x9B,secret\n");
    const CliRun refusedRowsRun = RunCli("apply \"" + refusedRows + "\" --verify");
    EXPECT_EQ(refusedRowsRun.exitCode, 2u);
    EXPECT_EQ(refusedRowsRun.out, "");
    EXPECT_EQ(refusedRowsRun.err,
              "lanwise-cli: " + refusedRows + ": line 3: 02-00-00-00-00-02 refused: IP 198.18.0.0 is the network "
              "address of its subnet 198.18.0.0/24; --force sends it all the same\n"
              "lanwise-cli: " + refusedRows + ": line 4: 02-00-00-00-00-03 refused: host name \"a?b?\" may hold only "
              "letters, digits and \"_\"\n"
              "lanwise-cli: " + refusedRows + ": 2 rows refused; nothing was sent\n");
    DeleteFileA(refusedRows.c_str());

    // A line break inside a quoted password would reach the module as part
    // of it.
    const std::string split = WritePlan("mac,ip,password\n02-00-00-00-00-01,198.18.0.201,\"sec\nret\"\n");
    const CliRun splitRun = RunCli("apply \"" + split + "\"");
    EXPECT_EQ(splitRun.exitCode, 2u);
    EXPECT_EQ(splitRun.out, "");
    EXPECT_NE(splitRun.err.find("line 2: a cell holds a control character; nothing was sent"), std::string::npos)
        << splitRun.err;
    DeleteFileA(split.c_str());

    const std::string broken = WritePlan("mac,ip\n02-00-00-00-00-01,198.18.0.201\n02-00-00-00-00-03,198.18.0\n");
    const CliRun refused = RunCli("apply \"" + broken + "\"");
    EXPECT_EQ(refused.exitCode, 2u);
    EXPECT_EQ(refused.out, "");
    EXPECT_NE(refused.err.find("line 3: \"198.18.0\" is not an address"), std::string::npos) << refused.err;
    DeleteFileA(broken.c_str());
    EXPECT_NE(Sim("stats").find(kNoConfigure), std::string::npos);
}

// A typo that would cut the module off the network is refused before
// anything is sent; --force sends it.
TEST_F(Cli, ConfigureRefusesImplausibleSettingsUnlessForced) {
    const CliRun refused = RunCli("configure 02-00-00-00-00-01 --ip 0.0.0.0 --password secret --verify");
    EXPECT_EQ(refused.exitCode, 2u);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err,
              "lanwise-cli: 02-00-00-00-00-01 refused: IP 0.0.0.0 is no address for a module without DHCP; "
              "--force sends it all the same\n");
    EXPECT_NE(Sim("stats").find(kNoConfigure), std::string::npos);

    const CliRun forced = RunCli("configure 02-00-00-00-00-01 --ip 0.0.0.0 --password secret --force");
    EXPECT_EQ(forced.exitCode, 0u) << forced.err;
    EXPECT_EQ(forced.out, "02-00-00-00-00-01 reconfigured\n");
    const std::string sent = "Configure: 02-00-00-00-00-01;Password: secret;IP = 0.0.0.0;SN = 255.255.255.0;"
                             "GW = 198.18.0.1;DHCP = OFF;HN = press0;DNS1 = 198.18.0.1;";
    EXPECT_EQ(Sim("last-configure"), "OK " + HexOf(sent + '\0'));
}

// The program's version line and its version resource, laid out like the
// program's, tell the same version.
TEST_F(Cli, VersionLineMatchesTheVersionResource) {
    const std::string program = kltest::OwnFolder() + "lanwise-cli.exe";
    DWORD handle = 0;
    std::vector<char> data(GetFileVersionInfoSizeA(program.c_str(), &handle));
    ASSERT_FALSE(data.empty());
    ASSERT_TRUE(GetFileVersionInfoA(program.c_str(), 0, static_cast<DWORD>(data.size()), data.data()));
    const auto text = [&](const char* name) {
        char* value = nullptr;
        UINT length = 0;
        const std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
        return VerQueryValueA(data.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) && value
                   ? std::string(value)
                   : std::string("(missing)");
    };
    EXPECT_EQ(text("FileVersion"), "1, 1, 2, 0");
    EXPECT_EQ(text("ProductVersion"), "1, 1, 2, 0");
    EXPECT_EQ(text("OriginalFilename"), "lanwise-cli.exe");
    EXPECT_EQ(text("ProductName"), "Kelvara Lanwise");
    const CliRun run = RunCli("--version");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.out, "lanwise-cli 1.1.2.0\n");
}

TEST_F(Cli, TakenPortEndsWithExitFive) {
    // This process holds the module port, so the program's library cannot
    // open its socket.
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    SOCKET holder = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    local.sin_port = htons(3250);
    ASSERT_EQ(bind(holder, reinterpret_cast<const sockaddr*>(&local), sizeof local), 0);
    const CliRun run = RunCli("scan --wait 100");
    closesocket(holder);
    WSACleanup();
    EXPECT_EQ(run.exitCode, 5u);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("UDP port 3250"), std::string::npos) << run.err;
}

}  // namespace
