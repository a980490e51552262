#include "report/AccountLookup.h"

#include <gtest/gtest.h>

#include "accounting_core/StKAMOKUINFO.h"
#include "report/AccountKey.h"
#include "tests/support/BooksFixture.h"
#include "tests/support/CoreSession.h"

class AccountLookupTest : public BooksFixture {};

TEST_F(AccountLookupTest, CodesAndKeysFindTheAccountsOfTheSelectedDataSet) {
    AddSelectedDataSet();
    AddDataSet(2, "D0002", u8"別の年度", 20180401, 20190331);
    AddAccount(1, 1, 1110000, u8"現金", 0x80810000u, 1);
    AddAccount(1, 2, 1110001, u8"現金 小口", 0x80810000u, 1);              // a sub-account
    AddAccount(1, 3, 1120000, u8"旧預金", 0x80810000u, 1, 1, 0);           // not in use
    AddAccount(1, 4, 1200000, u8"流動資産見出し", 0x80810000u, 1, 0, 1);  // a heading
    AddAccount(2, 5, 2110000, u8"他年度の科目", 0x80810000u, 1);
    ASSERT_EQ(Connect(), 0);
    // {code, code found (0: none), a main account}: a code below 10000 is the one users see.
    for (const auto& [code, found, main] : {std::tuple{111, 1110000, true}, {1110000, 1110000, true},
             {1110001, 1110001, false},
             {112, 1120000, false}, {120, 1200000, false}, {211, 0, false}, {-111, 0, false}, {0, 0, false}}) {
        StKAMOKUINFO account;
        std::memset(&account, 0x5A, sizeof account);
        EXPECT_EQ(AccountLookup::FindAccountByCode(code, &account), found != 0) << code;
        EXPECT_EQ(FieldAt<std::int32_t>(&account, 16), found != 0 ? found : 0x5A5A5A5A) << code;
        EXPECT_EQ(found != 0 && AccountLookup::IsMainAccount(account), main) << code;
    }
    // A key is "0x" and the identifier's bytes in lowercase hex. Headings are found by theirs; sub-accounts,
    // accounts not in use, other data sets' accounts, totals, and a prefix or an extension of a key are not.
    const std::string cash = "0x20272e353c434a51585f666d747b8289";
    StKAMOKUINFO account;
    EXPECT_EQ(AccountLookup::FindAccountByKey(cash.c_str(), &account), 1110000);
    EXPECT_EQ(std::memcmp(account.Id, AccountId(1).data(), 16), 0);
    for (int seed = 2; seed <= 5; ++seed) {
        char key[MappedAccount::kKeySize];
        AccountKey::Text(AccountId(seed).data(), key);
        EXPECT_EQ(AccountLookup::FindAccountByKey(key), seed == 4 ? 1200000 : -1) << seed;
    }
    for (const std::string& other : {std::string("URIAGEDAKA"), cash.substr(0, 33), cash + "0"})
        EXPECT_EQ(AccountLookup::FindAccountByKey(other.c_str()), -1) << other;
    EXPECT_EQ(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kKamoku, 1)->OpenCursors(), 0);
}
