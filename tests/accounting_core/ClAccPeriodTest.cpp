#include <gtest/gtest.h>

#include <memory>

#include "accounting_core/ClAccConnect.h"
#include "accounting_core/ClAccPeriod.h"
#include "accounting_core/CoreResult.h"
#include "tests/support/BooksFixture.h"

namespace {

namespace cr = core_result;

using ClAccPeriodTest = BooksFixture;

// The month of a date under the closing day that the period's end implies,
// the way the aggregation asks for it.
struct Period {
    std::unique_ptr<ClAccPeriod> period{ClAccPeriod::Create()};
    std::int32_t closingDay = 0;

    Period(std::int32_t first, std::int32_t last) {
        EXPECT_EQ(period->SetPeriod(first, last), cr::kOk);
        EXPECT_EQ(period->GetClosingDayByEndDate(last, 0, &closingDay), cr::kOk);
        EXPECT_EQ(period->SetClosingDay(closingDay), cr::kOk);
    }
    int MonthOf(std::int32_t date) {
        std::int32_t month = -1;
        EXPECT_EQ(period->GetAMonthByDate(date, &month, 0), cr::kOk) << date;
        return month;
    }
};

TEST_F(ClAccPeriodTest, MonthEndClosingKeepsCalendarMonths) {
    Period year(20170401, 20180331);
    EXPECT_EQ(year.closingDay, ClAccPeriod::kMonthEnd);
    EXPECT_EQ(year.MonthOf(20170401), 4);
    EXPECT_EQ(year.MonthOf(20171231), 12);
    EXPECT_EQ(year.MonthOf(20180101), 1);
    EXPECT_EQ(year.MonthOf(20180228), 2);
    EXPECT_EQ(year.MonthOf(20180331), 3);

    // A year ending on the last day of February closes at month end too.
    Period february(20170301, 20180228);
    EXPECT_EQ(february.closingDay, ClAccPeriod::kMonthEnd);
    EXPECT_EQ(february.MonthOf(20170331), 3);
    Period leap(20150301, 20160229);
    EXPECT_EQ(leap.closingDay, ClAccPeriod::kMonthEnd);
    Period calendar(20180101, 20181231);
    EXPECT_EQ(calendar.MonthOf(20180101), 1);
}

TEST_F(ClAccPeriodTest, TwentiethClosingPutsThe21stIntoTheNextMonth) {
    Period year(20170321, 20180320);
    EXPECT_EQ(year.closingDay, 20);
    EXPECT_EQ(year.MonthOf(20170321), 4);
    EXPECT_EQ(year.MonthOf(20170420), 4);
    EXPECT_EQ(year.MonthOf(20171220), 12);
    EXPECT_EQ(year.MonthOf(20171221), 1);
    EXPECT_EQ(year.MonthOf(20171231), 1);
    EXPECT_EQ(year.MonthOf(20180120), 1);
    EXPECT_EQ(year.MonthOf(20180320), 3);
}

TEST_F(ClAccPeriodTest, AClosingDayAtOrAfterTheMonthsLastDayIsItsEnd) {
    std::unique_ptr<ClAccPeriod> period(ClAccPeriod::Create());
    std::int32_t month = 0;
    ASSERT_EQ(period->SetClosingDay(30), cr::kOk);
    EXPECT_EQ(period->GetAMonthByDate(20170430, &month, 0), cr::kOk);
    EXPECT_EQ(month, 4);
    EXPECT_EQ(period->GetAMonthByDate(20170531, &month, 0), cr::kOk);
    EXPECT_EQ(month, 6);
    EXPECT_EQ(period->GetAMonthByDate(20170228, &month, 0), cr::kOk);
    EXPECT_EQ(month, 2);
    std::int32_t closingDay = 0;
    EXPECT_EQ(period->GetClosingDayByEndDate(20180227, 0, &closingDay), cr::kOk);
    EXPECT_EQ(closingDay, 27);
}

TEST_F(ClAccPeriodTest, RefusesWhatIsNoDateOrOutsideThePeriod) {
    std::unique_ptr<ClAccPeriod> period(ClAccPeriod::Create());
    std::int32_t value = 0;
    EXPECT_EQ(period->SetPeriod(20180331, 20170401), cr::kBadArgument);
    EXPECT_EQ(period->SetPeriod(20170230, 20180331), cr::kBadArgument);
    EXPECT_EQ(period->GetClosingDayByEndDate(20180332, 0, &value), cr::kBadArgument);
    EXPECT_EQ(period->GetClosingDayByEndDate(20180331, 1, &value), cr::kBadArgument);
    EXPECT_EQ(period->SetClosingDay(0), cr::kBadArgument);
    EXPECT_EQ(period->SetClosingDay(32), cr::kBadArgument);
    EXPECT_EQ(period->GetAMonthByDate(20171301, &value, 0), cr::kBadArgument);
    ASSERT_EQ(period->SetPeriod(20170401, 20180331), cr::kOk);
    EXPECT_EQ(period->GetAMonthByDate(20170331, &value, 0), cr::kBadArgument);
    EXPECT_EQ(period->GetAMonthByDate(20180401, &value, 0), cr::kBadArgument);
    EXPECT_EQ(period->GetAMonthByDate(20180401, nullptr, 0), cr::kBadArgument);
}

TEST_F(ClAccPeriodTest, CreationCanBeForcedToFail) {
    AddFault("ClAccPeriod::Create", 1);
    std::unique_ptr<ClAccPeriod> beforeConnecting(ClAccPeriod::Create());
    EXPECT_NE(beforeConnecting, nullptr);
    ASSERT_EQ(Connect(), cr::kOk);
    EXPECT_EQ(ClAccPeriod::Create(), nullptr);
}

}  // namespace
