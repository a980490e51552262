#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>

#include "platform/FullWidthMapper.h"

// Narrow literals here are code page 932 bytes, as the mapper's input and
// output are.

TEST(FullWidthMapper, AsciiAndSpaceBecomeFullWidth) {
    EXPECT_EQ(FullWidthMapper::ToFullWidth("ABC&<>"), "ＡＢＣ＆＜＞");
    EXPECT_EQ(FullWidthMapper::ToFullWidth(" "), "　");
    EXPECT_EQ(FullWidthMapper::ToFullWidth(" "), std::string("\x81\x40"));
    EXPECT_EQ(FullWidthMapper::ToFullWidth("\\~"), std::string("\x81\x5F\x81\x60"));  // ＼ and ～
    EXPECT_EQ(FullWidthMapper::ToFullWidth("!09Zaz{|}"), "！０９Ｚａｚ｛｜｝");
    // The quotation mark and apostrophe exist only in the IBM rows.
    EXPECT_EQ(FullWidthMapper::ToFullWidth("\"'"), std::string("\xFA\x57\xFA\x56"));
    EXPECT_EQ(FullWidthMapper::ToFullWidth("-^_`"), "－＾＿｀");
}

TEST(FullWidthMapper, HalfWidthKatakanaAndSignsBecomeFullWidth) {
    EXPECT_EQ(FullWidthMapper::ToFullWidth("ｱｲｳｴｵﾝｦｯｬｰ"), "アイウエオンヲッャー");
    EXPECT_EQ(FullWidthMapper::ToFullWidth("｡｢｣､･"), "。「」、・");
    EXPECT_EQ(FullWidthMapper::ToFullWidth("ﾞﾟ"), "゛゜");
}

TEST(FullWidthMapper, SoundMarksComposeWhereCodePage932HasTheCharacter) {
    EXPECT_EQ(FullWidthMapper::ToFullWidth("ｶﾞｽ"), "ガス");
    EXPECT_EQ(FullWidthMapper::ToFullWidth("ｶﾞｽ"), std::string("\x83\x4B\x83\x58"));
    EXPECT_EQ(FullWidthMapper::ToFullWidth("ﾊﾟﾝ"), "パン");
    EXPECT_EQ(FullWidthMapper::ToFullWidth("ｳﾞｧｲｵﾘﾝ"), "ヴァイオリン");
    EXPECT_EQ(FullWidthMapper::ToFullWidth("ﾂﾞﾃﾞﾄﾞﾎﾞﾎﾟ"), "ヅデドボポ");
    EXPECT_EQ(FullWidthMapper::ToFullWidth("ｻﾞｼﾞｿﾞﾀﾞﾁﾞ"), "ザジゾダヂ");
    // No character to compose into: the mark stays a mark of its own.
    EXPECT_EQ(FullWidthMapper::ToFullWidth("ﾜﾞｦﾞ"), "ワ゛ヲ゛");
    EXPECT_EQ(FullWidthMapper::ToFullWidth("ｶﾟｳﾟﾅﾞ"), "カ゜ウ゜ナ゛");
    EXPECT_EQ(FullWidthMapper::ToFullWidth("ﾞｶ"), "゛カ");
    // A mark composes with the character just before it only once.
    EXPECT_EQ(FullWidthMapper::ToFullWidth("ﾊﾞﾞ"), "バ゛");
}

TEST(FullWidthMapper, DoubleByteTextControlsAndBrokenBytesPassUnchanged) {
    const std::string fullWidth = "事業概況書　ＡＢＣ～表ポ";
    EXPECT_EQ(FullWidthMapper::ToFullWidth(fullWidth), fullWidth);
    // A double-byte character whose second byte is a half-width katakana
    // (ｶ 0xB6) or "\" stays whole.
    EXPECT_EQ(FullWidthMapper::ToFullWidth("\x83\xB6\x95\x5C"), std::string("\x83\xB6\x95\x5C"));
    EXPECT_EQ(FullWidthMapper::ToFullWidth(std::string("\t\r\n\x7F\0", 5)), std::string("\t\r\n\x7F\0", 5));
    EXPECT_EQ(FullWidthMapper::ToFullWidth("\x80\xA0\xFD\xFE\xFF"), "\x80\xA0\xFD\xFE\xFF");
    // A lead byte without its trail byte stays; what follows is mapped.
    EXPECT_EQ(FullWidthMapper::ToFullWidth("A\x81"), "Ａ\x81");
    EXPECT_EQ(FullWidthMapper::ToFullWidth("\x81\x1F" "A"), "\x81\x1FＡ");
    EXPECT_EQ(FullWidthMapper::ToFullWidth(""), "");
}

TEST(FullWidthMapper, MapFollowsTheLCMapStringBufferRules) {
    char dst[16];
    std::memset(dst, '#', sizeof dst);

    // Asking for the size: 3 characters of 2 bytes each.
    EXPECT_EQ(FullWidthMapper::Map("ABC", 3, nullptr, 0), 6);
    // NUL-terminated source: the NUL is mapped and counted too.
    EXPECT_EQ(FullWidthMapper::Map("ABC", -1, nullptr, 0), 7);

    // One byte too small: nothing written.
    EXPECT_EQ(FullWidthMapper::Map("ABC", -1, dst, 6), 0);
    EXPECT_EQ(std::string(dst, sizeof dst), std::string(sizeof dst, '#'));

    // Exactly large enough.
    EXPECT_EQ(FullWidthMapper::Map("ABC", -1, dst, 7), 7);
    EXPECT_EQ(std::string(dst, 7), std::string("ＡＢＣ", 7));
    EXPECT_EQ(dst[7], '#');

    // An explicit length maps no terminator and stops where it is told,
    // even inside a composition.
    std::memset(dst, '#', sizeof dst);
    EXPECT_EQ(FullWidthMapper::Map("ｶﾞ", 1, dst, sizeof dst), 2);
    EXPECT_EQ(std::string(dst, 3), "カ#");

    EXPECT_EQ(FullWidthMapper::Map("ABC", 0, dst, sizeof dst), 0);
    EXPECT_EQ(FullWidthMapper::Map("ABC", -2, dst, sizeof dst), 0);
    EXPECT_EQ(FullWidthMapper::Map(nullptr, 3, dst, sizeof dst), 0);
    EXPECT_EQ(FullWidthMapper::Map("ABC", 3, nullptr, 8), 0);
    EXPECT_EQ(FullWidthMapper::Map("ABC", 3, dst, -1), 0);
}
