#include "tools/mzn-books/DemoLedger.h"

namespace {

constexpr std::int64_t kTenThousandths = 10000;

}  // namespace

void DemoLedger::Post(int period, std::initializer_list<Line> lines) {
    PostLines(period, lines);
}

void DemoLedger::Post(int period, const std::vector<Line>& lines) {
    PostLines(period, lines);
}

template <typename Lines>
void DemoLedger::PostLines(int period, const Lines& lines) {
    std::int64_t excl = 0;
    std::int64_t incl = 0;
    for (const Line& line : lines) {
        excl += line.excl;
        incl += line.incl;
    }
    if (excl != 0 || incl != 0 || !BalancesFile::IsPeriod(period)) {
        faulty_ = true;
        return;
    }
    for (const Line& line : lines) {
        Sums& sums = sums_[{line.account, period}];
        if (line.excl >= 0)
            sums.debit += line.excl;
        else
            sums.credit -= line.excl;
        if (line.incl >= 0)
            sums.debitIncl += line.incl;
        else
            sums.creditIncl -= line.incl;
        balances_[line.account] += line.excl;
    }
}

std::int64_t DemoLedger::Balance(std::int64_t account) const {
    auto found = balances_.find(account);
    return found != balances_.end() ? found->second : 0;
}

std::int64_t DemoLedger::ProfitBeforeTax() const {
    std::int64_t profit = 0;
    for (const auto& [key, sums] : sums_) {
        const std::int64_t code = key.first / 10000;
        if (code < 4000 || code >= 8000 || key.second == 0 || key.second == 15) continue;
        profit += sums.credit - sums.debit;
    }
    return profit;
}

std::vector<BalancesFile::Row> DemoLedger::Rows() const {
    std::vector<BalancesFile::Row> rows;
    rows.reserve(sums_.size());
    for (const auto& [key, sums] : sums_) {
        BalancesFile::Row row;
        row.code = static_cast<std::int32_t>(key.first / 10000);
        row.sub = static_cast<std::int32_t>(key.first % 10000);
        row.period = key.second;
        row.debit = sums.debit * kTenThousandths;
        row.credit = sums.credit * kTenThousandths;
        row.debitIncl = sums.debitIncl * kTenThousandths;
        row.creditIncl = sums.creditIncl * kTenThousandths;
        rows.push_back(row);
    }
    return rows;
}
