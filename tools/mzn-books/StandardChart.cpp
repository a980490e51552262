#include "tools/mzn-books/StandardChart.h"

#include <cstddef>

#include "tools/mzn-books/Diagnostics.h"

extern const unsigned char kStandardChartCsv[];
extern const std::size_t kStandardChartCsv_size;

std::string_view StandardChart::Text() {
    return std::string_view(reinterpret_cast<const char*>(kStandardChartCsv), kStandardChartCsv_size);
}

std::vector<AccountsFile::Row> StandardChart::Accounts() {
    Diagnostics diagnostics;
    std::vector<AccountsFile::Row> rows = AccountsFile::Parse(Text(), "standard-chart.csv", diagnostics);
    if (!diagnostics.Empty()) rows.clear();
    return rows;
}
