#include "accounting_core/PeriodSelection.h"

#include "accounting_core/FindCriteria.h"

namespace {

constexpr int kClosingAdjustments = 18;
constexpr int kInterimAdjustments = 15;
constexpr int kLastMonth = 12;

}  // namespace

PeriodSelection::PeriodSelection() { delivered_.fill(true); }

bool PeriodSelection::Select(const StFINDINFO* criteria) {
    delivered_.fill(true);
    if (criteria == nullptr) return true;
    FindCriteria parsed;
    if (!parsed.Parse(criteria)) return false;
    for (const FindCriteria::Alternative& alternative : parsed.Alternatives()) {
        for (const FindCriteria::Condition& condition : alternative) {
            if (condition.field != FindCriteria::kFieldMonth || condition.valueType == FindCriteria::kClassCode)
                return false;
        }
    }

    std::array<bool, kSlots> selected{};
    for (int slot = 0; slot < kSlots; ++slot) {
        const int period = PeriodOfSlot(slot);
        selected[slot] = parsed.Evaluate([period](const FindCriteria::Condition& condition) {
            return FindCriteria::Compare(period, condition.comparison, condition.value);
        });
    }
    // With no month selected (only adjustment periods), the opening alone
    // comes along.
    int firstMonth = 1;
    for (int month = kLastMonth; month >= 1; --month) {
        if (selected[month]) firstMonth = month;
    }
    for (int position = 0; position < firstMonth; ++position) selected[position] = true;
    delivered_ = selected;
    return true;
}

int PeriodSelection::SlotOfPeriod(int period) {
    if (period >= 0 && period <= kLastMonth) return period;
    if (period == kClosingAdjustments) return 13;
    if (period == kInterimAdjustments) return 14;
    return -1;
}

int PeriodSelection::PeriodOfSlot(int slot) {
    if (slot == 13) return kClosingAdjustments;
    if (slot == 14) return kInterimAdjustments;
    return slot;
}
