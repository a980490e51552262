#pragma once

#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

#include "tools/mzn-books/AccountsFile.h"
#include "tools/mzn-books/BalancesFile.h"
#include "tools/mzn-books/DataSetDefinition.h"
#include "tools/mzn-books/DemoLedger.h"

// One fiscal year of an invented company on the standard chart: opening
// balances, twelve months of sales, care-service revenue, purchases, wages
// and overheads with their seasons, payments a month or two later, a sale
// and a disposal of fixed assets, interim adjustments (period 15) where the
// data set has an interim closing, and the closing adjustments (period 18):
// depreciation, stock, provisions, accruals, the consumption-tax settlement
// and corporate tax. Amounts vary from month to month by a generator with a
// fixed seed, so the same profile always gives the same books. Consumption
// tax follows the rates of the day: 8 % before October 2019, then 10 % with
// 8 % for food and newspapers; care-insurance revenue is exempt.
class DemoCompany {
public:
    struct Profile {
        const char* dataId;
        std::u8string_view name;
        std::int32_t start;
        std::int32_t end;
        bool interim = false;
        int introMonth = 1;
        bool netAssets = true;
        bool taxIncluded = false;
        int scale = 100;    // size in percent of the reference company
        bool care = false;  // runs care services
        bool shop = false;  // sells goods
        std::uint64_t seed = 1;
    };

    // extraAccounts: customer sub-accounts (1220 売掛金 and 4110 商品売上高,
    // "得意先0001", ...) and then supplier sub-accounts (2120 買掛金 and 5210
    // 商品仕入高, "仕入先0003", ...) added to the chart, each with twelve
    // months of business, to make large books.
    DemoCompany(const Profile& profile, const std::vector<AccountsFile::Row>& chart, int extraAccounts = 0);

    // The largest number of extra accounts there are sub-account numbers
    // for beside those of the chart.
    static int MaxExtraAccounts(const std::vector<AccountsFile::Row>& chart);

    // Writes the year into the ledger. False when an entry did not balance,
    // which would be a fault of this class.
    bool Build();

    DataSetDefinition Definition() const;
    const std::vector<AccountsFile::Row>& Accounts() const { return accounts_; }
    std::vector<BalancesFile::Row> Balances() const { return ledger_.Rows(); }

private:
    struct Partner {
        std::int64_t ledgerAccount;    // the customer's receivable or the supplier's payable
        std::int64_t businessAccount;  // its sales or purchases account
        std::int64_t due = 0;          // what is paid next month
    };

    void AddPartners(int extraAccounts);
    // A partner as sub-account sub of two main accounts of the chart; false
    // when the chart lacks one of them.
    bool AddPartner(const std::vector<AccountsFile::Row>& chart, int mainLedger, int mainBusiness, int sub,
                    std::u8string_view prefix);

    void Opening();
    void Month(int period);
    void ShopMonth(int period);
    void CareMonth(int period);
    void Payroll(int period);
    void Overheads(int period);
    void Financing(int period);
    void OneOffs(int period);
    void PartnersMonth(int period);
    void PaySuppliers(int period);
    void TopUpCash(int period);
    void Interim();
    void Closing();
    void CloseStock();
    void CloseProvisions();
    void CloseConsumptionTax();
    void CloseCorporateTax();

    // Entries
    void Transfer(int period, std::int64_t debit, std::int64_t credit, std::int64_t yen);
    std::int64_t TaxedSale(int period, std::int64_t receivable, std::int64_t revenue, std::int64_t net, int rate);
    std::int64_t TaxedCost(int period, std::int64_t cost, std::int64_t payable, std::int64_t net, int rate);
    void Utilities(int period, std::int64_t net, int rate);

    // Figures
    int CalendarMonth(int period) const;
    int DaysIn(int period) const;
    int TaxRate(int period, bool reduced) const;
    int FirstMonth() const;
    int At(int period) const;
    std::int64_t Scaled(std::int64_t yen) const;
    std::int64_t Vary(std::int64_t yen, int percent);
    std::uint64_t NextRandom();

    std::int64_t ShopNet() const;
    std::int64_t CareFeesPerDay() const;
    std::int64_t MonthlyWages() const;
    std::int64_t LastYearsCorporateTax() const;

    Profile profile_;
    std::vector<AccountsFile::Row> accounts_;
    std::vector<Partner> partners_;
    DemoLedger ledger_;
    std::uint64_t random_;

    // What falls due next month (or, for care insurance, two months on).
    std::int64_t dueCreditSales_ = 0;
    std::int64_t dueUserCharges_ = 0;
    std::map<std::int64_t, std::int64_t> duePayables_;
    std::map<int, std::int64_t> careClaims_;  // period -> claimed to the insurance federation
    std::int64_t dueWithholding_ = 0;
    std::int64_t dueResidentTax_ = 0;
    std::int64_t dueSocialInsurance_ = 0;
    std::int64_t dueAccrued_ = 0;
    std::int64_t openingCash_ = 0;
    std::int64_t taxableSales_ = 0;  // net, for the deductible share of tax paid
    std::int64_t exemptSales_ = 0;
};
