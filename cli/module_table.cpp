#include "module_table.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "module_row_texts.h"
#include "row_compare.h"

namespace {

const char* const kHeadings[kScanColumnCount] = {"IP", "SN", "GW", "DHCP", "Version", "Type", "MAC", "Hostname"};
const char* const kJsonKeys[kScanColumnCount] = {"ip", "sn", "gw", "dhcp", "version", "type", "mac", "hostname"};
constexpr int kIpColumn = 0;
constexpr char kColumnGap[] = "  ";

std::string HostnameText(const VORN_ModuleScanResponseType& record) {
    if (!record.hnValid) return "N/A";
    const void* nul = std::memchr(record.hn, '\0', sizeof record.hn);
    const std::size_t length = nul ? static_cast<const char*>(nul) - record.hn : sizeof record.hn;
    return std::string(record.hn, length);
}

int CompareText(const char* first, const char* second) { return std::strcmp(first, second); }

bool IpBefore(const ScanLine& a, const ScanLine& b) {
    return CompareRowTexts(a[kIpColumn].c_str(), b[kIpColumn].c_str(), true, &CompareText) < 0;
}

std::string TableText(const std::vector<ScanLine>& lines) {
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

std::string CsvCell(const std::string& cell) {
    if (cell.find_first_of(",\"\r\n") == std::string::npos) return cell;
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

// Module texts are 8-bit and carry no encoding; each byte from 0x80 up is
// written as the code point of the same number, so the output is always
// valid JSON.
std::string JsonString(const std::string& value) {
    std::string text = "\"";
    for (char c : value) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            text += '\\';
            text += c;
        } else if (byte < 0x20 || byte >= 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", byte);
            text += escape;
        } else {
            text += c;
        }
    }
    return text + "\"";
}

std::string JsonText(const std::vector<ScanLine>& lines) {
    if (lines.empty()) return "[]\n";
    std::string text = "[\n";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += "  {";
        for (int c = 0; c < kScanColumnCount; ++c) {
            text += (c ? ", " : "") + JsonString(kJsonKeys[c]) + ": " + JsonString(lines[i][c]);
        }
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
        lines.push_back(line);
    }
    // Stable, so that modules without an IP keep the order they answered in.
    std::stable_sort(lines.begin(), lines.end(), IpBefore);
    return lines;
}

std::string FormatScanLines(const std::vector<ScanLine>& lines, ScanFormat format) {
    switch (format) {
        case ScanFormat::Csv: return CsvText(lines);
        case ScanFormat::Json: return JsonText(lines);
        case ScanFormat::Table: break;
    }
    return TableText(lines);
}
