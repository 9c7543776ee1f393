// Texts from the network made safe where they land: any host on the
// segment can answer with any bytes, and a terminal or a spreadsheet acts
// on some of them. One rule for the list's copied lines and the command
// line's table, CSV and messages. Portable.
#ifndef KL_MODULELIST_NETWORK_TEXT_GUARD_H
#define KL_MODULELIST_NETWORK_TEXT_GUARD_H

#include <cstddef>
#include <string>

// The length of the well-formed UTF-8 sequence of two to four bytes at
// text[at] (no overlong form, surrogate or code point above U+10FFFF), or
// 0 when there is none.
std::size_t Utf8SequenceLength(const std::string& text, std::size_t at);

// text as a terminal may show it: each control character (below 0x20,
// 0x7F, 0x80 to 0x9F as a byte of its own or as UTF-8) and each
// bidirectional embedding, override or isolate (U+202A to U+202E, U+2066
// to U+2069 in UTF-8) becomes one "?". Other bytes stay.
std::string TerminalText(const std::string& text);

// One cell of a line whose cells are separated by separator. A cell that
// begins with "=", "+", "-", "@", a tab or a CR (a lone "-" excepted) is
// one a spreadsheet takes for a formula: a "'" goes before it. A cell
// holding the separator, a quote, a tab or a line break, or beginning or
// ending with a blank, is quoted, its quotes doubled.
std::string SpreadsheetCell(const std::string& text, char separator);

#endif
