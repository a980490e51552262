// `mzn-books import` through the real program: the rows it leaves in the books, and input with a mistake that names
// its line and leaves the books as they were.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/BooksQuery.h"
#include "tests/support/BooksTool.h"
#include "tests/support/TempRoot.h"
#include "tests/support/TestFiles.h"

namespace {

using testfiles::Utf8;

// Rows of a query, cells joined by " ", rows ended by "\n".
std::string Table(const std::string& sql) {
    std::string text;
    for (const auto& row : BooksQuery::Rows(sql))
        for (std::size_t i = 0; i < row.size(); ++i) text += row[i] + (i + 1 < row.size() ? " " : "\n");
    return text;
}

const std::u8string kAccountsHeader = u8"code,sub,name,class_code,side\n";
const std::u8string kBalancesHeader = u8"code,sub,period,debit,credit,debit_incl,credit_incl\n";
const std::u8string kCash = u8"1110,0,現金,80888000,debit\n";

class MznBooksImportTest : public ::testing::Test {
protected:
    ChildProcess::Result Import(const std::u8string& accounts, const std::u8string& balances,
                                const std::vector<std::string>& options = {}) {
        std::vector<std::string> arguments{"import", "--name", Utf8(u8"テスト株式会社"), "--start", "20240401",
                                           "--end", "20250331"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        for (const auto& [name, text] : {std::pair{"accounts.csv", accounts}, {"balances.csv", balances}}) {
            EXPECT_TRUE(testfiles::WriteFile(root_ / name, Utf8(text)));
            arguments.push_back(root_ / name);
        }
        return BooksTool::Run(arguments, root_ / "io");
    }
    TempRoot root_;
};

TEST_F(MznBooksImportTest, GoodFilesBecomeTheseRows) {
    const std::u8string accounts =
        u8"code,sub,name,class_code,side,flag110,flag112,memo\n"
        u8"1100,0,現金及び預金,80888000,debit,0,1,heading\n"
        u8"1110,0,現金,80888000,debit,,,\n"
        u8"1140,0,普通預金,80888000,debit\n"
        u8"1140,1,\"Bank, \"\"Main\"\"\",80888000,DEBIT,0,0\n"
        u8"1140,2,あいうえおかきくけこさしすせそたちつてとなにぬねの,80888000,debit\n"  // 50 bytes in code page 932
        u8"3110,0,資本金,80288000,credit\n"
        u8"4110,0,商品売上高,40888800, credit \n"
        u8"6120,0,給料手当,40882800,debit,1,0\n"
        u8"214748,0,最大,80888000,debit\n"
        u8"214748,3647,最大の補助,80888000,debit\n";
    // Lines of one account and period add up, an empty tax-included amount is the line's tax-excluded one, and a
    // main account holds its sub-accounts' amounts; a heading account listed with zero amounts gets no sums.
    const std::u8string balances = kBalancesHeader +
                                   u8"1110,0,0,1000.5,,,\n3110,0,0,,1000.5\n1110,0,1,110,,110,\n4110,0,1,,100,,110\n"
                                   u8"1140,1,1,10,,,\n1140,1,1,0.0001,0,,\n1140,2,1,5,,,\n4110,0,1,,25.0001,,\n"
                                   u8"1100,0,1,0,0,,\n1110,0,18,2,3,2.2,3.3\n";
    const ChildProcess::Result result =
        Import(accounts, balances, {"--interim", "--intro-month", "3", "--net-assets", "0", "--tax-included-books"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "1\n") << "the new data set's number";
    EXPECT_EQ(Table("SELECT * FROM data_sets"), Utf8(u8"1 D000001 テスト株式会社 20240401 20250331 1 3 0 1\n"));
    // The identifier: "MZNA", the stored code (code x 10000 + sub) big-endian, zeros.
    EXPECT_EQ(Table("SELECT code, hex(account_id) = '4D5A4E41' || printf('%08X', code) || '0000000000000000', name, "
                    "printf('%08X', class_code), side, flag110, flag112 FROM accounts ORDER BY code"),
              Utf8(u8"11000000 1 現金及び預金 80888000 1 0 1\n"
                   u8"11100000 1 現金 80888000 1 0 0\n"
                   u8"11400000 1 普通預金 80888000 1 0 0\n"
                   u8"11400001 1 Bank, \"Main\" 80888000 1 0 0\n"
                   u8"11400002 1 あいうえおかきくけこさしすせそたちつてとなにぬねの 80888000 1 0 0\n"
                   u8"31100000 1 資本金 80288000 2 0 0\n"
                   u8"41100000 1 商品売上高 40888800 2 0 0\n"
                   u8"61200000 1 給料手当 40882800 1 1 0\n"
                   u8"2147480000 1 最大 80888000 1 0 0\n"
                   u8"2147483647 1 最大の補助 80888000 1 0 0\n"));
    EXPECT_EQ(Table("SELECT a.code, p.period, p.debit, p.credit, p.debit_incl, p.credit_incl FROM period_sums p "
                    "JOIN accounts a USING (data_set, account_id) ORDER BY a.code, p.period"),
              "11100000 0 10005000 0 10005000 0\n"
              "11100000 1 1100000 0 1100000 0\n"
              "11100000 18 20000 30000 22000 33000\n"
              "11400000 1 150001 0 150001 0\n"
              "11400001 1 100001 0 100001 0\n"
              "11400002 1 50000 0 50000 0\n"
              "31100000 0 0 10005000 0 10005000\n"
              "41100000 1 0 1250001 0 1350001\n");

    // A second import takes the next number with the same identifiers, and leaves the first alone.
    const std::string first = BooksQuery::Dump();
    ASSERT_EQ(Import(accounts, balances, {"--interim"}).out, "2\n");
    EXPECT_EQ(Table("SELECT count(*), tax_included FROM accounts JOIN data_sets ON number = data_set WHERE number = 2 "
                    "AND account_id IN (SELECT account_id FROM accounts WHERE data_set = 1)"),
              "10 0\n");
    BooksQuery::Exec("DELETE FROM data_sets WHERE number = 2");
    EXPECT_EQ(BooksQuery::Dump(), first);
}

TEST_F(MznBooksImportTest, MalformedInputNamesItsLineAndImportsNothing) {
    const std::u8string a = kAccountsHeader + kCash;
    const std::u8string b = kBalancesHeader + u8"1110,0,1,1,,,\n";
    std::u8string many = kAccountsHeader;
    for (int line = 2; line <= 53; ++line) {  // 52 lines with a wrong code: 50 are listed
        const std::string text = "x" + std::to_string(line) + ",0,a,80888000,debit\n";
        many.append(text.begin(), text.end());
    }
    const std::tuple<std::u8string, std::u8string, const char*, const char*> cases[] = {
        // accounts, balances, the file and line the message names, a part of the message after it
        {a + u8"1120,0,小口現金,80888001,debit\n", b, "accounts.csv:3:", "class code 80888001 of account 1120"},
        {a + u8"1120,0,a,80888000,debit\n1110,0,b,80888000,debit\n", b, "accounts.csv:4:", "first on line 2"},
        {a + u8"1120,0,あいうえおかきくけこさしすせそたちつてとなにぬねのは,80888000,debit\n", b, "accounts.csv:3:",
         "52 bytes in code page 932; at most 50"},
        {a + u8"1120,0,現金\U0001F600,80888000,debit\n", b, "accounts.csv:3:", "code page 932 form"},
        {a + u8"1120,0, ,80888000,debit\n", b, "accounts.csv:3:", "the account name is empty"},
        {a + u8"1120,0,a\tb,80888000,debit\n", b, "accounts.csv:3:", "control character"},
        {a + u8"1120,0,\"two\nlines\",80888000,debit\n1130,0,x,80888000,left\n", b, "accounts.csv:5:",
         "the side must be debit or credit, not \"left\""},
        {a + u8"1120,0,\"open,80888000,debit\n", b, "accounts.csv:3:", "not closed"},
        {u8"code,name,sub,class_code,side\n" + kCash, b, "accounts.csv:1:", "expected the header"},
        {u8"", b, "accounts.csv:1:", "the file is empty"},
        {a + u8"1140,1,A銀行,80888000,debit\n", b, "accounts.csv:3:", "no main account 1140"},
        {a + u8"1110,1,a,80884000,debit\n", b, "accounts.csv:3:", "class code 80884000, its main account (line 2)"},
        {a + u8"1110,1,a,80888000,credit\n", b, "accounts.csv:3:", "on the other side than its main account"},
        {a + u8"214749,0,x,80888000,debit\n", b, "accounts.csv:3:", "a number from 1 to 214748, not \"214749\""},
        {a + u8"0,0,x,80888000,debit\n", b, "accounts.csv:3:", "a number from 1 to 214748"},
        {a + u8"1120,10000,x,80888000,debit\n", b, "accounts.csv:3:", "0 (a main account) or 1 to 9999"},
        {a + u8"214748,3648,x,80888000,debit\n", b, "accounts.csv:3:", "beyond the largest account code"},
        {a + u8"1120,0,x,808880000,debit\n", b, "accounts.csv:3:", "1 to 8 hexadecimal digits"},
        {a + u8"1120,0,x\n", b, "accounts.csv:3:", "expected at least 5 fields"},
        {u8"code,sub,name,class_code,side,flag110\n1110,0,a,80888000,debit,2\n", b, "accounts.csv:2:",
         "flag110 must be 0 or 1"},
        {many, b, "accounts.csv:51:", "not \"x51\"\n... and 2 more\nmzn-books: 52 problems"},
        {a, b + u8"1120,0,1,1,,,\n", "balances.csv:3:", "1120 is not in"},
        {a, kBalancesHeader + u8"1110,0,13,1,,,\n", "balances.csv:2:", "the period must be 0 (opening), 1 to 12"},
        {a, kBalancesHeader + u8"1110,0,-1,1,,,\n", "balances.csv:2:", "the period must"},
        {a, b + u8"1110,0,2,,0.00001,,\n", "balances.csv:3:", "credit: \"0.00001\" has more than four decimals"},
        {a, b + u8"1110,0,2,,,x\n", "balances.csv:3:", "debit_incl: \"x\" is not an amount"},
        {a, b + u8"1110,0,2,1\n", "balances.csv:3:", "expected at least 5 fields"},
        {a, kBalancesHeader + u8"1110,0,15,1,,,\n", "balances.csv:2:", "no interim closing (--interim)"},
        {u8"code,sub,name,class_code,side,flag112\n1100,0,現金及び預金,80888000,debit,1\n1100,1,a,80888000,debit,0\n"
         + kCash, b + u8"1100,1,1,1,,,\n", "balances.csv:3:", "(or belongs to) a heading account"},
        {a, kBalancesHeader + u8"1110,0,1,60000000000000,,,\n1110,0,1,40000000000000,,,\n", "balances.csv:3:",
         "the sums of account 1110 in period 1 reach 10^14 yen"},
        {a, u8"1110,0,1,1,,,\n", "balances.csv:1:", "expected the header"},
    };
    ASSERT_EQ(Import(a, b).exitCode, 0);
    const std::string before = BooksQuery::Dump();
    for (const auto& [accounts, balances, where, message] : cases) {
        const ChildProcess::Result result = Import(accounts, balances);
        SCOPED_TRACE(result.err);
        EXPECT_EQ(result.exitCode, 3);
        EXPECT_EQ(result.out, "");
        const std::size_t at = result.err.find(root_ / where);
        ASSERT_NE(at, std::string::npos);
        EXPECT_NE(result.err.find(message, at), std::string::npos);
        EXPECT_NE(result.err.find("in the input; nothing was imported"), std::string::npos);
    }
    EXPECT_EQ(BooksQuery::Dump(), before);

    // A write the books refuse halfway (the closing adjustments, after the data set, its accounts and the first
    // sums) leaves no half import either.
    BooksQuery::Exec("CREATE TRIGGER refuse BEFORE INSERT ON period_sums WHEN NEW.period = 18 "
                     "BEGIN SELECT RAISE(ABORT, 'the disk is full'); END");
    const ChildProcess::Result refused = Import(a, b + u8"1110,0,18,1,,,\n");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("cannot add the sums of account 11100000: the disk is full"), std::string::npos)
        << refused.err;
    EXPECT_EQ(BooksQuery::Dump(), before);
}

}  // namespace
