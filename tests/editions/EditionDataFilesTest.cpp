#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "accounting_core/StDATAINFO.h"
#include "accounting_core/StFINDINFO.h"
#include "accounting_core/StKAMOKUINFO.h"
#include "report/AccountKey.h"
#include "report/AccountLookup.h"
#include "report/AggregationEngine.h"
#include "report/MappingDefaults.h"
#include "report/PeriodSettings.h"
#include "settings/DefaultMappingFile.h"
#include "settings/ItemDefinitionFile.h"
#include "settings/MappingFileSection.h"
#include "tests/support/BooksQuery.h"
#include "tests/support/BooksTool.h"
#include "tests/support/CoreSession.h"
#include "tests/support/CurrentFolderGuard.h"
#include "tests/support/TempRoot.h"
#include "tests/support/TestFiles.h"

// The main accounts' balance below a hierarchy line (included) over the periods, on its side, by SQL on the books.
static std::int64_t BalanceBelow(std::uint32_t line, bool creditSide, const std::string& periods) {
    return BooksQuery::Number(
        "WITH RECURSIVE up(code, line) AS (SELECT class_code, class_code FROM class_lines UNION SELECT up.code, "
        "c.parent_code FROM up JOIN class_lines c ON c.class_code = up.line WHERE c.parent_code IS NOT NULL) "
        "SELECT coalesce(sum(" + std::string(creditSide ? "p.credit - p.debit" : "p.debit - p.credit") +
        "), 0) FROM period_sums p JOIN accounts a USING (data_set, account_id) JOIN up ON up.code = a.class_code "
        "JOIN data_sets d ON d.number = a.data_set WHERE d.data_id = 'DEMO01' AND a.code % 10000 = 0 AND up.line = " +
        std::to_string(line) + " AND p.period IN (" + periods + ")");
}

