// The commands of mzn-books around the data: init, select, list, the command
// line itself, and the class-code hierarchy and standard chart that every
// books get.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/TextCodec.h"
#include "tests/support/TempRoot.h"
#include "tests/support/BooksTool.h"
#include "tests/support/BooksQuery.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

std::string Utf8(std::u8string_view text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

std::string Trim(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

class MznBooksCommandTest : public ::testing::Test {
protected:
    ChildProcess::Result Books(const std::vector<std::string>& arguments) {
        return BooksTool::Run(arguments, root_ / "io");
    }

    // The line of list that shows a data set, without its marker column.
    std::string ListedLineOf(const std::string& list, const std::string& dataId) {
        std::istringstream lines(list);
        for (std::string line; std::getline(lines, line);)
            if (line.find("  " + dataId + "  ") != std::string::npos) return line;
        return std::string();
    }

    TempRoot root_;
};

TEST_F(MznBooksCommandTest, HelpVersionAndWrongCommandLines) {
    ChildProcess::Result help = Books({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* command : {"init", "import", "select", "list", "demo", "Exit status"})
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
    EXPECT_EQ(Books({"import", "--help"}).out, help.out);
    ChildProcess::Result version = Books({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("mzn-books ", 0), 0u) << version.out;

    for (const std::vector<std::string>& wrong : std::vector<std::vector<std::string>>{{},
                                                                                       {"frobnicate"},
                                                                                       {"select"},
                                                                                       {"select", "x"},
                                                                                       {"select", "1", "2"},
                                                                                       {"list", "--accounts", "3"},
                                                                                       {"init", "extra"},
                                                                                       {"select", "--user"}}) {
        ChildProcess::Result result = Books(wrong);
        EXPECT_EQ(result.exitCode, 2) << result.err;
        EXPECT_NE(result.err.find("mzn-books --help"), std::string::npos) << result.err;
    }
    EXPECT_FALSE(std::filesystem::exists(root_ / "books.sqlite3")) << "a wrong command line touches nothing";
}

TEST_F(MznBooksCommandTest, InitMakesTheBooksOnceWithTheirFolders) {
    ChildProcess::Result init = Books({"init"});
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

    // A hierarchy line changed by hand comes back; a folder the user moved
    // stays where the user put it.
    BooksQuery::Exec(
        "UPDATE class_lines SET name = 'x', parent_code = NULL WHERE class_code = 1082687488;"
        "UPDATE app_folders SET path = 'D:\\Reports\\' WHERE type = 0");
    ASSERT_EQ(Books({"init"}).exitCode, 0);
    EXPECT_EQ(BooksQuery::Rows("SELECT name, parent_code FROM class_lines WHERE class_code = 1082687488"),
              (Rows{{Utf8(u8"売上高"), "1082654728"}}));
    ChildProcess::Result moved = Books({"init"});
    EXPECT_EQ(BooksQuery::Rows("SELECT path FROM app_folders WHERE type = 0"), (Rows{{"D:\\Reports\\"}}));
    EXPECT_NE(moved.err.find("warning"), std::string::npos) << "drive D: is not mapped: " << moved.err;
    EXPECT_EQ(moved.exitCode, 0);
}

TEST_F(MznBooksCommandTest, BooksThatCannotBeOpenedAreReported) {
    ChildProcess::Result list = Books({"list"});
    EXPECT_EQ(list.exitCode, 1);
    EXPECT_NE(list.err.find("no books"), std::string::npos) << list.err;
    EXPECT_EQ(Books({"select", "1"}).exitCode, 1);

    std::ofstream(root_ / "books.sqlite3") << "this is not a database, just some text that is long enough";
    for (const char* command : {"init", "list", "demo"}) {
        ChildProcess::Result result = Books({command});
        EXPECT_EQ(result.exitCode, 1) << command;
        EXPECT_FALSE(result.err.empty()) << command;
    }
}

TEST_F(MznBooksCommandTest, SelectAndListFollowTheUser) {
    ASSERT_EQ(Books({"demo"}).exitCode, 0);
    ChildProcess::Result select = Books({"select", "3"});
    ASSERT_EQ(select.exitCode, 0) << select.err;
    ChildProcess::Result list = Books({"list"});
    EXPECT_EQ(ListedLineOf(list.out, "DEMO03").substr(0, 1), "*") << list.out;
    EXPECT_EQ(ListedLineOf(list.out, "DEMO01").substr(0, 1), " ") << list.out;

    const std::string before = BooksQuery::Dump();
    ChildProcess::Result unknown = Books({"select", "99"});
    EXPECT_EQ(unknown.exitCode, 4);
    EXPECT_NE(unknown.err.find("no data set 99"), std::string::npos) << unknown.err;
    EXPECT_EQ(BooksQuery::Dump(), before);

    ASSERT_EQ(Books({"select", "--user", "alice", "2"}).exitCode, 0);
    EXPECT_EQ(BooksQuery::Rows("SELECT selected_no1, selected_no2 FROM users WHERE user_id = 'alice'"),
              (Rows{{"2", "2"}}));
    EXPECT_EQ(ListedLineOf(Books({"list", "--user=alice"}).out, "DEMO02").substr(0, 1), "*");
    EXPECT_EQ(ListedLineOf(Books({"list"}).out, "DEMO03").substr(0, 1), "*") << "the own selection stays";

    // The books may name the current user themselves.
    BooksQuery::Exec("INSERT INTO settings (key, value) VALUES ('current_user', 'bob')");
    ChildProcess::Result bob = Books({"list"});
    EXPECT_NE(bob.out.find("User:  bob (no data set selected)"), std::string::npos) << bob.out;
    EXPECT_EQ(bob.out.find("\n*"), std::string::npos) << bob.out;
    ASSERT_EQ(Books({"select", "5"}).exitCode, 0);
    EXPECT_EQ(BooksQuery::Number("SELECT selected_no2 FROM users WHERE user_id = 'bob'"), 5);
}

TEST_F(MznBooksCommandTest, HierarchyHoldsTheStatementTotals) {
    ASSERT_EQ(Books({"init"}).exitCode, 0);
    auto ancestors = [](std::uint32_t code) {
        std::vector<std::string> chain;
        for (const auto& row :
             BooksQuery::Rows("WITH RECURSIVE up(line) AS (SELECT parent_code FROM class_lines WHERE class_code = " +
                              std::to_string(code) +
                              " UNION ALL SELECT c.parent_code FROM up JOIN class_lines c ON c.class_code = up.line) "
                              "SELECT printf('%08X', line) FROM up WHERE line IS NOT NULL"))
            chain.push_back(row[0]);
        return chain;
    };
    using Chain = std::vector<std::string>;
    EXPECT_EQ(ancestors(0x40888000), (Chain{"40880008", "40880000", "40800000", "40200080", "40000080"}));
    EXPECT_EQ(ancestors(0x40884000), (Chain{"40880008", "40880000", "40800000", "40200080", "40000080"}));
    EXPECT_EQ(ancestors(0x40882000), (Chain{"40880000", "40800000", "40200080", "40000080"})) << "SG&A";
    EXPECT_EQ(ancestors(0x40848000), (Chain{"40840000", "40800000", "40200080", "40000080"}));
    EXPECT_EQ(ancestors(0x40480000), (Chain{"40400000", "40200080", "40000080"}));
    EXPECT_EQ(ancestors(0x40440000), (Chain{"40400000", "40200080", "40000080"}));
    EXPECT_EQ(ancestors(0x40100000), (Chain{"40000080"})) << "taxes come after profit before tax";
    EXPECT_EQ(ancestors(0x80888000), (Chain{"80880000", "80800000"}));
    EXPECT_EQ(ancestors(0x80448000), (Chain{"80440000", "80400000"}));
    EXPECT_EQ(ancestors(0x80282000), (Chain{"80280000", "80200000"}));
    for (std::uint32_t top : {0x80800000u, 0x80400000u, 0x80200000u, 0x40000080u}) EXPECT_TRUE(ancestors(top).empty());

    // Sides: assets and expenses on the debit side, the rest on the credit side.
    EXPECT_EQ(BooksQuery::Rows("SELECT printf('%08X', class_code), side, is_total FROM class_lines WHERE class_code IN "
                               "(1082654720, 1082671104, 1082687488, 1082654728, 1078460416, 1078198272, "
                               "1075839104, 2155872256, 2151677952, 2149580800) ORDER BY class_code"),
              (Rows{{"40200080", "2", "1"},
                    {"40440000", "1", "1"},
                    {"40480000", "2", "1"},
                    {"40880000", "2", "1"},
                    {"40880008", "2", "1"},
                    {"40884000", "1", "1"},
                    {"40888000", "2", "1"},
                    {"80200000", "2", "1"},
                    {"80400000", "2", "1"},
                    {"80800000", "1", "1"}}));
    EXPECT_EQ(BooksQuery::Number("SELECT count(*) FROM class_lines c WHERE c.is_total <> "
                                 "EXISTS (SELECT 1 FROM class_lines k WHERE k.parent_code = c.class_code)"),
              0)
        << "a line is a total exactly when it has members";
}

TEST_F(MznBooksCommandTest, DocumentedHierarchyIsTheOneInTheBooks) {
    ASSERT_EQ(Books({"init"}).exitCode, 0);
    std::ifstream doc(std::string(MZN_SOURCE_DIR) + "/docs/class-codes.md");
    ASSERT_TRUE(doc.good());
    // The rows of the table that follows the header "| Code | Name | ...".
    std::set<std::vector<std::string>> documented;
    bool inTable = false;
    for (std::string line; std::getline(doc, line);) {
        if (line.rfind("| Code | Name | Parent | Side | Total |", 0) == 0) inTable = true;
        if (!inTable || line.rfind("| 0x", 0) != 0) continue;
        std::vector<std::string> cells;
        std::istringstream parts(line.substr(1));
        for (std::string cell; std::getline(parts, cell, '|');) cells.push_back(Trim(cell));
        ASSERT_GE(cells.size(), 5u) << line;
        cells.resize(5);
        documented.insert(cells);
    }
    std::set<std::vector<std::string>> books;
    for (const auto& row : BooksQuery::Rows(
             "SELECT printf('0x%08X', class_code), name, "
             "CASE WHEN parent_code IS NULL THEN '-' ELSE printf('0x%08X', parent_code) END, "
             "CASE side WHEN 1 THEN 'debit' ELSE 'credit' END, CASE is_total WHEN 1 THEN 'total' ELSE '' END "
             "FROM class_lines"))
        books.insert(row);
    EXPECT_EQ(documented.size(), books.size());
    EXPECT_EQ(documented, books);
}

TEST_F(MznBooksCommandTest, StandardChartMeetsEveryAccountRule) {
    ASSERT_EQ(Books({"demo"}).exitCode, 0);
    const std::string set = "(SELECT number FROM data_sets WHERE data_id = 'DEMO01')";
    EXPECT_GE(BooksQuery::Number("SELECT count(*) FROM accounts WHERE data_set = " + set +
                                 " AND code % 10000 = 0 AND flag110 = 0 AND flag112 = 0"),
              80)
        << "main accounts";
    EXPECT_GE(BooksQuery::Number("SELECT count(*) FROM accounts WHERE data_set = " + set + " AND code % 10000 <> 0"),
              5);
    EXPECT_GE(BooksQuery::Number("SELECT count(*) FROM accounts WHERE data_set = " + set + " AND flag110 = 1"), 3);
    EXPECT_GE(BooksQuery::Number("SELECT count(*) FROM accounts WHERE data_set = " + set + " AND flag112 = 1"), 3);
    EXPECT_EQ(BooksQuery::Number("SELECT count(*) FROM accounts a JOIN period_sums USING (data_set, account_id) "
                                 "WHERE a.flag112 = 1"),
              0);
    EXPECT_EQ(BooksQuery::Number("SELECT count(*) FROM accounts WHERE class_code NOT IN "
                                 "(SELECT class_code FROM class_lines)"),
              0);
    for (std::u8string_view name : {u8"介護報酬収入", u8"利用者負担金収入", u8"介護予防サービス収入"})
        EXPECT_EQ(BooksQuery::Number("SELECT count(*) FROM accounts WHERE data_set = " + set + " AND name = '" +
                                     Utf8(name) + "' AND class_code = 1082688512 AND code % 10000 = 0"),
                  1)
            << Utf8(name);

    // Identifiers follow the code, the same in every data set.
    EXPECT_EQ(BooksQuery::Number("SELECT count(*) FROM accounts WHERE hex(account_id) <> "
                                 "'4D5A4E41' || printf('%08X', code) || '0000000000000000'"),
              0);
    for (const auto& row : BooksQuery::Rows("SELECT name FROM accounts")) {
        const auto cp932 = TextCodec::Utf8ToCp932(row[0]);
        EXPECT_TRUE(cp932.ok) << row[0];
        EXPECT_LE(cp932.text.size(), 50u) << row[0];
    }
}

}  // namespace
