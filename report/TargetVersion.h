#pragma once

#include <cstdint>

// The version of the tax-form application's format a run writes for,
// decided once from the last day of the data set's fiscal period and handed
// around as a flag: nonzero for UG30.
class TargetVersion {
public:
    static constexpr std::int32_t kUg30FirstPeriodEnd = 20180401;

    static bool IsUg30(std::int32_t periodEnd) { return periodEnd >= kUg30FirstPeriodEnd; }
    // First item number of the monthly-sales items: 36 for UG16, 37 for UG30.
    static int MonthlyItemBase(bool ug30) { return 36 + (ug30 ? 1 : 0); }
    // Last item number of the version: 43 for UG16, 44 for UG30.
    static int LastItemNo(bool ug30) { return MonthlyItemBase(ug30) + 7; }
};
