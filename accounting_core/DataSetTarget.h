#pragma once

#include <string>

class ClSetMgr;

// What a set object or summation rule works on: the set manager it is
// attached to and the data set named by SetCurDataID, or, while no data ID is
// set, the data set the session's user has selected.
class DataSetTarget {
public:
    // 0, or kBadArgument for a null manager (which detaches).
    int Attach(ClSetMgr* mgr);
    // Keeps the data ID (at most 16 bytes, code page 932; null or empty
    // goes back to the selected data set). 0 when it names a data set of
    // the open books; kNoDataSet when it names none, kNotReady without a
    // manager, kNotConnected without books. The ID is kept in every case.
    int SetDataId(const char* dataId);
    // The number of the data set worked on (see ClSetMgr::ResolveDataSet);
    // kNotReady without a manager.
    int Resolve(int* number) const;

    ClSetMgr* Mgr() const { return mgr_; }

private:
    ClSetMgr* mgr_ = nullptr;
    std::string dataId_;
};
