#include "tools/mzn-books/CsvField.h"

#include "platform/PlainText.h"

bool CsvField::ToInteger(std::string_view field, std::int64_t minimum, std::int64_t maximum, std::int64_t& value) {
    field = PlainText::Trim(field, PlainText::kSpaceAndTab);
    const bool negative = !field.empty() && field.front() == '-';
    if (negative) field.remove_prefix(1);
    if (field.empty()) return false;
    // Digits beyond what an int64 can hold are rejected by the range check,
    // which needs the magnitude to stop growing before it overflows.
    constexpr std::uint64_t kCap = 1ULL << 62;
    std::uint64_t magnitude = 0;
    for (char c : field) {
        if (c < '0' || c > '9') return false;
        if (magnitude < kCap) magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (magnitude >= kCap) return false;
    const std::int64_t parsed = negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    if (parsed < minimum || parsed > maximum) return false;
    value = parsed;
    return true;
}

bool CsvField::ToHex32(std::string_view field, std::uint32_t& value) {
    field = PlainText::Trim(field, PlainText::kSpaceAndTab);
    if (field.size() > 2 && field[0] == '0' && PlainText::ToLower(field[1]) == 'x') field.remove_prefix(2);
    if (field.empty() || field.size() > 8) return false;
    std::uint32_t parsed = 0;
    for (char c : field) {
        const int digit = PlainText::HexDigit(c);
        if (digit < 0) return false;
        parsed = parsed << 4 | static_cast<std::uint32_t>(digit);
    }
    value = parsed;
    return true;
}
