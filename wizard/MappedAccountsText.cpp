#include "wizard/MappedAccountsText.h"

#include <cstring>
#include <string>
#include <vector>

#include "accounting_core/StKAMOKUINFO.h"
#include "report/AccountLookup.h"

namespace {

// The tip has room for this many bytes.
constexpr std::size_t kRoom = 9999;
constexpr const char* kSeparator = " / ";
constexpr const char* kNoAccounts = "集約されている科目はありません。";
// Ends a tip whose names did not all fit: the names that fit, then this.
constexpr const char* kMore = " / …";

}  // namespace

// Names are put in whole or not at all, so that a tip never shows half a
// name or half a character. When the next name does not fit, the names
// already there are followed by " / …" and the rest are left out; names at
// the end give way until that mark fits too.
const char* MappedAccountsText::Of(int itemNo, const MappingList& mapping) {
    static std::string text;
    text.clear();
    std::vector<std::size_t> nameStarts;  // where each name's separator (or the name) begins
    bool full = false;
    for (const auto& entry : mapping) {
        if (entry->ItemNo != itemNo) continue;
        StKAMOKUINFO account;
        std::memset(&account, 0, sizeof account);
        const std::int32_t code = AccountLookup::FindAccountByKey(entry->AccountKey, &account);
        if (code == -1 || code == 0) continue;
        const std::size_t nameLength = strnlen(account.Name, sizeof account.Name);
        const std::size_t separatorLength = text.empty() ? 0 : std::strlen(kSeparator);
        if (text.size() + separatorLength + nameLength > kRoom) {
            full = true;
            break;
        }
        nameStarts.push_back(text.size());
        if (separatorLength != 0) text += kSeparator;
        text.append(account.Name, nameLength);
    }
    if (full) {
        while (nameStarts.size() > 1 && text.size() + std::strlen(kMore) > kRoom) {
            text.resize(nameStarts.back());
            nameStarts.pop_back();
        }
        text += kMore;
    }
    if (text.empty()) text = kNoAccounts;
    return text.c_str();
}
