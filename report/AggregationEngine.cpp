#include "report/AggregationEngine.h"

#include <cstddef>
#include <cstring>

#include "accounting_core/ClDataMgr.h"
#include "accounting_core/ClLinkMgr.h"
#include "accounting_core/ClRuleKamoku.h"
#include "accounting_core/ClSetData.h"
#include "accounting_core/CoreResult.h"
#include "accounting_core/StDATAINFO.h"
#include "accounting_core/StFINDINFO.h"
#include "report/AccountKey.h"
#include "report/PeriodSettings.h"
#include "report/ProgressSink.h"
#include "report/TargetVersion.h"
#include "report/WalkedAccounts.h"

namespace {

constexpr int kLastMonthPosition = 12;
constexpr int kClosingSlot = 13;
constexpr int kInterimSlot = 14;
constexpr int kSlotsWithClosing = 14;   // K when the range ends with the year's closing adjustments
constexpr int kSlotsWithInterim = 15;   // K once the interim adjustments are added
constexpr int kFirstIgnoredInterimMonth = 7;  // with the interim adjustments, slots 7-12 feed no month
constexpr int kLastIgnoredInterimMonth = 12;
constexpr std::int16_t kOrLink = 2;
constexpr int kInterimEndPosition = 6;

// Items whose amounts the remainder totals leave out of their base total.
constexpr int kFirstAssetItem = 18;
constexpr int kLastAssetItem = 24;
constexpr int kFirstLiabilityItem = 26;
constexpr int kLastLiabilityItem = 29;

// The ten statement total lines captured during the walk. Every line but the
// profit before tax is taken only from a record flagged as a statement
// total (byte 127 = 1, byte 126 = 0).
struct TotalLine {
    std::uint32_t classCode;
    bool guarded;
    const char* key;
};
constexpr TotalLine kTotalLines[AggregationEngine::kTotalSlots] = {
    {0x40888000u, true, AccountKey::kUriageDaka},
    {0x40884000u, true, AccountKey::kUriageGenka},
    {0x40880008u, true, AccountKey::kUriageSouRieki},
    {0x40880000u, true, AccountKey::kEigyouSoneki},
    {0x40480000u, true, AccountKey::kTokubetuRieki},
    {0x40440000u, true, AccountKey::kTokubetuSonsitu},
    {0x40200080u, false, AccountKey::kZeibikimae},
    {0x80200000u, true, AccountKey::kSihon},
    {0x80800000u, true, AccountKey::kSisan},
    {0x80400000u, true, AccountKey::kFusai},
};
constexpr int kAssetsSlot = 8;
constexpr int kLiabilitiesSlot = 9;

int TotalSlotOfKey(const char* key) {
    for (int slot = 0; slot < AggregationEngine::kTotalSlots; ++slot)
        if (AccountKey::Equal(key, kTotalLines[slot].key)) return slot;
    return -1;
}

// The summation criteria carry 16-bit values.
int ShortValue(const StFINDINFO& entry) {
    std::int16_t value = 0;
    std::memcpy(&value, reinterpret_cast<const unsigned char*>(&entry) + offsetof(StFINDINFO, Value), sizeof value);
    return value;
}

bool Ok(FixedAmount::Status status) { return status == FixedAmount::Status::kOk; }

}  // namespace

AggregationEngine::AggregationEngine(ProgressSink* progress, const MappingList* mapping, ItemList* items, bool ug30)
    : progress_(progress),
      mapping_(mapping),
      items_(items),
      ug30_(ug30 ? 1 : 0),
      rule_(nullptr) {}

AggregationEngine::~AggregationEngine() = default;

