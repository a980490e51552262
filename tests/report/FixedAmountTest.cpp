#include "report/FixedAmount.h"

#include <gtest/gtest.h>

#include <optional>

// Amounts in ten-thousandths of a yen are exact, or refused where they would leave their range; the aggregation's
// rows take them through their everyday sums.
TEST(FixedAmount, ArithmeticIsExactOrRefusedAtItsLimits) {
    using Status = FixedAmount::Status;
    constexpr std::int64_t kMax = INT64_MAX, kMin = INT64_MIN, kLimit = 1'000'000'000'000'000'000;  // 10^14 yen
    // {op: + Add, - Subtract, r AddRaw, M RawMinus}, a, b, status, result (7: untouched; nullopt: no raw amount).
    using Row = std::tuple<char, std::int64_t, std::int64_t, Status, std::optional<std::int64_t>>;
    for (const auto& [op, a, b, status, expected] : {Row{'+', 5000, 5000, Status::kOk, 10000},
             {'+', kLimit / 2, kLimit / 2 - 1, Status::kOk, kLimit - 1},
             {'+', kLimit / 2, kLimit / 2, Status::kOverflow, 7}, {'+', 1 - kLimit, -1, Status::kOverflow, 7},
             {'-', 10001, 10002, Status::kOk, -1}, {'-', 10002, 10001, Status::kOk, 1}, {'-', -5, -5, Status::kOk, 0},
             {'-', kMin, kMax, Status::kOk, std::nullopt}, {'r', 5000, -15001, Status::kOk, -10001},
             {'r', kMax, 1, Status::kOk, std::nullopt}, {'r', kMin, -1, Status::kOk, std::nullopt},
             {'M', 0, kMin + 1, Status::kOk, kMax}, {'M', -1, kMax, Status::kOk, kMin},
             {'M', kMin, 1, Status::kOverflow, 7}, {'M', kMax, -1, Status::kOverflow, 7}}) {
        FixedAmount result = FixedAmount::FromRaw(7);
        std::int64_t raw = 7;
        const FixedAmount first = FixedAmount::FromRaw(a), second = FixedAmount::FromRaw(b);
        const Status got = op == '+'   ? FixedAmount::Add(first, second, &result)
                           : op == '-' ? FixedAmount::Subtract(first, second, &result)
                           : op == 'r' ? (result = first).AddRaw(b)
                                       : FixedAmount::RawMinus(a, second, &raw);
        SCOPED_TRACE(std::string(1, op) + " " + std::to_string(a) + " " + std::to_string(b));
        EXPECT_EQ(got, status);
        EXPECT_EQ(op == 'M' || result.ToRaw(&raw) ? std::optional(raw) : std::nullopt, expected);
        EXPECT_TRUE(op == 'M' || !expected || result == FixedAmount::FromRaw(*expected)) << "a zero is positive";
    }
}
