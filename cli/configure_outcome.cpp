#include "configure_outcome.h"

#include <cstring>

#include "configure_request.h"
#include "wire_messages.h"

namespace {

// The dialog shows a value the module does not report as a disabled
// control, so such a value cannot be set here either.
bool SetAddress(const std::optional<std::uint32_t>& setting, std::uint8_t valid, std::uint32_t& value,
                const char* name, std::string& reason) {
    if (!setting) return true;
    if (!valid) {
        reason = std::string("the module reports no ") + name;
        return false;
    }
    value = *setting;
    return true;
}

bool SetAddresses(const ModuleSettings& s, ConfigureValues& v, std::string& reason) {
    return SetAddress(s.ip, v.ipValid, v.ip, "IP address", reason) &&
           SetAddress(s.sn, v.snValid, v.sn, "subnet mask", reason) &&
           SetAddress(s.gw, v.gwValid, v.gw, "gateway", reason) &&
           SetAddress(s.dns1, v.dns1Valid, v.dns1, "primary DNS server", reason) &&
           SetAddress(s.dns2, v.dns2Valid, v.dns2, "secondary DNS server", reason);
}

std::string FieldText(const char (&field)[VORN_TEXT_SIZE]) {
    const void* nul = std::memchr(field, '\0', sizeof field);
    return std::string(field, nul ? static_cast<const char*>(nul) - field : sizeof field);
}

// A field the module leaves out matches a request that cleared it.
bool AddressShown(std::uint8_t valid, std::uint32_t reported, std::uint32_t sent) {
    return valid ? reported == sent : sent == 0;
}

const char* OutcomeText(Outcome outcome) {
    switch (outcome) {
        case Outcome::Reconfigured: return "reconfigured";
        case Outcome::Verified: return "verified";
        case Outcome::InvalidPassword: return "invalid password";
        case Outcome::NotFound: return "not found";
        case Outcome::NoReply: return "no reply";
        case Outcome::NotVerified: return "not verified";
        case Outcome::Refused: return "refused:";
        case Outcome::DryRun: break;
    }
    return "";
}

}  // namespace

bool PrepareConfigureRequest(const VORN_ModuleScanResponseType& answer, const ModuleSettings& settings,
                             VORN_ConfigureRequestType& request, std::string& reason) {
    ConfigureDialogStart start = DialogStartFromRecord(answer);
    ConfigureValues& values = start.values;
    if (!SetAddresses(settings, values, reason)) return false;
    if (settings.hostname) {
        if (!values.hnValid) {
            reason = "the module reports no host name";
            return false;
        }
        StoreConfigureText(values.hn, settings.hostname->c_str());
    }
    if (settings.dhcpOn) start.dhcpIndex = *settings.dhcpOn ? kDhcpOnIndex : kDhcpOffIndex;
    // The dialog's Password edit is read-only for a module that reports no
    // protection, so its password stays empty.
    if (settings.password && values.pswdEnabled) StoreConfigureText(values.pswd, settings.password->c_str());
    if (settings.newPassword) StoreConfigureText(values.newPswd, settings.newPassword->c_str());
    request = VORN_ConfigureRequestType();
    FillConfigureRequest(values, start.dhcpIndex, settings.newPassword ? 1 : 0, answer.macId, request);
    if (!IsLegalHostname(request.hn)) {
        reason = "the module's host name \"" + FieldText(request.hn) + "\" is not legal; give a new one";
        return false;
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

bool AnswerShowsRequest(const VORN_ModuleScanResponseType& answer, const VORN_ConfigureRequestType& request) {
    const std::string sentName = FieldText(request.hn);
    const bool nameShown = answer.hnValid ? FieldText(answer.hn) == sentName : sentName.empty();
    const bool dhcpShown = answer.dhcpValid ? answer.dhcp == request.dhcp : request.dhcp == 0;
    return AddressShown(answer.ipValid, answer.ip, request.ip) && AddressShown(answer.snValid, answer.sn, request.sn) &&
           AddressShown(answer.gwValid, answer.gw, request.gw) &&
           AddressShown(answer.dns1Valid, answer.dns1, request.dns1) &&
           AddressShown(answer.dns2Valid, answer.dns2, request.dns2) && nameShown && dhcpShown;
}

std::string ResultLine(const RowResult& result) {
    std::string line = MacArgumentText(result.mac) + " ";
    if (result.outcome == Outcome::DryRun) return line + result.detail;
    line += OutcomeText(result.outcome);
    if (result.outcome == Outcome::Refused) line += " " + result.detail;
    return line;
}

int ConfigureExitCode(Outcome outcome) {
    switch (outcome) {
        case Outcome::Reconfigured:
        case Outcome::Verified:
        case Outcome::DryRun: return exit_code::kSuccess;
        case Outcome::InvalidPassword: return exit_code::kInvalidPassword;
        case Outcome::NotFound:
        case Outcome::NoReply: return exit_code::kNotFound;
        case Outcome::NotVerified: return exit_code::kNotVerified;
        case Outcome::Refused: break;
    }
    return exit_code::kUsage;
}

int PlanExitCode(const std::vector<RowResult>& results) {
    for (const RowResult& result : results) {
        if (ConfigureExitCode(result.outcome) != exit_code::kSuccess) return exit_code::kRowsFailed;
    }
    return exit_code::kSuccess;
}
