#include "report/PeriodSettings.h"

#include <cstddef>
#include <cstring>
#include <memory>

#include "accounting_core/ClAccPeriod.h"
#include "accounting_core/ClDataMgr.h"
#include "accounting_core/ClSetData.h"
#include "accounting_core/ClSetShohizei.h"
#include "accounting_core/StDATAINFO.h"
#include "accounting_core/FindCriteria.h"
#include "accounting_core/StFINDINFO.h"
#include "accounting_core/StSHOHIZEIINFO.h"

namespace {

constexpr std::int32_t kInterimEndPosition = 6;

// The criteria carry 16-bit values: only the low half of the entry's value
// field is written, the rest stays zero.
void SetEntry(StFINDINFO& entry, std::int16_t comparison, std::int32_t value, std::int16_t link) {
    entry.FieldCode = FindCriteria::kFieldMonth;
    entry.Comparison = comparison;
    entry.ValueType = FindCriteria::kShort;
    const auto shortValue = static_cast<std::int16_t>(value);
    std::memcpy(reinterpret_cast<unsigned char*>(&entry) + offsetof(StFINDINFO, Value), &shortValue,
                sizeof shortValue);
    entry.Link = link;
}

}  // namespace

bool PeriodSettings::FiscalMonths(std::int32_t periodStart, std::int32_t periodEnd, std::int32_t* fiscalFirstMonth,
                                  std::int32_t* fiscalLastMonthCode) {
    std::int32_t firstMonth = periodStart % 10000 / 100;
    const std::int32_t lastMonth = periodEnd % 10000 / 100;

    std::unique_ptr<ClAccPeriod> period(ClAccPeriod::Create());
    if (!period) return false;
    // A company that closes its months on the 20th starts its fiscal year in
    // the month after the calendar month of its first day: the closing day
    // decides which month the first day belongs to.
    period->SetPeriod(periodStart, periodEnd);
    std::int32_t closingDay = ClAccPeriod::kMonthEnd;
    period->GetClosingDayByEndDate(periodEnd, 0, &closingDay);
    period->SetClosingDay(closingDay);
    period->GetAMonthByDate(periodStart, &firstMonth, 0);
    period.reset();

    *fiscalFirstMonth = firstMonth;
    *fiscalLastMonthCode = lastMonth < firstMonth ? lastMonth + 100 : lastMonth;
    return true;
}

void PeriodSettings::MonthPositions(std::int32_t fiscalFirstMonth, std::int32_t fiscalLastMonthCode,
                                    std::int32_t startMonth, std::int32_t endMonth, std::int32_t* startPosition,
                                    std::int32_t* endPosition) {
    const std::int32_t first = fiscalFirstMonth;
    const std::int32_t last = fiscalLastMonthCode % 100;
    const bool wrapped = fiscalLastMonthCode / 100 != 0;

    *startPosition = 1;
    *endPosition = 1;
    if (startMonth > first)
        *startPosition = startMonth - first + 1;
    else if (startMonth < first)
        *startPosition = startMonth - first + 13;

    // Months below the last month's calendar number lie after the turn of
    // the calendar year when the fiscal year wraps.
    if (endMonth == last)
        *endPosition = wrapped ? last - first + 13 : last - first + 1;
    else if (endMonth < last)
        *endPosition = wrapped ? endMonth - first + 13 : endMonth - first + 1;
    else
        *endPosition = endMonth - first + 1;
}

void PeriodSettings::BuildSumCriteria(StFINDINFO* criteria, const StDATAINFO& dataSet, std::int32_t startMonth,
                                      std::int32_t endMonth) {
    std::memset(criteria, 0, sizeof(StFINDINFO) * kCriteriaEntries);

    std::int32_t firstMonth = 0;
    std::int32_t lastMonthCode = 0;
    FiscalMonths(dataSet.PeriodStart, dataSet.PeriodEnd, &firstMonth, &lastMonthCode);
    std::int32_t startPosition = 0;
    std::int32_t endPosition = 0;
    MonthPositions(firstMonth, lastMonthCode, startMonth, endMonth, &startPosition, &endPosition);

    SetEntry(criteria[0], FindCriteria::kGreaterOrEqual, startPosition, FindCriteria::kAnd);
    SetEntry(criteria[1], FindCriteria::kLessOrEqual, endPosition, FindCriteria::kLast);
    int last = 1;
    if (dataSet.InterimClosing == 1 && endPosition == kInterimEndPosition) {
        criteria[last].Link = FindCriteria::kOr;
        SetEntry(criteria[++last], FindCriteria::kEqual, kInterimAdjustments, FindCriteria::kLast);
    }
    if (endMonth == lastMonthCode % 100) {
        criteria[last].Link = FindCriteria::kOr;
        SetEntry(criteria[++last], FindCriteria::kEqual, kClosingAdjustments, FindCriteria::kLast);
    }
}

PeriodSettings::TaxIncludedSetting PeriodSettings::TaxIncludedDefault() {
    ClDataMgr* data = ClDataMgr::Inst();
    auto* dataSets = static_cast<ClSetData*>(data->GetSetObject(ClDataMgr::kData, ClDataMgr::kShared));
    auto* taxSettings = static_cast<ClSetShohizei*>(data->GetSetObject(ClDataMgr::kShohizei, ClDataMgr::kShared));
    if (dataSets == nullptr || taxSettings == nullptr) return {};

    taxSettings->AttachSetMgr(data->GetSetMgr());
    StDATAINFO selected;
    std::memset(&selected, 0, sizeof selected);
    dataSets->GetSelectedInfo(&selected);
    char dataId[sizeof selected.DataId + 1] = {};
    std::memcpy(dataId, selected.DataId, sizeof selected.DataId);
    taxSettings->SetCurDataID(dataId);

    StSHOHIZEIINFO info;
    std::memset(&info, 0, sizeof info);
    if (taxSettings->Get(&info) != 0) return {};
    return {true, info.TaxIncludedBooks != 0};
}
