#include "configure_values.h"

#include <cstring>

void StoreConfigureText(char (&field)[kConfigureTextSize], const char* text) {
    // strncpy zero-fills a short text; the last byte is then forced to NUL
    // so a longer one is cut to its first 29 characters.
    std::strncpy(field, text, kConfigureTextSize);
    field[kConfigureTextMax] = '\0';
}
