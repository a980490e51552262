#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Days as the books keep them: integers yyyymmdd of the Gregorian calendar.
class CalendarDate {
public:
    static constexpr int kFirstYear = 1900;
    static constexpr int kLastYear = 9999;

    static std::int32_t Make(int year, int month, int day) { return year * 10000 + month * 100 + day; }
    static int Year(std::int32_t date) { return date / 10000; }
    static int Month(std::int32_t date) { return date / 100 % 100; }
    static int Day(std::int32_t date) { return date % 100; }

    static bool IsLeapYear(int year);
    static int DaysInMonth(int year, int month);
    // A day that exists, in the years kFirstYear to kLastYear.
    static bool IsValid(std::int32_t date);

    // Exactly eight digits naming a valid day.
    static bool Parse(std::string_view text, std::int32_t& date);

    // The same day years later; 29 February becomes 28 February when the
    // later year has no leap day.
    static std::int32_t AddYears(std::int32_t date, int years);

    // The calendar month (1-12) of month number offset after the month of
    // date: offset 0 is date's own month.
    static int MonthAfter(std::int32_t date, int offset);
    // The year of that month.
    static int YearOfMonthAfter(std::int32_t date, int offset);

    // "2024-03-31".
    static std::string Format(std::int32_t date);
};