int AggregationEngine::Aggregate(bool taxIncluded, const StFINDINFO* conditions, const StDATAINFO* dataSet) {
    failure_ = {};
    for (FixedAmount& total : totals_) total = FixedAmount::FromParts(0, 0);
    Period period;
    if (mapping_ == nullptr || items_ == nullptr || conditions == nullptr || dataSet == nullptr ||
        !ReadPeriod(conditions, *dataSet, &period))
        return Fail(Reason::kBadArguments);

    Advance(0, 100);
    if (!rule_ && !AttachRule()) return Fail(Reason::kRuleNotCreated);

    Advance(100, 200);
    // A failed MoveReady shows in GetSumCount, which then finds no sums.
    rule_->MoveReady(ClRuleKamoku::kSumByAccount, ClRuleKamoku::kNoDepartments, ClRuleKamoku::kDisplayAsBooked,
                     conditions, nullptr, ClRuleKamoku::kCurrentResults);
    std::int32_t count = 0;
    if (int result = rule_->GetSumCount(&count); result != core_result::kOk)
        return Fail(Reason::kSumCountFailed, result);
    Advance(200, 300);
    if (int result = rule_->SetMovePos(0); result != core_result::kOk) return Fail(Reason::kMovePosFailed, result);

    index_.Build(*mapping_, *items_);
    if (!Walk(count, taxIncluded, period)) return 0;

    Advance(300, 400);
    rule_->MoveFinish();
    rule_.reset();
    if (!ApplyTotals()) return 0;
    Advance(400, 500);
    return 1;
}

bool AggregationEngine::ReadPeriod(const StFINDINFO* conditions, const StDATAINFO& dataSet, Period* period) const {
    // The criteria are PeriodSettings::BuildSumCriteria's: entry 0 holds the
    // start position, entry 1 the end position, and the entries or-linked
    // behind it the interim adjustments, the closing adjustments or both (a
    // six-month year with an interim closing ends at position 6).
    period->start = ShortValue(conditions[0]);
    period->end = ShortValue(conditions[1]);
    if (period->start < 0 || period->start > kLastMonthPosition || period->end < 0 ||
        period->end > kLastMonthPosition)
        return false;
    period->slots = period->end + 1;
    for (int entry = 2; entry < PeriodSettings::kCriteriaEntries && conditions[entry - 1].Link == kOrLink; ++entry) {
        if (ShortValue(conditions[entry]) == PeriodSettings::kClosingAdjustments) {
            period->slots = kSlotsWithClosing;
            period->closing = true;
        }
    }
    period->interimAtEnd = dataSet.InterimClosing == 1 && period->end == kInterimEndPosition;
    period->intro = dataSet.IntroMonthPos;
    return true;
}

bool AggregationEngine::AttachRule() {
    rule_.reset(ClRuleKamoku::Create());
    if (!rule_) return false;
    ClDataMgr* data = ClDataMgr::Inst();
    rule_->AttachSetMgr(data->GetSetMgr());
    StDATAINFO selected;
    std::memset(&selected, 0, sizeof selected);
    if (auto* dataSets = static_cast<ClSetData*>(data->GetSetObject(ClDataMgr::kData, ClDataMgr::kShared)))
        dataSets->GetSelectedInfo(&selected);
    char dataId[sizeof selected.DataId + 1] = {};
    std::memcpy(dataId, selected.DataId, sizeof selected.DataId);
    rule_->SetCurDataID(dataId);
    rule_->AttachOptLink(ClLinkMgr::Inst()->GetOptLink());
    return true;
}

bool AggregationEngine::Walk(std::int32_t count, bool taxIncluded, const Period& period) {
    int result = core_result::kOk;
    for (std::int32_t n = 0; n < count; ++n) {
        std::memset(&record_, 0, sizeof record_);
        Pulse();
        result = rule_->MoveNext(&record_);
        if (result != core_result::kOk) break;
        // An overflow leaves the walk like a failed MoveNext: the rule stays
        // held and the items keep what was added before.
        if (!AggregateRecord(taxIncluded, period)) return false;
    }
    if (result == core_result::kOk) return true;
    // The end of the sums before the records the rule counted leaves the
    // amounts partial: a failure like any other.
    Fail(result == core_result::kEndOfSums ? Reason::kEndedEarly : Reason::kMoveNextFailed, result);
    return false;
}

bool AggregationEngine::AggregateRecord(bool taxIncluded, const Period& period) {
    // The amounts of the packed record are not aligned: they are copied out.
    const auto* bytes = reinterpret_cast<const unsigned char*>(&record_);
    const std::size_t debitAt =
        taxIncluded ? offsetof(StKAMOKUSUMINFO, DebitIncl) : offsetof(StKAMOKUSUMINFO, DebitExcl);
    const std::size_t creditAt =
        taxIncluded ? offsetof(StKAMOKUSUMINFO, CreditIncl) : offsetof(StKAMOKUSUMINFO, CreditExcl);
    std::memcpy(debit_, bytes + debitAt, sizeof debit_);
    std::memcpy(credit_, bytes + creditAt, sizeof credit_);

    int slotCount = 0;
    FixedAmount balance;
    if (!Balance(period, &slotCount, &balance)) return FailOverflow();
    Capture(balance);
    if (record_.Summary != 0) return true;
    if (walked_ != nullptr) {
        std::int64_t raw = 0;
        if (balance.ToRaw(&raw)) walked_->Add(record_, raw);
    }
    return AddToItems(balance, slotCount, period);
}

