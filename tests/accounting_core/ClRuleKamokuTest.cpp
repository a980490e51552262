#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "accounting_core/ClAccConnect.h"
#include "accounting_core/ClDataMgr.h"
#include "accounting_core/ClLinkMgr.h"
#include "accounting_core/ClRuleKamoku.h"
#include "accounting_core/CoreResult.h"
#include "accounting_core/StFINDINFO.h"
#include "accounting_core/StKAMOKUSUMINFO.h"
#include "tests/support/BooksFixture.h"
#include "tests/support/CoreSession.h"

namespace {

namespace cr = core_result;

using Slots = std::array<std::int64_t, 15>;

constexpr std::size_t kDebitExcl = 152;
constexpr std::size_t kDebitIncl = 272;
constexpr std::size_t kCreditExcl = 392;
constexpr std::size_t kCreditIncl = 512;

Slots SlotsAt(const StKAMOKUSUMINFO& record, std::size_t offset) {
    Slots slots;
    for (std::size_t i = 0; i < slots.size(); ++i) slots[i] = FieldAt<std::int64_t>(&record, offset + 8 * i);
    return slots;
}

// Slots from (slot, amount) pairs, all others zero.
Slots S(std::initializer_list<std::pair<int, std::int64_t>> amounts) {
    Slots slots{};
    for (auto [slot, amount] : amounts) slots[static_cast<std::size_t>(slot)] = amount;
    return slots;
}

// Month criteria written byte by byte, as the aggregation builds them:
// entries of (comparison, value, link), field 17, value type 2.
struct MonthCriteria {
    unsigned char bytes[136] = {};
    MonthCriteria(std::initializer_list<std::array<std::int16_t, 3>> entries) {
        int index = 0;
        for (const auto& entry : entries) {
            unsigned char* at = bytes + 34 * index++;
            std::int32_t field = 17;
            std::int16_t type = 2;
            std::int16_t value = entry[1];
            std::memcpy(at + 0, &field, 4);
            std::memcpy(at + 6, &entry[0], 2);
            std::memcpy(at + 10, &type, 2);
            std::memcpy(at + 18, &value, 2);
            std::memcpy(at + 30, &entry[2], 2);
        }
    }
    const StFINDINFO* Get() const { return reinterpret_cast<const StFINDINFO*>(bytes); }
};

class ClRuleKamokuTest : public BooksFixture {
protected:
    // A small hand-made data set: a hierarchy with six total lines, seven
    // accounts (one whose class is no line) and their sums.
    void SetUp() override {
        BooksFixture::SetUp();
        AddSelectedDataSet();
        AddDataSet(2, "D0002", u8"別の年度", 20180401, 20190331);
        AddClassLine(0x80800000u, 0, u8"資産の部合計", 1, true, 10);
        AddClassLine(0x80810000u, 0x80800000u, u8"流動資産", 1, false, 11);
        AddClassLine(0x80400000u, 0, u8"負債の部合計", 2, true, 20);
        AddClassLine(0x80200000u, 0, u8"純資産の部合計", 2, true, 30);
        AddClassLine(0x40880008u, 0, u8"売上総利益", 2, true, 50);
        AddClassLine(0x40888000u, 0x40880008u, u8"売上高", 2, true, 40);
        AddClassLine(0x40884000u, 0x40880008u, u8"売上原価", 1, true, 45);

        AddAccount(1, 1, 1110000, u8"現金", 0x80810000u, 1);
        AddSums(1, 1, 0, 1000000, 0, 1000000, 0);
        AddSums(1, 1, 1, 50000, 20000, 55000, 22000);
        AddSums(1, 1, 2, 30000, 0, 30000, 0);
        AddSums(1, 1, 7, 777, 0, 777, 0);
        AddSums(1, 1, 18, 5000, 0, 5000, 0);
        AddSums(1, 1, 15, 0, 7000, 0, 7000);
        AddAccount(1, 2, 1350000, u8"売掛金", 0x80800000u, 1);
        AddSums(1, 2, 0, 200000, 0, 200000, 0);
        AddSums(1, 2, 1, 66000, 0, 66000, 0);
        AddAccount(1, 3, 3110000, u8"買掛金", 0x80400000u, 2);
        AddSums(1, 3, 0, 0, 150000, 0, 150000);
        AddSums(1, 3, 1, 10000, 11000, 11000, 12100);
        AddAccount(1, 4, 4110000, u8"資本金", 0x80200000u, 2);
        AddSums(1, 4, 0, 0, 1050000, 0, 1050000);
        AddAccount(1, 5, 5110000, u8"売上高", 0x40888000u, 2);
        AddSums(1, 5, 1, 0, 60000, 0, 66000);
        AddSums(1, 5, 2, 0, 30000, 0, 33000);
        AddSums(1, 5, 18, 0, 1000, 0, 1100);
        AddAccount(1, 6, 6110000, u8"仕入高", 0x40884000u, 1);
        AddSums(1, 6, 1, 10000, 0, 11000, 0);
        AddAccount(1, 7, 7110000, u8"雑損失", 0x40440000u, 1);
        AddSums(1, 7, 3, 500, 0, 500, 0);
        AddAccount(2, 8, 1110000, u8"現金", 0x80810000u, 1);
        AddSums(2, 8, 0, 999, 0, 999, 0);
    }

