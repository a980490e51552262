#include "tools/mzn-books/ImportChecks.h"

#include <map>
#include <set>

#include "tools/mzn-books/Diagnostics.h"
#include "tools/mzn-books/MessageTemplate.h"
#include "tools/mzn-books/YenAmount.h"

namespace {

// Sums of a check. A sum that reaches 10^14 yen is not checked: the
// importer refuses the account sums that get there, and a period's total
// beyond it says nothing a user could act on.
struct Totals {
    std::int64_t debit = 0;
    std::int64_t credit = 0;
    std::int64_t debitIncl = 0;
    std::int64_t creditIncl = 0;
    bool tooLarge = false;

    void Add(const BalancesFile::Row& row) {
        tooLarge = tooLarge || !YenAmount::Add(debit, row.debit, debit) ||
                   !YenAmount::Add(credit, row.credit, credit) ||
                   !YenAmount::Add(debitIncl, row.debitIncl, debitIncl) ||
                   !YenAmount::Add(creditIncl, row.creditIncl, creditIncl);
    }
};

std::string PeriodName(int period) {
    if (period == 0) return "the opening balance (period 0)";
    if (period == 15) return "the interim adjustments (period 15)";
    if (period == 18) return "the closing adjustments (period 18)";
    return MessageTemplate::Fill("month %1 of the fiscal year", {std::to_string(period)});
}

}  // namespace

void ImportChecks::Warn(const std::vector<AccountsFile::Row>& accounts, const std::vector<BalancesFile::Row>& balances,
                        const std::string& balancesFile, Diagnostics& warnings) {
    WarnUnbalancedPeriods(balances, balancesFile, warnings);
    WarnRepeatedTotals(accounts, balances, balancesFile, warnings);
}

void ImportChecks::WarnUnbalancedPeriods(const std::vector<BalancesFile::Row>& balances,
                                         const std::string& balancesFile, Diagnostics& warnings) {
    // Every line counts once: a sub-account's lines are not repeated on its
    // main account.
    std::map<int, Totals> periods;
    for (const BalancesFile::Row& row : balances) periods[row.period].Add(row);
    for (const auto& [period, totals] : periods) {
        if (totals.tooLarge) continue;
        const bool excluded = totals.debit != totals.credit;
        if (!excluded && totals.debitIncl == totals.creditIncl) continue;
        const std::int64_t debit = excluded ? totals.debit : totals.debitIncl;
        const std::int64_t credit = excluded ? totals.credit : totals.creditIncl;
        warnings.Report(balancesFile,
                        MessageTemplate::Fill(
                            excluded ? "warning: in %1 the debits %2 and the credits %3 differ by %4"
                                     : "warning: in %1 the debits %2 and the credits %3 "
                                       "including tax differ by %4",
                            {PeriodName(period), YenAmount::FormatGrouped(debit), YenAmount::FormatGrouped(credit),
                             YenAmount::FormatGrouped(debit > credit ? debit - credit : credit - debit)}));
    }
}

void ImportChecks::WarnRepeatedTotals(const std::vector<AccountsFile::Row>& accounts,
                                      const std::vector<BalancesFile::Row>& balances, const std::string& balancesFile,
                                      Diagnostics& warnings) {
    std::set<std::int32_t> withSubs;
    for (const AccountsFile::Row& account : accounts)
        if (account.sub != 0) withSubs.insert(account.code);
    // Per main account and period: the net amount (debit - credit) of its
    // own lines and of its sub-accounts' lines, and its own first line.
    struct Nets {
        std::int64_t own = 0;
        std::int64_t subs = 0;
        bool tooLarge = false;
    };
    std::map<std::int32_t, std::map<int, Nets>> nets;
    std::map<std::int32_t, const BalancesFile::Row*> firstOwn;
    for (const BalancesFile::Row& row : balances) {
        if (withSubs.count(row.code) == 0) continue;
        Nets& period = nets[row.code][row.period];
        std::int64_t& net = row.sub == 0 ? period.own : period.subs;
        period.tooLarge = period.tooLarge || !YenAmount::Add(net, row.debit - row.credit, net);
        if (row.sub == 0 && row.debit - row.credit != 0) firstOwn.emplace(row.code, &row);
    }
    for (const auto& [code, periods] : nets) {
        const auto first = firstOwn.find(code);
        if (first == firstOwn.end()) continue;  // no amounts of its own
        bool repeated = true;
        for (const auto& [period, amounts] : periods)
            repeated = repeated && !amounts.tooLarge && amounts.own == amounts.subs;
        if (!repeated) continue;
        const BalancesFile::Row& row = *first->second;
        warnings.Report(
            balancesFile, row.line,
            MessageTemplate::Fill(
                "warning: the lines of main account %1 repeat the total of its sub-accounts in "
                "every period (%2: %3); the books add a main account's lines to its "
                "sub-accounts', so these amounts count twice",
                {std::to_string(code), PeriodName(row.period), YenAmount::FormatGrouped(periods.at(row.period).own)}));
    }
}
