// The list's record store: one record per MAC in arrival order, at most
// kCapacity of them, so that a flood of forged MACs cannot grow it without
// bound; finding a MAC is one hash look-up. Portable.
#ifndef KL_MODULELIST_MODULE_STORE_H
#define KL_MODULELIST_MODULE_STORE_H

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "vorn.h"

// The six MAC bytes as one number, the store's and the rows' key.
std::uint64_t MacKey(const std::uint8_t mac[VORN_MAC_SIZE]);
// A record's key: its MAC's, or for every record without a MAC (the echo
// of this computer's own request) one beyond the 48 bits of any MAC, so a
// module answering with FF-FF-FF-FF-FF-FF is not taken for the echo.
std::uint64_t RecordKey(const VORN_ModuleScanResponseType& record);

class ModuleStore {
public:
    static constexpr std::size_t kCapacity = 4096;
    using const_iterator = std::vector<VORN_ModuleScanResponseType>::const_iterator;

    // The record of the module with these MAC bytes, or null.
    const VORN_ModuleScanResponseType* Find(const std::uint8_t mac[VORN_MAC_SIZE]) const;
    // Keeps a record of a MAC not kept yet; false when one is kept already,
    // or when the store is full (the first kCapacity MACs stay; the record
    // is counted in TurnedAway()).
    bool Add(const VORN_ModuleScanResponseType& record);
    // The latest answer of a kept MAC replaces its record; false when none
    // is kept.
    bool Replace(const VORN_ModuleScanResponseType& record);
    void Remove(std::uint64_t macKey);
    // Empties the store and its count of turned-away answers.
    void Clear();
    // Answers of further MACs that found the store full, since the last Clear.
    std::size_t TurnedAway() const { return turnedAway; }

    std::size_t size() const { return records.size(); }
    bool empty() const { return records.empty(); }
    const VORN_ModuleScanResponseType& operator[](std::size_t index) const { return records[index]; }
    const_iterator begin() const { return records.begin(); }
    const_iterator end() const { return records.end(); }
    const std::vector<VORN_ModuleScanResponseType>& Records() const { return records; }

private:
    std::vector<VORN_ModuleScanResponseType> records;
    std::unordered_map<std::uint64_t, std::size_t> indexOfMac;
    std::size_t turnedAway = 0;
};

#endif