    std::unique_ptr<ClRuleKamoku> NewRule(const char* dataId = "D0001") {
        std::unique_ptr<ClRuleKamoku> rule(ClRuleKamoku::Create());
        EXPECT_NE(rule, nullptr);
        if (!rule) return rule;
        EXPECT_EQ(rule->AttachSetMgr(ClDataMgr::Inst()->GetSetMgr()), cr::kOk);
        EXPECT_EQ(rule->SetCurDataID(dataId), cr::kOk);
        EXPECT_EQ(rule->AttachOptLink(ClLinkMgr::Inst()->GetOptLink()), cr::kOk);
        return rule;
    }

    // The walk the aggregation makes.
    std::vector<StKAMOKUSUMINFO> Sums(const StFINDINFO* criteria, const char* dataId = "D0001") {
        std::vector<StKAMOKUSUMINFO> records;
        std::unique_ptr<ClRuleKamoku> rule = NewRule(dataId);
        EXPECT_EQ(rule->MoveReady(1, 0, 0, criteria, nullptr, 0), cr::kOk);
        std::int32_t count = -1;
        EXPECT_EQ(rule->GetSumCount(&count), cr::kOk);
        EXPECT_EQ(rule->SetMovePos(0), cr::kOk);
        StKAMOKUSUMINFO record;
        int result;
        while ((result = rule->MoveNext(&record)) == cr::kOk) records.push_back(record);
        EXPECT_EQ(result, cr::kEndOfSums);
        EXPECT_EQ(static_cast<std::size_t>(count), records.size());
        EXPECT_EQ(rule->MoveFinish(), cr::kOk);
        return records;
    }

