// The control channel through which tests steer a running simulator: one
// command line per datagram, one reply per command.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "flood.h"
#include "options.h"

namespace modsim {

// Datagrams counted since the last reset.
struct Stats {
  std::uint64_t scans = 0;         // scan requests received
  std::uint64_t configures = 0;    // configure requests received, any MAC
  std::uint64_t answers = 0;       // scan answers sent
  std::uint64_t reconfigured = 0;  // "Reconfigured:" replies sent
  std::uint64_t invalid = 0;       // "Invalid Password:" replies sent
};

// "OK scans=.. configures=.. answers=.. reconfigured=.. invalid=.."
std::string statsReply(const Stats& stats);

// "OK running=0|1 sent=N"
std::string floodStatusReply(bool running, std::uint64_t sent);

// LastConfigure: "OK" and the bytes of the last configure request
// received since the reset, in hexadecimal ("OK" alone when none came).
// Flood starts a flood to the commander and replies at once; FloodStatus
// tells whether it still runs and how many datagrams it sent.
// ConfigureLog: "OK" and one " MAC>IP" per configure request received
// since the reset, in order.
enum class ControlVerb { Reset, Send, Stats, LastConfigure, ConfigureLog, Flood, FloodStatus, Quit };

struct ControlCommand {
  ControlVerb verb = ControlVerb::Stats;
  PopulationOptions population;        // Reset
  std::vector<std::string> datagrams;  // Send: one, or several for a batch
  FloodOptions flood;                  // Flood
};

// Reads one control datagram; text ends at its first NUL, and a trailing
// newline is dropped. On failure gives the reason for the "ERR" reply.
bool parseControl(std::string_view datagram, ControlCommand& command, std::string& error);

}  // namespace modsim
