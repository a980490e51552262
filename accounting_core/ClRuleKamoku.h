#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "accounting_core/ClRuleBase.h"
#include "accounting_core/StKAMOKUSUMINFO.h"

class AccountSumStream;
struct StBUMONINFO;
struct StFINDINFO;

// The summation rule by account: one summary record per account of the data
// set and one per total line of the class-code hierarchy (SummationBuilder
// tells their fields and order; PeriodSelection which slots hold sums).
//
// Use: Create, AttachSetMgr, SetCurDataID, AttachOptLink, MoveReady,
// GetSumCount, SetMovePos(0), MoveNext while it returns 0 (kEndOfSums = 5000
// after the last record), MoveFinish, delete. MoveReady counts the accounts,
// works out the totals and opens the query of the accounts; MoveNext builds
// each account's record from that query as it is asked for, so that memory
// does not grow with the accounts.
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
    // The number of records of the walk; kNotReady before MoveReady.
    int GetSumCount(std::int32_t* count);
    // The next MoveNext delivers record `position` (0 = the first);
    // kBadArgument outside 0..count.
    int SetMovePos(std::int32_t position);
    // Copies the next record; kEndOfSums after the last one, kBooksError
    // when the books fail on the way (the record is left as it was).
    int MoveNext(StKAMOKUSUMINFO* record);
    // Ends the walk and closes its query.
    int MoveFinish();

private:
    ClRuleKamoku() = default;

    int Forced(const char* call) const;
    std::size_t Count() const { return static_cast<std::size_t>(accountCount_) + totals_.size(); }
    // The record of the account at position_; never kEndOfSums.
    int AccountAt(StKAMOKUSUMINFO& record);

    std::unique_ptr<AccountSumStream> accounts_;
    std::int32_t accountCount_ = 0;
    std::vector<StKAMOKUSUMINFO> totals_;
    int dataSet_ = 0;
    bool ready_ = false;
    std::size_t position_ = 0;
    int deliveredThisWalk_ = 0;
};
