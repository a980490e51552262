#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "accounting_core/ClAccPeriod.h"
#include "accounting_core/CoreResult.h"

namespace {

using namespace core_result;

constexpr int kRefused = -1;

// The month of dates under the closing day that a period's last day implies, the way the aggregation asks for it.
TEST(ClAccPeriodTest, MonthOfADateUnderTheClosingDayOfThePeriodsEnd) {
    // first and last day of the period, the closing day the last one implies, dates and their months
    const std::tuple<std::int32_t, std::int32_t, int, std::vector<std::pair<std::int32_t, int>>> cases[] = {
        {20170401, 20180331, 31,
         {{20170401, 4}, {20171231, 12}, {20180101, 1}, {20180331, 3}, {20170331, kRefused}, {20180401, kRefused}}},
        {20150301, 20160229, 31, {{20160229, 2}}},  // leap years: every fourth,
        {18990301, 19000228, 31, {{19000228, 2}}},  // but not every hundredth,
        {19990301, 20000229, 31, {{20000229, 2}}},  // unless it is a four-hundredth
        {20170321, 20180320, 20,
         {{20170321, 4}, {20170420, 4}, {20171220, 12}, {20171221, 1}, {20180120, 1}, {20180320, 3}}},
        {20170228, 20180227, 27, {{20170228, 3}}},
    };
    for (const auto& [first, last, closing, months] : cases) {
        std::unique_ptr<ClAccPeriod> period(ClAccPeriod::Create());
        std::int32_t closingDay = 0;
        ASSERT_EQ(period->SetPeriod(first, last), kOk) << first;
        ASSERT_EQ(period->GetClosingDayByEndDate(last, 0, &closingDay), kOk);
        EXPECT_EQ(closingDay, closing) << last;
        ASSERT_EQ(period->SetClosingDay(closingDay), kOk);
        for (auto [date, expected] : months) {
            std::int32_t month = 0;
            const int result = period->GetAMonthByDate(date, &month, 0);
            EXPECT_EQ(result == kOk ? month : result == kBadArgument ? kRefused : result, expected) << date;
        }
    }
}

TEST(ClAccPeriodTest, RefusesWhatIsNoDate) {
    std::unique_ptr<ClAccPeriod> period(ClAccPeriod::Create());
    std::int32_t value = 0;
    for (std::int32_t day : {20170230, 20170132, 20171301, 20170001, 20170400, 20190229, 19000229, 101, 0})
        EXPECT_EQ(period->SetPeriod(day, 20180331), kBadArgument) << day;
    // A reversed period, one-day ones (year 1 too); no day 32, no option 1, no null; closing days 1 to 31; no 4/31.
    EXPECT_EQ(
        (std::vector{period->SetPeriod(20180331, 20170401), period->SetPeriod(10101, 10101),
                     period->SetPeriod(20170401, 20170401), period->GetClosingDayByEndDate(20180332, 0, &value),
                     period->GetClosingDayByEndDate(20180331, 1, &value),
                     period->GetClosingDayByEndDate(20180331, 0, nullptr), period->SetClosingDay(0),
                     period->SetClosingDay(32), period->SetClosingDay(1), period->GetAMonthByDate(20170401, nullptr, 0),
                     period->GetAMonthByDate(20170401, &value, 1), period->GetAMonthByDate(20170431, &value, 0)}),
        (std::vector{kBadArgument, kOk, kOk, kBadArgument, kBadArgument, kBadArgument, kBadArgument, kBadArgument, kOk,
                     kBadArgument, kBadArgument, kBadArgument}));
}

}  // namespace
