#pragma once

#include <cstdint>

#include "accounting_core/ClSysUser.h"

// The session's user and the two numbers that user has selected, the second
// being the number of the selected data set. The lookup of the data set and
// the condition sheet's inputs both take them from the user object of the
// data manager. Read's calls are not checked: a user without a row, or no
// session, leaves the numbers 0 and the ID empty, and the lookup then simply
// finds no data set.
struct UserSelection {
    char UserId[ClSysUser::kUserIdSize] = {};  // code page 932, NUL-terminated
    std::int32_t SelectedNo1 = 0;
    std::int32_t SelectedNo2 = 0;

    static UserSelection Read();
};
