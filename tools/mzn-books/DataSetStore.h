#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tools/mzn-books/AccountsFile.h"
#include "tools/mzn-books/DataSetDefinition.h"

class BooksDatabase;

// The data sets of the books with their accounts and period sums: every
// statement on the tables data_sets, accounts and period_sums that the tool
// runs is here. Amounts are ten-thousandths of a yen.
class DataSetStore {
public:
    struct Sums {
        std::int64_t debit = 0;
        std::int64_t credit = 0;
        std::int64_t debitIncl = 0;
        std::int64_t creditIncl = 0;

        bool IsZero() const { return debit == 0 && credit == 0 && debitIncl == 0 && creditIncl == 0; }
    };
    // (stored account code, period) -> sums
    using PeriodSums = std::map<std::pair<std::int64_t, int>, Sums>;

    struct Summary {
        std::int64_t number = 0;
        std::string dataId;
        std::string name;  // UTF-8
        std::int32_t start = 0;
        std::int32_t end = 0;
        bool interim = false;
        int introMonth = 1;
        bool netAssets = true;
        bool taxIncluded = false;
        std::int64_t accounts = 0;
    };

    explicit DataSetStore(BooksDatabase& books) : books_(books) {}

    // Every data set by number.
    bool All(std::vector<Summary>& summaries);
    bool Exists(std::int64_t number, bool& exists);
    // The number of the data set with a data ID, 0 when there is none.
    bool NumberOf(const std::string& dataId, std::int64_t& number);
    // One above the highest number in use (1 for empty books).
    bool NextNumber(std::int64_t& number);

    // Writes a data set with its accounts and the sums that are not zero.
    bool Insert(std::int64_t number, const std::string& dataId, const DataSetDefinition& definition,
                const std::vector<AccountsFile::Row>& accounts, const PeriodSums& sums);
    // Removes a data set with its accounts and sums.
    bool Remove(std::int64_t number);

    const std::string& Error() const { return error_; }

private:
    bool InsertAccounts(std::int64_t number, const std::vector<AccountsFile::Row>& accounts);
    bool InsertSums(std::int64_t number, const PeriodSums& sums);
    bool Fail(const std::string& why);

    BooksDatabase& books_;
    std::string error_;
};
