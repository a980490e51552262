#pragma once

#include <string>
#include <vector>

#include "tools/mzn-books/AccountsFile.h"
#include "tools/mzn-books/BalancesFile.h"

class Diagnostics;

// What an import takes but warns about, because a trial balance that shows
// it is most likely not what the books hold:
// - a period whose debits and credits differ (the difference is named);
// - a main account whose own lines, in every period, come to what its
//   sub-accounts' lines come to: a package's parent line repeating its
//   sub-accounts' total, which the books would count twice (a main account
//   holds its own lines plus its sub-accounts').
class ImportChecks {
public:
    static void Warn(const std::vector<AccountsFile::Row>& accounts, const std::vector<BalancesFile::Row>& balances,
                     const std::string& balancesFile, Diagnostics& warnings);

private:
    static void WarnUnbalancedPeriods(const std::vector<BalancesFile::Row>& balances, const std::string& balancesFile,
                                      Diagnostics& warnings);
    static void WarnRepeatedTotals(const std::vector<AccountsFile::Row>& accounts,
                                   const std::vector<BalancesFile::Row>& balances, const std::string& balancesFile,
                                   Diagnostics& warnings);
};
