#pragma once

#include "report/MappedAccount.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// Mappings written and compared as (ItemNo, key text) pairs.
namespace mappingentries {

using Entry = std::pair<int, std::string>;

inline MappingList Make(std::initializer_list<Entry> entries) {
    MappingList mapping;
    for (const auto& [itemNo, key] : entries) {
        auto entry = std::make_unique<MappedAccount>();
        entry->ItemNo = static_cast<std::int16_t>(itemNo);
        std::memcpy(entry->AccountKey, key.data(), std::min(key.size(), sizeof entry->AccountKey));
        mapping.push_back(std::move(entry));
    }
    return mapping;
}

// The entries in list order; a key is its text up to the NUL, and a key
// field that lacks its NUL or has bytes behind it shows as "<bad field>".
inline std::vector<Entry> Of(const MappingList& mapping) {
    std::vector<Entry> entries;
    for (const auto& entry : mapping) {
        const std::size_t length = strnlen(entry->AccountKey, sizeof entry->AccountKey);
        bool clean = length < sizeof entry->AccountKey;
        for (std::size_t i = length; clean && i < sizeof entry->AccountKey; ++i) clean = entry->AccountKey[i] == '\0';
        entries.emplace_back(entry->ItemNo, clean ? std::string(entry->AccountKey, length) : "<bad field>");
    }
    return entries;
}

}  // namespace mappingentries
