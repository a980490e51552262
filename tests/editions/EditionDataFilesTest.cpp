// The data files as the build ships them beside the programs, read by the real readers on the demo books of the
// real mzn-books, whose chart is the standard chart.
#include <gtest/gtest.h>

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
#include "tests/support/BooksQuery.h"
#include "tests/support/BooksTool.h"
#include "tests/support/CoreSession.h"
#include "tests/support/CurrentFolderGuard.h"
#include "tests/support/TempRoot.h"
#include "tests/support/TestFiles.h"

namespace {

// An item of the files: side, caption, tag, class codes, and the keys of its default mapping.
using Item = std::tuple<int, std::string, std::string, std::vector<std::uint32_t>, std::vector<std::string>>;

// The items by number; every token of the mapping file names a total or an account of the standard chart.
std::map<int, Item> Load(EditionId id, bool ug30) {
    ItemList items;
    MappingList defaults;
    EXPECT_TRUE(ItemDefinitionFile::LoadItemDefinitions(items, Edition::Of(id), ug30));
    EXPECT_TRUE(DefaultMappingFile::LoadDefaultMapping(defaults, Edition::Of(id), ug30));
    const std::string file = testfiles::ReadFile(DefaultMappingFile::FileName(Edition::Of(id), ug30));
    EXPECT_EQ(std::count(file.begin(), file.end(), ','), static_cast<std::ptrdiff_t>(defaults.size()));
    std::map<int, Item> read;
    for (const auto& i : items)
        read[i->ItemNo] = Item{i->BalanceSide, i->Caption, i->TagName, {i->ClassCodes, i->ClassCodes + 10}, {}};
    for (const auto& entry : defaults) std::get<4>(read[entry->ItemNo]).push_back(entry->AccountKey);
    return read;
}

// Sums by one SQL query over the demo books: the main accounts below a line of the hierarchy (the line included)
// over the periods, on the line's side.
std::int64_t BalanceBelow(std::uint32_t line, bool creditSide, const std::string& periods) {
    return BooksQuery::Number(
        "WITH RECURSIVE up(code, line) AS (SELECT class_code, class_code FROM class_lines UNION SELECT up.code, "
        "c.parent_code FROM up JOIN class_lines c ON c.class_code = up.line WHERE c.parent_code IS NOT NULL) "
        "SELECT coalesce(sum(" + std::string(creditSide ? "p.credit - p.debit" : "p.debit - p.credit") +
        "), 0) FROM period_sums p JOIN accounts a USING (data_set, account_id) JOIN up ON up.code = a.class_code "
        "JOIN data_sets d ON d.number = a.data_set WHERE d.data_id = 'DEMO01' AND a.code % 10000 = 0 AND up.line = " +
        std::to_string(line) + " AND p.period IN (" + periods + ")");
}

}  // namespace

