#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// What a new data set of the books is: its name (the company's name as the
// reports print it) and its fiscal period and settings, as `import` takes
// them from its options and `demo` from its companies.
struct DataSetDefinition {
    static constexpr std::size_t kMaxNameBytes = 259;  // in code page 932
    static constexpr int kPastResults = 99;            // introduction month of data of past results

    std::string name;          // UTF-8
    std::int32_t start = 0;    // first day of the fiscal period, yyyymmdd
    std::int32_t end = 0;      // last day
    bool interim = false;      // the data set has an interim closing
    int introMonth = 1;        // position of the first month of use, or kPastResults
    bool netAssets = true;     // the balance sheet says net assets (純資産), not capital (資本)
    bool taxIncluded = false;  // the books are kept with consumption tax included

    // Why the data set cannot be kept (empty when it can): a name without
    // a code page 932 form or longer than kMaxNameBytes there, days that do
    // not exist, a period that ends before it starts or lasts longer than a
    // year, an introduction month other than 1 to 12 or 99.
    std::string Problem() const;

    // The months of the fiscal year, from the month of start to the month of
    // end: 12 for a whole year, fewer for a short one.
    int Months() const;
};
