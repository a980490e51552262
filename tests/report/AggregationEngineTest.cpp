#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "accounting_core/ClAccConnect.h"
#include "accounting_core/ClDataMgr.h"
#include "accounting_core/CoreResult.h"
#include "accounting_core/StDATAINFO.h"
#include "accounting_core/StFINDINFO.h"
#include "report/AccountKey.h"
#include "report/AggregationEngine.h"
#include "report/PeriodSettings.h"
#include "report/ProgressSink.h"
#include "report/TargetVersion.h"
#include "tests/support/BooksFixture.h"
#include "tests/support/CoreSession.h"

namespace {

using Reason = AggregationEngine::Reason;

constexpr int kDebit = 1;
constexpr int kCredit = 2;
// A class of no line of the hierarchy: its accounts feed no total.
constexpr std::uint32_t kPlainClass = 0x10000001u;

// The progress calls in order, runs of pulses counted.
class RecordingProgress : public ProgressSink {
public:
    void AdvanceProgress(std::int16_t from, std::int16_t to) override {
        Flush();
        calls_.push_back(std::to_string(from) + "-" + std::to_string(to));
    }
    void PulseActivity() override { ++pulses_; }
    std::vector<std::string> Calls() {
        Flush();
        return calls_;
    }

private:
    void Flush() {
        if (pulses_ > 0) calls_.push_back("pulse x" + std::to_string(pulses_));
        pulses_ = 0;
    }
    std::vector<std::string> calls_;
    int pulses_ = 0;
};

struct Sum {
    int period;
    std::int64_t debit;
    std::int64_t credit;
};

class AggregationEngineTest : public BooksFixture {
protected:
    void TearDown() override {
        engine_.reset();
        BooksFixture::TearDown();
    }

    // Data set 1, selected by the books' current user.
    void Books(int start, int end, int interim = 0, int introMonth = 1) {
        AddDataSet(1, "D0001", u8"株式会社テスト", start, end, interim, introMonth);
        SetCurrentUser(u8"tester");
        SelectFor(u8"tester", 0, 1);
    }

    // Tax-included sums are the tax-excluded ones plus a tenth.
    void Account(int seed, int code, int side, std::uint32_t classCode, const std::vector<Sum>& sums,
                 const char8_t* name = u8"科目") {
        AddAccount(1, seed, code, name, classCode, side);
        for (const Sum& sum : sums)
            AddSums(1, seed, sum.period, sum.debit, sum.credit, sum.debit + sum.debit / 10,
                    sum.credit + sum.credit / 10);
    }

    // The statement lines of the totals: assets, liabilities, capital, and
    // sales, cost of sales, gross profit, operating profit and profit
    // before tax, with one plain class below assets and liabilities.
    void StatementLines() {
        AddClassLine(0x80800000u, 0, u8"資産の部合計", kDebit, true, 10);
        AddClassLine(0x80810000u, 0x80800000u, u8"流動資産", kDebit, false, 11);
        AddClassLine(0x80400000u, 0, u8"負債の部合計", kCredit, true, 20);
        AddClassLine(0x80410000u, 0x80400000u, u8"流動負債", kCredit, false, 21);
        AddClassLine(0x80200000u, 0, u8"純資産の部合計", kCredit, true, 30);
        AddClassLine(0x40200080u, 0, u8"税引前当期純利益", kCredit, true, 70);
        AddClassLine(0x40880000u, 0x40200080u, u8"営業利益", kCredit, true, 60);
        AddClassLine(0x40880008u, 0x40880000u, u8"売上総利益", kCredit, true, 50);
        AddClassLine(0x40888000u, 0x40880008u, u8"売上高", kCredit, true, 40);
        AddClassLine(0x40884000u, 0x40880008u, u8"売上原価", kDebit, true, 45);
    }

