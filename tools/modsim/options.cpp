#include "options.h"

#include <string_view>

#include "payload.h"

namespace modsim {

namespace {

template <typename Target>
struct ValueOption {
  std::string_view name;
  std::string_view expects;  // completes "<name> needs ..."
  bool (*apply)(const std::string& value, Target& target);
};

bool isPlainText(const std::string& text) { return text.find(';') == std::string::npos; }

bool readOptionalIpv4(const std::string& value, std::optional<Ipv4>& address) {
  if (value == "none") {
    address.reset();
    return true;
  }
  Ipv4 parsed = 0;
  if (!parseIpv4(value, parsed)) return false;
  address = parsed;
  return true;
}

// A version is kept as text so that it is reported exactly as given
// ("2.03.1"); each part must still fit the field the tool reads it into.
bool isVersion(const std::string& text, const std::vector<std::uint64_t>& partMaxima) {
  std::string_view rest = text;
  for (std::size_t i = 0; i < partMaxima.size(); ++i) {
    const bool last = i + 1 == partMaxima.size();
    const std::size_t dot = rest.find('.');
    if (last != (dot == std::string_view::npos)) return false;
    std::uint64_t part = 0;
    if (!parseUnsigned(rest.substr(0, dot), 0, partMaxima[i], part)) return false;
    if (!last) rest.remove_prefix(dot + 1);
  }
  return true;
}

template <typename Number>
bool readNumber(const std::string& value, std::uint64_t min, std::uint64_t max,
                Number& number) {
  std::uint64_t parsed = 0;
  if (!parseUnsigned(value, min, max, parsed)) return false;
  number = static_cast<Number>(parsed);
  return true;
}

bool readOnOff(const std::string& value, bool& on) {
  if (value != "on" && value != "off") return false;
  on = value == "on";
  return true;
}

bool appendPayload(PayloadKind kind, const std::string& value, CommandLine& commandLine) {
  std::string datagram;
  std::string ignoredReason;  // the option table's text says what is expected
  if (!buildPayload(kind, value, datagram, ignoredReason)) return false;
  commandLine.rawSends.push_back(std::move(datagram));
  return true;
}

// A setter may leave a refused value behind; the parsers work on a copy and
// only hand it out when every option was accepted.
using PopulationOption = ValueOption<PopulationOptions>;
const PopulationOption kPopulationOptions[] = {
    {"--count", "a number from 0 to 65535",
     [](const std::string& v, PopulationOptions& p) { return readNumber(v, 0, 65535, p.count); }},
    {"--mac-base", "a MAC address like 02-00-00-00-00-01",
     [](const std::string& v, PopulationOptions& p) { return parseMac(v, p.macBase); }},
    {"--ip-base", "an IPv4 address like 198.18.0.100",
     [](const std::string& v, PopulationOptions& p) { return parseIpv4(v, p.ipBase); }},
    {"--sn", "an IPv4 address like 255.255.255.0",
     [](const std::string& v, PopulationOptions& p) { return parseIpv4(v, p.sn); }},
    {"--gw", "an IPv4 address like 198.18.0.1",
     [](const std::string& v, PopulationOptions& p) { return parseIpv4(v, p.gw); }},
    {"--dns1", "an IPv4 address or 'none'",
     [](const std::string& v, PopulationOptions& p) { return readOptionalIpv4(v, p.dns1); }},
    {"--dns2", "an IPv4 address or 'none'",
     [](const std::string& v, PopulationOptions& p) { return readOptionalIpv4(v, p.dns2); }},
    {"--type", "a text without ';'",
     [](const std::string& v, PopulationOptions& p) {
       p.fbType = v;
       return isPlainText(v);
     }},
    {"--version", "a version X.Y.Z (X, Y up to 255, Z up to 65535)",
     [](const std::string& v, PopulationOptions& p) {
       p.moduleVersion = v;
       return isVersion(v, {255, 255, 65535});
     }},
    {"--protocol", "a version X.Y (each up to 255)",
     [](const std::string& v, PopulationOptions& p) {
       p.protocolVersion = v;
       return isVersion(v, {255, 255});
     }},
    {"--dhcp", "'on' or 'off'",
     [](const std::string& v, PopulationOptions& p) { return readOnOff(v, p.dhcp); }},
    {"--hostname-prefix", "a text without ';', or 'none'",
     [](const std::string& v, PopulationOptions& p) {
       if (v == "none") {
         p.hostNamePrefix.reset();
       } else {
         p.hostNamePrefix = v;
       }
       return isPlainText(v);
     }},
    {"--password", "a text without ';'",
     [](const std::string& v, PopulationOptions& p) {
       p.password = v;
       return isPlainText(v);
     }},
    {"--protect-every", "a number from 0 to 65535",
     [](const std::string& v, PopulationOptions& p) {
       return readNumber(v, 0, 65535, p.protectEvery);
     }},
    {"--ip-step", "a number from 0 to 65535",
     [](const std::string& v, PopulationOptions& p) { return readNumber(v, 0, 65535, p.ipStep); }},
    {"--last-type", "a text without ';'",
     [](const std::string& v, PopulationOptions& p) {
       p.lastType = v;
       return isPlainText(v);
     }},
    {"--last-ip", "an IPv4 address like 198.18.0.20",
     [](const std::string& v, PopulationOptions& p) {
       Ipv4 ip = 0;
       if (!parseIpv4(v, ip)) return false;
       p.lastIp = ip;
       return true;
     }},
    {"--restart", "milliseconds from 0 to 60000",
     [](const std::string& v, PopulationOptions& p) { return readNumber(v, 0, 60000, p.restartMs); }},
    {"--delay", "milliseconds from 0 to 60000",
     [](const std::string& v, PopulationOptions& p) { return readNumber(v, 0, 60000, p.delayMs); }},
    {"--spread", "milliseconds from 0 to 60000",
     [](const std::string& v, PopulationOptions& p) { return readNumber(v, 0, 60000, p.spreadMs); }},
    {"--seed", "a number from 0 to 4294967295",
     [](const std::string& v, PopulationOptions& p) {
       return readNumber(v, 0, 0xFFFFFFFFu, p.seed);
     }},
};

using RunOption = ValueOption<CommandLine>;
const RunOption kRunOptions[] = {
    {"--bind", "an IPv4 address like 0.0.0.0",
     [](const std::string& v, CommandLine& c) { return parseIpv4(v, c.bind); }},
    {"--port", "a port number from 1 to 65535",
     [](const std::string& v, CommandLine& c) { return readNumber(v, 1, 65535, c.port); }},
    {"--control", "a port number from 0 to 65535",
     [](const std::string& v, CommandLine& c) { return readNumber(v, 0, 65535, c.controlPort); }},
    {"--to", "an IPv4 address like 198.18.0.1",
     [](const std::string& v, CommandLine& c) {
       Ipv4 address = 0;
       if (!parseIpv4(v, address)) return false;
       c.sendTo = address;
       return true;
     }},
    {"--send-text", "a text of at most 65506 bytes",
     [](const std::string& v, CommandLine& c) { return appendPayload(PayloadKind::Text, v, c); }},
    {"--send-hex", "an even number of hex digits (at most one datagram)",
     [](const std::string& v, CommandLine& c) { return appendPayload(PayloadKind::Hex, v, c); }},
    {"--send-size", "a number from 0 to 65507",
     [](const std::string& v, CommandLine& c) { return appendPayload(PayloadKind::Size, v, c); }},
};

enum class Match { None, Applied, Failed };

// Looks args[at] up in the table; on a match consumes its value too.
template <typename Target, std::size_t N>
Match applyValueOption(const ValueOption<Target> (&table)[N],
                       const std::vector<std::string>& args, std::size_t& at,
                       Target& target, std::string& error) {
  for (const ValueOption<Target>& option : table) {
    if (args[at] != option.name) continue;
    const std::string name(option.name);
    if (at + 1 >= args.size()) {
      error = name + " needs a value";
      return Match::Failed;
    }
    const std::string& value = args[++at];
    if (option.apply(value, target)) return Match::Applied;
    error = name + " needs " + std::string(option.expects) + ", got '" + value + "'";
    return Match::Failed;
  }
  return Match::None;
}

Match applyPopulationOption(const std::vector<std::string>& args, std::size_t& at,
                            PopulationOptions& population, std::string& error) {
  if (args[at] == "--jitter") {
    population.jitter = true;
    return Match::Applied;
  }
  return applyValueOption(kPopulationOptions, args, at, population, error);
}

Match applyRunOption(const std::vector<std::string>& args, std::size_t& at,
                     CommandLine& commandLine, std::string& error) {
  if (args[at] == "--verbose") {
    commandLine.verbose = true;
    return Match::Applied;
  }
  if (args[at] == "--help") {
    commandLine.help = true;
    return Match::Applied;
  }
  return applyValueOption(kRunOptions, args, at, commandLine, error);
}

bool isRunOption(const std::string& name) {
  if (name == "--verbose" || name == "--help") return true;
  for (const RunOption& option : kRunOptions) {
    if (name == option.name) return true;
  }
  return false;
}

// Raw sends and the module loop exclude each other.
bool checkSendMode(const CommandLine& commandLine, std::string& error) {
  if (commandLine.sendTo && commandLine.rawSends.empty()) {
    error = "--to needs at least one --send-text, --send-hex or --send-size";
    return false;
  }
  if (!commandLine.sendTo && !commandLine.rawSends.empty()) {
    error = "--send-text, --send-hex and --send-size need --to";
    return false;
  }
  return true;
}

}  // namespace

bool parseCommandLine(const std::vector<std::string>& args, CommandLine& commandLine,
                      std::string& error) {
  CommandLine parsed;
  for (std::size_t at = 0; at < args.size(); ++at) {
    Match match = applyRunOption(args, at, parsed, error);
    if (match == Match::None) match = applyPopulationOption(args, at, parsed.population, error);
    if (match == Match::Failed) return false;
    if (match == Match::None) {
      error = "unknown option '" + args[at] + "'";
      return false;
    }
    if (parsed.help) break;
  }
  if (!parsed.help && !checkSendMode(parsed, error)) return false;
  commandLine = std::move(parsed);
  return true;
}

bool parsePopulation(const std::vector<std::string>& args, PopulationOptions& population,
                     std::string& error) {
  PopulationOptions parsed;
  for (std::size_t at = 0; at < args.size(); ++at) {
    const Match match = applyPopulationOption(args, at, parsed, error);
    if (match == Match::Failed) return false;
    if (match == Match::None) {
      error = isRunOption(args[at]) ? "'" + args[at] + "' is not a population option"
                                    : "unknown option '" + args[at] + "'";
      return false;
    }
  }
  population = std::move(parsed);
  return true;
}

std::vector<Module> buildPopulation(const PopulationOptions& population) {
  std::vector<Module> modules(population.count);
  for (std::uint32_t i = 0; i < population.count; ++i) {
    Module& m = modules[i];
    m.mac = macPlus(population.macBase, i);
    m.protocolVersion = population.protocolVersion;
    m.fbType = population.fbType;
    m.moduleVersion = population.moduleVersion;
    m.ip = population.ipBase + i * population.ipStep;
    m.sn = population.sn;
    m.gw = population.gw;
    m.dhcp = population.dhcp;
    m.isProtected = population.protectEvery > 0 && i % population.protectEvery == 0;
    if (m.isProtected) m.password = population.password;
    if (population.hostNamePrefix) m.hostName = *population.hostNamePrefix + std::to_string(i);
    if (i + 1 == population.count && population.lastType) m.fbType = *population.lastType;
    if (i + 1 == population.count && population.lastIp) m.ip = *population.lastIp;
    m.dns1 = population.dns1;
    m.dns2 = population.dns2;
  }
  return modules;
}

const char* usageText() {
  return R"(Usage: modsim [options]
       modsim --to ADDR [--port P] [--bind ADDR] --send-text TEXT|--send-hex HEX|--send-size N ...

Plays a population of modules on UDP port P: answers "Module Scan" and
"Configure: " requests like the real devices do.

Process:
  --bind ADDR            local address to bind (default 0.0.0.0)
  --port P               module port (default 3250)
  --control PORT         also listen for control commands on UDP PORT
                         (default 0: no control socket)
  --verbose              log one line per datagram to stderr
  --help                 show this text

Population (module i counts from 0):
  --count N              number of modules, 0..65535 (default 3)
  --mac-base MAC         MAC of module 0 (default 02-00-00-00-00-01); module i
                         gets MAC + i
  --ip-base A.B.C.D      IP of module 0 (default 198.18.0.100); module i gets IP + i
  --ip-step N            module i gets IP + i * N instead, 0..65535 (0: all
                         at one address)
  --sn A.B.C.D           subnet mask (default 255.255.255.0)
  --gw A.B.C.D           gateway (default 198.18.0.1)
  --dns1 A.B.C.D|none    first DNS server (default 198.18.0.1)
  --dns2 A.B.C.D|none    second DNS server (default none)
  --type TEXT            fb type (default IO-GATEWAY)
  --version X.Y.Z        module version (default 2.03.1)
  --protocol X.Y         protocol version (default 1.10)
  --dhcp on|off          DHCP state (default off)
  --hostname-prefix TEXT host name is TEXT followed by i; 'none' for no host
                         name (default module)
  --password PW          password of the protected modules (default secret)
  --protect-every K      module i is protected when K > 0 and i % K == 0
                         (default 0: none)
  --last-type TEXT       the last module's fb type instead
  --last-ip A.B.C.D      the last module's IP instead

Answer timing:
  --delay MS             wait MS milliseconds, 0..60000, before the first
                         answer of a scan (default 0)
  --spread MS            spread the answers of one scan evenly over MS
                         milliseconds, 0..60000 (default 0: one burst)
  --jitter               send each answer at a random time within the spread
  --seed S               seed of the random times (default 1)
  --restart MS           after taking a configure request, reply, then stay
                         silent for MS milliseconds, 0..60000 (no answers, no
                         replies), as a module restarting does (default 0)

One-shot raw send (no modules; from an ephemeral port to ADDR:P):
  --to ADDR              destination address
  --send-text TEXT       the text and one NUL byte
  --send-hex HEX         exactly these bytes
  --send-size N          N bytes of 'x', the last one NUL
  The send options may be repeated; datagrams go out in the order given.

Control commands (one per datagram on the control port; each gets one reply,
"OK..." or "ERR <reason>", after its effect):
  reset <population and timing options>   rebuild from defaults plus these
  send-text TEXT | send-hex HEX | send-size N
                         send to the commander's address, module port
  send-batch CMD|CMD|... several sends back to back
  stats                  OK scans= configures= answers= reconfigured= invalid=
  last-configure         OK and the last configure request's bytes in hex
  configure-log          OK and one MAC>IP per configure request received
                         since the reset, in order ("-" for a request
                         without an IP, "?" for a malformed one)
  flood MS RATE answers | flood MS RATE send-text TEXT|send-hex HEX|send-size N
                         for MS milliseconds send to the commander's address,
                         module port, scan answers with ever new MACs (counted
                         on from the population's last) or that one datagram,
                         RATE per second, 0 for as fast as possible; replies
                         at once, a new flood or a reset ends the running one
  flood-status           OK running=0|1 sent=N (of the last flood)
  quit                   reply and exit
)";
}

}  // namespace modsim
