// The simulator's options: the population of modules with their answer
// timing, and the process-level settings of the command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "address.h"
#include "module.h"

namespace modsim {

// Everything a "reset" may change; defaults are those of a fresh start.
struct PopulationOptions {
  std::uint32_t count = 3;
  Mac macBase{0x02, 0x00, 0x00, 0x00, 0x00, 0x01};
  Ipv4 ipBase = 0xC6120064;  // 198.18.0.100
  Ipv4 sn = 0xFFFFFF00;      // 255.255.255.0
  Ipv4 gw = 0xC6120001;      // 198.18.0.1
  std::optional<Ipv4> dns1 = 0xC6120001;
  std::optional<Ipv4> dns2;
  std::string fbType = "IO-GATEWAY";
  std::string moduleVersion = "2.03.1";
  std::string protocolVersion = "1.10";
  bool dhcp = false;
  std::optional<std::string> hostNamePrefix = std::string("module");
  std::string password = "secret";
  std::uint32_t protectEvery = 0;
  std::uint32_t ipStep = 1;  // module i gets ipBase + i * ipStep
  // The last module set apart: another type, another address.
  std::optional<std::string> lastType;
  std::optional<Ipv4> lastIp;
  std::uint32_t delayMs = 0;  // before the first answer of a scan
  std::uint32_t spreadMs = 0;
  // After taking a configure request a module replies, then stays silent
  // this long, as a module restarting with its new settings does.
  std::uint32_t restartMs = 0;
  bool jitter = false;
  std::uint32_t seed = 1;
};

struct CommandLine {
  Ipv4 bind = 0;
  std::uint16_t port = 3250;
  std::uint16_t controlPort = 0;  // 0: no control socket
  bool verbose = false;
  bool help = false;
  std::optional<Ipv4> sendTo;          // set: one-shot raw send mode
  std::vector<std::string> rawSends;  // datagrams, in command-line order
  PopulationOptions population;
};

// Both parsers fill their target only on success and otherwise give a
// one-line reason.
bool parseCommandLine(const std::vector<std::string>& args, CommandLine& commandLine,
                      std::string& error);
// Population and timing options only (used by the control "reset").
bool parsePopulation(const std::vector<std::string>& args, PopulationOptions& population,
                     std::string& error);

// Module i gets the base MAC and IP plus i.
std::vector<Module> buildPopulation(const PopulationOptions& population);

const char* usageText();

}  // namespace modsim
