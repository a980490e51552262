#pragma once

#include <cstdint>
#include <vector>

struct StFINDINFO;

// Find and summation conditions as callers pass them: an array of
// StFINDINFO entries, each joined to the next by its link (1 and, 2 or),
// the entry with link 0 being the last. "And" binds tighter than "or", so
// the conditions read as a list of alternatives, each a list of conditions
// that must all hold. A caller's record has room for at most ten entries, and
// nothing past the tenth is ever read.
//
// Codes of this core:
//   field       2 account code, 16 class code, 17 month (period code)
//   comparison  1 =, 2 >, 3 <, 4 >=, 5 <>, 6 <=
//   value type  2 short (the low 16 bits of the value, signed),
//               3 long (the 32-bit value, signed),
//               19 class code (the 32-bit value, unsigned; the condition
//                  asks for membership of that class: comparison 1 only)
class FindCriteria {
public:
    static constexpr int kMaxEntries = 10;

    enum Field { kFieldCode = 2, kFieldClassCode = 16, kFieldMonth = 17 };
    enum Comparison { kEqual = 1, kGreater = 2, kLess = 3, kGreaterOrEqual = 4, kNotEqual = 5, kLessOrEqual = 6 };
    enum ValueType { kShort = 2, kLong = 3, kClassCode = 19 };
    enum Link { kLast = 0, kAnd = 1, kOr = 2 };

    struct Condition {
        int field = 0;
        int comparison = 0;
        int valueType = 0;
        std::int64_t value = 0;  // read as its value type says
    };
    using Alternative = std::vector<Condition>;

    // False when an entry has a link, comparison or value type this core
    // does not know, when a class membership is asked with another
    // comparison than 1, or when the tenth entry still links on.
    bool Parse(const StFINDINFO* entries);

    // Each alternative holds when all its conditions hold; the conditions
    // hold when any alternative does.
    const std::vector<Alternative>& Alternatives() const { return alternatives_; }
    // How many entries the conditions take, their last included.
    int EntryCount() const { return entryCount_; }

    // left <comparison> right.
    static bool Compare(std::int64_t left, int comparison, std::int64_t right);

    // Evaluates the conditions; holds(condition) answers one condition.
    template <typename Holds>
    bool Evaluate(Holds holds) const {
        for (const Alternative& alternative : alternatives_) {
            bool all = true;
            for (const Condition& condition : alternative) all = all && holds(condition);
            if (all) return true;
        }
        return false;
    }

private:
    std::vector<Alternative> alternatives_;
    int entryCount_ = 0;
};
