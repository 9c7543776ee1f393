// The order of the module list's rows: a text shaped like a dotted address
// is compared as four numbers, every other text by a text comparison the
// caller provides (the platform's locale-aware one on Windows). Portable.
#ifndef KL_MODULELIST_ROW_COMPARE_H
#define KL_MODULELIST_ROW_COMPARE_H

// Negative, 0 or positive like strcmp. A plain function pointer so that
// the caller can pass lstrcmpA (through a wrapper) or strcmp.
using TextCompare = int (*)(const char* first, const char* second);

// True for a non-empty text of digits and dots with exactly three dots.
bool IsDottedQuad(const char* text);

// -1, 0 or 1: the two texts as 32-bit numbers, first part most significant.
// A part above 255 decides at once (in a's favour when a's part comes
// first in the read order a1, b1, a2, b2, ...). A text that is not a dotted
// address sorts after every dotted address; two such texts compare equal.
int CompareDottedQuads(const char* a, const char* b);

// The list's comparison of two rows' texts in the sorted column; negative
// puts the first row first. Descending swaps the texts.
int CompareRowTexts(const char* t1, const char* t2, bool ascending, TextCompare compareText);

#endif
