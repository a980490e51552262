#include "report/MappingIndex.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "report/AccountKey.h"

// Entries of four accounts, whole, one character short, 35 characters without a NUL, or totals, for repeating item
// numbers: the index reaches what walking the mapping and, for each entry equal to the key, the items reaches.
TEST(MappingIndex, ReachesWhatTheWalkOfBothListsReaches) {
    std::mt19937 random(20180401);
    // An account's key is "0x" and its identifier's bytes in lowercase hex.
    std::vector<std::string> accounts;
    for (std::uint8_t n = 1; n <= 5; ++n) {
        const std::uint8_t id[16] = {n, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xA0, n};
        AccountKey::Text(id, accounts.emplace_back(35, '\0').data());
        accounts.back().resize(34);
    }
    ASSERT_EQ(accounts[0], "0x0100000000000000000000000000a001");
    for (int round = 0; round < 200; ++round) {
        ItemList items;
        for (int n = static_cast<int>(random() % 12); n > 0; --n)
            items.push_back(std::make_unique<ReportItem>(ReportItem{.ItemNo = std::int16_t(random() % 6 + 1)}));
        MappingList mapping;
        for (int n = static_cast<int>(random() % 16); n > 0; --n) {
            const std::size_t kind = random() % 5;
            std::string key = kind == 0 ? AccountKey::kTotalKeys[random() % 12] : accounts[random() % 4];
            key = kind == 1 ? key.substr(0, 33) : (kind == 2 ? key + "0" : key);
            mapping.push_back(std::make_unique<MappedAccount>(MappedAccount{.ItemNo = std::int16_t(random() % 7 + 1)}));
            std::memcpy(mapping.back()->AccountKey, key.data(), std::min<std::size_t>(key.size(), 35));
        }
        MappingIndex index;
        index.Build(mapping, items);
        for (const std::string& account : accounts) {
            std::vector<ReportItem*> walked;
            for (const auto& entry : mapping)
                for (auto& item : items)
                    if (AccountKey::Equal(entry->AccountKey, account.c_str()) && item->ItemNo == entry->ItemNo)
                        walked.push_back(item.get());
            EXPECT_EQ(index.ItemsFor(account.c_str()), walked) << "round " << round << ", " << account;
        }
    }
}
