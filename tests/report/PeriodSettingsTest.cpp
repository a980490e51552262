#include "report/PeriodSettings.h"

#include <gtest/gtest.h>

#include "accounting_core/StDATAINFO.h"
#include "accounting_core/StFINDINFO.h"
#include "tests/support/BooksFixture.h"
#include "tests/support/CoreSession.h"

using Pair = std::array<std::int32_t, 2>;
using Bytes = std::array<unsigned char, 136>;

// The criteria of a period: entries of (comparison, value, link) at 34-byte steps, each of field 17 and type 2.
static Bytes Criteria(std::int32_t start, std::int32_t end, int interim, std::int32_t from, std::int32_t to) {
    StDATAINFO dataSet{};
    std::tie(dataSet.PeriodStart, dataSet.PeriodEnd, dataSet.InterimClosing) = std::tuple(start, end, interim);
    Bytes bytes;
    bytes.fill(0xAA);
    PeriodSettings::BuildSumCriteria(reinterpret_cast<StFINDINFO*>(bytes.data()), dataSet, from, to);
    return bytes;
}
static Bytes Entries(std::initializer_list<std::array<std::uint8_t, 3>> entries) {
    Bytes bytes{};
    for (std::size_t at = 0; const auto& [comparison, value, link] : entries) {
        std::tie(bytes[at], bytes[at + 6], bytes[at + 10], bytes[at + 18], bytes[at + 30]) =
            std::tuple(17, comparison, 2, value, link);
        at += 34;
    }
    return bytes;
}

// The aggregation's rows take months, positions and criteria through the books; these are the turns of the year.
TEST(PeriodSettings, MonthsPositionsAndCriteriaFollowTheYear) {
    // Closing on the 20th, March 21 belongs to April; the last month + 100 across a calendar year's end.
    Pair months{};
    EXPECT_TRUE(PeriodSettings::FiscalMonths(20180321, 20190320, &months[0], &months[1]) && (months == Pair{4, 103}));
    EXPECT_TRUE(PeriodSettings::FiscalMonths(20180401, 20180430, &months[0], &months[1]) && (months == Pair{4, 4}));
    // {first month, last month code, from, to}: {start position, end position}.
    for (const auto& [range, expected] : {std::pair<std::array<std::int32_t, 4>, Pair>{{4, 103, 4, 4}, {1, 1}},
             {{4, 103, 5, 12}, {2, 9}}, {{4, 103, 2, 1}, {11, 10}}, {{4, 103, 4, 3}, {1, 12}}, {{4, 9, 4, 9}, {1, 6}},
             {{1, 12, 12, 12}, {12, 12}}}) {
        Pair positions{-1, -1};
        PeriodSettings::MonthPositions(range[0], range[1], range[2], range[3], &positions[0], &positions[1]);
        EXPECT_EQ(positions, expected) << range[1] << ": " << range[2] << "-" << range[3];
    }
    // The interim adjustments up to position 6 of a year with an interim closing, the closing ones with its last month.
    EXPECT_EQ(Criteria(20180401, 20190331, 0, 4, 3), Entries({{4, 1, 1}, {6, 12, 2}, {1, 18, 0}}));
    EXPECT_EQ(Criteria(20180401, 20190331, 1, 4, 10), Entries({{4, 1, 1}, {6, 7, 0}}));
    EXPECT_EQ(Criteria(20180401, 20180930, 1, 4, 9), Entries({{4, 1, 1}, {6, 6, 2}, {1, 15, 2}, {1, 18, 0}}));
}

class PeriodSettingsBooksTest : public BooksFixture {};

TEST_F(PeriodSettingsBooksTest, TheTaxDefaultIsTheSelectedDataSetsUnlessItsSettingsCannotBeRead) {
    AddDataSet(1, "D0001", u8"税込", 20180401, 20190331, 0, 1, 1, 1);
    SetCurrentUser(u8"tester");
    SelectFor(u8"tester", 0, 1);
    ASSERT_EQ(Connect(), 0);
    PeriodSettings::TaxIncludedSetting setting = PeriodSettings::TaxIncludedDefault();
    EXPECT_TRUE(setting.ok && setting.taxIncluded);
    AddFault("ClSetShohizei::Get", 8);
    CoreSession::End();
    ASSERT_EQ(Connect(), 0);
    setting = PeriodSettings::TaxIncludedDefault();
    EXPECT_FALSE(setting.ok || setting.taxIncluded);
}
