// The commands of mzn-books around the data: the command line with its exit statuses, init, select and list, and
// the class-code hierarchy that every books get.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/BooksQuery.h"
#include "tests/support/BooksTool.h"
#include "tests/support/TempRoot.h"
#include "tests/support/TestFiles.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

class MznBooksCommandTest : public ::testing::Test {
protected:
    ChildProcess::Result Books(const std::vector<std::string>& arguments) {
        return BooksTool::Run(arguments, root_ / "io");
    }
    // Whether list shows a line that starts so.
    bool Lists(const std::vector<std::string>& arguments, const std::string& start) {
        return Books(arguments).out.find("\n" + start) != std::string::npos;
    }
    TempRoot root_;
};

// Files that do not exist: an import whose command line is taken ends in exit 3.
TEST_F(MznBooksCommandTest, CommandLinesAndTheirExitStatuses) {
    const std::vector<std::string> import{"import", "--name", "X", "a.csv", "b.csv"};
    auto with = [&import](std::vector<std::string> options) {
        options.insert(options.begin(), import.begin(), import.end());
        return options;
    };
    const std::vector<std::string> year{"--start", "20240401", "--end", "20250331"};
    const std::tuple<std::vector<std::string>, int, std::string> cases[] = {
        // arguments, exit status, a part of what it says (out for 0, err otherwise)
        {{"--help"}, 0, "Exit status: 0 done, 1 the books cannot be opened"},
        {{"import", "--help"}, 0, "Usage: mzn-books COMMAND"}, {{"-h"}, 0, "Usage: mzn-books COMMAND"},
        {{"--version"}, 0, "mzn-books "}, {{}, 2, "no command given\nTry 'mzn-books --help'"},
        {{"frobnicate"}, 2, "unknown command \"frobnicate\""}, {{"select"}, 2, "select needs the number of a data set"},
        {{"select", "x"}, 2, "select takes a data-set number, not \"x\""},
        {{"select", "0"}, 2, "select takes a data-set number"}, {{"select", "1", "2"}, 2, "unexpected argument \"2\""},
        {{"init", "extra"}, 2, "unexpected argument \"extra\""},
        {{"delete"}, 2, "delete needs the number of a data set"}, {{"delete", "1"}, 1, "no books at"},
        {{"copy-conditions", "1"}, 2, "needs two data-set numbers"},
        {{"copy-conditions", "1", "2", "x"}, 2, "unexpected argument \"x\""},
        {{"list", "--accounts", "3"}, 2, "--accounts for list"}, {{"select", "--user"}, 2, "--user"},
        {{"select", "--user", "", "1"}, 2, "--user takes a name of 1 to 64 bytes"},
        {{"select", "--user", std::string(65, 'u'), "1"}, 2, "--user takes a name of 1 to 64 bytes"},
        {{"demo", "--accounts", "many"}, 2, "--accounts takes a number of accounts, not \"many\""},
        {{"demo", "--accounts", "156"}, 2, "--accounts takes 157 (the standard chart) to "},
        {{"demo", "--accounts", "999999"}, 2, "(the standard chart) to "},
        {with({"--start", "20240431", "--end", "20250331"}), 2, "--start takes a day as YYYYMMDD, not \"20240431\""},
        {with({"--start", "2024-04-01", "--end", "20250331"}), 2, "--start takes a day"},
        {with({"--start", "18991231", "--end", "19000101"}), 2, "--start takes a day"},
        {with({"--start", "20230229", "--end", "20240228"}), 2, "--start takes a day"},
        {with({"--start", "21000229", "--end", "21010228"}), 2, "--start takes a day"},
        {with({"--start", "20240401", "--end", "20240331"}), 2, "the period ends (20240331) before it starts"},
        {with({"--start", "20240401", "--end", "20250401"}), 2, "is longer than a year"},
        {with({"--start", "20240229", "--end", "20250228"}), 2, "is longer than a year"},
        {with({"--start", "20240401"}), 2, "import needs --start and --end"},
        {{"import", "--start", "20240401", "--end", "20250331", "a.csv", "b.csv"}, 2, "import needs --name"},
        {with({"--intro-month", "13", "--start", "20240401", "--end", "20250331"}), 2, "--intro-month takes 1 to 12"},
        {with({"--intro-month", "0", "--start", "20240401", "--end", "20250331"}), 2, "--intro-month takes"},
        {with({"--intro-month", "98", "--start", "20240401", "--end", "20250331"}), 2, "--intro-month takes"},
        {with({"--net-assets", "yes", "--start", "20240401", "--end", "20250331"}), 2, "--net-assets takes 0 or 1"},
        {with({"--frobnicate", "--start", "20240401", "--end", "20250331"}), 2, "unknown option"},
        {with({"c.csv", "--start", "20240401", "--end", "20250331"}), 2, "\"c.csv\" is one too many"},
        {with({"--encoding", "sjis", "--start", "20240401", "--end", "20250331"}), 2,
         "--encoding takes utf-8 or cp932, not \"sjis\""},
        {with({"--layout", "wide", "--start", "20240401", "--end", "20250331"}), 2, "--layout takes plain or monthly"},
        {with({"--layout", "monthly", "--amounts", "sums", "--start", "20240401", "--end", "20250331"}), 2,
         "--amounts takes balance or movement"},
        {with({"--layout", "monthly", "--start", "20240401", "--end", "20250331"}), 2,
         "--layout monthly needs --amounts balance"},
        {with({"--amounts", "balance", "--start", "20240401", "--end", "20250331"}), 2,
         "--amounts is for --layout monthly"},
        {with({"--layout=monthly", "--amounts=movement", "--encoding=cp932", "--code-map", "m.csv", "--start",
               "20240401", "--end", "20250331"}), 3, "cannot read a.csv"},
        {{"import", "--name", "X", "--start", "20240401", "--end", "20250331", "a.csv"}, 2, "needs two files"},
        {{"import", "--name", "", "a.csv", "b.csv", "--start", "20240401", "--end", "20250331"}, 2, "name is empty"},
        {{"import", "--name", std::string(260, 'x'), "a.csv", "b.csv", "--start", "20240401", "--end", "20250331"}, 2,
         "260 bytes in code page 932; at most 259"},
        {with({"--intro-month", "99", "--start", "20240229", "--end", "20250227"}), 3, "cannot read a.csv"},
        {with({"--intro-month", "12", "--net-assets", "1", "--start", "19000101", "--end", "19001231"}), 3,
         "cannot read a.csv"},
        {{"import", "--name", std::string(259, 'x'), "a.csv", "b.csv", "--start", "20000229", "--end", "20000301"}, 3,
         "cannot read a.csv"},
        {{"list"}, 1, "no books at"}, {{"select", "1"}, 1, "(mzn-books init or mzn-books demo makes the books)"},
    };
    for (const auto& [arguments, status, says] : cases) {
        const ChildProcess::Result result = Books(arguments);
        SCOPED_TRACE(testing::PrintToString(arguments) + "\n" + result.out + result.err);
        EXPECT_EQ(result.exitCode, status);
        EXPECT_NE((status == 0 ? result.out : result.err).find(says), std::string::npos);
    }
    EXPECT_FALSE(std::filesystem::exists(root_ / "books.sqlite3")) << "none of them touches the books";

    std::ofstream(root_ / "books.sqlite3") << "this is not a database, just some text that is long enough";
    for (const char* command : {"init", "list", "demo"})
        EXPECT_NE(Books({command}).err.find("the books cannot be read"), std::string::npos) << command;
}

