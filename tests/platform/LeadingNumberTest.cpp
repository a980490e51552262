#include "platform/LeadingNumber.h"

#include <gtest/gtest.h>

// As atoi: blanks, a sign, digits up to the first other character; out of
// range the value holds at the limits instead of wrapping.
TEST(LeadingNumberTest, ReadsTheNumberAtTheStartOfATextAsAtoiDoes) {
    const std::pair<std::string, std::int64_t> rows[] = {
        {" \t\r\n\v\f17", 17}, {"+8", 8}, {"-8", -8}, {"12 34x", 12}, {"", 0}, {" ", 0}, {"a1", 0}, {"-", 0},
        {"--5", 0}, {"- 5", 0}, {"２", 0}, {"9223372036854775807", INT64_MAX}, {"9223372036854775808", INT64_MAX},
        {"-9223372036854775808", INT64_MIN}, {"-9223372036854775809", INT64_MIN}, {std::string(400, '9'), INT64_MAX}};
    for (const auto& [text, value] : rows) EXPECT_EQ(LeadingNumber::Read(text), value) << text;
    const std::pair<const char*, std::int32_t> narrow[] = {
        {"2147483647", INT32_MAX}, {"2147483648", INT32_MAX}, {"-2147483648", INT32_MIN}, {"-2147483649", INT32_MIN}};
    for (const auto& [text, value] : narrow) EXPECT_EQ(LeadingNumber::ReadInt32(text), value) << text;
}
