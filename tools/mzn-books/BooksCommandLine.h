#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/mzn-books/DataSetDefinition.h"
#include "tools/mzn-books/ImportText.h"
#include "tools/mzn-books/MonthlyBalancesFile.h"

// The command line of mzn-books (see Usage()):
//   mzn-books COMMAND [OPTIONS] [ARGUMENTS]
// Options take their value as the next word or after "="; "--" ends the
// options. --help and --version may stand anywhere.
class BooksCommandLine {
public:
    enum class Command { Error, Help, Version, Init, Import, Select, List, Demo, Delete, CopyConditions };

    static BooksCommandLine Parse(const std::vector<std::string>& arguments);
    static std::string Usage();

    Command command = Command::Error;
    std::string error;  // when command is Error

    DataSetDefinition definition;  // import
    std::string accountsPath;
    std::string balancesPath;
    bool selectImported = false;  // import --select
    ImportText::Encoding encoding = ImportText::Encoding::Detect;  // import: of both files
    bool monthlyLayout = false;                                    // import: the wide layout
    std::optional<MonthlyBalancesFile::Amounts> amounts;           // import: of the wide layout
    std::string codeMapPath;                                       // import: empty for none
    std::int64_t number = 0;  // select, delete; copy-conditions: from
    std::int64_t target = 0;  // copy-conditions: to
    std::string user;         // select, list: empty for the current user
    int accounts = 0;         // demo: 0 for the standard chart

private:
    bool Take(const std::string& name, const std::string& value);
    bool TakeArgument(const std::string& word);
    bool Finish(bool sawStart, bool sawEnd, bool sawName);
    bool Reject(const std::string& why);
    std::string CommandName() const;
};
