#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "tools/mzn-books/AccountsFile.h"
#include "tools/mzn-books/BalancesFile.h"

class Diagnostics;

// An own numbering of accounts and the standard chart's numbers for it
// (`mzn-books import --code-map FILE`): CSV with two columns, the own code
// and the standard code, main accounts only; a header line is optional. The
// import renumbers the chart and the trial balance before anything else, so
// that the default mapping of the link program, which names the standard
// codes, applies to books kept under another numbering. Sub-accounts follow
// their main account; accounts the map does not name keep their code.
class CodeMap {
public:
    // The map of a file's text (UTF-8); problems go to diagnostics.
    static CodeMap Parse(std::string_view text, const std::string& fileName, Diagnostics& diagnostics);

    // Renumbers the accounts and the lines of the trial balance. Reports an
    // account that would take a code another account keeps.
    void Apply(std::vector<AccountsFile::Row>& accounts, const std::string& accountsFile,
               std::vector<BalancesFile::Row>& balances, Diagnostics& diagnostics) const;

    bool Empty() const { return codes_.empty(); }

private:
    struct Entry {
        std::int32_t standard = 0;
        std::size_t line = 0;
    };
    std::int32_t Renumbered(std::int32_t code) const;

    std::string fileName_;
    std::map<std::int32_t, Entry> codes_;  // own code -> standard code
};
