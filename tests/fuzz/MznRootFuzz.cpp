// The folder of the books from any $MZN_ROOT, $XDG_DATA_HOME and $HOME (the input's NUL-separated parts): the
// first that is set and not empty, without trailing slashes; the books and the drive table lie below it.

#include <optional>

#include "accounting_core/BooksDatabase.h"
#include "platform/MznRoot.h"
#include "tests/fuzz/FuzzSupport.h"

static std::string WithoutTrailingSlashes(const std::string& path) {
    const std::size_t last = path.find_last_not_of('/');
    return last == std::string::npos ? path.substr(0, 1) : path.substr(0, last + 1);
}

MZN_FUZZ_TARGET(input) {
    static const char* const kNames[] = {"MZN_ROOT", "XDG_DATA_HOME", "HOME"};
    std::vector<std::string> values = input.Split('\0', 3);
    std::vector<std::optional<std::string>> saved;
    values.resize(3);
    for (std::size_t i = 0; i < 3; ++i) {
        values[i].resize(std::min(values[i].size(), values[i].find('\0')));
        saved.push_back(std::getenv(kNames[i]) ? std::optional<std::string>(std::getenv(kNames[i])) : std::nullopt);
        if (values[i].empty()) unsetenv(kNames[i]);
        else setenv(kNames[i], values[i].c_str(), 1);
    }
    const std::string root = MznRoot::Path(), books = BooksDatabase::DefaultPath(), drives = DriveTable::DrivesFolder();
    for (std::size_t i = 0; i < 3; ++i) saved[i] ? setenv(kNames[i], saved[i]->c_str(), 1) : unsetenv(kNames[i]);

    const std::string home = values[2].empty() ? "/tmp" : WithoutTrailingSlashes(values[2]);
    const std::string data = values[1].empty() ? WithoutTrailingSlashes(home) + "/.local/share" : values[1];
    Require(root == (values[0].empty() ? WithoutTrailingSlashes(data) + "/mizunara" : WithoutTrailingSlashes(values[0])),
            "another folder than the environment names");
    Require(books == root + "/books.sqlite3" && drives == root + "/drives", "books or drives outside the folder");
}
