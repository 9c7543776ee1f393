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
#include "workstation_subnets.h"

constexpr int kScanColumnCount = 8;
using ScanLine = std::array<std::string, kScanColumnCount>;

// Keeps record unless an answer with the same six MAC bytes is already
// kept, as the program's list does; true when it was kept.
bool KeepFirstAnswer(std::vector<VORN_ModuleScanResponseType>& answers, const VORN_ModuleScanResponseType& record);

// IP, SN, GW, DHCP, Version, Type, MAC, Hostname, ordered by IP ascending
// as the list orders its rows at start. A DHCP state reported as neither
// on nor off reads "N/A", so that the line read back as a plan row keeps it.
std::vector<ScanLine> ScanLines(const std::vector<VORN_ModuleScanResponseType>& answers);

// Any host on the segment can answer with any text, so every format
// writes it safely: the table shows each control byte as "?", CSV guards
// a cell a spreadsheet would take for a formula with a leading "'", and
// JSON is valid UTF-8 (a byte outside a valid UTF-8 sequence is read as
// Latin-1). JSON also tells whether this computer, with these adapters,
// can reach each module ("reachable": true or false, null without an IP),
// by the program's rule; the table and CSV stay as they are.
std::string FormatScanLines(const std::vector<ScanLine>& lines, ScanFormat format,
                            const std::vector<WorkstationAdapter>& adapters);

// One CSV cell as FormatScanLines writes it: guarded and quoted, so that
// another table written with it reads back as safely.
std::string SafeCsvCell(const std::string& text);

// text with each control byte (below 0x20, or 0x7F) shown as "?", for a
// terminal.
std::string PrintableText(const std::string& text);

#endif
