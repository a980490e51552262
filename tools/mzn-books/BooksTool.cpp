#include "tools/mzn-books/BooksTool.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <ostream>
#include <sstream>

#include "accounting_core/BooksDatabase.h"
#include "accounting_core/BooksStatement.h"
#include "accounting_core/UserStore.h"
#include "report/TargetVersion.h"
#include "tools/mzn-books/AccountsFile.h"
#include "tools/mzn-books/BalancesFile.h"
#include "tools/mzn-books/BooksCommandLine.h"
#include "tools/mzn-books/BooksImporter.h"
#include "tools/mzn-books/BooksSetup.h"
#include "tools/mzn-books/CalendarDate.h"
#include "tools/mzn-books/CodeMap.h"
#include "tools/mzn-books/DataSetStore.h"
#include "tools/mzn-books/DemoBooks.h"
#include "tools/mzn-books/Diagnostics.h"
#include "tools/mzn-books/ImportChecks.h"
#include "tools/mzn-books/ImportSummary.h"
#include "tools/mzn-books/MappingCoverage.h"
#include "tools/mzn-books/MonthlyBalancesFile.h"
#include "tools/mzn-books/RememberedConditions.h"

namespace {

// More problems than this are counted, not listed: a file in the wrong
// format would otherwise flood the terminal.
constexpr std::size_t kMaxListedProblems = 50;

// A period as the terminal's language writes one: "2024-04-01 to 2025-03-31"
// or 「2024-04-01～2025-03-31」.
std::string Period(std::int32_t start, std::int32_t end, bool japanese) {
    const char* to = japanese ? reinterpret_cast<const char*>(u8"～") : " to ";
    return CalendarDate::Format(start) + to + CalendarDate::Format(end);
}

// The settings of a data set as words: "-" when it has none of them.
std::string SettingsOf(const DataSetStore::Summary& set) {
    std::string words;
    auto add = [&words](const std::string& word) { words += (words.empty() ? "" : ",") + word; };
    if (set.interim) add("interim");
    if (set.introMonth == DataSetDefinition::kPastResults)
        add("past-results");
    else if (set.introMonth != 1)
        add("intro=" + std::to_string(set.introMonth));
    if (set.taxIncluded) add("tax-included");
    if (!set.netAssets) add("capital");
    return words.empty() ? "-" : words;
}

}  // namespace

int BooksTool::Run(const std::vector<std::string>& arguments) {
    const int status = RunCommand(arguments);
    terminalOut_ << catalogue_.Text(out_.str());
    terminalErr_ << catalogue_.Text(err_.str());
    return status;
}

int BooksTool::RunCommand(const std::vector<std::string>& arguments) {
    const BooksCommandLine line = BooksCommandLine::Parse(arguments);
    switch (line.command) {
    case BooksCommandLine::Command::Help: out_ << BooksCommandLine::Usage(); return kOk;
    case BooksCommandLine::Command::Version: out_ << "mzn-books " << MZN_VERSION << "\n"; return kOk;
    case BooksCommandLine::Command::Error:
        err_ << "mzn-books: " << line.error << "\nTry 'mzn-books --help' for more information.\n";
        return kUsage;
    case BooksCommandLine::Command::Init: return Init();
    case BooksCommandLine::Command::Import: return Import(line);
    case BooksCommandLine::Command::Select: return Select(line);
    case BooksCommandLine::Command::List: return List(line);
    case BooksCommandLine::Command::Demo: return Demo(line);
    case BooksCommandLine::Command::Delete: return Delete(line);
    case BooksCommandLine::Command::CopyConditions: return CopyConditions(line);
    }
    return kUsage;
}

int BooksTool::Init() {
    BooksDatabase books;
    if (!SetUp(books)) return kBooksFailed;
    out_ << "Books ready: " << BooksDatabase::DefaultPath() << "\n";
    return kOk;
}

