// Trial-balance amounts: yen with up to four decimals, kept exactly as ten-thousandths.

#include <gtest/gtest.h>

#include <limits>

#include "tools/mzn-books/YenAmount.h"

namespace {

TEST(YenAmountTest, ParseTakesYenWithUpToFourDecimals) {
    constexpr std::int64_t kRefused = std::numeric_limits<std::int64_t>::min();
    const std::tuple<const char*, std::int64_t, const char*> cases[] = {
        // text, ten-thousandths, a part of the reason when refused
        {"0", 0, ""}, {"1", 10000, ""},
        {"0.1", 1000, ""},  // no binary fraction in between
        {"1234.5678", 12345678, ""}, {" 12.05\t", 120500, ""}, {"-3.0001", -30001, ""}, {"007", 70000, ""},
        {"99999999999999.9999", 999999999999999999, ""},  // the largest amount below 10^14 yen
        {"000000099999999999999", 999999999999990000, ""}, {"100000000000000", kRefused, "is 10^14 yen or more"},
        {"1.23456", kRefused, "has more than four decimals"}, {"", kRefused, "is not an amount"},
        {"-", kRefused, "is not an amount"}, {"1.", kRefused, "is not an amount"}, {".5", kRefused, "is not an amount"},
        {"1.2x", kRefused, "is not an amount"}, {"1,000", 10000000, ""}, {"123,456", 1234560000, ""},
        {"\xE2\x96\xB3" "1,234,567.5", -12345675000, ""}, {"\xE2\x96\xB2" "0.5", -5000, ""}, {"\xEF\xBC\x8D" "7", -70000, ""},
        {"1,00", kRefused, "is not an amount"}, {",100", kRefused, "is not an amount"},
        {"1234,567", kRefused, "is not an amount"}, {"1,234,56", kRefused, "is not an amount"},
        {"1,,234", kRefused, "is not an amount"}, {"-\xE2\x96\xB3" "1", kRefused, "is not an amount"},
        {"1e3", kRefused, "is not an amount"}, {"+5", kRefused, "is not an amount"},
        {"12 3", kRefused, "is not an amount"}, {"\xA5" "100", kRefused, "is not an amount"},
        {"--1", kRefused, "is not an amount"},
    };
    for (const auto& [text, amount, reason] : cases) {
        const YenAmount::Parsed parsed = YenAmount::Parse(text);
        EXPECT_EQ(parsed.ok ? parsed.tenThousandths : kRefused, amount) << text;
        EXPECT_EQ(parsed.reason, *reason ? "\"" + std::string(text) + "\" " + reason : "") << text;
    }
}

TEST(YenAmountTest, SumsStayBelowTheLimitAndFormatShowsTheDecimalsThatMatter) {
    constexpr std::int64_t kLimit = YenAmount::kLimit;
    const std::tuple<std::int64_t, std::int64_t, bool, std::int64_t> sums[] = {
        {kLimit - 2, 1, true, kLimit - 1}, {kLimit - 1, 1, false, 0},       {-(kLimit - 2), -1, true, 1 - kLimit},
        {1 - kLimit, -1, false, 0},        {kLimit, -1, false, 0},          {-kLimit, 1, false, 0},
        {1, kLimit, false, 0},             {1, -kLimit, false, 0},          {kLimit - 1, 1 - kLimit, true, 0},
    };
    for (const auto& [a, b, fits, expected] : sums) {
        std::int64_t sum = 0;
        EXPECT_EQ(YenAmount::Add(a, b, sum), fits) << a << " + " << b;
        EXPECT_EQ(sum, expected) << a << " + " << b;
    }
    const std::pair<std::int64_t, const char*> formats[] = {
        {12345678, "1234.5678"}, {10000, "1"}, {-1000, "-0.1"}, {0, "0"}, {5, "0.0005"}, {120500, "12.05"},
        {std::numeric_limits<std::int64_t>::min(), "-922337203685477.5808"}};
    for (const auto& [amount, text] : formats) EXPECT_EQ(YenAmount::Format(amount), text);
    const std::pair<std::int64_t, const char*> grouped[] = {
        {12345678, "1,234.5678"}, {-10000000, "-1,000"}, {9990000, "999"}, {-12345670000, "-1,234,567"}};
    for (const auto& [amount, text] : grouped) EXPECT_EQ(YenAmount::FormatGrouped(amount), text);
}

}  // namespace
