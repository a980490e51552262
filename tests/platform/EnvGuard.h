#pragma once

#include <cstdlib>
#include <optional>
#include <string>

// Sets (or, given nullptr, unsets) an environment variable for one scope.
struct EnvGuard {
    EnvGuard(const char* name, const char* value) : name(name) {
        if (const char* now = std::getenv(name)) old = now;
        value != nullptr ? setenv(name, value, 1) : unsetenv(name);
    }
    ~EnvGuard() { old ? setenv(name, old->c_str(), 1) : unsetenv(name); }
    const char* name;
    std::optional<std::string> old;
};
