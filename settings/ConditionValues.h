#pragma once

#include "accounting_core/ClSysUser.h"
#include "platform/WinPathText.h"

#include <cstddef>
#include <cstdint>
#include <string>

// The fields of the condition sheet that the condition file remembers or is
// named by. The sheet keeps them with these types; the mapping travels
// beside them as the application's MappingList.
struct ConditionValues {
    // Name of the file: one per user, data set and target version.
    char UserId[ClSysUser::kUserIdSize] = {};  // current user, at most 64 bytes
    std::int32_t SelectedNo1 = 0;
    std::int32_t SelectedNo2 = 0;   // the selected data set
    std::int32_t TargetVersion = 0;  // 0 UG16, otherwise UG30

    // Last month of the aggregation period, a calendar month 1-12.
    std::int16_t EndMonth = 0;
    // 1 when tax-included amounts are aggregated, 0 when not.
    std::int16_t TaxIncluded = 0;
    // A third field of the sheet, always 0 (written as 0, read as 0).
    std::int16_t Reserved = 0;

    // The path of the report file shown on the conditions page.
    std::string OutputPath;
    // The path the condition file held when the sheet was set up (at most
    // 260 bytes), empty when none.
    char SavedOutputPath[WinPathText::kPathSize] = {};
    // Nonzero when the starting application passed OutputPath: that path is
    // used for the run but never remembered.
    std::int32_t OutputPathLocked = 0;
};