    static const StKAMOKUSUMINFO& Line(const std::vector<StKAMOKUSUMINFO>& records, std::uint32_t classCode) {
        for (const StKAMOKUSUMINFO& record : records) {
            if (FieldAt<std::uint8_t>(&record, 128) == 1 && FieldAt<std::uint32_t>(&record, 136) == classCode)
                return record;
        }
        ADD_FAILURE() << "no total line " << std::hex << classCode;
        return records.front();
    }
};

TEST_F(ClRuleKamokuTest, AccountsInCodeOrderThenTotalLinesInStatementOrder) {
    ASSERT_EQ(Connect(), cr::kOk);
    std::vector<StKAMOKUSUMINFO> records = Sums(nullptr);
    ASSERT_EQ(records.size(), 13u);
    std::vector<std::int32_t> codes;
    std::vector<std::uint32_t> totals;
    for (const StKAMOKUSUMINFO& record : records) {
        codes.push_back(FieldAt<std::int32_t>(&record, 16));
        if (FieldAt<std::uint8_t>(&record, 128) != 0) totals.push_back(FieldAt<std::uint32_t>(&record, 136));
    }
    EXPECT_EQ(codes, (std::vector<std::int32_t>{1110000, 1350000, 3110000, 4110000, 5110000, 6110000, 7110000, 0,
                                                0, 0, 0, 0, 0}));
    EXPECT_EQ(totals, (std::vector<std::uint32_t>{0x80800000u, 0x80400000u, 0x80200000u, 0x40888000u, 0x40884000u,
                                                  0x40880008u}));
}

TEST_F(ClRuleKamokuTest, AnAccountRecordHasEveryFieldAtItsOffset) {
    ASSERT_EQ(Connect(), cr::kOk);
    std::vector<StKAMOKUSUMINFO> records = Sums(nullptr);
    ASSERT_EQ(records.size(), 13u);
    const StKAMOKUSUMINFO& cash = records[0];
    std::array<std::uint8_t, 16> id = AccountId(1);
    EXPECT_EQ(std::memcmp(&cash, id.data(), 16), 0);
    EXPECT_EQ(FieldAt<std::int32_t>(&cash, 16), 1110000);
    EXPECT_EQ(TextAt(&cash, 22), "現金");
    EXPECT_EQ(FieldAt<std::uint8_t>(&cash, 126), 0);
    EXPECT_EQ(FieldAt<std::uint8_t>(&cash, 127), 0);
    EXPECT_EQ(FieldAt<std::uint8_t>(&cash, 128), 0);
    EXPECT_EQ(FieldAt<std::uint8_t>(&cash, 130), 1);
    EXPECT_EQ(FieldAt<std::uint32_t>(&cash, 136), 0x80810000u);
    EXPECT_EQ(SlotsAt(cash, kDebitExcl), S({{0, 1000000}, {1, 50000}, {2, 30000}, {7, 777}, {13, 5000}}));
    EXPECT_EQ(SlotsAt(cash, kDebitIncl), S({{0, 1000000}, {1, 55000}, {2, 30000}, {7, 777}, {13, 5000}}));
    EXPECT_EQ(SlotsAt(cash, kCreditExcl), S({{1, 20000}, {14, 7000}}));
    EXPECT_EQ(SlotsAt(cash, kCreditIncl), S({{1, 22000}, {14, 7000}}));
    EXPECT_EQ(FieldAt<std::uint32_t>(&cash, 632), 0u);  // reserved tail

    const StKAMOKUSUMINFO& payable = records[2];
    EXPECT_EQ(FieldAt<std::uint8_t>(&payable, 130), 2);
    EXPECT_EQ(SlotsAt(payable, kCreditIncl), S({{0, 150000}, {1, 12100}}));
}

TEST_F(ClRuleKamokuTest, TotalLinesSumTheirMemberAccounts) {
    ASSERT_EQ(Connect(), cr::kOk);
    std::vector<StKAMOKUSUMINFO> records = Sums(nullptr);
    ASSERT_EQ(records.size(), 13u);

    const StKAMOKUSUMINFO& assets = Line(records, 0x80800000u);
    EXPECT_EQ(FieldAt<std::uint8_t>(&assets, 126), 0);
    EXPECT_EQ(FieldAt<std::uint8_t>(&assets, 127), 1);
    EXPECT_EQ(FieldAt<std::uint8_t>(&assets, 128), 1);
    EXPECT_EQ(FieldAt<std::uint8_t>(&assets, 130), 1);
    EXPECT_EQ(FieldAt<std::int32_t>(&assets, 16), 0);
    EXPECT_EQ(TextAt(&assets, 22), "資産の部合計");
    const std::uint8_t totalId[16] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                      0xFF, 0xFF, 0xFF, 0xFF, 0x80, 0x80, 0x00, 0x00};
    EXPECT_EQ(std::memcmp(&assets, totalId, 16), 0);
    // Cash (through current assets) and receivables.
    EXPECT_EQ(SlotsAt(assets, kDebitExcl), S({{0, 1200000}, {1, 116000}, {2, 30000}, {7, 777}, {13, 5000}}));
    EXPECT_EQ(SlotsAt(assets, kDebitIncl), S({{0, 1200000}, {1, 121000}, {2, 30000}, {7, 777}, {13, 5000}}));
    EXPECT_EQ(SlotsAt(assets, kCreditExcl), S({{1, 20000}, {14, 7000}}));
    EXPECT_EQ(SlotsAt(assets, kCreditIncl), S({{1, 22000}, {14, 7000}}));

