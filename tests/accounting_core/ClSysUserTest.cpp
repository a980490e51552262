#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include "accounting_core/ClAccConnect.h"
#include "accounting_core/ClDataMgr.h"
#include "accounting_core/ClSysUser.h"
#include "accounting_core/CoreResult.h"
#include "tests/support/BooksFixture.h"

namespace {

namespace cr = core_result;

using ClSysUserTest = BooksFixture;

TEST_F(ClSysUserTest, CurrentUserIsTheBooksSettingInCodePage932) {
    SetCurrentUser(u8"山田太郎");
    ASSERT_EQ(Connect(), cr::kOk);
    ClSysUser* user = ClDataMgr::Inst()->GetSysUserObject();
    char userId[65];
    ASSERT_EQ(user->GetCurUserID(userId), cr::kOk);
    EXPECT_STREQ(userId, "山田太郎");

    EXPECT_EQ(ClAccConnect::Inst()->LogOut(), cr::kOk);
    EXPECT_EQ(user->GetCurUserID(userId), cr::kNotConnected);
    EXPECT_STREQ(userId, "");
}

TEST_F(ClSysUserTest, CurrentUserIsTheLoginNameWithoutTheSetting) {
    ASSERT_EQ(Connect(), cr::kOk);
    char userId[65];
    ASSERT_EQ(ClDataMgr::Inst()->GetSysUserObject()->GetCurUserID(userId), cr::kOk);
    passwd* entry = getpwuid(geteuid());
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(std::string(userId), std::string(entry->pw_name).substr(0, 64));
}

TEST_F(ClSysUserTest, ALongUserIdIsCutOnACharacterBoundary) {
    std::u8string name;
    for (int i = 0; i < 40; ++i) name += u8"名";  // 80 bytes in code page 932
    SetCurrentUser(name.c_str());
    ASSERT_EQ(Connect(), cr::kOk);
    char userId[65];
    std::memset(userId, 'x', sizeof userId);
    ASSERT_EQ(ClDataMgr::Inst()->GetSysUserObject()->GetCurUserID(userId), cr::kOk);
    std::string expected;
    for (int i = 0; i < 32; ++i) expected += "名";
    EXPECT_EQ(std::string(userId), expected);
}

TEST_F(ClSysUserTest, SelectedNumbersComeFromTheUsersTable) {
    SelectFor(u8"山田", 3, 12);
    ClSysUser* user = ClDataMgr::Inst()->GetSysUserObject();
    std::int32_t no1 = -1;
    std::int32_t no2 = -1;
    EXPECT_EQ(user->GetSelectedNo("山田", &no1, &no2), cr::kNotConnected);
    EXPECT_EQ(no1, 0);
    EXPECT_EQ(no2, 0);

    ASSERT_EQ(Connect(), cr::kOk);
    EXPECT_EQ(user->GetSelectedNo("山田", &no1, &no2), cr::kOk);
    EXPECT_EQ(no1, 3);
    EXPECT_EQ(no2, 12);

    no1 = no2 = -1;
    EXPECT_EQ(user->GetSelectedNo("someone", &no1, &no2), cr::kNotFound);
    EXPECT_EQ(no1, 0);
    EXPECT_EQ(no2, 0);
    EXPECT_EQ(user->GetSelectedNo(nullptr, &no1, &no2), cr::kBadArgument);
}

}  // namespace
