#pragma once

#include <cstdint>
#include <list>
#include <memory>

// One account (or statement total) feeding one item.
struct MappedAccount {
    static constexpr int kKeySize = 35;

    std::int16_t ItemNo = 0;
    // The AccountKeyText of an account ("0x" and 32 hex digits), or a TotalKey.
    char AccountKey[kKeySize] = {};
};

// Mappings in insertion order, which is significant: the aggregation and the
// condition file walk them in this order. Each record is owned by the list.
using MappingList = std::list<std::unique_ptr<MappedAccount>>;
