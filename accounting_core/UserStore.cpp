#include "accounting_core/UserStore.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "accounting_core/BooksDatabase.h"
#include "accounting_core/BooksStatement.h"
#include "accounting_core/RecordText.h"
#include "platform/Cp932.h"

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
    std::string name = step == BooksStatement::StepResult::Row ? select.Text(0) : std::string();
    if (name.empty()) name = LoginName();
    // The ID as the session holds it: at most 64 bytes of code page 932.
    userId = RecordText::ToUtf8(Cp932::CutOnCharBoundary(RecordText::ToCp932(name), kMaxUserIdBytes));
    return true;
}

std::string UserStore::LoginName() {
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry;
    passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_name != nullptr && found->pw_name[0] != '\0')
        return found->pw_name;
    for (const char* variable : {"USER", "LOGNAME"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && value[0] != '\0') return value;
    }
    return "user";
}

bool UserStore::Fail(const std::string& why) {
    error_ = why;
    return false;
}
