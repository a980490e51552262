#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <utility>
#include <vector>

#include "tools/mzn-books/BalancesFile.h"

// The journal of a demo company, kept as the monthly sums the books hold.
// Every entry is checked to balance twice: with amounts excluding
// consumption tax and with amounts including it (where the tax accounts
// carry nothing and the tax sits in the revenue, cost and asset accounts).
// So books built only through Post balance in every period, in both views.
class DemoLedger {
public:
    // One line of an entry, in whole yen on the stored account code:
    // positive amounts are debits, negative ones credits.
    struct Line {
        std::int64_t account;
        std::int64_t excl;
        std::int64_t incl;
    };

    // Posts an entry to a period (0 opening, 1-12, 15, 18). An entry that
    // does not balance in either view is not posted, and Faulty() tells.
    void Post(int period, std::initializer_list<Line> lines);
    void Post(int period, const std::vector<Line>& lines);

    // Debit minus credit of an account over all periods so far, tax
    // excluded, in yen.
    std::int64_t Balance(std::int64_t account) const;
    // The year's profit before tax as the closing statements show it:
    // credit minus debit of the profit-and-loss accounts (codes 4000 to
    // 7999) in the months and the closing adjustments, tax excluded, in yen.
    std::int64_t ProfitBeforeTax() const;

    bool Faulty() const { return faulty_; }

    // The sums as trial-balance lines, by account and period, amounts in
    // ten-thousandths of a yen.
    std::vector<BalancesFile::Row> Rows() const;

private:
    struct Sums {
        std::int64_t debit = 0;
        std::int64_t credit = 0;
        std::int64_t debitIncl = 0;
        std::int64_t creditIncl = 0;
    };

    template <typename Lines>
    void PostLines(int period, const Lines& lines);

    std::map<std::pair<std::int64_t, int>, Sums> sums_;  // (account, period)
    std::map<std::int64_t, std::int64_t> balances_;
    bool faulty_ = false;
};
