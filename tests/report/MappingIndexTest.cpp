#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "report/AccountKey.h"
#include "report/MappingIndex.h"

namespace {

std::string KeyText(int seed) {
    std::uint8_t id[16] = {};
    id[0] = static_cast<std::uint8_t>(seed);
    id[15] = static_cast<std::uint8_t>(seed * 7);
    char key[MappedAccount::kKeySize];
    AccountKey::Text(id, key);
    return key;
}

// What walking the MappingList and, for each entry equal to the key, the
// ItemList reaches, in that order.
std::vector<ReportItem*> Walked(const MappingList& mapping, ItemList& items, const std::string& key) {
    std::vector<ReportItem*> reached;
    for (const auto& entry : mapping) {
        if (!AccountKey::Equal(entry->AccountKey, key.c_str())) continue;
        for (auto& item : items)
            if (item->ItemNo == entry->ItemNo) reached.push_back(item.get());
    }
    return reached;
}

}  // namespace

TEST(MappingIndex, ReachesWhatTheWalkOfBothListsReaches) {
    std::mt19937 random(20180401);
    const std::vector<std::string> accounts = {KeyText(1), KeyText(2), KeyText(3), KeyText(4)};
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE(round);
        ItemList items;
        const int itemCount = static_cast<int>(random() % 12);
        for (int n = 0; n < itemCount; ++n) {
            auto item = std::make_unique<ReportItem>();
            item->ItemNo = static_cast<std::int16_t>(random() % 6 + 1);  // numbers repeat
            items.push_back(std::move(item));
        }
        MappingList mapping;
        const int entryCount = static_cast<int>(random() % 16);
        for (int n = 0; n < entryCount; ++n) {
            auto entry = std::make_unique<MappedAccount>();
            entry->ItemNo = static_cast<std::int16_t>(random() % 7 + 1);
            const std::string& account = accounts[random() % accounts.size()];
            switch (random() % 5) {
            case 0:  // a TotalKey
                std::strcpy(entry->AccountKey, AccountKey::kTotalKeys[random() % 12]);
                break;
            case 1:  // one character short
                std::memcpy(entry->AccountKey, account.c_str(), 33);
                break;
            case 2:  // 35 characters without a NUL
                std::memcpy(entry->AccountKey, account.c_str(), 34);
                entry->AccountKey[34] = '0';
                break;
            default:
                std::memcpy(entry->AccountKey, account.c_str(), 35);
                break;
            }
            mapping.push_back(std::move(entry));
        }

        MappingIndex index;
        index.Build(mapping, items);
        for (const std::string& account : accounts)
            EXPECT_EQ(index.ItemsFor(account.c_str()), Walked(mapping, items, account)) << account;
        EXPECT_TRUE(index.ItemsFor(KeyText(9).c_str()).empty());
    }
}
