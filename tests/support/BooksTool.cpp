#include "tests/support/BooksTool.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/TestFiles.h"

ChildProcess::Result BooksTool::Run(const std::vector<std::string>& arguments, const std::string& ioFolder) {
    std::vector<std::string> words{MZN_BOOKS_EXE};
    words.insert(words.end(), arguments.begin(), arguments.end());
    return ChildProcess::Run(words, ioFolder);
}

std::string BooksTool::DataFile(const std::string& relative) { return std::string(MZN_TEST_DATA) + "/" + relative; }

int BooksTool::ImportSmallBooks(const std::string& ioFolder, const std::vector<std::string>& options) {
    // The name as UTF-8, as a user types it: narrow literals here are code page 932.
    std::vector<std::string> words{"import", "--name", testfiles::Utf8(u8"株式会社こなら商事"), "--start", "20240401",
                                   "--end", "20250331"};
    words.insert(words.end(), options.begin(), options.end());
    words.insert(words.end(), {"--select", DataFile("books/small-accounts.csv"), DataFile("books/small-balances.csv")});
    const ChildProcess::Result imported = Run(words, ioFolder);
    if (imported.exitCode != 0) {
        ADD_FAILURE() << imported.err;
        return -1;
    }
    const int number = std::atoi(imported.out.c_str());
    return number;
}
