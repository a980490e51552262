// `mzn-books import` through the real program: what lands in the books, and
// that input with a mistake names its line and leaves the books as they were.

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/TempRoot.h"
#include "tests/support/BooksTool.h"
#include "tests/support/BooksQuery.h"

namespace {

std::string Utf8(std::u8string_view text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

constexpr std::u8string_view kAccounts =
    u8"code,sub,name,class_code,side,flag110,flag112,memo\n"
    u8"1100,0,現金及び預金,80888000,debit,0,1,heading\n"
    u8"1110,0,現金,80888000,debit,,,\n"
    u8"1140,0,普通預金,80888000,debit\n"
    u8"1140,1,\"Bank, \"\"Main\"\"\",80888000,DEBIT,0,0\n"
    u8"1140,2,あいうえおかきくけこさしすせそたちつてとなにぬねの,80888000,debit\n"  // 50 bytes in code page 932
    u8"3110,0,資本金,80288000,credit\n"
    u8"4110,0,商品売上高,40888800, credit \n"
    u8"6120,0,給料手当,40882800,debit,1,0\n";

constexpr std::u8string_view kBalances =
    u8"code,sub,period,debit,credit,debit_incl,credit_incl\n"
    u8"1110,0,0,1000.5,,,\n"
    u8"3110,0,0,,1000.5\n"
    u8"1110,0,1,110,,110,\n"
    u8"4110,0,1,,100,,110\n"
    u8"1140,1,1,10,,,\n"
    u8"1140,1,1,0.0001,0,,\n"
    u8"1140,2,1,5,,,\n"
    u8"4110,0,1,,25.0001,,\n"
    u8"1100,0,1,0,0,,\n"
    u8"1110,0,18,2,3,2.2,3.3\n";

class MznBooksImportTest : public ::testing::Test {
protected:
    std::string Write(const std::string& name, std::u8string_view text) {
        const std::string path = root_ / name;
        std::ofstream(path, std::ios::binary) << Utf8(text);
        return path;
    }

    ChildProcess::Result Books(const std::vector<std::string>& arguments) {
        return BooksTool::Run(arguments, root_ / "io");
    }

    ChildProcess::Result Import(std::u8string_view accounts, std::u8string_view balances,
                                std::vector<std::string> options = {}) {
        std::vector<std::string> arguments{"import", "--name",  Utf8(u8"テスト株式会社"), "--start", "20240401",
                                           "--end",  "20250331"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        arguments.push_back(Write("accounts.csv", accounts));
        arguments.push_back(Write("balances.csv", balances));
        return Books(arguments);
    }

    // Sums of an account in a period: debit, credit, debit_incl, credit_incl.
    std::vector<std::string> Sums(std::int64_t number, std::int64_t code, int period) {
        auto rows = BooksQuery::Rows(
            "SELECT p.debit, p.credit, p.debit_incl, p.credit_incl FROM period_sums p "
            "JOIN accounts a USING (data_set, account_id) WHERE a.data_set = " +
            std::to_string(number) + " AND a.code = " + std::to_string(code) +
            " AND p.period = " + std::to_string(period));
        return rows.empty() ? std::vector<std::string>{} : rows.front();
    }

    TempRoot root_;
};

TEST_F(MznBooksImportTest, GoodFilesBecomeADataSet) {
    ChildProcess::Result result =
        Import(kAccounts, kBalances, {"--interim", "--intro-month", "3", "--net-assets", "0", "--tax-included-books"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "1\n") << "prints the new data set's number";

    EXPECT_EQ(BooksQuery::Rows("SELECT number, data_id, name, period_start, period_end, interim, intro_month, "
                               "net_assets, tax_included FROM data_sets"),
              (std::vector<std::vector<std::string>>{
                  {"1", "D000001", Utf8(u8"テスト株式会社"), "20240401", "20250331", "1", "3", "0", "1"}}));

    // Codes as code x 10000 + sub, with the identifier derived from them.
    EXPECT_EQ(BooksQuery::Rows("SELECT code, hex(account_id), name, class_code, side, flag110, flag112 "
                               "FROM accounts ORDER BY code"),
              (std::vector<std::vector<std::string>>{
                  {"11000000", "4D5A4E4100A7D8C00000000000000000", Utf8(u8"現金及び預金"), "2156429312", "1", "0", "1"},
                  {"11100000", "4D5A4E4100A95F600000000000000000", Utf8(u8"現金"), "2156429312", "1", "0", "0"},
                  {"11400000", "4D5A4E4100ADF3400000000000000000", Utf8(u8"普通預金"), "2156429312", "1", "0", "0"},
                  {"11400001", "4D5A4E4100ADF3410000000000000000", "Bank, \"Main\"", "2156429312", "1", "0", "0"},
                  {"11400002", "4D5A4E4100ADF3420000000000000000",
                   Utf8(u8"あいうえおかきくけこさしすせそたちつてとなにぬねの"), "2156429312", "1", "0", "0"},
                  {"31100000", "4D5A4E4101DA8C600000000000000000", Utf8(u8"資本金"), "2150137856", "2", "0", "0"},
                  {"41100000", "4D5A4E41027322E00000000000000000", Utf8(u8"商品売上高"), "1082689536", "2", "0", "0"},
                  {"61200000", "4D5A4E4103A5D6800000000000000000", Utf8(u8"給料手当"), "1082664960", "1", "1", "0"},
              }));

    // Ten-thousandths of a yen; an empty tax-included amount is the line's
    // tax-excluded one; lines of one account and period add up.
    EXPECT_EQ(Sums(1, 11100000, 0), (std::vector<std::string>{"10005000", "0", "10005000", "0"}));
    EXPECT_EQ(Sums(1, 31100000, 0), (std::vector<std::string>{"0", "10005000", "0", "10005000"}));
    EXPECT_EQ(Sums(1, 41100000, 1), (std::vector<std::string>{"0", "1250001", "0", "1350001"}));
    EXPECT_EQ(Sums(1, 11100000, 18), (std::vector<std::string>{"20000", "30000", "22000", "33000"}));
    EXPECT_EQ(Sums(1, 11400001, 1), (std::vector<std::string>{"100001", "0", "100001", "0"}));
    // A main account holds its sub-accounts' amounts.
    EXPECT_EQ(Sums(1, 11400000, 1), (std::vector<std::string>{"150001", "0", "150001", "0"}));
    EXPECT_EQ(BooksQuery::Number("SELECT count(*) FROM period_sums p JOIN accounts a USING (data_set, account_id) "
                                 "WHERE a.code = 11000000"),
              0)
        << "a heading account listed with zero amounts gets no sums";

    // A second import takes the next number and leaves the first alone.
    ChildProcess::Result second = Import(kAccounts, kBalances, {"--interim"});
    ASSERT_EQ(second.exitCode, 0) << second.err;
    EXPECT_EQ(second.out, "2\n");
    EXPECT_EQ(BooksQuery::Number("SELECT count(*) FROM accounts WHERE data_set = 2"), 8);
    EXPECT_EQ(BooksQuery::Rows("SELECT hex(account_id) FROM accounts WHERE data_set = 1 ORDER BY code"),
              BooksQuery::Rows("SELECT hex(account_id) FROM accounts WHERE data_set = 2 ORDER BY code"))
        << "an account has the same identifier in every data set";
    EXPECT_EQ(BooksQuery::Number("SELECT tax_included FROM data_sets WHERE number = 2"), 0);
}

struct BadInput {
    const char* what;
    std::u8string_view accounts;
    std::u8string_view balances;
    const char* where;   // the file and line the message must name
    const char* reason;  // a part of the reason
};

constexpr std::u8string_view kGoodBalances = u8"code,sub,period,debit,credit,debit_incl,credit_incl\n1110,0,1,1,,,\n";

const BadInput kBadInputs[] = {
    {"unknown class code",
     u8"code,sub,name,class_code,side\n1110,0,現金,80888000,debit\n1120,0,小口現金,80888001,debit\n", kGoodBalances,
     "accounts.csv:3:", "class code 80888001"},
    {"account listed twice",
     u8"code,sub,name,class_code,side\n1110,0,現金,80888000,debit\n1120,0,a,80888000,debit\n1110,0,b,80888000,debit\n",
     kGoodBalances, "accounts.csv:4:", "first on line 2"},
    {"name over 50 bytes",
     u8"code,sub,name,class_code,side\n1110,0,現金,80888000,debit\n"
     u8"1120,0,あいうえおかきくけこさしすせそたちつてとなにぬねのは,80888000,debit\n",
     kGoodBalances, "accounts.csv:3:", "52 bytes"},
    {"name without a code page 932 form", u8"code,sub,name,class_code,side\n1110,0,現金\U0001F600,80888000,debit\n",
     kGoodBalances, "accounts.csv:2:", "code page 932"},
    {"a quoted line break moves the line count",
     u8"code,sub,name,class_code,side\n1110,0,\"two\nlines\",80888000,debit\n1120,0,x,80888000,left\n", kGoodBalances,
     "accounts.csv:4:", "debit or credit"},
    {"unclosed quote", u8"code,sub,name,class_code,side\n1110,0,現金,80888000,debit\n1120,0,\"open,80888000,debit\n",
     kGoodBalances, "accounts.csv:3:", "not closed"},
    {"wrong header", u8"code,name,sub,class_code,side\n1110,0,現金,80888000,debit\n", kGoodBalances,
     "accounts.csv:1:", "expected the header"},
    {"empty file", u8"", kGoodBalances, "accounts.csv:1:", "empty"},
    {"sub-account without its main account",
     u8"code,sub,name,class_code,side\n1110,0,現金,80888000,debit\n1140,1,A銀行,80888000,debit\n", kGoodBalances,
     "accounts.csv:3:", "no main account 1140"},
    {"code out of range", u8"code,sub,name,class_code,side\n1110,0,現金,80888000,debit\n214749,0,x,80888000,debit\n",
     kGoodBalances, "accounts.csv:3:", "1 to 214748"},
    {"account missing from the chart", u8"code,sub,name,class_code,side\n1110,0,現金,80888000,debit\n",
     u8"code,sub,period,debit,credit,debit_incl,credit_incl\n1110,0,1,1,,,\n1120,0,1,1,,,\n",
     "balances.csv:3:", "1120 is not in"},
    {"period that does not exist", u8"code,sub,name,class_code,side\n1110,0,現金,80888000,debit\n",
     u8"code,sub,period,debit,credit,debit_incl,credit_incl\n1110,0,13,1,,,\n", "balances.csv:2:", "the period must"},
    {"five decimals", u8"code,sub,name,class_code,side\n1110,0,現金,80888000,debit\n",
     u8"code,sub,period,debit,credit,debit_incl,credit_incl\n1110,0,1,1,,,\n1110,0,2,,0.00001,,\n",
     "balances.csv:3:", "four decimals"},
    {"interim amounts without an interim closing", u8"code,sub,name,class_code,side\n1110,0,現金,80888000,debit\n",
     u8"code,sub,period,debit,credit,debit_incl,credit_incl\n1110,0,15,1,,,\n", "balances.csv:2:", "--interim"},
    {"amounts on a heading account",
     u8"code,sub,name,class_code,side,flag112\n1100,0,現金及び預金,80888000,debit,1\n1110,0,現金,80888000,debit,0\n",
     u8"code,sub,period,debit,credit,debit_incl,credit_incl\n1110,0,1,1,,,\n1100,0,1,1,,,\n",
     "balances.csv:3:", "heading account"},
    {"sums reaching 10^14 yen", u8"code,sub,name,class_code,side\n1110,0,現金,80888000,debit\n",
     u8"code,sub,period,debit,credit,debit_incl,credit_incl\n1110,0,1,60000000000000,,,\n"
     u8"1110,0,1,40000000000000,,,\n",
     "balances.csv:3:", "10^14"},
    {"balances header missing", u8"code,sub,name,class_code,side\n1110,0,現金,80888000,debit\n", u8"1110,0,1,1,,,\n",
     "balances.csv:1:", "expected the header"},
};

TEST_F(MznBooksImportTest, MalformedInputNamesTheLineAndChangesNothing) {
    ASSERT_EQ(Import(kAccounts, kBalances).exitCode, 0);
    const std::string before = BooksQuery::Dump();
    for (const BadInput& bad : kBadInputs) {
        SCOPED_TRACE(bad.what);
        ChildProcess::Result result = Import(bad.accounts, bad.balances);
        EXPECT_EQ(result.exitCode, 3) << result.err;
        EXPECT_TRUE(result.out.empty()) << result.out;
        const std::string where = root_ / bad.where;
        const std::size_t at = result.err.find(where);
        ASSERT_NE(at, std::string::npos) << result.err;
        EXPECT_NE(result.err.find(bad.reason, at), std::string::npos) << result.err;
        EXPECT_NE(result.err.find("nothing was imported"), std::string::npos) << result.err;
        EXPECT_EQ(BooksQuery::Dump(), before);
    }
}

TEST_F(MznBooksImportTest, WrongOptionsAreRefusedBeforeAnythingIsRead) {
    ASSERT_EQ(Import(kAccounts, kBalances).exitCode, 0);
    const std::string before = BooksQuery::Dump();
    const std::string accounts = Write("accounts.csv", kAccounts);
    const std::string balances = Write("balances.csv", kBalances);
    const std::vector<std::pair<std::vector<std::string>, const char*>> cases = {
        {{"--name", "X", "--start", "20240431", "--end", "20250331"}, "--start takes a day"},
        {{"--name", "X", "--start", "2024-04-01", "--end", "20250331"}, "--start takes a day"},
        {{"--name", "X", "--start", "20240401", "--end", "20240331"}, "ends (20240331) before it starts"},
        {{"--name", "X", "--start", "20240401", "--end", "20250401"}, "longer than a year"},
        {{"--name", "X", "--start", "20240401"}, "--start and --end"},
        {{"--start", "20240401", "--end", "20250331"}, "needs --name"},
        {{"--name", "X", "--start", "20240401", "--end", "20250331", "--intro-month", "13"}, "--intro-month"},
        {{"--name", "X", "--start", "20240401", "--end", "20250331", "--net-assets", "yes"}, "--net-assets"},
        {{"--name", "X", "--start", "20240401", "--end", "20250331", "--frobnicate"}, "unknown option"},
        {{"--name", std::string(260, 'x'), "--start", "20240401", "--end", "20250331"}, "at most 259"},
    };
    for (const auto& [options, reason] : cases) {
        std::vector<std::string> arguments{"import"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        arguments.push_back(accounts);
        arguments.push_back(balances);
        ChildProcess::Result result = Books(arguments);
        EXPECT_EQ(result.exitCode, 2) << reason;
        EXPECT_NE(result.err.find(reason), std::string::npos) << result.err;
    }
    ChildProcess::Result missing =
        Books({"import", "--name", "X", "--start", "20240401", "--end", "20250331", accounts, root_ / "no-such.csv"});
    EXPECT_EQ(missing.exitCode, 3);
    EXPECT_NE(missing.err.find("no-such.csv"), std::string::npos) << missing.err;
    EXPECT_EQ(BooksQuery::Dump(), before);
}

TEST_F(MznBooksImportTest, AFailingWriteLeavesNoHalfImport) {
    ASSERT_EQ(Import(kAccounts, kBalances).exitCode, 0);
    // The data set, its accounts and most sums are written before the
    // closing adjustments; the books refuse those.
    BooksQuery::Exec(
        "CREATE TRIGGER refuse BEFORE INSERT ON period_sums WHEN NEW.period = 18 "
        "BEGIN SELECT RAISE(ABORT, 'the disk is full'); END");
    const std::string before = BooksQuery::Dump();
    ChildProcess::Result result = Import(kAccounts, kBalances);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("the disk is full"), std::string::npos) << result.err;
    EXPECT_EQ(BooksQuery::Dump(), before);
}

}  // namespace
