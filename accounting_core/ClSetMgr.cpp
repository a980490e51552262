#include "accounting_core/ClSetMgr.h"

#include "accounting_core/BooksStatement.h"
#include "accounting_core/ClAccConnect.h"
#include "accounting_core/ClSysUser.h"
#include "accounting_core/CoreResult.h"
#include "accounting_core/RecordText.h"

namespace {

// The data-set number a query for one data set found: kOk with the number,
// kNoDataSet when there is none, kBooksError when the books fail.
int FoundNumber(BooksStatement& select, int* number) {
    if (int result = select.StepToRow(core_result::kNoDataSet); result != core_result::kOk) return result;
    *number = static_cast<int>(select.Int(0));
    return core_result::kOk;
}

}  // namespace

BooksDatabase* ClSetMgr::Books() const {
    ClAccConnect* connection = ClAccConnect::Connection();
    return connection != nullptr ? connection->Books() : nullptr;
}

const FaultTable* ClSetMgr::Faults() const {
    ClAccConnect* connection = ClAccConnect::Connection();
    return connection != nullptr ? &connection->Faults() : nullptr;
}

int ClSetMgr::ResolveDataSet(std::string_view dataId, int* number) const {
    *number = 0;
    BooksDatabase* books = Books();
    if (books == nullptr) return core_result::kNotConnected;
    if (dataId.empty()) return SelectedDataSet(number);

    BooksStatement select(books->Handle(), "SELECT number FROM data_sets WHERE data_id = ?1");
    select.BindText(1, RecordText::ToUtf8(dataId));
    return FoundNumber(select, number);
}

int ClSetMgr::SelectedDataSet(int* number) const {
    char userId[ClSysUser::kUserIdSize];
    std::int32_t selectedNo1 = 0;
    std::int32_t selectedNo2 = 0;
    if (user_.GetCurUserID(userId) != core_result::kOk ||
        user_.GetSelectedNo(userId, &selectedNo1, &selectedNo2) != core_result::kOk)
        return core_result::kNoDataSet;

    BooksStatement select(Books()->Handle(), "SELECT number FROM data_sets WHERE number = ?1");
    select.Bind(1, selectedNo2);
    return FoundNumber(select, number);
}
