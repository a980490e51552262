#pragma once

#include <cstdint>

// The user of the session and the data set each user has selected (table
// users: user_id and the two selected numbers, the second being the number
// of the selected data set).
class ClSysUser {
public:
    static constexpr int kUserIdSize = 65;

    // Fills userId (65 bytes, code page 932) with the session's user: the
    // books' setting 'current_user' when set, otherwise the login name.
    // kNotConnected, with an empty text, when no session is open.
    int GetCurUserID(char* userId);
    // The user's two selected numbers. kNotFound, with both 0, when the user
    // has no row; kNotConnected without books.
    int GetSelectedNo(const char* userId, std::int32_t* selectedNo1, std::int32_t* selectedNo2);
};
