// Trial-balance amounts: yen with up to four decimals, kept exactly as
// ten-thousandths.

#include <gtest/gtest.h>

#include "tools/mzn-books/YenAmount.h"

namespace {

std::int64_t Parsed(const char* text) {
    YenAmount::Parsed parsed = YenAmount::Parse(text);
    EXPECT_TRUE(parsed.ok) << text << ": " << parsed.reason;
    return parsed.tenThousandths;
}

TEST(YenAmountTest, DecimalsBecomeExactTenThousandths) {
    EXPECT_EQ(Parsed("0"), 0);
    EXPECT_EQ(Parsed("1"), 10000);
    EXPECT_EQ(Parsed("0.1"), 1000) << "no binary fraction in between";
    EXPECT_EQ(Parsed("1234.5678"), 12345678);
    EXPECT_EQ(Parsed(" 12.05 "), 120500);
    EXPECT_EQ(Parsed("-3.0001"), -30001);
    EXPECT_EQ(Parsed("007"), 70000);
    EXPECT_EQ(Parsed("99999999999999.9999"), 999999999999999999) << "the largest amount below 10^14 yen";
}

TEST(YenAmountTest, RefusesWhatIsNoAmount) {
    for (const char* text : {"", "-", "1.", ".5", "1.23456", "1,000", "1e3", "+5", "12 3",
                             "\xA5"
                             "100",
                             "0x10", "100000000000000", "--1"}) {
        YenAmount::Parsed parsed = YenAmount::Parse(text);
        EXPECT_FALSE(parsed.ok) << "\"" << text << "\" was taken as " << parsed.tenThousandths;
        EXPECT_FALSE(parsed.reason.empty());
    }
    EXPECT_NE(YenAmount::Parse("1.23456").reason.find("four decimals"), std::string::npos);
}

TEST(YenAmountTest, SumsStayBelowTheLimit) {
    std::int64_t sum = 0;
    EXPECT_TRUE(YenAmount::Add(YenAmount::kLimit - 2, 1, sum));
    EXPECT_EQ(sum, YenAmount::kLimit - 1);
    EXPECT_FALSE(YenAmount::Add(YenAmount::kLimit - 1, 1, sum));
    EXPECT_FALSE(YenAmount::Add(-(YenAmount::kLimit - 1), -1, sum));
    EXPECT_TRUE(YenAmount::Add(YenAmount::kLimit - 1, -(YenAmount::kLimit - 1), sum));
    EXPECT_EQ(sum, 0);
}

TEST(YenAmountTest, FormatShowsTheDecimalsThatMatter) {
    EXPECT_EQ(YenAmount::Format(12345678), "1234.5678");
    EXPECT_EQ(YenAmount::Format(10000), "1");
    EXPECT_EQ(YenAmount::Format(-1000), "-0.1");
    EXPECT_EQ(YenAmount::Format(0), "0");
}

}  // namespace
