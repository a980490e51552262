#pragma once

#include <cstdint>
#include <string>

// An amount as the report writes it: whole yen, cut toward zero, and
// nothing at all for zero and for amounts the form has no room for. The
// report file and the preview both take their figures from here, so that
// what a bookkeeper checks is what is sent.
class ReportAmount {
public:
    static constexpr std::int64_t kUnitsPerYen = 10000;
    static constexpr std::int64_t kLargest = 999'999'999'999;   // 12 digits
    static constexpr std::int64_t kSmallest = -99'999'999'999;  // 11 digits and the sign

    // The whole yen the report writes for an amount in ten-thousandths of
    // a yen; 0 where it writes nothing.
    static std::int64_t WrittenYen(std::int64_t tenThousandths);
    // The report's text: the whole yen in decimal, or empty.
    static std::string Text(std::int64_t tenThousandths);
    // Yen for a person to read: thousands grouped by commas ("-1,234,567").
    static std::string Grouped(std::int64_t yen);
};
