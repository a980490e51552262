#include "accounting_core/AccountSumStream.h"

#include <cstring>

#include "accounting_core/BooksDatabase.h"
#include "accounting_core/CoreResult.h"
#include "accounting_core/RecordText.h"

namespace {

enum Column { kId, kCode, kName, kClass, kSide, kPeriod, kDebit, kCredit, kDebitIncl, kCreditIncl };

}  // namespace

// An account without sums still makes its record: the join keeps it with
// one row of NULL sums.
const char* const AccountSumStream::kQuery =
    "SELECT a.account_id, a.code, a.name, a.class_code, a.side,"
    " s.period, s.debit, s.credit, s.debit_incl, s.credit_incl"
    " FROM accounts AS a LEFT JOIN period_sums AS s ON s.data_set = a.data_set AND s.account_id = a.account_id"
    " WHERE a.data_set = ?1 ORDER BY a.code";

AccountSumStream::AccountSumStream(BooksDatabase& books, const PeriodSelection& periods)
    : books_(books), periods_(periods) {}

int AccountSumStream::Open(int dataSet) {
    position_ = 0;
    if (query_ == nullptr) query_ = std::make_unique<BooksStatement>(books_.Handle(), kQuery);
    if (!query_->Ok()) return core_result::kBooksError;
    query_->Reset();
    query_->Bind(1, dataSet);
    return StepRow();
}

int AccountSumStream::StepRow() {
    row_ = query_->Step();
    return row_ == BooksStatement::StepResult::Error ? core_result::kBooksError : core_result::kOk;
}

int AccountSumStream::Next(StKAMOKUSUMINFO& record) {
    if (row_ == BooksStatement::StepResult::Error) return core_result::kBooksError;
    if (row_ == BooksStatement::StepResult::Done) return core_result::kEndOfSums;
    StKAMOKUSUMINFO r;
    std::memset(&r, 0, sizeof r);
    const BooksStatement& row = *query_;
    row.Blob(kId, r.Id, sizeof r.Id);
    const std::int64_t code = row.Int(kCode);
    r.Code = static_cast<std::int32_t>(code);
    RecordText::CopyUtf8(r.Name, sizeof r.Name, row.Text(kName));
    r.ClassCode = static_cast<std::uint32_t>(row.Int(kClass));
    r.BalanceSide = static_cast<std::uint8_t>(row.Int(kSide));
    // The account's rows follow one another: codes are unique in a data set.
    do {
        const int slot = row.IsNull(kPeriod) ? -1 : PeriodSelection::SlotOfPeriod(static_cast<int>(row.Int(kPeriod)));
        if (periods_.Delivers(slot)) {
            r.DebitExcl[slot] = row.Int(kDebit);
            r.CreditExcl[slot] = row.Int(kCredit);
            r.DebitIncl[slot] = row.Int(kDebitIncl);
            r.CreditIncl[slot] = row.Int(kCreditIncl);
        }
        if (StepRow() != core_result::kOk) return core_result::kBooksError;
    } while (row_ == BooksStatement::StepResult::Row && row.Int(kCode) == code);
    record = r;
    ++position_;
    return core_result::kOk;
}
