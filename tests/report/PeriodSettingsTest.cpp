#include "report/PeriodSettings.h"

#include <gtest/gtest.h>

#include "accounting_core/StDATAINFO.h"
#include "accounting_core/StFINDINFO.h"
#include "tests/support/BooksFixture.h"
#include "tests/support/CoreSession.h"

using Pair = std::array<std::int32_t, 2>;
using Bytes = std::array<unsigned char, 136>;

// The bytes of the criteria: entries of (comparison, value, link) at 34-byte steps, each of field 17 and type 2.
static Bytes Expected(std::initializer_list<std::array<std::uint8_t, 3>> entries) {
    Bytes bytes{};
    for (std::size_t at = 0; const auto& [comparison, value, link] : entries) {
        std::tie(bytes[at], bytes[at + 6], bytes[at + 10]) = std::tuple(17, comparison, 2);
        std::tie(bytes[at + 18], bytes[at + 30]) = std::tuple(value, link);
        at += 34;
    }
    return bytes;
}

static Bytes Built(std::int32_t start, std::int32_t end, int interim, std::int32_t from, std::int32_t to) {
    StDATAINFO dataSet{};
    std::tie(dataSet.PeriodStart, dataSet.PeriodEnd, dataSet.InterimClosing) = std::tuple(start, end, interim);
    Bytes bytes;
    bytes.fill(0xAA);
    PeriodSettings::BuildSumCriteria(reinterpret_cast<StFINDINFO*>(bytes.data()), dataSet, from, to);
    return bytes;
}

// The aggregation's rows take months, positions and criteria through the books; these are the turns of the year.
TEST(PeriodSettings, MonthsPositionsAndCriteriaFollowTheYear) {
    // Last month + 100 across a calendar year's end; closing on the 20th, March 21 belongs to April.
    for (const auto& [period, months] : {std::pair<Pair, Pair>{{20180321, 20190320}, {4, 103}}, {{20180401, 20180430},
             {4, 4}}}) {
        Pair read{};
        EXPECT_TRUE(PeriodSettings::FiscalMonths(period[0], period[1], &read[0], &read[1]));
        EXPECT_EQ(read, months) << period[0];
    }
    // {first month, last month code, from, to}: {start position, end position}.
    for (const auto& [range, expected] : {std::pair<std::array<std::int32_t, 4>, Pair>{{4, 103, 4, 4}, {1, 1}},
             {{4, 103, 5, 12}, {2, 9}}, {{4, 103, 2, 1}, {11, 10}}, {{4, 103, 4, 3}, {1, 12}}, {{4, 9, 4, 9}, {1, 6}},
             {{1, 12, 12, 12}, {12, 12}}}) {
        Pair positions{-1, -1};
        PeriodSettings::MonthPositions(range[0], range[1], range[2], range[3], &positions[0], &positions[1]);
        EXPECT_EQ(positions, expected) << range[1] << ": " << range[2] << "-" << range[3];
    }
    // The interim adjustments up to position 6 of a year with an interim closing, the closing ones with its last month.
    EXPECT_EQ(Built(20180401, 20190331, 0, 4, 3), Expected({{4, 1, 1}, {6, 12, 2}, {1, 18, 0}}));
    EXPECT_EQ(Built(20180401, 20190331, 1, 4, 10), Expected({{4, 1, 1}, {6, 7, 0}}));
    EXPECT_EQ(Built(20180401, 20180930, 1, 4, 9), Expected({{4, 1, 1}, {6, 6, 2}, {1, 15, 2}, {1, 18, 0}}));
}

class PeriodSettingsBooksTest : public BooksFixture {};

TEST_F(PeriodSettingsBooksTest, TheTaxDefaultFollowsTheSelectedDataSetAndFailuresOfTheCoreGiveNothing) {
    AddDataSet(1, "D0001", u8"税抜", 20180401, 20190331, 0, 1, 1, 0);
    AddDataSet(2, "D0002", u8"税込", 20180401, 20190331, 0, 1, 1, 1);
    SetCurrentUser(u8"tester");
    ASSERT_EQ(Connect(), 0);
    for (int selected : {1, 2, 0}) {
        SelectFor(u8"tester", 0, selected == 0 ? 2 : selected);
        if (selected == 0) {  // neither the tax settings nor a period object
            AddFault("ClSetShohizei::Get", 8);
            AddFault("ClAccPeriod::Create", 1);
            CoreSession::End();
            ASSERT_EQ(Connect(), 0);
        }
        const PeriodSettings::TaxIncludedSetting setting = PeriodSettings::TaxIncludedDefault();
        EXPECT_EQ(std::pair(setting.ok, setting.taxIncluded), std::pair(selected != 0, selected == 2)) << selected;
    }
    Pair months{77, 88};  // without a period object the months stay as they were
    EXPECT_FALSE(PeriodSettings::FiscalMonths(20180401, 20190331, &months[0], &months[1]) || (months != Pair{77, 88}));
}
