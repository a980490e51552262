#include "accounting_core/ClFileMgr.h"

#include <cstring>

#include "accounting_core/BooksDatabase.h"
#include "accounting_core/BooksStatement.h"
#include "accounting_core/ClAccConnect.h"
#include "accounting_core/CoreResult.h"
#include "accounting_core/RecordText.h"
#include "platform/Cp932.h"
#include "platform/WinPathText.h"

namespace {

// A plain pointer, not an object with a destructor: Release may be called
// from the destructor of another static object at exit, after such an object
// would already be gone. An instance nobody released stays reachable.
ClFileMgr* theInstance = nullptr;

// A final 0x5C that is the second byte of a double-byte character is no
// separator: the backslash is added after it.
bool EndsWithSeparator(const std::string& path) {
    return !path.empty() && Cp932::FindLastChar(path, '\\') == path.size() - 1;
}

}  // namespace

ClFileMgr* ClFileMgr::Inst() {
    if (theInstance == nullptr) theInstance = new ClFileMgr();
    return theInstance;
}

void ClFileMgr::Release() {
    delete theInstance;
    theInstance = nullptr;
}

int ClFileMgr::GetAppFolderPath(int type, char* path) {
    if (path == nullptr) return core_result::kBadArgument;
    std::memset(path, 0, WinPathText::kPathSize);
    if (type != kReportFolder && type != kConditionFolder) return core_result::kBadArgument;
    auto known = folders_.find(type);
    if (known == folders_.end()) {
        std::string folder;
        if (int result = ReadFolder(type, folder); result != core_result::kOk) return result;
        known = folders_.emplace(type, folder).first;
    }
    if (known->second.empty()) return core_result::kNotFound;
    std::memcpy(path, known->second.data(), known->second.size());
    return core_result::kOk;
}

int ClFileMgr::ReadFolder(int type, std::string& folder) {
    ClAccConnect* connection = ClAccConnect::Connection();
    if (connection == nullptr) return core_result::kNotConnected;
    BooksStatement select(connection->Books()->Handle(), "SELECT path FROM app_folders WHERE type = ?1");
    select.Bind(1, type);
    BooksStatement::StepResult step = select.Step();
    if (step == BooksStatement::StepResult::Error) return core_result::kBooksError;
    folder = step == BooksStatement::StepResult::Row ? RecordText::ToCp932(select.Text(0)) : std::string();
    // A NUL would cut the path short where the caller reads it.
    if (folder.find('\0') != std::string::npos) return core_result::kBooksError;
    if (!folder.empty() && !EndsWithSeparator(folder)) folder += '\\';
    if (folder.size() >= WinPathText::kPathSize) return core_result::kBooksError;
    return core_result::kOk;
}
