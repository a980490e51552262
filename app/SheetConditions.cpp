#include "app/SheetConditions.h"

#include <cstring>

#include "wizard/ConditionSheetValues.h"

void SheetConditions::CopyInputsTo(ConditionSheetValues& values) const {
    std::memcpy(values.UserId, UserId, sizeof values.UserId);
    values.SelectedNo1 = SelectedNo1;
    values.SelectedNo2 = SelectedNo2;
    values.OutputPath = OutputPath;
    values.PeriodStart = PeriodStart;
    values.PeriodEnd = PeriodEnd;
    values.IntroMonthPos = IntroMonthPos;
    values.NetAssetsCaption = NetAssetsCaption;
    values.CompanyNameText = CompanyNameText;
    values.PeriodText = PeriodText;
}

void SheetConditions::TakeOutputsFrom(const ConditionSheetValues& values) {
    StartMonth = values.StartMonth;
    EndMonth = values.EndMonth;
    TaxIncluded = values.TaxIncluded;
    OutputPath = values.OutputPath;
}
