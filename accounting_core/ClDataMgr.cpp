#include "accounting_core/ClDataMgr.h"


namespace {

// A plain pointer, not an object with a destructor: Release may be called
// from the destructor of another static object at exit, after such an object
// would already be gone. An instance nobody released stays reachable.
ClDataMgr* theInstance = nullptr;

}  // namespace

ClDataMgr::ClDataMgr() : setMgr_(user_) {
    accounts_.AttachSetMgr(&setMgr_);
    taxSettings_.AttachSetMgr(&setMgr_);
    dataSets_.AttachSetMgr(&setMgr_);
}

ClDataMgr* ClDataMgr::Inst() {
    if (theInstance == nullptr) theInstance = new ClDataMgr();
    return theInstance;
}

void ClDataMgr::Release() {
    delete theInstance;
    theInstance = nullptr;
}

ClSetBase* ClDataMgr::GetSetObject(int kind, int shared) {
    if (shared != kShared) return nullptr;
    switch (kind) {
    case kKamoku: return &accounts_;
    case kShohizei: return &taxSettings_;
    case kData: return &dataSets_;
    default: return nullptr;
    }
}
