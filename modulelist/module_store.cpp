#include "module_store.h"

std::uint64_t MacKey(const std::uint8_t mac[VORN_MAC_SIZE]) {
    std::uint64_t key = 0;
    for (int i = 0; i < VORN_MAC_SIZE; ++i) key = (key << 8) | mac[i];
    return key;
}

std::uint64_t RecordKey(const VORN_ModuleScanResponseType& record) {
    constexpr std::uint64_t kNoMacKey = std::uint64_t{1} << 48;
    return record.macIdValid ? MacKey(record.macId) : kNoMacKey;
}

const VORN_ModuleScanResponseType* ModuleStore::Find(const std::uint8_t mac[VORN_MAC_SIZE]) const {
    const auto found = indexOfMac.find(MacKey(mac));
    if (found == indexOfMac.end()) return nullptr;
    return &records[found->second];
}

bool ModuleStore::Add(const VORN_ModuleScanResponseType& record) {
    const std::uint64_t key = RecordKey(record);
    if (indexOfMac.count(key) != 0) return false;
    if (records.size() >= kCapacity) {
        ++turnedAway;
        return false;
    }
    indexOfMac.emplace(key, records.size());
    records.push_back(record);
    return true;
}

bool ModuleStore::Replace(const VORN_ModuleScanResponseType& record) {
    const auto found = indexOfMac.find(RecordKey(record));
    if (found == indexOfMac.end()) return false;
    records[found->second] = record;
    return true;
}

// Only the echo of the program's own request is ever removed, so the
// records after it are renumbered rather than the arrival order given up.
void ModuleStore::Remove(std::uint64_t macKey) {
    const auto found = indexOfMac.find(macKey);
    if (found == indexOfMac.end()) return;
    const std::size_t index = found->second;
    indexOfMac.erase(found);
    records.erase(records.begin() + static_cast<std::ptrdiff_t>(index));
    for (auto& entry : indexOfMac) {
        if (entry.second > index) --entry.second;
    }
}

void ModuleStore::Clear() {
    records.clear();
    indexOfMac.clear();
    turnedAway = 0;
}