TEST_F(MznBooksCommandTest, InitMakesTheDocumentedBooksOnceWithTheirFolders) {
    const ChildProcess::Result init = Books({"init"});
    ASSERT_EQ(init.exitCode, 0) << init.err;
    EXPECT_EQ(init.err, "");
    EXPECT_EQ(BooksQuery::Rows("SELECT type, path FROM app_folders ORDER BY type"),
              (Rows{{"0", "C:\\Mizunara\\Reports\\"}, {"1", "C:\\Mizunara\\Conditions\\"}}));
    EXPECT_TRUE(std::filesystem::is_directory(root_ / "drives/c/Mizunara/Reports"));
    EXPECT_TRUE(std::filesystem::is_directory(root_ / "drives/c/Mizunara/Conditions"));
    EXPECT_EQ(BooksQuery::Number("SELECT count(*) FROM users WHERE selected_no1 = 0 AND selected_no2 = 0"), 1);
    EXPECT_EQ(BooksQuery::Number("SELECT count(*) FROM data_sets"), 0);
    const std::string first = BooksQuery::Dump();
    ASSERT_EQ(Books({"init"}).exitCode, 0);
    EXPECT_EQ(BooksQuery::Dump(), first) << "init again changes nothing";

    // A hierarchy line changed by hand comes back; a folder the user moved stays where the user put it.
    BooksQuery::Exec("UPDATE class_lines SET name = 'x', parent_code = NULL, side = 1, is_total = 0, ordinal = 0 "
                     "WHERE class_code = 1082687488; UPDATE app_folders SET path = 'D:\\Reports\\' WHERE type = 0");
    const ChildProcess::Result moved = Books({"init"});
    EXPECT_EQ(moved.exitCode, 0);
    EXPECT_EQ(BooksQuery::Number("SELECT count(*) FROM app_folders WHERE path = 'D:\\Reports\\'"), 1);
    EXPECT_NE(moved.err.find("warning: the application folder D:\\Reports\\ lies on no drive"), std::string::npos)
        << moved.err;
    BooksQuery::Exec("UPDATE app_folders SET path = 'C:\\Mizunara\\Reports\\' WHERE type = 0");
    EXPECT_EQ(BooksQuery::Dump(), first);

    // The hierarchy is the table of docs/class-codes.md, and a line is a total exactly when it has members.
    const std::string doc = testfiles::ReadFile(std::string(MZN_SOURCE_DIR) + "/docs/class-codes.md");
    const std::string table = doc.substr(doc.find("| Code | Name | Parent | Side | Total |"));
    const Rows lines = BooksQuery::Rows(
        "SELECT printf('| 0x%08X | %s | %s | %s | %s |', class_code, name, CASE WHEN parent_code IS NULL THEN '-' "
        "ELSE printf('0x%08X', parent_code) END, CASE side WHEN 1 THEN 'debit' ELSE 'credit' END, "
        "CASE is_total WHEN 1 THEN 'total' ELSE '' END) FROM class_lines");
    for (const auto& line : lines) EXPECT_NE(table.find("\n" + line[0] + "\n"), std::string::npos) << line[0];
    std::size_t documented = 0;
    for (std::size_t at = 0; (at = table.find("\n| 0x", at + 1)) != std::string::npos;) ++documented;
    EXPECT_EQ(documented, lines.size());
    EXPECT_EQ(BooksQuery::Number("SELECT count(*) FROM class_lines c WHERE c.is_total <> "
                                 "EXISTS (SELECT 1 FROM class_lines k WHERE k.parent_code = c.class_code)"),
              0);
}

