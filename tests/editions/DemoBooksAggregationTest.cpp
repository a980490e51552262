// The shipped UG30 files at work on the demo books: the main demo set (an
// April-March year) aggregated over the whole year with each edition's item
// definitions and default mapping through the real aggregation, checked
// against sums taken from the books' period sums with plain SQL.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

#include "accounting_core/ClAccConnect.h"
#include "accounting_core/ClDataMgr.h"
#include "accounting_core/ClFileMgr.h"
#include "accounting_core/ClSetData.h"
#include "accounting_core/CoreResult.h"
#include "accounting_core/StDATAINFO.h"
#include "accounting_core/StFINDINFO.h"
#include "editions/Edition.h"
#include "report/AggregationEngine.h"
#include "report/MappingDefaults.h"
#include "report/PeriodSettings.h"
#include "report/TargetVersion.h"
#include "settings/DefaultMappingFile.h"
#include "settings/ItemDefinitionFile.h"
#include "tests/support/CoreSession.h"
#include "tests/support/CurrentFolderGuard.h"
#include "tests/support/TempRoot.h"
#include "tests/support/BooksTool.h"
#include "tests/support/BooksQuery.h"

namespace {

// The balance of the main accounts below a line of the class-code hierarchy
// (the line itself included) over the given periods, taken on the line's
// side: credit less debit for a credit line. Sub-accounts are part of their
// main account's sums already.
std::int64_t BalanceBelow(std::int64_t dataSet, std::uint32_t line, bool creditSide, const std::string& periods) {
    const std::string sql =
        "WITH RECURSIVE up(code, line) AS (SELECT class_code, class_code FROM class_lines "
        "UNION SELECT up.code, c.parent_code FROM up JOIN class_lines c ON c.class_code = up.line "
        "WHERE c.parent_code IS NOT NULL) "
        "SELECT coalesce(sum(" +
        std::string(creditSide ? "p.credit - p.debit" : "p.debit - p.credit") +
        "), 0) FROM period_sums p JOIN accounts a USING (data_set, account_id) "
        "JOIN up ON up.code = a.class_code WHERE up.line = " +
        std::to_string(line) + " AND a.code % 10000 = 0 AND a.data_set = " + std::to_string(dataSet) +
        " AND p.period IN (" + periods + ")";
    return BooksQuery::Number(sql);
}

// The whole year: the opening amounts, the twelve months and the closing
// adjustments (the demo set has no interim closing).
const std::string kWholeYear = "0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 18";

class DemoBooksAggregationTest : public ::testing::Test {
protected:
    void SetUp() override {
        const ChildProcess::Result made = BooksTool::Run({"demo"}, root_ / "io");
        ASSERT_EQ(made.exitCode, 0) << made.err;
        CoreSession::End();
        ASSERT_EQ(ClAccConnect::Inst()->Initiate(), core_result::kOk);
        dataSet_ = BooksQuery::Number("SELECT number FROM data_sets WHERE data_id = 'DEMO01'");
    }
    void TearDown() override {
        CoreSession::End();
    }

    // The amounts of every item after one aggregation of the selected data
    // set from April to March with the edition's files, as the run does it:
    // the default mapping becomes the mapping in force.
    std::map<int, ReportItem> Aggregate(EditionId edition) {
        std::map<int, ReportItem> amounts;
        StDATAINFO dataSet;
        auto* dataSets = static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kData, 1));
        EXPECT_EQ(dataSets->GetSelectedInfo(&dataSet), core_result::kOk);
        const bool ug30 = TargetVersion::IsUg30(dataSet.PeriodEnd);
        EXPECT_TRUE(ug30);

        ItemList items;
        MappingList defaults;
        MappingList mapping;
        {
            CurrentFolderGuard folder;
            std::filesystem::current_path(MZN_EDITION_DATA_DIR);
            EXPECT_TRUE(DefaultMappingFile::LoadDefaultMapping(defaults, Edition::Of(edition), ug30));
            EXPECT_TRUE(ItemDefinitionFile::LoadItemDefinitions(items, Edition::Of(edition), ug30));
        }
        EXPECT_TRUE(MappingDefaults::ResetMappingToDefault(mapping, defaults));

        StFINDINFO criteria[PeriodSettings::kCriteriaEntries];
        PeriodSettings::BuildSumCriteria(criteria, dataSet, 4, 3);
        AggregationEngine engine(nullptr, &mapping, &items, ug30);
        EXPECT_EQ(engine.Aggregate(false, criteria, &dataSet), 1);
        for (const auto& item : items) amounts[item->ItemNo] = *item;
        return amounts;
    }

    TempRoot root_;
    std::int64_t dataSet_ = 0;
};

}  // namespace

TEST_F(DemoBooksAggregationTest, TheDefaultMappingGivesTheStatementOfTheBooks) {
    const std::int64_t sales = BalanceBelow(dataSet_, 0x40888000u, true, kWholeYear);
    const std::int64_t costOfSales = BalanceBelow(dataSet_, 0x40884000u, false, kWholeYear);
    const std::int64_t beforeTax = BalanceBelow(dataSet_, 0x40200080u, true, kWholeYear);
    const std::int64_t assets = BalanceBelow(dataSet_, 0x80800000u, false, kWholeYear);
    const std::int64_t liabilities = BalanceBelow(dataSet_, 0x80400000u, true, kWholeYear);
    // Net assets hold the year's profit after tax until the next year's
    // opening balances move it into retained earnings.
    const std::int64_t netAssets = BalanceBelow(dataSet_, 0x80200000u, true, kWholeYear) +
                                   BalanceBelow(dataSet_, 0x40000080u, true, kWholeYear);
    // Books with business in them, or the comparisons would prove little.
    ASSERT_GT(sales, 0);
    ASSERT_GT(costOfSales, 0);
    ASSERT_NE(beforeTax, 0);
    ASSERT_GT(assets, 0);
    ASSERT_GT(liabilities, 0);
    ASSERT_GT(netAssets, 0);

    // Month k of the fiscal year; the opening amounts go to the first month
    // and the closing adjustments to the last.
    std::int64_t monthlySales[13] = {};
    std::int64_t yearOfMonths = 0;
    for (int month = 1; month <= 12; ++month) {
        std::string periods = std::to_string(month);
        if (month == 1) periods += ", 0";
        if (month == 12) periods += ", 18";
        monthlySales[month] = BalanceBelow(dataSet_, 0x40888000u, true, periods);
        yearOfMonths += monthlySales[month];
    }
    ASSERT_EQ(yearOfMonths, sales);

    for (EditionId edition : Edition::All()) {
        SCOPED_TRACE(Edition::Of(edition).FilePrefix());
        std::map<int, ReportItem> items = Aggregate(edition);
        ASSERT_EQ(items.size(), 44u);
        EXPECT_EQ(items[1].Amounts[0], sales);
        EXPECT_EQ(items[3].Amounts[0], costOfSales);
        EXPECT_EQ(items[20].Amounts[0], beforeTax);
        EXPECT_EQ(items[21].Amounts[0], assets);
        EXPECT_EQ(items[31].Amounts[0], liabilities);
        EXPECT_EQ(items[36].Amounts[0], netAssets);
        EXPECT_EQ(items[21].Amounts[0], items[31].Amounts[0] + items[36].Amounts[0]);
        // The monthly sales take every sales account of the chart, the care
        // revenues included, so they add up to the year's sales.
        for (int month = 1; month <= 12; ++month) EXPECT_EQ(items[37].Amounts[month], monthlySales[month]) << month;
    }
}
