#include "accounting_core/FaultTable.h"

#include <limits>

#include "accounting_core/BooksDatabase.h"
#include "accounting_core/BooksStatement.h"

namespace {

// Result codes are 32-bit; a value outside is kept in range rather than
// wrapped into something that might read as success.
int ClampToInt(std::int64_t value) {
    if (value > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

}  // namespace

bool FaultTable::Load(BooksDatabase& books) {
    faults_.clear();
    BooksStatement select(books.Handle(), "SELECT call, result, after FROM faults");
    if (!select.Ok()) return false;
    for (;;) {
        BooksStatement::StepResult step = select.Step();
        if (step == BooksStatement::StepResult::Done) return true;
        if (step == BooksStatement::StepResult::Error) {
            faults_.clear();
            return false;
        }
        Fault fault;
        fault.result = ClampToInt(select.Int(1));
        std::int64_t after = select.Int(2);
        fault.after = after < 0 ? 0 : ClampToInt(after);
        if (fault.result != 0) faults_[select.Text(0)] = fault;
    }
}

std::optional<FaultTable::Fault> FaultTable::Find(std::string_view call) const {
    auto found = faults_.find(call);
    if (found == faults_.end()) return std::nullopt;
    return found->second;
}

int FaultTable::Forced(std::string_view call) const {
    std::optional<Fault> fault = Find(call);
    return fault ? fault->result : 0;
}
