#include "tools/mzn-books/BooksCommandLine.h"

#include <limits>
#include <span>

#include "platform/LongOptions.h"
#include "tools/mzn-books/CalendarDate.h"
#include "tools/mzn-books/CsvField.h"
#include "tools/mzn-books/MessageTemplate.h"

namespace {

struct OptionInfo {
    const char* name;
    BooksCommandLine::Command command;
    bool takesValue;
};

using C = BooksCommandLine::Command;
constexpr OptionInfo kOptions[] = {
    {"--name", C::Import, true},
    {"--start", C::Import, true},
    {"--end", C::Import, true},
    {"--interim", C::Import, false},
    {"--intro-month", C::Import, true},
    {"--net-assets", C::Import, true},
    {"--tax-included-books", C::Import, false},
    {"--select", C::Import, false},
    {"--encoding", C::Import, true},
    {"--layout", C::Import, true},
    {"--amounts", C::Import, true},
    {"--code-map", C::Import, true},
    {"--user", C::Select, true},
    {"--user", C::List, true},
    {"--accounts", C::Demo, true},
};

// The options of one command, for the scanner.
std::vector<LongOptions::Option> OptionsOf(C command) {
    std::vector<LongOptions::Option> options;
    for (const OptionInfo& option : kOptions)
        if (option.command == command) options.push_back({option.name, option.takesValue});
    return options;
}

bool CommandOf(const std::string& word, C& command) {
    static constexpr std::pair<const char*, C> kCommands[] = {
        {"init", C::Init}, {"import", C::Import}, {"select", C::Select}, {"list", C::List}, {"demo", C::Demo},
        {"delete", C::Delete}, {"copy-conditions", C::CopyConditions}};
    for (const auto& [name, value] : kCommands) {
        if (word == name) {
            command = value;
            return true;
        }
    }
    return false;
}

}  // namespace

BooksCommandLine BooksCommandLine::Parse(const std::vector<std::string>& arguments) {
    BooksCommandLine line;
    for (const std::string& word : arguments) {
        if (word == "--") break;
        if (word == "--help" || word == "-h") {
            line.command = C::Help;
            return line;
        }
        if (word == "--version") {
            line.command = C::Version;
            return line;
        }
    }
    if (arguments.empty()) {
        line.Reject("no command given");
        return line;
    }
    C command = C::Error;
    if (!CommandOf(arguments[0], command)) {
        line.Reject("unknown command \"" + arguments[0] + "\"");
        return line;
    }
    line.command = command;
    bool sawStart = false;
    bool sawEnd = false;
    bool sawName = false;
    const std::vector<LongOptions::Option> options = OptionsOf(command);
    const std::span<const std::string> behindCommand = std::span(arguments).subspan(1);
    LongOptions scanner(behindCommand, options, LongOptions::Operands::Interleaved);
    for (LongOptions::Item item = scanner.Next(); item.kind != LongOptions::Kind::End; item = scanner.Next()) {
        if (item.kind == LongOptions::Kind::Operand) {
            if (!line.TakeArgument(item.word)) return line;
            continue;
        }
        if (item.kind != LongOptions::Kind::Option) {
            // An option of another command is named with the command it was given to.
            const bool unknown = item.kind == LongOptions::Kind::Unknown;
            line.Reject(item.Problem() + (unknown ? " for " + arguments[0] : std::string()));
            return line;
        }
        sawStart = sawStart || item.name == "--start";
        sawEnd = sawEnd || item.name == "--end";
        sawName = sawName || item.name == "--name";
        if (!line.Take(item.name, item.value)) return line;
    }
    line.Finish(sawStart, sawEnd, sawName);
    return line;
}

bool BooksCommandLine::Take(const std::string& name, const std::string& value) {
    std::int64_t number = 0;
    if (name == "--name") {
        definition.name = value;
    } else if (name == "--start" || name == "--end") {
        std::int32_t date = 0;
        if (!CalendarDate::Parse(value, date)) return Reject(name + " takes a day as YYYYMMDD, not \"" + value + "\"");
        (name == "--start" ? definition.start : definition.end) = date;
    } else if (name == "--interim") {
        definition.interim = true;
    } else if (name == "--tax-included-books") {
        definition.taxIncluded = true;
    } else if (name == "--select") {
        selectImported = true;
    } else if (name == "--intro-month") {
        if (!CsvField::ToInteger(value, 1, DataSetDefinition::kPastResults, number) ||
            (number > 12 && number != DataSetDefinition::kPastResults))
            return Reject("--intro-month takes 1 to 12, or 99 for past results, not \"" + value + "\"");
        definition.introMonth = static_cast<int>(number);
    } else if (name == "--net-assets") {
        if (value != "0" && value != "1") return Reject("--net-assets takes 0 or 1, not \"" + value + "\"");
        definition.netAssets = value == "1";
    } else if (name == "--encoding") {
        if (value != "utf-8" && value != "cp932")
            return Reject(MessageTemplate::Fill("--encoding takes utf-8 or cp932, not \"%1\"", {value}));
        encoding = value == "utf-8" ? ImportText::Encoding::Utf8 : ImportText::Encoding::Cp932;
    } else if (name == "--layout") {
        if (value != "plain" && value != "monthly")
            return Reject(MessageTemplate::Fill("--layout takes plain or monthly, not \"%1\"", {value}));
        monthlyLayout = value == "monthly";
    } else if (name == "--amounts") {
        if (value != "balance" && value != "movement")
            return Reject(MessageTemplate::Fill("--amounts takes balance or movement, not \"%1\"", {value}));
        amounts = value == "balance" ? MonthlyBalancesFile::Amounts::Balance : MonthlyBalancesFile::Amounts::Movement;
    } else if (name == "--code-map") {
        codeMapPath = value;
    } else if (name == "--user") {
        if (value.empty() || value.size() > 64) return Reject("--user takes a name of 1 to 64 bytes");
        user = value;
    } else if (name == "--accounts") {
        if (!CsvField::ToInteger(value, 1, std::numeric_limits<int>::max(), number))
            return Reject("--accounts takes a number of accounts, not \"" + value + "\"");
        accounts = static_cast<int>(number);
    }
    return true;
}