bool AggregationEngine::Balance(const Period& period, int* slotCount, FixedAmount* balance) {
    const bool debitSide = record_.BalanceSide == 1;

    // The months before the range belong to the opening balance, unless the
    // data set was taken up only after the range ends.
    FixedAmount openingDebit;
    FixedAmount openingCredit;
    for (int i = 0; i < period.start; ++i) {
        if (!Ok(openingDebit.AddRaw(debit_[i])) || !Ok(openingCredit.AddRaw(credit_[i]))) return false;
    }
    FixedAmount opening;
    if (period.intro <= period.end) {
        const FixedAmount& plus = debitSide ? openingDebit : openingCredit;
        const FixedAmount& minus = debitSide ? openingCredit : openingDebit;
        if (!Ok(FixedAmount::Subtract(plus, minus, &opening))) return false;
    }

    FixedAmount debit;
    FixedAmount credit;
    int slots = period.slots;
    for (int i = period.start; i < slots; ++i) {
        Pulse();
        if (!Ok(debit.AddRaw(debit_[i])) || !Ok(credit.AddRaw(credit_[i]))) return false;
    }
    if (period.interimAtEnd) {
        if (!Ok(debit.AddRaw(debit_[kInterimSlot])) || !Ok(credit.AddRaw(credit_[kInterimSlot]))) return false;
        slots = kSlotsWithInterim;
    }

    // The checked addition: a balance of 10^14 yen or more stops the run.
    FixedAmount sum;
    if (!Ok(FixedAmount::Add(opening, debitSide ? debit : credit, &sum))) return false;
    FixedAmount result;
    if (!Ok(FixedAmount::Subtract(sum, debitSide ? credit : debit, &result))) return false;
    std::int64_t raw = 0;
    if (!result.ToRaw(&raw)) return false;
    *balance = result;
    *slotCount = slots;
    return true;
}

void AggregationEngine::Capture(const FixedAmount& balance) {
    for (int slot = 0; slot < kTotalSlots; ++slot) {
        const TotalLine& line = kTotalLines[slot];
        if (record_.ClassCode != line.classCode) continue;
        if (!line.guarded || (record_.Flag127 == 1 && record_.Flag126 == 0)) totals_[slot] = balance;
        return;
    }
}

bool AggregationEngine::AddToItems(const FixedAmount& balance, int slotCount, const Period& period) {
    char key[MappedAccount::kKeySize];
    AccountKey::Text(record_.Id, key);
    // Every entry of the mapping counts as examined for every account, one
    // pulse each; the index only saves the comparisons.
    if (progress_ != nullptr) progress_->PulseActivities(static_cast<std::int64_t>(mapping_->size()));

    for (ReportItem* item : index_.ItemsFor(key)) {
        if (item->ItemNo >= MonthlyItemBase()) {
            if (!AddToMonths(*item, slotCount, period)) return FailOverflow();
            continue;
        }
        const bool sameSide = item->BalanceSide == record_.BalanceSide;
        const FixedAmount::Status status =
            sameSide ? FixedAmount::RawPlus(item->Amounts[0], balance, &item->Amounts[0])
                     : FixedAmount::RawMinus(item->Amounts[0], balance, &item->Amounts[0]);
        if (!Ok(status)) return FailOverflow();
    }
    return true;
}

