#include "accounting_core/FindCriteria.h"

#include "accounting_core/StFINDINFO.h"

namespace {

bool KnownComparison(int comparison) { return comparison >= 1 && comparison <= 6; }

bool ReadValue(const StFINDINFO& entry, std::int64_t& value) {
    switch (entry.ValueType) {
    case FindCriteria::kShort:
        value = static_cast<std::int16_t>(static_cast<std::uint32_t>(entry.Value) & 0xFFFFu);
        return true;
    case FindCriteria::kLong:
        value = entry.Value;
        return true;
    case FindCriteria::kClassCode:
        value = static_cast<std::uint32_t>(entry.Value);
        return entry.Comparison == FindCriteria::kEqual;
    default:
        return false;
    }
}

}  // namespace

bool FindCriteria::Parse(const StFINDINFO* entries) {
    alternatives_.clear();
    entryCount_ = 0;
    if (entries == nullptr) return false;
    alternatives_.emplace_back();
    for (int index = 0; index < kMaxEntries; ++index) {
        const StFINDINFO& entry = entries[index];
        Condition condition;
        condition.field = entry.FieldCode;
        condition.comparison = entry.Comparison;
        condition.valueType = entry.ValueType;
        if (!KnownComparison(condition.comparison) || !ReadValue(entry, condition.value)) break;
        alternatives_.back().push_back(condition);
        switch (entry.Link) {
        case kLast:
            entryCount_ = index + 1;
            return true;
        case kAnd:
            break;
        case kOr:
            alternatives_.emplace_back();
            break;
        default:
            alternatives_.clear();
            return false;
        }
    }
    alternatives_.clear();
    return false;
}

bool FindCriteria::Compare(std::int64_t left, int comparison, std::int64_t right) {
    switch (comparison) {
    case kEqual: return left == right;
    case kGreater: return left > right;
    case kLess: return left < right;
    case kGreaterOrEqual: return left >= right;
    case kNotEqual: return left != right;
    case kLessOrEqual: return left <= right;
    default: return false;
    }
}
