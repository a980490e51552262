#pragma once

#include <vector>

#include "accounting_core/StKAMOKUSUMINFO.h"

class BooksDatabase;
class ClassTree;
class PeriodSelection;

// The summary records of one data set, built with two queries (the accounts,
// then their period sums):
//   - one record per account, in account-code order: identifier, code,
//     name, class code, balance side, the sums of the delivered periods;
//     bytes 126, 127 and 128 are 0 (an account is never a total line);
//   - then one record per total line of the class-code hierarchy, in the
//     order of the statements: byte 128 = 1 (summary), byte 127 = 1,
//     byte 126 = 0, code 0, the line's class code, name and balance side,
//     and in every slot the sums of the member accounts' slots (members:
//     accounts whose class code is the line or lies below it; the net-assets
//     line 0x80200000 also takes the accounts below the year's profit
//     0x40000080). Its identifier is twelve bytes 0xFF followed by the class
//     code, big-endian.
class SummationBuilder {
public:
    SummationBuilder(BooksDatabase& books, const ClassTree& classes, const PeriodSelection& periods);

    // core_result::kOk, kBooksError when a query fails, kOverflow when a
    // total leaves the 64-bit range. records is replaced.
    int Build(int dataSet, std::vector<StKAMOKUSUMINFO>& records) const;

private:
    int ReadAccounts(int dataSet, std::vector<StKAMOKUSUMINFO>& records) const;
    int AppendTotals(std::vector<StKAMOKUSUMINFO>& records) const;

    BooksDatabase& books_;
    const ClassTree& classes_;
    const PeriodSelection& periods_;
};
