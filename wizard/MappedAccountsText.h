#pragma once

#include "report/MappedAccount.h"

// The names of the accounts mapped to an item, joined by " / " in mapping
// order, for the tips of the item buttons: "集約されている科目はありません。"
// when none of the item's entries names an existing account.
class MappedAccountsText {
public:
    // Code page 932; valid until the next call.
    static const char* Of(int itemNo, const MappingList& mapping);
};
