#include "tools/mzn-books/BooksImporter.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "accounting_core/BooksDatabase.h"
#include "accounting_core/BooksStatement.h"
#include "tools/mzn-books/CalendarDate.h"
#include "tools/mzn-books/Diagnostics.h"
#include "tools/mzn-books/MessageTemplate.h"
#include "tools/mzn-books/NearestNames.h"
#include "tools/mzn-books/StandardChart.h"
#include "tools/mzn-books/YenAmount.h"

namespace {

std::string Hex(std::uint32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", value);
    return text;
}

// Adds one line's amounts to the sums of an account and period; false when
// a sum would reach 10^14 yen.
bool AddLine(DataSetStore::Sums& sums, const BalancesFile::Row& row) {
    return YenAmount::Add(sums.debit, row.debit, sums.debit) && YenAmount::Add(sums.credit, row.credit, sums.credit) &&
           YenAmount::Add(sums.debitIncl, row.debitIncl, sums.debitIncl) &&
           YenAmount::Add(sums.creditIncl, row.creditIncl, sums.creditIncl);
}

bool HasAmounts(const BalancesFile::Row& row) {
    return row.debit != 0 || row.credit != 0 || row.debitIncl != 0 || row.creditIncl != 0;
}

}  // namespace

BooksImporter::Result BooksImporter::Import(const DataSetDefinition& definition, const Input& input,
                                            std::int64_t number, std::string dataId, Diagnostics& diagnostics) {
    number_ = 0;
    const std::string problem = definition.Problem();
    if (!problem.empty()) {
        diagnostics.Report("data set", problem);
        return Result::BadInput;
    }
    ClassLines classLines;
    if (!LoadClassLines(classLines)) return Result::BooksFailed;
    std::vector<AccountsFile::Row> accounts = input.accounts;
    ResolveClasses(input, classLines, accounts, diagnostics);
    DataSetStore::PeriodSums sums;
    AddUp(definition, input, sums, diagnostics);
    if (!diagnostics.Empty()) return Result::BadInput;

    DataSetStore store(books_);
    if (number == 0 && !store.NextNumber(number)) return BooksFailed(store.Error());
    if (dataId.empty()) dataId = DataIdFor(number);
    if (!store.Insert(number, dataId, definition, accounts, sums)) return BooksFailed(store.Error());
    number_ = number;
    return Result::Written;
}

bool BooksImporter::LoadClassLines(ClassLines& lines) {
    // The lines of the hierarchy first: a standard account of the same name
    // does not replace a line.
    BooksStatement select(books_.Handle(), "SELECT class_code, name FROM class_lines ORDER BY ordinal, class_code");
    BooksStatement::StepResult step;
    while ((step = select.Step()) == BooksStatement::StepResult::Row) {
        const auto code = static_cast<std::uint32_t>(select.Int(0));
        lines.codes.push_back(code);
        if (lines.sections.emplace(select.Text(1), code).second) lines.names.push_back(select.Text(1));
    }
    if (step != BooksStatement::StepResult::Done) {
        error_ = "cannot read the class-code hierarchy: " + select.Error();
        return false;
    }
    std::sort(lines.codes.begin(), lines.codes.end());
    for (const AccountsFile::Row& account : StandardChart::Accounts())
        if (account.sub == 0 && lines.sections.emplace(account.name, account.classCode).second)
            lines.names.push_back(account.name);
    return true;
}

void BooksImporter::ResolveClasses(const Input& input, const ClassLines& lines,
                                   std::vector<AccountsFile::Row>& accounts, Diagnostics& diagnostics) {
    for (AccountsFile::Row& account : accounts) {
        const std::string label = AccountsFile::Label(account.code, account.sub);
        if (!account.section.empty()) {
            const auto line = lines.sections.find(account.section);
            if (line != lines.sections.end()) {
                account.classCode = line->second;
                continue;
            }
            std::string nearest;
            for (const std::string& name : NearestNames::Of(account.section, lines.names, 3))
                nearest += (nearest.empty() ? "" : ", ") + name;
            diagnostics.Report(input.accountsFile, account.line,
                               MessageTemplate::Fill("the section %1 of account %2 is no section of the statements "
                                                     "(docs/class-codes.md); the nearest are %3",
                                                     {AccountsFile::Quoted(account.section), label, nearest}));
            continue;
        }
        if (std::binary_search(lines.codes.begin(), lines.codes.end(), account.classCode)) continue;
        diagnostics.Report(input.accountsFile, account.line,
                           "class code " + Hex(account.classCode) + " of account " + label +
                               " is not in the class-code hierarchy of the books");
    }
}

void BooksImporter::AddUp(const DataSetDefinition& definition, const Input& input, DataSetStore::PeriodSums& sums,
                          Diagnostics& diagnostics) {
    std::map<std::int64_t, const AccountsFile::Row*> accounts;
    for (const AccountsFile::Row& account : input.accounts) accounts.emplace(account.StoredCode(), &account);
    const int months = definition.Months();

    for (const BalancesFile::Row& row : input.balances) {
        const std::string label = AccountsFile::Label(row.code, row.sub);
        auto account = accounts.find(row.StoredCode());
        if (account == accounts.end()) {
            diagnostics.Report(input.balancesFile, row.line, "account " + label + " is not in " + input.accountsFile);
            continue;
        }
        auto main = accounts.find(static_cast<std::int64_t>(row.code) * 10000);
        const bool heading = account->second->flag112 != 0 || (main != accounts.end() && main->second->flag112 != 0);
        if (heading && HasAmounts(row)) {
            diagnostics.Report(input.balancesFile, row.line,
                               "account " + label + " is (or belongs to) a heading account, which takes no amounts");
            continue;
        }
        if (row.period >= 1 && row.period <= 12 && row.period > months && HasAmounts(row)) {
            diagnostics.Report(input.balancesFile, row.line,
                               MessageTemplate::Fill("account %1 has amounts in month %2 of the fiscal year, after "
                                                     "the last month of the data set (month %3, %4)",
                                                     {label, std::to_string(row.period), std::to_string(months),
                                                      CalendarDate::Format(definition.end).substr(0, 7)}));
            continue;
        }
        if (row.period == 15 && !definition.interim) {
            diagnostics.Report(input.balancesFile, row.line,
                               "period 15 holds interim-closing adjustments; the data set has no interim closing "
                               "(--interim)");
            continue;
        }
        bool fits = AddLine(sums[{row.StoredCode(), row.period}], row);
        if (row.sub != 0 && main != accounts.end()) fits = AddLine(sums[{main->first, row.period}], row) && fits;
        if (!fits)
            diagnostics.Report(
                input.balancesFile, row.line,
                "the sums of account " + label + " in period " + std::to_string(row.period) + " reach 10^14 yen");
    }
}

BooksImporter::Result BooksImporter::BooksFailed(const std::string& why) {
    error_ = why;
    return Result::BooksFailed;
}

std::string BooksImporter::DataIdFor(std::int64_t number) {
    char text[24];
    std::snprintf(text, sizeof text, "D%06lld", static_cast<long long>(number));
    return text;
}
