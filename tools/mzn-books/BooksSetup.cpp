#include "tools/mzn-books/BooksSetup.h"

#include <filesystem>
#include <system_error>

#include "accounting_core/BooksDatabase.h"
#include "accounting_core/BooksStatement.h"
#include "platform/DriveTable.h"
#include "platform/MznRoot.h"
#include "platform/TextCodec.h"
#include "tools/mzn-books/ClassHierarchy.h"
#include "accounting_core/UserStore.h"

bool BooksSetup::Run(BooksDatabase& books) {
    std::error_code error;
    std::filesystem::create_directories(MznRoot::Path(), error);
    if (error) return Fail("cannot create the folder " + MznRoot::Path() + ": " + error.message());
    if (!books.Open(BooksDatabase::Mode::Create)) return Fail(books.Error());
    if (!books.Begin()) return Fail(books.Error());
    if (!Populate(books) || !books.Commit()) {
        if (error_.empty()) error_ = books.Error();
        books.Rollback();
        return false;
    }
    MakeFolders(books);
    return true;
}

bool BooksSetup::Populate(BooksDatabase& books) {
    std::string why;
    if (!ClassHierarchy::Install(books, why)) return Fail("cannot write the class-code hierarchy: " + why);

    BooksStatement folder(books.Handle(), "INSERT OR IGNORE INTO app_folders (type, path) VALUES (?1, ?2)");
    for (const auto& [type, path] : {std::pair{0, kReportFolder}, std::pair{1, kConditionFolder}}) {
        folder.Bind(1, type).BindText(2, path);
        if (!folder.Run()) return Fail("cannot write the application folders: " + folder.Error());
    }

    UserStore users(books);
    std::string user;
    if (!users.CurrentUser(user) || !users.Ensure(user)) return Fail(users.Error());
    return true;
}

// The folders the books name must exist for the link program to use them;
// they are made on the host through the drive table, whatever drive they
// name.
void BooksSetup::MakeFolders(BooksDatabase& books) {
    if (!DriveTable::EnsureDefaults()) {
        warnings_.push_back("cannot create the drive table " + DriveTable::DrivesFolder());
        return;
    }
    BooksStatement select(books.Handle(), "SELECT type, path FROM app_folders ORDER BY type");
    while (select.Step() == BooksStatement::StepResult::Row) {
        const std::string path = select.Text(1);
        const auto cp932 = TextCodec::Utf8ToCp932(path);
        const auto host = cp932.ok ? DriveTable::ToHostPath(cp932.text) : std::nullopt;
        if (!host) {
            warnings_.push_back("the application folder " + path + " lies on no drive of the drive table");
            continue;
        }
        std::error_code error;
        std::filesystem::create_directories(*host, error);
        if (error)
            warnings_.push_back("cannot create the application folder " + path + " (" + *host +
                                "): " + error.message());
    }
}

bool BooksSetup::Fail(const std::string& why) {
    error_ = why;
    return false;
}