int BooksTool::Import(const BooksCommandLine& line) {
    BooksImporter::Input input;
    input.accountsFile = line.accountsPath;
    input.balancesFile = line.balancesPath;
    std::string accountsText;
    std::string balancesText;
    std::string codeMapText;
    if (!ReadFile(line.accountsPath, accountsText) || !ReadFile(line.balancesPath, balancesText) ||
        (!line.codeMapPath.empty() && !ReadFile(line.codeMapPath, codeMapText)))
        return kBadInput;
    Diagnostics diagnostics;
    // Every file is decoded, so that each one's problem is reported.
    bool decoded = Decode(line.encoding, line.accountsPath, accountsText, diagnostics);
    decoded = Decode(line.encoding, line.balancesPath, balancesText, diagnostics) && decoded;
    decoded = Decode(line.encoding, line.codeMapPath, codeMapText, diagnostics) && decoded;
    if (!decoded) return ReportInput(diagnostics);
    input.accounts = AccountsFile::Parse(accountsText, line.accountsPath, diagnostics);
    if (line.monthlyLayout) {
        std::map<std::int64_t, int> sides;
        for (const AccountsFile::Row& account : input.accounts) sides.emplace(account.StoredCode(), account.side);
        const auto sideOf = [&sides](std::int64_t code) {
            const auto side = sides.find(code);
            return side == sides.end() ? static_cast<int>(AccountsFile::kDebit) : side->second;
        };
        const MonthlyBalancesFile::Year year{CalendarDate::Month(line.definition.start), line.definition.Months()};
        input.balances =
            MonthlyBalancesFile::Parse(balancesText, line.balancesPath, year, *line.amounts, sideOf, diagnostics);
    } else {
        input.balances = BalancesFile::Parse(balancesText, line.balancesPath, diagnostics);
    }
    if (!line.codeMapPath.empty() && diagnostics.Empty())
        CodeMap::Parse(codeMapText, line.codeMapPath, diagnostics)
            .Apply(input.accounts, line.accountsPath, input.balances, diagnostics);
    // Checks across the files and against the books would only repeat
    // problems of lines already reported.
    if (!diagnostics.Empty()) return ReportInput(diagnostics);
    Diagnostics warnings;
    ImportChecks::Warn(input.accounts, input.balances, line.balancesPath, warnings);
    for (const std::string& warning : warnings.Messages()) err_ << warning << "\n";

    BooksDatabase books;
    if (!SetUp(books)) return kBooksFailed;
    if (!books.Begin()) return Failed(books.Error());
    BooksImporter importer(books);
    const BooksImporter::Result result = importer.Import(line.definition, input, 0, std::string(), diagnostics);
    if (result != BooksImporter::Result::Written) {
        books.Rollback();
        return result == BooksImporter::Result::BadInput ? ReportInput(diagnostics) : Failed(importer.Error());
    }
    if (!books.Commit()) {
        const std::string why = books.Error();
        books.Rollback();
        return Failed(why);
    }
    out_ << importer.Number() << "\n";
    if (line.selectImported) {
        std::string user;
        UserStore users(books);
        if (!users.CurrentUser(user)) return Failed(users.Error());
        if (!SelectFor(books, user, importer.Number())) return kBooksFailed;
    }
    std::string summary;
    std::string why;
    if (!ImportSummary::Describe(books, importer.Number(), summary, why)) return Failed(why);
    err_ << summary;
    if (line.codeMapPath.empty()) {
        const std::string hint = MappingCoverage::Hint(
            MappingCoverage::NamedStandardCodes(MappingCoverage::ProgramFolder()), input.accounts);
        if (!hint.empty()) err_ << "mzn-books: note: " << hint << "\n";
    }
    return kOk;
}

bool BooksTool::Decode(ImportText::Encoding encoding, const std::string& path, std::string& text,
                       Diagnostics& diagnostics) {
    ImportText::Decoded decoded = ImportText::ToUtf8(text, encoding);
    if (!decoded.ok) {
        diagnostics.Report(path, decoded.errorLine, decoded.reason);
        return false;
    }
    text = std::move(decoded.utf8);
    return true;
}

int BooksTool::Select(const BooksCommandLine& line) {
    BooksDatabase books;
    if (!OpenExisting(books)) return kBooksFailed;
    DataSetStore store(books);
    UserStore users(books);
    bool exists = false;
    std::string user = line.user;
    if (!store.Exists(line.number, exists)) return Failed(store.Error());
    if (!exists) {
        err_ << "mzn-books: there is no data set " << line.number << " (see mzn-books list)\n";
        return kNoSuchDataSet;
    }
    if (user.empty() && !users.CurrentUser(user)) return Failed(users.Error());
    if (!SelectFor(books, user, line.number)) return kBooksFailed;
    return kOk;
}

bool BooksTool::SelectFor(BooksDatabase& books, const std::string& user, std::int64_t number) {
    UserStore users(books);
    if (!users.Select(user, number)) {
        err_ << "mzn-books: " << users.Error() << "\n";
        return false;
    }
    out_ << "Data set " << number << " is selected for " << user << ".\n";
    return true;
}

