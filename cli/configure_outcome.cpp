#include "configure_outcome.h"

#include <algorithm>
#include <cstring>

#include "configure_request.h"
#include "network_text_guard.h"
#include "settings_plausibility.h"
#include "wire_messages.h"

namespace {

std::string FieldText(const char (&field)[VORN_TEXT_SIZE]) {
    const void* nul = std::memchr(field, '\0', sizeof field);
    return std::string(field, nul ? static_cast<const char*>(nul) - field : sizeof field);
}

// The texts given were checked against the 29 characters the dialog
// keeps, so they always fit.
void StoreText(char (&field)[VORN_TEXT_SIZE], const std::string& text) {
    const std::size_t length = text.size() < sizeof field ? text.size() : sizeof field - 1;
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

// No address given, or the one the module reports already.
bool KeepsAddress(const std::optional<std::uint32_t>& setting, std::uint8_t valid, std::uint32_t reported) {
    return !setting || (valid == 1 && reported == *setting);
}

bool KeepsHostname(const VORN_ModuleScanResponseType& answer, const ModuleSettings& s) {
    return !s.hostname || (answer.hnValid == 1 && FieldText(answer.hn) == *s.hostname);
}

std::uint8_t DhcpOf(const VORN_ModuleScanResponseType& answer, const ModuleSettings& s) {
    if (!s.dhcpOn) return ReportedDhcp(answer);
    return *s.dhcpOn ? 1 : 0;
}

// As an address, a DHCP state the module does not report cannot be set.
bool SetDhcp(const VORN_ModuleScanResponseType& answer, const ModuleSettings& s, VORN_ConfigureRequestType& r,
             std::string& reason) {
    r.dhcp = DhcpOf(answer, s);
    if (!s.dhcpOn || ReportedDhcp(answer) != kLeftOutDhcp) return true;
    reason = "the module reports no DHCP state";
    return false;
}

// The given address, else the reported one, else left out. As in the
// dialog, whose control for a value the module does not report is
// disabled, such a value cannot be set.
bool SetAddress(const std::optional<std::uint32_t>& setting, std::uint8_t valid, std::uint32_t reported,
                std::uint32_t& value, const char* name, std::string& reason) {
    value = valid == 1 ? reported : kLeftOutAddress;
    if (KeepsAddress(setting, valid, reported)) return true;
    if (valid != 1) {
        reason = std::string("the module reports no ") + name;
        return false;
    }
    if (*setting == kLeftOutAddress) {
        reason = "255.255.255.255 cannot be sent";
        return false;
    }
    value = *setting;
    return true;
}

bool SetAddresses(const VORN_ModuleScanResponseType& a, const ModuleSettings& s, VORN_ConfigureRequestType& r,
                  std::string& reason) {
    return SetAddress(s.ip, a.ipValid, a.ip, r.ip, "IP address", reason) &&
           SetAddress(s.sn, a.snValid, a.sn, r.sn, "subnet mask", reason) &&
           SetAddress(s.gw, a.gwValid, a.gw, r.gw, "gateway", reason) &&
           SetAddress(s.dns1, a.dns1Valid, a.dns1, r.dns1, "primary DNS server", reason) &&
           SetAddress(s.dns2, a.dns2Valid, a.dns2, r.dns2, "secondary DNS server", reason);
}

// Every request carries a host name: the given one, checked as a typed
// one is, or the module's own, whole and only when it is legal.
bool SetHostname(const VORN_ModuleScanResponseType& answer, const ModuleSettings& s, VORN_ConfigureRequestType& r,
                 std::string& reason) {
    if (!KeepsHostname(answer, s)) {
        if (!CheckHostnameSetting(*s.hostname, reason)) return false;
        StoreText(r.hn, *s.hostname);
        return true;
    }
    if (answer.hnValid != 1) {
        reason = "the module reports no host name, and a request must carry one: give a host name";
        return false;
    }
    std::memcpy(r.hn, answer.hn, sizeof r.hn);
    if (IsLegalHostname(FieldText(answer.hn).c_str())) return true;
    reason = "the module's host name \"" + TerminalText(FieldText(answer.hn)) + "\" is not legal; give a new one";
    return false;
}

// A field the module leaves out matches a request that cleared it; a
// field left out of the request is not looked at.
bool AddressShown(std::uint8_t valid, std::uint32_t reported, std::uint32_t sent) {
    if (sent == kLeftOutAddress) return true;
    return valid ? reported == sent : sent == 0;
}

const char* OutcomeText(Outcome outcome) {
    switch (outcome) {
        case Outcome::Reconfigured: return "reconfigured";
        case Outcome::Verified: return "verified";
        case Outcome::NotVerifiable: return "reconfigured (not verifiable)";
        case Outcome::Unchanged: return "unchanged";
        case Outcome::InvalidPassword: return "invalid password";
        case Outcome::NotFound: return "not found";
        case Outcome::NoReply: return "no reply";
        case Outcome::NotVerified: return "not verified";
        case Outcome::NotSent: return "not sent";
        case Outcome::PasswordRequired: return "password required";
        case Outcome::Refused: return "refused:";
        case Outcome::DryRun: break;
    }
    return "";
}

// The value the module reports, as a request carries it.
std::uint32_t ReportedAddress(std::uint8_t valid, std::uint32_t reported) {
    return valid == 1 ? reported : kLeftOutAddress;
}

// The module reports its password as on or off.
bool KnownPasswordState(const VORN_ModuleScanResponseType& answer) {
    return answer.pswdValid == 1 && answer.pswd <= 1;
}

// Whether the password state the module reports shows the request's new
// password; false in known when it reports none.
bool PasswordStateShown(const VORN_ModuleScanResponseType& answer, const VORN_ConfigureRequestType& request,
                        bool& known) {
    known = KnownPasswordState(answer);
    if (request.newPswdValid != 1 || !known) return true;
    const bool protectedAfter = request.newPswd[0] != '\0';
    return (answer.pswd == 1) == protectedAfter;
}

bool RequiresPassword(const VORN_ModuleScanResponseType& answer, const ModuleSettings& settings) {
    return answer.pswdValid == 1 && answer.pswd == 1 && (!settings.password || settings.password->empty());
}

// An outcome as the closing count names it.
const char* CountedName(Outcome outcome) {
    if (outcome == Outcome::DryRun) return "to send";
    if (outcome == Outcome::Refused) return "refused";
    return OutcomeText(outcome);
}

}  // namespace

std::uint8_t ReportedDhcp(const VORN_ModuleScanResponseType& answer) {
    return answer.dhcpValid == 1 && answer.dhcp <= 1 ? answer.dhcp : kLeftOutDhcp;
}

bool ChangesReportedValues(const VORN_ModuleScanResponseType& a, const ModuleSettings& s) {
    const bool keepsAddresses = KeepsAddress(s.ip, a.ipValid, a.ip) && KeepsAddress(s.sn, a.snValid, a.sn) &&
                                KeepsAddress(s.gw, a.gwValid, a.gw) && KeepsAddress(s.dns1, a.dns1Valid, a.dns1) &&
                                KeepsAddress(s.dns2, a.dns2Valid, a.dns2);
    const bool keepsDhcp = !s.dhcpOn || DhcpOf(a, s) == ReportedDhcp(a);
    return !(keepsAddresses && KeepsHostname(a, s) && keepsDhcp && !s.newPassword);
}

bool PrepareConfigureRequest(const VORN_ModuleScanResponseType& answer, const ModuleSettings& settings,
                             VORN_ConfigureRequestType& request, std::string& reason) {
    request = VORN_ConfigureRequestType();
    std::memcpy(request.macId, answer.macId, VORN_MAC_SIZE);
    if (!SetAddresses(answer, settings, request, reason) || !SetDhcp(answer, settings, request, reason) ||
        !SetHostname(answer, settings, request, reason)) {
        return false;
    }
    // As in the dialog, the current password goes only to a module that
    // reports being protected.
    if (settings.password && answer.pswdValid && answer.pswd) StoreText(request.pswd, *settings.password);
    if (settings.newPassword) {
        request.newPswdValid = 1;
        StoreText(request.newPswd, *settings.newPassword);
    }
    return true;
}

bool ConfigureRequestText(const VORN_ConfigureRequestType& request, std::string& text, std::string& reason) {
    const vorn::ConfigureRequestText built = vorn::BuildConfigureRequest(request);
    if (built.length == 0) {
        reason = "the request is too long to be sent whole";
        return false;
    }
    text.assign(built.text, built.length);
    return true;
}

std::string MaskedRequestText(const VORN_ConfigureRequestType& request) {
    VORN_ConfigureRequestType masked = request;
    if (masked.pswd[0] != '\0') StoreText(masked.pswd, "****");
    if (masked.newPswdValid == 1) StoreText(masked.newPswd, "****");
    const vorn::ConfigureRequestText built = vorn::BuildConfigureRequest(masked);
    return std::string(built.text, built.length);
}

std::string ImplausibleRequest(const VORN_ModuleScanResponseType& answer, const VORN_ConfigureRequestType& request) {
    // DHCP turned off leaves the module with its own addresses.
    const bool changed = request.ip != ReportedAddress(answer.ipValid, answer.ip) ||
                         request.sn != ReportedAddress(answer.snValid, answer.sn) ||
                         request.gw != ReportedAddress(answer.gwValid, answer.gw) ||
                         (request.dhcp == 0 && ReportedDhcp(answer) == 1);
    if (!changed || request.ip == kLeftOutAddress || request.sn == kLeftOutAddress) return std::string();
    // A gateway the request leaves out is one the module does not report.
    const ModuleAddressing after = {request.ip, request.sn, request.gw == kLeftOutAddress ? 0 : request.gw,
                                    request.dhcp == 1};
    return ImplausibleAddressing(after).Str();
}

bool AnswerShowsRequest(const VORN_ModuleScanResponseType& answer, const VORN_ConfigureRequestType& request) {
    const std::string sentName = FieldText(request.hn);
    const bool nameShown = answer.hnValid ? FieldText(answer.hn) == sentName : sentName.empty();
    const bool dhcpShown = request.dhcp == kLeftOutDhcp ||
                           (answer.dhcpValid ? answer.dhcp == request.dhcp : request.dhcp == 0);
    return AddressShown(answer.ipValid, answer.ip, request.ip) && AddressShown(answer.snValid, answer.sn, request.sn) &&
           AddressShown(answer.gwValid, answer.gw, request.gw) &&
           AddressShown(answer.dns1Valid, answer.dns1, request.dns1) &&
           AddressShown(answer.dns2Valid, answer.dns2, request.dns2) && nameShown && dhcpShown;
}

Outcome VerificationOutcome(const VORN_ModuleScanResponseType& before, const VORN_ModuleScanResponseType& after,
                            const VORN_ConfigureRequestType& request) {
    bool passwordStateKnown = false;
    if (!AnswerShowsRequest(after, request) || !PasswordStateShown(after, request, passwordStateKnown)) {
        return Outcome::NotVerified;
    }
    if (request.newPswdValid != 1) return Outcome::Verified;
    if (!passwordStateKnown) return Outcome::NotVerifiable;
    // A module takes a request whole, so the other changes it shows prove
    // the new password too; a password state it had already proves nothing.
    const bool stateKept = KnownPasswordState(before) && before.pswd == after.pswd;
    return stateKept && AnswerShowsRequest(before, request) ? Outcome::NotVerifiable : Outcome::Verified;
}

RowResult PrepareRow(const VORN_ModuleScanResponseType& answer, const ModuleSettings& settings, bool force,
                     VORN_ConfigureRequestType& request) {
    RowResult result = {{}, Outcome::Unchanged, std::string()};
    std::memcpy(result.mac.bytes, answer.macId, VORN_MAC_SIZE);
    if (!ChangesReportedValues(answer, settings)) return result;
    result.outcome = Outcome::Refused;
    std::string text;
    if (!PrepareConfigureRequest(answer, settings, request, result.detail) ||
        !ConfigureRequestText(request, text, result.detail)) {
        return result;
    }
    const std::string implausible = force ? std::string() : ImplausibleRequest(answer, request);
    if (!implausible.empty()) {
        result.detail = implausible;
        result.implausible = true;
        return result;
    }
    if (RequiresPassword(answer, settings)) {
        result.outcome = Outcome::PasswordRequired;
        return result;
    }
    result.outcome = Outcome::DryRun;
    result.detail = MaskedRequestText(request);
    return result;
}

RowResult NotFoundResult(const MacAddress& mac, int waitedMs) {
    return {mac, Outcome::NotFound,
            "no module with this MAC answered within " + std::to_string(waitedMs) + " ms; --wait waits longer"};
}

std::string ResultLine(const RowResult& result) {
    std::string line = MacArgumentText(result.mac) + " ";
    if (result.outcome == Outcome::DryRun) return line + result.detail;
    line += OutcomeText(result.outcome);
    if (result.outcome == Outcome::Refused) line += " " + result.detail;
    if (result.implausible) line += "; --force sends it all the same";
    if (result.outcome == Outcome::NotFound && !result.detail.empty()) line += ": " + result.detail;
    return line;
}

int ConfigureExitCode(Outcome outcome) {
    switch (outcome) {
        case Outcome::Reconfigured:
        case Outcome::Verified:
        case Outcome::NotVerifiable:
        case Outcome::Unchanged:
        case Outcome::DryRun: return exit_code::kSuccess;
        case Outcome::InvalidPassword: return exit_code::kInvalidPassword;
        case Outcome::NotFound:
        case Outcome::NoReply: return exit_code::kNotFound;
        case Outcome::NotVerified: return exit_code::kNotVerified;
        case Outcome::NotSent: return exit_code::kNotSent;
        case Outcome::PasswordRequired:
        case Outcome::Refused: break;
    }
    return exit_code::kUsage;
}

int PlanExitCode(const std::vector<RowResult>& results) {
    int code = exit_code::kSuccess;
    for (const RowResult& result : results) {
        if (result.outcome == Outcome::NotSent) return exit_code::kNotSent;
        if (ConfigureExitCode(result.outcome) != exit_code::kSuccess) code = exit_code::kRowsFailed;
    }
    return code;
}

std::string PlanSummary(const std::vector<RowResult>& results) {
    static const Outcome kOrder[] = {
        Outcome::Verified,         Outcome::NotVerifiable, Outcome::Reconfigured, Outcome::Unchanged,
        Outcome::DryRun,           Outcome::InvalidPassword, Outcome::NotFound,   Outcome::NoReply,
        Outcome::NotVerified,      Outcome::NotSent,       Outcome::PasswordRequired, Outcome::Refused,
    };
    std::string summary = std::to_string(results.size()) + (results.size() == 1 ? " row:" : " rows:");
    const char* separator = " ";
    for (Outcome outcome : kOrder) {
        const auto count = std::count_if(results.begin(), results.end(),
                                         [outcome](const RowResult& r) { return r.outcome == outcome; });
        if (count == 0) continue;
        summary += separator + std::to_string(count) + " " + CountedName(outcome);
        separator = ", ";
    }
    return summary;
}
