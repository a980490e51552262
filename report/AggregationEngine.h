#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "accounting_core/StKAMOKUSUMINFO.h"
#include "report/FixedAmount.h"
#include "report/MappedAccount.h"
#include "report/MappingIndex.h"
#include "report/ReportItem.h"

class ClRuleKamoku;
class ProgressSink;
class WalkedAccounts;
struct StDATAINFO;
struct StFINDINFO;

// Turns the period sums of the selected data set into the amounts of the
// report items: every account's balance for the period goes into each item
// the MappingList maps it to, ten statement totals are captured on the way,
// and items mapped to a TotalKey finally get their total.
//
// The summation rule is created by the first Aggregate and deleted when a
// walk has finished; a failure while reading the sums leaves it held for the
// next Aggregate, and the destructor deletes it. Amounts are added to what
// the items hold: they start at zero because the items are loaded fresh for
// each run.
class AggregationEngine {
public:
    // Why the last Aggregate returned 0.
    enum class Reason {
        kNone,
        kBadArguments,     // no criteria or data set, or positions outside the fiscal year
        kRuleNotCreated,   // the summation rule could not be made
        kSumCountFailed,   // GetSumCount failed (also after a failed MoveReady)
        kMovePosFailed,    // SetMovePos failed
        kMoveNextFailed,   // the walk ended with a code other than the end of the sums
        kEndedEarly,       // the sums ended before the walk had the records GetSumCount gave
        kOverflow,         // a balance reached 10^14 yen, or an amount left the 64-bit range
    };
    struct Failure {
        Reason reason = Reason::kNone;
        int coreResult = 0;           // the failing call's result, for the core's failures
        std::int32_t accountCode = 0; // kOverflow: the code of the account (0 for a total line)
        std::string accountName;      // kOverflow: its name (code page 932), or the TotalKey
    };

    // The ten statement totals captured during the walk.
    static constexpr int kTotalSlots = 10;

    // progress may be null (no progress shown); mapping and items are not
    // owned and must outlive the engine's use.
    AggregationEngine(ProgressSink* progress, const MappingList* mapping, ItemList* items, bool ug30);
    virtual ~AggregationEngine();
    AggregationEngine(const AggregationEngine&) = delete;
    AggregationEngine& operator=(const AggregationEngine&) = delete;

    // 1 when every item holds its results, 0 on failure (LastFailure says
    // why). conditions: the summation criteria of PeriodSettings::
    // BuildSumCriteria (four entries); dataSet: the selected data set.
    int Aggregate(bool taxIncluded, const StFINDINFO* conditions, const StDATAINFO* dataSet);

    // Every account the next Aggregate walks is added there with its
    // balance (nullptr: none). Not owned.
    void SetWalkedAccounts(WalkedAccounts* accounts) { walked_ = accounts; }

    const Failure& LastFailure() const { return failure_; }
    // Whether a summation rule is held (after a failed walk).
    bool HoldsRule() const { return rule_ != nullptr; }

private:
    // The period of the aggregation as the walk uses it.
    struct Period {
        int start = 0;         // P: first month position of the range
        int end = 0;           // Q: last month position of the range
        int slots = 0;         // K before the interim adjustments: slots P..K-1 are summed
        bool closing = false;  // the closing adjustments (slot 13) belong to the period
        bool interimAtEnd = false;  // slot 14 is added and K becomes 15
        int intro = 0;         // U: position of the first month of use
    };

    bool ReadPeriod(const StFINDINFO* conditions, const StDATAINFO& dataSet, Period* period) const;
    bool AttachRule();
    bool Walk(std::int32_t count, bool taxIncluded, const Period& period);
    bool AggregateRecord(bool taxIncluded, const Period& period);
    bool Balance(const Period& period, int* slotCount, FixedAmount* balance);
    void Capture(const FixedAmount& balance);
    bool AddToItems(const FixedAmount& balance, int slotCount, const Period& period);
    bool AddToMonths(ReportItem& item, int slotCount, const Period& period);
    bool ApplyTotals();
    void SetItemValue(std::int16_t itemNo, std::int64_t value);
    bool SetRemainder(std::int16_t itemNo, int totalSlot, int firstItemNo, int lastItemNo, const char* key);

    // Records the reason; 0, the result of a failed Aggregate.
    int Fail(Reason reason, int coreResult = 0);
    // An overflow while adding the current record; false.
    bool FailOverflow();
    // An overflow while applying a total; false.
    bool FailTotal(const char* key);
    void Advance(std::int16_t from, std::int16_t to);
    int MonthlyItemBase() const;
    void Pulse();

    ProgressSink* progress_;
    const MappingList* mapping_;
    MappingList::const_iterator mappingCursor_;
    ItemList* items_;
    ItemList::iterator itemCursor_;
    std::int32_t ug30_;
    std::unique_ptr<ClRuleKamoku> rule_;

    MappingIndex index_;
    WalkedAccounts* walked_ = nullptr;
    Failure failure_;
    // Buffers of the walk, kept for the whole call: the record the rule
    // fills, its debit and credit slots of the chosen tax setting, and the
    // captured totals.
    StKAMOKUSUMINFO record_{};
    std::int64_t debit_[StKAMOKUSUMINFO::kSlots] = {};
    std::int64_t credit_[StKAMOKUSUMINFO::kSlots] = {};
    FixedAmount totals_[kTotalSlots];
};
