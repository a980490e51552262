#include "accounting_core/ClRuleKamoku.h"

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
    if (int result = SummationBuilder(books, classes, periods).Build(dataSet, records_); result != core_result::kOk)
        return result;
    ready_ = true;
    return core_result::kOk;
}

int ClRuleKamoku::GetSumCount(std::int32_t* count) {
    if (count == nullptr) return core_result::kBadArgument;
    if (int forced = Forced("GetSumCount"); forced != 0) return forced;
    if (!ready_) return core_result::kNotReady;
    *count = static_cast<std::int32_t>(records_.size());
    return core_result::kOk;
}

int ClRuleKamoku::SetMovePos(std::int32_t position) {
    if (int forced = Forced("SetMovePos"); forced != 0) return forced;
    if (!ready_) return core_result::kNotReady;
    if (position < 0 || static_cast<std::size_t>(position) > records_.size()) return core_result::kBadArgument;
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
    if (position_ >= records_.size()) return core_result::kEndOfSums;
    *record = records_[position_++];
    ++deliveredThisWalk_;
    return core_result::kOk;
}

int ClRuleKamoku::MoveFinish() {
    records_.clear();
    records_.shrink_to_fit();
    ready_ = false;
    position_ = 0;
    deliveredThisWalk_ = 0;
    return core_result::kOk;
}

int ClRuleKamoku::Forced(const char* call) const {
    ClAccConnect* connection = ClAccConnect::Connection();
    return connection != nullptr ? connection->Faults().Forced(call) : 0;
}
