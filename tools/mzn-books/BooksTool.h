#pragma once

#include <iosfwd>
#include <sstream>
#include <string>
#include <vector>

#include "platform/MessageCatalogue.h"
#include "tools/mzn-books/DataSetStore.h"
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
        kNoSuchDataSet = 4,  // a data-set number the books do not have
        kOtherVersion = 5,   // copy-conditions between data sets of different form versions
    };

    BooksTool(std::ostream& out, std::ostream& err, const MessageCatalogue& catalogue = MessageCatalogue::Current())
        : terminalOut_(out), terminalErr_(err), catalogue_(catalogue) {}

    // Runs the command; what it says reaches out and err when it is done,
    // in the catalogue's language.
    int Run(const std::vector<std::string>& arguments);

private:
    int RunCommand(const std::vector<std::string>& arguments);
    int Init();
    int Import(const BooksCommandLine& line);
    int Select(const BooksCommandLine& line);
    int List(const BooksCommandLine& line);
    int Demo(const BooksCommandLine& line);
    int Delete(const BooksCommandLine& line);
    int CopyConditions(const BooksCommandLine& line);

    bool SelectFor(BooksDatabase& books, const std::string& user, std::int64_t number);
    // The data set of a number; false, said on err, when there is none.
    bool FindDataSet(BooksDatabase& books, std::int64_t number, DataSetStore::Summary& set, int& exitCode);

    bool SetUp(BooksDatabase& books);
    bool OpenExisting(BooksDatabase& books);
    bool ReadFile(const std::string& path, std::string& text);
    // The file's bytes as UTF-8 text in place; false after a report.
    static bool Decode(ImportText::Encoding encoding, const std::string& path, std::string& text,
                       Diagnostics& diagnostics);
    int ReportInput(const Diagnostics& diagnostics);
    int Failed(const std::string& why);

    std::ostream& terminalOut_;
    std::ostream& terminalErr_;
    const MessageCatalogue& catalogue_;
    // What the command says, in English, one message a line.
    std::ostringstream out_;
    std::ostringstream err_;
};
