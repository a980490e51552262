#include "accounting_core/ClRuleKamoku.h"

#include "accounting_core/AccountSumStream.h"
#include "accounting_core/ClAccConnect.h"
#include "accounting_core/ClOptLink.h"
#include "accounting_core/ClSetMgr.h"
#include "accounting_core/ClassTree.h"
#include "accounting_core/CoreResult.h"
#include "accounting_core/FaultTable.h"
#include "accounting_core/PeriodSelection.h"
#include "accounting_core/SummationBuilder.h"

ClRuleKamoku* ClRuleKamoku::Create() {
    ClAccConnect* connection = ClAccConnect::Connection();
    if (connection != nullptr && connection->Faults().Forced("ClRuleKamoku::Create") != 0) return nullptr;
    return new ClRuleKamoku();
}

ClRuleKamoku::~ClRuleKamoku() = default;

int ClRuleKamoku::MoveReady(int sumType, int departmentType, int displayType, const StFINDINFO* criteria,
                            const StBUMONINFO* department, int pastType) {
    MoveFinish();
    if (int forced = Forced("MoveReady"); forced != 0) return forced;
    if (sumType != kSumByAccount || displayType != kDisplayAsBooked || pastType != kCurrentResults)
        return core_result::kBadArgument;
    const bool byDepartment = departmentType != kNoDepartments || department != nullptr;
    if (byDepartment && (OptLink() == nullptr || !OptLink()->DepartmentLedgers())) return core_result::kBadArgument;

    int dataSet = 0;
    if (int result = Target().Resolve(&dataSet); result != core_result::kOk) return result;
    PeriodSelection periods;
    if (!periods.Select(criteria)) return core_result::kBadCriteria;
    BooksDatabase& books = *Target().Mgr()->Books();
    ClassTree classes;
    if (!classes.Load(books)) return core_result::kBooksError;
    // The query of the accounts opens first: the count and the totals are
    // read in its read transaction, so they match the records it delivers.
    auto accounts = std::make_unique<AccountSumStream>(books, periods);
    const SummationBuilder builder(books, classes, periods);
    int result = accounts->Open(dataSet);
    if (result == core_result::kOk) result = builder.CountAccounts(dataSet, accountCount_);
    if (result == core_result::kOk) result = builder.BuildTotals(dataSet, totals_);
    if (result != core_result::kOk) return MoveFinish(), result;
    accounts_ = std::move(accounts);
    dataSet_ = dataSet;
    ready_ = true;
    return core_result::kOk;
}

int ClRuleKamoku::GetSumCount(std::int32_t* count) {
    if (count == nullptr) return core_result::kBadArgument;
    if (int forced = Forced("GetSumCount"); forced != 0) return forced;
    if (!ready_) return core_result::kNotReady;
    *count = static_cast<std::int32_t>(Count());
    return core_result::kOk;
}

int ClRuleKamoku::SetMovePos(std::int32_t position) {
    if (int forced = Forced("SetMovePos"); forced != 0) return forced;
    if (!ready_) return core_result::kNotReady;
    if (position < 0 || static_cast<std::size_t>(position) > Count()) return core_result::kBadArgument;
    position_ = static_cast<std::size_t>(position);
    deliveredThisWalk_ = 0;
    return core_result::kOk;
}

int ClRuleKamoku::MoveNext(StKAMOKUSUMINFO* record) {
    if (record == nullptr) return core_result::kBadArgument;
    if (!ready_) return core_result::kNotReady;
    if (ClAccConnect* connection = ClAccConnect::Connection()) {
        std::optional<FaultTable::Fault> fault = connection->Faults().Find("MoveNext");
        if (fault && deliveredThisWalk_ >= fault->after) return fault->result;
    }
    if (position_ >= Count()) return core_result::kEndOfSums;
    StKAMOKUSUMINFO next;
    if (position_ < static_cast<std::size_t>(accountCount_)) {
        if (int result = AccountAt(next); result != core_result::kOk) return result;
    } else {
        next = totals_[position_ - static_cast<std::size_t>(accountCount_)];
    }
    *record = next;
    ++position_;
    ++deliveredThisWalk_;
    return core_result::kOk;
}

int ClRuleKamoku::AccountAt(StKAMOKUSUMINFO& record) {
    const auto wanted = static_cast<std::int64_t>(position_);
    if (accounts_->Position() > wanted) {
        if (int result = accounts_->Open(dataSet_); result != core_result::kOk) return result;
    }
    int result = core_result::kOk;
    while (result == core_result::kOk && accounts_->Position() <= wanted) result = accounts_->Next(record);
    // Fewer accounts than counted: the books changed under the walk.
    return result == core_result::kEndOfSums ? core_result::kBooksError : result;
}

int ClRuleKamoku::MoveFinish() {
    accounts_.reset();
    accountCount_ = 0;
    totals_.clear();
    ready_ = false;
    position_ = 0;
    deliveredThisWalk_ = 0;
    return core_result::kOk;
}

int ClRuleKamoku::Forced(const char* call) const {
    ClAccConnect* connection = ClAccConnect::Connection();
    return connection != nullptr ? connection->Faults().Forced(call) : 0;
}
