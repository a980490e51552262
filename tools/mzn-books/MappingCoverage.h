#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "tools/mzn-books/AccountsFile.h"

// How much of the standard chart that the link programs' default mappings
// name (the *_DefKmk.dat files beside the programs) a chart of accounts has.
// Books kept under an own numbering miss most of them, and the link program
// then fills its items from the statement totals and leaves the rest empty
// until the user chooses accounts.
class MappingCoverage {
public:
    // The standard chart's main accounts that the default-mapping files in
    // folder name, as codes users see.
    static std::set<std::int32_t> NamedStandardCodes(const std::string& folder);

    // The hint to print when more than half of named are missing from
    // accounts (main accounts by code); empty otherwise.
    static std::string Hint(const std::set<std::int32_t>& named, const std::vector<AccountsFile::Row>& accounts);

    // The folder of the running program.
    static std::string ProgramFolder();
};
