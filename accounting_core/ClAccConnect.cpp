#include "accounting_core/ClAccConnect.h"


#include <cstdlib>
#include <filesystem>

#include "accounting_core/BooksStatement.h"
#include "accounting_core/ClDataMgr.h"
#include "accounting_core/CoreResult.h"
#include "accounting_core/RecordText.h"
#include "accounting_core/UserStore.h"
#include "platform/Cp932.h"
#include "platform/MessageBoxes.h"

namespace {


// A plain pointer, not an object with a destructor: Release may be called
// from the destructor of another static object at exit, after such an object
// would already be gone. An instance nobody released stays reachable.
ClAccConnect* theInstance = nullptr;

}  // namespace

ClAccConnect::~ClAccConnect() = default;

ClAccConnect* ClAccConnect::Inst() {
    if (theInstance == nullptr) theInstance = new ClAccConnect();
    return theInstance;
}

ClAccConnect* ClAccConnect::Connection() {
    return theInstance != nullptr && theInstance->books_.IsOpen() ? theInstance : nullptr;
}

void ClAccConnect::Release() {
    if (theInstance == nullptr) return;
    theInstance->Terminate();
    delete theInstance;
    theInstance = nullptr;
}

int ClAccConnect::Initiate() {
    if (books_.IsOpen()) return core_result::kOk;
    error_.clear();
    const std::string path = BooksDatabase::DefaultPath();
    if (!books_.Open(path, BooksDatabase::Mode::Existing)) {
        std::error_code ignored;
        const bool exists = std::filesystem::exists(path, ignored);
        return Fail(exists ? core_result::kBooksUnusable : core_result::kNoBooks, books_.Error());
    }
    if (!faults_.Load(books_)) return Fail(core_result::kBooksUnusable, "the forced results cannot be read");
    if (int forced = faults_.Forced("Initiate"); forced != 0) return Fail(forced, "Initiate is forced to fail");
    if (!LogIn()) return Fail(core_result::kBooksUnusable, "the settings of the books cannot be read");
    return core_result::kOk;
}

int ClAccConnect::ExpSysLink() {
    if (!books_.IsOpen()) return core_result::kNotConnected;
    return faults_.Forced("ExpSysLink");
}

int ClAccConnect::LogOut() {
    if (sessionUser_.empty()) return core_result::kNotConnected;
    sessionUser_.clear();
    return core_result::kOk;
}

int ClAccConnect::Terminate() {
    sessionUser_.clear();
    faults_.Clear();
    if (!books_.IsOpen()) return core_result::kNotConnected;
    books_.Close();
    return core_result::kOk;
}

int ClAccConnect::DispMsg(std::uintptr_t owner, const char* text, const char* caption, unsigned style) {
    if (boxes_ == nullptr || text == nullptr) return 0;
    std::string ownCaption(RecordText::FieldText(Caption, sizeof Caption));
    MessageOwner messageOwner;
    messageOwner.callerWindow = owner != 0 ? owner : OwnerWindow;
    return boxes_->Show(messageOwner, text, caption != nullptr ? caption : ownCaption.c_str(), style);
}

int ClAccConnect::Fail(int result, const std::string& why) {
    books_.Close();
    faults_.Clear();
    error_ = why;
    return result;
}

bool ClAccConnect::LogIn() {
    UserStore users(books_);
    std::string user;
    if (!users.CurrentUser(user)) return false;
    sessionUser_ = RecordText::ToCp932(user);
    return true;
}
