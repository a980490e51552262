#pragma once

#include <string_view>
#include <unordered_map>
#include <vector>

#include "report/MappedAccount.h"
#include "report/ReportItem.h"

// Which items each account of the mapping feeds, so that the aggregation
// finds them with one look-up per account instead of comparing every account
// with every mapping entry.
//
// The answer for an account is exactly what walking the MappingList in order
// and, for each entry whose key equals the account's key, the ItemList in
// order would reach: one element per (entry, item) pair, in that order. Two
// identical entries therefore give the item twice, and an account mapped to
// several items gives each of them.
class MappingIndex {
public:
    // Replaces the index. The mapping and the items must stay unchanged while
    // the index is used: it points into them.
    void Build(const MappingList& mapping, ItemList& items);

    // The items fed by the account whose AccountKeyText is keyText (34
    // characters and a NUL); empty when none.
    const std::vector<ReportItem*>& ItemsFor(const char* keyText) const;

private:
    std::unordered_map<std::string_view, std::vector<ReportItem*>> byKey_;
    std::vector<ReportItem*> none_;
};
