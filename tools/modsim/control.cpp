#include "control.h"

#include "payload.h"

namespace modsim {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view commandLineOf(std::string_view datagram) {
  std::string_view line = datagram.substr(0, datagram.find('\0'));
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  return line;
}

std::vector<std::string> splitWords(std::string_view text) {
  std::vector<std::string> words;
  std::size_t at = 0;
  while (at < text.size()) {
    while (at < text.size() && isBlank(text[at])) ++at;
    const std::size_t start = at;
    while (at < text.size() && !isBlank(text[at])) ++at;
    if (at > start) words.emplace_back(text.substr(start, at - start));
  }
  return words;
}

// Splits "<verb> <argument>": the argument is everything behind the one
// blank that follows the verb, kept verbatim for send-text.
void splitVerb(std::string_view line, std::string_view& verb, std::string_view& argument) {
  while (!line.empty() && isBlank(line.front())) line.remove_prefix(1);
  std::size_t end = 0;
  while (end < line.size() && !isBlank(line[end])) ++end;
  verb = line.substr(0, end);
  argument = end < line.size() ? line.substr(end + 1) : std::string_view();
}

// One send-text, send-hex or send-size command; shared by the single
// commands and by the parts of a batch.
bool parseSend(std::string_view line, std::string& datagram, std::string& error) {
  std::string_view verb;
  std::string_view argument;
  splitVerb(line, verb, argument);
  PayloadKind kind = PayloadKind::Text;
  if (verb == "send-hex") {
    kind = PayloadKind::Hex;
  } else if (verb == "send-size") {
    kind = PayloadKind::Size;
  } else if (verb != "send-text") {
    error = "not a send command: '" + std::string(verb) + "'";
    return false;
  }
  // Only a text is taken verbatim; hex and size tolerate blanks around them,
  // as in "send-hex 41 | send-size 9".
  if (kind != PayloadKind::Text) argument = trimBlanks(argument);
  if (!buildPayload(kind, argument, datagram, error)) {
    error = std::string(verb) + ": " + error;
    return false;
  }
  return true;
}

bool parseBatch(std::string_view argument, std::vector<std::string>& datagrams,
                std::string& error) {
  if (argument.empty()) {
    error = "send-batch needs at least one send command";
    return false;
  }
  std::size_t start = 0;
  for (;;) {
    const std::size_t bar = argument.find('|', start);
    std::string datagram;
    if (!parseSend(argument.substr(start, bar - start), datagram, error)) return false;
    datagrams.push_back(std::move(datagram));
    if (bar == std::string_view::npos) return true;
    start = bar + 1;
  }
}

// "MS RATE answers" or "MS RATE <send command>".
bool parseFlood(std::string_view argument, FloodOptions& flood, std::string& error) {
  std::string_view duration;
  std::string_view rest;
  splitVerb(argument, duration, rest);
  std::string_view rate;
  splitVerb(rest, rate, rest);
  std::uint64_t number = 0;
  if (!parseUnsigned(duration, 1, 600000, number)) {
    error = "flood needs a duration of 1 to 600000 ms, got '" + std::string(duration) + "'";
    return false;
  }
  flood.durationMs = static_cast<std::uint32_t>(number);
  if (!parseUnsigned(rate, 0, 10000000, number)) {
    error = "flood needs a rate of 0 (as fast as possible) to 10000000 per second, got '" +
            std::string(rate) + "'";
    return false;
  }
  flood.rate = static_cast<std::uint32_t>(number);
  flood.answers = trimBlanks(rest) == "answers";
  return flood.answers || parseSend(rest, flood.datagram, error);
}

bool expectNoArgument(std::string_view verb, std::string_view argument, std::string& error) {
  if (splitWords(argument).empty()) return true;
  error = std::string(verb) + " takes no arguments";
  return false;
}

}  // namespace

std::string statsReply(const Stats& stats) {
  return "OK scans=" + std::to_string(stats.scans) +
         " configures=" + std::to_string(stats.configures) +
         " answers=" + std::to_string(stats.answers) +
         " reconfigured=" + std::to_string(stats.reconfigured) +
         " invalid=" + std::to_string(stats.invalid);
}

std::string floodStatusReply(bool running, std::uint64_t sent) {
  return std::string("OK running=") + (running ? "1" : "0") + " sent=" + std::to_string(sent);
}

bool parseControl(std::string_view datagram, ControlCommand& command, std::string& error) {
  const std::string_view line = commandLineOf(datagram);
  std::string_view verb;
  std::string_view argument;
  splitVerb(line, verb, argument);
  ControlCommand parsed;
  bool ok = true;
  if (verb == "reset") {
    parsed.verb = ControlVerb::Reset;
    ok = parsePopulation(splitWords(argument), parsed.population, error);
  } else if (verb == "send-text" || verb == "send-hex" || verb == "send-size") {
    parsed.verb = ControlVerb::Send;
    parsed.datagrams.emplace_back();
    ok = parseSend(line, parsed.datagrams.back(), error);
  } else if (verb == "send-batch") {
    parsed.verb = ControlVerb::Send;
    ok = parseBatch(argument, parsed.datagrams, error);
  } else if (verb == "flood") {
    parsed.verb = ControlVerb::Flood;
    ok = parseFlood(argument, parsed.flood, error);
  } else if (verb == "flood-status") {
    parsed.verb = ControlVerb::FloodStatus;
    ok = expectNoArgument(verb, argument, error);
  } else if (verb == "stats") {
    parsed.verb = ControlVerb::Stats;
    ok = expectNoArgument(verb, argument, error);
  } else if (verb == "last-configure") {
    parsed.verb = ControlVerb::LastConfigure;
    ok = expectNoArgument(verb, argument, error);
  } else if (verb == "configure-log") {
    parsed.verb = ControlVerb::ConfigureLog;
    ok = expectNoArgument(verb, argument, error);
  } else if (verb == "quit") {
    parsed.verb = ControlVerb::Quit;
    ok = expectNoArgument(verb, argument, error);
  } else {
    error = verb.empty() ? "empty command" : "unknown command '" + std::string(verb) + "'";
    ok = false;
  }
  if (ok) command = std::move(parsed);
  return ok;
}

}  // namespace modsim
