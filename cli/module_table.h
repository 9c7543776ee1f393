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
#include <unordered_map>
#include <vector>

#include "cli_arguments.h"
#include "vorn.h"
#include "workstation_subnets.h"

constexpr int kScanColumnCount = 8;
using ScanLine = std::array<std::string, kScanColumnCount>;

// One scan keeps at most this many modules: forged answers must not grow
// the store without bound.
constexpr std::size_t kMaxScanModules = 4096;

// The first answer of each six MAC bytes, as the program's list keeps
// them, up to kMaxScanModules; a MAC already kept costs a hash look-up.
class FirstAnswers {
public:
    // True when record was kept: its MAC is not kept yet and there is room.
    bool Keep(const VORN_ModuleScanResponseType& record);
    // The kept answer that reports this MAC, or null.
    const VORN_ModuleScanResponseType* Find(const std::uint8_t (&mac)[VORN_MAC_SIZE]) const;
    const std::vector<VORN_ModuleScanResponseType>& Answers() const { return answers_; }
    // Answers of MACs not kept because the store was full.
    std::size_t TurnedAway() const { return turnedAway_; }

private:
    std::vector<VORN_ModuleScanResponseType> answers_;
    std::unordered_map<std::uint64_t, std::size_t> indexByMac_;
    std::size_t turnedAway_ = 0;
};

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
