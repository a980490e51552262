#include "platform/LeadingNumber.h"

#include <limits>

#include "platform/PlainText.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::int64_t LeadingNumber::Read(std::string_view text) {
    text = PlainText::TrimStart(text, PlainText::kCBlanks);
    std::size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';

    // Accumulated as a negative number: its range holds the magnitude of
    // int64's minimum, which the positive range does not.
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    std::int64_t value = 0;
    for (; at < text.size() && IsDigit(text[at]); ++at) {
        const int digit = text[at] - '0';
        if (value < (kMin + digit) / 10) return negative ? kMin : kMax;
        value = value * 10 - digit;
    }
    if (negative) return value;
    return value == kMin ? kMax : -value;
}

std::int32_t LeadingNumber::ReadInt32(std::string_view text) {
    const std::int64_t value = Read(text);
    if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}
