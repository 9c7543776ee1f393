#include "network_text_guard.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool BeginsFormula(const std::string& cell) {
    return !cell.empty() && std::string("=+-@\t\r").find(cell[0]) != std::string::npos && cell != "-";
}

// A code point a terminal acts on rather than shows: a C1 control or a
// bidirectional embedding, override or isolate, which reorders the text
// after it.
bool IsActingCodePoint(unsigned long codePoint) {
    return (codePoint >= 0x80 && codePoint <= 0x9F) || (codePoint >= 0x202A && codePoint <= 0x202E) ||
           (codePoint >= 0x2066 && codePoint <= 0x2069);
}

unsigned long CodePointOf(const std::string& text, std::size_t at, std::size_t length) {
    static const unsigned char kLeadBits[] = {0, 0, 0x1F, 0x0F, 0x07};
    unsigned long codePoint = static_cast<unsigned char>(text[at]) & kLeadBits[length];
    for (std::size_t i = 1; i < length; ++i) {
        codePoint = (codePoint << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3F);
    }
    return codePoint;
}

}  // namespace

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

std::string TerminalText(const std::string& text) {
    std::string shown;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        const std::size_t sequence = byte >= 0x80 ? Utf8SequenceLength(text, i) : 0;
        if (sequence > 0) {
            if (IsActingCodePoint(CodePointOf(text, i, sequence))) {
                shown += '?';
            } else {
                shown.append(text, i, sequence);
            }
            i += sequence;
            continue;
        }
        shown += byte < 0x20 || (byte >= 0x7F && byte <= 0x9F) ? '?' : text[i];
        ++i;
    }
    return shown;
}

std::string SpreadsheetCell(const std::string& text, char separator) {
    const std::string cell = BeginsFormula(text) ? "'" + text : text;
    const bool blankAtEnd = !cell.empty() && (IsBlank(cell.front()) || IsBlank(cell.back()));
    const char quoteWorthy[] = {separator, '"', '\t', '\r', '\n', '\0'};
    if (cell.find_first_of(quoteWorthy) == std::string::npos && !blankAtEnd) return cell;
    std::string quoted = "\"";
    for (char c : cell) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}
