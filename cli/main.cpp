// lanwise-cli.exe: scan, configure and commission modules from the command
// line through the exported functions of vorn.dll.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli_arguments.h"
#include "cli_version.h"
#include "configure_outcome.h"
#include "configure_plan.h"
#include "library_session.h"
#include "module_table.h"
#include "network_text_guard.h"
#include "workstation_adapters.h"

namespace {

// How long the scan that verifies reconfigured rows waits for them.
constexpr DWORD kVerifyScanMs = kDefaultScanWaitMs;
// Under --verify, the rows reconfigured are checked with one scan for up
// to this many of them: a scan per row would cost the whole segment's
// answers each time, and waiting for the plan's end would leave a long
// plan's lines unprinted until then.
constexpr std::size_t kVerifyBatchRows = 50;
// A plan is typed by hand or exported from a spreadsheet; anything larger
// is not a plan.
constexpr long kMaxPlanBytes = 1 << 20;
// Longer than any password that passes, so that a cut line is refused.
constexpr std::size_t kMaxInputLine = 256;

// Messages and result lines can carry a module's texts or a plan's cells:
// they reach the terminal as TerminalText shows them.
void PrintError(const std::string& message) {
    std::fprintf(stderr, "lanwise-cli: %s\n", TerminalText(message).c_str());
}

void PrintNotSent(const char* what) {
    PrintError(std::string(what) +
               " could not be sent: UDP port 3250 is taken by another program (such as Kelvara Lanwise) or no "
               "network adapter is up");
}

void PrintLine(const std::string& line) {
    std::printf("%s\n", TerminalText(line).c_str());
    std::fflush(stdout);
}

bool ReadLine(std::FILE* file, std::string& line) {
    line.clear();
    int c = 0;
    bool any = false;
    while ((c = std::fgetc(file)) != EOF && c != '\n') {
        any = true;
        if (line.size() < kMaxInputLine) line += static_cast<char>(c);
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return any || c == '\n';
}

// The next line of standard input. A console does not echo it, so that a
// password typed there stays off the screen.
bool ReadInputLine(const std::string& option, std::string& line) {
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    const bool console = GetConsoleMode(input, &mode) != 0;
    if (console) {
        std::fputs(option == "--new-password" ? "New password: " : "Password: ", stderr);
        std::fflush(stderr);
        SetConsoleMode(input, mode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
    }
    const bool read = ReadLine(stdin, line);
    if (console) {
        SetConsoleMode(input, mode);
        std::fputc('\n', stderr);
    }
    return read;
}

bool ReadPlanFile(const std::string& path, std::string& text, std::string& error) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = path + ": cannot be read";
        return false;
    }
    text.clear();
    char buffer[4096];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0 && text.size() <= kMaxPlanBytes) {
        text.append(buffer, count);
    }
    std::fclose(file);
    if (text.size() > kMaxPlanBytes) {
        error = path + ": larger than 1 MiB, not a plan";
        return false;
    }
    return true;
}

Outcome VerdictOutcome(Verdict verdict) {
    switch (verdict) {
        case Verdict::InvalidPassword: return Outcome::InvalidPassword;
        case Verdict::NoReply: return Outcome::NoReply;
        case Verdict::NotSent: return Outcome::NotSent;
        case Verdict::Reconfigured: break;
    }
    return Outcome::Reconfigured;
}

// One module's row before anything is sent, as configure and each row of
// apply decide it; request is what would be sent.
RowResult PrepareOne(const ModuleStore& answers, const MacAddress& mac, const ModuleSettings& settings,
                     const CliArguments& args, VORN_ConfigureRequestType& request) {
    const VORN_ModuleScanResponseType* answer = answers.Find(mac.bytes);
    if (!answer) return NotFoundResult(mac, args.scanWaitMs);
    return PrepareRow(*answer, settings, args.force, request);
}

// Sends a prepared row's request and awaits the module's verdict.
void SendOne(LibrarySession& session, const VORN_ConfigureRequestType& request, const CliArguments& args,
             RowResult& result) {
    result.outcome = VerdictOutcome(session.Configure(request, static_cast<DWORD>(args.waitMs)));
    result.detail.clear();
}

// A row reconfigured under --verify, waiting for the scan that checks it.
struct WaitingRow {
    std::size_t index;
    VORN_ModuleScanResponseType before;
    VORN_ConfigureRequestType request;
};

// Checks the waiting rows' modules with one scan; false when it could not
// be sent, and the rows stay reconfigured.
bool VerifyRows(LibrarySession& session, std::vector<WaitingRow>& waiting, std::vector<RowResult>& results) {
    std::vector<MacAddress> wanted;
    for (const WaitingRow& row : waiting) wanted.push_back(results[row.index].mac);
    ModuleStore answers;
    const bool sent = session.Scan(wanted, kVerifyScanMs, answers);
    for (const WaitingRow& row : waiting) {
        RowResult& result = results[row.index];
        const VORN_ModuleScanResponseType* answer = answers.Find(result.mac.bytes);
        if (sent) result.outcome = answer ? VerificationOutcome(row.before, *answer, row.request) : Outcome::NotVerified;
    }
    waiting.clear();
    return sent;
}

// Prints the lines of the first done rows as far as they are settled, in
// plan order: up to the first row still waiting for its check.
void PrintSettled(const std::vector<RowResult>& results, std::size_t done, const std::vector<WaitingRow>& waiting,
                  std::size_t& printed) {
    const std::size_t settled = waiting.empty() ? done : waiting.front().index;
    for (; printed < settled; ++printed) PrintLine(ResultLine(results[printed]));
}

