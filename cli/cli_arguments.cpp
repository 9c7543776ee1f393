#include "cli_arguments.h"

#include <cstddef>
#include <optional>

namespace {

bool BeginsWithDashes(const std::string& text) { return text.compare(0, 2, "--") == 0; }

struct OptionReader {
    const std::vector<std::string>& args;
    std::size_t next;
    std::string& error;
    const InputLineReader& readInput;
    std::optional<std::string> joinedValue;  // of an option written --name=value

    bool Done() const { return next >= args.size(); }

    // The argument that must come next, such as a MAC; false when it is
    // missing or an option stands in its place.
    bool TakeOperand(const std::string& what, std::string& operand) {
        if (Done() || BeginsWithDashes(args[next])) {
            error = what;
            return false;
        }
        operand = args[next++];
        return true;
    }

    std::string TakeOption() {
        std::string option = args[next++];
        joinedValue.reset();
        const std::size_t equals = option.find('=');
        if (BeginsWithDashes(option) && equals != std::string::npos) {
            joinedValue = option.substr(equals + 1);
            option.resize(equals);
        }
        return option;
    }

    // The value of option: behind its "=", which passes any value, or the
    // next argument, which must not be missing or look like an option: a
    // forgotten value must not swallow the option behind it.
    bool TakeValue(const std::string& option, std::string& value) {
        if (joinedValue) {
            value = *joinedValue;
            joinedValue.reset();
            return true;
        }
        if (Done() || BeginsWithDashes(args[next])) {
            error = option + " needs a value (" + option + "=VALUE passes one that begins with \"--\")";
            return false;
        }
        value = args[next++];
        return true;
    }

    // As TakeValue; a separate "-" stands for the next line of standard
    // input, where other users of the computer cannot see it.
    bool TakeSecretValue(const std::string& option, std::string& value) {
        const bool joined = joinedValue.has_value();
        if (!TakeValue(option, value)) return false;
        if (joined || value != "-") return true;
        if (readInput && readInput(option, value)) return true;
        error = option + " -: standard input holds no line";
        return false;
    }

    bool TakeFlag(const std::string& option) {
        if (joinedValue) error = option + " takes no value";
        return !joinedValue;
    }
};

bool ParseWait(const std::string& text, int& waitMs, std::string& error) {
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9' || value > kMaxWaitMs) {
            value = -1;
            break;
        }
        value = value * 10 + (c - '0');
    }
    if (text.empty() || value < 1 || value > kMaxWaitMs) {
        error = "--wait takes milliseconds from 1 to 600000, not \"" + text + "\"";
        return false;
    }
    waitMs = static_cast<int>(value);
    return true;
}

bool ParseFormat(const std::string& text, ScanFormat& format, std::string& error) {
    if (text == "table") {
        format = ScanFormat::Table;
    } else if (text == "csv") {
        format = ScanFormat::Csv;
    } else if (text == "json") {
        format = ScanFormat::Json;
    } else {
        error = "--format is table, csv or json, not \"" + text + "\"";
        return false;
    }
    return true;
}

// A setting given twice is a mistake in a script more often than an
// intended override.
template <typename T>
bool Unset(const std::optional<T>& field, const std::string& option, std::string& error) {
    if (field) error = option + " given twice";
    return !field;
}

bool ReadAddressOption(const std::string& option, const std::string& value, std::optional<std::uint32_t>& field,
                       std::string& error) {
    if (!Unset(field, option, error)) return false;
    std::uint32_t address = 0;
    std::string reason;
    if (!ParseAddressSetting(value, address, reason)) {
        error = option + ": " + reason;
        return false;
    }
    field = address;
    return true;
}

bool ReadTextOption(const std::string& option, const std::string& value, std::optional<std::string>& field,
                    bool (*check)(const std::string&, std::string&), std::string& error) {
    if (!Unset(field, option, error)) return false;
    std::string reason;
    if (!check(value, reason)) {
        error = option + ": " + reason;
        return false;
    }
    field = value;
    return true;
}

