#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "tools/mzn-books/ImportText.h"

class BooksCommandLine;
class BooksDatabase;
class Diagnostics;

// mzn-books: runs one command on the books of MZN_ROOT and says how it went
// in its exit status. Results go to out, messages to err.
class BooksTool {
public:
    enum ExitCode {
        kOk = 0,
        kBooksFailed = 1,    // the books cannot be opened, created or written
        kUsage = 2,          // a wrong command line
        kBadInput = 3,       // input files with errors; nothing was imported
        kNoSuchDataSet = 4,  // select of a number the books do not have
    };

    BooksTool(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

    int Run(const std::vector<std::string>& arguments);

private:
    int Init();
    int Import(const BooksCommandLine& line);
    int Select(const BooksCommandLine& line);
    int List(const BooksCommandLine& line);
    int Demo(const BooksCommandLine& line);

    bool SetUp(BooksDatabase& books);
    bool OpenExisting(BooksDatabase& books);
    bool ReadFile(const std::string& path, std::string& text);
    // The file's bytes as UTF-8 text in place; false after a report.
    static bool Decode(ImportText::Encoding encoding, const std::string& path, std::string& text,
                       Diagnostics& diagnostics);
    int ReportInput(const Diagnostics& diagnostics);
    int Failed(const std::string& why);

    std::ostream& out_;
    std::ostream& err_;
};