    ReportItem* Item(int itemNo, int side) {
        auto item = std::make_unique<ReportItem>();
        item->ItemNo = static_cast<std::int16_t>(itemNo);
        item->BalanceSide = static_cast<std::int16_t>(side);
        items_.push_back(std::move(item));
        return items_.back().get();
    }

    // A credit-side main item 1 and monthly item 37 (UG30), both fed by
    // account 1.
    std::pair<ReportItem*, ReportItem*> CreditItemsOfAccountOne() {
        ReportItem* main = Item(1, kCredit);
        ReportItem* monthly = Item(37, kCredit);
        Map(1, 1);
        Map(37, 1);
        return {main, monthly};
    }

    static std::string KeyOf(int seed) {
        char key[MappedAccount::kKeySize];
        AccountKey::Text(AccountId(seed).data(), key);
        return key;
    }

    void Map(int itemNo, const std::string& key) {
        auto entry = std::make_unique<MappedAccount>();
        entry->ItemNo = static_cast<std::int16_t>(itemNo);
        // A key of 35 bytes fills the field without a terminator, as a
        // record may hold it.
        std::memcpy(entry->AccountKey, key.data(), std::min(key.size(), sizeof entry->AccountKey));
        mapping_.push_back(std::move(entry));
    }
    void Map(int itemNo, int seed) { Map(itemNo, KeyOf(seed)); }

    void ClearAmounts() {
        for (auto& item : items_) std::memset(item->Amounts, 0, sizeof item->Amounts);
    }

    // One aggregation of the selected data set from StartMonth to EndMonth,
    // with the criteria the run builds.
    int Run(int startMonth, int endMonth, bool taxIncluded = false, ProgressSink* progress = nullptr,
            std::optional<bool> ug30 = std::nullopt) {
        if (!connected_) {
            EXPECT_EQ(Connect(), core_result::kOk);
            connected_ = true;
        }
        StDATAINFO dataSet;
        auto* dataSets = static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kData, 1));
        EXPECT_EQ(dataSets->GetSelectedInfo(&dataSet), core_result::kOk);
        StFINDINFO criteria[PeriodSettings::kCriteriaEntries];
        PeriodSettings::BuildSumCriteria(criteria, dataSet, startMonth, endMonth);
        engine_ = std::make_unique<AggregationEngine>(progress, &mapping_, &items_,
                                                      ug30.value_or(TargetVersion::IsUg30(dataSet.PeriodEnd)));
        return engine_->Aggregate(taxIncluded, criteria, &dataSet);
    }

    // Reconnects so that the faults now in the books take effect.
    void Reconnect() {
        engine_.reset();
        CoreSession::End();
        connected_ = false;
    }

    ItemList items_;
    MappingList mapping_;
    std::unique_ptr<AggregationEngine> engine_;
    bool connected_ = false;
};

std::vector<Sum> EveryMonth(std::int64_t debit, std::int64_t credit) {
    std::vector<Sum> sums;
    for (int month = 1; month <= 12; ++month) sums.push_back({month, debit, credit});
    return sums;
}

}  // namespace

TEST_F(AggregationEngineTest, WorkedExampleOfACreditAccountOverTheWholeYear) {
    Books(20180101, 20181231);
    std::vector<Sum> sums = EveryMonth(0, 10);
    sums.push_back({0, 0, 50});
    sums.push_back({18, 0, 20});
    Account(1, 5110000, kCredit, kPlainClass, sums);
    auto [main, monthly] = CreditItemsOfAccountOne();

    ASSERT_EQ(Run(1, 12), 1);
    EXPECT_EQ(main->Amounts[0], 190);
    EXPECT_EQ(monthly->Amounts[0], 0);
    EXPECT_EQ(monthly->Amounts[1], 60);
    for (int month = 2; month <= 11; ++month) EXPECT_EQ(monthly->Amounts[month], 10) << month;
    EXPECT_EQ(monthly->Amounts[12], 30);
    EXPECT_EQ(engine_->LastFailure().reason, Reason::kNone);
    EXPECT_FALSE(engine_->HoldsRule());
}

