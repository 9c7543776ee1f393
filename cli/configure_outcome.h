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

// The request's text with the values of "Password" and "New Password"
// shown as "****", for printing.
std::string MaskedRequestText(const VORN_ConfigureRequestType& request);

// Empty when the request leaves the module's IP, SN, GW and DHCP as it
// reports them (or only turns DHCP on), or leaves them plausible
// (ImplausibleAddressing); otherwise the rule they break. A request that leaves the IP or the mask out, or a
// module that reports neither, gives nothing to check.
std::string ImplausibleRequest(const VORN_ModuleScanResponseType& answer, const VORN_ConfigureRequestType& request);

// True when a rescan's answer shows what the request set: the addresses,
// the host name and the DHCP state it carries. A value the module leaves
// out matches a request that cleared it (0.0.0.0, an empty name).
bool AnswerShowsRequest(const VORN_ModuleScanResponseType& answer, const VORN_ConfigureRequestType& request);

enum class Outcome {
    Reconfigured,
    Verified,
    NotVerifiable,
    Unchanged,
    InvalidPassword,
    NotFound,
    NoReply,
    NotVerified,
    NotSent,
    PasswordRequired,
    Refused,
    DryRun
};

// The module's DHCP state as a request carries it: kLeftOutDhcp when the
// module reports neither on nor off.
std::uint8_t ReportedDhcp(const VORN_ModuleScanResponseType& answer);

struct RowResult {
    MacAddress mac;
    Outcome outcome;
    // The reason of a refusal, the request of a dry run (passwords
    // masked), the hint of a module not found.
    std::string detail;
    // A refusal of settings that would cut the module off, which the
    // command line's --force overrides.
    bool implausible = false;
};

// What a rescan's answer (after) proves of a request the module took, its
// answer before the request being before: Verified when it shows all the
// request set, the password state included (a new password that is not
// empty turns it on); NotVerified when it shows something else;
// NotVerifiable when it shows all it tells but the request set what it
// does not tell (a password, to a module that reports no password state)
// or a password that leaves the state as it was, and changed nothing else.
Outcome VerificationOutcome(const VORN_ModuleScanResponseType& before, const VORN_ModuleScanResponseType& after,
                            const VORN_ConfigureRequestType& request);

// One module's row, decided before anything is sent, as configure and
// each row of apply decide it: Unchanged when the settings change nothing
// the module reports; Refused with the reason when a value cannot be set
// or, unless force, when the IP, SN and GW it would be left with are
// implausible; PasswordRequired when the module reports its password on
// and no password is given; else DryRun, with request ready to send and
// its masked text as detail.
RowResult PrepareRow(const VORN_ModuleScanResponseType& answer, const ModuleSettings& settings, bool force,
                     VORN_ConfigureRequestType& request);

// A module that did not answer the scan of waitedMs, with a hint.
RowResult NotFoundResult(const MacAddress& mac, int waitedMs);

// "<MAC> <outcome>", as apply prints one per row; a dry run's request,
// a refusal's reason and a missing module's hint follow the outcome.
std::string ResultLine(const RowResult& result);

int ConfigureExitCode(Outcome outcome);
// 5 when a request could not be sent, else 6 when any row failed
// (password required among them).
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
