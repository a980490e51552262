// The summation rule over the small books of tests/data: one golden, the periods criteria deliver, misuse.

#include <cstdlib>
#include <fstream>
#include <memory>
#include <tuple>

#include "accounting_core/ClLinkMgr.h"
#include "accounting_core/ClRuleKamoku.h"
#include "tests/support/BooksFixture.h"
#include "tests/support/BooksQuery.h"

namespace {

using namespace core_result;

class ClRuleKamokuTest : public BooksFixture {
protected:
    void SetUp() override {
        BooksFixture::SetUp();
        ASSERT_NO_FATAL_FAILURE(ConnectToSmallBooks());
    }
};

// Accounts in code order (the sub-account 1140-1 too, its amounts also in its main account), then the total lines
// in statement order, each holding its main accounts; net assets also hold everything below the year's profit.
TEST_F(ClRuleKamokuTest, MonthsOneToTwoAndTheClosingAgainstTheGolden) {
    const auto records = SummaryWalk(FindEntries({{17, 4, 2, 1, 1}, {17, 6, 2, 2, 2}, {17, 1, 2, 18, 0}}));
    ASSERT_EQ(SummaryLines(records), GoldenLines("books/small-summation.golden"));
    EXPECT_EQ(std::string(records[2].Name) + std::string(records[21].Name), "みずなら銀行 本店資産");
    // Net assets made a member of their own member: the walk up stops where it comes back, so nothing changes.
    const std::vector<std::string> before = SummaryLines(SummaryWalk({}));
    Sql("UPDATE class_lines SET parent_code = 2150105088 WHERE class_code = 2149580800");
    EXPECT_EQ(SummaryLines(SummaryWalk({})), before);
}

// 7310 gets period + 1 yen as its debit in every period, so that each delivered slot names its period.
TEST_F(ClRuleKamokuTest, CriteriaDeliverTheirPeriodsAndTheOpeningOfTheirRange) {
    BooksQuery::Exec("WITH RECURSIVE p(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM p WHERE n < 18) "
                     "INSERT OR REPLACE INTO period_sums SELECT data_set, account_id, n, (n + 1) * 10000, 0, 0, 0 "
                     "FROM accounts JOIN p WHERE code = 73100000 AND (n <= 12 OR n IN (15, 18))");
    const std::string year = " 0=0 1=1 2=2 3=3 4=4 5=5 6=6 7=7 8=8 9=9 10=10 11=11 12=12";
    const std::pair<std::vector<StFINDINFO>, std::string> cases[] = {
        // (field 17 the month, comparison 1 = 2 > 3 < 4 >= 5 <> 6 <=, value type 2, value, link 1 and 2 or)
        {{}, year + " 13=18 14=15"},  // no criteria: every period
        {FindEntries({{17, 4, 2, 1, 1}, {17, 6, 2, 2, 0}}), " 0=0 1=1 2=2"},
        {FindEntries({{17, 4, 2, 1, 1}, {17, 6, 2, 12, 2}, {17, 1, 2, 18, 0}}), year + " 13=18"},
        {FindEntries({{17, 4, 2, 1, 1}, {17, 6, 2, 6, 2}, {17, 1, 2, 15, 2}, {17, 1, 2, 18, 0}}),
         " 0=0 1=1 2=2 3=3 4=4 5=5 6=6 13=18 14=15"},
        {FindEntries({{17, 4, 2, 3, 1}, {17, 6, 2, 5, 0}}), " 0=0 1=1 2=2 3=3 4=4 5=5"},  // 0-2: the opening of 3-5
        {FindEntries({{17, 1, 2, 18, 0}}), " 0=0 13=18"},  // no month: the opening alone
        {FindEntries({{17, 2, 2, 12, 0}}), " 0=0 13=18 14=15"},
        {FindEntries({{17, 4, 2, 15, 0}}), " 0=0 13=18 14=15"},
        {FindEntries({{17, 3, 2, 3, 0}}), " 0=0 1=1 2=2"},
        {FindEntries({{17, 5, 2, 18, 0}}), year + " 14=15"},
    };
    for (const auto& [criteria, expected] : cases) {
        std::string slots;
        for (const StKAMOKUSUMINFO& r : SummaryWalk(criteria)) {
            for (int s = 0; s < StKAMOKUSUMINFO::kSlots && r.Code == 73100000; ++s) {
                const std::int64_t period = r.DebitExcl[s] / 10000 - 1;
                if (period >= 0) slots += " " + std::to_string(s) + "=" + std::to_string(period);
            }
        }
        EXPECT_EQ(slots, expected);
    }
}

TEST_F(ClRuleKamokuTest, WalkPositionsMisuseAndOverflow) {
    StKAMOKUSUMINFO record;
    std::int32_t count = 0;
    std::unique_ptr<ClRuleKamoku> rule(ClRuleKamoku::Create());  // no set manager and no link options yet
    EXPECT_EQ((std::vector{rule->MoveReady(1, 1, 0, nullptr, nullptr, 0), rule->MoveReady(1, 0, 0, nullptr, nullptr, 0),
                           rule->GetSumCount(&count), rule->SetMovePos(0), rule->MoveNext(&record),
                           rule->AttachOptLink(nullptr), rule->AttachSetMgr(ClDataMgr::Inst()->GetSetMgr()),
                           rule->AttachOptLink(ClLinkMgr::Inst()->GetOptLink())}),
              (std::vector{kBadArgument, kNotReady, kNotReady, kNotReady, kNotReady, kBadArgument, kOk, kOk}));
    // No such summation, no department ledgers; conditions on anything but the month, unknown comparisons, value
    // types and links, and ten entries that link on.
    std::vector<int> answers;
    for (auto [sum, department, display, past] : {std::array{2, 0, 0, 0}, {1, 0, 1, 0}, {1, 0, 0, 1}, {1, 1, 0, 0}})
        answers.push_back(rule->MoveReady(sum, department, display, nullptr, nullptr, past));
    answers.push_back(rule->MoveReady(1, 0, 0, nullptr, reinterpret_cast<const StBUMONINFO*>(&record), 0));
    for (const auto& criteria : {FindEntries({{2, 1, 3, 11100000, 0}}), FindEntries({{17, 1, 19, 1, 0}}),
                                 FindEntries({{17, 7, 2, 1, 0}}), FindEntries({{17, 1, 4, 1, 0}}),
                                 FindEntries({{17, 1, 2, 1, 3}}), std::vector(10, FindEntries({{17, 1, 2, 1, 2}})[0])})
        answers.push_back(rule->MoveReady(1, 0, 0, criteria.data(), nullptr, 0));
    answers.push_back(rule->GetSumCount(&count));
    EXPECT_EQ(answers, (std::vector{kBadArgument, kBadArgument, kBadArgument, kBadArgument, kBadArgument, kBadCriteria,
                                    kBadCriteria, kBadCriteria, kBadCriteria, kBadCriteria, kBadCriteria, kNotReady}));
    ASSERT_EQ(rule->MoveReady(1, 0, 0, nullptr, nullptr, 0), kOk);
    ASSERT_EQ(rule->GetSumCount(&count), kOk);
    // Forwards over accounts, then back: each position delivers its own record.
    const std::vector<StKAMOKUSUMINFO> all = SummaryWalk({});
    for (int position : {3, 1, 1, 4}) {
        EXPECT_EQ((std::vector{rule->SetMovePos(position), rule->MoveNext(&record)}), (std::vector{kOk, kOk}));
        EXPECT_EQ(std::memcmp(&record, &all[static_cast<std::size_t>(position)], sizeof record), 0) << position;
    }
    // Positions past the end and before the start, the last record, the end that stays the end, the end position.
    EXPECT_EQ((std::vector{rule->SetMovePos(count + 1), rule->SetMovePos(-1), rule->SetMovePos(count - 1),
                           rule->MoveNext(&record), rule->MoveNext(&record), rule->MoveNext(&record),
                           rule->SetMovePos(count), rule->MoveNext(&record), rule->MoveNext(nullptr),
                           rule->GetSumCount(nullptr), rule->MoveFinish(), rule->MoveNext(&record)}),
              (std::vector{kBadArgument, kBadArgument, kOk, kOk, kEndOfSums, kEndOfSums, kOk, kEndOfSums, kBadArgument,
                           kBadArgument, kOk, kNotReady}));
    EXPECT_EQ(record.ClassCode, 0x40000080u);

    // Cash and the building hold 2^62 each: assets would need 2^63.
    Sql("UPDATE period_sums SET debit = 4611686018427387904 WHERE period = 0 AND account_id IN "
        "(SELECT account_id FROM accounts WHERE code IN (11100000, 15100000))");
    EXPECT_EQ((std::vector{rule->MoveReady(1, 0, 0, nullptr, nullptr, 0), rule->GetSumCount(&count)}),
              (std::vector{kOverflow, kNotReady}));
}

using DemoBooksSummationTest = BooksFixture;

// Every byte of every record (both tax views) the whole year's walk delivers, as the aggregation makes it, on the
// demo books and on demo books of 10,000 accounts: the SHA-256 of the stream the core has always delivered.
TEST_F(DemoBooksSummationTest, TheWholeYearsRecordsByteForByte) {
    const std::string io = std::string(std::getenv("MZN_ROOT")) + "/io";
    const std::string demoBooks = "2d9c23342cddc323da1da115edfc4da1b97b8923d313830ea6a5299b9c09d71b";
    const std::tuple<std::vector<std::string>, std::string, std::string> cases[] = {
        {{"demo"}, "", demoBooks},
        // Books made before the index of the period sums read the same, only slower.
        {{"demo"}, "DROP INDEX period_sums_of_account", demoBooks},
        {{"demo", "--accounts", "10000"}, "", "7e3cc89fbd5f8a6761db40b5df567b8daa84e4740a59eff8809a543c7a1c12dc"}};
    for (const auto& [demo, change, sha256] : cases) {
        ASSERT_EQ(BooksTool::Run(demo, io).exitCode, 0);
        ASSERT_EQ(BooksQuery::Number("SELECT count(*) FROM sqlite_master WHERE name = 'period_sums_of_account'"), 1);
        if (!change.empty()) BooksQuery::Exec(change);
        ASSERT_EQ(Connect(), kOk);
        const auto records = SummaryWalk(FindEntries({{17, 4, 2, 1, 1}, {17, 6, 2, 12, 2}, {17, 1, 2, 18, 0}}));
        std::ofstream(io + "/records", std::ios::binary)
            .write(reinterpret_cast<const char*>(records.data()), std::streamsize(records.size() * sizeof records[0]));
        EXPECT_EQ(ChildProcess::Run({"/usr/bin/sha256sum", io + "/records"}, io).out.substr(0, 64), sha256);
        CoreSession::End();
    }
}

}  // namespace
