#pragma once

#include <string>
#include <vector>

class BooksDatabase;

// What `init` makes sure of, and what every other command that may create
// the books relies on: the books of MZN_ROOT exist with the class-code
// hierarchy, the two application folders and a row for the current user.
// Running it again changes nothing that is already in place; a hierarchy
// line that was changed by hand is restored, folders that were changed are
// kept.
class BooksSetup {
public:
    // The application folders a new books get (Windows paths, ending in a
    // backslash): type 0 is where the link program proposes to save the
    // report, type 1 where it keeps its condition files.
    static constexpr const char* kReportFolder = "C:\\Mizunara\\Reports\\";
    static constexpr const char* kConditionFolder = "C:\\Mizunara\\Conditions\\";

    // Opens the books, creating MZN_ROOT and the database when missing, and
    // sets them up in one transaction. False with Error() when the books
    // cannot be opened, created or written.
    bool Run(BooksDatabase& books);

    const std::string& Error() const { return error_; }
    // Things that did not stop the set-up, such as an application folder
    // that could not be made on the host.
    const std::vector<std::string>& Warnings() const { return warnings_; }

private:
    bool Populate(BooksDatabase& books);
    void MakeFolders(BooksDatabase& books);
    bool Fail(const std::string& why);

    std::string error_;
    std::vector<std::string> warnings_;
};
