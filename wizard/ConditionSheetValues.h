#pragma once

#include <cstdint>
#include <string>

#include "settings/ConditionValues.h"

// The condition block of the condition sheet: what the run sequence puts in
// before the sheet opens, what the conditions page edits, and what the run
// reads back after Execute. The fields the condition file remembers or is
// named by (UserId, SelectedNo1, SelectedNo2, TargetVersion, EndMonth,
// TaxIncluded, the reserved field, OutputPath, SavedOutputPath,
// OutputPathLocked) are those of ConditionValues, so that the block goes to
// LoadConditions and SaveConditions as it is. Texts are code page 932.
struct ConditionSheetValues : ConditionValues {
    // Calendar month 1-12 of the first month of the aggregation period:
    // always the fiscal year's first month, shown but not edited.
    std::int16_t StartMonth = 0;
    // Position (1-12 from the fiscal year's first month) of the month from
    // which the data set holds entries.
    std::int16_t IntroMonthPos = 0;
    // Nonzero: the main-items page names the capital total "純資産の部合計",
    // otherwise "資本の部合計".
    std::int16_t NetAssetsCaption = 0;
    // First and last day of the fiscal year, yyyymmdd.
    std::int32_t PeriodStart = 0;
    std::int32_t PeriodEnd = 0;

    // The conditions page's company-name text (a blank and the data set's
    // name) and accounting-period text (" yyyy/mm/dd～yyyy/mm/dd"), built
    // by the run sequence.
    std::string CompanyNameText;
    std::string PeriodText;
};
