#include "app/shell/DataSetLookup.h"

#include <cstring>

#include "accounting_core/ClDataMgr.h"
#include "accounting_core/ClSetData.h"
#include "accounting_core/CoreResult.h"
#include "accounting_core/StDATAINFO.h"
#include "app/shell/UserSelection.h"

bool DataSetLookup::FindSelectedDataSet(StDATAINFO* info) {
    if (info == nullptr) return false;
    if (dataSets_ == nullptr)
        dataSets_ = static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kData, ClDataMgr::kShared));
    const UserSelection selection = UserSelection::Read();
    std::memset(info, 0, sizeof *info);
    if (dataSets_ == nullptr) return false;
    return Walk(info, selection.SelectedNo2);
}

bool DataSetLookup::Walk(StDATAINFO* info, int dataSetNo) {
    SetCursor* cursor = dataSets_->GetDatCursor();
    dataSets_->ReadyDat(cursor, 0);
    bool found = false;
    StDATAINFO record;
    while (dataSets_->WalkDat(&record, cursor) == core_result::kOk) {
        if (record.DataNo == dataSetNo) {
            std::memcpy(info, &record, sizeof record);
            found = true;
            break;
        }
    }
    dataSets_->ReleaseDatCursor(cursor);
    return found;
}