TEST_F(AggregationEngineTest, UnequalSidesSubtractTheBalance) {
    Books(20180101, 20181231);
    Account(1, 1110000, kDebit, kPlainClass, {{1, 100, 0}, {2, 0, 30}});
    Account(2, 5110000, kCredit, kPlainClass, {{1, 0, 40}});
    ReportItem* creditItem = Item(1, kCredit);
    ReportItem* debitItem = Item(2, kDebit);
    ReportItem* creditMonths = Item(37, kCredit);
    ReportItem* debitMonths = Item(38, kDebit);
    Map(1, 1);
    Map(2, 1);
    Map(2, 2);
    Map(37, 1);
    Map(38, 1);

    ASSERT_EQ(Run(1, 12), 1);
    EXPECT_EQ(creditItem->Amounts[0], -70);
    EXPECT_EQ(debitItem->Amounts[0], 70 - 40);
    EXPECT_EQ(creditMonths->Amounts[1], -100);
    EXPECT_EQ(creditMonths->Amounts[2], 30);
    EXPECT_EQ(debitMonths->Amounts[1], 100);
    EXPECT_EQ(debitMonths->Amounts[2], -30);
}

TEST_F(AggregationEngineTest, EveryMatchingEntryAndItemReceivesTheFullBalance) {
    Books(20180101, 20181231);
    Account(1, 1110000, kDebit, kPlainClass, {{0, 20, 0}, {3, 5, 0}});
    ReportItem* first = Item(1, kDebit);
    ReportItem* second = Item(2, kDebit);
    ReportItem* twice = Item(3, kDebit);
    ReportItem* sameNumberA = Item(4, kDebit);
    ReportItem* sameNumberB = Item(4, kDebit);
    ReportItem* unmatched = Item(5, kDebit);
    Map(2, 1);
    Map(1, 1);
    Map(3, 1);
    Map(3, 1);
    Map(4, 1);
    // Keys compare whole and byte by byte.
    std::string upper = KeyOf(1);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    Map(5, upper);
    Map(5, KeyOf(1).substr(0, 33));
    Map(6, 1);  // an item the list does not hold

    ASSERT_EQ(Run(1, 12), 1);
    EXPECT_EQ(first->Amounts[0], 25);
    EXPECT_EQ(second->Amounts[0], 25);
    EXPECT_EQ(twice->Amounts[0], 50);
    EXPECT_EQ(sameNumberA->Amounts[0], 25);
    EXPECT_EQ(sameNumberB->Amounts[0], 25);
    EXPECT_EQ(unmatched->Amounts[0], 0);
}

TEST_F(AggregationEngineTest, RangeBeforeTheLastMonthLeavesOutLaterMonthsAndTheClosingAdjustments) {
    Books(20180101, 20181231);
    std::vector<Sum> sums;
    for (int month = 1; month <= 12; ++month) sums.push_back({month, 0, month});
    sums.push_back({0, 0, 50});
    sums.push_back({18, 0, 100});
    Account(1, 5110000, kCredit, kPlainClass, sums);
    auto [main, monthly] = CreditItemsOfAccountOne();

    ASSERT_EQ(Run(1, 6), 1);
    EXPECT_EQ(main->Amounts[0], 50 + 21);
    EXPECT_EQ(monthly->Amounts[1], 51);
    for (int month = 2; month <= 6; ++month) EXPECT_EQ(monthly->Amounts[month], month);
    for (int month = 7; month <= 12; ++month) EXPECT_EQ(monthly->Amounts[month], 0);
}