bool AggregationEngine::AddToMonths(ReportItem& item, int slotCount, const Period& period) {
    const bool debitSide = record_.BalanceSide == 1;
    const bool sameSide = item.BalanceSide == record_.BalanceSide;
    for (int n = 0; n < slotCount; ++n) {
        if (slotCount == kSlotsWithInterim && n >= kFirstIgnoredInterimMonth && n <= kLastIgnoredInterimMonth)
            continue;
        if (n == kClosingSlot && !period.closing) continue;
        if (n == 0 && period.intro > period.end) continue;

        const FixedAmount debit = FixedAmount::FromRaw(debit_[n]);
        const FixedAmount credit = FixedAmount::FromRaw(credit_[n]);
        FixedAmount value;
        if (!Ok(FixedAmount::Subtract(debitSide ? debit : credit, debitSide ? credit : debit, &value))) return false;

        // The opening amounts count in the month of introduction, the
        // adjustment periods in the last month of the range.
        int month = n;
        if (n == kClosingSlot || n == kInterimSlot)
            month = period.end;
        else if (n == 0)
            month = period.intro > 0 ? period.intro : 1;
        std::int64_t& amount = item.Amounts[month];
        const FixedAmount::Status status = sameSide ? FixedAmount::RawPlus(amount, value, &amount)
                                                    : FixedAmount::RawMinus(amount, value, &amount);
        if (!Ok(status)) return false;
    }
    return true;
}

bool AggregationEngine::ApplyTotals() {
    for (mappingCursor_ = mapping_->begin(); mappingCursor_ != mapping_->end(); ++mappingCursor_) {
        Pulse();
        const MappedAccount& entry = **mappingCursor_;
        if (int slot = TotalSlotOfKey(entry.AccountKey); slot >= 0) {
            // Every captured balance passed ToRaw in Balance.
            std::int64_t value = 0;
            if (!totals_[slot].ToRaw(&value)) return FailTotal(entry.AccountKey);
            SetItemValue(entry.ItemNo, value);
        } else if (AccountKey::Equal(entry.AccountKey, AccountKey::kSoreigai)) {
            if (!SetRemainder(entry.ItemNo, kAssetsSlot, kFirstAssetItem, kLastAssetItem, AccountKey::kSoreigai))
                return false;
        } else if (AccountKey::Equal(entry.AccountKey, AccountKey::kSonotaFusai)) {
            if (!SetRemainder(entry.ItemNo, kLiabilitiesSlot, kFirstLiabilityItem, kLastLiabilityItem,
                              AccountKey::kSonotaFusai))
                return false;
        }
    }
    return true;
}

void AggregationEngine::SetItemValue(std::int16_t itemNo, std::int64_t value) {
    for (itemCursor_ = items_->begin(); itemCursor_ != items_->end(); ++itemCursor_) {
        Pulse();
        ReportItem& item = **itemCursor_;
        // Totals feed main items only: the walk ends where the monthly
        // items have begun.
        if (item.ItemNo > MonthlyItemBase()) return;
        if (item.ItemNo == itemNo) {
            item.Amounts[0] = value;
            return;
        }
    }
}

bool AggregationEngine::SetRemainder(std::int16_t itemNo, int totalSlot, int firstItemNo, int lastItemNo,
                                     const char* key) {
    // The remainder is what the items listed before it leave of the total.
    FixedAmount listed;
    for (itemCursor_ = items_->begin(); itemCursor_ != items_->end(); ++itemCursor_) {
        Pulse();
        ReportItem& item = **itemCursor_;
        if (item.ItemNo == itemNo) {
            FixedAmount remainder;
            std::int64_t value = 0;
            if (!Ok(FixedAmount::Subtract(totals_[totalSlot], listed, &remainder)) || !remainder.ToRaw(&value))
                return FailTotal(key);
            item.Amounts[0] = value;
            return true;
        }
        if (item.ItemNo >= firstItemNo && item.ItemNo <= lastItemNo && !Ok(listed.AddRaw(item.Amounts[0])))
            return FailTotal(key);
    }
    return true;
}

int AggregationEngine::Fail(Reason reason, int coreResult) {
    failure_.reason = reason;
    failure_.coreResult = coreResult;
    return 0;
}

bool AggregationEngine::FailTotal(const char* key) {
    Fail(Reason::kOverflow);
    failure_.accountName.assign(key, strnlen(key, MappedAccount::kKeySize));
    return false;
}

bool AggregationEngine::FailOverflow() {
    Fail(Reason::kOverflow);
    failure_.accountCode = record_.Code;
    failure_.accountName.assign(record_.Name, strnlen(record_.Name, sizeof record_.Name));
    return false;
}

int AggregationEngine::MonthlyItemBase() const { return TargetVersion::MonthlyItemBase(ug30_ != 0); }

void AggregationEngine::Advance(std::int16_t from, std::int16_t to) {
    if (progress_ != nullptr) progress_->AdvanceProgress(from, to);
}

void AggregationEngine::Pulse() {
    if (progress_ != nullptr) progress_->PulseActivity();
}
