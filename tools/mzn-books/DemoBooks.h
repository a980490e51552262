#pragma once

#include <cstdint>
#include <string>
#include <vector>

class BooksDatabase;

// The demo books: data sets of invented companies on the standard chart,
// one for every case the link program meets.
//
//   DEMO01  株式会社さくら野ケアサービス  2023-04-01 to 2024-03-31  the main
//           set: care services and a shop, an April-March year ending after
//           2018-04-01; `--accounts N` gives it N accounts
//   DEMO02  the same company, 2017-04-01 to 2018-03-31 (a year ending 2018-03-31)
//   DEMO03  有限会社ひまわり商店, a January-December year, capital (資本) instead
//           of net assets
//   DEMO04  株式会社あおば物産, an interim closing with interim adjustments
//   DEMO05  株式会社こもれび介護, books kept with consumption tax included
//   DEMO06  合同会社かえで企画, first month of use at position 3
//   DEMO07  the main company, 2016-04-01 to 2017-03-31, past results only (99)
//
// Demo data sets are known by their data IDs. Making the demo again replaces
// them under the numbers they had, so that selections stay valid, and leaves
// every other data set alone.
class DemoBooks {
public:
    struct Made {
        std::int64_t number;
        std::string dataId;
        std::string name;  // UTF-8
        std::int32_t start;
        std::int32_t end;
    };

    explicit DemoBooks(BooksDatabase& books) : books_(books) {}

    // Accounts of the main set without extra ones (the standard chart), and
    // the most it can have.
    static int StandardAccounts();
    static int MaxAccounts();

    // Writes the demo data sets in the caller's transaction; accounts is the
    // size of the main set (0: the standard chart). False with Error().
    bool Create(int accounts);

    // The main data set, which `demo` selects.
    std::int64_t MainNumber() const { return made_.empty() ? 0 : made_.front().number; }
    const std::vector<Made>& MadeSets() const { return made_; }
    const std::string& Error() const { return error_; }

private:
    bool Fail(const std::string& why);

    BooksDatabase& books_;
    std::vector<Made> made_;
    std::string error_;
};
