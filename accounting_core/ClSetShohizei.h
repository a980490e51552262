#pragma once

#include "accounting_core/ClSetBase.h"

struct StSHOHIZEIINFO;

// The consumption-tax settings of a data set (kind 4 of
// ClDataMgr::GetSetObject): the data set of SetCurDataID, or the selected one.
class ClSetShohizei : public ClSetBase {
public:
    // Zeroes the record and fills it: byte 5 is 1 when the data set keeps
    // its books with tax included (data_sets.tax_included), else 0.
    // The forced result of "ClSetShohizei::Get" leaves it zeroed.
    int Get(StSHOHIZEIINFO* info);
};
