#include "module_table.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "module_row_texts.h"
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
        for (std::string& cell : line) cell = PrintableText(cell);
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

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A spreadsheet takes a cell that begins so for a formula (a bare "-" it
// takes as text).
bool LooksLikeFormula(const std::string& cell) {
    return !cell.empty() && std::string("=+-@\t\r").find(cell[0]) != std::string::npos && cell != "-";
}

// RFC 4180, and quoted also when blanks begin or end the cell, which a
// plan reader would otherwise trim.
std::string CsvCell(const std::string& text) {
    const std::string cell = LooksLikeFormula(text) ? "'" + text : text;
    const bool blankAtEnd = !cell.empty() && (IsBlank(cell.front()) || IsBlank(cell.back()));
    if (cell.find_first_of(",\"\r\n") == std::string::npos && !blankAtEnd) return cell;
    std::string quoted = "\"";
    for (char c : cell) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string CsvText(const std::vector<ScanLine>& lines) {
    std::string text = "IP,SN,GW,DHCP,Version,Type,MAC,Hostname\n";
    for (const ScanLine& line : lines) {
        for (int c = 0; c < kScanColumnCount; ++c) text += (c ? "," : "") + CsvCell(line[c]);
        text += '\n';
    }
    return text;
}

// The length of the well-formed UTF-8 sequence of two to four bytes at
// text[at] (no overlong form, surrogate or code point above U+10FFFF), or
// 0 when there is none.
std::size_t Utf8SequenceLength(const std::string& text, std::size_t at) {
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    unsigned char secondMin = 0x80;
    unsigned char secondMax = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) secondMin = 0xA0;
        if (lead == 0xED) secondMax = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) secondMin = 0x90;
        if (lead == 0xF4) secondMax = 0x8F;
    }
    if (length == 0 || at + length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[at + i]);
        if (c < (i == 1 ? secondMin : 0x80) || c > (i == 1 ? secondMax : 0xBF)) return 0;
    }
    return length;
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
const char* ReachableJson(const ScanLine& line, const std::vector<WorkstationAdapter>& adapters) {
    bool reachable = false;
    if (!ReadReachability(adapters, line[kIpColumn].c_str(), line[kSubnetMaskColumn].c_str(), reachable)) return "null";
    return reachable ? "true" : "false";
}

std::string JsonText(const std::vector<ScanLine>& lines, const std::vector<WorkstationAdapter>& adapters) {
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

bool KeepFirstAnswer(std::vector<VORN_ModuleScanResponseType>& answers, const VORN_ModuleScanResponseType& record) {
    for (const VORN_ModuleScanResponseType& kept : answers) {
        if (std::memcmp(kept.macId, record.macId, VORN_MAC_SIZE) == 0) return false;
    }
    answers.push_back(record);
    return true;
}

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
                            const std::vector<WorkstationAdapter>& adapters) {
    switch (format) {
        case ScanFormat::Csv: return CsvText(lines);
        case ScanFormat::Json: return JsonText(lines, adapters);
        case ScanFormat::Table: break;
    }
    return TableText(lines);
}

std::string PrintableText(const std::string& text) {
    std::string printable = text;
    for (char& c : printable) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    }
    return printable;
}

std::string SafeCsvCell(const std::string& text) { return CsvCell(text); }