// One option of configure; false on a fault or an option it does not take.
bool ReadSettingOption(const std::string& option, const std::string& value, ModuleSettings& s, std::string& error) {
    if (option == "--ip") return ReadAddressOption(option, value, s.ip, error);
    if (option == "--sn") return ReadAddressOption(option, value, s.sn, error);
    if (option == "--gw") return ReadAddressOption(option, value, s.gw, error);
    if (option == "--dns1") return ReadAddressOption(option, value, s.dns1, error);
    if (option == "--dns2") return ReadAddressOption(option, value, s.dns2, error);
    if (option == "--hostname") return ReadTextOption(option, value, s.hostname, CheckHostnameSetting, error);
    if (option == "--password") return ReadTextOption(option, value, s.password, CheckPasswordSetting, error);
    if (option == "--new-password") return ReadTextOption(option, value, s.newPassword, CheckPasswordSetting, error);
    if (option == "--dhcp") {
        if (!Unset(s.dhcpOn, option, error)) return false;
        bool on = false;
        std::string reason;
        if (!ParseDhcpSetting(value, on, reason)) {
            error = option + ": " + reason;
            return false;
        }
        s.dhcpOn = on;
        return true;
    }
    error = "configure does not take " + option;
    return false;
}

bool IsValueOption(const std::string& option) {
    return option == "--ip" || option == "--sn" || option == "--gw" || option == "--dns1" || option == "--dns2" ||
           option == "--hostname" || option == "--dhcp";
}

bool IsPasswordOption(const std::string& option) { return option == "--password" || option == "--new-password"; }

// The flag an option of configure or, with dryRun, of apply sets; null
// for any other option.
bool* FlagOption(const std::string& option, CliArguments& parsed, bool dryRun) {
    if (option == "--verify") return &parsed.verify;
    if (option == "--force") return &parsed.force;
    if (dryRun && option == "--dry-run") return &parsed.dryRun;
    return nullptr;
}

// --wait of configure and apply: the verdict's wait, and the scan's when
// longer, so that a module slow to answer is found.
bool ReadVerdictWait(OptionReader& in, const std::string& option, CliArguments& parsed) {
    std::string value;
    if (!in.TakeValue(option, value) || !ParseWait(value, parsed.waitMs, in.error)) return false;
    parsed.scanWaitMs = parsed.waitMs > kDefaultScanWaitMs ? parsed.waitMs : kDefaultScanWaitMs;
    return true;
}

bool ReadScan(OptionReader& in, CliArguments& parsed) {
    parsed.waitMs = kDefaultScanWaitMs;
    while (!in.Done()) {
        const std::string option = in.TakeOption();
        std::string value;
        if (option == "--wait") {
            if (!in.TakeValue(option, value) || !ParseWait(value, parsed.waitMs, in.error)) return false;
        } else if (option == "--format") {
            if (!in.TakeValue(option, value) || !ParseFormat(value, parsed.format, in.error)) return false;
        } else {
            in.error = "scan does not take " + option;
            return false;
        }
    }
    return true;
}

bool ReadConfigure(OptionReader& in, CliArguments& parsed) {
    parsed.waitMs = kDefaultVerdictWaitMs;
    std::string macText;
    if (!in.TakeOperand("configure needs the module's MAC address", macText)) return false;
    if (!ParseMacArgument(macText, parsed.mac)) {
        in.error = "\"" + macText + "\" is not a MAC address such as 02-00-00-00-00-01";
        return false;
    }
    while (!in.Done()) {
        const std::string option = in.TakeOption();
        std::string value;
        if (bool* flag = FlagOption(option, parsed, false)) {
            if (!in.TakeFlag(option)) return false;
            *flag = true;
        } else if (option == "--wait") {
            if (!ReadVerdictWait(in, option, parsed)) return false;
        } else if (IsValueOption(option) || IsPasswordOption(option)) {
            const bool taken = IsPasswordOption(option) ? in.TakeSecretValue(option, value) : in.TakeValue(option, value);
            if (!taken || !ReadSettingOption(option, value, parsed.settings, in.error)) return false;
        } else {
            in.error = "configure does not take " + option;
            return false;
        }
    }
    // A request without a change would still rewrite every setting.
    if (!AsksForChange(parsed.settings)) {
        in.error = "configure needs a setting to change";
        return false;
    }
    return true;
}

