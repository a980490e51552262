// `mzn-books demo` through the real program: properties of the demo books, not their amounts.

#include <gtest/gtest.h>

#include <string>

#include "platform/TextCodec.h"
#include "tests/support/BooksQuery.h"
#include "tests/support/BooksTool.h"
#include "tests/support/TempRoot.h"

namespace {

class MznBooksDemoTest : public ::testing::Test {
protected:
    ChildProcess::Result Books(const std::vector<std::string>& arguments) {
        return BooksTool::Run(arguments, root_ / "io");
    }
    // Rows of periods (of main accounts) that do not balance, per data set, in both tax views.
    static std::string Unbalanced() {
        return testing::PrintToString(BooksQuery::Rows(
            "SELECT a.data_set, p.period FROM period_sums p JOIN accounts a USING (data_set, account_id) "
            "WHERE a.code % 10000 = 0 GROUP BY 1, 2 "
            "HAVING sum(debit - credit) <> 0 OR sum(debit_incl - credit_incl) <> 0"));
    }
    TempRoot root_;
};

TEST_F(MznBooksDemoTest, SevenDataSetsWithTheirSettingsThatBalance) {
    ASSERT_EQ(BooksTool::ImportSmallBooks(root_ / "io"), 1);
    const ChildProcess::Result demo = Books({"demo"});
    ASSERT_EQ(demo.exitCode, 0) << demo.err;
    EXPECT_NE(demo.out.find("Data set 2 is selected for "), std::string::npos) << demo.out;
    const std::string list = Books({"list"}).out;
    // number, data ID, period, settings; every set with the standard chart, the main set selected.
    for (const char* row : {"*     2  DEMO01    2023-04-01 to 2024-03-31       157  -  ",
                            "      3  DEMO02    2017-04-01 to 2018-03-31       157  -  ",
                            "      4  DEMO03    2023-01-01 to 2023-12-31       157  capital  ",
                            "      5  DEMO04    2023-04-01 to 2024-03-31       157  interim  ",
                            "      6  DEMO05    2023-04-01 to 2024-03-31       157  tax-included  ",
                            "      7  DEMO06    2023-04-01 to 2024-03-31       157  intro=3  ",
                            "      8  DEMO07    2016-04-01 to 2017-03-31       157  past-results  "})
        EXPECT_NE(list.find(row), std::string::npos) << row << "\n" << list;
    EXPECT_EQ(Unbalanced(), "{}");
    // Interim adjustments only with an interim closing, nothing before the first month of use.
    EXPECT_EQ(BooksQuery::Number("SELECT group_concat(DISTINCT data_set) FROM period_sums WHERE period = 15"), 5);
    EXPECT_EQ(BooksQuery::Number("SELECT count(*) FROM period_sums WHERE data_set = 7 AND period IN (1, 2)"), 0);
    // What the demo books add up to, tax included or not, is kept in the golden demo reports.

    EXPECT_EQ(BooksQuery::Number("SELECT group_concat(profit < 0 AND closing = 2, '') FROM (SELECT sum(CASE WHEN "
                                 "a.class_code < 2147483648 THEN debit - credit END) profit, count(CASE WHEN period = "
                                 "18 AND debit > 0 AND code IN (65100000, 81100000) THEN 1 END) closing FROM "
                                 "period_sums p JOIN accounts a USING (data_set, account_id) WHERE a.code % 10000 = 0 "
                                 "AND a.data_set > 1 GROUP BY a.data_set)"),
              1111111)
        << "every demo company makes a profit, with depreciation and corporate tax among the closing adjustments";

    // Again: the same demo books under the same numbers, the imported set untouched.
    BooksQuery::Exec("UPDATE users SET selected_no1 = 1, selected_no2 = 1");
    const std::string before = BooksQuery::Dump();
    ASSERT_EQ(Books({"demo"}).exitCode, 0);
    BooksQuery::Exec("UPDATE users SET selected_no1 = 1, selected_no2 = 1");
    EXPECT_EQ(BooksQuery::Dump(), before);
}

TEST_F(MznBooksDemoTest, StandardChartAndLargeBooks) {
    ASSERT_EQ(Books({"demo", "--accounts", "157"}).exitCode, 0) << "the standard chart alone";
    EXPECT_EQ(BooksQuery::Number("SELECT count(*) FROM accounts"), 7 * 157);
    // Main accounts, sub-accounts, unused and heading accounts (which carry no sums), all in the hierarchy, named in
    // at most 50 bytes of code page 932, identified by their code.
    EXPECT_EQ(BooksQuery::Number("SELECT sum(code % 10000 = 0) >= 80 AND sum(code % 10000 <> 0) >= 5 AND "
                                 "sum(flag110) >= 3 AND sum(flag112) >= 3 FROM accounts WHERE data_set = 1"),
              1);
    EXPECT_EQ(BooksQuery::Number("SELECT count(*) FROM accounts a LEFT JOIN period_sums p USING (data_set, account_id) "
                                 "WHERE (a.flag112 = 1 AND p.period IS NOT NULL) OR a.class_code NOT IN "
                                 "(SELECT class_code FROM class_lines) OR "
                                 "hex(account_id) <> '4D5A4E41' || printf('%08X', code) || '0000000000000000'"),
              0);
    for (const auto& row : BooksQuery::Rows("SELECT DISTINCT name FROM accounts")) {
        const auto cp932 = TextCodec::Utf8ToCp932(row[0]);
        EXPECT_TRUE(cp932.ok && cp932.text.size() <= 50) << row[0];
    }

    // 1000 accounts in the main set: the standard chart and an odd number of added ones, that do business.
    ASSERT_EQ(Books({"demo", "--accounts", "1000"}).exitCode, 0);
    EXPECT_EQ(BooksQuery::Number("SELECT count(*) FROM accounts WHERE data_set = 1"), 1000);
    EXPECT_EQ(BooksQuery::Number("SELECT count(*) FROM accounts WHERE data_set <> 1"), 6 * 157);
    EXPECT_GT(BooksQuery::Number("SELECT count(DISTINCT account_id) FROM period_sums WHERE data_set = 1"), 900);
    EXPECT_EQ(Unbalanced(), "{}");
}

}  // namespace
