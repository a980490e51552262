#pragma once

#include <cstdint>

// An exact amount of money: a magnitude of whole yen, a fraction in
// ten-thousandths of a yen (0-9999) and a sign (+1 or -1; zero is +1).
//
// Its raw form, sign * (magnitude * 10000 + fraction), is the unit of the
// amounts in the summary records and of ReportItem::Amounts. Nothing here
// rounds. The magnitude is wider than any raw value, so sums and differences
// of raw values are held exactly; only the conversions back to raw and the
// checked Add can fail, and they say so instead of wrapping.
class FixedAmount {
public:
    static constexpr std::int64_t kRawPerYen = 10000;
    // Add fails once the magnitude of its raw sum reaches 10^18 (10^14 yen).
    static constexpr std::uint64_t kAddLimitYen = 100'000'000'000'000ULL;

    enum class Status { kOk, kOverflow };

    FixedAmount() = default;
    virtual ~FixedAmount() = default;
    FixedAmount(const FixedAmount&) = default;
    FixedAmount& operator=(const FixedAmount&) = default;

    static FixedAmount FromRaw(std::int64_t raw);
    // A non-negative amount of whole yen and ten-thousandths (taken mod 10000).
    static FixedAmount FromParts(std::uint64_t wholeYen, std::uint32_t fraction);

    // False, and raw untouched, when the amount lies outside the signed
    // 64-bit range of raw amounts.
    bool ToRaw(std::int64_t* raw) const;

    // sum = a + b; kOverflow (sum untouched) when the magnitude of the raw
    // sum reaches 10^18.
    static Status Add(const FixedAmount& a, const FixedAmount& b, FixedAmount* sum);
    // difference = a - b, exact; kOverflow only when the magnitude would
    // leave 64 bits of whole yen.
    static Status Subtract(const FixedAmount& a, const FixedAmount& b, FixedAmount* difference);
    // *this += raw, exact; kOverflow (unchanged) as for Subtract.
    Status AddRaw(std::int64_t raw);
    // *result = raw + amount and raw - amount; kOverflow (result untouched)
    // when the result is no raw amount.
    static Status RawPlus(std::int64_t raw, const FixedAmount& amount, std::int64_t* result);
    static Status RawMinus(std::int64_t raw, const FixedAmount& amount, std::int64_t* result);

    std::uint64_t Magnitude() const { return magnitude_; }
    std::uint32_t Fraction() const { return fraction_; }
    std::int16_t Sign() const { return sign_; }
    bool IsZero() const { return magnitude_ == 0 && fraction_ == 0; }
    FixedAmount Negated() const;

    friend bool operator==(const FixedAmount& a, const FixedAmount& b) {
        return a.magnitude_ == b.magnitude_ && a.fraction_ == b.fraction_ && a.sign_ == b.sign_;
    }

private:
    // Sign and magnitude combined exactly; false when the magnitude leaves
    // 64 bits of whole yen.
    static bool Combine(const FixedAmount& a, const FixedAmount& b, FixedAmount* out);
    // -1, 0 or 1 comparing the magnitudes only.
    static int CompareMagnitude(const FixedAmount& a, const FixedAmount& b);
    void Normalise();

    std::uint64_t magnitude_ = 0;
    std::uint32_t fraction_ = 0;
    std::int16_t sign_ = 1;
};