TEST_F(MznBooksCommandTest, SelectAndListFollowTheUser) {
    ASSERT_EQ(Books({"demo"}).exitCode, 0);
    const ChildProcess::Result select = Books({"select", "3"});
    ASSERT_EQ(select.exitCode, 0) << select.err;
    EXPECT_TRUE(Lists({"list"}, "*     3  DEMO03") && Lists({"list"}, "      1  DEMO01"));
    const std::string before = BooksQuery::Dump();
    const ChildProcess::Result unknown = Books({"select", "99"});
    EXPECT_EQ(unknown.exitCode, 4);
    EXPECT_NE(unknown.err.find("there is no data set 99"), std::string::npos) << unknown.err;
    EXPECT_EQ(BooksQuery::Dump(), before);

    ASSERT_EQ(Books({"select", "--user", "alice", "2"}).exitCode, 0);
    EXPECT_EQ(BooksQuery::Rows("SELECT selected_no1, selected_no2 FROM users WHERE user_id = 'alice'"),
              (Rows{{"2", "2"}}));
    EXPECT_TRUE(Lists({"list", "--user=alice"}, "*     2  DEMO02"));
    EXPECT_TRUE(Lists({"list"}, "*     3  DEMO03")) << "the own selection stays";

    // The books may name the current user themselves.
    BooksQuery::Exec("INSERT INTO settings (key, value) VALUES ('current_user', 'bob')");
    const std::string bob = Books({"list"}).out;
    EXPECT_NE(bob.find("User:  bob (no data set selected)"), std::string::npos) << bob;
    EXPECT_EQ(bob.find("\n*"), std::string::npos) << bob;
    ASSERT_EQ(Books({"select", "5"}).exitCode, 0);
    EXPECT_EQ(BooksQuery::Number("SELECT selected_no2 FROM users WHERE user_id = 'bob'"), 5);
    BooksQuery::Exec("DELETE FROM data_sets");
    EXPECT_NE(Books({"list"}).out.find("No data sets."), std::string::npos);
}

}  // namespace
