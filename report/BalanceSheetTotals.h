#pragma once

#include "report/TargetVersion.h"

// The three balance-sheet totals of the statement: assets, liabilities and
// the capital total just before the monthly items. They have no control of
// their own on the main-items page, which shows fixed texts for them.
class BalanceSheetTotals {
public:
    // 20, 30 and 35 on UG16; one higher on UG30, which adds a total above.
    static int AssetsItem(bool ug30) { return 20 + (ug30 ? 1 : 0); }
    static int LiabilitiesItem(bool ug30) { return 30 + (ug30 ? 1 : 0); }
    static int CapitalItem(bool ug30) { return TargetVersion::MonthlyItemBase(ug30) - 1; }

    static constexpr const char* kAssetsCaption = "資産の部合計";
    static constexpr const char* kLiabilitiesCaption = "負債の部合計";
    // The capital total is named by the data set's net-assets flag.
    static const char* CapitalCaption(bool netAssets) { return netAssets ? "純資産の部合計" : "資本の部合計"; }
};
