#include "tools/mzn-books/YenAmount.h"

#include "platform/PlainText.h"
#include "tools/mzn-books/CsvField.h"

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The marks accounting packages write before a negative amount: the minus,
// the full-width minus of code page 932 (U+FF0D), and the triangles of
// Japanese statements, white (U+25B3) and black (U+25B2), in UTF-8.
constexpr std::string_view kNegativeMarks[] = {"-", "\xEF\xBC\x8D", "\xE2\x96\xB3", "\xE2\x96\xB2"};

bool TakeNegativeMark(std::string_view& rest) {
    for (std::string_view mark : kNegativeMarks) {
        if (rest.substr(0, mark.size()) == mark) {
            rest.remove_prefix(mark.size());
            return true;
        }
    }
    return false;
}

// The digits of the yen with their thousands separators taken out: one to
// three digits, then groups of exactly three, each after a comma. False when
// commas stand anywhere else.
bool RemoveSeparators(std::string_view whole, std::string& digits) {
    const std::size_t firstComma = whole.find(',');
    if (firstComma == std::string_view::npos) {
        digits.assign(whole);
        return true;
    }
    if (firstComma == 0 || firstComma > 3) return false;
    digits.assign(whole.substr(0, firstComma));
    for (std::size_t at = firstComma; at < whole.size(); at += 4) {
        if (whole[at] != ',' || at + 4 > whole.size()) return false;
        digits.append(whole.substr(at + 1, 3));
    }
    return digits.find(',') == std::string::npos;
}

YenAmount::Parsed Refuse(std::string reason) {
    YenAmount::Parsed parsed;
    parsed.reason = std::move(reason);
    return parsed;
}

}  // namespace

YenAmount::Parsed YenAmount::Parse(std::string_view text) {
    std::string_view rest = PlainText::Trim(text, PlainText::kSpaceAndTab);
    const bool negative = TakeNegativeMark(rest);
    const std::size_t point = rest.find('.');
    std::string separated;
    if (!RemoveSeparators(rest.substr(0, point), separated))
        return Refuse("\"" + std::string(text) + "\" is not an amount");
    std::string_view whole = separated;
    std::string_view decimals = point == std::string_view::npos ? std::string_view() : rest.substr(point + 1);

    if (whole.empty()) return Refuse("\"" + std::string(text) + "\" is not an amount");
    for (char c : whole)
        if (!IsDigit(c)) return Refuse("\"" + std::string(text) + "\" is not an amount");
    if (point != std::string_view::npos && decimals.empty())
        return Refuse("\"" + std::string(text) + "\" is not an amount");
    for (char c : decimals)
        if (!IsDigit(c)) return Refuse("\"" + std::string(text) + "\" is not an amount");
    if (decimals.size() > 4) return Refuse("\"" + std::string(text) + "\" has more than four decimals");

    while (whole.size() > 1 && whole.front() == '0') whole.remove_prefix(1);
    if (whole.size() > 14) return Refuse("\"" + std::string(text) + "\" is 10^14 yen or more");
    std::int64_t value = 0;
    for (char c : whole) value = value * 10 + (c - '0');
    for (std::size_t i = 0; i < 4; ++i) value = value * 10 + (i < decimals.size() ? decimals[i] - '0' : 0);

    Parsed parsed;
    parsed.ok = true;
    parsed.tenThousandths = negative ? -value : value;
    return parsed;
}

bool YenAmount::Add(std::int64_t a, std::int64_t b, std::int64_t& sum) {
    // Both stay below kLimit in magnitude, so a + b cannot overflow an int64.
    if (a <= -kLimit || a >= kLimit || b <= -kLimit || b >= kLimit) return false;
    const std::int64_t result = a + b;
    if (result <= -kLimit || result >= kLimit) return false;
    sum = result;
    return true;
}

std::string YenAmount::Format(std::int64_t tenThousandths) {
    const bool negative = tenThousandths < 0;
    // The magnitude as unsigned, so that the smallest int64 has one too.
    const std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(tenThousandths) : static_cast<std::uint64_t>(tenThousandths);
    std::string text = (negative ? "-" : "") + std::to_string(magnitude / 10000);
    std::uint64_t fraction = magnitude % 10000;
    if (fraction != 0) {
        std::string digits = std::to_string(fraction);
        digits.insert(0, 4 - digits.size(), '0');
        while (digits.back() == '0') digits.pop_back();
        text += "." + digits;
    }
    return text;
}

std::string YenAmount::FormatGrouped(std::int64_t tenThousandths) {
    std::string text = Format(tenThousandths);
    const std::size_t digitsStart = text.front() == '-' ? 1 : 0;
    std::size_t wholeEnd = text.find('.');
    if (wholeEnd == std::string::npos) wholeEnd = text.size();
    for (std::size_t at = wholeEnd; at > digitsStart + 3; at -= 3) text.insert(at - 3, ",");
    return text;
}
