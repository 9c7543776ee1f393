#include "batch_record.h"

#include <algorithm>
#include <cstring>

#include "configure_outcome.h"
#include "module_row_texts.h"
#include "network_text_guard.h"

namespace {

constexpr char kRecordHeader[] = "MAC,Type,Old_IP,IP,SN,GW,DHCP,Hostname,Result\n";

std::string AddressCell(const std::optional<std::uint32_t>& setting, const CString& reported) {
    return setting ? DottedAddressText(*setting).Str() : reported.Str();
}

std::string DhcpCell(const ModuleSettings& settings) {
    if (!settings.dhcpOn) return kNotAvailableText;
    return *settings.dhcpOn ? "on" : "off";
}

std::string HostnameCell(const BatchEntry& entry, const ModuleSettings& settings) {
    if (settings.hostname) return *settings.hostname;
    if (entry.answer.hnValid != 1) return kNotAvailableText;
    const void* nul = std::memchr(entry.answer.hn, '\0', sizeof entry.answer.hn);
    const std::size_t length = nul ? static_cast<const char*>(nul) - entry.answer.hn : sizeof entry.answer.hn;
    return std::string(entry.answer.hn, length);
}

bool SameMac(const VORN_ModuleScanResponseType& module, const MacAddress& mac) {
    return module.macIdValid == 1 && std::memcmp(module.macId, mac.bytes, VORN_MAC_SIZE) == 0;
}

// Nothing went to the module: it keeps what it reports.
bool NeverSent(BatchResult result) {
    return result == BatchResult::Pending || result == BatchResult::NeedsHostname ||
           result == BatchResult::PasswordRequired || result == BatchResult::Refused ||
           result == BatchResult::Stopped;
}

// The dialog's word for what the command line decides before sending; a
// module with no host name of its own needs one from the pattern.
BatchResult DecisionOf(const BatchEntry& entry, Outcome outcome) {
    switch (outcome) {
        case Outcome::Unchanged: return BatchResult::Unchanged;
        case Outcome::PasswordRequired: return BatchResult::PasswordRequired;
        case Outcome::DryRun: return BatchResult::Pending;
        default: break;
    }
    return entry.answer.hnValid != 1 && !entry.settings.hostname ? BatchResult::NeedsHostname : BatchResult::Refused;
}

}  // namespace

const char* BatchResultText(BatchResult result) {
    switch (result) {
        case BatchResult::Pending: break;
        case BatchResult::Unchanged: return "unchanged";
        case BatchResult::NeedsHostname: return "needs a host name";
        case BatchResult::PasswordRequired: return "password required";
        case BatchResult::Refused: return "refused";
        case BatchResult::Stopped: return "not sent";
        case BatchResult::Reconfigured: return "reconfigured";
        case BatchResult::InvalidPassword: return "invalid password";
        case BatchResult::NoReply: return "no reply";
        case BatchResult::Verified: return "verified";
        case BatchResult::NotVerifiable: return "reconfigured (not verifiable)";
        case BatchResult::NotVerified: return "not verified";
    }
    return "";
}

std::string EntryResultText(const BatchEntry& entry) {
    const std::string word = BatchResultText(entry.result);
    return entry.result == BatchResult::Refused && !entry.reason.empty() ? word + ": " + entry.reason : word;
}

BatchResult PrepareEntry(const BatchEntry& entry, VORN_ConfigureRequestType& request, std::string& reason) {
    if (entry.settings.password && !CheckPasswordSetting(*entry.settings.password, reason)) {
        return BatchResult::Refused;
    }
    const RowResult row = PrepareRow(entry.answer, entry.settings, false, request);
    const BatchResult decision = DecisionOf(entry, row.outcome);
    if (decision != BatchResult::Pending) reason = row.detail;
    return decision;
}

std::string BatchRecordText(const std::vector<BatchEntry>& entries) {
    std::string text = kRecordHeader;
    const ModuleSettings keep;
    for (const BatchEntry& entry : entries) {
        const ModuleSettings& s = NeverSent(entry.result) ? keep : entry.settings;
        const std::array<CString, kModuleColumnCount> reported = ModuleRowTexts(entry.answer);
        const std::string cells[] = {
            reported[kMacColumn].Str(),
            reported[kTypeColumn].Str(),
            reported[kIpColumn].Str(),
            AddressCell(s.ip, reported[kIpColumn]),
            AddressCell(s.sn, reported[kSubnetMaskColumn]),
            AddressCell(s.gw, reported[kGatewayColumn]),
            DhcpCell(s),
            HostnameCell(entry, s),
            EntryResultText(entry),
        };
        const char* separator = "";
        for (const std::string& cell : cells) {
            text += separator + SpreadsheetCell(cell, ',');
            separator = ",";
        }
        text += '\n';
    }
    return text;
}

std::string BatchSummary(const std::vector<BatchEntry>& entries) {
    static const BatchResult kOrder[] = {
        BatchResult::Verified,      BatchResult::NotVerifiable,    BatchResult::Reconfigured,
        BatchResult::Unchanged,     BatchResult::InvalidPassword,  BatchResult::NoReply,
        BatchResult::NotVerified,   BatchResult::NeedsHostname,    BatchResult::PasswordRequired,
        BatchResult::Refused,       BatchResult::Stopped,
    };
    std::string summary = std::to_string(entries.size()) + (entries.size() == 1 ? " module:" : " modules:");
    const char* separator = " ";
    for (const BatchResult result : kOrder) {
        const auto count = std::count_if(entries.begin(), entries.end(),
                                         [result](const BatchEntry& entry) { return entry.result == result; });
        if (count == 0) continue;
        summary += separator + std::to_string(count) + " " + BatchResultText(result);
        separator = ", ";
    }
    return summary;
}

PlanMatch MatchPlan(const std::vector<PlanRow>& rows, const std::vector<VORN_ModuleScanResponseType>& modules) {
    PlanMatch match;
    match.planned.assign(modules.size(), nullptr);
    for (const PlanRow& row : rows) {
        bool listed = false;
        for (std::size_t i = 0; i < modules.size(); ++i) {
            if (!SameMac(modules[i], row.mac)) continue;
            match.planned[i] = &row;
            listed = true;
        }
        if (!listed) match.unlisted.push_back(MacArgumentText(row.mac));
    }
    return match;
}

std::vector<std::string> RefusedPlanRows(const PlanMatch& match,
                                         const std::vector<VORN_ModuleScanResponseType>& modules) {
    std::vector<std::string> refused;
    for (std::size_t i = 0; i < modules.size(); ++i) {
        if (!match.planned[i]) continue;
        VORN_ConfigureRequestType request;
        std::string reason;
        const BatchEntry entry = {modules[i], match.planned[i]->settings, BatchResult::Pending, std::string()};
        const BatchResult decision = PrepareEntry(entry, request, reason);
        if (decision == BatchResult::NeedsHostname) reason = BatchResultText(decision);
        if (decision == BatchResult::Refused || decision == BatchResult::NeedsHostname) {
            refused.push_back("line " + std::to_string(match.planned[i]->line) + ": " + reason);
        }
    }
    return refused;
}
