// The IP texts of the listed rows, counted. A text other than "N/A" counted
// more than once is an address conflict: two modules answer at one address.
// Portable.
#ifndef KL_MODULELIST_IP_TEXT_COUNTS_H
#define KL_MODULELIST_IP_TEXT_COUNTS_H

#include <map>
#include <string>

class IpTextCounts {
public:
    void Clear() { counts.clear(); }
    void Add(const char* ipText);
    bool IsShared(const char* ipText) const;

private:
    std::map<std::string, int> counts;
};

#endif