bool BooksTool::FindDataSet(BooksDatabase& books, std::int64_t number, DataSetStore::Summary& set, int& exitCode) {
    DataSetStore store(books);
    std::vector<DataSetStore::Summary> sets;
    if (!store.All(sets)) {
        exitCode = Failed(store.Error());
        return false;
    }
    for (const DataSetStore::Summary& each : sets) {
        if (each.number == number) {
            set = each;
            return true;
        }
    }
    err_ << "mzn-books: there is no data set " << number << " (see mzn-books list)\n";
    exitCode = kNoSuchDataSet;
    return false;
}

// The data set goes with its accounts and sums, and no user keeps it
// selected. The condition files are the link program's: they stay, and the
// user is told where they are.
int BooksTool::Delete(const BooksCommandLine& line) {
    BooksDatabase books;
    if (!OpenExisting(books)) return kBooksFailed;
    DataSetStore::Summary set;
    int exitCode = kOk;
    if (!FindDataSet(books, line.number, set, exitCode)) return exitCode;
    RememberedConditions conditions(books);
    std::vector<RememberedConditions::File> files;
    const bool filesKnown = conditions.Of(line.number, TargetVersion::IsUg30(set.end), files);

    DataSetStore store(books);
    BooksStatement deselect(books.Handle(),
                            "UPDATE users SET selected_no1 = 0, selected_no2 = 0 WHERE selected_no2 = ?1 "
                            "RETURNING user_id");
    deselect.Bind(1, line.number);
    std::vector<std::string> deselected;
    if (!books.Begin()) return Failed(books.Error());
    BooksStatement::StepResult step = deselect.Step();
    for (; step == BooksStatement::StepResult::Row; step = deselect.Step()) deselected.push_back(deselect.Text(0));
    if (step == BooksStatement::StepResult::Error || !store.Remove(line.number) || !books.Commit()) {
        const std::string why = step == BooksStatement::StepResult::Error ? deselect.Error()
                                : !store.Error().empty()                  ? store.Error()
                                                                          : books.Error();
        books.Rollback();
        return Failed(why);
    }
    out_ << "Data set " << line.number << " (" << set.name << ") is deleted.\n";
    for (const std::string& user : deselected) out_ << user << " has no data set selected now.\n";
    for (const RememberedConditions::File& file : files)
        out_ << "The remembered conditions of " << file.user << " are left alone: " << file.windowsPath << "\n";
    if (!filesKnown) err_ << "mzn-books: warning: " << conditions.Error() << "\n";
    return kOk;
}

int BooksTool::CopyConditions(const BooksCommandLine& line) {
    BooksDatabase books;
    if (!OpenExisting(books)) return kBooksFailed;
    DataSetStore::Summary from;
    DataSetStore::Summary to;
    int exitCode = kOk;
    if (!FindDataSet(books, line.number, from, exitCode) || !FindDataSet(books, line.target, to, exitCode))
        return exitCode;
    const bool ug30 = TargetVersion::IsUg30(from.end);
    if (ug30 != TargetVersion::IsUg30(to.end)) {
        err_ << "mzn-books: data sets " << line.number << " and " << line.target
             << " are for different form versions (UG16 for years ending before 2018-04-01, UG30 after); "
                "their conditions cannot be shared\n";
        return kOtherVersion;
    }
    if (line.number == line.target) {
        err_ << "mzn-books: copy-conditions needs two different data sets\n";
        return kUsage;
    }
    RememberedConditions conditions(books);
    RememberedConditions::CopyOutcome outcome;
    if (!conditions.Copy(line.number, line.target, ug30, outcome)) return Failed(conditions.Error());
    for (const RememberedConditions::File& file : outcome.copied)
        out_ << "Copied for " << file.user << ": " << file.windowsPath << "\n";
    for (const RememberedConditions::File& file : outcome.kept)
        out_ << "Kept for " << file.user << ", who has conditions there already: " << file.windowsPath << "\n";
    for (const RememberedConditions::File& file : outcome.unusable)
        err_ << "mzn-books: warning: not copied, no condition file: " << file.windowsPath << "\n";
    if (outcome.copied.empty() && outcome.kept.empty() && outcome.unusable.empty())
        out_ << "Data set " << line.number << " has no remembered conditions to copy.\n";
    return kOk;
}

