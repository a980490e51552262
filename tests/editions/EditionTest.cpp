#include "editions/Edition.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string Hex(const char* text) {
    std::string out;
    char buf[4];
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        std::snprintf(buf, sizeof buf, "%02X", *p);
        out += buf;
    }
    return out;
}

}  // namespace

TEST(ExecCharset, NarrowLiteralsAreCodePage932) {
    // 表 ends in the byte of a backslash; ～ must be the wave dash of CP932.
    EXPECT_EQ(Hex("表"), "955C");
    EXPECT_EQ(Hex("～"), "8160");
    EXPECT_EQ(Hex("ｶﾞ"), "B6DE");
    EXPECT_EQ(Hex("％"), "8193");
}

TEST(Edition, ThreeEditionsWithTheirNamesAndPrefixes) {
    const Edition& care = Edition::Of(EditionId::CareFacility);
    const Edition& standard = Edition::Of(EditionId::Standard);
    const Edition& top = Edition::Of(EditionId::Top);
    EXPECT_STREQ(care.DisplayName(), "ミズナラ２０ ケアサービス版");
    EXPECT_STREQ(standard.DisplayName(), "ミズナラ２０");
    EXPECT_STREQ(top.DisplayName(), "ミズナラ２０ PRO");
    EXPECT_STREQ(care.FilePrefix(), "MznAld20");
    EXPECT_STREQ(standard.FilePrefix(), "MznBrc20");
    EXPECT_STREQ(top.FilePrefix(), "MznCdr20");
    EXPECT_STREQ(care.ProgramName(), "MznAld20ToUg16_G");
    EXPECT_STREQ(standard.ProgramName(), "MznBrc20ToUg16_G");
    EXPECT_STREQ(top.ProgramName(), "MznCdr20ToUg16_G");
    // The display names are code page 932: ２ is 0x82 0x51.
    EXPECT_EQ(Hex(standard.DisplayName()).substr(16, 4), "8251");
    for (EditionId id : Edition::All()) EXPECT_EQ(Edition::Of(id).Id(), id);
}

TEST(Edition, ThisTestIsBuiltAsTheStandardEdition) {
    EXPECT_EQ(Edition::Current().Id(), EditionId::Standard);
    EXPECT_EQ(&Edition::Current(), &Edition::Of(EditionId::Standard));
}