TEST_F(AggregationEngineTest, InterimClosingUpToPositionSixAddsItsAdjustmentsToMonthSix) {
    Books(20180101, 20181231, 1);
    std::vector<Sum> sums = EveryMonth(0, 10);
    sums.push_back({0, 0, 50});
    sums.push_back({15, 0, 7});
    sums.push_back({18, 0, 100});
    Account(1, 5110000, kCredit, kPlainClass, sums);
    auto [main, monthly] = CreditItemsOfAccountOne();

    ASSERT_EQ(Run(1, 6), 1);
    EXPECT_EQ(main->Amounts[0], 50 + 60 + 7);
    EXPECT_EQ(monthly->Amounts[1], 60);
    for (int month = 2; month <= 5; ++month) EXPECT_EQ(monthly->Amounts[month], 10);
    EXPECT_EQ(monthly->Amounts[6], 17);
    for (int month = 7; month <= 12; ++month) EXPECT_EQ(monthly->Amounts[month], 0);
}

TEST_F(AggregationEngineTest, SixMonthYearWithInterimClosingCountsBothAdjustments) {
    // Position 6 is the year's last month: the criteria hold both periods,
    // and both adjustments go into the balance and into month 6.
    Books(20180401, 20180930, 1);
    std::vector<Sum> sums = EveryMonth(0, 10);
    sums.push_back({0, 0, 50});
    sums.push_back({15, 0, 7});
    sums.push_back({18, 0, 100});
    Account(1, 5110000, kCredit, kPlainClass, sums);
    auto [main, monthly] = CreditItemsOfAccountOne();

    ASSERT_EQ(Run(4, 9), 1);
    EXPECT_EQ(main->Amounts[0], 50 + 60 + 7 + 100);
    EXPECT_EQ(monthly->Amounts[1], 60);
    EXPECT_EQ(monthly->Amounts[6], 117);
    for (int month = 7; month <= 12; ++month) EXPECT_EQ(monthly->Amounts[month], 0);
}

TEST_F(AggregationEngineTest, OpeningAmountsGoToTheIntroductionMonthWhateverTheStart) {
    Books(20180101, 20181231, 0, 3);
    Account(1, 5110000, kCredit, kPlainClass, {{0, 0, 50}, {3, 0, 5}, {4, 0, 7}, {18, 0, 1}});
    auto [main, monthly] = CreditItemsOfAccountOne();

    // From April on: the opening balance holds slots 0 to 3.
    ASSERT_EQ(Run(4, 12), 1);
    EXPECT_EQ(main->Amounts[0], 55 + 7 + 1);
    EXPECT_EQ(monthly->Amounts[1], 0);
    EXPECT_EQ(monthly->Amounts[3], 55);
    EXPECT_EQ(monthly->Amounts[4], 7);
    EXPECT_EQ(monthly->Amounts[12], 1);
}

TEST_F(AggregationEngineTest, IntroductionMonthZeroTakesTheOpeningIntoMonthOne) {
    Books(20180101, 20181231, 0, 0);
    Account(1, 5110000, kCredit, kPlainClass, {{0, 0, 50}, {1, 0, 5}});
    ReportItem* monthly = Item(37, kCredit);
    Map(37, 1);

    ASSERT_EQ(Run(1, 12), 1);
    EXPECT_EQ(monthly->Amounts[1], 55);
}

TEST_F(AggregationEngineTest, IntroductionAfterTheRangeLeavesTheOpeningOut) {
    Books(20180101, 20181231, 0, 9);
    Account(1, 5110000, kCredit, kPlainClass, {{0, 0, 50}, {1, 0, 10}, {6, 0, 3}});
    auto [main, monthly] = CreditItemsOfAccountOne();

    ASSERT_EQ(Run(1, 6), 1);
    EXPECT_EQ(main->Amounts[0], 13);
    EXPECT_EQ(monthly->Amounts[1], 10);
    EXPECT_EQ(monthly->Amounts[6], 3);
    EXPECT_EQ(monthly->Amounts[9], 0);
}

