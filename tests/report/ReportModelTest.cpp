#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "report/AccountKey.h"
#include "report/MappingDefaults.h"
#include "report/ReportItem.h"
#include "report/TargetVersion.h"

namespace {

std::unique_ptr<MappedAccount> Entry(int itemNo, const char* key) {
    auto entry = std::make_unique<MappedAccount>();
    entry->ItemNo = static_cast<std::int16_t>(itemNo);
    std::strncpy(entry->AccountKey, key, sizeof entry->AccountKey - 1);
    return entry;
}

}  // namespace

TEST(AccountKey, TextIsHexOfTheIdentifierInByteOrder) {
    std::uint8_t id[16] = {};
    char key[MappedAccount::kKeySize];
    std::memset(key, 'X', sizeof key);
    AccountKey::Text(id, key);
    EXPECT_EQ(std::string(key), "0x" + std::string(32, '0'));
    EXPECT_EQ(key[34], '\0');

    id[0] = 0x01;
    id[1] = 0xAB;
    id[15] = 0xF0;
    AccountKey::Text(id, key);
    EXPECT_EQ(std::string(key), "0x01ab" + std::string(26, '0') + "f0");
}

TEST(AccountKey, WholeKeysCompareAndTheTwelveTotalsAreKnown) {
    EXPECT_TRUE(AccountKey::Equal("URIAGEDAKA", "URIAGEDAKA"));
    EXPECT_FALSE(AccountKey::Equal("URIAGEDAKA", "URIAGEDAKAX"));
    EXPECT_FALSE(AccountKey::Equal("SISAN", "SISA"));
    int totals = 0;
    for (const char* key : AccountKey::kTotalKeys) totals += AccountKey::IsTotalKey(key) ? 1 : 0;
    EXPECT_EQ(totals, 12);
    EXPECT_FALSE(AccountKey::IsTotalKey("0x00000000000000000000000000000000"));
    EXPECT_FALSE(AccountKey::IsTotalKey("uriagedaka"));
}

TEST(TargetVersion, PeriodEndDecidesAndMovesTheMonthlyItems) {
    EXPECT_FALSE(TargetVersion::IsUg30(20180331));
    EXPECT_TRUE(TargetVersion::IsUg30(20180401));
    EXPECT_EQ(TargetVersion::MonthlyItemBase(false), 36);
    EXPECT_EQ(TargetVersion::MonthlyItemBase(true), 37);
    EXPECT_EQ(TargetVersion::LastItemNo(false), 43);
    EXPECT_EQ(TargetVersion::LastItemNo(true), 44);
}

TEST(MappingDefaults, ResetReplacesTheMappingByACopyInOrder) {
    MappingList defaults;
    defaults.push_back(Entry(1, "URIAGEDAKA"));
    defaults.push_back(Entry(22, "0x0001"));
    defaults.push_back(Entry(22, "0x0002"));
    defaults.push_back(Entry(37, "0x0001"));
    MappingList mapping;
    mapping.push_back(Entry(5, "old"));

    ASSERT_TRUE(MappingDefaults::ResetMappingToDefault(mapping, defaults));
    ASSERT_EQ(mapping.size(), 4u);
    auto it = mapping.begin();
    for (const auto& expected : defaults) {
        EXPECT_EQ((*it)->ItemNo, expected->ItemNo);
        EXPECT_EQ(std::memcmp((*it)->AccountKey, expected->AccountKey, MappedAccount::kKeySize), 0);
        EXPECT_NE(it->get(), expected.get()) << "a copy, not a shared record";
        ++it;
    }
    // An empty default mapping empties the mapping.
    MappingList none;
    ASSERT_TRUE(MappingDefaults::ResetMappingToDefault(mapping, none));
    EXPECT_TRUE(mapping.empty());
}
