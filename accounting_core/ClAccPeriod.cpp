#include "accounting_core/ClAccPeriod.h"

#include "accounting_core/ClAccConnect.h"
#include "accounting_core/CoreResult.h"

namespace {

struct Date {
    int year;
    int month;
    int day;
};

Date Split(std::int32_t yyyymmdd) { return {yyyymmdd / 10000, yyyymmdd % 10000 / 100, yyyymmdd % 100}; }

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsCalendarDate(std::int32_t yyyymmdd) {
    if (yyyymmdd <= 0) return false;
    Date date = Split(yyyymmdd);
    return date.year >= 1 && date.month >= 1 && date.month <= 12 && date.day >= 1 &&
           date.day <= DaysInMonth(date.year, date.month);
}

}  // namespace

ClAccPeriod* ClAccPeriod::Create() {
    ClAccConnect* connection = ClAccConnect::Connection();
    if (connection != nullptr && connection->Faults().Forced("ClAccPeriod::Create") != 0) return nullptr;
    return new ClAccPeriod();
}

ClAccPeriod::~ClAccPeriod() = default;

int ClAccPeriod::SetPeriod(std::int32_t firstDay, std::int32_t lastDay) {
    if (!IsCalendarDate(firstDay) || !IsCalendarDate(lastDay) || lastDay < firstDay) return core_result::kBadArgument;
    firstDay_ = firstDay;
    lastDay_ = lastDay;
    hasPeriod_ = true;
    return core_result::kOk;
}

int ClAccPeriod::GetClosingDayByEndDate(std::int32_t lastDay, int option, std::int32_t* closingDay) {
    if (closingDay == nullptr || option != 0 || !IsCalendarDate(lastDay)) return core_result::kBadArgument;
    Date date = Split(lastDay);
    *closingDay = date.day == DaysInMonth(date.year, date.month) ? kMonthEnd : date.day;
    return core_result::kOk;
}

int ClAccPeriod::SetClosingDay(std::int32_t closingDay) {
    if (closingDay < 1 || closingDay > kMonthEnd) return core_result::kBadArgument;
    closingDay_ = closingDay;
    return core_result::kOk;
}

int ClAccPeriod::GetAMonthByDate(std::int32_t date, std::int32_t* month, int option) {
    if (month == nullptr || option != 0 || !IsCalendarDate(date)) return core_result::kBadArgument;
    if (hasPeriod_ && (date < firstDay_ || date > lastDay_)) return core_result::kBadArgument;
    Date parts = Split(date);
    const bool closesAtMonthEnd = closingDay_ >= DaysInMonth(parts.year, parts.month);
    if (closesAtMonthEnd || parts.day <= closingDay_)
        *month = parts.month;
    else
        *month = parts.month % 12 + 1;
    return core_result::kOk;
}
