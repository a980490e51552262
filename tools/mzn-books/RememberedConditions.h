#pragma once

#include <cstdint>
#include <string>
#include <vector>

class BooksDatabase;

// The conditions the link program remembers per user, data set and form
// version: the condition files in the books' condition folder, named as
// the link program names them (ConditionFile). A user's file of a data set
// is the one the link program reads while that data set is selected.
class RememberedConditions {
public:
    struct File {
        std::string user;         // UTF-8, as the books hold it
        std::string windowsPath;  // UTF-8, for messages
        std::string hostPath;
    };

    struct CopyOutcome {
        std::vector<File> copied;    // the new files of the target data set
        std::vector<File> kept;      // target files that existed and were left as they were
        std::vector<File> unusable;  // source files that are no condition files
    };

    explicit RememberedConditions(BooksDatabase& books) : books_(books) {}

    // Every user's existing condition file of a data set.
    bool Of(std::int64_t number, bool ug30, std::vector<File>& files);

    // Copies every user's conditions of data set from to data set to (both
    // of the same form version). The report path is not copied, so the new
    // year's report does not overwrite the old one: the link program offers
    // its default path until the user picks one. A user's existing file of
    // the target is kept.
    bool Copy(std::int64_t from, std::int64_t to, bool ug30, CopyOutcome& outcome);

    const std::string& Error() const { return error_; }

private:
    bool Load();
    bool FileOf(const std::string& user, std::int64_t number, bool ug30, File& file);
    bool Fail(const std::string& why);

    BooksDatabase& books_;
    std::vector<std::string> users_;
    std::string folder_;  // code page 932, with its trailing backslash
    std::string error_;
};