TEST_F(AggregationEngineTest, TaxIncludedSumsAreTakenWhenAsked) {
    Books(20180101, 20181231);
    Account(1, 5110000, kCredit, kPlainClass, {{1, 0, 1000}, {2, 0, 500}});
    auto [main, monthly] = CreditItemsOfAccountOne();

    ASSERT_EQ(Run(1, 12, false), 1);
    EXPECT_EQ(main->Amounts[0], 1500);
    EXPECT_EQ(monthly->Amounts[2], 500);
    ClearAmounts();
    ASSERT_EQ(Run(1, 12, true), 1);
    EXPECT_EQ(main->Amounts[0], 1650);
    EXPECT_EQ(monthly->Amounts[2], 550);
}

TEST_F(AggregationEngineTest, MonthlyItemsBeginAtTheVersionsBase) {
    Books(20180101, 20181231);
    Account(1, 5110000, kCredit, kPlainClass, {{1, 0, 10}, {2, 0, 20}});
    ReportItem* item36 = Item(36, kCredit);
    Map(36, 1);

    ASSERT_EQ(Run(1, 12, false, nullptr, false), 1);
    EXPECT_EQ(item36->Amounts[0], 0);
    EXPECT_EQ(item36->Amounts[1], 10);
    EXPECT_EQ(item36->Amounts[2], 20);
    ClearAmounts();
    ASSERT_EQ(Run(1, 12, false, nullptr, true), 1);
    EXPECT_EQ(item36->Amounts[0], 30);
    EXPECT_EQ(item36->Amounts[1], 0);
}

TEST_F(AggregationEngineTest, TotalKeysTakeTheStatementLinesAndOverrideAccounts) {
    Books(20180101, 20181231);
    StatementLines();
    Account(1, 1110000, kDebit, 0x80810000u, {{0, 500, 0}, {1, 1000, 0}, {2, 0, 400}});
    Account(2, 1350000, kDebit, 0x80810000u, {{3, 200, 0}});
    Account(3, 3110000, kCredit, 0x80410000u, {{0, 0, 300}, {4, 100, 0}});
    Account(4, 4110000, kCredit, 0x80200000u, {{0, 0, 200}});
    Account(5, 5110000, kCredit, 0x40888000u, {{1, 0, 1000}});
    Account(6, 6110000, kDebit, 0x40884000u, {{2, 400, 0}});
    const char* keys[] = {"URIAGEDAKA", "URIAGEGENKA", "URIAGESOURIEKI", "EIGYOUSONEKI", "TOKUBETURIEKI",
                          "ZEIBIKIMAE", "SISAN",      "FUSAI",          "SIHON"};
    const std::int64_t expected[] = {1000, 400, 600, 600, 0, 600, 1300, 200, 200};
    std::vector<ReportItem*> items;
    for (int n = 0; n < 9; ++n) {
        items.push_back(Item(n + 1, kCredit));
        items.back()->Amounts[0] = 99;
    }
    // Accounts mapped to total items, before and after their TotalKey.
    Map(1, 6);
    for (int n = 0; n < 9; ++n) Map(n + 1, keys[n]);
    Map(7, 1);

    ASSERT_EQ(Run(1, 12), 1);
    for (int n = 0; n < 9; ++n) EXPECT_EQ(items[static_cast<std::size_t>(n)]->Amounts[0], expected[n]) << keys[n];
}

