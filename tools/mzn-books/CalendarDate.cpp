#include "tools/mzn-books/CalendarDate.h"

bool CalendarDate::IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int CalendarDate::DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool CalendarDate::IsValid(std::int32_t date) {
    const int year = Year(date);
    const int month = Month(date);
    const int day = Day(date);
    return year >= kFirstYear && year <= kLastYear && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(year, month);
}

bool CalendarDate::Parse(std::string_view text, std::int32_t& date) {
    if (text.size() != 8) return false;
    std::int32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    if (!IsValid(value)) return false;
    date = value;
    return true;
}

std::int32_t CalendarDate::AddYears(std::int32_t date, int years) {
    const int year = Year(date) + years;
    const int month = Month(date);
    int day = Day(date);
    if (day > DaysInMonth(year, month)) day = DaysInMonth(year, month);
    return Make(year, month, day);
}

int CalendarDate::MonthAfter(std::int32_t date, int offset) {
    return (Month(date) - 1 + offset) % 12 + 1;
}

int CalendarDate::YearOfMonthAfter(std::int32_t date, int offset) {
    return Year(date) + (Month(date) - 1 + offset) / 12;
}

std::string CalendarDate::Format(std::int32_t date) {
    std::string digits = std::to_string(date);
    if (digits.size() != 8) return digits;
    return digits.substr(0, 4) + "-" + digits.substr(4, 2) + "-" + digits.substr(6, 2);
}