    const StKAMOKUSUMINFO& liabilities = Line(records, 0x80400000u);
    EXPECT_EQ(FieldAt<std::uint8_t>(&liabilities, 130), 2);
    EXPECT_EQ(SlotsAt(liabilities, kDebitExcl), S({{1, 10000}}));
    EXPECT_EQ(SlotsAt(liabilities, kCreditIncl), S({{0, 150000}, {1, 12100}}));

    EXPECT_EQ(SlotsAt(Line(records, 0x80200000u), kCreditExcl), S({{0, 1050000}}));
    EXPECT_EQ(SlotsAt(Line(records, 0x40888000u), kCreditIncl), S({{1, 66000}, {2, 33000}, {13, 1100}}));
    EXPECT_EQ(SlotsAt(Line(records, 0x40884000u), kDebitIncl), S({{1, 11000}}));
    EXPECT_EQ(FieldAt<std::uint8_t>(&Line(records, 0x40884000u), 130), 1);

    // Gross profit holds sales and cost of sales, both a level below it.
    const StKAMOKUSUMINFO& gross = Line(records, 0x40880008u);
    EXPECT_EQ(SlotsAt(gross, kDebitExcl), S({{1, 10000}}));
    EXPECT_EQ(SlotsAt(gross, kCreditExcl), S({{1, 60000}, {2, 30000}, {13, 1000}}));
    EXPECT_EQ(SlotsAt(gross, kCreditIncl), S({{1, 66000}, {2, 33000}, {13, 1100}}));
}

TEST_F(ClRuleKamokuTest, SubAccountsAreDeliveredButCountedInTotalsOnlyThroughTheirMainAccount) {
    // The books keep a sub-account's amounts inside its main account's too.
    AddAccount(1, 9, 1110001, u8"現金 本店", 0x80810000u, 1);
    AddSums(1, 9, 1, 40000, 0, 40000, 0);
    ASSERT_EQ(Connect(), cr::kOk);
    std::vector<StKAMOKUSUMINFO> records = Sums(nullptr);
    ASSERT_EQ(records.size(), 14u);
    EXPECT_EQ(FieldAt<std::int32_t>(&records[1], 16), 1110001);
    EXPECT_EQ(SlotsAt(records[1], kDebitExcl), S({{1, 40000}}));
    // Assets as before: the sub-account's 40000 is not added a second time.
    EXPECT_EQ(SlotsAt(Line(records, 0x80800000u), kDebitExcl),
              S({{0, 1200000}, {1, 116000}, {2, 30000}, {7, 777}, {13, 5000}}));
}