TEST_F(AggregationEngineTest, RemaindersLeaveOutTheItemsListedBeforeThem) {
    Books(20180101, 20181231);
    StatementLines();
    Account(1, 1110000, kDebit, 0x80810000u, {{0, 500, 0}, {1, 600, 0}});
    Account(2, 1350000, kDebit, 0x80810000u, {{3, 200, 0}});
    Account(7, 1400000, kDebit, 0x80810000u, {{1, 50, 0}});
    Account(3, 3110000, kCredit, 0x80410000u, {{0, 0, 300}, {4, 100, 0}});
    Account(8, 3200000, kCredit, 0x80410000u, {{1, 0, 70}});
    ReportItem* allAssets = Item(10, kDebit);
    Item(18, kDebit);
    Item(19, kDebit);
    Item(25, kDebit);
    ReportItem* otherAssets = Item(30, kDebit);
    Item(26, kCredit);
    Item(29, kCredit);
    Item(24, kDebit);
    ReportItem* otherLiabilities = Item(31, kCredit);
    Map(10, "SOREIGAI");
    Map(18, 1);
    Map(19, 2);
    Map(25, 1);
    Map(30, "SOREIGAI");
    Map(26, 3);
    Map(29, 3);
    Map(31, "SONOTAFUSAI");
    Map(24, 7);  // listed after the remainder: not left out

    ASSERT_EQ(Run(1, 12), 1);
    // Assets: 1100 + 200 + 50; liabilities: 200 + 70.
    EXPECT_EQ(allAssets->Amounts[0], 1350);
    EXPECT_EQ(otherAssets->Amounts[0], 1350 - 1100 - 200);
    EXPECT_EQ(otherLiabilities->Amounts[0], 270 - 200 - 200);
}

TEST_F(AggregationEngineTest, GuardedTotalsComeOnlyFromStatementLinesAndLaterLinesWin) {
    Books(20180101, 20181231);
    // No hierarchy: the records carrying these class codes are accounts,
    // whose byte 127 is 0. Profit before tax is taken unguarded, from the
    // later of its two records.
    Account(1, 1110000, kDebit, 0x80800000u, {{1, 100, 0}});
    Account(2, 8000000, kCredit, 0x40200080u, {{1, 0, 10}});
    Account(3, 8100000, kCredit, 0x40200080u, {{1, 0, 20}});
    ReportItem* assets = Item(1, kDebit);
    ReportItem* beforeTax = Item(2, kCredit);
    Map(1, "SISAN");
    Map(2, "ZEIBIKIMAE");

    ASSERT_EQ(Run(1, 12), 1);
    EXPECT_EQ(assets->Amounts[0], 0);
    EXPECT_EQ(beforeTax->Amounts[0], 20);
}

TEST_F(AggregationEngineTest, TotalsGoToTheFirstItemOfTheirNumberUpToTheMonthlyItems) {
    Books(20180101, 20181231);
    Account(1, 8000000, kCredit, 0x40200080u, {{1, 0, 10}});
    ReportItem* first = Item(5, kCredit);
    ReportItem* second = Item(5, kCredit);
    ReportItem* base = Item(37, kCredit);
    ReportItem* beyond = Item(38, kCredit);
    ReportItem* afterBeyond = Item(6, kCredit);
    for (int itemNo : {5, 37, 38, 6}) Map(itemNo, "ZEIBIKIMAE");

    ASSERT_EQ(Run(1, 12), 1);
    EXPECT_EQ(first->Amounts[0], 10);
    EXPECT_EQ(second->Amounts[0], 0);
    EXPECT_EQ(base->Amounts[0], 10);
    EXPECT_EQ(beyond->Amounts[0], 0);
    EXPECT_EQ(afterBeyond->Amounts[0], 0);
}

TEST_F(AggregationEngineTest, EmptyDataSetSucceedsWithZeroTotals) {
    Books(20180101, 20181231);
    ReportItem* sales = Item(1, kCredit);
    ReportItem* otherAssets = Item(2, kDebit);
    sales->Amounts[0] = 5;
    otherAssets->Amounts[0] = 5;
    Map(1, "URIAGEDAKA");
    Map(2, "SOREIGAI");

    ASSERT_EQ(Run(1, 12), 1);
    EXPECT_EQ(sales->Amounts[0], 0);
    EXPECT_EQ(otherAssets->Amounts[0], 0);
}

