#include "ip_text_counts.h"

#include "module_row_texts.h"

void IpTextCounts::Add(const char* ipText) { ++counts[ipText]; }

bool IpTextCounts::IsShared(const char* ipText) const {
    // Rows without an address do not conflict.
    if (std::string(ipText) == kNotAvailableText) return false;
    const auto found = counts.find(ipText);
    return found != counts.end() && found->second > 1;
}
