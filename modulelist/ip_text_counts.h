// The IP texts of the listed modules, counted. A text other than "N/A"
// counted more than once is an address conflict: two modules answer at one
// address. A row without a MAC (this program's own configure request read
// back) is no module and is not counted. Portable.
#ifndef KL_MODULELIST_IP_TEXT_COUNTS_H
#define KL_MODULELIST_IP_TEXT_COUNTS_H

#include <map>
#include <string>

class IpTextCounts {
public:
    void Clear() { counts.clear(); }
    // The texts of one row's IP and MAC columns.
    void Add(const char* ipText, const char* macText);
    bool IsShared(const char* ipText, const char* macText) const;

private:
    std::map<std::string, int> counts;
};

#endif
