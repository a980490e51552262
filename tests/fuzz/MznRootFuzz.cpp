// The folder of the books from any $MZN_ROOT, $XDG_DATA_HOME and $HOME (the input's NUL-separated parts): the
// first that is set and not empty, without trailing slashes; the books and the drive table lie below it.

#include "accounting_core/BooksDatabase.h"
#include "platform/MznRoot.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/platform/EnvGuard.h"

static std::string WithoutTrailingSlashes(const std::string& path) {
    const std::size_t last = path.find_last_not_of('/');
    return last == std::string::npos ? path.substr(0, 1) : path.substr(0, last + 1);
}

MZN_FUZZ_TARGET(input) {
    std::vector<std::string> values = Split(input.Text(), '\0', 3);
    values.resize(3);
    values[2].resize(std::min(values[2].size(), values[2].find('\0')));
    std::string root, books, drives;
    {
        const auto valueOf = [&](int i) { return values[i].empty() ? nullptr : values[i].c_str(); };
        const EnvGuard mznRoot("MZN_ROOT", valueOf(0)), dataHome("XDG_DATA_HOME", valueOf(1)), home("HOME", valueOf(2));
        root = MznRoot::Path(), books = BooksDatabase::DefaultPath(), drives = DriveTable::DrivesFolder();
    }
    const std::string data = values[1].empty() ? (values[2].empty() ? "/tmp" : WithoutTrailingSlashes(values[2])) +
                                                     "/.local/share" : values[1];
    Require(root == (values[0].empty() ? WithoutTrailingSlashes(data) + "/mizunara" : WithoutTrailingSlashes(values[0])),
            "another folder than the environment names");
    Require(books == root + "/books.sqlite3" && drives == root + "/drives", "books or drives outside the folder");
}
