#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>

#include "accounting_core/CoreResult.h"
#include "accounting_core/StDATAINFO.h"
#include "accounting_core/StFINDINFO.h"
#include "report/PeriodSettings.h"
#include "tests/support/BooksFixture.h"

namespace {

struct Months {
    std::int32_t first = 0;
    std::int32_t lastCode = 0;
};

Months FiscalMonthsOf(std::int32_t start, std::int32_t end) {
    Months months;
    EXPECT_TRUE(PeriodSettings::FiscalMonths(start, end, &months.first, &months.lastCode));
    return months;
}

std::array<std::int32_t, 2> Positions(const Months& months, std::int32_t startMonth, std::int32_t endMonth) {
    std::array<std::int32_t, 2> positions{-1, -1};
    PeriodSettings::MonthPositions(months.first, months.lastCode, startMonth, endMonth, &positions[0], &positions[1]);
    return positions;
}

// The 136 bytes of the criteria, written from their layout: entries of
// (comparison, value, link) at 34-byte steps, field 17 and value type 2.
using CriteriaBytes = std::array<unsigned char, 136>;

CriteriaBytes Expected(std::initializer_list<std::array<std::uint8_t, 3>> entries) {
    CriteriaBytes bytes{};
    std::size_t at = 0;
    for (const auto& entry : entries) {
        bytes[at + 0] = 17;
        bytes[at + 6] = entry[0];
        bytes[at + 10] = 2;
        bytes[at + 18] = entry[1];
        bytes[at + 30] = entry[2];
        at += 34;
    }
    return bytes;
}

CriteriaBytes Built(std::int32_t start, std::int32_t end, int interim, std::int32_t startMonth,
                    std::int32_t endMonth) {
    StDATAINFO dataSet;
    std::memset(&dataSet, 0, sizeof dataSet);
    dataSet.PeriodStart = start;
    dataSet.PeriodEnd = end;
    dataSet.InterimClosing = interim;
    StFINDINFO criteria[PeriodSettings::kCriteriaEntries];
    std::memset(criteria, 0xAA, sizeof criteria);
    PeriodSettings::BuildSumCriteria(criteria, dataSet, startMonth, endMonth);
    static_assert(sizeof criteria == 136);
    CriteriaBytes bytes;
    std::memcpy(bytes.data(), criteria, bytes.size());
    return bytes;
}

}  // namespace

TEST(PeriodSettings, FiscalMonthsFollowTheClosingDayOfThePeriodEnd) {
    Months calendar = FiscalMonthsOf(20180101, 20181231);
    EXPECT_EQ(calendar.first, 1);
    EXPECT_EQ(calendar.lastCode, 12);
    Months aprilToMarch = FiscalMonthsOf(20180401, 20190331);
    EXPECT_EQ(aprilToMarch.first, 4);
    EXPECT_EQ(aprilToMarch.lastCode, 103);
    // Closing on the 20th: December 21 already belongs to January, March 21
    // to April.
    Months calendar20th = FiscalMonthsOf(20171221, 20181220);
    EXPECT_EQ(calendar20th.first, 1);
    EXPECT_EQ(calendar20th.lastCode, 12);
    Months aprilToMarch20th = FiscalMonthsOf(20180321, 20190320);
    EXPECT_EQ(aprilToMarch20th.first, 4);
    EXPECT_EQ(aprilToMarch20th.lastCode, 103);
}

TEST(PeriodSettings, MonthPositionsCountFromTheFirstMonthOfTheYear) {
    Months calendar = FiscalMonthsOf(20180101, 20181231);
    for (std::int32_t month = 1; month <= 12; ++month) {
        EXPECT_EQ(Positions(calendar, month, month)[0], month);
        EXPECT_EQ(Positions(calendar, 1, month)[1], month);
    }
    Months aprilToMarch = FiscalMonthsOf(20180401, 20190331);
    EXPECT_EQ(Positions(aprilToMarch, 4, 4), (std::array<std::int32_t, 2>{1, 1}));
    EXPECT_EQ(Positions(aprilToMarch, 4, 12)[1], 9);
    EXPECT_EQ(Positions(aprilToMarch, 4, 1)[1], 10);
    EXPECT_EQ(Positions(aprilToMarch, 4, 3)[1], 12);
    EXPECT_EQ(Positions(aprilToMarch, 5, 3)[0], 2);
    EXPECT_EQ(Positions(aprilToMarch, 2, 3)[0], 11);
    // A year that ends before its calendar year does (April to September).
    Months shortYear = FiscalMonthsOf(20180401, 20180930);
    EXPECT_EQ(shortYear.lastCode, 9);
    EXPECT_EQ(Positions(shortYear, 4, 9)[1], 6);
}

