// `mzn-books demo` through the real program: the data sets a user meets,
// the selection, and books that balance by the class-code hierarchy.

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <sstream>
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

struct ListedSet {
    bool selected = false;
    std::int64_t number = 0;
    std::string dataId;
    std::string start;
    std::string end;
    std::int64_t accounts = 0;
    std::string settings;
    std::string name;
};

std::vector<ListedSet> ParseList(const std::string& text) {
    static const std::regex row(R"(^([ *]) +([0-9]+)  (\S+) +([0-9-]{10}) to ([0-9-]{10}) +([0-9]+)  (\S+) +(.+)$)");
    std::vector<ListedSet> sets;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (!std::regex_match(line, match, row)) continue;
        sets.push_back({match[1] == "*", std::stoll(match[2]), match[3], match[4], match[5], std::stoll(match[6]),
                        match[7], match[8]});
    }
    return sets;
}

// Ancestors of every class code through class_lines, each line with itself.
constexpr const char* kAncestors =
    "WITH RECURSIVE up(code, line) AS (SELECT class_code, class_code FROM class_lines "
    "UNION SELECT up.code, c.parent_code FROM up JOIN class_lines c ON c.class_code = up.line "
    "WHERE c.parent_code IS NOT NULL) ";

// Debit minus credit of the main accounts below a class line, per data set
// (sub-accounts are part of their main account).
std::map<std::int64_t, std::int64_t> DebitBalanceBelow(std::uint32_t line, const std::string& periods = "1=1") {
    std::map<std::int64_t, std::int64_t> balances;
    const auto rows = BooksQuery::Rows(
        std::string(kAncestors) +
        "SELECT a.data_set, sum(p.debit - p.credit) FROM period_sums p JOIN accounts a USING (data_set, account_id) "
        "JOIN up ON up.code = a.class_code WHERE up.line = " +
        std::to_string(line) + " AND a.code % 10000 = 0 AND (" + periods + ") GROUP BY a.data_set");
    for (const auto& row : rows) balances[std::stoll(row[0])] = std::stoll(row[1]);
    return balances;
}

class MznBooksDemoTest : public ::testing::Test {
protected:
    ChildProcess::Result Books(const std::vector<std::string>& arguments) {
        return BooksTool::Run(arguments, root_ / "io");
    }

    std::int64_t NumberOf(const std::string& dataId) {
        return BooksQuery::Number("SELECT number FROM data_sets WHERE data_id = '" + dataId + "'");
    }

    TempRoot root_;
};

TEST_F(MznBooksDemoTest, ListShowsTheDemoSetsWithTheirPeriodsAndTheSelectedOne) {
    ChildProcess::Result demo = Books({"demo"});
    ASSERT_EQ(demo.exitCode, 0) << demo.err;
    ChildProcess::Result list = Books({"list"});
    ASSERT_EQ(list.exitCode, 0) << list.err;
    const std::vector<ListedSet> sets = ParseList(list.out);
    ASSERT_EQ(sets.size(), 7u) << list.out;

    std::map<std::string, ListedSet> byId;
    int selected = 0;
    for (const ListedSet& set : sets) {
        byId[set.dataId] = set;
        selected += set.selected ? 1 : 0;
        EXPECT_EQ(set.accounts,
                  BooksQuery::Number("SELECT count(*) FROM accounts WHERE data_set = " + std::to_string(set.number)));
    }
    EXPECT_EQ(selected, 1);
    const ListedSet& main = byId["DEMO01"];
    EXPECT_TRUE(main.selected) << list.out;
    EXPECT_EQ(main.start, "2023-04-01");
    EXPECT_EQ(main.end, "2024-03-31") << "an April-March year ending after 2018-04-01";
    EXPECT_EQ(main.settings, "-");
    EXPECT_EQ(main.name, Utf8(u8"株式会社さくら野ケアサービス"));
    EXPECT_EQ(byId["DEMO02"].end, "2018-03-31");
    EXPECT_EQ(byId["DEMO03"].start, "2023-01-01");
    EXPECT_EQ(byId["DEMO03"].end, "2023-12-31");
    EXPECT_EQ(byId["DEMO03"].settings, "capital");
    EXPECT_EQ(byId["DEMO04"].settings, "interim");
    EXPECT_EQ(byId["DEMO05"].settings, "tax-included");
    EXPECT_EQ(byId["DEMO06"].settings, "intro=3");
    EXPECT_EQ(byId["DEMO07"].settings, "past-results");

    // The selection is the current user's second selected number, the one
    // the link program reads.
    std::smatch user;
    ASSERT_TRUE(std::regex_search(list.out, user, std::regex("User: +(\\S+)"))) << list.out;
    EXPECT_EQ(BooksQuery::Rows("SELECT selected_no1, selected_no2 FROM users WHERE user_id = '" + user[1].str() + "'"),
              (std::vector<std::vector<std::string>>{{std::to_string(main.number), std::to_string(main.number)}}));
    EXPECT_EQ(BooksQuery::Rows("SELECT data_set FROM period_sums WHERE period = 15 GROUP BY data_set"),
              (std::vector<std::vector<std::string>>{{std::to_string(byId["DEMO04"].number)}}))
        << "interim adjustments only where there is an interim closing";
}