int BooksTool::List(const BooksCommandLine& line) {
    BooksDatabase books;
    if (!OpenExisting(books)) return kBooksFailed;
    UserStore users(books);
    std::string user = line.user;
    std::int64_t selected = 0;
    if ((user.empty() && !users.CurrentUser(user)) || !users.Selected(user, selected)) return Failed(users.Error());
    DataSetStore store(books);
    std::vector<DataSetStore::Summary> sets;
    if (!store.All(sets)) return Failed(store.Error());

    out_ << "Books: " << BooksDatabase::DefaultPath() << "\n";
    out_ << "User:  " << user << (selected != 0 ? "" : " (no data set selected)") << "\n\n";
    if (sets.empty()) {
        out_ << "No data sets.\n";
        return kOk;
    }
    char text[160];
    std::snprintf(text, sizeof text, "  %5s  %-8s  %-24s  %8s  %-24s  %s\n", "No", "Data ID", "Period", "Accounts",
                  "Settings", "Name");
    out_ << text;
    for (const DataSetStore::Summary& set : sets) {
        const std::string period = Period(set.start, set.end, catalogue_.Japanese());
        std::snprintf(text, sizeof text, "%c %5lld  %-8s  %-24s  %8lld  %-24s  ", set.number == selected ? '*' : ' ',
                      static_cast<long long>(set.number), set.dataId.c_str(), period.c_str(),
                      static_cast<long long>(set.accounts), SettingsOf(set).c_str());
        out_ << text << set.name << "\n";
    }
    return kOk;
}

int BooksTool::Demo(const BooksCommandLine& line) {
    if (line.accounts != 0 &&
        (line.accounts < DemoBooks::StandardAccounts() || line.accounts > DemoBooks::MaxAccounts())) {
        err_ << "mzn-books: --accounts takes " << DemoBooks::StandardAccounts() << " (the standard chart) to "
             << DemoBooks::MaxAccounts() << "\n";
        return kUsage;
    }
    BooksDatabase books;
    if (!SetUp(books)) return kBooksFailed;
    if (!books.Begin()) return Failed(books.Error());
    DemoBooks demo(books);
    UserStore users(books);
    std::string user;
    bool written = demo.Create(line.accounts) && users.CurrentUser(user) && users.Select(user, demo.MainNumber());
    if (!written || !books.Commit()) {
        const std::string why = !demo.Error().empty()    ? demo.Error()
                                : !users.Error().empty() ? users.Error()
                                                         : books.Error();
        books.Rollback();
        return Failed(why);
    }
    for (const DemoBooks::Made& set : demo.MadeSets())
        out_ << set.number << "  " << set.dataId << "  " << Period(set.start, set.end, catalogue_.Japanese()) << "  "
             << set.name << "\n";
    out_ << "Data set " << demo.MainNumber() << " is selected for " << user << ".\n";
    return kOk;
}

bool BooksTool::SetUp(BooksDatabase& books) {
    BooksSetup setup;
    const bool ok = setup.Run(books);
    for (const std::string& warning : setup.Warnings()) err_ << "mzn-books: warning: " << warning << "\n";
    if (!ok) err_ << "mzn-books: " << setup.Error() << "\n";
    return ok;
}

bool BooksTool::OpenExisting(BooksDatabase& books) {
    if (books.Open(BooksDatabase::Mode::Existing)) return true;
    err_ << "mzn-books: " << books.Error() << " (mzn-books init or mzn-books demo makes the books)\n";
    return false;
}

bool BooksTool::ReadFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (in) {
        std::ostringstream content;
        content << in.rdbuf();
        if (in.good() || in.eof()) {
            text = content.str();
            return true;
        }
    }
    err_ << "mzn-books: cannot read " << path << ": " << std::strerror(errno) << "\n";
    return false;
}

int BooksTool::ReportInput(const Diagnostics& diagnostics) {
    const auto& messages = diagnostics.Messages();
    for (std::size_t i = 0; i < messages.size() && i < kMaxListedProblems; ++i) err_ << messages[i] << "\n";
    if (messages.size() > kMaxListedProblems) err_ << "... and " << messages.size() - kMaxListedProblems << " more\n";
    err_ << "mzn-books: " << messages.size() << (messages.size() == 1 ? " problem" : " problems")
         << " in the input; nothing was imported\n";
    return kBadInput;
}

int BooksTool::Failed(const std::string& why) {
    err_ << "mzn-books: " << why << "\n";
    return kBooksFailed;
}
