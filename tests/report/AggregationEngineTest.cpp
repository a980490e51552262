#include "report/AggregationEngine.h"

#include <gtest/gtest.h>

#include "accounting_core/CoreResult.h"
#include "accounting_core/StDATAINFO.h"
#include "accounting_core/StFINDINFO.h"
#include "report/AccountKey.h"
#include "report/PeriodSettings.h"
#include "report/ProgressSink.h"
#include "report/TargetVersion.h"
#include "tests/support/BooksFixture.h"
#include "tests/support/CoreSession.h"

namespace {

using Reason = AggregationEngine::Reason;
using Amounts = std::array<std::int64_t, ReportItem::kAmountSlots>;
constexpr int kDebit = 1, kCredit = 2;  // balance sides
constexpr std::uint32_t kPlain = 0x10000001u;            // a class of no line of the hierarchy
constexpr std::int64_t kHalf = 500'000'000'000'000'000;  // raw ten-thousandths of a yen: half of 10^14 yen

struct Sum { int period; std::int64_t debit, credit; };
// An account coded seed * 10000; its tax-included sums are the others plus a tenth.
struct Account { int seed, side; std::uint32_t classCode; std::vector<Sum> sums; };
// An item (side 0: in the mapping only), the keys mapped to it ("#n": account n), its amounts after and before.
struct Item { int no, side; std::vector<std::string> keys; Amounts after; std::int64_t before = 0; };
struct Row {
    const char* name;
    std::vector<Account> accounts = {};
    std::vector<Item> items = {};
    int from = 1, to = 12;                                         // the run's calendar months
    int start = 20180101, end = 20181231, interim = 0, intro = 1;  // the data set
    bool lines = false, taxIncluded = false;                       // the statement lines are in the books
    const char* fault = "";  // a call of the core failing with faultResult after faultAfter good calls
    int faultResult = 8, faultAfter = 0, result = 1, coreResult = 0;
    Reason reason = Reason::kNone;
    bool holdsRule = false;
    std::size_t advances = 5;  // how many of 0-100, 100-200, ... 400-500 were made
    std::int32_t failedCode = 0;
    std::string failedName = {};
    std::array<std::int16_t, 2> positions = {-2, -2};  // the start and end positions written into the criteria
};

std::vector<Sum> Monthly(std::int64_t base, std::int64_t step, std::vector<Sum> more) {
    for (int month = 1; month <= 12; ++month) more.push_back({month, 0, base + step * month});
    return more;
}

struct Advances : ProgressSink {
    void AdvanceProgress(std::int16_t from, std::int16_t to) override { made.push_back({from, to}); }
    void PulseActivity() override {}
    std::vector<std::pair<int, int>> made;
};

class AggregationEngineTest : public BooksFixture {
protected:
    // Fresh books for the row, then one aggregation of its data set with the criteria the run builds.
    void Run(const Row& row) {
        for (const char* table : {"faults", "period_sums", "accounts", "class_lines", "data_sets"})
            Sql(std::string("DELETE FROM ") + table);
        CoreSession::End();
        AddDataSet(1, "D0001", u8"株式会社テスト", row.start, row.end, row.interim, row.intro);
        SetCurrentUser(u8"tester");
        SelectFor(u8"tester", 0, 1);
        // {code, parent, side, statement total}: assets and liabilities with a plain line below each, capital,
        // and profit before tax above operating profit, gross profit, sales and cost of sales.
        const std::array<std::uint32_t, 4> lines[] = {
            {0x80800000u, 0, 1, 1}, {0x80810000u, 0x80800000u, 1, 0}, {0x80400000u, 0, 2, 1},
            {0x80410000u, 0x80400000u, 2, 0}, {0x80200000u, 0, 2, 1}, {0x40200080u, 0, 2, 1},
            {0x40880000u, 0x40200080u, 2, 1}, {0x40880008u, 0x40880000u, 2, 1}, {0x40888000u, 0x40880008u, 2, 1},
            {0x40884000u, 0x40880008u, 1, 1}};
        for (int n = 0; row.lines && n < 10; ++n)
            AddClassLine(lines[n][0], lines[n][1], u8"線", static_cast<int>(lines[n][2]), lines[n][3] == 1, n);
        for (const Account& a : row.accounts) {
            AddAccount(1, a.seed, a.seed * 10000, u8"科目", a.classCode, a.side);
            for (const Sum& s : a.sums)
                AddSums(1, a.seed, s.period, s.debit, s.credit, s.debit + s.debit / 10, s.credit + s.credit / 10);
        }
        if (*row.fault != '\0') AddFault(row.fault, row.faultResult, row.faultAfter);
        ASSERT_EQ(Connect(), core_result::kOk);
        ItemList items;
        MappingList mapping;
        for (const Item& wanted : row.items) {
            if (wanted.side != 0) items.push_back(std::make_unique<ReportItem>(ReportItem{
                                    .ItemNo = std::int16_t(wanted.no), .BalanceSide = std::int16_t(wanted.side),
                                    .Amounts = {wanted.before}}));
            for (const std::string& key : wanted.keys) {
                mapping.push_back(std::make_unique<MappedAccount>(MappedAccount{.ItemNo = std::int16_t(wanted.no)}));
                char* text = mapping.back()->AccountKey;
                if (key[0] == '#') AccountKey::Text(AccountId(std::stoi(key.substr(1))).data(), text);
                else std::strcpy(text, key.c_str());
            }
        }
        StDATAINFO dataSet;
        auto* dataSets = static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kData, 1));
        ASSERT_EQ(dataSets->GetSelectedInfo(&dataSet), 0);
        StFINDINFO criteria[PeriodSettings::kCriteriaEntries];
        PeriodSettings::BuildSumCriteria(criteria, dataSet, row.from, row.to);
        for (int n = 0; n < 2 && row.positions[0] != -2; ++n)
            std::memcpy(reinterpret_cast<unsigned char*>(&criteria[n]) + 18, &row.positions[n], 2);
        Advances progress;
        AggregationEngine engine(&progress, &mapping, &items, TargetVersion::IsUg30(dataSet.PeriodEnd));
        EXPECT_EQ(engine.Aggregate(row.taxIncluded, criteria, &dataSet), row.result);
        const AggregationEngine::Failure& failure = engine.LastFailure();
        EXPECT_EQ(std::tie(failure.reason, failure.coreResult, failure.accountCode, failure.accountName),
                  std::tie(row.reason, row.coreResult, row.failedCode, row.failedName));
        EXPECT_EQ(engine.HoldsRule(), row.holdsRule);
        const std::vector<std::pair<int, int>> stages = {{0, 100}, {100, 200}, {200, 300}, {300, 400}, {400, 500}};
        EXPECT_EQ(progress.made, decltype(progress.made)(stages.begin(), stages.begin() + row.advances));
        EXPECT_EQ(engine.Aggregate(false, nullptr, &dataSet) + engine.Aggregate(false, criteria, nullptr), 0);
        auto item = items.begin();
        for (const Item& wanted : row.items) {
            if (wanted.side == 0) continue;
            EXPECT_EQ(std::to_array((*item++)->Amounts), wanted.after) << "item " << wanted.no;
        }
    }
};

