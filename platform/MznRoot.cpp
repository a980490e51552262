#include "platform/MznRoot.h"

#include <cstdlib>

namespace {

std::string EnvOrEmpty(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

}  // namespace

std::string MznRoot::Path() {
    std::string root = EnvOrEmpty("MZN_ROOT");
    if (!root.empty()) return WithoutTrailingSlash(root);
    std::string dataHome = EnvOrEmpty("XDG_DATA_HOME");
    if (dataHome.empty()) {
        std::string home = EnvOrEmpty("HOME");
        if (home.empty()) home = "/tmp";
        dataHome = WithoutTrailingSlash(home) + "/.local/share";
    }
    return WithoutTrailingSlash(dataHome) + "/mizunara";
}
