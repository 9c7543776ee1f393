// One simulated module: its settings, the scan answer it gives and how it
// takes a configure request.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "address.h"

namespace modsim {

struct Module {
  Mac mac{};
  std::string protocolVersion;  // "major.minor", reported as given
  std::string fbType;
  std::string moduleVersion;  // "major.minor.build", reported as given
  Ipv4 ip = 0;
  Ipv4 sn = 0;
  Ipv4 gw = 0;
  bool dhcp = false;
  bool isProtected = false;
  std::string password;
  std::optional<std::string> hostName;
  std::optional<Ipv4> dns1;
  std::optional<Ipv4> dns2;
};

// What a datagram received on the module port asks for.
enum class Request { Scan, Configure, Other };

// Looks at the text up to its first NUL only.
Request classifyRequest(std::string_view datagram);

// The scan answer text, without the NUL that goes on the wire.
std::string answerText(const Module& module);

// A configure request as sent by the commissioning tool; absent fields are
// left unchanged on the module.
struct ConfigureRequest {
  Mac mac{};
  std::optional<std::string> password;
  std::optional<std::string> newPassword;
  std::optional<Ipv4> ip;
  std::optional<Ipv4> sn;
  std::optional<Ipv4> gw;
  std::optional<bool> dhcp;
  std::optional<std::string> hostName;
  std::optional<Ipv4> dns1;
  std::optional<Ipv4> dns2;
};

// Reads "Configure: XX-XX-XX-XX-XX-XX;" and the fields behind it. Empty when
// the text is not a well-formed request (unknown field, bad value, a field
// without its closing ';').
std::optional<ConfigureRequest> parseConfigure(std::string_view datagram);

enum class Verdict { Reconfigured, InvalidPassword };

// Checks the password and, when it passes, applies every field present.
Verdict applyConfigure(Module& module, const ConfigureRequest& request);

// "Reconfigured: <MAC>" or "Invalid Password: <MAC>", without the NUL.
std::string verdictText(Verdict verdict, const Mac& mac);

// The module with that MAC, or null.
Module* findModule(std::vector<Module>& modules, const Mac& mac);

}  // namespace modsim
