// One module's configuration from its scan answer and the settings asked
// for, checked the way the program's configure dialog checks it, and what
// came of it: the result line and the exit code. Portable.
#ifndef KL_CLI_CONFIGURE_OUTCOME_H
#define KL_CLI_CONFIGURE_OUTCOME_H

#include <string>
#include <vector>

#include "module_settings.h"
#include "vorn.h"

// Fills request as the configure dialog would after the user typed the
// settings over the module's reported values; false with a reason when the
// dialog would not let them through (a value the module does not report,
// an illegal host name, among them one the module reports itself).
bool PrepareConfigureRequest(const VORN_ModuleScanResponseType& answer, const ModuleSettings& settings,
                             VORN_ConfigureRequestType& request, std::string& reason);

// The request's text as the library sends it; false when the library
// would refuse to send it because it cannot be carried whole.
bool ConfigureRequestText(const VORN_ConfigureRequestType& request, std::string& text, std::string& reason);

// True when a rescan's answer shows what the request set: the five
// addresses, the host name and the DHCP state. A value the module leaves
// out matches a request that cleared it (0.0.0.0, an empty name, DHCP off).
bool AnswerShowsRequest(const VORN_ModuleScanResponseType& answer, const VORN_ConfigureRequestType& request);

enum class Outcome { Reconfigured, Verified, InvalidPassword, NotFound, NoReply, NotVerified, Refused, DryRun };

struct RowResult {
    MacAddress mac;
    Outcome outcome;
    std::string detail;  // the reason of a refusal, the request of a dry run
};

// "<MAC> <outcome>", as apply prints one per row.
std::string ResultLine(const RowResult& result);

int ConfigureExitCode(Outcome outcome);
int PlanExitCode(const std::vector<RowResult>& results);

namespace exit_code {
constexpr int kSuccess = 0;
constexpr int kUsage = 2;
constexpr int kInvalidPassword = 3;
constexpr int kNotFound = 4;
constexpr int kScanNotSent = 5;
constexpr int kRowsFailed = 6;
constexpr int kNotVerified = 7;
}  // namespace exit_code

#endif
