#pragma once

#include <string>
#include <vector>

#include "tests/support/ChildProcess.h"

// The real mzn-books, run with the test's environment (so on the books of
// its TempRoot), and the small books kept under tests/data/books.
class BooksTool {
public:
    static ChildProcess::Result Run(const std::vector<std::string>& arguments, const std::string& ioFolder);

    // A file under tests/data.
    static std::string DataFile(const std::string& relative);

    // Imports the small company of tests/data/books (an April-March year
    // ending 2025-03-31 unless options say otherwise) and selects it; the
    // new data set's number, or -1 after a failure the test is told of.
    static int ImportSmallBooks(const std::string& ioFolder, const std::vector<std::string>& options = {});
};
