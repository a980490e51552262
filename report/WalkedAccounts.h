#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "accounting_core/StKAMOKUSUMINFO.h"
#include "report/MappedAccount.h"

// The accounts of the data set as one aggregation saw them: key, code, name
// and the balance of the chosen months in the chosen tax view. The checks
// and the preview name accounts and find unmapped balances from here, so
// that they speak of exactly the figures the report was built from.
//
// Kept are the main accounts and the accounts the mapping names: a
// sub-account's amounts are part of its main account's, and books with tens
// of thousands of customer sub-accounts would otherwise cost memory for
// every one of them.
class WalkedAccounts {
public:
    // mapping: the mapping of the aggregation.
    explicit WalkedAccounts(const MappingList& mapping);

    struct Account {
        std::string key;       // AccountKeyText
        std::int32_t code = 0; // as stored: code x 10000 + sub
        std::string name;      // code page 932
        std::int64_t balance = 0;  // ten-thousandths of a yen, on the account's side
    };

    // One account's summary record and its balance (not a total line),
    // kept when it is a main account or the mapping names it.
    void Add(const StKAMOKUSUMINFO& record, std::int64_t balance);

    // The accounts kept, in the order of the walk.
    const std::vector<Account>& All() const { return accounts_; }
    // The account with this key, or nullptr.
    const Account* Find(std::string_view key) const;
    // The account with this stored code, or nullptr.
    const Account* FindCode(std::int32_t code) const;
    // Whether any account's tax-included sums differ from its tax-excluded
    // ones in the months delivered (every account walked, kept or not).
    bool TaxViewsDiffer() const { return taxViewsDiffer_; }

    // The code as users write it: "1140", or "1140-1" for a sub-account.
    static std::string CodeText(std::int32_t storedCode);
    static bool IsSubAccount(std::int32_t storedCode) { return storedCode % 10000 != 0; }
    static std::int32_t MainCodeOf(std::int32_t storedCode) { return storedCode - storedCode % 10000; }

private:
    void NoteTaxViews(const StKAMOKUSUMINFO& record);

    std::set<std::string, std::less<>> named_;  // the mapping's keys
    std::vector<Account> accounts_;
    std::unordered_map<std::string, std::size_t> byKey_;
    std::unordered_map<std::int32_t, std::size_t> byCode_;
    bool taxViewsDiffer_ = false;
};
