#pragma once

#include "accounting_core/ClSetBase.h"

struct StDATAINFO;

// The data sets of the books (kind 5 of ClDataMgr::GetSetObject).
class ClSetData : public ClSetBase {
public:
    // The data set the session's user has selected (whatever data ID is
    // set); the record is zeroed first. kNoDataSet when the user has none.
    int GetSelectedInfo(StDATAINFO* info);

    // Walk of all data sets in number order: GetDatCursor, ReadyDat(cursor, 0),
    // WalkDat while it returns 0 (kEndOfSet after the last record),
    // ReleaseDatCursor. Order 0 is the only order this core knows.
    SetCursor* GetDatCursor() { return NewCursor(); }
    int ReadyDat(SetCursor* cursor, int order);
    int WalkDat(StDATAINFO* info, SetCursor* cursor);
    int ReleaseDatCursor(SetCursor* cursor) { return DropCursor(cursor); }
};
