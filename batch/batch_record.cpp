#include "batch_record.h"

#include <algorithm>
#include <cstring>

#include "module_row_texts.h"
#include "network_text_guard.h"

namespace {

constexpr char kRecordHeader[] = "MAC,Type,Old_IP,IP,SN,GW,Hostname,Result\n";

std::string AddressCell(const std::optional<std::uint32_t>& setting, const CString& reported) {
    return setting ? DottedAddressText(*setting).Str() : reported.Str();
}

std::string HostnameCell(const BatchEntry& entry) {
    if (entry.settings.hostname) return *entry.settings.hostname;
    if (entry.answer.hnValid != 1) return kNotAvailableText;
    const void* nul = std::memchr(entry.answer.hn, '\0', sizeof entry.answer.hn);
    const std::size_t length = nul ? static_cast<const char*>(nul) - entry.answer.hn : sizeof entry.answer.hn;
    return std::string(entry.answer.hn, length);
}

bool SameMac(const VORN_ModuleScanResponseType& module, const MacAddress& mac) {
    return module.macIdValid == 1 && std::memcmp(module.macId, mac.bytes, VORN_MAC_SIZE) == 0;
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

std::string BatchRecordText(const std::vector<BatchEntry>& entries) {
    std::string text = kRecordHeader;
    for (const BatchEntry& entry : entries) {
        const std::array<CString, kModuleColumnCount> reported = ModuleRowTexts(entry.answer);
        const std::string cells[] = {
            reported[kMacColumn].Str(),
            reported[kTypeColumn].Str(),
            reported[kIpColumn].Str(),
            AddressCell(entry.settings.ip, reported[kIpColumn]),
            AddressCell(entry.settings.sn, reported[kSubnetMaskColumn]),
            AddressCell(entry.settings.gw, reported[kGatewayColumn]),
            HostnameCell(entry),
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
            match.planned[i] = &row.settings;
            listed = true;
        }
        if (!listed) match.unlisted.push_back(MacArgumentText(row.mac));
    }
    return match;
}