TEST_F(MznBooksDemoTest, DemoBooksBalanceByTheHierarchy) {
    ASSERT_EQ(Books({"demo"}).exitCode, 0);

    // Every period of every data set balances, tax excluded and included.
    EXPECT_TRUE(BooksQuery::Rows("SELECT a.data_set, p.period, sum(p.debit - p.credit), "
                                 "sum(p.debit_incl - p.credit_incl) FROM period_sums p "
                                 "JOIN accounts a USING (data_set, account_id) WHERE a.code % 10000 = 0 "
                                 "GROUP BY a.data_set, p.period "
                                 "HAVING sum(p.debit - p.credit) <> 0 OR sum(p.debit_incl - p.credit_incl) <> 0")
                    .empty());
    // A main account holds exactly what its sub-accounts hold, plus its own.
    EXPECT_EQ(BooksQuery::Number("SELECT count(*) FROM period_sums p JOIN accounts s USING (data_set, account_id) "
                                 "WHERE s.code % 10000 <> 0"),
              BooksQuery::Number("SELECT count(*) FROM period_sums p JOIN accounts s USING (data_set, account_id) "
                                 "WHERE s.code % 10000 <> 0 AND EXISTS (SELECT 1 FROM period_sums m JOIN accounts ma "
                                 "USING (data_set, account_id) WHERE ma.data_set = s.data_set AND "
                                 "ma.code = s.code / 10000 * 10000 AND m.period = p.period AND m.debit >= p.debit "
                                 "AND m.credit >= p.credit)"));

    // Assets = liabilities + net assets + the year's profit, all periods.
    auto assets = DebitBalanceBelow(0x80800000);
    auto liabilities = DebitBalanceBelow(0x80400000);
    auto netAssets = DebitBalanceBelow(0x80200000);
    auto profit = DebitBalanceBelow(0x40000080);
    ASSERT_EQ(assets.size(), 7u);
    for (const auto& [set, assetBalance] : assets) {
        SCOPED_TRACE("data set " + std::to_string(set));
        EXPECT_GT(assetBalance, 0);
        EXPECT_EQ(assetBalance, -liabilities[set] - netAssets[set] - profit[set]);
        EXPECT_LT(profit[set], 0) << "every demo company makes a profit (a credit balance)";
    }

    // The statement totals of the year (no interim period) add up as their
    // names say, and none of them is empty in the main set.
    const std::int64_t main = NumberOf("DEMO01");
    const std::string year = "p.period <> 15";
    auto total = [&](std::uint32_t line) { return DebitBalanceBelow(line, year)[main]; };
    EXPECT_EQ(total(0x40880008), total(0x40888000) + total(0x40884000)) << "gross profit";
    EXPECT_EQ(total(0x40880000), total(0x40880008) + total(0x40882000)) << "operating profit";
    EXPECT_EQ(total(0x40200080),
              total(0x40880000) + total(0x40848000) + total(0x40844000) + total(0x40480000) + total(0x40440000))
        << "profit before tax";
    for (std::uint32_t line : {0x40888000u, 0x40884000u, 0x40880008u, 0x40880000u, 0x40480000u, 0x40440000u,
                               0x40200080u, 0x80800000u, 0x80400000u, 0x80200000u})
        EXPECT_NE(total(line), 0) << std::hex << line;
    EXPECT_LT(total(0x40888000), 0) << "sales on the credit side";
    EXPECT_GT(total(0x40884000), 0) << "cost of sales on the debit side";
}

