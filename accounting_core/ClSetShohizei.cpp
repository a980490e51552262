#include "accounting_core/ClSetShohizei.h"

#include <cstring>

#include "accounting_core/BooksDatabase.h"
#include "accounting_core/BooksStatement.h"
#include "accounting_core/ClSetMgr.h"
#include "accounting_core/CoreResult.h"
#include "accounting_core/FaultTable.h"
#include "accounting_core/StSHOHIZEIINFO.h"

int ClSetShohizei::Get(StSHOHIZEIINFO* info) {
    if (info == nullptr) return core_result::kBadArgument;
    std::memset(info, 0, sizeof *info);
    ClSetMgr* mgr = Target().Mgr();
    if (mgr != nullptr && mgr->Faults() != nullptr) {
        if (int forced = mgr->Faults()->Forced("ClSetShohizei::Get"); forced != 0) return forced;
    }
    int dataSet = 0;
    if (int result = Target().Resolve(&dataSet); result != core_result::kOk) return result;

    BooksStatement select(mgr->Books()->Handle(), "SELECT tax_included FROM data_sets WHERE number = ?1");
    select.Bind(1, dataSet);
    if (int result = select.StepToRow(core_result::kNoDataSet); result != core_result::kOk) return result;
    info->TaxIncludedBooks = select.Int(0) != 0 ? 1 : 0;
    return core_result::kOk;
}
