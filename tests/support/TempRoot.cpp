#include "tests/support/TempRoot.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <vector>

TempRoot::TempRoot() {
    std::string pattern = (std::filesystem::temp_directory_path() / "mzn-test-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = buffer.data();
    if (const char* old = std::getenv("MZN_ROOT")) {
        previous_ = old;
        hadPrevious_ = true;
    }
    setenv("MZN_ROOT", path_.c_str(), 1);
}

TempRoot::~TempRoot() {
    if (hadPrevious_)
        setenv("MZN_ROOT", previous_.c_str(), 1);
    else
        unsetenv("MZN_ROOT");
    std::error_code ignored;
    // Folders made read-only by a test must not keep their contents.
    for (auto it = std::filesystem::recursive_directory_iterator(
             path_, std::filesystem::directory_options::skip_permission_denied, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_directory(ignored) && !it->is_symlink(ignored))
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(path_, ignored);
}
