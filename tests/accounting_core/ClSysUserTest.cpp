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

TEST_F(ClSysUserTest, CurrentUserIsTheBooksSettingInCodePage932OrTheLoginName) {
    ClSysUser* user = ClDataMgr::Inst()->GetSysUserObject();
    char userId[65];
    ASSERT_EQ(Connect(), cr::kOk);
    ASSERT_EQ(user->GetCurUserID(userId), cr::kOk);
    EXPECT_EQ(std::string(userId), std::string(getpwuid(geteuid())->pw_name).substr(0, 64)) << "without the setting";
    ClAccConnect::Release();
    std::u8string name;
    for (int i = 0; i < 40; ++i) name += u8"名";
    SetCurrentUser(name.c_str());
    ASSERT_EQ(Connect(), cr::kOk);
    std::memset(userId, 'x', sizeof userId);
    ASSERT_EQ(user->GetCurUserID(userId), cr::kOk);
    std::string cut;  // 40 characters of two bytes, cut on a character boundary at 64 bytes
    for (int i = 0; i < 32; ++i) cut += "名";
    EXPECT_EQ(std::string(userId), cut);
    EXPECT_EQ(ClAccConnect::Inst()->LogOut(), cr::kOk);
    EXPECT_EQ(user->GetCurUserID(userId), cr::kNotConnected);
    EXPECT_STREQ(userId, "");
    EXPECT_EQ(user->GetCurUserID(nullptr), cr::kBadArgument);
}

TEST_F(ClSysUserTest, SelectedNumbersComeFromTheUsersTable) {
    SelectFor(u8"山田", 3, 12);
    ClSysUser* user = ClDataMgr::Inst()->GetSysUserObject();
    std::int32_t no1 = -1;
    std::int32_t no2 = -1;
    auto selected = [&](const char* userId) {
        no1 = no2 = -1;
        return std::tuple(user->GetSelectedNo(userId, &no1, &no2), no1, no2);
    };
    EXPECT_EQ(selected("山田"), std::tuple(cr::kNotConnected, 0, 0));
    ASSERT_EQ(Connect(), cr::kOk);
    EXPECT_EQ(selected("山田"), std::tuple(cr::kOk, 3, 12));
    EXPECT_EQ(selected("someone"), std::tuple(cr::kNotFound, 0, 0));
    EXPECT_EQ(selected(nullptr), std::tuple(cr::kBadArgument, 0, 0));
    EXPECT_EQ(user->GetSelectedNo("山田", &no1, nullptr), cr::kBadArgument);
}

}  // namespace
