#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class Diagnostics;

// A monthly trial balance as the import reads it (docs/books-formats.md):
// UTF-8 CSV, a header that names the columns code, sub, period, debit,
// credit, debit_incl and credit_incl (in any order, in English or Japanese,
// see ImportColumns; sub and the tax-included amounts may be missing) and
// one line per account and period. Further columns are ignored. Amounts
// are yen with at most four decimals; an empty debit or credit is 0, an
// empty debit_incl or credit_incl is the tax-excluded amount of its line.
class BalancesFile {
public:
    static constexpr std::string_view kHeader = "code,sub,period,debit,credit,debit_incl,credit_incl";

    struct Row {
        std::size_t line = 0;
        std::int32_t code = 0;
        std::int32_t sub = 0;
        int period = 0;          // 0 opening, 1-12 month position, 15 interim, 18 closing adjustments
        std::int64_t debit = 0;  // ten-thousandths of a yen
        std::int64_t credit = 0;
        std::int64_t debitIncl = 0;
        std::int64_t creditIncl = 0;

        std::int64_t StoredCode() const { return static_cast<std::int64_t>(code) * 10000 + sub; }
    };

    static bool IsPeriod(std::int64_t period) { return (period >= 0 && period <= 12) || period == 15 || period == 18; }

    // The lines of a file in file order; every problem goes to diagnostics
    // under fileName, and lines with problems are left out.
    static std::vector<Row> Parse(std::string_view text, const std::string& fileName, Diagnostics& diagnostics);
};
