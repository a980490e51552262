#include "platform/PlainText.h"

#include <gtest/gtest.h>

// Only single-byte letters fold: the trail bytes of ア (83 41) and ャ (83 61)
// look like "A" and "a" and are compared exactly. n: the bytes
// SamePrefixIgnoringCase compares (as _strnicmp, a text that ends first
// differs unless both end together).
TEST(PlainTextTest, CaseIsFoldedOnSingleByteLettersOnly) {
    struct Row { std::string_view a, b; std::size_t n; bool equal, samePrefix; };
    const Row rows[] = {{"Le:ア", "le:ア", 6, true, true}, {"ア", "ャ", 2, false, false}, {"ab", "AB", 3, true, true},
                        {"表a", "表A", 3, true, true}, {"ab", "abc", 3, false, false}, {"", "", 1, true, true},
                        {"DATA\\x", "data\\y", 5, false, true}, {"DATA\\x", "data\\y", 6, false, false},
                        {"[`", "{@", 2, false, false}, {"アx", "ャx", 1, false, true}};
    for (const Row& row : rows) {
        EXPECT_EQ(PlainText::EqualIgnoringCase(row.a, row.b), row.equal) << row.a << " " << row.b;
        EXPECT_EQ(PlainText::EqualIgnoringCase(row.b, row.a), row.equal) << row.b << " " << row.a;
        EXPECT_EQ(PlainText::SamePrefixIgnoringCase(row.a, row.b, row.n), row.samePrefix) << row.a << " " << row.n;
    }
}

TEST(PlainTextTest, TrimTakesTheBlanksItIsGivenAndHexDigitsHaveTheirValues) {
    EXPECT_EQ(PlainText::Trim(" \t\r x \v\t ", PlainText::kSpaceAndTab), "\r x \v");
    EXPECT_EQ(PlainText::Trim("\n\v 7 \f\r", PlainText::kCBlanks), "7");
    EXPECT_EQ(PlainText::TrimStart(" \t", PlainText::kSpaceAndTab), "");
    EXPECT_EQ(PlainText::TrimEnd(" \t", PlainText::kSpaceAndTab), "");
    const std::string digits = "09afAFg/:`@G";
    const int values[] = {0, 9, 10, 15, 10, 15, -1, -1, -1, -1, -1, -1};
    for (std::size_t i = 0; i < digits.size(); ++i) EXPECT_EQ(PlainText::HexDigit(digits[i]), values[i]) << digits[i];
}
