#pragma once

#include <cstdint>

struct StDATAINFO;
struct StFINDINFO;

// The months of the fiscal year of a data set, the summation criteria of an
// aggregation period and the default of the tax-included setting.
//
// Positions count the months of the fiscal year: 1 is its first month, 12
// its last, 0 the opening amounts. Two period codes name the adjustment
// periods: 15 the interim-closing adjustments, 18 the closing adjustments.
class PeriodSettings {
public:
    // The summation criteria: four entries of 34 bytes.
    static constexpr int kCriteriaEntries = 4;
    static constexpr int kInterimAdjustments = 15;
    static constexpr int kClosingAdjustments = 18;

    struct TaxIncludedSetting {
        bool ok = false;           // the consumption-tax settings were read
        bool taxIncluded = false;  // the books are kept with tax included
    };

    // The calendar month in which the fiscal year starts (under the closing
    // day the period's last day implies) and the calendar month of its last
    // day, plus 100 when the year runs across a calendar year end (12 for a
    // January-December year, 103 for April-March). False, and both outputs
    // untouched, when no period object can be made.
    static bool FiscalMonths(std::int32_t periodStart, std::int32_t periodEnd, std::int32_t* fiscalFirstMonth,
                             std::int32_t* fiscalLastMonthCode);

    // The positions of StartMonth and EndMonth (calendar months) in the
    // fiscal year. Months outside the year are the period check's to refuse.
    static void MonthPositions(std::int32_t fiscalFirstMonth, std::int32_t fiscalLastMonthCode,
                               std::int32_t startMonth, std::int32_t endMonth, std::int32_t* startPosition,
                               std::int32_t* endPosition);

    // Fills criteria (kCriteriaEntries entries, 136 bytes, zeroed first)
    // with the month conditions of the period from StartMonth to EndMonth of
    // the data set: positions from the start to the end position, or period
    // 15 when the data set has an interim closing and the end position is 6,
    // or period 18 when EndMonth is the fiscal year's last month.
    static void BuildSumCriteria(StFINDINFO* criteria, const StDATAINFO& dataSet, std::int32_t startMonth,
                                 std::int32_t endMonth);

    // Whether the selected data set keeps its books with tax included, from
    // its consumption-tax settings; (false, false) when they cannot be read.
    static TaxIncludedSetting TaxIncludedDefault();
};
