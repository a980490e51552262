#include "report/FixedAmount.h"

#include <limits>

namespace {

constexpr std::uint32_t kPerYen = static_cast<std::uint32_t>(FixedAmount::kRawPerYen);

// The largest raw magnitudes, split into whole yen and ten-thousandths:
// INT64_MAX for positive amounts and its one larger negative counterpart.
constexpr std::uint64_t kMaxRawMagnitude = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
constexpr std::uint64_t kMaxWhole = kMaxRawMagnitude / kPerYen;
constexpr std::uint32_t kMaxPositiveFraction = static_cast<std::uint32_t>(kMaxRawMagnitude % kPerYen);
constexpr std::uint32_t kMaxNegativeFraction = kMaxPositiveFraction + 1;

}  // namespace

FixedAmount FixedAmount::FromRaw(std::int64_t raw) {
    FixedAmount amount;
    // Through unsigned arithmetic so that INT64_MIN has a magnitude too.
    const std::uint64_t magnitude =
        raw < 0 ? ~static_cast<std::uint64_t>(raw) + 1 : static_cast<std::uint64_t>(raw);
    amount.magnitude_ = magnitude / kPerYen;
    amount.fraction_ = static_cast<std::uint32_t>(magnitude % kPerYen);
    amount.sign_ = raw < 0 ? -1 : 1;
    return amount;
}

FixedAmount FixedAmount::FromParts(std::uint64_t wholeYen, std::uint32_t fraction) {
    FixedAmount amount;
    amount.magnitude_ = wholeYen;
    amount.fraction_ = fraction % kPerYen;
    return amount;
}

bool FixedAmount::ToRaw(std::int64_t* raw) const {
    const std::uint32_t maxFraction = sign_ < 0 ? kMaxNegativeFraction : kMaxPositiveFraction;
    if (magnitude_ > kMaxWhole || (magnitude_ == kMaxWhole && fraction_ > maxFraction)) return false;
    const std::uint64_t magnitude = magnitude_ * kPerYen + fraction_;
    // Negating in unsigned arithmetic and converting back is exact for every
    // value that fits, INT64_MIN included.
    *raw = static_cast<std::int64_t>(sign_ < 0 ? ~magnitude + 1 : magnitude);
    return true;
}

FixedAmount::Status FixedAmount::Add(const FixedAmount& a, const FixedAmount& b, FixedAmount* sum) {
    FixedAmount result;
    if (!Combine(a, b, &result) || result.magnitude_ >= kAddLimitYen) return Status::kOverflow;
    *sum = result;
    return Status::kOk;
}

FixedAmount::Status FixedAmount::Subtract(const FixedAmount& a, const FixedAmount& b, FixedAmount* difference) {
    FixedAmount result;
    if (!Combine(a, b.Negated(), &result)) return Status::kOverflow;
    *difference = result;
    return Status::kOk;
}

FixedAmount::Status FixedAmount::AddRaw(std::int64_t raw) {
    FixedAmount result;
    if (!Combine(*this, FromRaw(raw), &result)) return Status::kOverflow;
    *this = result;
    return Status::kOk;
}

FixedAmount::Status FixedAmount::RawPlus(std::int64_t raw, const FixedAmount& amount, std::int64_t* result) {
    FixedAmount sum;
    std::int64_t value = 0;
    if (!Combine(FromRaw(raw), amount, &sum) || !sum.ToRaw(&value)) return Status::kOverflow;
    *result = value;
    return Status::kOk;
}

FixedAmount::Status FixedAmount::RawMinus(std::int64_t raw, const FixedAmount& amount, std::int64_t* result) {
    return RawPlus(raw, amount.Negated(), result);
}

FixedAmount FixedAmount::Negated() const {
    FixedAmount negated = *this;
    negated.sign_ = static_cast<std::int16_t>(-sign_);
    negated.Normalise();
    return negated;
}

bool FixedAmount::Combine(const FixedAmount& a, const FixedAmount& b, FixedAmount* out) {
    FixedAmount result;
    if (a.sign_ == b.sign_) {
        std::uint32_t fraction = a.fraction_ + b.fraction_;
        std::uint64_t carry = fraction >= kPerYen ? 1 : 0;
        fraction %= kPerYen;
        const std::uint64_t room = std::numeric_limits<std::uint64_t>::max() - a.magnitude_;
        if (b.magnitude_ > room || carry > room - b.magnitude_) return false;
        result.magnitude_ = a.magnitude_ + b.magnitude_ + carry;
        result.fraction_ = fraction;
        result.sign_ = a.sign_;
    } else {
        // Opposite signs: the smaller magnitude comes off the larger, whose
        // sign the result keeps.
        const bool aLarger = CompareMagnitude(a, b) >= 0;
        const FixedAmount& larger = aLarger ? a : b;
        const FixedAmount& smaller = aLarger ? b : a;
        std::uint64_t borrow = larger.fraction_ < smaller.fraction_ ? 1 : 0;
        result.fraction_ = larger.fraction_ + (borrow != 0 ? kPerYen : 0) - smaller.fraction_;
        result.magnitude_ = larger.magnitude_ - smaller.magnitude_ - borrow;
        result.sign_ = larger.sign_;
    }
    result.Normalise();
    *out = result;
    return true;
}

int FixedAmount::CompareMagnitude(const FixedAmount& a, const FixedAmount& b) {
    if (a.magnitude_ != b.magnitude_) return a.magnitude_ < b.magnitude_ ? -1 : 1;
    if (a.fraction_ != b.fraction_) return a.fraction_ < b.fraction_ ? -1 : 1;
    return 0;
}

void FixedAmount::Normalise() {
    if (IsZero()) sign_ = 1;
}
