#include "platform/LeadingNumber.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace {

TEST(LeadingNumberTest, ReadsBlanksSignAndDigitsUpToTheFirstOtherCharacter) {
    EXPECT_EQ(LeadingNumber::Read("  \t\r\n\v\f17"), 17);
    EXPECT_EQ(LeadingNumber::Read("+8"), 8);
    EXPECT_EQ(LeadingNumber::Read("-8"), -8);
    EXPECT_EQ(LeadingNumber::Read("2abc"), 2);
    EXPECT_EQ(LeadingNumber::Read("12 34"), 12);
    for (const char* none : {"", "   ", "abc", "-", "--5", "- 5", "２"})  // a full-width digit is no digit
        EXPECT_EQ(LeadingNumber::Read(none), 0) << none;
}

TEST(LeadingNumberTest, OutOfRangeNumbersSaturateInsteadOfWrapping) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    EXPECT_EQ(LeadingNumber::Read("9223372036854775807"), kMax);
    EXPECT_EQ(LeadingNumber::Read("9223372036854775808"), kMax);
    EXPECT_EQ(LeadingNumber::Read("-9223372036854775808"), kMin);
    EXPECT_EQ(LeadingNumber::Read("-9223372036854775809"), kMin);
    EXPECT_EQ(LeadingNumber::Read(std::string(400, '9') + "x"), kMax);
}

}  // namespace