TEST_F(MznBooksDemoTest, TheMainSetLooksLikeARealYear) {
    ASSERT_EQ(Books({"demo"}).exitCode, 0);
    const std::string main = std::to_string(NumberOf("DEMO01"));
    auto perPeriod = [&](std::int64_t code, const char* column) {
        std::map<int, std::int64_t> amounts;
        for (const auto& row : BooksQuery::Rows("SELECT p.period, p." + std::string(column) +
                                                " FROM period_sums p JOIN accounts a USING (data_set, account_id) "
                                                "WHERE a.data_set = " +
                                                main + " AND a.code = " + std::to_string(code)))
            amounts[std::stoi(row[0])] = std::stoll(row[1]);
        return amounts;
    };
    auto goods = perPeriod(41100000, "credit");
    auto goodsIncl = perPeriod(41100000, "credit_incl");
    for (int month = 1; month <= 12; ++month) {
        EXPECT_GT(goods[month], 0) << month;
        EXPECT_EQ(goodsIncl[month], goods[month] / 100 * 110) << "10 % consumption tax, month " << month;
    }
    EXPECT_GT(goods[9] * 10, goods[11] * 15) << "December sells far more than February";
    auto careFees = perPeriod(42100000, "credit");
    auto careFeesIncl = perPeriod(42100000, "credit_incl");
    EXPECT_EQ(careFees, careFeesIncl) << "care-insurance revenue bears no consumption tax";
    EXPECT_EQ(perPeriod(53500000, "debit").size(), 12u) << "wages every month";
    EXPECT_GT(perPeriod(61300000, "debit")[4], perPeriod(61200000, "debit")[4]) << "a summer bonus in July";
    EXPECT_GT(perPeriod(65100000, "debit")[18], 0) << "depreciation among the closing adjustments";
    EXPECT_GT(perPeriod(81100000, "debit")[18], 0) << "corporate tax among the closing adjustments";
    EXPECT_EQ(perPeriod(11000000, "debit").size(), 0u) << "a heading account has no sums";

    const std::string late = std::to_string(NumberOf("DEMO06"));
    EXPECT_EQ(BooksQuery::Number("SELECT count(*) FROM period_sums WHERE data_set = " + late + " AND period IN (1, 2)"),
              0)
        << "nothing before the first month of use";
    const std::string taxIncluded = std::to_string(NumberOf("DEMO05"));
    EXPECT_GT(BooksQuery::Number("SELECT count(*) FROM period_sums WHERE data_set = " + taxIncluded +
                                 " AND (debit_incl <> debit OR credit_incl <> credit)"),
              0);
}

TEST_F(MznBooksDemoTest, DemoAgainReplacesOnlyItsOwnSets) {
    const std::string accounts = root_ / "accounts.csv";
    const std::string balances = root_ / "balances.csv";
    std::ofstream(accounts)
        << "code,sub,name,class_code,side\n1110,0,cash,80888000,debit\n3110,0,capital,80288000,credit\n";
    std::ofstream(balances) << "code,sub,period,debit,credit,debit_incl,credit_incl\n1110,0,0,5,,,\n3110,0,0,,5,,\n";
    ASSERT_EQ(
        Books({"import", "--name", "Own", "--start", "20240101", "--end", "20241231", accounts, balances}).exitCode, 0);
    ASSERT_EQ(Books({"demo"}).exitCode, 0);
    EXPECT_EQ(NumberOf("DEMO01"), 2);
    ASSERT_EQ(Books({"select", "1"}).exitCode, 0);
    const std::string own = BooksQuery::Dump();

    ChildProcess::Result again = Books({"demo"});
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(NumberOf("DEMO01"), 2) << "the demo sets keep their numbers";
    EXPECT_EQ(BooksQuery::Number("SELECT count(*) FROM data_sets"), 8);
    EXPECT_NE(again.out.find("Data set 2 is selected"), std::string::npos) << again.out;
    BooksQuery::Exec("UPDATE users SET selected_no1 = 1, selected_no2 = 1");
    EXPECT_EQ(BooksQuery::Dump(), own) << "the same demo books again, the imported set untouched";
}

TEST_F(MznBooksDemoTest, LargeBooksForBenchmarks) {
    // 1000 is the standard chart and an odd number of added accounts.
    ChildProcess::Result result = Books({"demo", "--accounts", "1000"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::string main = std::to_string(NumberOf("DEMO01"));
    EXPECT_EQ(BooksQuery::Number("SELECT count(*) FROM accounts WHERE data_set = " + main), 1000);
    EXPECT_EQ(
        BooksQuery::Rows("SELECT name FROM accounts WHERE data_set = " + main + " AND code IN (12200001, 41100001)"),
        (std::vector<std::vector<std::string>>{{Utf8(u8"得意先0001")}, {Utf8(u8"得意先0001")}}));
    // The other sets keep the standard chart.
    EXPECT_EQ(BooksQuery::Rows("SELECT count(*) FROM accounts WHERE data_set <> " + main +
                               " GROUP BY data_set HAVING count(*) BETWEEN 80 AND 1000")
                  .size(),
              6u);
    EXPECT_GT(BooksQuery::Number("SELECT count(DISTINCT account_id) FROM period_sums WHERE data_set = " + main), 900)
        << "the added accounts do business";
    EXPECT_TRUE(BooksQuery::Rows("SELECT p.period FROM period_sums p JOIN accounts a USING (data_set, account_id) "
                                 "WHERE a.data_set = " +
                                 main +
                                 " AND a.code % 10000 = 0 GROUP BY p.period "
                                 "HAVING sum(p.debit - p.credit) <> 0")
                    .empty());

    for (const char* wrong : {"10", "999999", "many"}) {
        ChildProcess::Result refused = Books({"demo", "--accounts", wrong});
        EXPECT_EQ(refused.exitCode, 2) << wrong;
        EXPECT_NE(refused.err.find("--accounts"), std::string::npos) << refused.err;
    }
}

}  // namespace
