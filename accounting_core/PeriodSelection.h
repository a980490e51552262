#pragma once

#include <array>

struct StFINDINFO;

// Which periods a summation delivers, from its criteria (field 17, the
// month, as the aggregation builds them: positions from the start to the end
// position, and the adjustment periods 15 and 18 when listed).
//
// Periods and the slots of the summary records:
//   0 opening, 1-12 the months of the fiscal year -> slots 0-12,
//   18 closing adjustments -> slot 13, 15 interim adjustments -> slot 14.
//
// A delivered slot holds the books' sums of its period; every other slot
// holds zero. Besides the periods the criteria select, the opening (0) and
// the months before the first selected month are always delivered: they
// make up the opening balance of the range, which the aggregation sums from
// slots 0 to start position - 1. Criteria that select no month (only an
// adjustment period) bring the opening alone. Without criteria every period
// is delivered.
class PeriodSelection {
public:
    static constexpr int kSlots = 15;

    // Every period.
    PeriodSelection();

    // The periods the criteria select; null criteria select every period.
    // False (and every period kept) when the criteria hold a condition on
    // anything but the month.
    bool Select(const StFINDINFO* criteria);

    bool Delivers(int slot) const { return slot >= 0 && slot < kSlots && delivered_[slot]; }

    // The slot of a period code, or -1 for a code that has none.
    static int SlotOfPeriod(int period);
    // The period code of a slot.
    static int PeriodOfSlot(int slot);

private:
    std::array<bool, kSlots> delivered_;
};