bool ReadApply(OptionReader& in, CliArguments& parsed) {
    parsed.waitMs = kDefaultVerdictWaitMs;
    if (!in.TakeOperand("apply needs a plan file", parsed.planPath)) return false;
    while (!in.Done()) {
        const std::string option = in.TakeOption();
        if (bool* flag = FlagOption(option, parsed, true)) {
            if (!in.TakeFlag(option)) return false;
            *flag = true;
        } else if (option == "--wait") {
            if (!ReadVerdictWait(in, option, parsed)) return false;
        } else {
            in.error = "apply does not take " + option;
            return false;
        }
    }
    return true;
}

}  // namespace

bool ParseCliArguments(const std::vector<std::string>& args, CliArguments& parsed, std::string& error,
                       const InputLineReader& readInput) {
    CliArguments result;
    OptionReader in = {args, 1, error, readInput, std::nullopt};
    const std::string command = args.empty() ? std::string() : args[0];
    bool ok = true;
    if (command == "--help" || command == "-h") {
        result.command = CliCommand::Help;
    } else if (command == "--version") {
        result.command = CliCommand::Version;
    } else if (command == "scan") {
        result.command = CliCommand::Scan;
        ok = ReadScan(in, result);
    } else if (command == "configure") {
        result.command = CliCommand::Configure;
        ok = ReadConfigure(in, result);
    } else if (command == "apply") {
        result.command = CliCommand::Apply;
        ok = ReadApply(in, result);
    } else {
        error = command.empty() ? "no command given" : "unknown command \"" + command + "\"";
        return false;
    }
    if (ok && (result.command == CliCommand::Help || result.command == CliCommand::Version) && args.size() > 1) {
        error = command + " takes nothing more";
        ok = false;
    }
    if (ok) parsed = result;
    return ok;
}

