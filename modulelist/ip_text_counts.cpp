#include "ip_text_counts.h"

void IpTextCounts::Add(const char* ipText) { ++counts[ipText]; }

bool IpTextCounts::IsShared(const char* ipText) const {
    // "N/A" is what rows without an address show; they do not conflict.
    if (std::string(ipText) == "N/A") return false;
    const auto found = counts.find(ipText);
    return found != counts.end() && found->second > 1;
}
