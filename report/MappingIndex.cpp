#include "report/MappingIndex.h"

#include <cstdint>
#include <cstring>

namespace {

// An AccountKeyText: "0x" and 32 hex digits.
constexpr std::size_t kKeyTextLength = MappedAccount::kKeySize - 1;

}  // namespace

void MappingIndex::Build(const MappingList& mapping, ItemList& items) {
    byKey_.clear();
    std::unordered_map<std::int16_t, std::vector<ReportItem*>> itemsByNo;
    for (const auto& item : items) itemsByNo[item->ItemNo].push_back(item.get());

    for (const auto& entry : mapping) {
        // Keys compare over at most 35 bytes up to the NUL: an entry equals
        // an account's 34-character text only when it has exactly those 34
        // characters before its NUL. Any other entry (a TotalKey, a
        // truncated or overlong key) never matches an account.
        if (strnlen(entry->AccountKey, MappedAccount::kKeySize) != kKeyTextLength) continue;
        std::vector<ReportItem*>& fed = byKey_[std::string_view(entry->AccountKey, kKeyTextLength)];
        auto numbered = itemsByNo.find(entry->ItemNo);
        if (numbered != itemsByNo.end()) fed.insert(fed.end(), numbered->second.begin(), numbered->second.end());
    }
}

const std::vector<ReportItem*>& MappingIndex::ItemsFor(const char* keyText) const {
    auto found = byKey_.find(std::string_view(keyText, strnlen(keyText, MappedAccount::kKeySize)));
    return found != byKey_.end() ? found->second : none_;
}
