#include "report/ReportAmount.h"

std::int64_t ReportAmount::WrittenYen(std::int64_t tenThousandths) {
    const std::int64_t yen = tenThousandths / kUnitsPerYen;  // truncates toward zero
    if (yen > kLargest || yen < kSmallest) return 0;
    return yen;
}

std::string ReportAmount::Text(std::int64_t tenThousandths) {
    const std::int64_t yen = WrittenYen(tenThousandths);
    return yen == 0 ? std::string() : std::to_string(yen);
}

std::string ReportAmount::Grouped(std::int64_t yen) {
    // The magnitude as unsigned, so that the most negative amount has one.
    const std::uint64_t magnitude = yen < 0 ? 0 - static_cast<std::uint64_t>(yen) : static_cast<std::uint64_t>(yen);
    const std::string digits = std::to_string(magnitude);
    std::string grouped;
    const std::size_t first = digits.size() % 3 == 0 ? 3 : digits.size() % 3;
    for (std::size_t at = 0; at < digits.size(); at += at == 0 ? first : 3) {
        if (at != 0) grouped += ',';
        grouped += digits.substr(at, at == 0 ? first : 3);
    }
    return (yen < 0 ? "-" : "") + grouped;
}
