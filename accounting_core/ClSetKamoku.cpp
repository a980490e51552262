#include "accounting_core/ClSetKamoku.h"

#include <cstring>
#include <memory>
#include <string>

#include "accounting_core/AccountFilter.h"
#include "accounting_core/BooksDatabase.h"
#include "accounting_core/BooksStatement.h"
#include "accounting_core/ClSetMgr.h"
#include "accounting_core/ClassTree.h"
#include "accounting_core/CoreResult.h"
#include "accounting_core/FindCriteria.h"
#include "accounting_core/RecordText.h"
#include "accounting_core/StFINDINFO.h"
#include "accounting_core/StKAMOKUINFO.h"

namespace {

enum Column { kId, kCode, kName, kClass, kSide, kFlag110, kFlag112 };

const char* const kSelect =
    "SELECT account_id, code, name, class_code, side, flag110, flag112 FROM accounts WHERE data_set = ?1";

void Fill(const BooksStatement& row, StKAMOKUINFO& info) {
    std::memset(&info, 0, sizeof info);
    row.Blob(kId, info.Id, sizeof info.Id);
    info.Code = static_cast<std::int32_t>(row.Int(kCode));
    RecordText::CopyUtf8(info.Name, sizeof info.Name, row.Text(kName));
    info.Flag110 = static_cast<std::uint8_t>(row.Int(kFlag110));
    info.Flag112 = static_cast<std::uint8_t>(row.Int(kFlag112));
    info.ClassCode = static_cast<std::uint32_t>(row.Int(kClass));
    info.BalanceSide = static_cast<std::uint8_t>(row.Int(kSide));
}

bool AsksForClasses(const FindCriteria& criteria) {
    for (const FindCriteria::Alternative& alternative : criteria.Alternatives()) {
        for (const FindCriteria::Condition& condition : alternative) {
            if (condition.field == FindCriteria::kFieldClassCode) return true;
        }
    }
    return false;
}

// The bytes of the conditions as the caller passed them, to notice a call
// that changes them halfway through a walk.
std::vector<unsigned char> ConditionBytes(const StFINDINFO* criteria, const FindCriteria& parsed) {
    if (criteria == nullptr) return {};
    const auto* bytes = reinterpret_cast<const unsigned char*>(criteria);
    return std::vector<unsigned char>(bytes, bytes + parsed.EntryCount() * sizeof(StFINDINFO));
}

}  // namespace

int ClSetKamoku::ReadyCursor(SetCursor* cursor, int order) {
    if (!Owns(cursor) || order != 0) return core_result::kBadArgument;
    int dataSet = 0;
    if (int result = Target().Resolve(&dataSet); result != core_result::kOk) return result;
    cursor->Ready(dataSet);
    return core_result::kOk;
}

int ClSetKamoku::Walk(StKAMOKUINFO* info, SetCursor* cursor) { return Step(nullptr, info, cursor); }

int ClSetKamoku::WalkFind(const StFINDINFO* criteria, StKAMOKUINFO* info, SetCursor* cursor) {
    if (criteria == nullptr) return core_result::kBadCriteria;
    return Step(criteria, info, cursor);
}

int ClSetKamoku::Step(const StFINDINFO* criteria, StKAMOKUINFO* info, SetCursor* cursor) {
    if (info == nullptr || !Owns(cursor)) return core_result::kBadArgument;
    if (!cursor->IsReady()) return core_result::kNotReady;
    if (!cursor->IsStarted()) {
        if (int result = Start(criteria, cursor); result != core_result::kOk) return result;
    } else {
        FindCriteria parsed;
        if (criteria != nullptr && !parsed.Parse(criteria)) return core_result::kBadCriteria;
        if (ConditionBytes(criteria, parsed) != cursor->Conditions()) return core_result::kBadCriteria;
    }
    if (cursor->IsFinished()) return core_result::kEndOfSet;

    return cursor->Step([info](const BooksStatement& row) { Fill(row, *info); });
}

int ClSetKamoku::Start(const StFINDINFO* criteria, SetCursor* cursor) {
    ClSetMgr* mgr = Target().Mgr();
    BooksDatabase* books = mgr != nullptr ? mgr->Books() : nullptr;
    if (books == nullptr) return core_result::kNotConnected;

    std::string sql = kSelect;
    FindCriteria parsed;
    AccountFilter filter;
    if (criteria != nullptr) {
        if (!parsed.Parse(criteria)) return core_result::kBadCriteria;
        // A lookup by code, the common case, needs no hierarchy.
        ClassTree classes;
        if (AsksForClasses(parsed) && !classes.Load(*books)) return core_result::kBooksError;
        if (!filter.Compile(parsed, classes)) return core_result::kBadCriteria;
        sql += " AND " + filter.Sql(2);
    }
    sql += " ORDER BY code";

    auto statement = std::make_unique<BooksStatement>(books->Handle(), sql.c_str());
    if (!statement->Ok()) return core_result::kBooksError;
    statement->Bind(1, cursor->DataSet());
    if (criteria != nullptr) filter.Bind(*statement, 2);
    cursor->Start(std::move(statement), ConditionBytes(criteria, parsed));
    return core_result::kOk;
}
