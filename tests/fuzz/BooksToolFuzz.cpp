// mzn-books on any command line and any pair of import files. The input is "WORDS NUL ACCOUNTS NUL BALANCES",
// the words one a line, followed by the paths of the two files. The command line is read (an error says
// why; an import has days that exist), and each word read as a day gives that day back when written. An
// import runs on real books: it adds one data set, or says what is wrong and leaves the books as they were.

#include <sstream>

#include "tests/fuzz/FuzzSupport.h"
#include "tests/support/BooksQuery.h"
#include "tools/mzn-books/BooksCommandLine.h"
#include "tools/mzn-books/BooksTool.h"
#include "tools/mzn-books/CalendarDate.h"

// The status; what was printed in out.
static int Run(const std::vector<std::string>& words, std::string& out) {
    std::ostringstream output, errors;
    const int status = BooksTool(output, errors).Run(words);
    Require(status == BooksTool::kOk || !errors.str().empty(), "a failure without a message");
    return out = output.str(), status;
}

MZN_FUZZ_TARGET(input) {
    std::string out;
    static const bool ready = std::filesystem::exists(FuzzRoot::Host("books.sqlite3")) || Run({"init"}, out) == 0;
    Require(ready, "no books in the fuzz folder");
    const std::vector<std::string> parts = Split(input.Text(), '\0', 3);
    std::vector<std::string> words = Split(parts[0], '\n');
    const std::string accounts = FuzzRoot::Host("accounts.csv"), balances = FuzzRoot::Host("balances.csv");
    words.insert(words.end(), {accounts, balances});
    for (const std::string& word : words) {
        std::int32_t day = 0;
        std::string written = CalendarDate::Parse(word, day) ? CalendarDate::Format(day) : "";
        std::erase(written, '-');
        Require(written.empty() || (CalendarDate::IsValid(day) && written == word), "a day read otherwise than written");
    }
    const BooksCommandLine line = BooksCommandLine::Parse(words);
    Require(line.command == BooksCommandLine::Command::Error ? !line.error.empty()
            : line.command != BooksCommandLine::Command::Import ||
                  (CalendarDate::IsValid(line.definition.start) && CalendarDate::IsValid(line.definition.end)),
            "a refusal without its reason, or an import of days that do not exist");
    if (line.command != BooksCommandLine::Command::Import) return;

    testfiles::WriteFile(accounts, parts.size() > 1 ? parts[1] : "");
    testfiles::WriteFile(balances, parts.size() > 2 ? parts[2] : "");
    const char* const kRows = "SELECT (SELECT count(*) FROM data_sets) + (SELECT count(*) FROM accounts) + "
                              "(SELECT count(*) FROM period_sums)";
    const std::int64_t rows = BooksQuery::Number(kRows), sets = BooksQuery::Number("SELECT count(*) FROM data_sets");
    const int status = Run(words, out);
    Require(status == BooksTool::kOk || status == BooksTool::kBadInput,
            "the books failed on an import");
    Require(status == BooksTool::kOk ? BooksQuery::Number("SELECT count(*) FROM data_sets") == sets + 1 &&
                                           out == std::to_string(BooksQuery::Number("SELECT max(number) FROM data_sets")) + "\n"
                                     : BooksQuery::Number(kRows) == rows,
            "an import that wrote other than one data set, or a refused one that changed the books");
}
