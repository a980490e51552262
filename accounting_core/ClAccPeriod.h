#pragma once

#include <cstdint>

// Month arithmetic of a fiscal period under a closing day. Dates are
// yyyymmdd integers.
//
// The closing day is the day of the month on which a company closes its
// monthly books: a date after it belongs to the next month. 31 stands for
// the month end: so does any closing day at or after a month's last day, so
// that a month-end company's February 28 or April 30 closes its month.
// With a 20th closing day, December 21 to January 20 form January.
class ClAccPeriod {
public:
    static constexpr int kMonthEnd = 31;

    // A new period object, or nullptr when "ClAccPeriod::Create" is forced.
    // The only way to make one, so that creation failures can be forced.
    static ClAccPeriod* Create();
    virtual ~ClAccPeriod();

    // 0, or kBadArgument when a date is not a calendar date or last < first.
    int SetPeriod(std::int32_t firstDay, std::int32_t lastDay);
    // The closing day that a fiscal period ending on lastDay implies: the
    // day of lastDay, or 31 when lastDay is the last day of its month.
    // Option 0 is the only one this core knows. kBadArgument for a date
    // that is not a calendar date.
    int GetClosingDayByEndDate(std::int32_t lastDay, int option, std::int32_t* closingDay);
    // 0, or kBadArgument outside 1..31. The initial closing day is 31.
    int SetClosingDay(std::int32_t closingDay);
    // The month (1..12) that a date belongs to under the closing day.
    // kBadArgument for a date that is not a calendar date, or, once a period
    // is set, a date outside it. Option 0 is the only one this core knows.
    int GetAMonthByDate(std::int32_t date, std::int32_t* month, int option);

private:
    ClAccPeriod() = default;

    std::int32_t firstDay_ = 0;
    std::int32_t lastDay_ = 0;
    bool hasPeriod_ = false;
    std::int32_t closingDay_ = kMonthEnd;
};
