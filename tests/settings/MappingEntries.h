#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "report/MappedAccount.h"

// Mappings made from and read as (ItemNo, key text) pairs.
namespace mappingentries {

using Entry = std::pair<int, std::string>;

inline MappingList Make(const std::vector<Entry>& entries) {
    MappingList mapping;
    for (const auto& [itemNo, key] : entries) {
        mapping.push_back(std::make_unique<MappedAccount>(MappedAccount{static_cast<std::int16_t>(itemNo), {}}));
        std::memcpy(mapping.back()->AccountKey, key.data(), std::min(key.size(), sizeof(MappedAccount::AccountKey)));
    }
    return mapping;
}

inline std::vector<Entry> Of(const MappingList& mapping) {
    std::vector<Entry> entries;
    for (const auto& entry : mapping)
        entries.emplace_back(entry->ItemNo, std::string(entry->AccountKey, strnlen(entry->AccountKey, 35)));
    return entries;
}

}  // namespace mappingentries
