#include <pwd.h>
#include <unistd.h>

#include "tests/support/BooksFixture.h"

namespace {

using namespace core_result;
using ClSysUserTest = BooksFixture;

TEST_F(ClSysUserTest, TheCurrentUserAndTheNumbersSelected) {
    ClSysUser* user = ClDataMgr::Inst()->GetSysUserObject();
    char userId[65];
    auto selected = [user](const char* userId) {
        std::int32_t no1 = -1;
        std::int32_t no2 = -1;
        const int result = user->GetSelectedNo(userId, &no1, &no2);
        return std::tuple(result, no1, no2);
    };
    SelectFor(u8"山田", 3, 12);
    EXPECT_EQ(selected("山田"), std::tuple(kNotConnected, 0, 0));
    ASSERT_EQ(Connect(), kOk);
    EXPECT_EQ(selected("山田"), std::tuple(kOk, 3, 12));
    EXPECT_EQ(selected("someone"), std::tuple(kNotFound, 0, 0));
    EXPECT_EQ(selected(nullptr), std::tuple(kBadArgument, 0, 0));
    ASSERT_EQ(user->GetCurUserID(userId), kOk);
    EXPECT_EQ(std::string(userId), std::string(getpwuid(geteuid())->pw_name).substr(0, 64)) << "without a setting";
    ClAccConnect::Release();

    // The books' setting, in code page 932: "a" and 40 characters of two bytes, cut on a character boundary at 64.
    std::u8string name = u8"a";
    std::string cut = "a";
    for (int i = 0; i < 40; ++i) name += u8"名";
    for (int i = 0; i < 31; ++i) cut += "名";
    SetCurrentUser(name.c_str());
    ASSERT_EQ(Connect(), kOk);
    ASSERT_EQ(user->GetCurUserID(userId), kOk);
    EXPECT_EQ(std::pair(std::string(userId), ClAccConnect::Inst()->SessionUser()), std::pair(cut, cut));
    EXPECT_EQ(ClAccConnect::Inst()->LogOut(), kOk);
    EXPECT_EQ(user->GetCurUserID(userId), kNotConnected);
    EXPECT_STREQ(userId, "");
}

}  // namespace
