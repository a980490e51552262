#include "wizard/MappedAccountsText.h"

#include <gtest/gtest.h>

#include "tests/wizard/SheetBooks.h"

class MappedAccountsTextTest : public SheetBooks {};

// 188 names of 50 bytes with their separators take 9961 of the 9999 bytes; the next name fits with 35 bytes (item
// 100), not with 40 (102); once one does not fit, names give way from the end until " / …" fits after them (101).
TEST_F(MappedAccountsTextTest, NamesGiveWayToAMarkWhenTheRoomIsFull) {
    std::string joined;
    for (int i = 0; i < 191; ++i) {
        std::string name = std::to_string(1000 + i);
        name.resize(i < 188 ? 50 : i == 188 ? 35 : i == 189 ? 1 : 40, 'n');
        const int seed = 11 + i + (i >= 88);  // clear of the fixture's seeds and of 99
        AddAccount(1, seed, (3000 + i) * 10000, reinterpret_cast<const char8_t*>(name.c_str()), kCashClass, 1);
        const auto items = i < 188 ? std::vector{100, 101, 102} : i > 188 ? std::vector{i - 88} : std::vector{100, 101};
        for (int item : items) Add(mapping_, {{item, KeyOf(seed)}});
        if (i < 188) joined += (i == 0 ? "" : " / ") + name;
    }
    const auto text = [&](int item) { return std::string(MappedAccountsText::Of(item, mapping_)); };
    EXPECT_EQ(std::tuple(text(100), text(101), text(102)),
              std::tuple(joined + " / 1188" + std::string(31, 'n'), joined + " / …", joined + " / …"));
}