// The shipped data files, read by the real readers, on the demo books of mzn-books (the standard chart).
TEST(EditionDataFiles, ItemsAreNumberedOnceMapOnlyTotalsAndMainAccountsAndGiveTheStatementOfTheDemoBooks) {
    TempRoot root;
    ASSERT_EQ(BooksTool::Run({"demo"}, root / "io").exitCode, 0);
    CoreSession::End();
    ASSERT_EQ(ClAccConnect::Inst()->Initiate(), 0);
    CurrentFolderGuard folder;
    std::filesystem::current_path(MZN_EDITION_DATA_DIR);
    // The demo year (April to March): the opening, twelve months and the closing adjustments. Net assets hold the
    // year's profit (0x40000080) until the next year's opening.
    const std::string year = "0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 18";
    const std::map<int, std::int64_t> totals = {{1, BalanceBelow(0x40888000u, true, year)},
        {3, BalanceBelow(0x40884000u, false, year)}, {20, BalanceBelow(0x40200080u, true, year)},
        {21, BalanceBelow(0x80800000u, false, year)}, {31, BalanceBelow(0x80400000u, true, year)},
        {36, BalanceBelow(0x80200000u, true, year) + BalanceBelow(0x40000080u, true, year)}};
    for (const auto& [no, total] : totals) ASSERT_GT(total, 0) << "books with business in them, item " << no;
    StDATAINFO dataSet;
    auto* dataSets = static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kData, 1));
    ASSERT_EQ(dataSets->GetSelectedInfo(&dataSet), 0);
    StKAMOKUINFO none;  // an unknown code leaves the record as it was
    std::memset(&none, 0x5A, sizeof none);
    EXPECT_FALSE(AccountLookup::FindAccountByCode(9999, &none) || reinterpret_cast<char*>(&none)[0] != 0x5A);
    StFINDINFO criteria[PeriodSettings::kCriteriaEntries];
    PeriodSettings::BuildSumCriteria(criteria, dataSet, 4, 3);
    for (EditionId id : Edition::All()) {
        std::vector<std::string> items[2];  // side, caption, tag and class codes by item number, per version
        for (bool ug30 : {false, true}) {
            SCOPED_TRACE(std::string(Edition::Of(id).FilePrefix()) + (ug30 ? " UG30" : " UG16"));
            // Every line parses, and every token names a total or an account of the standard chart.
            ItemList read;
            MappingList defaults;
            ASSERT_TRUE(ItemDefinitionFile::LoadItemDefinitions(read, Edition::Of(id), ug30));
            ASSERT_TRUE(DefaultMappingFile::LoadDefaultMapping(defaults, Edition::Of(id), ug30));
            const std::string mapping = testfiles::ReadFile(DefaultMappingFile::FileName(Edition::Of(id), ug30));
            EXPECT_EQ(std::count(mapping.begin(), mapping.end(), ','), static_cast<std::ptrdiff_t>(defaults.size()));
            for (const auto& item : read) {
                EXPECT_EQ(item->ItemNo, static_cast<int>(items[ug30].size()) + 1);
                items[ug30].push_back(std::to_string(item->BalanceSide) + item->Caption + item->TagName +
                                      std::string(reinterpret_cast<const char*>(item->ClassCodes), 40));
            }
            EXPECT_EQ(items[ug30].size(), ug30 ? 44u : 43u) << "every number once";
            // A key is a main account in use or a known total; neither remainder total fits either version.
            for (const auto& entry : defaults) {
                StKAMOKUINFO account;
                const std::string key = entry->AccountKey;
                const bool mainAccount = AccountLookup::FindAccountByKey(key.c_str(), &account) > 0 &&
                                         AccountLookup::IsMainAccount(account);
                const bool total = AccountKey::IsTotalKey(key.c_str()) && key != "SOREIGAI" && key != "SONOTAFUSAI";
                EXPECT_NE(mainAccount, total) << key;
            }
            if (!ug30) continue;
            // The default mapping of the demo year gives the statement of the books.
            MappingList inForce;
            inForce.push_back(std::make_unique<MappedAccount>(MappedAccount{1, "SISAN"}));  // replaced
            ASSERT_TRUE(MappingDefaults::ResetMappingToDefault(inForce, defaults));
            AggregationEngine engine(nullptr, &inForce, &read, true);
            ASSERT_EQ(engine.Aggregate(false, criteria, &dataSet), 1);
            std::map<int, const ReportItem*> byNo;
            for (const auto& item : read) byNo[item->ItemNo] = item.get();
            for (const auto& [no, total] : totals) EXPECT_EQ(byNo[no]->Amounts[0], total) << no;
            EXPECT_EQ(byNo[21]->Amounts[0], byNo[31]->Amounts[0] + byNo[36]->Amounts[0]) << "assets = the others";
            // The monthly sales take every sales account: the last month holds the closing adjustments.
            EXPECT_EQ(byNo[37]->Amounts[12], BalanceBelow(0x40888000u, true, "12, 18"));
        }
        // UG30 splits UG16's item 18 in two: the items from 19 on are UG16's numbered one further.
        for (std::size_t n = 0; n < items[0].size(); ++n)
            EXPECT_TRUE(n == 17 || items[0][n] == items[1][n < 17 ? n : n + 1]) << n + 1;
        // The editions differ only in mapping item 2, the side business: the care edition's care revenues are main.
        for (bool ug30 : {false, true}) {
            const auto lines = [ug30](EditionId of, const char* kind) {
                std::string bytes = testfiles::ReadFile(MappingFileSection::DataFileName(Edition::Of(of), ug30, kind));
                const std::size_t item2 = bytes.find("\r\n2/") + 2;
                return kind[0] == 'D' ? bytes.erase(item2, bytes.find("\r\n", item2) - item2) : bytes;
            };
            EXPECT_EQ(lines(id, "GaiKmk") + lines(id, "DefKmk"),
                      lines(EditionId::Standard, "GaiKmk") + lines(EditionId::Standard, "DefKmk"));
        }
    }
    std::filesystem::current_path(root.Path());  // no data files here
    MappingList missing;
    EXPECT_FALSE(DefaultMappingFile::LoadDefaultMapping(missing, Edition::Of(EditionId::Standard), false));
    CoreSession::End();
}
