#pragma once

#include "accounting_core/ClSetData.h"
#include "accounting_core/ClSetKamoku.h"
#include "accounting_core/ClSetMgr.h"
#include "accounting_core/ClSetShohizei.h"
#include "accounting_core/ClSysUser.h"

// The data manager of the session: the shared set objects, the set manager
// and the user object. Its objects reach the books through the connection
// (ClAccConnect). It lives until the connection terminates or is released;
// the next Inst then makes a fresh one, so pointers handed out before are
// no longer valid.
class ClDataMgr {
public:
    enum Kind { kKamoku = 1, kShohizei = 4, kData = 5 };
    // The second argument of GetSetObject: the data manager's shared object,
    // which the caller never frees. This core hands out no other.
    static constexpr int kShared = 1;

    static ClDataMgr* Inst();
    static void Release();

    ClDataMgr(const ClDataMgr&) = delete;
    ClDataMgr& operator=(const ClDataMgr&) = delete;

    // ClSetKamoku (1), ClSetShohizei (4) or ClSetData (5), attached to the
    // set manager; nullptr for another kind or another second argument.
    ClSetBase* GetSetObject(int kind, int shared);
    ClSetMgr* GetSetMgr() { return &setMgr_; }
    ClSysUser* GetSysUserObject() { return &user_; }

private:
    ClDataMgr();

    ClSysUser user_;
    ClSetMgr setMgr_;
    ClSetKamoku accounts_;
    ClSetShohizei taxSettings_;
    ClSetData dataSets_;
};
