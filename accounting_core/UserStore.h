#pragma once

#include <cstdint>
#include <string>

class BooksDatabase;

// The users of the books and the data set each has selected (table users);
// one place for the connection, mzn-books and mzn-screenshots.
// The link program reads the second selected number; the first is kept
// equal to it, the accounting application's own bookkeeping of the choice.
class UserStore {
public:
    explicit UserStore(BooksDatabase& books) : books_(books) {}

    // The user's row, with nothing selected, unless it exists.
    bool Ensure(const std::string& userId);
    // Makes number the user's selected data set (the row is made if needed).
    bool Select(const std::string& userId, std::int64_t number);
    // The user's selected data set, 0 when none or when the user has no row.
    bool Selected(const std::string& userId, std::int64_t& number);

    // The user the books serve (UTF-8): the setting 'current_user' when it
    // names one, otherwise the login name of the process; cut to the 64
    // bytes of code page 932 a session holds, never inside a character.
    bool CurrentUser(std::string& userId);
    // The login name, as Windows' user name would give it: the password
    // entry of the effective user, then $USER, then $LOGNAME; "user" when
    // none is known.
    static std::string LoginName();

    const std::string& Error() const { return error_; }

private:
    bool Fail(const std::string& why);

    BooksDatabase& books_;
    std::string error_;
};
