#pragma once

#include <cstdint>
#include <string>

#include "report/MappedAccount.h"
#include "report/ReportItem.h"

struct ConditionSheetValues;

// What the run hands the condition sheet and reads back from it.
struct SheetConditions {
    // Inputs, set by the run before the sheet opens.
    char UserId[65] = {};
    std::int32_t SelectedNo1 = 0;
    std::int32_t SelectedNo2 = 0;
    std::string OutputPath;        // empty, or the caller's path
    std::int32_t PeriodStart = 0;
    std::int32_t PeriodEnd = 0;
    std::int16_t IntroMonthPos = 0;
    std::int16_t NetAssetsCaption = 0;
    bool ug30 = false;
    std::string CompanyNameText;   // " %s", at most 50 bytes
    std::string PeriodText;        // " %04d/%02d/%02d～%04d/%02d/%02d"
    MappingList* mapping = nullptr;
    ItemList* items = nullptr;

    // Outputs, valid when the sheet returned ConditionSheetModel::kExecuted.
    std::int16_t StartMonth = 0;
    std::int16_t EndMonth = 0;
    std::int16_t TaxIncluded = 0;

    // Puts the inputs into the sheet's condition block.
    void CopyInputsTo(ConditionSheetValues& values) const;
    // Reads the outputs back after the sheet was executed.
    void TakeOutputsFrom(const ConditionSheetValues& values);
};