TEST_F(ClRuleKamokuTest, CriteriaSelectThePeriodsAndTheOpeningComesAlong) {
    ASSERT_EQ(Connect(), cr::kOk);
    // Positions 1 to 2: no adjustment period.
    std::vector<StKAMOKUSUMINFO> records = Sums(MonthCriteria({{4, 1, 1}, {6, 2, 0}}).Get());
    ASSERT_EQ(records.size(), 13u);
    EXPECT_EQ(SlotsAt(records[0], kDebitExcl), S({{0, 1000000}, {1, 50000}, {2, 30000}}));
    EXPECT_EQ(SlotsAt(records[0], kCreditExcl), S({{1, 20000}}));
    EXPECT_EQ(SlotsAt(Line(records, 0x80800000u), kDebitExcl), S({{0, 1200000}, {1, 116000}, {2, 30000}}));

    // The whole year with the closing adjustments (period 18 -> slot 13).
    records = Sums(MonthCriteria({{4, 1, 1}, {6, 12, 2}, {1, 18, 0}}).Get());
    EXPECT_EQ(SlotsAt(records[0], kDebitExcl), S({{0, 1000000}, {1, 50000}, {2, 30000}, {7, 777}, {13, 5000}}));
    EXPECT_EQ(SlotsAt(records[0], kCreditExcl), S({{1, 20000}}));
    EXPECT_EQ(SlotsAt(Line(records, 0x40888000u), kCreditExcl), S({{1, 60000}, {2, 30000}, {13, 1000}}));

    // Up to position 6 of a year with an interim closing that is also its
    // last month: periods 15 (slot 14) and 18 both.
    records = Sums(MonthCriteria({{4, 1, 1}, {6, 6, 2}, {1, 15, 2}, {1, 18, 0}}).Get());
    EXPECT_EQ(SlotsAt(records[0], kDebitExcl), S({{0, 1000000}, {1, 50000}, {2, 30000}, {13, 5000}}));
    EXPECT_EQ(SlotsAt(records[0], kCreditExcl), S({{1, 20000}, {14, 7000}}));

    // A range from position 3: positions 0 to 2 make up its opening.
    records = Sums(MonthCriteria({{4, 3, 1}, {6, 5, 0}}).Get());
    EXPECT_EQ(SlotsAt(records[0], kDebitExcl), S({{0, 1000000}, {1, 50000}, {2, 30000}}));
    EXPECT_EQ(SlotsAt(records[6], kDebitExcl), S({{3, 500}}));

    // Only the closing adjustments: the opening alone comes along.
    records = Sums(MonthCriteria({{1, 18, 0}}).Get());
    EXPECT_EQ(SlotsAt(records[0], kDebitExcl), S({{0, 1000000}, {13, 5000}}));
}

TEST_F(ClRuleKamokuTest, TheDataSetIsTheOneOfSetCurDataID) {
    ASSERT_EQ(Connect(), cr::kOk);
    std::vector<StKAMOKUSUMINFO> records = Sums(nullptr, "D0002");
    ASSERT_EQ(records.size(), 7u);  // one account, six total lines
    EXPECT_EQ(SlotsAt(records[0], kDebitExcl), S({{0, 999}}));
    EXPECT_EQ(SlotsAt(Line(records, 0x80800000u), kDebitExcl), S({{0, 999}}));
    EXPECT_EQ(SlotsAt(Line(records, 0x80400000u), kCreditExcl), S({}));

    std::unique_ptr<ClRuleKamoku> rule(ClRuleKamoku::Create());
    rule->AttachSetMgr(ClDataMgr::Inst()->GetSetMgr());  // no data ID: the selected data set
    ASSERT_EQ(rule->MoveReady(1, 0, 0, nullptr, nullptr, 0), cr::kOk);
    std::int32_t count = 0;
    ASSERT_EQ(rule->GetSumCount(&count), cr::kOk);
    EXPECT_EQ(count, 13);
}