const char* CliHelpText() {
    return R"help(Usage:
  lanwise-cli scan [--wait MS] [--format table|csv|json]
  lanwise-cli configure MAC [--ip A.B.C.D] [--sn A.B.C.D] [--gw A.B.C.D]
                            [--dns1 A.B.C.D] [--dns2 A.B.C.D] [--hostname NAME]
                            [--dhcp on|off] [--password P|-]
                            [--new-password P|-] [--wait MS] [--verify]
                            [--force]
  lanwise-cli apply PLAN.csv [--wait MS] [--verify] [--dry-run] [--force]
  lanwise-cli --help | --version

Finds and configures the network modules on this computer's segment
(UDP port 3250), with the protocol library vorn.dll beside this program.

An option's value follows it (--ip 10.0.0.5) or is joined to it with "="
(--ip=10.0.0.5). A value that is missing or begins with "--" is refused, so
that a forgotten value never takes the next option for itself; joined, any
value passes (--password=--secret).

scan       Sends one scan and lists the modules that answer within --wait ms
           (default 1500), one line per MAC address, by IP address ascending.
           Columns: IP, SN, GW, DHCP, Version, Type, MAC, Hostname; "N/A"
           where a module left a value out. --format table (default) aligns
           the columns, csv writes a header line and RFC 4180 rows, json an
           array of objects with the keys ip, sn, gw, dhcp, version, type,
           mac, hostname and reachable: true when this computer's network
           adapters reach the module (as the program, which shows the others
           in grey), false when not, null without an IP address. Texts come
           from the network as they are: the table and messages show a
           control character or a bidirectional override as "?"; csv quotes
           a cell holding a separator, a quote, a tab or a line break, and
           puts "'" before a cell a spreadsheet would take for a formula (one
           that begins with "=", "+", "-", "@", a tab or a CR); json is
           UTF-8, reading a byte that is not part of valid UTF-8 as Latin-1.
           At most 4096 modules are listed; answers from further MACs are
           counted on standard error.

configure  Scans, finds the module by its MAC address (either case, "-" or
           ":" between the bytes), changes the settings given, sends one
           configure request and waits --wait ms (default 3000) for the
           module's verdict; a --wait longer than 1500 ms lengthens the scan
           too. Only what is given changes: every other value is sent as the
           module reports it, and an address or DHCP state it does not report
           is left out of the request. Its host name is sent back whole; a
           module that reports none needs --hostname, since every request
           carries one. At least one setting besides --password must be
           given; when the module reports every value given already, nothing
           is sent and the line reads "unchanged".
           As in the program's configure dialog: a value the module does not
           report (an address, the DHCP state) cannot be set; a host name
           holds only letters, digits and "_"; host names and passwords hold
           at most 29 characters; the current password goes only to a module
           that reports being protected, and such a module gets nothing
           without --password. A password holds no ";" and no control
           character.
           When the IP, SN or GW change or DHCP is turned off, the settings
           the module would be left with are checked first, and refused: an
           IP of 0.0.0.0 while DHCP is off, an IP that is the network or
           broadcast address of its subnet (/31 and /32 excepted), a mask
           that is not contiguous, a gateway other than 0.0.0.0 outside the
           module's subnet. --force sends them all the same.
           --verify scans again and checks that the module reports the
           addresses, host name and DHCP state sent, and for a new password
           its password state (on unless the new password is empty); from a
           module that reports no password state, a password change reads
           "reconfigured (not verifiable)".

           Passwords given on the command line can be seen by other users of
           this computer (in its process list). --password - and
           --new-password - read the password from the next line of standard
           input instead, typed without echo on a console. Requests are
           printed with "****" for the passwords.

apply      Scans once, then configures each module of a CSV plan in turn as
           configure does. The header line names the columns, in any case:
           mac (required), ip, sn, gw, dns1, dns2, hostname, dhcp, password,
           new_password; version and type are ignored, so the csv of scan is
           a plan too. Cells are separated by ",", ";" or a tab, as the
           header line shows; blanks around a cell that is not quoted do not
           count. One row per module; an empty cell or "N/A" keeps the
           module's value, a row whose MAC is "N/A" is skipped, and so is an
           empty row. A row that changes nothing sends nothing.
           The plan is checked whole before anything is sent: a malformed
           line (a control character such as a line break in a cell, among
           others) refuses it, and so does, once the scan has answered, a row
           whose value cannot be set or whose settings are refused as
           configure refuses them (--force sends those); each such row is
           named with its line number. A row for a protected module without
           a password reads "password required" and sends nothing.
           One line per row, in plan order: the MAC, then reconfigured,
           verified, reconfigured (not verifiable), unchanged, invalid
           password, not found, no reply, not verified, not sent or password
           required; then a count of each on standard error. --verify checks
           the rows' modules with one scan for up to 50 rows. --dry-run
           prints the request each row would send and sends none.

The scan before configure and apply lasts up to 1500 ms and ends as soon as
every module needed has answered.

The tool configures one module at a time and waits for its verdict. A module's
"Reconfigured:" reply does not name the module, so a reply to another tool's
request on the same segment could be mistaken for this tool's own; --verify
settles it.

Exit codes: 0 success (every row, for apply); 2 usage fault, a refused value
or plan, or a protected module without --password; 3 invalid password; 4
module not found or no reply; 5 nothing could be sent, at any point of the run
(UDP port 3250 taken, no network adapter); 6 some rows of a plan failed; 7
--verify found other values than those sent.

Examples:
  The modules on the segment, for a spreadsheet:
    lanwise-cli scan --format csv > modules.csv
  One module to a new address in its subnet, checked by a second scan (the
  password is asked for):
    lanwise-cli configure 02-00-00-00-00-01 --ip 10.0.0.20 --password - --verify
  A plan: first what each row would send, then sent and checked:
    lanwise-cli apply plan.csv --dry-run
    lanwise-cli apply plan.csv --verify
)help";
}
