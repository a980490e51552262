#pragma once

#include <string_view>
#include <vector>

#include "tools/mzn-books/AccountsFile.h"

// The standard chart of accounts of a small Japanese company, with the
// revenue accounts of the care-facility edition: data/standard-chart.csv,
// built into the program. It is in the import format, so a copy of the file
// is also a starting point for books of one's own.
class StandardChart {
public:
    // The file's text (UTF-8 CSV).
    static std::string_view Text();
    // Its accounts in file order; empty only if the built-in file were bad,
    // which the tests rule out.
    static std::vector<AccountsFile::Row> Accounts();
};