bool BooksCommandLine::TakeArgument(const std::string& word) {
    if (command == C::Import) {
        if (accountsPath.empty()) {
            accountsPath = word;
            return true;
        }
        if (balancesPath.empty()) {
            balancesPath = word;
            return true;
        }
        return Reject("import takes two files, ACCOUNTS.csv and BALANCES.csv; \"" + word + "\" is one too many");
    }
    // select and delete take one data-set number, copy-conditions two.
    const bool numbered = command == C::Select || command == C::Delete || command == C::CopyConditions;
    const bool wantsTarget = command == C::CopyConditions && number != 0 && target == 0;
    if (numbered && (number == 0 || wantsTarget)) {
        std::int64_t& slot = number == 0 ? number : target;
        if (!CsvField::ToInteger(word, 1, std::numeric_limits<std::int32_t>::max(), slot))
            return Reject(CommandName() + " takes a data-set number, not \"" + word + "\"");
        return true;
    }
    return Reject("unexpected argument \"" + word + "\"");
}

bool BooksCommandLine::Finish(bool sawStart, bool sawEnd, bool sawName) {
    if ((command == C::Select || command == C::Delete) && number == 0)
        return Reject(CommandName() + " needs the number of a data set");
    if (command == C::CopyConditions && target == 0)
        return Reject("copy-conditions needs two data-set numbers, FROM and TO");
    if (command != C::Import) return true;
    if (!sawName) return Reject("import needs --name");
    if (!sawStart || !sawEnd) return Reject("import needs --start and --end");
    if (balancesPath.empty()) return Reject("import needs two files, ACCOUNTS.csv and BALANCES.csv");
    if (monthlyLayout && !amounts)
        return Reject("--layout monthly needs --amounts balance (the columns hold balances) or --amounts movement");
    if (!monthlyLayout && amounts) return Reject("--amounts is for --layout monthly");
    const std::string problem = definition.Problem();
    if (!problem.empty()) return Reject(problem);
    return true;
}

std::string BooksCommandLine::CommandName() const {
    return command == C::Select ? "select" : command == C::Delete ? "delete" : "copy-conditions";
}

bool BooksCommandLine::Reject(const std::string& why) {
    command = C::Error;
    error = why;
    return false;
}

std::string BooksCommandLine::Usage() {
    return R"(Usage: mzn-books COMMAND [OPTIONS]

Keeps the books of the stand-in accounting installation in $MZN_ROOT/books.sqlite3.

Commands:
  init                 create the books (class-code hierarchy, application
                       folders, the current user); changes nothing that is
                       already in place
  import --name NAME --start YYYYMMDD --end YYYYMMDD [--interim]
         [--intro-month N] [--net-assets 0|1] [--tax-included-books]
         [--encoding utf-8|cp932] [--layout plain|monthly]
         [--amounts balance|movement] [--code-map FILE]
         [--select] ACCOUNTS.csv BALANCES.csv
                       add a data set from a chart of accounts and a monthly
                       trial balance (CSV in UTF-8 or code page 932, English
                       or Japanese headers, see docs/books-formats.md);
                       --layout monthly reads one line per account with a
                       column per month, holding balances or movements;
                       --code-map renumbers an own chart to the standard
                       codes; prints the new data set's number, and a
                       summary on standard error; --select makes it the
                       selected data set of the current user
  select [--user NAME] NUMBER
                       make NUMBER the selected data set of the current user
                       (or of NAME)
  list [--user NAME]   show the data sets; * marks the selected one
  delete NUMBER        remove a data set with its accounts and sums; the
                       conditions users remembered for it are left alone
  copy-conditions FROM TO
                       copy every user's remembered conditions of data set
                       FROM to data set TO (the next year's), both for the
                       same form version
  demo [--accounts N]  create the demo books and select the main demo set;
                       --accounts gives that set N accounts (large books)

Options:
  --help, -h           show this help
  --version            show the version

Exit status: 0 done, 1 the books cannot be opened or written, 2 a wrong
command line, 3 input files with errors (nothing was imported), 4 no such
data set, 5 data sets for different form versions (copy-conditions).
)";
}
