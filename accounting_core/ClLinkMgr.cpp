#include "accounting_core/ClLinkMgr.h"

ClLinkMgr* ClLinkMgr::Inst() {
    // The options live as long as the program; nothing of the books is kept.
    static ClLinkMgr instance;
    return &instance;
}