TEST(PeriodSettings, CriteriaSelectTheRangeAndTheAdjustmentPeriods) {
    // April to March, the whole year: the closing adjustments come along.
    EXPECT_EQ(Built(20180401, 20190331, 0, 4, 3), Expected({{4, 1, 1}, {6, 12, 2}, {1, 18, 0}}));
    // Up to December: the range alone.
    EXPECT_EQ(Built(20180401, 20190331, 0, 4, 12), Expected({{4, 1, 1}, {6, 9, 0}}));
    // Interim closing, up to position 6 (September): the interim adjustments.
    EXPECT_EQ(Built(20180401, 20190331, 1, 4, 9), Expected({{4, 1, 1}, {6, 6, 2}, {1, 15, 0}}));
    // Interim closing, but not up to position 6.
    EXPECT_EQ(Built(20180401, 20190331, 1, 4, 10), Expected({{4, 1, 1}, {6, 7, 0}}));
    // Position 6 is the last month of a six-month year with an interim
    // closing: both adjustment periods, four entries.
    EXPECT_EQ(Built(20180401, 20180930, 1, 4, 9), Expected({{4, 1, 1}, {6, 6, 2}, {1, 15, 2}, {1, 18, 0}}));
    // January to December from March on.
    EXPECT_EQ(Built(20180101, 20181231, 0, 3, 12), Expected({{4, 3, 1}, {6, 12, 2}, {1, 18, 0}}));
}

class PeriodSettingsBooksTest : public BooksFixture {};

TEST_F(PeriodSettingsBooksTest, NoPeriodObjectLeavesTheMonthsAsTheyWere) {
    AddSelectedDataSet();
    AddFault("ClAccPeriod::Create", 1);
    ASSERT_EQ(Connect(), core_result::kOk);
    std::int32_t first = 77;
    std::int32_t lastCode = 88;
    EXPECT_FALSE(PeriodSettings::FiscalMonths(20180401, 20190331, &first, &lastCode));
    EXPECT_EQ(first, 77);
    EXPECT_EQ(lastCode, 88);

    // The criteria are then built from zero months: positions relative to
    // month 0, still well-formed entries.
    StDATAINFO dataSet;
    std::memset(&dataSet, 0, sizeof dataSet);
    dataSet.PeriodStart = 20180401;
    dataSet.PeriodEnd = 20190331;
    StFINDINFO criteria[PeriodSettings::kCriteriaEntries];
    PeriodSettings::BuildSumCriteria(criteria, dataSet, 4, 3);
    EXPECT_EQ(FieldAt<std::int16_t>(&criteria[0], 18), 5);
    EXPECT_EQ(FieldAt<std::int16_t>(&criteria[1], 18), 4);
    EXPECT_EQ(FieldAt<std::int16_t>(&criteria[1], 30), 0);
}

TEST_F(PeriodSettingsBooksTest, TaxIncludedDefaultFollowsTheSelectedDataSet) {
    AddDataSet(1, "D0001", u8"税抜", 20180401, 20190331, 0, 1, 1, 0);
    AddDataSet(2, "D0002", u8"税込", 20180401, 20190331, 0, 1, 1, 1);
    SetCurrentUser(u8"tester");
    SelectFor(u8"tester", 0, 2);
    ASSERT_EQ(Connect(), core_result::kOk);
    PeriodSettings::TaxIncludedSetting setting = PeriodSettings::TaxIncludedDefault();
    EXPECT_TRUE(setting.ok);
    EXPECT_TRUE(setting.taxIncluded);

    SelectFor(u8"tester", 0, 1);
    setting = PeriodSettings::TaxIncludedDefault();
    EXPECT_TRUE(setting.ok);
    EXPECT_FALSE(setting.taxIncluded);
}

TEST_F(PeriodSettingsBooksTest, UnreadableTaxSettingsGiveOffAndNotOk) {
    AddDataSet(1, "D0001", u8"税込", 20180401, 20190331, 0, 1, 1, 1);
    SetCurrentUser(u8"tester");
    SelectFor(u8"tester", 0, 1);
    AddFault("ClSetShohizei::Get", 8);
    ASSERT_EQ(Connect(), core_result::kOk);
    PeriodSettings::TaxIncludedSetting setting = PeriodSettings::TaxIncludedDefault();
    EXPECT_FALSE(setting.ok);
    EXPECT_FALSE(setting.taxIncluded);
}
