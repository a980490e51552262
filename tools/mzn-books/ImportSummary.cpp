#include "tools/mzn-books/ImportSummary.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "accounting_core/BooksDatabase.h"
#include "accounting_core/BooksStatement.h"
#include "accounting_core/ClassTree.h"
#include "accounting_core/CoreResult.h"
#include "accounting_core/PeriodSelection.h"
#include "accounting_core/SummationBuilder.h"
#include "tools/mzn-books/ClassHierarchy.h"
#include "tools/mzn-books/MessageTemplate.h"
#include "tools/mzn-books/Utf8Text.h"
#include "tools/mzn-books/YenAmount.h"

namespace {

// "the opening balance, months 1-12, the closing adjustments".
std::string PeriodList(const std::vector<int>& periods) {
    std::string text;
    auto add = [&text](const std::string& part) { text += (text.empty() ? "" : ", ") + part; };
    int runStart = 0;
    int runEnd = 0;
    auto flush = [&]() {
        if (runStart == 0) return;
        add(runStart == runEnd
                ? MessageTemplate::Fill("month %1", {std::to_string(runStart)})
                : MessageTemplate::Fill("months %1-%2", {std::to_string(runStart), std::to_string(runEnd)}));
        runStart = 0;
    };
    for (int period : periods) {
        if (period >= 1 && period <= 12) {
            if (runStart != 0 && period == runEnd + 1) {
                runEnd = period;
                continue;
            }
            flush();
            runStart = runEnd = period;
            continue;
        }
        flush();
        if (period == 0) add("the opening balance");
        if (period == 15) add("the interim adjustments");
        if (period == 18) add("the closing adjustments");
    }
    flush();
    return text.empty() ? "none" : text;
}

// The balance of a total over every slot, on the line's side, as text.
std::string YearBalance(const StKAMOKUSUMINFO& total) {
    std::int64_t balance = 0;
    const int sign = total.BalanceSide == 1 ? 1 : -1;
    for (int slot = 0; slot < StKAMOKUSUMINFO::kSlots; ++slot) {
        const std::int64_t debit = total.DebitExcl[slot];
        const std::int64_t credit = total.CreditExcl[slot];
        const auto beyond = [](std::int64_t amount) {
            return amount <= -YenAmount::kLimit || amount >= YenAmount::kLimit;
        };
        if (beyond(debit) || beyond(credit) || !YenAmount::Add(balance, sign * debit, balance) ||
            !YenAmount::Add(balance, -sign * credit, balance))
            return "10^14 yen or more";
    }
    return YenAmount::FormatGrouped(balance);
}

}  // namespace

bool ImportSummary::Describe(BooksDatabase& books, std::int64_t number, std::string& text, std::string& error) {
    ClassTree classes;
    if (!classes.Load(books)) {
        error = "cannot read the class-code hierarchy: " + books.Error();
        return false;
    }
    const PeriodSelection everyPeriod;
    const SummationBuilder summation(books, classes, everyPeriod);
    std::vector<StKAMOKUSUMINFO> totals;
    std::int32_t accounts = 0;
    if (summation.CountAccounts(static_cast<int>(number), accounts) != core_result::kOk ||
        summation.BuildTotals(static_cast<int>(number), totals) != core_result::kOk) {
        error = "cannot sum the new data set: " + books.Error();
        return false;
    }
    BooksStatement select(books.Handle(),
                          "SELECT DISTINCT period FROM period_sums WHERE data_set = ?1 ORDER BY period");
    select.Bind(1, number);
    std::vector<int> periods;
    BooksStatement::StepResult step;
    while ((step = select.Step()) == BooksStatement::StepResult::Row)
        periods.push_back(static_cast<int>(select.Int(0)));
    if (step != BooksStatement::StepResult::Done) {
        error = "cannot read the periods of the new data set: " + select.Error();
        return false;
    }
    BooksStatement settings(books.Handle(), "SELECT net_assets FROM data_sets WHERE number = ?1");
    settings.Bind(1, number);
    if (settings.Step() != BooksStatement::StepResult::Row) {
        error = "cannot read the new data set: " + settings.Error();
        return false;
    }
    // A data set without the net-assets flag calls the line capital, as its
    // balance sheet does.
    const bool capital = settings.Int(0) == 0;
    // Periods 15 and 18 follow the months, as in the year.
    std::stable_partition(periods.begin(), periods.end(), [](int period) { return period <= 12; });

    text = MessageTemplate::Fill("Data set %1 - accounts: %2; periods with amounts: %3\n",
                                 {std::to_string(number), std::to_string(accounts), PeriodList(periods)});
    for (std::uint32_t code : {ClassHierarchy::kAssets, ClassHierarchy::kLiabilities, ClassHierarchy::kNetAssets,
                               ClassHierarchy::kNetProfit}) {
        const ClassTree::Line* line = classes.Find(code);
        for (const StKAMOKUSUMINFO& total : totals) {
            if (total.ClassCode != code || line == nullptr) continue;
            const std::string name =
                capital && code == ClassHierarchy::kNetAssets ? Utf8Text::From(u8"資本") : line->name;
            char row[64];
            std::snprintf(row, sizeof row, "%22s", YearBalance(total).c_str());
            // The names are kanji, two columns wide each (three bytes in UTF-8).
            const std::size_t width = name.size() / 3 * 2;
            text += "  " + name + std::string(width < 10 ? 10 - width : 0, ' ') + row + "\n";
        }
    }
    return true;
}
