#include "address_text.h"

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
