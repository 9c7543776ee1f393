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

namespace {

constexpr DWORD kPreScanMs = kDefaultScanWaitMs;
// A plan is typed by hand or exported from a spreadsheet; anything larger
// is not a plan.
constexpr long kMaxPlanBytes = 1 << 20;
constexpr char kScanNotSent[] =
    "lanwise-cli: the scan could not be sent: UDP port 3250 is taken by another program "
    "(such as Kelvara Lanwise) or no network adapter is up\n";

void PrintError(const std::string& message) { std::fprintf(stderr, "lanwise-cli: %s\n", message.c_str()); }

void PrintLine(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
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

const VORN_ModuleScanResponseType* FindAnswer(const std::vector<VORN_ModuleScanResponseType>& answers,
                                              const MacAddress& mac) {
    for (const VORN_ModuleScanResponseType& answer : answers) {
        if (answer.macIdValid && std::memcmp(answer.macId, mac.bytes, VORN_MAC_SIZE) == 0) return &answer;
    }
    return nullptr;
}

Outcome VerifyOutcome(LibrarySession& session, const VORN_ConfigureRequestType& request, const MacAddress& mac) {
    std::vector<VORN_ModuleScanResponseType> answers;
    if (!session.Scan({mac}, kPreScanMs, answers)) return Outcome::NotVerified;
    const VORN_ModuleScanResponseType* answer = FindAnswer(answers, mac);
    return answer && AnswerShowsRequest(*answer, request) ? Outcome::Verified : Outcome::NotVerified;
}

// One module, as configure and each row of apply do it.
RowResult ConfigureOne(LibrarySession& session, const std::vector<VORN_ModuleScanResponseType>& answers,
                       const MacAddress& mac, const ModuleSettings& settings, const CliArguments& args) {
    RowResult result = {mac, Outcome::NotFound, std::string()};
    const VORN_ModuleScanResponseType* answer = FindAnswer(answers, mac);
    if (!answer) return result;
    VORN_ConfigureRequestType request;
    std::string text;
    if (!PrepareConfigureRequest(*answer, settings, request, result.detail) ||
        !ConfigureRequestText(request, text, result.detail)) {
        result.outcome = Outcome::Refused;
        return result;
    }
    if (args.dryRun) {
        result.outcome = Outcome::DryRun;
        result.detail = text;
        return result;
    }
    switch (session.Configure(request, static_cast<DWORD>(args.waitMs))) {
        case Verdict::InvalidPassword: result.outcome = Outcome::InvalidPassword; return result;
        case Verdict::NoReply: result.outcome = Outcome::NoReply; return result;
        case Verdict::Reconfigured: break;
    }
    result.outcome = args.verify ? VerifyOutcome(session, request, mac) : Outcome::Reconfigured;
    return result;
}

int RunScan(const CliArguments& args) {
    LibrarySession session;
    std::vector<VORN_ModuleScanResponseType> answers;
    if (!session.Scan({}, static_cast<DWORD>(args.waitMs), answers)) {
        std::fputs(kScanNotSent, stderr);
        return exit_code::kScanNotSent;
    }
    std::fputs(FormatScanLines(ScanLines(answers), args.format).c_str(), stdout);
    return exit_code::kSuccess;
}

int RunConfigure(const CliArguments& args) {
    LibrarySession session;
    std::vector<VORN_ModuleScanResponseType> answers;
    if (!session.Scan({args.mac}, kPreScanMs, answers)) {
        std::fputs(kScanNotSent, stderr);
        return exit_code::kScanNotSent;
    }
    const RowResult result = ConfigureOne(session, answers, args.mac, args.settings, args);
    // A refused value is a fault of the command line, told where faults go.
    if (result.outcome == Outcome::Refused) {
        PrintError(ResultLine(result));
    } else {
        PrintLine(ResultLine(result));
    }
    return ConfigureExitCode(result.outcome);
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
    std::vector<VORN_ModuleScanResponseType> answers;
    if (!session.Scan(wanted, kPreScanMs, answers)) {
        std::fputs(kScanNotSent, stderr);
        return exit_code::kScanNotSent;
    }
    std::vector<RowResult> results;
    for (const PlanRow& row : rows) {
        results.push_back(ConfigureOne(session, answers, row.mac, row.settings, args));
        PrintLine(ResultLine(results.back()));
    }
    return PlanExitCode(results);
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
    if (!ParseCliArguments(args, parsed, error)) {
        PrintError(error + " (see lanwise-cli --help)");
        return exit_code::kUsage;
    }
    return Run(parsed);
}
