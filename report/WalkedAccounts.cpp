#include "report/WalkedAccounts.h"

#include <cstring>

#include "report/AccountKey.h"

WalkedAccounts::WalkedAccounts(const MappingList& mapping) {
    for (const auto& entry : mapping)
        named_.emplace(entry->AccountKey, strnlen(entry->AccountKey, sizeof entry->AccountKey));
}

void WalkedAccounts::Add(const StKAMOKUSUMINFO& record, std::int64_t balance) {
    NoteTaxViews(record);
    char key[MappedAccount::kKeySize];
    AccountKey::Text(record.Id, key);
    if (IsSubAccount(record.Code) && named_.find(std::string_view(key)) == named_.end()) return;
    Account account{key, record.Code, std::string(record.Name, strnlen(record.Name, sizeof record.Name)), balance};
    byKey_.emplace(account.key, accounts_.size());
    byCode_.emplace(account.code, accounts_.size());
    accounts_.push_back(std::move(account));
}

void WalkedAccounts::NoteTaxViews(const StKAMOKUSUMINFO& record) {
    if (taxViewsDiffer_) return;
    // The packed record's arrays are compared as bytes.
    const auto* bytes = reinterpret_cast<const unsigned char*>(&record);
    constexpr std::size_t kArray = sizeof record.DebitExcl;
    if (std::memcmp(bytes + offsetof(StKAMOKUSUMINFO, DebitExcl), bytes + offsetof(StKAMOKUSUMINFO, DebitIncl),
                    kArray) != 0 ||
        std::memcmp(bytes + offsetof(StKAMOKUSUMINFO, CreditExcl), bytes + offsetof(StKAMOKUSUMINFO, CreditIncl),
                    kArray) != 0)
        taxViewsDiffer_ = true;
}

const WalkedAccounts::Account* WalkedAccounts::Find(std::string_view key) const {
    const auto found = byKey_.find(std::string(key));
    return found == byKey_.end() ? nullptr : &accounts_[found->second];
}

const WalkedAccounts::Account* WalkedAccounts::FindCode(std::int32_t code) const {
    const auto found = byCode_.find(code);
    return found == byCode_.end() ? nullptr : &accounts_[found->second];
}

std::string WalkedAccounts::CodeText(std::int32_t storedCode) {
    std::string text = std::to_string(storedCode / 10000);
    if (IsSubAccount(storedCode)) text += "-" + std::to_string(storedCode % 10000);
    return text;
}
