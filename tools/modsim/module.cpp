#include "module.h"

#include <algorithm>
#include <cctype>

namespace modsim {

namespace {

constexpr std::string_view kScanPrefix = "Module Scan";
constexpr std::string_view kConfigurePrefix = "Configure: ";

// Received text ends at the first NUL, like every peer on the segment reads it.
std::string_view textOf(std::string_view datagram) {
  return datagram.substr(0, datagram.find('\0'));
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  return std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
  });
}

void appendField(std::string& text, std::string_view key, std::string_view value) {
  text.append(key).append(" = ").append(value).append(";");
}

const char* onOff(bool on) { return on ? "on" : "off"; }

bool equalsNoCase(std::string_view text, std::string_view word) {
  return text.size() == word.size() && startsWithNoCase(text, word);
}

bool readAddress(std::string_view value, std::optional<Ipv4>& field) {
  Ipv4 address = 0;
  if (!parseIpv4(value, address)) return false;
  field = address;
  return true;
}

bool readOnOff(std::string_view value, std::optional<bool>& field) {
  if (equalsNoCase(value, "ON")) {
    field = true;
  } else if (equalsNoCase(value, "OFF")) {
    field = false;
  } else {
    return false;
  }
  return true;
}

// Reads one field whose closing ';' was already cut off. Keys are matched
// without regard to case, as everywhere in this protocol; passwords and the
// host name are taken literally.
bool readField(std::string_view field, ConfigureRequest& request) {
  using AddressField = std::optional<Ipv4> ConfigureRequest::*;
  using TextField = std::optional<std::string> ConfigureRequest::*;
  static const std::pair<std::string_view, AddressField> addressKeys[] = {
      {"IP = ", &ConfigureRequest::ip},     {"SN = ", &ConfigureRequest::sn},
      {"GW = ", &ConfigureRequest::gw},     {"DNS1 = ", &ConfigureRequest::dns1},
      {"DNS2 = ", &ConfigureRequest::dns2},
  };
  static const std::pair<std::string_view, TextField> textKeys[] = {
      {"Password: ", &ConfigureRequest::password},
      {"New Password = ", &ConfigureRequest::newPassword},
      {"HN = ", &ConfigureRequest::hostName},
  };
  for (const auto& [key, member] : addressKeys) {
    if (startsWithNoCase(field, key))
      return readAddress(field.substr(key.size()), request.*member);
  }
  for (const auto& [key, member] : textKeys) {
    if (startsWithNoCase(field, key)) {
      request.*member = std::string(field.substr(key.size()));
      return true;
    }
  }
  constexpr std::string_view kDhcpKey = "DHCP = ";
  if (startsWithNoCase(field, kDhcpKey))
    return readOnOff(field.substr(kDhcpKey.size()), request.dhcp);
  return false;
}

// 0.0.0.0 is how the tool says "no DNS server".
std::optional<Ipv4> dnsSetting(Ipv4 address) {
  if (address == 0) return std::nullopt;
  return address;
}

bool passwordAccepted(const Module& module, const ConfigureRequest& request) {
  if (!module.isProtected) return true;
  return request.password && *request.password == module.password;
}

}  // namespace

Request classifyRequest(std::string_view datagram) {
  const std::string_view text = textOf(datagram);
  if (startsWithNoCase(text, kScanPrefix)) return Request::Scan;
  if (startsWithNoCase(text, kConfigurePrefix)) return Request::Configure;
  return Request::Other;
}

std::string answerText(const Module& m) {
  std::string text;
  appendField(text, "protocol version", m.protocolVersion);
  appendField(text, "fb type", m.fbType);
  appendField(text, "module version", m.moduleVersion);
  appendField(text, "mac", formatMac(m.mac));
  appendField(text, "ip", formatIpv4(m.ip));
  appendField(text, "sn", formatIpv4(m.sn));
  appendField(text, "gw", formatIpv4(m.gw));
  appendField(text, "dhcp", onOff(m.dhcp));
  appendField(text, "pswd", onOff(m.isProtected));
  if (m.hostName) appendField(text, "hn", *m.hostName);
  if (m.dns1) appendField(text, "dns1", formatIpv4(*m.dns1));
  if (m.dns2) appendField(text, "dns2", formatIpv4(*m.dns2));
  return text;
}

std::optional<ConfigureRequest> parseConfigure(std::string_view datagram) {
  std::string_view text = textOf(datagram);
  if (!startsWithNoCase(text, kConfigurePrefix)) return std::nullopt;
  text.remove_prefix(kConfigurePrefix.size());
  ConfigureRequest request;
  std::size_t end = text.find(';');
  if (end == std::string_view::npos || !parseMac(text.substr(0, end), request.mac))
    return std::nullopt;
  text.remove_prefix(end + 1);
  while (!text.empty()) {
    end = text.find(';');
    if (end == std::string_view::npos || !readField(text.substr(0, end), request))
      return std::nullopt;
    text.remove_prefix(end + 1);
  }
  return request;
}

Verdict applyConfigure(Module& module, const ConfigureRequest& request) {
  if (!passwordAccepted(module, request)) return Verdict::InvalidPassword;
  if (request.newPassword) {
    module.password = *request.newPassword;
    module.isProtected = !module.password.empty();
  }
  if (request.ip) module.ip = *request.ip;
  if (request.sn) module.sn = *request.sn;
  if (request.gw) module.gw = *request.gw;
  if (request.dhcp) module.dhcp = *request.dhcp;
  if (request.hostName) {
    module.hostName = *request.hostName;
    if (module.hostName->empty()) module.hostName.reset();
  }
  if (request.dns1) module.dns1 = dnsSetting(*request.dns1);
  if (request.dns2) module.dns2 = dnsSetting(*request.dns2);
  return Verdict::Reconfigured;
}

std::string verdictText(Verdict verdict, const Mac& mac) {
  const char* prefix =
      verdict == Verdict::Reconfigured ? "Reconfigured: " : "Invalid Password: ";
  return prefix + formatMac(mac);
}

Module* findModule(std::vector<Module>& modules, const Mac& mac) {
  for (Module& module : modules) {
    if (module.mac == mac) return &module;
  }
  return nullptr;
}

}  // namespace modsim
