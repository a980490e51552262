#include "report/AccountLookup.h"

#include <cstdint>
#include <cstring>

#include "accounting_core/ClDataMgr.h"
#include "accounting_core/ClSetKamoku.h"
#include "accounting_core/FindCriteria.h"
#include "accounting_core/StFINDINFO.h"
#include "accounting_core/StKAMOKUINFO.h"
#include "report/AccountKey.h"

namespace {

ClSetKamoku* AccountSet() {
    return static_cast<ClSetKamoku*>(ClDataMgr::Inst()->GetSetObject(1, 1));
}

}  // namespace

bool AccountLookup::IsMainAccount(const StKAMOKUINFO& account) {
    return account.Code != 0 && account.Code % 10000 == 0 && account.Flag110 == 0 && account.Flag112 == 0;
}

std::int32_t AccountLookup::FindAccountByKey(const char* key, StKAMOKUINFO* found) {
    ClSetKamoku* accounts = AccountSet();
    if (accounts == nullptr || key == nullptr) return -1;
    std::int32_t code = -1;
    SetCursor* cursor = accounts->GetCursor();
    accounts->ReadyCursor(cursor, 0);
    StKAMOKUINFO account;
    std::memset(&account, 0, sizeof account);
    while (accounts->Walk(&account, cursor) == 0) {
        if (account.Code >= 1 && account.Code % 10000 == 0 && account.Flag110 != 1) {
            char text[MappedAccount::kKeySize];
            AccountKey::Text(account.Id, text);
            if (AccountKey::Equal(text, key)) {
                code = account.Code;
                if (found != nullptr) std::memcpy(found, &account, sizeof account);
                break;
            }
        }
        std::memset(&account, 0, sizeof account);
    }
    accounts->ReleaseCursor(cursor);
    return code;
}

bool AccountLookup::FindAccountByCode(std::int32_t code, StKAMOKUINFO* found) {
    ClSetKamoku* accounts = AccountSet();
    if (accounts == nullptr) return false;
    // Negative codes name no account; widening keeps their product defined.
    const std::int64_t wide = code < 10000 ? std::int64_t{code} * 10000 : code;
    if (wide < INT32_MIN || wide > INT32_MAX) return false;
    StFINDINFO condition;
    std::memset(&condition, 0, sizeof condition);
    condition.FieldCode = FindCriteria::kFieldCode;
    condition.Comparison = FindCriteria::kEqual;
    condition.ValueType = FindCriteria::kLong;
    condition.Value = static_cast<std::int32_t>(wide);
    condition.Link = 0;

    StKAMOKUINFO account;
    std::memset(&account, 0, sizeof account);
    SetCursor* cursor = accounts->GetCursor();
    accounts->ReadyCursor(cursor, 0);
    const bool delivered = accounts->WalkFind(&condition, &account, cursor) == 0;
    accounts->ReleaseCursor(cursor);
    if (delivered && found != nullptr) std::memcpy(found, &account, sizeof account);
    return delivered;
}
