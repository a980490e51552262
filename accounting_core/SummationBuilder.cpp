#include "accounting_core/SummationBuilder.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <map>
#include <string>
#include <unordered_map>

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

const char* const kAccountsQuery =
    "SELECT account_id, code, name, class_code, side FROM accounts WHERE data_set = ?1 ORDER BY code";
enum AccountColumn { kId, kCode, kName, kClass, kSide };

// "+data_set" keeps SQLite from the primary-key index: one pass over the
// table costs less than a look-up per row, and the order does not matter.
const char* const kSumsQuery =
    "SELECT account_id, period, debit, credit, debit_incl, credit_incl FROM period_sums WHERE +data_set = ?1";
enum SumColumn { kSumId, kPeriod, kDebit, kCredit, kDebitIncl, kCreditIncl };

using IdIndex = std::unordered_map<std::string, std::size_t>;

std::string IdKey(const std::uint8_t (&id)[16]) { return std::string(reinterpret_cast<const char*>(id), 16); }

StKAMOKUSUMINFO AccountRecord(const BooksStatement& row) {
    StKAMOKUSUMINFO record;
    std::memset(&record, 0, sizeof record);
    row.Blob(kId, record.Id, sizeof record.Id);
    record.Code = static_cast<std::int32_t>(row.Int(kCode));
    RecordText::CopyUtf8(record.Name, sizeof record.Name, row.Text(kName));
    record.ClassCode = static_cast<std::uint32_t>(row.Int(kClass));
    record.BalanceSide = static_cast<std::uint8_t>(row.Int(kSide));
    return record;
}

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

// The amounts of the packed record are not aligned: they are read and
// written by copying.
constexpr std::size_t kAmountArrays[] = {
    offsetof(StKAMOKUSUMINFO, DebitExcl), offsetof(StKAMOKUSUMINFO, DebitIncl),
    offsetof(StKAMOKUSUMINFO, CreditExcl), offsetof(StKAMOKUSUMINFO, CreditIncl)};

// Adds every amount of an account into a total; false on overflow.
bool AddAccount(StKAMOKUSUMINFO& total, const StKAMOKUSUMINFO& account) {
    auto* totalBytes = reinterpret_cast<unsigned char*>(&total);
    const auto* accountBytes = reinterpret_cast<const unsigned char*>(&account);
    for (std::size_t array : kAmountArrays) {
        for (int slot = 0; slot < kSlots; ++slot) {
            const std::size_t at = array + sizeof(std::int64_t) * static_cast<std::size_t>(slot);
            std::int64_t sum;
            std::int64_t amount;
            std::memcpy(&sum, totalBytes + at, sizeof sum);
            std::memcpy(&amount, accountBytes + at, sizeof amount);
            if (__builtin_add_overflow(sum, amount, &sum)) return false;
            std::memcpy(totalBytes + at, &sum, sizeof sum);
        }
    }
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

int SummationBuilder::Build(int dataSet, std::vector<StKAMOKUSUMINFO>& records) const {
    records.clear();
    int result = ReadAccounts(dataSet, records);
    if (result == core_result::kOk) result = AppendTotals(records);
    if (result != core_result::kOk) records.clear();
    return result;
}

int SummationBuilder::ReadAccounts(int dataSet, std::vector<StKAMOKUSUMINFO>& records) const {
    BooksStatement accounts(books_.Handle(), kAccountsQuery);
    accounts.Bind(1, dataSet);
    IdIndex index;
    const bool readAccounts = ForEachRow(accounts, [&](const BooksStatement& row) {
        records.push_back(AccountRecord(row));
        index.emplace(IdKey(records.back().Id), records.size() - 1);
    });
    if (!accounts.Ok() || !readAccounts) return core_result::kBooksError;

    BooksStatement sums(books_.Handle(), kSumsQuery);
    sums.Bind(1, dataSet);
    std::uint8_t id[16];
    const bool readSums = ForEachRow(sums, [&](const BooksStatement& row) {
        const int slot = PeriodSelection::SlotOfPeriod(static_cast<int>(row.Int(kPeriod)));
        if (!periods_.Delivers(slot)) return;
        row.Blob(kSumId, id, sizeof id);
        auto account = index.find(IdKey(id));
        if (account == index.end()) return;
        StKAMOKUSUMINFO& record = records[account->second];
        record.DebitExcl[slot] = row.Int(kDebit);
        record.CreditExcl[slot] = row.Int(kCredit);
        record.DebitIncl[slot] = row.Int(kDebitIncl);
        record.CreditIncl[slot] = row.Int(kCreditIncl);
    });
    return sums.Ok() && readSums ? core_result::kOk : core_result::kBooksError;
}

int SummationBuilder::AppendTotals(std::vector<StKAMOKUSUMINFO>& records) const {
    std::vector<StKAMOKUSUMINFO> totals;
    std::map<std::uint32_t, std::size_t> totalIndex;
    for (const ClassTree::Line* line : classes_.TotalLines()) {
        totalIndex[line->code] = totals.size();
        totals.push_back(TotalRecord(*line));
    }
    // Accounts share few class codes: the totals of a class are worked out
    // once.
    std::map<std::uint32_t, std::vector<std::size_t>> totalsOfClass;
    for (const StKAMOKUSUMINFO& account : records) {
        // A main account's sums already hold those of its sub-accounts
        // (docs/books-formats.md): only main accounts feed the totals.
        if (account.Code % 10000 != 0) continue;
        auto known = totalsOfClass.find(account.ClassCode);
        if (known == totalsOfClass.end()) {
            std::vector<std::uint32_t> lines = classes_.LinesContaining(account.ClassCode);
            if (std::ranges::find(lines, kYearsProfitLine) != lines.end() &&
                std::ranges::find(lines, kNetAssetsLine) == lines.end())
                lines.push_back(kNetAssetsLine);
            std::vector<std::size_t> indexes;
            for (std::uint32_t line : lines) {
                auto total = totalIndex.find(line);
                if (total != totalIndex.end()) indexes.push_back(total->second);
            }
            known = totalsOfClass.emplace(account.ClassCode, std::move(indexes)).first;
        }
        for (std::size_t total : known->second) {
            if (!AddAccount(totals[total], account)) return core_result::kOverflow;
        }
    }
    records.insert(records.end(), totals.begin(), totals.end());
    return core_result::kOk;
}
