#pragma once

#include <cstdint>

struct StKAMOKUINFO;

// Translating between account codes, account records and account keys in the
// account set of the selected data set.
class AccountLookup {
public:
    // A main account: code not 0, a multiple of 10000, and both flag bytes 0.
    static bool IsMainAccount(const StKAMOKUINFO& account);

    // The code of the account whose AccountKeyText matches key (35 bytes at
    // most), or -1. Only accounts with a code of 1 or more that is a multiple
    // of 10000 and whose flag byte 110 is not 1 can match; TotalKeys never do.
    // The account's record is copied into found when it is given.
    static std::int32_t FindAccountByKey(const char* key, StKAMOKUINFO* found = nullptr);

    // The account with this code; a code below 10000 is taken as the code a
    // user sees and multiplied by 10000 first. False when there is none.
    static bool FindAccountByCode(std::int32_t code, StKAMOKUINFO* found);
};
