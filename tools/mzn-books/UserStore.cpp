#include "tools/mzn-books/UserStore.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "accounting_core/BooksDatabase.h"
#include "accounting_core/BooksStatement.h"

namespace {

constexpr std::size_t kMaxUserIdBytes = 64;

}  // namespace

bool UserStore::Ensure(const std::string& userId) {
    BooksStatement insert(books_.Handle(), "INSERT OR IGNORE INTO users (user_id) VALUES (?1)");
    insert.BindText(1, userId);
    if (!insert.Run()) return Fail("cannot add the user " + userId + ": " + insert.Error());
    return true;
}

bool UserStore::Select(const std::string& userId, std::int64_t number) {
    BooksStatement upsert(books_.Handle(),
                          "INSERT INTO users (user_id, selected_no1, selected_no2) VALUES (?1, ?2, ?2) "
                          "ON CONFLICT (user_id) DO UPDATE SET selected_no1 = excluded.selected_no1, "
                          "selected_no2 = excluded.selected_no2");
    upsert.BindText(1, userId).Bind(2, number);
    if (!upsert.Run()) return Fail("cannot select data set " + std::to_string(number) + ": " + upsert.Error());
    return true;
}

bool UserStore::Selected(const std::string& userId, std::int64_t& number) {
    BooksStatement select(books_.Handle(), "SELECT selected_no2 FROM users WHERE user_id = ?1");
    select.BindText(1, userId);
    const BooksStatement::StepResult step = select.Step();
    if (step == BooksStatement::StepResult::Error) return Fail(select.Error());
    number = step == BooksStatement::StepResult::Row ? select.Int(0) : 0;
    return true;
}

bool UserStore::CurrentUser(std::string& userId) {
    BooksStatement select(books_.Handle(), "SELECT value FROM settings WHERE key = 'current_user'");
    const BooksStatement::StepResult step = select.Step();
    if (step == BooksStatement::StepResult::Error) return Fail(select.Error());
    userId = step == BooksStatement::StepResult::Row ? select.Text(0) : std::string();
    if (userId.empty()) userId = LoginName();
    return true;
}

std::string UserStore::LoginName() {
    std::string name;
    if (const passwd* entry = ::getpwuid(::geteuid()); entry != nullptr && entry->pw_name != nullptr)
        name = entry->pw_name;
    for (const char* variable : {"USER", "LOGNAME"}) {
        if (!name.empty()) break;
        if (const char* value = std::getenv(variable)) name = value;
    }
    if (name.empty()) name = "user";
    if (name.size() > kMaxUserIdBytes) name.resize(kMaxUserIdBytes);
    return name;
}

bool UserStore::Fail(const std::string& why) {
    error_ = why;
    return false;
}
