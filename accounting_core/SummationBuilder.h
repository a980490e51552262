#pragma once

#include <cstdint>
#include <vector>

#include "accounting_core/StKAMOKUSUMINFO.h"

class BooksDatabase;
class ClassTree;
class PeriodSelection;

// The total lines of the summation, which follow the account records
// (AccountSumStream): one record per total line of the class-code
// hierarchy, in the order of the statements: byte 128 = 1 (summary), byte
// 127 = 1, byte 126 = 0, code 0, the line's class code, name and balance
// side, and in every delivered slot the sums of the member accounts' slots
// (members: main accounts whose class code is the line or lies below it; the
// net-assets line 0x80200000 also takes the accounts below the year's profit
// 0x40000080). Its identifier is twelve bytes 0xFF followed by the class
// code, big-endian.
//
// The sums come from one aggregate query by class code and period, so that
// neither its rows nor the memory grow with the accounts.
class SummationBuilder {
public:
    SummationBuilder(BooksDatabase& books, const ClassTree& classes, const PeriodSelection& periods);

    // core_result::kOk, kBooksError when the query fails, kOverflow when a
    // total leaves the 64-bit range. totals is replaced.
    int BuildTotals(int dataSet, std::vector<StKAMOKUSUMINFO>& totals) const;
    // The number of accounts of the data set; kOk or kBooksError.
    int CountAccounts(int dataSet, std::int32_t& count) const;

private:
    // The indexes in totals of the lines a class's main accounts add into.
    std::vector<std::size_t> TotalsOfClass(std::uint32_t classCode, const std::vector<StKAMOKUSUMINFO>& totals) const;

    BooksDatabase& books_;
    const ClassTree& classes_;
    const PeriodSelection& periods_;
};