TEST_F(AggregationEngineTest, FailuresOfTheCoreStopTheRunWhereTheyHappen) {
    Books(20180101, 20181231);
    StatementLines();
    Account(1, 1110000, kDebit, 0x80810000u, {{1, 100, 0}});
    Account(2, 1350000, kDebit, 0x80810000u, {{1, 40, 0}});
    ReportItem* cash = Item(1, kDebit);
    ReportItem* receivable = Item(2, kDebit);
    ReportItem* assets = Item(3, kDebit);
    Map(1, 1);
    Map(2, 2);
    Map(3, "SISAN");

    struct Case {
        const char* call;
        int after;
        Reason reason;
        int coreResult;
        std::int64_t cash;
        bool holdsRule;
        std::vector<std::string> progress;
    };
    // The walk pulses 1 + 13 times for each record and 3 more times for each
    // account: the first account and the failing MoveNext make 18.
    const Case cases[] = {
        {"ClRuleKamoku::Create", 0, Reason::kRuleNotCreated, 0, 0, false, {"0-100"}},
        {"GetSumCount", 0, Reason::kSumCountFailed, 8, 0, true, {"0-100", "100-200"}},
        {"MoveReady", 0, Reason::kSumCountFailed, core_result::kNotReady, 0, true, {"0-100", "100-200"}},
        {"SetMovePos", 0, Reason::kMovePosFailed, 8, 0, true, {"0-100", "100-200", "200-300"}},
        {"MoveNext", 1, Reason::kMoveNextFailed, 8, 100, true, {"0-100", "100-200", "200-300", "pulse x18"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        Sql("DELETE FROM faults");
        AddFault(c.call, 8, c.after);
        Reconnect();
        ClearAmounts();
        assets->Amounts[0] = 7;
        RecordingProgress progress;
        EXPECT_EQ(Run(1, 12, false, &progress), 0);
        EXPECT_EQ(engine_->LastFailure().reason, c.reason);
        EXPECT_EQ(engine_->LastFailure().coreResult, c.coreResult);
        EXPECT_EQ(engine_->HoldsRule(), c.holdsRule);
        EXPECT_EQ(cash->Amounts[0], c.cash);
        EXPECT_EQ(receivable->Amounts[0], 0);
        EXPECT_EQ(assets->Amounts[0], 7);
        EXPECT_EQ(progress.Calls(), c.progress);
    }
}

TEST_F(AggregationEngineTest, BalancesReachingTenToTheFourteenthYenStopTheRun) {
    Books(20180101, 20181231);
    constexpr std::int64_t kHalf = 500'000'000'000'000'000;  // 5 * 10^17 raw
    Account(1, 1110000, kCredit, kPlainClass, {{1, 0, 30}});
    Account(2, 2110000, kCredit, kPlainClass, {{0, 0, kHalf}, {1, 0, kHalf - 1}}, u8"大口");
    ReportItem* small = Item(1, kCredit);
    ReportItem* large = Item(2, kCredit);
    ReportItem* total = Item(3, kCredit);
    Map(1, 1);
    Map(2, 2);
    Map(3, "ZEIBIKIMAE");
    total->Amounts[0] = 7;

    ASSERT_EQ(Run(1, 12), 1);
    EXPECT_EQ(large->Amounts[0], 2 * kHalf - 1);

    Sql("UPDATE period_sums SET credit = " + std::to_string(kHalf) + " WHERE period = 1 AND credit > 30");
    ClearAmounts();
    total->Amounts[0] = 7;
    EXPECT_EQ(Run(1, 12), 0);
    const AggregationEngine::Failure& failure = engine_->LastFailure();
    EXPECT_EQ(failure.reason, Reason::kOverflow);
    EXPECT_EQ(failure.accountCode, 2110000);
    EXPECT_EQ(failure.accountName, "大口");
    EXPECT_EQ(small->Amounts[0], 30);
    EXPECT_EQ(large->Amounts[0], 0);
    EXPECT_EQ(total->Amounts[0], 7);
    EXPECT_TRUE(engine_->HoldsRule());
}

TEST_F(AggregationEngineTest, ItemSumsLeavingTheRawRangeStopTheRun) {
    Books(20180101, 20181231);
    constexpr std::int64_t kLarge = 900'000'000'000'000'000;  // each balance is below the limit
    for (int seed = 1; seed <= 11; ++seed) {
        Account(seed, seed * 10000, kCredit, kPlainClass, {{1, 0, kLarge}});
        Map(1, seed);
    }
    ReportItem* item = Item(1, kCredit);

    EXPECT_EQ(Run(1, 12), 0);
    EXPECT_EQ(engine_->LastFailure().reason, Reason::kOverflow);
    EXPECT_EQ(engine_->LastFailure().accountCode, 110000);
    EXPECT_EQ(item->Amounts[0], 10 * kLarge);
}

TEST_F(AggregationEngineTest, ProgressIsCalledInItsOrderAndCount) {
    Books(20180101, 20181231);
    AddClassLine(0x80800000u, 0, u8"資産の部合計", kDebit, true, 10);
    Account(1, 1110000, kDebit, 0x80800000u, {{1, 100, 0}});
    Account(2, 1350000, kDebit, 0x80800000u, {{1, 40, 0}});
    Item(1, kDebit);
    Item(2, kDebit);
    Item(3, kDebit);
    Item(37, kDebit);
    Map(1, 1);
    Map(2, 2);
    Map(3, "SISAN");

    // Whole year: K = 14, P = 1. Three records of 1 + 13 pulses, the two
    // accounts 3 more each; the totals pass examines three entries and
    // visits items 1 to 3 to set the total.
    RecordingProgress wholeYear;
    ASSERT_EQ(Run(1, 12, false, &wholeYear), 1);
    EXPECT_EQ(wholeYear.Calls(), (std::vector<std::string>{"0-100", "100-200", "200-300", "pulse x48", "300-400",
                                                           "pulse x6", "400-500"}));

    // March to June: K = 7, P = 3: 1 + 4 pulses per record.
    ClearAmounts();
    RecordingProgress spring;
    ASSERT_EQ(Run(3, 6, false, &spring), 1);
    EXPECT_EQ(spring.Calls(), (std::vector<std::string>{"0-100", "100-200", "200-300", "pulse x21", "300-400",
                                                        "pulse x6", "400-500"}));
}

TEST_F(AggregationEngineTest, PositionsOutsideTheYearAreRefusedBeforeAnythingIsRead) {
    Books(20180101, 20181231);
    Account(1, 5110000, kCredit, kPlainClass, {{1, 0, 10}});
    ReportItem* item = Item(1, kCredit);
    Map(1, 1);
    ASSERT_EQ(Connect(), core_result::kOk);
    StDATAINFO dataSet;
    auto* dataSets = static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kData, 1));
    ASSERT_EQ(dataSets->GetSelectedInfo(&dataSet), core_result::kOk);

    // An end position of 13 would read past the fifteen slots of a record.
    StFINDINFO criteria[PeriodSettings::kCriteriaEntries];
    PeriodSettings::BuildSumCriteria(criteria, dataSet, 1, 12);
    const std::int16_t beyond = 13;
    std::memcpy(reinterpret_cast<unsigned char*>(&criteria[1]) + 18, &beyond, sizeof beyond);
    RecordingProgress progress;
    AggregationEngine engine(&progress, &mapping_, &items_, true);
    EXPECT_EQ(engine.Aggregate(false, criteria, &dataSet), 0);
    EXPECT_EQ(engine.LastFailure().reason, Reason::kBadArguments);
    EXPECT_EQ(engine.Aggregate(false, nullptr, &dataSet), 0);
    EXPECT_EQ(engine.Aggregate(false, criteria, nullptr), 0);
    EXPECT_FALSE(engine.HoldsRule());
    EXPECT_TRUE(progress.Calls().empty());
    EXPECT_EQ(item->Amounts[0], 0);
}
