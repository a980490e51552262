#include "accounting_core/DataSetTarget.h"

#include "accounting_core/ClSetMgr.h"
#include "accounting_core/CoreResult.h"
#include "accounting_core/RecordText.h"

namespace {

constexpr std::size_t kDataIdSize = 16;

}  // namespace

int DataSetTarget::Attach(ClSetMgr* mgr) {
    mgr_ = mgr;
    return mgr != nullptr ? core_result::kOk : core_result::kBadArgument;
}

int DataSetTarget::SetDataId(const char* dataId) {
    dataId_ = dataId != nullptr ? std::string(RecordText::FieldText(dataId, kDataIdSize)) : std::string();
    int number = 0;
    return Resolve(&number);
}

int DataSetTarget::Resolve(int* number) const {
    *number = 0;
    if (mgr_ == nullptr) return core_result::kNotReady;
    return mgr_->ResolveDataSet(dataId_, number);
}
