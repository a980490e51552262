#pragma once

#include "accounting_core/ClSetBase.h"

struct StFINDINFO;
struct StKAMOKUINFO;

// The accounts of a data set (kind 1 of ClDataMgr::GetSetObject): the data
// set of SetCurDataID, or the selected one while no data ID is set.
//
// A walk: GetCursor, ReadyCursor (fixes the data set), then Walk (every
// account) or WalkFind (the accounts that meet the find conditions, see
// FindCriteria and AccountFilter) while it returns 0, ReleaseCursor.
// Accounts come in account-code order. The conditions are fixed by the first
// walk call after ReadyCursor; a later call with other conditions is refused
// with kBadCriteria, as are conditions this core does not know. kEndOfSet
// follows the last record, and every call after it answers the same.
class ClSetKamoku : public ClSetBase {
public:
    SetCursor* GetCursor() { return NewCursor(); }
    // Order 0 (account code) is the only order this core knows.
    int ReadyCursor(SetCursor* cursor, int order = 0);
    int Walk(StKAMOKUINFO* info, SetCursor* cursor);
    int WalkFind(const StFINDINFO* criteria, StKAMOKUINFO* info, SetCursor* cursor);
    int ReleaseCursor(SetCursor* cursor) { return DropCursor(cursor); }

private:
    int Step(const StFINDINFO* criteria, StKAMOKUINFO* info, SetCursor* cursor);
    int Start(const StFINDINFO* criteria, SetCursor* cursor);
};
