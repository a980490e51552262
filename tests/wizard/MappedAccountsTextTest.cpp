#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/wizard/AccountMappingBooks.h"
#include "wizard/MappedAccountsText.h"

namespace {

class MappedAccountsTextTest : public AccountMappingBooks {
protected:
    // Accounts of data set 1 with ASCII names of the given lengths (ASCII is
    // the same in the books and in code page 932), mapped to itemNo.
    std::vector<std::string> AddLongNamedAccounts(const std::vector<int>& lengths, int itemNo) {
        std::vector<std::string> names;
        for (std::size_t i = 0; i < lengths.size(); ++i) {
            char prefix[24];
            std::snprintf(prefix, sizeof prefix, "%04zu", i);
            std::string name = prefix;
            name.resize(static_cast<std::size_t>(lengths[i]), 'n');
            // Identifiers repeat with the seed modulo 256; these stay clear
            // of the seeds of the other accounts and of kDeleted.
            int seed = 9 + static_cast<int>(i);
            if (seed >= kDeleted) ++seed;
            AddAccount(1, seed, (2000 + static_cast<int>(i)) * 10000, reinterpret_cast<const char8_t*>(name.c_str()),
                       0x80480000u, 2);
            Add(mapping_, itemNo, Key(seed));
            names.push_back(name);
        }
        return names;
    }

    static std::string Joined(const std::vector<std::string>& names, std::size_t count) {
        std::string text;
        for (std::size_t i = 0; i < count; ++i) text += (i == 0 ? "" : " / ") + names[i];
        return text;
    }
};

}  // namespace

TEST_F(MappedAccountsTextTest, NamesOfTheItemsAccountsAreJoinedInMappingOrderAsStored) {
    Add(mapping_, kItemNo, Key(kReceivable));
    Add(mapping_, 6, Key(kCash));
    Add(mapping_, kItemNo, AccountKey::kUriageDaka);
    Add(mapping_, kItemNo, Key(kDeposit));
    Add(mapping_, kItemNo, Key(kCashSub));
    EXPECT_STREQ(MappedAccountsText::Of(kItemNo, mapping_), "売掛金 / 普通預金　");
    EXPECT_STREQ(MappedAccountsText::Of(6, mapping_), "現金");
}

TEST_F(MappedAccountsTextTest, AnItemWithoutExistingAccountsSaysSo) {
    Add(mapping_, kItemNo, AccountKey::kSisan);
    Add(mapping_, kItemNo, Key(kDeleted));
    Add(mapping_, kItemNo, Key(kUnused));
    Add(mapping_, 6, Key(kCash));
    EXPECT_STREQ(MappedAccountsText::Of(kItemNo, mapping_), "集約されている科目はありません。");
    EXPECT_STREQ(MappedAccountsText::Of(7, mapping_), "集約されている科目はありません。");
    EXPECT_STREQ(MappedAccountsText::Of(6, MappingList{}), "集約されている科目はありません。");
}

TEST_F(MappedAccountsTextTest, NamesThatFillTheRoomExactlyAreAllShown) {
    // 188 names of 50 bytes and their separators take 9961 bytes; " / " and
    // 35 more bytes make 9999.
    std::vector<int> lengths(188, 50);
    lengths.push_back(35);
    const std::vector<std::string> names = AddLongNamedAccounts(lengths, kItemNo);
    const std::string text = MappedAccountsText::Of(kItemNo, mapping_);
    EXPECT_EQ(text.size(), 9999u);
    EXPECT_EQ(text, Joined(names, names.size()));
}

TEST_F(MappedAccountsTextTest, NamesBeyondTheRoomAreLeftOutAfterAMark) {
    // As above, and one more name: the 35-byte name gives way so that the
    // mark " / …" fits after the 188th name.
    std::vector<int> lengths(188, 50);
    lengths.push_back(35);
    lengths.push_back(1);
    const std::vector<std::string> names = AddLongNamedAccounts(lengths, kItemNo);
    const std::string text = MappedAccountsText::Of(kItemNo, mapping_);
    EXPECT_EQ(text, Joined(names, 188) + " / …");
    EXPECT_EQ(text.size(), 9961u + 5u);

    // The text of the next call replaces it.
    Add(mapping_, 6, Key(kCash));
    EXPECT_STREQ(MappedAccountsText::Of(6, mapping_), "現金");
}

TEST_F(MappedAccountsTextTest, ANameThatDoesNotFitEndsTheTextWithTheMark) {
    // 188 names of 50 bytes, then one of 40 that would need 10004 bytes.
    std::vector<int> lengths(188, 50);
    lengths.push_back(40);
    const std::vector<std::string> names = AddLongNamedAccounts(lengths, kItemNo);
    EXPECT_EQ(std::string(MappedAccountsText::Of(kItemNo, mapping_)), Joined(names, 188) + " / …");
}
