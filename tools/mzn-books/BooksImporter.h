#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tools/mzn-books/AccountsFile.h"
#include "tools/mzn-books/BalancesFile.h"
#include "tools/mzn-books/DataSetDefinition.h"
#include "tools/mzn-books/DataSetStore.h"

class BooksDatabase;
class Diagnostics;

// Turns a chart of accounts and a trial balance into a new data set of the
// books, checking what needs the books or both files: class codes the
// hierarchy knows (a section name in place of a class code is the line of
// that name, or the line of the standard chart's account of that name),
// amounts only for accounts of the chart, none for heading accounts, none in
// months after the last month of the data set's year, interim amounts
// (period 15) only for a data set with an interim closing, sums that stay
// below 10^14 yen.
//
// Sums: several lines for one account and period add up. The amounts of a
// sub-account are part of its main account: the main account's sums are its
// own lines plus those of all its sub-accounts, so that a main account shows
// what the trial balance shows for it, and a total of the hierarchy counts
// main accounts only.
//
// Import works inside the caller's transaction and writes nothing unless
// every check passed.
class BooksImporter {
public:
    struct Input {
        std::string accountsFile;  // names for the messages
        std::vector<AccountsFile::Row> accounts;
        std::string balancesFile;
        std::vector<BalancesFile::Row> balances;
    };

    enum class Result { Written, BadInput, BooksFailed };

    explicit BooksImporter(BooksDatabase& books) : books_(books) {}

    // Writes the data set under number (0: the next free one) and dataId
    // (empty: "D" and the number in six digits). Problems with the input go
    // to diagnostics (BadInput), failures of the books to Error().
    Result Import(const DataSetDefinition& definition, const Input& input, std::int64_t number, std::string dataId,
                  Diagnostics& diagnostics);

    std::int64_t Number() const { return number_; }
    const std::string& Error() const { return error_; }

    // "D000012" for 12.
    static std::string DataIdFor(std::int64_t number);

private:
    struct ClassLines {
        std::vector<std::uint32_t> codes;                // sorted
        std::map<std::string, std::uint32_t> sections;  // accepted section names (UTF-8) -> class code
        std::vector<std::string> names;                 // the same, lines of the hierarchy first
    };
    bool LoadClassLines(ClassLines& lines);
    void ResolveClasses(const Input& input, const ClassLines& lines, std::vector<AccountsFile::Row>& accounts,
                        Diagnostics& diagnostics);
    void AddUp(const DataSetDefinition& definition, const Input& input, DataSetStore::PeriodSums& sums,
               Diagnostics& diagnostics);
    Result BooksFailed(const std::string& why);

    BooksDatabase& books_;
    std::int64_t number_ = 0;
    std::string error_;
};
