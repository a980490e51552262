// The tip text of an item button: the names of the item's accounts, and how they give way when the room is full.

#include "wizard/MappedAccountsText.h"

#include <gtest/gtest.h>

#include "tests/wizard/SheetBooks.h"

class MappedAccountsTextTest : public SheetBooks {};

// 188 names of 50 bytes with their separators take 9961 of the 9999 bytes; the next name fits with 35 bytes (item
// 100), not with 40 (102); once one does not fit, names give way from the end until " / …" fits after them (101).
TEST_F(MappedAccountsTextTest, TheNamesOfTheItemsAccountsUntilTheRoomIsFull) {
    std::string joined;
    for (int i = 0; i < 191; ++i) {
        std::string name = std::to_string(1000 + i);
        name.resize(i < 188 ? 50 : i == 188 ? 35 : i == 189 ? 1 : 40, 'n');
        const int seed = 11 + i + (11 + i >= 99);  // clear of the other seeds and of 99
        AddAccount(1, seed, (3000 + i) * 10000, reinterpret_cast<const char8_t*>(name.c_str()), kCashClass, 1);
        for (int item : i < 188 ? std::vector{100, 101, 102} : i == 188 ? std::vector{100, 101} : std::vector{100 + i - 188})
            Add(mapping_, {{item, KeyOf(seed)}});
        if (i < 188) joined += (i == 0 ? "" : " / ") + name;
    }
    EXPECT_EQ(std::string(MappedAccountsText::Of(100, mapping_)), joined + " / 1188" + std::string(31, 'n'));
    EXPECT_EQ(std::string(MappedAccountsText::Of(101, mapping_)), joined + " / …");
    EXPECT_EQ(std::string(MappedAccountsText::Of(102, mapping_)), joined + " / …");
    // In mapping order, other items', totals' and unknown keys left out; without an account a sentence says so.
    Add(mapping_, {{5, KeyOf(2110)}, {6, KeyOf(1110)}, {5, AccountKey::kUriageDaka}, {5, KeyOf(1140)}, {7, KeyOf(99)}});
    EXPECT_STREQ(MappedAccountsText::Of(5, mapping_), "支払手形 / 普通預金");
    EXPECT_STREQ(MappedAccountsText::Of(7, mapping_), "集約されている科目はありません。");
}
