#include "row_compare.h"

#include <cstdint>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads the digits at text as a number; anything above 255 reads as 256,
// enough for the caller's "greater than 255" test without overflow. No
// digit reads as 0, as atoi does. Only called on dotted addresses, so no
// white space or sign can come first.
unsigned ReadPart(const char* text) {
    unsigned value = 0;
    for (; IsDigit(*text); ++text) {
        value = value * 10 + static_cast<unsigned>(*text - '0');
        if (value > 255) return 256;
    }
    return value;
}

// Just after the next "." at or after text; the terminating NUL when there
// is none, so a position never passes the end of its text.
const char* AfterNextDot(const char* text) {
    while (*text && *text != '.') ++text;
    return *text ? text + 1 : text;
}

// Both texts are dotted addresses here.
int CompareAddresses(const char* a, const char* b) {
    std::uint32_t valueA = 0;
    std::uint32_t valueB = 0;
    for (int part = 0; part < 4; ++part) {
        const unsigned partA = ReadPart(a);
        if (partA > 255) return -1;
        const unsigned partB = ReadPart(b);
        if (partB > 255) return 1;
        valueA = (valueA << 8) | (partA & 0xFFu);
        valueB = (valueB << 8) | (partB & 0xFFu);
        a = AfterNextDot(a);
        b = AfterNextDot(b);
    }
    if (valueA < valueB) return -1;
    return valueA > valueB ? 1 : 0;
}

// Ascending order: addresses first, numerically; then all other texts in
// the order of the text comparison. Testing both texts for an address
// (not only the first) keeps a mixed pair such as "N/A" against an address
// ordered the same way whichever row comes first, so the order is total.
int CompareAscending(const char* first, const char* second, TextCompare compareText) {
    if (IsDottedQuad(first) || IsDottedQuad(second)) return CompareDottedQuads(first, second);
    return compareText(first, second);
}

}  // namespace

bool IsDottedQuad(const char* text) {
    if (*text == '\0') return false;
    int dots = 0;
    for (; *text; ++text) {
        if (*text == '.') {
            ++dots;
        } else if (!IsDigit(*text)) {
            return false;
        }
    }
    return dots == 3;
}

// The shape is checked before any part is read: a text with fewer or more
// than three dots has no four parts to read.
int CompareDottedQuads(const char* a, const char* b) {
    const bool addressA = IsDottedQuad(a);
    const bool addressB = IsDottedQuad(b);
    if (addressA && addressB) return CompareAddresses(a, b);
    if (addressA) return -1;
    return addressB ? 1 : 0;
}

int CompareRowTexts(const char* t1, const char* t2, bool ascending, TextCompare compareText) {
    return ascending ? CompareAscending(t1, t2, compareText) : CompareAscending(t2, t1, compareText);
}
