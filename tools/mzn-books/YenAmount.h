#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Amounts of the trial balance: yen with at most four decimals, kept exactly
// as ten-thousandths of a yen (the unit of the books). No floating point is
// involved anywhere, so "0.1" is 1000 and not almost 1000.
class YenAmount {
public:
    // The books' amounts stay below 10^14 yen in magnitude, as the
    // aggregation's sums must.
    static constexpr std::int64_t kLimit = 1000000000000000000;  // 10^18 ten-thousandths

    struct Parsed {
        bool ok = false;
        std::int64_t tenThousandths = 0;
        std::string reason;  // why not, when !ok
    };

    // An optional minus (or the full-width minus, or the triangle △ or ▲
    // that Japanese statements write for one), digits, optionally with commas between groups of three
    // ("1,234,567"), and optionally a point followed by one to four digits;
    // blanks around it are ignored. No exponent, no currency sign. The text
    // is UTF-8.
    static Parsed Parse(std::string_view text);

    // a + b, false when the sum would reach kLimit in magnitude.
    static bool Add(std::int64_t a, std::int64_t b, std::int64_t& sum);

    // "1234.5" for 12345000: yen, and the decimals that are not zero.
    static std::string Format(std::int64_t tenThousandths);
    // "1,234.5" for 12345000, "-1,000" for -10000000: as Format, with a
    // comma between groups of three digits of the yen.
    static std::string FormatGrouped(std::int64_t tenThousandths);
};
