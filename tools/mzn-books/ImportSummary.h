#pragma once

#include <cstdint>
#include <string>

class BooksDatabase;

// What a data set holds after an import, as the books now give it to the
// link program: its accounts, the periods with amounts, and the year's
// assets, liabilities, net assets and profit (the summation's totals over
// every period, tax excluded), so that a user sees at once whether the
// import is what the package showed.
class ImportSummary {
public:
    // The lines of the summary; false with the reason in error.
    static bool Describe(BooksDatabase& books, std::int64_t number, std::string& text, std::string& error);
};