int RunScan(const CliArguments& args) {
    LibrarySession session;
    ModuleStore answers;
    if (!session.Scan({}, static_cast<DWORD>(args.waitMs), answers)) {
        PrintNotSent("the scan");
        return exit_code::kNotSent;
    }
    std::fputs(FormatScanLines(ScanLines(answers.Records()), args.format, ReadWorkstationAdapters()).c_str(), stdout);
    if (answers.TurnedAway() > 0) {
        PrintError("only the first " + std::to_string(ModuleStore::kCapacity) + " modules are listed; " +
                   std::to_string(answers.TurnedAway()) + " answers from further MACs were left out");
    }
    return exit_code::kSuccess;
}

int RunConfigure(const CliArguments& args) {
    LibrarySession session;
    ModuleStore answers;
    if (!session.Scan({args.mac}, static_cast<DWORD>(args.scanWaitMs), answers)) {
        PrintNotSent("the scan");
        return exit_code::kNotSent;
    }
    VORN_ConfigureRequestType request = {};
    std::vector<RowResult> results = {PrepareOne(answers, args.mac, args.settings, args, request)};
    if (results[0].outcome == Outcome::PasswordRequired) {
        PrintError(MacArgumentText(args.mac) + " is password-protected: give --password");
        return exit_code::kUsage;
    }
    if (results[0].outcome == Outcome::DryRun) SendOne(session, request, args, results[0]);
    std::vector<WaitingRow> waiting;
    if (args.verify && results[0].outcome == Outcome::Reconfigured) waiting.push_back({0, *answers.Find(args.mac.bytes), request});
    const bool verifySent = waiting.empty() || VerifyRows(session, waiting, results);
    // A refused value is a fault of the command line, told where faults go.
    if (results[0].outcome == Outcome::Refused) {
        PrintError(ResultLine(results[0]));
    } else {
        PrintLine(ResultLine(results[0]));
    }
    if (results[0].outcome == Outcome::NotSent) PrintNotSent("the configure request");
    if (verifySent) return ConfigureExitCode(results[0].outcome);
    PrintNotSent("the scan that verifies it");
    return exit_code::kNotSent;
}

// A plan is checked whole before anything is sent: false, with a line per
// refused row, when any row is refused.
bool PlanAccepted(const CliArguments& args, const std::vector<PlanRow>& rows, const std::vector<RowResult>& results) {
    std::size_t refused = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (results[i].outcome != Outcome::Refused) continue;
        PrintError(args.planPath + ": line " + std::to_string(rows[i].line) + ": " + ResultLine(results[i]));
        ++refused;
    }
    if (refused == 0) return true;
    PrintError(args.planPath + ": " + std::to_string(refused) + (refused == 1 ? " row" : " rows") +
               " refused; nothing was sent");
    return false;
}

int RunApply(const CliArguments& args) {
    std::string text;
    std::string error;
    std::vector<PlanRow> rows;
    if (!ReadPlanFile(args.planPath, text, error)) {
        PrintError(error);
        return exit_code::kUsage;
    }
    if (!ParsePlan(text, rows, error)) {
        PrintError(args.planPath + ": " + error + "; nothing was sent");
        return exit_code::kUsage;
    }
    std::vector<MacAddress> wanted;
    for (const PlanRow& row : rows) wanted.push_back(row.mac);
    LibrarySession session;
    ModuleStore answers;
    if (!session.Scan(wanted, static_cast<DWORD>(args.scanWaitMs), answers)) {
        PrintNotSent("the scan");
        return exit_code::kNotSent;
    }
    std::vector<RowResult> results;
    std::vector<VORN_ConfigureRequestType> requests(rows.size(), VORN_ConfigureRequestType());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        results.push_back(PrepareOne(answers, rows[i].mac, rows[i].settings, args, requests[i]));
    }
    if (!PlanAccepted(args, rows, results)) return exit_code::kUsage;
    std::vector<WaitingRow> waiting;
    std::size_t printed = 0;
    bool verifySent = true;
    bool canSend = true;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        RowResult& result = results[i];
        // Once nothing can be sent, the rows left to send are not tried.
        if (result.outcome == Outcome::DryRun && !args.dryRun && !canSend) {
            result = {result.mac, Outcome::NotSent, std::string()};
        } else if (result.outcome == Outcome::DryRun && !args.dryRun) {
            SendOne(session, requests[i], args, result);
            canSend = result.outcome != Outcome::NotSent;
            if (!canSend) PrintNotSent("a configure request");
        }
        if (args.verify && result.outcome == Outcome::Reconfigured) waiting.push_back({i, *answers.Find(rows[i].mac.bytes), requests[i]});
        if (waiting.size() >= kVerifyBatchRows) verifySent = VerifyRows(session, waiting, results) && verifySent;
        PrintSettled(results, i + 1, waiting, printed);
    }
    if (!waiting.empty()) verifySent = VerifyRows(session, waiting, results) && verifySent;
    PrintSettled(results, results.size(), waiting, printed);
    PrintError(PlanSummary(results));
    if (verifySent) return PlanExitCode(results);
    PrintNotSent("the scan that verifies the rows");
    return exit_code::kNotSent;
}

int Run(const CliArguments& args) {
    switch (args.command) {
        case CliCommand::Help: std::fputs(CliHelpText(), stdout); return exit_code::kSuccess;
        case CliCommand::Version: PrintLine("lanwise-cli " KL_CLI_VERSION_DOTTED); return exit_code::kSuccess;
        case CliCommand::Scan: return RunScan(args);
        case CliCommand::Configure: return RunConfigure(args);
        case CliCommand::Apply: return RunApply(args);
    }
    return exit_code::kUsage;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    CliArguments parsed;
    std::string error;
    if (!ParseCliArguments(args, parsed, error, ReadInputLine)) {
        PrintError(error + " (see lanwise-cli --help)");
        return exit_code::kUsage;
    }
    return Run(parsed);
}
