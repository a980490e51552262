#include "accounting_core/SummationBuilder.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <map>
#include <string>

#include "accounting_core/BooksDatabase.h"
#include "accounting_core/BooksStatement.h"
#include "accounting_core/ClassTree.h"
#include "accounting_core/CoreResult.h"
#include "accounting_core/PeriodSelection.h"
#include "accounting_core/RecordText.h"

namespace {

constexpr int kSlots = StKAMOKUSUMINFO::kSlots;

// The balance sheet's net assets hold the year's profit or loss after tax
// until the next year's opening balances move it into retained earnings:
// the accounts below the year's profit line count in the net-assets total
// too, so that assets = liabilities + net assets on balanced books.
constexpr std::uint32_t kNetAssetsLine = 0x80200000u;
constexpr std::uint32_t kYearsProfitLine = 0x40000080u;

// A main account's sums already hold those of its sub-accounts
// (docs/books-formats.md): only main accounts feed the totals. SQLite fails
// the query when a sum leaves the 64-bit range. CROSS JOIN keeps the
// accounts the outer loop: SQLite then looks up the sums of the few main
// accounts only, instead of every period row's account.
const char* const kClassSumsQuery =
    "SELECT a.class_code, s.period, sum(s.debit), sum(s.credit), sum(s.debit_incl), sum(s.credit_incl)"
    " FROM accounts AS a CROSS JOIN period_sums AS s ON s.data_set = a.data_set AND s.account_id = a.account_id"
    " WHERE a.data_set = ?1 AND a.code % 10000 = 0 GROUP BY a.class_code, s.period";
enum SumColumn { kClass, kPeriod, kDebit, kCredit, kDebitIncl, kCreditIncl };

StKAMOKUSUMINFO TotalRecord(const ClassTree::Line& line) {
    StKAMOKUSUMINFO record;
    std::memset(&record, 0, sizeof record);
    std::memset(record.Id, 0xFF, 12);
    record.Id[12] = static_cast<std::uint8_t>(line.code >> 24);
    record.Id[13] = static_cast<std::uint8_t>(line.code >> 16);
    record.Id[14] = static_cast<std::uint8_t>(line.code >> 8);
    record.Id[15] = static_cast<std::uint8_t>(line.code);
    RecordText::CopyUtf8(record.Name, sizeof record.Name, line.name);
    record.Flag126 = 0;
    record.Flag127 = 1;
    record.Summary = 1;
    record.BalanceSide = static_cast<std::uint8_t>(line.side);
    record.ClassCode = line.code;
    return record;
}

// Adds one amount into a total's slot; false on overflow. The amounts of
// the packed record are not aligned: they are read and written by copying.
bool Add(StKAMOKUSUMINFO& total, std::size_t array, int slot, std::int64_t amount) {
    unsigned char* at =
        reinterpret_cast<unsigned char*>(&total) + array + sizeof amount * static_cast<std::size_t>(slot);
    std::int64_t sum;
    std::memcpy(&sum, at, sizeof sum);
    if (__builtin_add_overflow(sum, amount, &sum)) return false;
    std::memcpy(at, &sum, sizeof sum);
    return true;
}

// Steps a query to its end, handing each row to take; false when SQLite fails.
template <typename Take>
bool ForEachRow(BooksStatement& query, Take take) {
    for (;;) {
        switch (query.Step()) {
        case BooksStatement::StepResult::Row:
            take(query);
            break;
        case BooksStatement::StepResult::Done:
            return true;
        case BooksStatement::StepResult::Error:
            return false;
        }
    }
}

}  // namespace

SummationBuilder::SummationBuilder(BooksDatabase& books, const ClassTree& classes, const PeriodSelection& periods)
    : books_(books), classes_(classes), periods_(periods) {}

int SummationBuilder::CountAccounts(int dataSet, std::int32_t& count) const {
    BooksStatement query(books_.Handle(), "SELECT count(*) FROM accounts WHERE data_set = ?1");
    query.Bind(1, dataSet);
    if (query.StepToRow(core_result::kBooksError) != core_result::kOk) return core_result::kBooksError;
    count = static_cast<std::int32_t>(query.Int(0));
    return core_result::kOk;
}

int SummationBuilder::BuildTotals(int dataSet, std::vector<StKAMOKUSUMINFO>& totals) const {
    totals.clear();
    for (const ClassTree::Line* line : classes_.TotalLines()) totals.push_back(TotalRecord(*line));
    // Accounts share few class codes: the lines of a class are worked out once.
    std::map<std::uint32_t, std::vector<std::size_t>> totalsOfClass;
    bool overflow = false;
    BooksStatement sums(books_.Handle(), kClassSumsQuery);
    sums.Bind(1, dataSet);
    const bool read = ForEachRow(sums, [&](const BooksStatement& row) {
        const int slot = PeriodSelection::SlotOfPeriod(static_cast<int>(row.Int(kPeriod)));
        if (!periods_.Delivers(slot)) return;
        const auto classCode = static_cast<std::uint32_t>(row.Int(kClass));
        auto known = totalsOfClass.find(classCode);
        if (known == totalsOfClass.end())
            known = totalsOfClass.emplace(classCode, TotalsOfClass(classCode, totals)).first;
        for (std::size_t at : known->second) {
            StKAMOKUSUMINFO& total = totals[at];
            overflow |= !Add(total, offsetof(StKAMOKUSUMINFO, DebitExcl), slot, row.Int(kDebit)) ||
                        !Add(total, offsetof(StKAMOKUSUMINFO, CreditExcl), slot, row.Int(kCredit)) ||
                        !Add(total, offsetof(StKAMOKUSUMINFO, DebitIncl), slot, row.Int(kDebitIncl)) ||
                        !Add(total, offsetof(StKAMOKUSUMINFO, CreditIncl), slot, row.Int(kCreditIncl));
        }
    });
    if (sums.Ok() && read && !overflow) return core_result::kOk;
    totals.clear();
    if (overflow || sums.Error().find("integer overflow") != std::string::npos) return core_result::kOverflow;
    return core_result::kBooksError;
}

std::vector<std::size_t> SummationBuilder::TotalsOfClass(std::uint32_t classCode,
                                                         const std::vector<StKAMOKUSUMINFO>& totals) const {
    std::vector<std::uint32_t> lines = classes_.LinesContaining(classCode);
    if (std::ranges::find(lines, kYearsProfitLine) != lines.end() &&
        std::ranges::find(lines, kNetAssetsLine) == lines.end())
        lines.push_back(kNetAssetsLine);
    std::vector<std::size_t> indexes;
    for (std::uint32_t line : lines) {
        for (std::size_t at = 0; at < totals.size(); ++at) {
            if (totals[at].ClassCode == line) indexes.push_back(at);
        }
    }
    return indexes;
}
