#include <climits>

#include "dll_version.h"

namespace {

// The next field of text at or after *cursor, strtok-style; nullptr when
// only separators (or nothing) remain.
char* NextField(char** cursor, char separator) {
    char* p = *cursor;
    while (*p == separator) ++p;
    if (*p == '\0') {
        *cursor = p;
        return nullptr;
    }
    char* field = p;
    while (*p != '\0' && *p != separator) ++p;
    if (*p == separator) *p++ = '\0';
    *cursor = p;
    return field;
}

// atoi's reading, kept within the int range.
int ReadInt(const char* text) {
    while (*text == ' ' || (*text >= '\t' && *text <= '\r')) ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') negative = *text++ == '-';
    long long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (*text - '0');
        if (value > INT_MAX) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) return static_cast<int>(-value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

}  // namespace

bool CDllVersion::ParseVersion(char* text, char separator, int& major, int& minor, int& release) {
    char* cursor = text;
    int* const targets[] = {&major, &minor, &release};
    for (int* target : targets) {
        const char* field = NextField(&cursor, separator);
        if (!field) return false;
        *target = ReadInt(field);
    }
    return true;
}

bool IsSupportedLibraryVersion(int major, int minor) { return major == 1 && minor == 1; }
