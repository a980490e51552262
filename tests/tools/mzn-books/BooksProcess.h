#pragma once

#include <string>
#include <vector>

// Runs the real mzn-books program with the test's environment (so with the
// MZN_ROOT of its TempRoot) and collects what it says.
class BooksProcess {
public:
    struct Result {
        int exitCode = -1;  // -signal when killed
        std::string out;
        std::string err;
    };

    // Output goes through files in ioFolder, so that nothing can block on a
    // full pipe.
    static Result Run(const std::vector<std::string>& arguments, const std::string& ioFolder);
};
