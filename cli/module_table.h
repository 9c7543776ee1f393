// What scan prints: one line per MAC address, the program's row texts and
// the host name, in the program's default order, as an aligned table, CSV
// or JSON. Portable.
#ifndef KL_CLI_MODULE_TABLE_H
#define KL_CLI_MODULE_TABLE_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli_arguments.h"
#include "module_store.h"
#include "vorn.h"
#include "workstation_subnets.h"

constexpr int kScanColumnCount = 8;
using ScanLine = std::array<std::string, kScanColumnCount>;


// IP, SN, GW, DHCP, Version, Type, MAC, Hostname, ordered by IP ascending
// as the list orders its rows at start. A DHCP state reported as neither
// on nor off reads "N/A", so that the line read back as a plan row keeps it.
std::vector<ScanLine> ScanLines(const std::vector<VORN_ModuleScanResponseType>& answers);

// Any host on the segment can answer with any text, so every format
// writes it safely: the table shows it as TerminalText does, CSV writes
// each cell as SpreadsheetCell does, and JSON is valid UTF-8 (a byte
// outside a valid UTF-8 sequence is read as Latin-1). JSON also tells
// whether this computer, with these adapters, can reach each module
// ("reachable": true or false; null without an IP, and for every module
// when the adapters could not be read), by the program's rule; the table
// and CSV stay as they are.
std::string FormatScanLines(const std::vector<ScanLine>& lines, ScanFormat format,
                            const std::optional<std::vector<WorkstationAdapter>>& adapters);

#endif
