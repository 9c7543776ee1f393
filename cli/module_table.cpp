#include "module_table.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "module_row_texts.h"
#include "network_text_guard.h"
#include "row_compare.h"

namespace {

const char* const kHeadings[kScanColumnCount] = {"IP", "SN", "GW", "DHCP", "Version", "Type", "MAC", "Hostname"};
const char* const kJsonKeys[kScanColumnCount] = {"ip", "sn", "gw", "dhcp", "version", "type", "mac", "hostname"};
constexpr int kDhcpColumn = 3;
constexpr char kColumnGap[] = "  ";

std::string HostnameText(const VORN_ModuleScanResponseType& record) {
    if (!record.hnValid) return kNotAvailableText;
    const void* nul = std::memchr(record.hn, '\0', sizeof record.hn);
    const std::size_t length = nul ? static_cast<const char*>(nul) - record.hn : sizeof record.hn;
    return std::string(record.hn, length);
}

int CompareText(const char* first, const char* second) { return std::strcmp(first, second); }

bool IpBefore(const ScanLine& a, const ScanLine& b) {
    return CompareRowTexts(a[kIpColumn].c_str(), b[kIpColumn].c_str(), true, &CompareText) < 0;
}

std::string TableText(const std::vector<ScanLine>& networkLines) {
    std::vector<ScanLine> lines = networkLines;
    for (ScanLine& line : lines) {
        for (std::string& cell : line) cell = TerminalText(cell);
    }
    std::array<std::size_t, kScanColumnCount> widths = {};
    for (int c = 0; c < kScanColumnCount; ++c) widths[c] = std::strlen(kHeadings[c]);
    for (const ScanLine& line : lines) {
        for (int c = 0; c < kScanColumnCount; ++c) widths[c] = std::max(widths[c], line[c].size());
    }
    std::string text;
    auto appendLine = [&](const ScanLine& cells) {
        for (int c = 0; c < kScanColumnCount; ++c) {
            text += cells[c];
            if (c + 1 < kScanColumnCount) text += std::string(widths[c] - cells[c].size(), ' ') + kColumnGap;
        }
        // An empty last cell would leave the padding behind.
        text.erase(text.find_last_not_of(' ') + 1);
        text += '\n';
    };
    ScanLine headings;
    for (int c = 0; c < kScanColumnCount; ++c) headings[c] = kHeadings[c];
    appendLine(headings);
    for (const ScanLine& line : lines) appendLine(line);
    return text;
}

std::string CsvText(const std::vector<ScanLine>& lines) {
    std::string text = "IP,SN,GW,DHCP,Version,Type,MAC,Hostname\n";
    for (const ScanLine& line : lines) {
        for (int c = 0; c < kScanColumnCount; ++c) text += (c ? "," : "") + SpreadsheetCell(line[c], ',');
        text += '\n';
    }
    return text;
}

// Module texts carry no encoding: a name typed on a module may come as
// UTF-8 or as Latin-1. A well-formed UTF-8 sequence is kept; every other
// byte from 0x80 up is the Latin-1 character of its value. Either way the
// output is valid JSON in UTF-8.
std::string JsonString(const std::string& value) {
    std::string text = "\"";
    for (std::size_t i = 0; i < value.size();) {
        const char c = value[i];
        const unsigned char byte = static_cast<unsigned char>(c);
        const std::size_t sequence = byte >= 0x80 ? Utf8SequenceLength(value, i) : 1;
        if (c == '"' || c == '\\') {
            text += '\\';
            text += c;
        } else if (byte < 0x20 || byte == 0x7F || sequence == 0) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", byte);
            text += escape;
        } else {
            text.append(value, i, sequence);
        }
        i += sequence == 0 ? 1 : sequence;
    }
    return text + "\"";
}

// From the line's texts, as the program's list marks its rows.
const char* ReachableJson(const ScanLine& line, const std::optional<std::vector<WorkstationAdapter>>& adapters) {
    std::uint32_t ip = 0;
    std::optional<std::uint32_t> mask;
    if (!adapters || !ReadRowAddresses(line[kIpColumn].c_str(), line[kSubnetMaskColumn].c_str(), ip, mask)) {
        return "null";
    }
    return IsReachable(*adapters, ip, mask) ? "true" : "false";
}

std::string JsonText(const std::vector<ScanLine>& lines,
                     const std::optional<std::vector<WorkstationAdapter>>& adapters) {
    if (lines.empty()) return "[]\n";
    std::string text = "[\n";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += "  {";
        for (int c = 0; c < kScanColumnCount; ++c) {
            text += (c ? ", " : "") + JsonString(kJsonKeys[c]) + ": " + JsonString(lines[i][c]);
        }
        text += std::string(", \"reachable\": ") + ReachableJson(lines[i], adapters);
        text += i + 1 < lines.size() ? "},\n" : "}\n";
    }
    return text + "]\n";
}

}  // namespace

std::vector<ScanLine> ScanLines(const std::vector<VORN_ModuleScanResponseType>& answers) {
    std::vector<ScanLine> lines;
    for (const VORN_ModuleScanResponseType& record : answers) {
        const std::array<CString, kModuleColumnCount> texts = ModuleRowTexts(record);
        ScanLine line;
        for (int c = 0; c < kModuleColumnCount; ++c) line[c] = texts[c].Str();
        line[kModuleColumnCount] = HostnameText(record);
        if (record.dhcpValid && record.dhcp > 1) line[kDhcpColumn] = kNotAvailableText;
        lines.push_back(line);
    }
    // Stable, so that modules without an IP keep the order they answered in.
    std::stable_sort(lines.begin(), lines.end(), IpBefore);
    return lines;
}

std::string FormatScanLines(const std::vector<ScanLine>& lines, ScanFormat format,
                            const std::optional<std::vector<WorkstationAdapter>>& adapters) {
    switch (format) {
        case ScanFormat::Csv: return CsvText(lines);
        case ScanFormat::Json: return JsonText(lines, adapters);
        case ScanFormat::Table: break;
    }
    return TableText(lines);
}
