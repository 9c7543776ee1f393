// What becomes of each module of a batch and the record of it: the words
// of the dialog's "Result" column, the plan a batch is shown from, and the
// CSV record that "lanwise-cli apply" reads back as a plan. Portable.
#ifndef KL_BATCH_BATCH_RECORD_H
#define KL_BATCH_BATCH_RECORD_H

#include <string>
#include <vector>

#include "configure_plan.h"
#include "module_settings.h"
#include "vorn.h"

enum class BatchResult {
    Pending,
    Unchanged,
    NeedsHostname,
    PasswordRequired,
    Refused,
    Stopped,
    Reconfigured,
    InvalidPassword,
    NoReply,
    Verified,
    NotVerifiable,
    NotVerified
};

// The "Result" column's word: "", "unchanged", "needs a host name",
// "password required", "refused", "not sent", "reconfigured", "invalid
// password", "no reply", "verified", "reconfigured (not verifiable)", "not
// verified".
const char* BatchResultText(BatchResult result);

// One module of a batch: its answer, what it is sent and what came of it.
struct BatchEntry {
    VORN_ModuleScanResponseType answer;
    ModuleSettings settings;
    BatchResult result = BatchResult::Pending;
    std::string reason;  // of a refusal
};

// The word, and for a refusal its reason: "refused: <reason>".
std::string EntryResultText(const BatchEntry& entry);

// What is decided for an entry before anything is sent: Pending with the
// request ready to send; else Unchanged, PasswordRequired, NeedsHostname,
// or Refused with the reason (a password the command line refuses among
// them: a ";" in it would carry fields of its own into the request).
BatchResult PrepareEntry(const BatchEntry& entry, VORN_ConfigureRequestType& request, std::string& reason);

// The record: a header line, then one line per entry: MAC, Type, the old
// IP, the new IP, SN, GW, DHCP ("off" where the request turned it off,
// "N/A" where it was left), the host name sent (the module's own when none
// was given) and the result. An entry that was never sent is written with
// the values the module reports, so that the row reads "unchanged". Its
// columns MAC, IP, SN, GW, DHCP and Hostname are a plan's; no password is
// written.
std::string BatchRecordText(const std::vector<BatchEntry>& entries);

// "24 modules: 23 verified, 1 invalid password": how many entries came to
// each result, for the results that occurred.
std::string BatchSummary(const std::vector<BatchEntry>& entries);

// A plan shown against the listed modules: the row of each listed module
// the plan names (planned[i] for modules[i]), and the plan's MACs that no
// listed module has, in plan order.
struct PlanMatch {
    std::vector<const PlanRow*> planned;
    std::vector<std::string> unlisted;
};
PlanMatch MatchPlan(const std::vector<PlanRow>& rows, const std::vector<VORN_ModuleScanResponseType>& modules);

// The matched rows that would not be sent (PrepareEntry refuses them or
// finds no host name), in list order: "line 3: <reason>".
std::vector<std::string> RefusedPlanRows(const PlanMatch& match,
                                         const std::vector<VORN_ModuleScanResponseType>& modules);

#endif
