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
                                const std::vector<std::string>& options = {}, const std::u8string& codeMap = u8"") {
        std::vector<std::string> arguments{"import", "--name", Utf8(u8"テスト株式会社"), "--start", "20240401",
                                           "--end", "20250331"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        if (!codeMap.empty()) {
            EXPECT_TRUE(testfiles::WriteFile(root_ / "map.csv", Utf8(codeMap)));
            arguments.insert(arguments.end(), {"--code-map", root_ / "map.csv"});
        }
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
    EXPECT_NE(result.err.find(Utf8(u8"\n  資本          ")), std::string::npos) << "net assets called capital";
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
         "not \"left\""},
        {a + u8"1120,0,\"open,80888000,debit\n", b, "accounts.csv:3:", "not closed"},
        {u8"code,name,sub,class_code\n" + kCash, b, "accounts.csv:1:", "no column for side"},
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

// A package's export (code page 932, Japanese headers, section names, own codes and a code map, balances in the
// wide layout with separators and triangles) gives the books the plain files give: the same accounts, the same
// amount for each account and period, the same summary. Wide movements book an increase on the account's side.
TEST_F(MznBooksImportTest, ExportsOfAccountingPackagesGiveTheSameBooks) {
    const auto import = [this](const std::vector<std::string>& files) {
        std::vector<std::string> arguments{"import", "--name", "x", "--start", "20240401", "--end", "20250331"};
        for (const std::string& file : files)
            arguments.push_back(file.ends_with(".csv") ? BooksTool::DataFile(file) : file);
        return BooksTool::Run(arguments, root_ / "io");
    };
    const ChildProcess::Result plain = import({"books/small-accounts.csv", "books/small-balances.csv"});
    const ChildProcess::Result wide =
        import({"--layout", "monthly", "--amounts", "balance", "--code-map", "books/export-code-map.csv",
                "books/export-accounts.csv", "books/export-balances-wide.csv"});
    ASSERT_EQ(wide.exitCode, 0) << wide.err;
    EXPECT_EQ(wide.out, "2\n");
    EXPECT_EQ(wide.err, Utf8(u8"Data set 2 - accounts: 21; periods with amounts: the opening balance, months 1-3, "
                             u8"the closing adjustments\n  資産                  16,180,000\n"
                             u8"  負債                   5,400,000\n"
                             u8"  純資産                10,780,000\n  当期純利益             3,580,000\n"));
    // The small chart lacks most standard accounts, so the plain import adds a note.
    const std::string summary = wide.err.substr(wide.err.find('-'));
    EXPECT_EQ(plain.err.substr(plain.err.find('-'), summary.size()), summary);
    const auto books = [](int set) {
        return Table("SELECT code, name, class_code, side, flag110, flag112 FROM accounts WHERE data_set = " +
                     std::to_string(set) + " ORDER BY code") +
               Table("SELECT code, period, debit - credit FROM period_sums JOIN accounts USING (data_set, account_id) "
                     "WHERE data_set = " + std::to_string(set) + " ORDER BY code, period");
    };
    EXPECT_EQ(books(2), books(1));

    const ChildProcess::Result movements =
        Import(u8"\uFEFFcode,name,class_code,side\n1110,現金,0x80888000,debit\n3110,資本金,資本金,貸方\n",
               u8"code,opening,1,2,3,4,5,6,7,8,9,10,11,Mar\n1110,100,△30,,,,,,,,,,,5\n3110,100,-30,,,,,,,,,,,5\n",
               {"--layout", "monthly", "--amounts", "movement", "--encoding", "utf-8"});
    ASSERT_EQ(movements.exitCode, 0) << movements.err;
    EXPECT_EQ(Table("SELECT code, period, debit, credit FROM period_sums JOIN accounts USING (data_set, account_id) "
                    "WHERE data_set = 3 ORDER BY code, period"),
              "11100000 0 1000000 0\n11100000 1 0 300000\n11100000 12 50000 0\n"
              "31100000 0 0 1000000\n31100000 1 300000 0\n31100000 12 0 50000\n");

    // A nine-month year: the columns of its months are enough, and a blank month after it keeps the balance.
    const ChildProcess::Result shortYear =
        Import(u8"code,name,class_code,side\n1110,現金,80888000,debit\n3110,資本金,資本金,貸方\n",
               u8"code,opening,4月,5月,6月,7月,8月,9月,10月,11月,12月,1月,決算整理\n"
               u8"1110,100,150,150,150,150,150,150,150,150,150,,50\n3110,100,150,150,150,150,150,150,150,150,150,,50\n",
               {"--layout", "monthly", "--amounts", "balance", "--end", "20241231"});
    ASSERT_EQ(shortYear.exitCode, 0) << shortYear.err;
    EXPECT_EQ(Table("SELECT code, period, debit, credit FROM period_sums JOIN accounts USING (data_set, account_id) "
                    "WHERE data_set = 4 ORDER BY code, period"),
              "11100000 0 1000000 0\n11100000 1 500000 0\n11100000 18 0 1000000\n"
              "31100000 0 0 1000000\n31100000 1 0 500000\n31100000 18 1000000 0\n");
}

// Each warning names its file (and line) with the amounts and leaves the import done; each error names its line
// and imports nothing.
TEST_F(MznBooksImportTest, ExportMistakesAreNamedWithTheirLinesAndAmounts) {
    const std::u8string chart = u8"コード,補助,科目名,区分,貸借\n1110,0,現金,現金及び預金,借方\n"
                                u8"1140,0,普通預金,現金及び預金,借方\n1140,1,A銀行,現金及び預金,借方\n"
                                u8"3110,0,資本金,資本金,貸方\n";
    const std::u8string wideHeader = u8"コード,補助,前期繰越,4月,5月,6月,7月,8月,9月,10月,11月,12月,1月,2月,3月\n";
    const std::u8string balanced = u8"コード,補助,月,借方,貸方\n1110,,1,100,\n3110,,1,,100\n";
    const std::vector<std::string> wide{"--layout", "monthly", "--amounts", "balance"};
    const std::tuple<std::vector<std::string>, std::u8string, std::u8string, std::u8string, int, const char*,
                     std::u8string_view>
        cases[] = {
            // options, accounts, balances, code map, exit status, the file and line named, a part of the message
            {{}, chart, u8"コード,補助,月,借方,貸方\n1110,,1,\"1,000\",\n3110,,1,,990\n", u8"", 0, "balances.csv:",
             u8"in month 1 of the fiscal year the debits 1,000 and the credits 990 differ by 10"},
            {{}, chart, u8"code,sub,period,debit,credit,debit_incl\n1110,,1,100,,110\n3110,,1,,100\n", u8"", 0,
             "balances.csv:", u8"the debits 110 and the credits 100 including tax differ by 10"},
            {{}, chart, balanced + u8"1140,0,2,50,\n1140,1,2,50,\n3110,,2,,100\n", u8"", 0, "balances.csv:4:",
             u8"main account 1140 repeat the total of its sub-accounts in every period (month 2 of the fiscal year: "
             u8"50)"},
            {{"--end", "20241231"}, chart, balanced + u8"1110,,10,1,\n", u8"", 3, "balances.csv:4:",
             u8"account 1110 has amounts in month 10 of the fiscal year, after the last month of the data set (month "
             u8"9, 2024-12)"},
            {{}, chart + u8"1120,0,小口,現金預金,借方\n", balanced, u8"", 3, "accounts.csv:6:",
             u8"the section \"現金預金\" of account 1120 is no section of the statements (docs/class-codes.md); the "
             u8"nearest are 現金及び預金, 現金, 当座預金"},
            {{}, chart + u8"1120,0,小口,cash,借方\n", balanced, u8"", 3, "accounts.csv:6:", u8"or the name of a section"},
            {wide, chart, wideHeader + u8"1110,,1,1,1,1,1,1,1,1,1,1,1,1,x\n", u8"", 3, "balances.csv:2:",
             u8"3月: \"x\" is not an amount"},
            {wide, chart, u8"コード,前期繰越,4月,5月,6月,7月,8月,9月,10月,11月,12月,1月,2月\n", u8"", 3,
             "balances.csv:1:", u8"(4月 ... 3月, or 1 ... 12 by position); missing: 12"},
            {{}, chart, wideHeader, u8"", 3, "balances.csv:1:", u8"no column for period,debit,credit; a trial "
             u8"balance with a column per month needs --layout monthly"},
            {wide, chart, u8"code,4月,1\n", u8"", 3, "balances.csv:1:",
             u8"the columns \"4月\" and \"1\" are both month 1 of the fiscal year"},
            {{"--encoding", "utf-8"},
             chart + u8"1120,0," + std::u8string{char8_t(0x8F), char8_t(0xAC)} + u8",現金及び預金,借方\n", balanced, u8"", 3,
             "accounts.csv:6:", u8"the bytes of this line are no UTF-8 text"},
            {{}, chart, balanced, u8"own,standard\n1110,1120\n1110,1130\n", 3, "map.csv:3:",
             u8"the own code 1110 is mapped twice (first on line 2)"},
            {{}, chart, balanced, u8"1110,1120\n3110,1120\n1140,x\n", 3, "map.csv:2:",
             u8"the standard code 1120 is given twice (first on line 1)"},
            {{}, chart, balanced, u8"1110,1120\n1140,x\n", 3, "map.csv:2:", u8"expected two account codes"},
            {{}, chart, balanced, u8"1110,3110\n", 3, "accounts.csv:5:",
             u8"account 3110 and account 1110 (line 2) both become account 3110 with "},
            {{}, chart, balanced, u8"", 0, "mzn-books: note: ",
             u8"53 of the 55 standard accounts that the link program's default mapping uses are not in this chart"},
        };
    ASSERT_EQ(BooksTool::Run({"init"}, root_ / "io").exitCode, 0);
    for (const auto& [options, accounts, balances, codeMap, status, where, message] : cases) {
        const std::string before = BooksQuery::Dump();
        const ChildProcess::Result result = Import(accounts, balances, options, codeMap);
        SCOPED_TRACE(result.err);
        EXPECT_EQ(result.exitCode, status);
        const std::size_t at = result.err.find(std::string(*where == 'm' ? "" : root_ / "") + where);
        ASSERT_NE(at, std::string::npos);
        EXPECT_NE(result.err.find(Utf8(message), at),
                  std::string::npos);
        EXPECT_EQ(result.out.empty(), status != 0);
        if (status != 0) {
            EXPECT_EQ(BooksQuery::Dump(), before);
        }
    }
}

}  // namespace
