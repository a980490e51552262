#pragma once

#include <string>
#include <vector>

// Runs a real program with the test's environment (so with the MZN_ROOT of
// its TempRoot) and collects what it says. Output goes through files in
// ioFolder, so that nothing can block on a full pipe.
class ChildProcess {
public:
    struct Result {
        int exitCode = -1;  // -signal when killed
        std::string out;
        std::string err;
    };

    // words: the program's path, then its arguments.
    static Result Run(const std::vector<std::string>& words, const std::string& ioFolder);
};
