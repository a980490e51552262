#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "accounting_core/ClDataMgr.h"
#include "accounting_core/CoreResult.h"
#include "accounting_core/StKAMOKUINFO.h"
#include "report/AccountKey.h"
#include "report/AccountLookup.h"
#include "tests/support/BooksFixture.h"

namespace {

class AccountLookupTest : public BooksFixture {
protected:
    void SetUp() override {
        BooksFixture::SetUp();
        AddSelectedDataSet();
        AddDataSet(2, "D0002", u8"別の年度", 20180401, 20190331);
        AddAccount(1, 1, 1110000, u8"現金", 0x80810000u, 1);
        AddAccount(1, 2, 1110001, u8"現金 小口", 0x80810000u, 1);        // a sub-account
        AddAccount(1, 3, 1120000, u8"旧預金", 0x80810000u, 1, 1, 0);     // not in use
        AddAccount(1, 4, 1200000, u8"流動資産見出し", 0x80810000u, 1, 0, 1);  // heading
        AddAccount(2, 5, 2110000, u8"他年度の科目", 0x80810000u, 1);
        ASSERT_EQ(Connect(), core_result::kOk);
    }

    static std::string KeyOf(int seed) {
        char key[MappedAccount::kKeySize];
        AccountKey::Text(AccountId(seed).data(), key);
        return key;
    }

    static int OpenCursors() {
        return static_cast<ClSetKamoku*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kKamoku, 1))->OpenCursors();
    }
};

}  // namespace

TEST_F(AccountLookupTest, CodeAsUsersSeeItAndAsStoredFindTheSameAccount) {
    StKAMOKUINFO shown;
    StKAMOKUINFO stored;
    ASSERT_TRUE(AccountLookup::FindAccountByCode(111, &shown));
    ASSERT_TRUE(AccountLookup::FindAccountByCode(1110000, &stored));
    EXPECT_EQ(std::memcmp(&shown, &stored, sizeof shown), 0);
    EXPECT_EQ(FieldAt<std::int32_t>(&shown, 16), 1110000);
    EXPECT_EQ(std::memcmp(shown.Id, AccountId(1).data(), 16), 0);
    EXPECT_STREQ(shown.Name, "現金");
    // A sub-account is found by its full code only.
    ASSERT_TRUE(AccountLookup::FindAccountByCode(1110001, &stored));
    EXPECT_EQ(FieldAt<std::int32_t>(&stored, 16), 1110001);
    EXPECT_EQ(OpenCursors(), 0);
}

TEST_F(AccountLookupTest, CodesOfNoAccountAreNotFoundAndLeaveNoCursor) {
    StKAMOKUINFO found;
    std::memset(&found, 0x5A, sizeof found);
    EXPECT_FALSE(AccountLookup::FindAccountByCode(999, &found));
    EXPECT_FALSE(AccountLookup::FindAccountByCode(211, &found));  // an account of another data set
    EXPECT_FALSE(AccountLookup::FindAccountByCode(-111, &found));
    EXPECT_FALSE(AccountLookup::FindAccountByCode(0, &found));
    EXPECT_EQ(FieldAt<std::int32_t>(&found, 16), 0x5A5A5A5A);
    EXPECT_EQ(OpenCursors(), 0);
}

TEST_F(AccountLookupTest, KeysFindMainAccountsOnly) {
    StKAMOKUINFO found;
    EXPECT_EQ(AccountLookup::FindAccountByKey(KeyOf(1).c_str(), &found), 1110000);
    EXPECT_STREQ(found.Name, "現金");
    // Headings carry a key a mapping may hold; only accounts not in use and
    // sub-accounts are never found.
    EXPECT_EQ(AccountLookup::FindAccountByKey(KeyOf(4).c_str()), 1200000);
    EXPECT_EQ(AccountLookup::FindAccountByKey(KeyOf(2).c_str()), -1);
    EXPECT_EQ(AccountLookup::FindAccountByKey(KeyOf(3).c_str()), -1);
    EXPECT_EQ(AccountLookup::FindAccountByKey(KeyOf(5).c_str()), -1);
    EXPECT_EQ(AccountLookup::FindAccountByKey("URIAGEDAKA"), -1);
    // Keys compare whole: a prefix or an extension of a key names nothing.
    EXPECT_EQ(AccountLookup::FindAccountByKey(KeyOf(1).substr(0, 33).c_str()), -1);
    EXPECT_EQ(AccountLookup::FindAccountByKey((KeyOf(1) + "0").c_str()), -1);
    EXPECT_EQ(OpenCursors(), 0);
}

TEST_F(AccountLookupTest, MainAccountsHaveAWholeCodeAndNoFlags) {
    StKAMOKUINFO account;
    ASSERT_TRUE(AccountLookup::FindAccountByCode(111, &account));
    EXPECT_TRUE(AccountLookup::IsMainAccount(account));
    ASSERT_TRUE(AccountLookup::FindAccountByCode(1110001, &account));
    EXPECT_FALSE(AccountLookup::IsMainAccount(account));
    ASSERT_TRUE(AccountLookup::FindAccountByCode(112, &account));
    EXPECT_FALSE(AccountLookup::IsMainAccount(account));
    ASSERT_TRUE(AccountLookup::FindAccountByCode(120, &account));
    EXPECT_FALSE(AccountLookup::IsMainAccount(account));
}
