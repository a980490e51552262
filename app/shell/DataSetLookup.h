#pragma once

struct StDATAINFO;
class ClSetData;

// Finds the data set the user has selected by walking all data sets of the
// books. The data-set manager (kind 5 of the data manager) is obtained on the
// first lookup and kept for the life of this object, which lives as long as
// the connection: the data manager's objects end with Terminate.
class DataSetLookup {
public:
    // Zeroes the record, then copies into it the first data set whose
    // number is the user's second selected number. True when one was copied.
    // The walk's cursor is released in every case.
    bool FindSelectedDataSet(StDATAINFO* info);

    // The kept data-set manager; nullptr before the first lookup.
    ClSetData* DataSetManager() const { return dataSets_; }

private:
    // Walks the data sets into info; true when the number matched.
    bool Walk(StDATAINFO* info, int dataSetNo);

    ClSetData* dataSets_ = nullptr;
};
