#include "accounting_core/ClSetData.h"

#include <cstring>
#include <memory>

#include "accounting_core/BooksDatabase.h"
#include "accounting_core/BooksStatement.h"
#include "accounting_core/ClSetMgr.h"
#include "accounting_core/CoreResult.h"
#include "accounting_core/RecordText.h"
#include "accounting_core/StDATAINFO.h"

namespace {

const char* const kSelectOne =
    "SELECT number, data_id, name, period_start, period_end, interim, intro_month, net_assets"
    "  FROM data_sets WHERE number = ?1";
const char* const kSelectAll =
    "SELECT number, data_id, name, period_start, period_end, interim, intro_month, net_assets"
    "  FROM data_sets ORDER BY number";

enum Column { kNumber, kDataId, kName, kStart, kEnd, kInterim, kIntroMonth, kNetAssets };

void Fill(const BooksStatement& row, StDATAINFO& info) {
    std::memset(&info, 0, sizeof info);
    RecordText::CopyUtf8(info.DataId, sizeof info.DataId, row.Text(kDataId));
    info.DataNo = static_cast<std::int32_t>(row.Int(kNumber));
    RecordText::CopyUtf8(info.Name, sizeof info.Name, row.Text(kName));
    info.PeriodStart = static_cast<std::int32_t>(row.Int(kStart));
    info.PeriodEnd = static_cast<std::int32_t>(row.Int(kEnd));
    info.InterimClosing = static_cast<std::int32_t>(row.Int(kInterim));
    info.IntroMonthPos = static_cast<std::int16_t>(row.Int(kIntroMonth));
    info.NetAssets = static_cast<std::uint8_t>(row.Int(kNetAssets));
}

}  // namespace

int ClSetData::GetSelectedInfo(StDATAINFO* info) {
    if (info == nullptr) return core_result::kBadArgument;
    std::memset(info, 0, sizeof *info);
    ClSetMgr* mgr = Target().Mgr();
    if (mgr == nullptr) return core_result::kNotReady;
    int number = 0;
    if (int result = mgr->ResolveDataSet({}, &number); result != core_result::kOk) return result;

    BooksStatement select(mgr->Books()->Handle(), kSelectOne);
    select.Bind(1, number);
    if (int result = select.StepToRow(core_result::kNoDataSet); result != core_result::kOk) return result;
    Fill(select, *info);
    return core_result::kOk;
}

int ClSetData::ReadyDat(SetCursor* cursor, int order) {
    if (!Owns(cursor) || order != 0) return core_result::kBadArgument;
    ClSetMgr* mgr = Target().Mgr();
    if (mgr == nullptr) return core_result::kNotReady;
    BooksDatabase* books = mgr->Books();
    if (books == nullptr) return core_result::kNotConnected;
    auto statement = std::make_unique<BooksStatement>(books->Handle(), kSelectAll);
    if (!statement->Ok()) return core_result::kBooksError;
    cursor->Ready(0);
    cursor->Start(std::move(statement), {});
    return core_result::kOk;
}

int ClSetData::WalkDat(StDATAINFO* info, SetCursor* cursor) {
    if (info == nullptr || !Owns(cursor)) return core_result::kBadArgument;
    if (cursor->IsFinished()) return core_result::kEndOfSet;
    if (!cursor->IsReady() || cursor->Statement() == nullptr) return core_result::kNotReady;
    return cursor->Step([info](const BooksStatement& row) { Fill(row, *info); });
}
