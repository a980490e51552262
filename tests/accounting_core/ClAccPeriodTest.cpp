#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "accounting_core/ClAccPeriod.h"
#include "accounting_core/CoreResult.h"

namespace {

namespace cr = core_result;

constexpr int kRefused = -1;

// The month of dates under the closing day that a period's last day implies, the way the aggregation asks for it.
TEST(ClAccPeriodTest, MonthOfADateUnderTheClosingDayOfThePeriodsEnd) {
    struct Case {
        std::int32_t first, last;
        int closingDay;                                    // implied by the last day
        std::vector<std::pair<std::int32_t, int>> months;  // date, month (kRefused outside the period)
    };
    const Case cases[] = {
        {20170401, 20180331, 31,
         {{20170401, 4}, {20171231, 12}, {20180101, 1}, {20180331, 3}, {20170331, kRefused}, {20180401, kRefused}}},
        {20170301, 20180228, 31, {{20170331, 3}, {20180228, 2}}},
        {20150301, 20160229, 31, {{20160229, 2}}},  // leap years: every fourth,
        {18990301, 19000228, 31, {{19000228, 2}}},  // but not every hundredth,
        {19990301, 20000229, 31, {{20000229, 2}}},  // unless it is a four-hundredth
        {20180101, 20181231, 31, {{20180131, 1}}},
        {20170321, 20180320, 20,
         {{20170321, 4}, {20170420, 4}, {20171220, 12}, {20171221, 1}, {20180120, 1}, {20180320, 3}}},
        {20170228, 20180227, 27, {{20170228, 3}}},
    };
    for (const Case& c : cases) {
        std::unique_ptr<ClAccPeriod> period(ClAccPeriod::Create());
        std::int32_t closingDay = 0;
        ASSERT_EQ(period->SetPeriod(c.first, c.last), cr::kOk) << c.first;
        ASSERT_EQ(period->GetClosingDayByEndDate(c.last, 0, &closingDay), cr::kOk);
        EXPECT_EQ(closingDay, c.closingDay) << c.last;
        ASSERT_EQ(period->SetClosingDay(closingDay), cr::kOk);
        for (auto [date, expected] : c.months) {
            std::int32_t month = 0;
            const int result = period->GetAMonthByDate(date, &month, 0);
            EXPECT_EQ(result == cr::kOk ? month : result == cr::kBadArgument ? kRefused : result, expected) << date;
        }
    }
}

TEST(ClAccPeriodTest, RefusesWhatIsNoDate) {
    std::unique_ptr<ClAccPeriod> period(ClAccPeriod::Create());
    std::int32_t value = 0;
    for (std::int32_t day : {20170230, 20170132, 20171301, 20170001, 20170400, 20190229, 19000229, 101, 0})
        EXPECT_EQ(period->SetPeriod(day, 20180331), cr::kBadArgument) << day;
    EXPECT_EQ(period->SetPeriod(20180331, 20170401), cr::kBadArgument);
    EXPECT_EQ(period->SetPeriod(20170401, 20170401), cr::kOk);
    EXPECT_EQ(period->GetClosingDayByEndDate(20180332, 0, &value), cr::kBadArgument);
    EXPECT_EQ(period->GetClosingDayByEndDate(20180331, 1, &value), cr::kBadArgument);
    EXPECT_EQ(period->GetClosingDayByEndDate(20180331, 0, nullptr), cr::kBadArgument);
    EXPECT_EQ(period->SetClosingDay(0), cr::kBadArgument);
    EXPECT_EQ(period->SetClosingDay(32), cr::kBadArgument);
    EXPECT_EQ(period->SetClosingDay(1), cr::kOk);
    EXPECT_EQ(period->GetAMonthByDate(20170401, nullptr, 0), cr::kBadArgument);
    EXPECT_EQ(period->GetAMonthByDate(20170401, &value, 1), cr::kBadArgument);
    EXPECT_EQ(period->GetAMonthByDate(20170431, &value, 0), cr::kBadArgument);
}

}  // namespace