// Debit accounts of 100 and 40 for items 1 and 2 and the assets total (7 before) for item 3, while a call fails.
Row Failing(const char* name, const char* call, int result, int after, Reason reason, int coreResult,
            std::int64_t cash, bool holdsRule, std::size_t advances) {
    return {.name = name, .accounts = {{1, kDebit, kPlain, {{1, 100, 0}}}, {2, kDebit, kPlain, {{1, 40, 0}}}},
            .items = {{1, kDebit, {"#1"}, {cash}}, {2, kDebit, {"#2"}, {0}}, {3, kDebit, {"SISAN"}, {7}, 7}},
            .fault = call, .faultResult = result, .faultAfter = after, .result = 0, .coreResult = coreResult,
            .reason = reason, .holdsRule = holdsRule, .advances = advances};
}

}  // namespace

TEST_F(AggregationEngineTest, BalancesFeedTheirItemsAndTotalsAsEachRowSays) {
    // Accounts carrying the class codes of the ten statement totals (docs/class-codes.md), and a second profit.
    Row guarded{.name = "totals come only from statement lines, profit before tax from any record, the later winning"};
    const std::pair<const char*, std::uint32_t> totals[] = {
        {"URIAGEDAKA", 0x40888000u},   {"URIAGEGENKA", 0x40884000u},   {"URIAGESOURIEKI", 0x40880008u},
        {"EIGYOUSONEKI", 0x40880000u}, {"TOKUBETURIEKI", 0x40480000u}, {"TOKUBETUSONSITU", 0x40440000u},
        {"ZEIBIKIMAE", 0x40200080u},   {"SIHON", 0x80200000u},         {"SISAN", 0x80800000u}, {"FUSAI", 0x80400000u},
        {"SOREIGAI", kPlain},          {"SONOTAFUSAI", kPlain},        {"ZEIBIKIMAE", 0x40200080u}};
    for (int n = 0; n < 13; ++n) {
        guarded.accounts.push_back({n + 1, kCredit, totals[n].second, {{1, 0, 10 + n}}});
        if (n < 12) guarded.items.push_back({n + 1, kCredit, {totals[n].first}, {n == 6 ? 22 : 0}, 7});
    }
    const std::vector<Sum> adjusted = Monthly(10, 0, {{0, 0, 50}, {15, 0, 7}, {18, 0, 100}});
    const std::vector<Sum> introduced = {{0, 0, 50}, {1, 0, 10}, {6, 0, 3}};
    const Row rows[] = {
        {.name = "a credit account's year: the opening into month 1, the closing adjustments into month 12",
         .accounts = {{1, kCredit, kPlain, Monthly(5000, 0, {{0, 0, 50}, {18, 0, 20}})}},
         .items = {{1, kCredit, {"#1"}, {60070}}, {36, kCredit, {"#1"}, {60070}},
                   {37, kCredit, {"#1"}, {0, 5050, 5000, 5000, 5000, 5000, 5000, 5000, 5000, 5000, 5000, 5000, 5020}}}},
        {.name = "a balance adds on its side, subtracts on the other, for every entry and item that match",
         .accounts = {{1, kDebit, kPlain, {{0, 20, 0}, {1, 10000, 0}, {2, 0, 30}}},
                      {2, kCredit, kPlain, {{1, 0, 9995}}}, {3, kCredit, kPlain, {{1, 0, 9990}}}},
         .items = {{1, kCredit, {"#1"}, {-9990}}, {2, kDebit, {"#1", "#2"}, {-5}}, {3, kDebit, {"#1", "#1"}, {19980}},
                   {5, kDebit, {"#1", "#3"}, {0}}, {4, kDebit, {"#1"}, {9990}}, {4, kDebit, {}, {9990}},
                   {6, 0, {"#1"}, {}}, {37, kCredit, {"#1"}, {0, -10020, 30}}, {38, kDebit, {"#1"}, {0, 10020, -30}}}},
        {.name = "a range ending before the last month leaves out later months and the closing adjustments",
         .accounts = {{1, kCredit, kPlain, Monthly(0, 1, {{0, 0, 50}, {18, 0, 100}})}},
         .items = {{1, kCredit, {"#1"}, {71}}, {37, kCredit, {"#1"}, {0, 51, 2, 3, 4, 5, 6}}}, .to = 6},
        {.name = "an interim closing up to position 6 adds its adjustments into the balance and month 6, tax included",
         .accounts = {{1, kCredit, kPlain, adjusted}}, .items = {{1, kCredit, {"#1"}, {128}},
         {37, kCredit, {"#1"}, {0, 66, 11, 11, 11, 11, 18}}}, .to = 6, .interim = 1, .taxIncluded = true},
        {.name = "a six-month year with an interim closing counts both adjustments into the balance and month 6",
         .accounts = {{1, kCredit, kPlain, adjusted}}, .items = {{1, kCredit, {"#1"}, {217}},
         {37, kCredit, {"#1"}, {0, 60, 10, 10, 10, 10, 117}}}, .from = 4, .to = 9, .start = 20180401, .end = 20180930,
         .interim = 1},
        {.name = "the opening goes to the month of introduction whatever the start",
         .accounts = {{1, kCredit, kPlain, {{0, 0, 50}, {3, 0, 5}, {4, 0, 7}, {18, 0, 1}}}},
         .items = {{1, kCredit, {"#1"}, {63}}, {37, kCredit, {"#1"}, {0, 0, 0, 55, 7, 0, 0, 0, 0, 0, 0, 0, 1}}},
         .from = 4, .intro = 3},
        {.name = "an introduction in the last month keeps the opening", .accounts = {{1, kCredit, kPlain, introduced}},
         .items = {{1, kCredit, {"#1"}, {63}}, {37, kCredit, {"#1"}, {0, 10, 0, 0, 0, 0, 53}}}, .to = 6, .intro = 6},
        {.name = "an introduction after the range drops the opening", .accounts = {{1, kCredit, kPlain, introduced}},
         .items = {{1, kCredit, {"#1"}, {13}}, {37, kCredit, {"#1"}, {0, 10, 0, 0, 0, 0, 3}}}, .to = 6, .intro = 9},
        {.name = "introduction month 0 takes the opening into month 1", .accounts = {{1, kCredit, kPlain, introduced}},
         .items = {{37, kCredit, {"#1"}, {0, 60, 0, 0, 0, 0, 3}}}, .intro = 0},
        {.name = "total keys take the statement lines and override accounts mapped to their items",
         .accounts = {{1, kDebit, 0x80810000u, {{0, 500, 0}, {1, 1000, 0}, {2, 0, 400}}},
                      {2, kDebit, 0x80810000u, {{3, 200, 0}}}, {3, kCredit, 0x80410000u, {{0, 0, 300}, {4, 100, 0}}},
                      {4, kCredit, 0x80200000u, {{0, 0, 200}}}, {5, kCredit, 0x40888000u, {{1, 0, 1000}}},
                      {6, kDebit, 0x40884000u, {{2, 400, 0}}}},
         .items = {{1, kCredit, {"#6", "URIAGEDAKA"}, {1000}, 99}, {2, kCredit, {"URIAGEGENKA"}, {400}, 99},
                   {3, kCredit, {"URIAGESOURIEKI"}, {600}, 99}, {4, kCredit, {"EIGYOUSONEKI"}, {600}, 99},
                   {5, kCredit, {"TOKUBETURIEKI"}, {0}, 99}, {6, kCredit, {"ZEIBIKIMAE"}, {600}, 99},
                   {7, kCredit, {"SISAN", "#1"}, {1300}, 99}, {8, kCredit, {"FUSAI"}, {200}, 99},
                   {9, kCredit, {"SIHON"}, {200}, 99}}, .lines = true},
        guarded,
        {.name = "a total goes to the first item of its number, up to the first monthly item",
         .accounts = {{1, kCredit, 0x40200080u, {{1, 0, 10}}}},
         .items = {{5, kCredit, {"ZEIBIKIMAE"}, {10}}, {5, kCredit, {}, {0}}, {37, kCredit, {"ZEIBIKIMAE"}, {10}},
                   {38, kCredit, {"ZEIBIKIMAE"}, {0}}, {6, kCredit, {"ZEIBIKIMAE"}, {0}}}},
        {.name = "remainders leave out the items of their range listed before them",
         .accounts = {{1, kDebit, 0x80810000u, {{1, 1000, 0}}}, {2, kCredit, 0x80410000u, {{1, 0, 500}}}},
         .items = {{18, kDebit, {}, {2}, 2}, {24, kDebit, {}, {4}, 4}, {25, kDebit, {}, {8}, 8},
                   {30, kDebit, {"SOREIGAI"}, {994}}, {26, kCredit, {}, {16}, 16}, {29, kCredit, {}, {32}, 32},
                   {31, kCredit, {"SONOTAFUSAI"}, {452}}, {19, kDebit, {}, {64}, 64}}, .lines = true},
        {.name = "a remainder beyond the raw range stops the run", .items = {{18, kDebit, {}, {INT64_MAX}, INT64_MAX},
         {19, kDebit, {}, {INT64_MAX}, INT64_MAX}, {30, kDebit, {"SOREIGAI"}, {5}, 5}},
         .result = 0, .reason = Reason::kOverflow, .advances = 4, .failedName = "SOREIGAI"},
        {.name = "a balance of 10^14 yen stops the run with what was added before",
         .accounts = {{1, kCredit, kPlain, {{1, 0, 30}}}, {2, kCredit, kPlain, {{0, 0, kHalf}, {1, 0, kHalf}}}},
         .items = {{1, kCredit, {"#1"}, {30}}, {2, kCredit, {"#2"}, {0}}, {3, kCredit, {"ZEIBIKIMAE"}, {7}, 7}},
         .result = 0, .reason = Reason::kOverflow, .holdsRule = true, .advances = 3, .failedCode = 20000,
         .failedName = "科目"},
        Failing("no summation rule", "ClRuleKamoku::Create", 8, 0, Reason::kRuleNotCreated, 0, 0, false, 1),
        Failing("a failed MoveNext", "MoveNext", 8, 1, Reason::kMoveNextFailed, 8, 100, true, 3),
        Failing("sums ending before the counted records", "MoveNext", core_result::kEndOfSums, 1, Reason::kEndedEarly,
                core_result::kEndOfSums, 100, true, 3),
        // The positions index the slots of a record, 0 (the opening) to 12.
        {.name = "start 12", .items = {{1, kCredit, {}, {0}}}, .positions = {12, 12}},
        {.name = "start 0", .items = {{1, kCredit, {}, {0}}}, .positions = {0, 12}},
        {.name = "start -1", .result = 0, .reason = Reason::kBadArguments, .advances = 0, .positions = {-1, 1}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Run(row);
    }
}
