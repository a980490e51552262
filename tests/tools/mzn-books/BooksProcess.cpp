#include "tests/tools/mzn-books/BooksProcess.h"

#include "tests/support/ChildProcess.h"

BooksProcess::Result BooksProcess::Run(const std::vector<std::string>& arguments, const std::string& ioFolder) {
    std::vector<std::string> words{MZN_BOOKS_EXE};
    words.insert(words.end(), arguments.begin(), arguments.end());
    const ChildProcess::Result child = ChildProcess::Run(words, ioFolder);
    return Result{child.exitCode, child.out, child.err};
}
