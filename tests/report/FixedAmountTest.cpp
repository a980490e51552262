#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "report/FixedAmount.h"

namespace {

using Status = FixedAmount::Status;

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kAddLimitRaw = 1'000'000'000'000'000'000;  // 10^18

std::int64_t Raw(const FixedAmount& amount) {
    std::int64_t raw = 0;
    EXPECT_TRUE(amount.ToRaw(&raw));
    return raw;
}

}  // namespace

TEST(FixedAmount, RawSplitsIntoYenFractionAndSignAndComesBackExactly) {
    FixedAmount amount = FixedAmount::FromRaw(-123456789);
    EXPECT_EQ(amount.Magnitude(), 12345u);
    EXPECT_EQ(amount.Fraction(), 6789u);
    EXPECT_EQ(amount.Sign(), -1);

    EXPECT_EQ(FixedAmount::FromRaw(0).Sign(), 1);
    EXPECT_EQ(FixedAmount::FromParts(0, 0), FixedAmount::FromRaw(0));
    EXPECT_EQ(Raw(FixedAmount::FromParts(12, 34)), 120034);
    for (std::int64_t raw : {std::int64_t{0}, std::int64_t{-1}, std::int64_t{9999}, std::int64_t{-10000}, kMax, kMin})
        EXPECT_EQ(Raw(FixedAmount::FromRaw(raw)), raw) << raw;
}

TEST(FixedAmount, AmountsBeyondTheRawRangeDoNotConvertBack) {
    FixedAmount beyond = FixedAmount::FromRaw(kMax);
    ASSERT_EQ(beyond.AddRaw(1), Status::kOk);
    EXPECT_EQ(beyond.Magnitude(), static_cast<std::uint64_t>(kMax) / 10000);
    std::int64_t raw = 42;
    EXPECT_FALSE(beyond.ToRaw(&raw));
    EXPECT_EQ(raw, 42);
    // The same magnitude is exactly INT64_MIN on the negative side.
    EXPECT_EQ(Raw(beyond.Negated()), kMin);

    FixedAmount belowMin = FixedAmount::FromRaw(kMin);
    ASSERT_EQ(belowMin.AddRaw(-1), Status::kOk);
    EXPECT_FALSE(belowMin.ToRaw(&raw));
}

TEST(FixedAmount, AddFailsOnceTheRawSumReachesTenToTheEighteenth) {
    FixedAmount sum;
    const FixedAmount half = FixedAmount::FromRaw(kAddLimitRaw / 2);
    ASSERT_EQ(FixedAmount::Add(half, FixedAmount::FromRaw(kAddLimitRaw / 2 - 1), &sum), Status::kOk);
    EXPECT_EQ(Raw(sum), kAddLimitRaw - 1);

    FixedAmount untouched = FixedAmount::FromRaw(7);
    EXPECT_EQ(FixedAmount::Add(half, half, &untouched), Status::kOverflow);
    EXPECT_EQ(Raw(untouched), 7);
    EXPECT_EQ(FixedAmount::Add(FixedAmount::FromRaw(-kAddLimitRaw + 1), FixedAmount::FromRaw(-1), &untouched),
              Status::kOverflow);
    // Large operands of opposite sign stay well inside.
    ASSERT_EQ(FixedAmount::Add(FixedAmount::FromRaw(kMax), FixedAmount::FromRaw(kMin + 1), &sum), Status::kOk);
    EXPECT_EQ(Raw(sum), 0);
    EXPECT_EQ(sum.Sign(), 1);
}

TEST(FixedAmount, SignedArithmeticBorrowsAcrossTheFraction) {
    FixedAmount difference;
    ASSERT_EQ(FixedAmount::Subtract(FixedAmount::FromRaw(10000), FixedAmount::FromRaw(1), &difference), Status::kOk);
    EXPECT_EQ(difference.Magnitude(), 0u);
    EXPECT_EQ(difference.Fraction(), 9999u);
    ASSERT_EQ(FixedAmount::Subtract(FixedAmount::FromRaw(1), FixedAmount::FromRaw(10000), &difference), Status::kOk);
    EXPECT_EQ(Raw(difference), -9999);
    ASSERT_EQ(FixedAmount::Subtract(FixedAmount::FromRaw(-5), FixedAmount::FromRaw(-5), &difference), Status::kOk);
    EXPECT_EQ(difference.Sign(), 1);
    ASSERT_EQ(FixedAmount::Subtract(FixedAmount::FromRaw(kMin), FixedAmount::FromRaw(kMax), &difference), Status::kOk);
    EXPECT_EQ(difference.Sign(), -1);
    std::int64_t raw = 0;
    EXPECT_FALSE(difference.ToRaw(&raw));

    FixedAmount amount = FixedAmount::FromRaw(5000);
    ASSERT_EQ(amount.AddRaw(-15001), Status::kOk);
    EXPECT_EQ(Raw(amount), -10001);
    ASSERT_EQ(amount.AddRaw(10001), Status::kOk);
    EXPECT_EQ(amount, FixedAmount::FromRaw(0));
}

TEST(FixedAmount, RawPlusAndMinusAreExactOrRefused) {
    std::int64_t result = 0;
    ASSERT_EQ(FixedAmount::RawPlus(-30, FixedAmount::FromRaw(190), &result), Status::kOk);
    EXPECT_EQ(result, 160);
    ASSERT_EQ(FixedAmount::RawMinus(-30, FixedAmount::FromRaw(190), &result), Status::kOk);
    EXPECT_EQ(result, -220);
    ASSERT_EQ(FixedAmount::RawMinus(0, FixedAmount::FromRaw(kMin + 1), &result), Status::kOk);
    EXPECT_EQ(result, kMax);

    result = 3;
    EXPECT_EQ(FixedAmount::RawPlus(kMax, FixedAmount::FromRaw(1), &result), Status::kOverflow);
    EXPECT_EQ(FixedAmount::RawMinus(kMin, FixedAmount::FromRaw(1), &result), Status::kOverflow);
    EXPECT_EQ(result, 3);
}