TEST(EditionDataFiles, ItemsAreNumberedOnceMapOnlyTotalsAndMainAccountsAndGiveTheStatementOfTheDemoBooks) {
    TempRoot root;
    ASSERT_EQ(BooksTool::Run({"demo"}, root / "io").exitCode, 0);
    CoreSession::End();
    ASSERT_EQ(ClAccConnect::Inst()->Initiate(), 0);
    CurrentFolderGuard folder;
    std::filesystem::current_path(MZN_EDITION_DATA_DIR);
    std::map<std::pair<EditionId, bool>, std::map<int, Item>> files;
    for (EditionId id : Edition::All()) {
        for (bool ug30 : {false, true}) {
            SCOPED_TRACE(std::string(Edition::Of(id).FilePrefix()) + (ug30 ? " UG30" : " UG16"));
            const std::map<int, Item>& items = files[{id, ug30}] = Load(id, ug30);
            // Each number once, from 1 to the version's last item.
            ASSERT_EQ(items.size(), ug30 ? 44u : 43u);
            EXPECT_TRUE(items.begin()->first == 1 && items.rbegin()->first == (ug30 ? 44 : 43));
            // Neither range of the remainder totals fits the items of either version.
            for (const auto& [no, item] : items) {
                for (const std::string& key : std::get<4>(item)) {
                    StKAMOKUINFO account;
                    const bool mainAccount = AccountLookup::FindAccountByKey(key.c_str(), &account) > 0 &&
                                             AccountLookup::IsMainAccount(account);
                    EXPECT_TRUE(mainAccount || (AccountKey::IsTotalKey(key.c_str()) && key != "SOREIGAI" &&
                                                key != "SONOTAFUSAI")) << no << key;
                }
            }
        }
        // UG30 splits UG16's item 18 in two: the items from 19 on are UG16's numbered one further.
        for (int no = 1; no <= 43; ++no)
            EXPECT_TRUE(no == 18 || (files[{id, false}][no] == files[{id, true}][no < 18 ? no : no + 1])) << no;
    }
    // The editions differ in item 2 alone, the side business: the care-facility edition counts its care revenues
    // as its main business.
    for (auto [key, items] : files) {
        std::map<int, Item> standard = files[{EditionId::Standard, key.second}];
        EXPECT_EQ(items[2] == standard[2], key.first != EditionId::CareFacility);
        items.erase(2);
        standard.erase(2);
        EXPECT_EQ(items, standard);
    }

    // The demo year runs from April to March without an interim closing: the opening, twelve months and the
    // closing adjustments. Net assets hold the year's profit (0x40000080) until the next year's opening.
    const std::string year = "0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 18";
    const std::map<int, std::int64_t> totals = {{1, BalanceBelow(0x40888000u, true, year)},
             {3, BalanceBelow(0x40884000u, false, year)},
        {20, BalanceBelow(0x40200080u, true, year)}, {21, BalanceBelow(0x80800000u, false, year)},
        {31, BalanceBelow(0x80400000u, true, year)},
        {36, BalanceBelow(0x80200000u, true, year) + BalanceBelow(0x40000080u, true, year)}};
    for (const auto& [no, total] : totals) ASSERT_GT(total, 0) << "books with business in them, item " << no;
    StDATAINFO dataSet;
    auto* dataSets = static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kData, 1));
    ASSERT_EQ(dataSets->GetSelectedInfo(&dataSet), 0);
    StFINDINFO criteria[PeriodSettings::kCriteriaEntries];
    PeriodSettings::BuildSumCriteria(criteria, dataSet, 4, 3);
    for (EditionId id : Edition::All()) {
        ItemList items;
        MappingList defaults, mapping;
        mapping.push_back(std::make_unique<MappedAccount>(MappedAccount{1, "SISAN"}));  // replaced by the defaults
        ASSERT_TRUE(ItemDefinitionFile::LoadItemDefinitions(items, Edition::Of(id), true) &&
                    DefaultMappingFile::LoadDefaultMapping(defaults, Edition::Of(id), true) &&
                    MappingDefaults::ResetMappingToDefault(mapping, defaults));
        AggregationEngine engine(nullptr, &mapping, &items, true);
        ASSERT_EQ(engine.Aggregate(false, criteria, &dataSet), 1);
        std::map<int, const ReportItem*> byNo;
        for (const auto& item : items) byNo[item->ItemNo] = item.get();
        for (const auto& [no, total] : totals) EXPECT_EQ(byNo[no]->Amounts[0], total) << no;
        EXPECT_EQ(byNo[21]->Amounts[0], byNo[31]->Amounts[0] + byNo[36]->Amounts[0]) << "assets = the others";
        // The monthly sales take every sales account, the opening in the first month and the closing in the last.
        for (int k = 1; k <= 12; ++k) {
            const std::string periods = std::to_string(k) + (k == 1 ? ", 0" : k == 12 ? ", 18" : "");
            EXPECT_EQ(byNo[37]->Amounts[k], BalanceBelow(0x40888000u, true, periods)) << k;
        }
    }
    CoreSession::End();
}
