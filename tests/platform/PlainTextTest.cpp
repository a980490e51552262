#include "platform/PlainText.h"

#include <gtest/gtest.h>

#include <string_view>

namespace {

TEST(PlainTextTest, CaseIsFoldedOnSingleByteLettersOnly) {
    struct Case {
        std::string_view a;
        std::string_view b;
        bool equal;
    };
    // ア is 83 41 and ャ 83 61: their trail bytes look like "A" and "a".
    for (const Case& c : {Case{"ProgramLevel", "PROGRAMLEVEL", true}, Case{"ア", "ャ", false},
                          Case{"表a", "表A", true}, Case{"ab", "abc", false}, Case{"", "", true},
                          Case{"C:\\ア", "c:\\ア", true}, Case{"[", "{", false}}) {
        EXPECT_EQ(PlainText::EqualIgnoringCase(c.a, c.b), c.equal) << c.a << " " << c.b;
        EXPECT_EQ(PlainText::EqualIgnoringCase(c.b, c.a), c.equal) << c.b << " " << c.a;
    }
    // As _strnicmp: only the first n bytes count, and a text that ends first
    // differs unless both end together.
    EXPECT_TRUE(PlainText::SamePrefixIgnoringCase("DATA\\x", "data\\y", 5));
    EXPECT_FALSE(PlainText::SamePrefixIgnoringCase("DATA\\x", "data\\y", 6));
    EXPECT_FALSE(PlainText::SamePrefixIgnoringCase("ab", "abc", 3));
    EXPECT_TRUE(PlainText::SamePrefixIgnoringCase("ab", "AB", 3));
}

TEST(PlainTextTest, TrimTakesTheBlanksItIsGiven) {
    EXPECT_EQ(PlainText::Trim(" \t x y \t", PlainText::kSpaceAndTab), "x y");
    EXPECT_EQ(PlainText::Trim("\r x \v", PlainText::kSpaceAndTab), "\r x \v");
    EXPECT_EQ(PlainText::TrimStart("\n\v 7 ", PlainText::kCBlanks), "7 ");
    EXPECT_EQ(PlainText::TrimEnd(" 7\f\r", PlainText::kCBlanks), " 7");
    EXPECT_EQ(PlainText::Trim("  ", PlainText::kSpaceAndTab), "");
    EXPECT_EQ(PlainText::HexDigit('f'), 15);
    EXPECT_EQ(PlainText::HexDigit('A'), 10);
    EXPECT_EQ(PlainText::HexDigit('9'), 9);
    EXPECT_EQ(PlainText::HexDigit('g'), -1);
}

}  // namespace
