// What scan prints: one line per MAC address, the program's row texts and
// the host name, in the program's default order, as an aligned table, CSV
// or JSON. Portable.
#ifndef KL_CLI_MODULE_TABLE_H
#define KL_CLI_MODULE_TABLE_H

#include <array>
#include <string>
#include <vector>

#include "cli_arguments.h"
#include "vorn.h"

constexpr int kScanColumnCount = 8;
using ScanLine = std::array<std::string, kScanColumnCount>;

// Keeps record unless an answer with the same six MAC bytes is already
// kept, as the program's list does; true when it was kept.
bool KeepFirstAnswer(std::vector<VORN_ModuleScanResponseType>& answers, const VORN_ModuleScanResponseType& record);

// IP, SN, GW, DHCP, Version, Type, MAC, Hostname, ordered by IP ascending
// as the list orders its rows at start.
std::vector<ScanLine> ScanLines(const std::vector<VORN_ModuleScanResponseType>& answers);

std::string FormatScanLines(const std::vector<ScanLine>& lines, ScanFormat format);

#endif
