#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/mzn-books/BalancesFile.h"

class Diagnostics;

// A monthly trial balance in the wide layout that accounting packages print
// (docs/books-formats.md): one line per account, with the columns code (and
// optionally sub and name), an opening column (前期繰越), the twelve months
// named by calendar month (4月 ... 3月) or by position (1 ... 12; those of
// the data set's months are required), and
// optionally the interim (中間決算整理) and closing (決算整理) adjustments.
// Lines without an account code (the package's subtotal lines) are passed
// over.
//
// The cells hold either each period's movement or the balance at its end.
// Balances follow each other in the order of the year: opening, months 1-6,
// interim adjustments, months 7-12, closing adjustments; a period's movement
// is the change from the balance before it. A movement on the account's own
// side (an increase) is a debit for a debit-side account and a credit for a
// credit-side one; a decrease is the other side. An empty cell is zero.
//
// The result is the lines of the one-line-a-period format, each with the
// line of the file it comes from, amounts without tax equal to those with.
class MonthlyBalancesFile {
public:
    enum class Amounts { Movement, Balance };
    // The side (AccountsFile::kDebit or kCredit) of an account by stored
    // code; debit for an account the chart lacks, which the importer reports.
    using SideOf = std::function<int(std::int64_t storedCode)>;

    // The fiscal year: the calendar month of its first month, and its number
    // of months. Columns of months after the last are optional; in them an
    // empty cell is no movement, as a package may leave them blank.
    struct Year {
        int firstMonth = 1;
        int months = 12;
    };

    static std::vector<BalancesFile::Row> Parse(std::string_view text, const std::string& fileName, Year year,
                                                Amounts amounts, const SideOf& sideOf, Diagnostics& diagnostics);
};