TEST_F(ClRuleKamokuTest, WalkPositionsAndMisuse) {
    ASSERT_EQ(Connect(), cr::kOk);
    std::unique_ptr<ClRuleKamoku> rule(ClRuleKamoku::Create());
    StKAMOKUSUMINFO record;
    std::int32_t count = 0;
    EXPECT_EQ(rule->MoveReady(1, 0, 0, nullptr, nullptr, 0), cr::kNotReady);  // no set manager
    EXPECT_EQ(rule->GetSumCount(&count), cr::kNotReady);
    EXPECT_EQ(rule->SetMovePos(0), cr::kNotReady);
    EXPECT_EQ(rule->MoveNext(&record), cr::kNotReady);

    rule = NewRule();
    EXPECT_EQ(rule->MoveReady(2, 0, 0, nullptr, nullptr, 0), cr::kBadArgument);
    EXPECT_EQ(rule->MoveReady(1, 1, 0, nullptr, nullptr, 0), cr::kBadArgument);  // no department ledgers
    EXPECT_EQ(rule->MoveReady(1, 0, 0, nullptr, reinterpret_cast<const StBUMONINFO*>(&record), 0),
              cr::kBadArgument);
    EXPECT_EQ(rule->MoveReady(1, 0, 0, nullptr, nullptr, 1), cr::kBadArgument);
    unsigned char byCode[34] = {};
    std::int32_t field = 2;
    std::memcpy(byCode, &field, 4);
    byCode[6] = 1;
    byCode[10] = 3;
    EXPECT_EQ(rule->MoveReady(1, 0, 0, reinterpret_cast<const StFINDINFO*>(byCode), nullptr, 0), cr::kBadCriteria);
    EXPECT_EQ(rule->GetSumCount(&count), cr::kNotReady);

    ASSERT_EQ(rule->MoveReady(1, 0, 0, nullptr, nullptr, 0), cr::kOk);
    EXPECT_EQ(rule->SetMovePos(14), cr::kBadArgument);
    EXPECT_EQ(rule->SetMovePos(-1), cr::kBadArgument);
    ASSERT_EQ(rule->SetMovePos(12), cr::kOk);
    ASSERT_EQ(rule->MoveNext(&record), cr::kOk);
    EXPECT_EQ(FieldAt<std::uint32_t>(&record, 136), 0x40880008u);
    EXPECT_EQ(rule->MoveNext(&record), cr::kEndOfSums);
    EXPECT_EQ(rule->MoveNext(&record), cr::kEndOfSums);
    ASSERT_EQ(rule->SetMovePos(13), cr::kOk);
    EXPECT_EQ(rule->MoveNext(&record), cr::kEndOfSums);
    ASSERT_EQ(rule->SetMovePos(1), cr::kOk);
    ASSERT_EQ(rule->MoveNext(&record), cr::kOk);
    EXPECT_EQ(FieldAt<std::int32_t>(&record, 16), 1350000);
    EXPECT_EQ(rule->MoveNext(nullptr), cr::kBadArgument);
    EXPECT_EQ(rule->GetSumCount(nullptr), cr::kBadArgument);
    EXPECT_EQ(rule->MoveFinish(), cr::kOk);
    EXPECT_EQ(rule->GetSumCount(&count), cr::kNotReady);
    EXPECT_EQ(rule->MoveNext(&record), cr::kNotReady);

    EXPECT_EQ(ClLinkMgr::Inst(), ClLinkMgr::Inst());
    EXPECT_NE(ClLinkMgr::Inst()->GetOptLink(), nullptr);
    EXPECT_EQ(rule->AttachOptLink(nullptr), cr::kBadArgument);
}

TEST_F(ClRuleKamokuTest, ForcedResultsOfTheSummation) {
    AddFault("GetSumCount", 11);
    AddFault("SetMovePos", 12);
    AddFault("MoveNext", 13, 2);
    ASSERT_EQ(Connect(), cr::kOk);
    std::unique_ptr<ClRuleKamoku> rule = NewRule();
    ASSERT_EQ(rule->MoveReady(1, 0, 0, nullptr, nullptr, 0), cr::kOk);
    std::int32_t count = -1;
    EXPECT_EQ(rule->GetSumCount(&count), 11);
    EXPECT_EQ(rule->SetMovePos(0), 12);
    StKAMOKUSUMINFO record;
    EXPECT_EQ(rule->MoveNext(&record), cr::kOk);
    EXPECT_EQ(rule->MoveNext(&record), cr::kOk);
    EXPECT_EQ(FieldAt<std::int32_t>(&record, 16), 1350000);
    EXPECT_EQ(rule->MoveNext(&record), 13);
    EXPECT_EQ(rule->MoveNext(&record), 13);
}

