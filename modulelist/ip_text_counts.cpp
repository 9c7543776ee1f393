#include "ip_text_counts.h"

#include <cstring>

#include "module_row_texts.h"

namespace {

bool IsModuleWithAddress(const char* ipText, const char* macText) {
    return std::strcmp(ipText, kNotAvailableText) != 0 && std::strcmp(macText, kNotAvailableText) != 0;
}

}  // namespace

void IpTextCounts::Add(const char* ipText, const char* macText) {
    if (IsModuleWithAddress(ipText, macText)) ++counts[ipText];
}

bool IpTextCounts::IsShared(const char* ipText, const char* macText) const {
    if (!IsModuleWithAddress(ipText, macText)) return false;
    const auto found = counts.find(ipText);
    return found != counts.end() && found->second > 1;
}
