// One module's configuration from its scan answer and the settings asked
// for, checked the way the program's configure dialog checks it, and what
// came of it: the result line and the exit code. Portable.
#ifndef KL_CLI_CONFIGURE_OUTCOME_H
#define KL_CLI_CONFIGURE_OUTCOME_H

#include <string>
#include <vector>

#include "module_settings.h"
#include "vorn.h"

// True when settings ask for anything the module does not report already:
// a value it reports otherwise or not at all, or a new password.
bool ChangesReportedValues(const VORN_ModuleScanResponseType& answer, const ModuleSettings& settings);

// Fills request with the settings given and, for the rest, the values the
// module reports: an address or DHCP state it does not report is left out
// of the request, and its host name is sent back whole. False with a
// reason when a given value cannot be set (a value the module does not
// report, 255.255.255.255, an illegal host name) or when the request would
// carry an illegal host name or none at all.
bool PrepareConfigureRequest(const VORN_ModuleScanResponseType& answer, const ModuleSettings& settings,
                             VORN_ConfigureRequestType& request, std::string& reason);

// The request's text as the library sends it; false when the library
// would refuse to send it because it cannot be carried whole.
bool ConfigureRequestText(const VORN_ConfigureRequestType& request, std::string& text, std::string& reason);

// True when a rescan's answer shows what the request set: the addresses,
// the host name and the DHCP state it carries. A value the module leaves
// out matches a request that cleared it (0.0.0.0, an empty name).
bool AnswerShowsRequest(const VORN_ModuleScanResponseType& answer, const VORN_ConfigureRequestType& request);

enum class Outcome {
    Reconfigured,
    Verified,
    Unchanged,
    InvalidPassword,
    NotFound,
    NoReply,
    NotVerified,
    NotSent,
    Refused,
    DryRun
};

struct RowResult {
    MacAddress mac;
    Outcome outcome;
    std::string detail;  // the reason of a refusal, the request of a dry run
};

// "<MAC> <outcome>", as apply prints one per row.
std::string ResultLine(const RowResult& result);

int ConfigureExitCode(Outcome outcome);
// 5 when a request could not be sent, else 6 when any row failed.
int PlanExitCode(const std::vector<RowResult>& results);

// "3 rows: 1 verified, 2 unchanged": how many rows came to each outcome,
// for the outcomes that occurred.
std::string PlanSummary(const std::vector<RowResult>& results);

namespace exit_code {
constexpr int kSuccess = 0;
constexpr int kUsage = 2;
constexpr int kInvalidPassword = 3;
constexpr int kNotFound = 4;
constexpr int kNotSent = 5;
constexpr int kRowsFailed = 6;
constexpr int kNotVerified = 7;
}  // namespace exit_code

#endif
