#include "module_row_texts.h"

#include <climits>
#include <cstring>
#include <string>

#include "network_text_guard.h"

namespace {

CString TextOrNotAvailable(std::uint8_t valid, const CString& text) {
    return valid ? text : CString(kNotAvailableText);
}

// The type name up to its NUL, and never past the field.
CString FixedText(const char (&field)[VORN_TEXT_SIZE]) {
    const void* nul = std::memchr(field, '\0', sizeof field);
    const int length = nul ? static_cast<int>(static_cast<const char*>(nul) - field) : VORN_TEXT_SIZE;
    return CString(field, length);
}

// A width read the way atoi reads it (blanks, a sign, digits; 0 without
// digits), held within the int range.
int ReadWidth(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT_MAX) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) return static_cast<int>(-value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

}  // namespace

CString DottedAddressText(std::uint32_t address) {
    CString text;
    text.Format("%u.%u.%u.%u", address >> 24, (address >> 16) & 255u, (address >> 8) & 255u, address & 255u);
    return text;
}

bool ReadDottedAddressText(const char* text, std::uint32_t& address) {
    std::uint32_t value = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0 && *text++ != '.') return false;
        unsigned number = 0;
        int digits = 0;
        for (; *text >= '0' && *text <= '9' && digits < 3; ++text, ++digits) number = number * 10 + (*text - '0');
        if (digits == 0 || number > 255) return false;
        value = (value << 8) | number;
    }
    if (*text != '\0') return false;
    address = value;
    return true;
}

bool ReadRowAddresses(const char* ipText, const char* snText, std::uint32_t& ip,
                      std::optional<std::uint32_t>& mask) {
    if (!ReadDottedAddressText(ipText, ip)) return false;
    std::uint32_t reported = 0;
    mask.reset();
    if (ReadDottedAddressText(snText, reported)) mask = reported;
    return true;
}

CString MacText(const std::uint8_t* macId) {
    CString text;
    text.Format("%02X-%02X-%02X-%02X-%02X-%02X", macId[0], macId[1], macId[2], macId[3], macId[4], macId[5]);
    return text;
}

std::array<CString, kModuleColumnCount> ModuleRowTexts(const VORN_ModuleScanResponseType& r) {
    CString version;
    version.Format("%u.%02u.%u", r.moduleVersionMajor, r.moduleVersionMinor, r.moduleVersionBuild);
    return {
        TextOrNotAvailable(r.ipValid, DottedAddressText(r.ip)),
        TextOrNotAvailable(r.snValid, DottedAddressText(r.sn)),
        TextOrNotAvailable(r.gwValid, DottedAddressText(r.gw)),
        TextOrNotAvailable(r.dhcpValid, r.dhcp == 1 ? "On" : "Off"),
        TextOrNotAvailable(r.moduleVersionValid, version),
        TextOrNotAvailable(r.fbTypeValid, FixedText(r.fbType)),
        TextOrNotAvailable(r.macIdValid, MacText(r.macId)),
    };
}

std::vector<ColumnLayout> ParseColumnLayout(const char* layout) {
    std::vector<ColumnLayout> columns;
    const std::string text = layout ? layout : "";
    std::size_t position = 0;
    for (;;) {
        const std::size_t comma = text.find(',', position);
        if (comma == std::string::npos) return columns;
        std::size_t end = text.find(';', comma + 1);
        if (end == std::string::npos) end = text.size();
        const std::string width = text.substr(comma + 1, end - comma - 1);
        columns.push_back({CString(text.substr(position, comma - position)), ReadWidth(width)});
        position = end + 1;
        if (position >= text.size()) return columns;
    }
}

CString CopyLine(const std::vector<CString>& cells) {
    CString line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) line += '\t';
        CString cell = cells[i];
        cell.Replace('\t', ' ');
        cell.Replace('\r', ' ');
        cell.Replace('\n', ' ');
        line += CString(SpreadsheetCell(cell.Str(), '\t'));
    }
    line += "\r\n";
    return line;
}
