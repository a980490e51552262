#pragma once

#include <cstdint>
#include <memory>

#include "accounting_core/BooksStatement.h"
#include "accounting_core/PeriodSelection.h"
#include "accounting_core/StKAMOKUSUMINFO.h"

class BooksDatabase;

// The account records of the summation, built one by one from a single
// query as they are asked for: the accounts of a data set in code order,
// each joined with its period sums (one row per period, ordered by the
// primary key). A record: identifier, code, name, class code, balance side,
// the sums of the delivered periods; bytes 126, 127 and 128 are 0 (an
// account is never a total line); every other byte is 0.
//
// The open query keeps the books' read transaction, so that the count and
// the totals read while it is open see the same books as the walk.
class AccountSumStream {
public:
    // The query: ?1 the data set.
    static const char* const kQuery;

    AccountSumStream(BooksDatabase& books, const PeriodSelection& periods);

    // Starts the query at the first account: core_result::kOk or kBooksError.
    int Open(int dataSet);
    // Builds the next account's record into record: kOk; kEndOfSums after
    // the last account; kBooksError when the books fail (record unchanged).
    int Next(StKAMOKUSUMINFO& record);
    // The number of accounts Next has built since Open.
    std::int64_t Position() const { return position_; }

private:
    int StepRow();

    BooksDatabase& books_;
    PeriodSelection periods_;
    std::unique_ptr<BooksStatement> query_;
    BooksStatement::StepResult row_ = BooksStatement::StepResult::Done;  // where the query stands
    std::int64_t position_ = 0;
};