TEST_F(ClRuleKamokuTest, ForcedResultsOfMoveReadyAndCreation) {
    AddFault("MoveReady", 21);
    AddFault("MoveNext", 22, 0);
    ASSERT_EQ(Connect(), cr::kOk);
    std::unique_ptr<ClRuleKamoku> rule = NewRule();
    EXPECT_EQ(rule->MoveReady(1, 0, 0, nullptr, nullptr, 0), 21);
    std::int32_t count = 0;
    EXPECT_EQ(rule->GetSumCount(&count), cr::kNotReady);
    CoreSession::End();

    Sql("DELETE FROM faults");
    AddFault("MoveNext", 22, 0);
    AddFault("ClRuleKamoku::Create", 1);
    std::unique_ptr<ClRuleKamoku> unconnected(ClRuleKamoku::Create());
    EXPECT_NE(unconnected, nullptr);  // the faults belong to the books
    ASSERT_EQ(Connect(), cr::kOk);
    EXPECT_EQ(ClRuleKamoku::Create(), nullptr);
    ASSERT_EQ(unconnected->AttachSetMgr(ClDataMgr::Inst()->GetSetMgr()), cr::kOk);
    ASSERT_EQ(unconnected->MoveReady(1, 0, 0, nullptr, nullptr, 0), cr::kOk);
    StKAMOKUSUMINFO record;
    EXPECT_EQ(unconnected->MoveNext(&record), 22);  // after 0 records
}

TEST_F(ClRuleKamokuTest, AnEmptyDataSetHasItsTotalLinesAtZero) {
    AddDataSet(3, "EMPTY", u8"空", 20180101, 20181231);
    ASSERT_EQ(Connect(), cr::kOk);
    std::vector<StKAMOKUSUMINFO> records = Sums(nullptr, "EMPTY");
    ASSERT_EQ(records.size(), 6u);
    for (const StKAMOKUSUMINFO& record : records) {
        EXPECT_EQ(FieldAt<std::uint8_t>(&record, 128), 1);
        EXPECT_EQ(SlotsAt(record, kDebitExcl), S({}));
        EXPECT_EQ(SlotsAt(record, kCreditIncl), S({}));
    }
}

TEST_F(ClRuleKamokuTest, ATotalBeyondTheRangeOfItsAmountsFails) {
    AddDataSet(3, "HUGE", u8"巨額", 20180101, 20181231);
    const std::int64_t half = std::numeric_limits<std::int64_t>::max() / 2 + 1;
    AddAccount(3, 11, 1110000, u8"a", 0x80800000u, 1);
    AddSums(3, 11, 1, half, 0, 0, 0);
    AddAccount(3, 12, 1120000, u8"b", 0x80800000u, 1);
    AddSums(3, 12, 1, half, 0, 0, 0);
    ASSERT_EQ(Connect(), cr::kOk);
    std::unique_ptr<ClRuleKamoku> rule = NewRule("HUGE");
    EXPECT_EQ(rule->MoveReady(1, 0, 0, nullptr, nullptr, 0), cr::kOverflow);
    std::int32_t count = 0;
    EXPECT_EQ(rule->GetSumCount(&count), cr::kNotReady);
}

TEST_F(ClRuleKamokuTest, AHierarchyThatLoopsIsCut) {
    AddDataSet(3, "LOOP", u8"循環", 20180101, 20181231);
    AddClassLine(0x10000001u, 0, u8"A", 1, true, 60);
    AddClassLine(0x10000002u, 0x10000001u, u8"B", 1, true, 61);
    Sql("UPDATE class_lines SET parent_code = 268435458 WHERE class_code = 268435457");
    AddAccount(3, 21, 1110000, u8"a", 0x10000001u, 1);
    AddSums(3, 21, 1, 40, 0, 40, 0);
    ASSERT_EQ(Connect(), cr::kOk);
    std::vector<StKAMOKUSUMINFO> records = Sums(nullptr, "LOOP");
    ASSERT_EQ(records.size(), 9u);
    EXPECT_EQ(SlotsAt(Line(records, 0x10000001u), kDebitExcl), S({{1, 40}}));
    EXPECT_EQ(SlotsAt(Line(records, 0x10000002u), kDebitExcl), S({{1, 40}}));
}

}  // namespace
