// The summation rule over the small books of tests/data imported by the real mzn-books: the records as one
// golden, which periods criteria deliver, and how a walk answers misuse.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "accounting_core/ClDataMgr.h"
#include "accounting_core/ClLinkMgr.h"
#include "accounting_core/ClRuleKamoku.h"
#include "accounting_core/CoreResult.h"
#include "tests/support/BooksFixture.h"
#include "tests/support/BooksQuery.h"
#include "tests/support/BooksTool.h"

namespace {

namespace cr = core_result;

std::string Yen(std::int64_t tenThousandths) {
    return tenThousandths % 10000 == 0 ? std::to_string(tenThousandths / 10000) : std::to_string(tenThousandths) + "e-4";
}

// A record as a line of the golden: A (an account) or T (a total line), code, class code, side, then per slot with
// sums "slot:debit/credit" in yen tax excluded and "(debit/credit)" tax included where that differs. A leading "?"
// marks flags or an identifier that do not fit the kind of record.
std::string Line(const StKAMOKUSUMINFO& r) {
    const bool total = r.Summary == 1;
    std::uint8_t id[16] = {'M', 'Z', 'N', 'A'};  // mzn-books derives an account's identifier from its code
    if (total) std::memset(id, 0xFF, 12);
    const auto key = total ? r.ClassCode : static_cast<std::uint32_t>(r.Code);
    for (int i = 0; i < 4; ++i) id[(total ? 12 : 4) + i] = static_cast<std::uint8_t>(key >> (24 - 8 * i));
    const bool shaped = r.Flag126 == 0 && r.Flag127 == r.Summary && r.Summary <= 1 && !std::memcmp(r.Id, id, 16);
    char head[40];
    std::snprintf(head, sizeof head, "%s%c %d %08X %c", shaped ? "" : "?", total ? 'T' : 'A', r.Code, r.ClassCode,
                  r.BalanceSide == 1 ? 'D' : 'C');
    std::string text = head;
    for (int s = 0; s < StKAMOKUSUMINFO::kSlots; ++s) {
        const std::int64_t d = r.DebitExcl[s], c = r.CreditExcl[s], di = r.DebitIncl[s], ci = r.CreditIncl[s];
        if (d != 0 || c != 0 || di != 0 || ci != 0) text += " " + std::to_string(s) + ":" + Yen(d) + "/" + Yen(c);
        if (di != d || ci != c) text += "(" + Yen(di) + "/" + Yen(ci) + ")";
    }
    return text;
}

class ClRuleKamokuTest : public BooksFixture {
protected:
    void SetUp() override {
        BooksFixture::SetUp();
        ASSERT_EQ(BooksTool::ImportSmallBooks(root_ / "io"), 1);
        ASSERT_EQ(Connect(), cr::kOk);
    }
    std::unique_ptr<ClRuleKamoku> NewRule(const char* dataId = nullptr, int expected = cr::kOk) {
        std::unique_ptr<ClRuleKamoku> rule(ClRuleKamoku::Create());
        EXPECT_EQ(rule->AttachSetMgr(ClDataMgr::Inst()->GetSetMgr()), cr::kOk);
        EXPECT_EQ(rule->SetCurDataID(dataId), expected);
        EXPECT_EQ(rule->AttachOptLink(ClLinkMgr::Inst()->GetOptLink()), cr::kOk);
        return rule;
    }
    // The walk the aggregation makes.
    std::vector<StKAMOKUSUMINFO> Walk(const std::vector<StFINDINFO>& criteria, const char* dataId = nullptr) {
        std::unique_ptr<ClRuleKamoku> rule = NewRule(dataId);
        std::int32_t count = -1;
        EXPECT_EQ(rule->MoveReady(1, 0, 0, criteria.empty() ? nullptr : criteria.data(), nullptr, 0), cr::kOk);
        EXPECT_EQ(rule->GetSumCount(&count), cr::kOk);
        EXPECT_EQ(rule->SetMovePos(0), cr::kOk);
        // count records, then the end.
        std::vector<StKAMOKUSUMINFO> records(std::max(count, 0) + 1);
        for (StKAMOKUSUMINFO& r : records) EXPECT_EQ(rule->MoveNext(&r), &r == &records.back() ? cr::kEndOfSums : 0);
        records.pop_back();
        EXPECT_EQ(rule->MoveFinish(), cr::kOk);
        return records;
    }
    std::vector<std::string> Lines(const std::vector<StFINDINFO>& criteria, const char* dataId = nullptr) {
        std::vector<std::string> lines;
        for (const StKAMOKUSUMINFO& record : Walk(criteria, dataId)) lines.push_back(Line(record));
        return lines;
    }
};

// Months 1 to 2 and the closing adjustments (period 18, slot 13): month 3 stays out. Accounts come in code order
// (the sub-account 1140-1 too, its amounts also in its main account), then the total lines in statement order,
// each holding its main accounts; net assets also hold everything below the year's profit.
TEST_F(ClRuleKamokuTest, GoldenOfTheSmallBooks) {
    const std::vector<std::string> golden = {
        "A 11100000 80888000 D 0:500000/0 1:0/550000",
        "A 11400000 80888000 D 0:3000000/0 1:2000000/900000 2:1500000/520000 13:0/300000",
        "A 11400001 80888000 D 0:3000000/0",
        "A 12200000 80884000 D 0:800000/0 1:1200000/0 2:1000000/1500000(1100000/1500000)",
        "A 13100000 80882000 D 0:200000/0", "A 15100000 80848000 D 0:10000000/0",
        "A 15900000 80848000 C 0:0/2000000 13:0/400000", "A 21200000 80488000 C 0:0/300000 1:0/600000 2:500000/0",
        "A 25100000 80448000 C 0:0/5000000", "A 31100000 80288000 C 0:0/3000000", "A 33300000 80282000 C 0:0/4200000",
        "A 41100000 40888800 C 1:0/1200000 2:0/1000000(0/1100000)", "A 42100000 40888400 C 1:0/2000000",
        "A 52100000 40884400 D 1:600000/0", "A 53500000 40884200 D 1:900000/0", "A 61200000 40882800 D 1:400000/0",
        "A 63900000 40882200 D 1:150000/0", "A 65100000 40882100 D 13:400000/0", "A 72100000 40844800 D 2:20000/0",
        "A 73100000 40488000 C", "A 81100000 40100000 D 13:300000/0",
        "T 0 80800000 D 0:14500000/2000000 1:3200000/1450000 2:2500000/2020000(2600000/2020000) 13:0/700000",
        "T 0 80880000 D 0:4500000/0 1:3200000/1450000 2:2500000/2020000(2600000/2020000) 13:0/300000",
        "T 0 80840000 D 0:10000000/2000000 13:0/400000", "T 0 80400000 C 0:0/5300000 1:0/600000 2:500000/0",
        "T 0 80480000 C 0:0/300000 1:0/600000 2:500000/0", "T 0 80440000 C 0:0/5000000",
        "T 0 80200000 C 0:0/7200000 1:2050000/3200000 2:20000/1000000(20000/1100000) 13:700000/0",
        "T 0 80280000 C 0:0/7200000", "T 0 40888000 C 1:0/3200000 2:0/1000000(0/1100000)", "T 0 40884000 D 1:1500000/0",
        "T 0 40880008 C 1:1500000/3200000 2:0/1000000(0/1100000)", "T 0 40882000 D 1:550000/0 13:400000/0",
        "T 0 40880000 C 1:2050000/3200000 2:0/1000000(0/1100000) 13:400000/0", "T 0 40848000 C",
        "T 0 40844000 D 2:20000/0", "T 0 40840000 C 2:20000/0",
        "T 0 40800000 C 1:2050000/3200000 2:20000/1000000(20000/1100000) 13:400000/0", "T 0 40480000 C",
        "T 0 40440000 D", "T 0 40400000 C",
        "T 0 40200080 C 1:2050000/3200000 2:20000/1000000(20000/1100000) 13:400000/0",
        "T 0 40000080 C 1:2050000/3200000 2:20000/1000000(20000/1100000) 13:700000/0",
    };
    EXPECT_EQ(Lines(FindEntries({{17, 4, 2, 1, 1}, {17, 6, 2, 2, 2}, {17, 1, 2, 18, 0}})), golden);
    const std::vector<StKAMOKUSUMINFO> records = Walk({});
    ASSERT_EQ(records.size(), golden.size());
    EXPECT_EQ(std::string(records[2].Name) + std::string(records[21].Name), "みずなら銀行 本店資産");
}

// 7310 gets period + 1 yen as its debit in every period, so that each delivered slot names its period.
TEST_F(ClRuleKamokuTest, CriteriaDeliverTheirPeriodsAndTheOpeningOfTheirRange) {
    BooksQuery::Exec("WITH RECURSIVE p(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM p WHERE n < 18) "
                     "INSERT OR REPLACE INTO period_sums SELECT data_set, account_id, n, (n + 1) * 10000, 0, 0, 0 "
                     "FROM accounts JOIN p WHERE code = 73100000 AND (n <= 12 OR n IN (15, 18))");
    const std::string year = "0=0 1=1 2=2 3=3 4=4 5=5 6=6 7=7 8=8 9=9 10=10 11=11 12=12 13=18";
    const std::pair<std::vector<StFINDINFO>, std::string> cases[] = {
        {{}, year + " 14=15"},  // no criteria: every period
        {FindEntries({{17, 4, 2, 1, 1}, {17, 6, 2, 2, 0}}), "0=0 1=1 2=2"},
        {FindEntries({{17, 4, 2, 1, 1}, {17, 6, 2, 12, 2}, {17, 1, 2, 18, 0}}), year},
        {FindEntries({{17, 4, 2, 1, 1}, {17, 6, 2, 6, 2}, {17, 1, 2, 15, 2}, {17, 1, 2, 18, 0}}),
         "0=0 1=1 2=2 3=3 4=4 5=5 6=6 13=18 14=15"},
        {FindEntries({{17, 4, 2, 3, 1}, {17, 6, 2, 5, 0}}), "0=0 1=1 2=2 3=3 4=4 5=5"},  // 0-2: the opening of 3-5
        {FindEntries({{17, 1, 2, 18, 0}}), "0=0 13=18"},  // only the closing brings the opening alone
    };
    for (const auto& [criteria, expected] : cases) {
        std::string slots;
        for (const StKAMOKUSUMINFO& r : Walk(criteria)) {
            for (int s = 0; s < StKAMOKUSUMINFO::kSlots && r.Code == 73100000; ++s)
                slots += r.DebitExcl[s] ? " " + std::to_string(s) + "=" + std::to_string(r.DebitExcl[s] / 10000 - 1) : "";
        }
        EXPECT_EQ(slots, " " + expected);
    }
}

TEST_F(ClRuleKamokuTest, TheDataSetOfSetCurDataIDAHierarchyThatLoopsAndOverflow) {
    AddDataSet(2, "EMPTY", u8"空", 20240101, 20241231);
    const std::vector<std::string> empty = Lines({}, "EMPTY");
    EXPECT_EQ(empty.size(), 22u) << "the total lines alone";
    for (const std::string& line : empty) EXPECT_TRUE(line.find(':') == std::string::npos && line[0] == 'T') << line;
    NewRule("NOSUCH", cr::kNoDataSet);

    // Net assets made a member of their own member: the walk up stops where it comes back, so nothing changes.
    const std::vector<std::string> before = Lines({});
    Sql("UPDATE class_lines SET parent_code = 2150105088 WHERE class_code = 2149580800");
    EXPECT_EQ(Lines({}), before);

    // Cash and the building hold 2^62 each: assets would need 2^63.
    Sql("UPDATE period_sums SET debit = 4611686018427387904 WHERE period = 0 AND account_id IN "
        "(SELECT account_id FROM accounts WHERE code IN (11100000, 15100000))");
    std::unique_ptr<ClRuleKamoku> rule = NewRule();
    std::int32_t count = 0;
    EXPECT_EQ(rule->MoveReady(1, 0, 0, nullptr, nullptr, 0), cr::kOverflow);
    EXPECT_EQ(rule->GetSumCount(&count), cr::kNotReady);
}

TEST_F(ClRuleKamokuTest, WalkPositionsAndMisuse) {
    StKAMOKUSUMINFO record;
    std::int32_t count = 0;
    std::unique_ptr<ClRuleKamoku> rule(ClRuleKamoku::Create());  // no set manager yet
    for (int result : {rule->MoveReady(1, 0, 0, nullptr, nullptr, 0), rule->GetSumCount(&count),
                       rule->SetMovePos(0), rule->MoveNext(&record)})
        EXPECT_EQ(result, cr::kNotReady);
    EXPECT_EQ(rule->AttachOptLink(nullptr), cr::kBadArgument);

    rule = NewRule();
    const auto byCode = FindEntries({{2, 1, 3, 11100000, 0}});
    const auto monthAsClass = FindEntries({{17, 1, 19, 1, 0}});
    // No such summation, and no department ledgers.
    for (int result : {rule->MoveReady(2, 0, 0, nullptr, nullptr, 0), rule->MoveReady(1, 0, 1, nullptr, nullptr, 0),
                       rule->MoveReady(1, 0, 0, nullptr, nullptr, 1), rule->MoveReady(1, 1, 0, nullptr, nullptr, 0),
                       rule->MoveReady(1, 0, 0, nullptr, reinterpret_cast<const StBUMONINFO*>(&record), 0)})
        EXPECT_EQ(result, cr::kBadArgument);
    EXPECT_EQ(rule->MoveReady(1, 0, 0, byCode.data(), nullptr, 0), cr::kBadCriteria);
    EXPECT_EQ(rule->MoveReady(1, 0, 0, monthAsClass.data(), nullptr, 0), cr::kBadCriteria);
    EXPECT_EQ(rule->GetSumCount(&count), cr::kNotReady);

    ASSERT_EQ(rule->MoveReady(1, 0, 0, nullptr, nullptr, 0), cr::kOk);
    ASSERT_EQ(rule->GetSumCount(&count), cr::kOk);
    EXPECT_EQ(rule->SetMovePos(count + 1), cr::kBadArgument);
    EXPECT_EQ(rule->SetMovePos(-1), cr::kBadArgument);
    ASSERT_EQ(rule->SetMovePos(count - 1), cr::kOk);
    EXPECT_EQ(rule->MoveNext(&record), cr::kOk);
    EXPECT_EQ(record.ClassCode, 0x40000080u) << "the last record";
    EXPECT_EQ(rule->MoveNext(&record), cr::kEndOfSums);
    EXPECT_EQ(rule->MoveNext(&record), cr::kEndOfSums);
    ASSERT_EQ(rule->SetMovePos(count), cr::kOk);
    EXPECT_EQ(rule->MoveNext(&record), cr::kEndOfSums);
    ASSERT_EQ(rule->SetMovePos(1), cr::kOk);
    ASSERT_EQ(rule->MoveNext(&record), cr::kOk);
    EXPECT_EQ(record.Code, 11400000);
    EXPECT_EQ(rule->MoveNext(nullptr), cr::kBadArgument);
    EXPECT_EQ(rule->GetSumCount(nullptr), cr::kBadArgument);
    EXPECT_EQ(rule->MoveFinish(), cr::kOk);
    EXPECT_EQ(rule->GetSumCount(&count), cr::kNotReady);
    EXPECT_EQ(rule->MoveNext(&record), cr::kNotReady);
}

}  // namespace
