#include "tools/mzn-books/CsvField.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string_view CsvField::Trim(std::string_view field) {
    while (!field.empty() && IsBlank(field.front())) field.remove_prefix(1);
    while (!field.empty() && IsBlank(field.back())) field.remove_suffix(1);
    return field;
}

bool CsvField::ToInteger(std::string_view field, std::int64_t minimum, std::int64_t maximum, std::int64_t& value) {
    field = Trim(field);
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
    field = Trim(field);
    if (field.empty() || field.size() > 8) return false;
    std::uint32_t parsed = 0;
    for (char c : field) {
        const int digit = HexDigit(c);
        if (digit < 0) return false;
        parsed = parsed << 4 | static_cast<std::uint32_t>(digit);
    }
    value = parsed;
    return true;
}

bool CsvField::EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}
