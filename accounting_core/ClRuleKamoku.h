#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "accounting_core/ClRuleBase.h"
#include "accounting_core/StKAMOKUSUMINFO.h"

struct StBUMONINFO;
struct StFINDINFO;

// The summation rule by account: one summary record per account of the data
// set and one per total line of the class-code hierarchy (SummationBuilder
// tells their fields and order; PeriodSelection which slots hold sums).
//
// Use: Create, AttachSetMgr, SetCurDataID, AttachOptLink, MoveReady,
// GetSumCount, SetMovePos(0), MoveNext while it returns 0 (kEndOfSums = 5000
// after the last record), MoveFinish, delete. MoveReady reads the books once,
// with two queries whatever the number of accounts; the walk then hands out
// copies.
class ClRuleKamoku : public ClRuleBase {
public:
    // The values of MoveReady's arguments this core knows.
    static constexpr int kSumByAccount = 1;      // first argument
    static constexpr int kNoDepartments = 0;     // second argument
    static constexpr int kDisplayAsBooked = 0;   // third argument
    static constexpr int kCurrentResults = 0;    // last argument (past results: none kept)

    // A new rule, or nullptr when "ClRuleKamoku::Create" is forced. The
    // only way to make one, so that creation failures can be forced.
    static ClRuleKamoku* Create();
    ~ClRuleKamoku() override;

    // Reads the summary records of the data set. criteria: month conditions
    // (null for every period). kBadArgument for argument values this core
    // does not know, or a department summation; kNotReady without a set
    // manager; kBadCriteria for conditions on anything but the month.
    int MoveReady(int sumType, int departmentType, int displayType, const StFINDINFO* criteria,
                  const StBUMONINFO* department, int pastType);
    // The number of records MoveReady read; kNotReady before MoveReady.
    int GetSumCount(std::int32_t* count);
    // The next MoveNext delivers record `position` (0 = the first);
    // kBadArgument outside 0..count.
    int SetMovePos(std::int32_t position);
    // Copies the next record; kEndOfSums after the last one.
    int MoveNext(StKAMOKUSUMINFO* record);
    // Ends the walk and frees the records.
    int MoveFinish();

private:
    ClRuleKamoku() = default;

    int Forced(const char* call) const;

    std::vector<StKAMOKUSUMINFO> records_;
    bool ready_ = false;
    std::size_t position_ = 0;
    int deliveredThisWalk_ = 0;
};
