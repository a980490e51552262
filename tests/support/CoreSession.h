#pragma once

#include "accounting_core/ClAccConnect.h"
#include "accounting_core/ClDataMgr.h"
#include "accounting_core/ClFileMgr.h"

// Ends the accounting core's session as the program's shut-down does: the
// folders read and the data manager with its set objects, then the
// connection, so that the next test starts from a fresh core.
class CoreSession {
public:
    static void End() {
        ClFileMgr::Release();
        ClDataMgr::Release();
        ClAccConnect::Release();
    }
};
