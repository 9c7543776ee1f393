// What "Assign addresses" makes of its fields before anything is sent: the
// host names of a pattern, the address each checked module gets (counting
// up from the first address and skipping every address that is not free),
// and the settings one module's request carries. Portable. Addresses are
// in host byte order, the first dotted number in the top byte.
#ifndef KL_BATCH_BATCH_ASSIGNMENT_H
#define KL_BATCH_BATCH_ASSIGNMENT_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "module_settings.h"
#include "vorn.h"

// The address fields of the dialog.
struct AddressFields {
    std::uint32_t first = 0;
    std::uint32_t sn = 0;
    std::uint32_t gw = 0;
};

// The host name of the module numbered number (from 1) within the batch:
// each run of "#" in pattern is replaced by the number, zero-padded to the
// run's length ("io_##" and 1 give "io_01"; a number longer than the run
// is written whole). An empty pattern gives an empty name.
std::string HostnameFromPattern(const std::string& pattern, std::size_t number);

// Whether each of the count names the pattern gives is one the configure
// dialog would send: letters, digits and "_" only, at most 29 characters.
// False with the reason to show in the dialog.
bool CheckHostnamePattern(const std::string& pattern, std::size_t count, std::string& reason);

// Whether the fields can give addresses at all: the first address with the
// mask and the gateway must be settings a module could keep (the rule
// configure and apply check). False with the rule's message.
bool CheckAddressFields(const AddressFields& fields, std::string& reason);

// The addresses for count modules, in order: counting up from the first
// address within its subnet, every address that is a host of the subnet,
// not the gateway and not in notFree (this computer's own addresses, the
// listed modules outside the batch, the addresses found taken on the
// wire). False when the subnet runs out first; addresses then holds those
// that fit.
bool PreviewAddresses(const AddressFields& fields, std::size_t count, const std::unordered_set<std::uint32_t>& notFree,
                      std::vector<std::uint32_t>& addresses);

// What a checked module is sent: the new IP, SN and GW, DHCP off when the
// module reports a DHCP state, the pattern's host name (none: its own) and
// the password when one was typed. Everything else keeps the module's value.
ModuleSettings AssignedSettings(const VORN_ModuleScanResponseType& answer, std::uint32_t ip,
                                const AddressFields& fields, const std::string& hostname,
                                const std::string& password);

#endif
