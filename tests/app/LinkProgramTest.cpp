// The link programs as the tax-form application starts them: the real
// program under the real mzn-caller, on demo books made by the real
// mzn-books under a temporary MZN_ROOT, in batch mode.
#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "accounting_core/BooksDatabase.h"
#include "accounting_core/BooksStatement.h"
#include "platform/DriveTable.h"
#include "platform/TextCodec.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempRoot.h"
#include "tests/support/TestFiles.h"

namespace fs = std::filesystem;
using testfiles::Utf8;

namespace {

// Text a program printed (UTF-8) holds the code page 932 text of a message.
bool Says(const std::string& printed, const char* cp932) {
    return printed.find(TextCodec::Cp932ToUtf8(cp932).text) != std::string::npos;
}

// Every entry below a host folder but the books, the callers' endpoints and
// the test's own process output, with a hash of each file's bytes.
std::map<std::string, std::size_t> Snapshot(const fs::path& folder) {
    std::map<std::string, std::size_t> entries;
    for (auto it = fs::recursive_directory_iterator(folder); it != fs::recursive_directory_iterator(); ++it) {
        const std::string name = it->path().lexically_relative(folder).string();
        if (name.starts_with("io") || name.starts_with("books.") || name == "run") {
            it.disable_recursion_pending();
            continue;
        }
        entries[name] = it->is_regular_file() ? std::hash<std::string>{}(testfiles::ReadFile(it->path())) : 0;
    }
    return entries;
}

// The whole-yen amount of a report element; 0 when it is missing or empty.
std::int64_t Amount(const std::string& report, const std::string& tag) {
    const std::string open = "<" + tag + ">";
    const std::size_t at = report.find(open);
    if (at == std::string::npos) return 0;
    return std::strtoll(report.c_str() + at + open.size(), nullptr, 10);
}

std::string LoginName() {
    const passwd* entry = getpwuid(getuid());
    if (entry != nullptr && entry->pw_name != nullptr) return entry->pw_name;
    const char* user = std::getenv("USER");
    return user != nullptr ? user : "";
}

class LinkProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(Books({"demo"}).exitCode, 0);
        report_ = root_ / "out/report.xml";
        fs::create_directories(root_ / "out");
    }

    ChildProcess::Result Books(const std::vector<std::string>& arguments) {
        std::vector<std::string> words{MZN_BOOKS_EXE};
        words.insert(words.end(), arguments.begin(), arguments.end());
        return ChildProcess::Run(words, root_ / "io-books");
    }

    // The program started by mzn-caller with the report path of the test;
    // options go to the program before the caller's text.
    ChildProcess::Result Link(const std::vector<std::string>& programOptions,
                              const std::string& program = MZN_PROGRAM_BRC) {
        std::vector<std::string> words{MZN_CALLER_EXE, "--timeout", "120", "--output", WindowsPath(report_), "--",
                                       program};
        words.insert(words.end(), programOptions.begin(), programOptions.end());
        return ChildProcess::Run(words, root_ / "io-link");
    }

    static std::string WindowsPath(const std::string& host) {
        return DriveTable::ToWindowsPath(host).value_or("");
    }

    void Sql(const std::string& sql) {
        BooksDatabase db;
        ASSERT_TRUE(db.Open(BooksDatabase::Mode::Existing)) << db.Error();
        ASSERT_TRUE(db.Exec(sql.c_str())) << db.Error();
    }

    std::string ConditionFile(const char* version, int dataSet) {
        return root_ / ("drives/c/Mizunara/Conditions/" + std::string(version) + "_G_" + LoginName() + "_" +
                        std::to_string(dataSet) + "_" + std::to_string(dataSet) + ".env");
    }

    TempRoot root_;
    std::string report_;
};

TEST_F(LinkProgramTest, ABatchRunWritesTheReportRemembersTheConditionsAndNotifiesTheCaller) {
    ChildProcess::Result run = Link({"--batch"});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    // The caller's window: disabled during the run, then the notice.
    const std::size_t disable = run.out.find("disable");
    const std::size_t post = run.out.find("post message=32769 wParam=2 lParam=0");
    ASSERT_NE(disable, std::string::npos) << run.out;
    ASSERT_NE(post, std::string::npos) << run.out;
    EXPECT_LT(disable, post);
    EXPECT_NE(run.out.find("exit status=0"), std::string::npos);
    EXPECT_TRUE(Says(run.err, "事業概況情報の出力が終了しました。")) << run.err;

    const std::string report = testfiles::ReadFile(report_);
    ASSERT_FALSE(report.empty());
    EXPECT_EQ(report.rfind("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<REPORT>\r\n", 0), 0u);
    EXPECT_NE(report.find("\t\t<PROGRAMNAME>ミズナラ２０</PROGRAMNAME>\r\n"), std::string::npos);
    EXPECT_NE(report.find("\t\t<JIGYOUNENDOTO>20240331</JIGYOUNENDOTO>\r\n"), std::string::npos);
    EXPECT_NE(report.find("</REPORT>\r\n"), std::string::npos);

    // The demo set ends in 2024: UG30. The caller's path is not remembered.
    const std::string conditions = testfiles::ReadFile(ConditionFile("UG30", 1));
    EXPECT_EQ(conditions.rfind("[P1]\n3/0/0/\n", 0), 0u) << conditions;
}

TEST_F(LinkProgramTest, EachEditionNamesItselfInTheReport) {
    EXPECT_EQ(Link({"--batch"}, MZN_PROGRAM_ALD).exitCode, 0);
    EXPECT_NE(testfiles::ReadFile(report_).find("<PROGRAMNAME>ミズナラ２０ ケアサービス版</PROGRAMNAME>"),
              std::string::npos);
    EXPECT_EQ(Link({"--batch"}, MZN_PROGRAM_CDR).exitCode, 0);
    EXPECT_NE(testfiles::ReadFile(report_).find("<PROGRAMNAME>ミズナラ２０ PRO</PROGRAMNAME>"), std::string::npos);
}

TEST_F(LinkProgramTest, BatchConditionsReplaceTheRememberedOnes) {
    ChildProcess::Result run = Link({"--batch", "--end-month", "9", "--tax-included", "yes"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(testfiles::ReadFile(ConditionFile("UG30", 1)).rfind("[P1]\n9/1/0/\n", 0), 0u);

    // A month the sheet's checks refuse ends the run without a report.
    fs::remove(report_);
    Sql("UPDATE data_sets SET intro_month = 12 WHERE number = 1");
    run = Link({"--batch", "--end-month", "9"});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_TRUE(Says(run.err, "集計期間には、導入開始月より前は指定できません。")) << run.err;
    EXPECT_NE(run.out.find("lParam=1"), std::string::npos);
    EXPECT_FALSE(fs::exists(report_));
}

TEST_F(LinkProgramTest, APastResultsDataSetIsRefusedBeforeTheConditions) {
    ASSERT_EQ(Books({"select", "7"}).exitCode, 0);
    ChildProcess::Result run = Link({"--batch"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Says(run.err, "過去実績データは、連携の対象として使用できません。")) << run.err;
    EXPECT_NE(run.out.find("lParam=1"), std::string::npos);
    EXPECT_FALSE(fs::exists(report_));
}

TEST_F(LinkProgramTest, ThePeriodDecidesTheTargetVersion) {
    ASSERT_EQ(Books({"select", "2"}).exitCode, 0);  // ends 2018-03-31
    EXPECT_EQ(Link({"--batch"}).exitCode, 0);
    EXPECT_TRUE(fs::exists(ConditionFile("UG16", 2)));
    EXPECT_NE(testfiles::ReadFile(report_).find("<JIGYOUNENDOTO>20180331</JIGYOUNENDOTO>"), std::string::npos);
}

TEST_F(LinkProgramTest, TheConnectionsAnswerEndsTheRun) {
    Sql("INSERT INTO faults(call, result) VALUES ('ExpSysLink', 1)");
    ChildProcess::Result run = Link({"--batch"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "") << "the program shows nothing of its own";
    Sql("UPDATE faults SET result = 7 WHERE call = 'ExpSysLink'");
    run = Link({"--batch"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.out.find("lParam=2"), std::string::npos);
    EXPECT_FALSE(fs::exists(report_));
}

TEST_F(LinkProgramTest, AFailedAggregationWritesNoReport) {
    // A walk that fails, and one that ends before it delivered the records
    // the summation counted.
    for (int result : {9, 5000}) {
        SCOPED_TRACE(result);
        Sql("DELETE FROM faults");
        Sql("INSERT INTO faults(call, result, after) VALUES ('MoveNext', " + std::to_string(result) + ", 3)");
        ChildProcess::Result run = Link({"--batch"});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_NE(run.out.find("lParam=2"), std::string::npos);
        EXPECT_TRUE(Says(run.err, "勘定科目の集計に失敗しました。")) << run.err;
        EXPECT_FALSE(fs::exists(report_));
    }
}

TEST_F(LinkProgramTest, AReportThatCannotBeWrittenFailsTheRun) {
    // Drive F: is the host's /dev: /dev/full takes no byte.
    fs::create_directory_symlink("/dev", root_ / "drives/f");
    std::vector<std::string> words{MZN_CALLER_EXE, "--output", "F:\\full", "--", MZN_PROGRAM_BRC, "--batch"};
    ChildProcess::Result run = ChildProcess::Run(words, root_ / "io-full");
    EXPECT_EQ(run.exitCode, 2) << run.out << run.err;
    EXPECT_TRUE(Says(run.err, "XMLファイルの出力に失敗しました。")) << run.err;
}

TEST_F(LinkProgramTest, WithoutBooksNothingRunsAndNothingIsPosted) {
    fs::remove(root_ / "books.sqlite3");
    ChildProcess::Result run = Link({"--batch"});
    EXPECT_EQ(run.exitCode, 100) << "mzn-caller: nothing posted\n" << run.out;
    EXPECT_EQ(run.out.find("disable"), std::string::npos) << "the caller's window was never taken";
    EXPECT_NE(run.out.find("exit status=2"), std::string::npos) << run.out;
}

TEST_F(LinkProgramTest, TheDefinitionFileBesideTheProgramDecides) {
    // A copy of the program in a folder of its own, with its data files but
    // without the definition file.
    const fs::path folder = root_ / "program";
    fs::create_directories(folder);
    for (const auto& entry : fs::directory_iterator(fs::path(MZN_PROGRAM_BRC).parent_path()))
        if (entry.path().extension() == ".dat") fs::copy_file(entry.path(), folder / entry.path().filename());
    const fs::path program = folder / fs::path(MZN_PROGRAM_BRC).filename();
    fs::copy_file(MZN_PROGRAM_BRC, program);

    ChildProcess::Result run = Link({"--batch"}, program.string());
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(Says(run.err, "動作環境が不正です。")) << run.err;
    EXPECT_TRUE(Says(run.err, "ES_APRPACKAGENAMEが正しくインストールされているか確認してください。")) << run.err;

    testfiles::WriteFile(folder / "KumotoriDef.ini", "[ProgramLevel]\r\nUG16_G=3\r\n");
    run = Link({"--batch"}, program.string());
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(Says(run.err, "連動コンポーネントの最新版を入手してインストールしてからご利用ください。")) << run.err;

    testfiles::WriteFile(folder / "KumotoriDef.ini", "[ProgramLevel]\r\nUG16_G=2\r\n");
    EXPECT_EQ(Link({"--batch"}, program.string()).exitCode, 0);
}

// A display number no X server listens on here.
std::string UnusedDisplay() {
    for (int n = 90;; ++n) {
        if (!fs::exists("/tmp/.X11-unix/X" + std::to_string(n))) return ":" + std::to_string(n);
    }
}

// Sets environment variables for one child process and puts them back
// afterwards; a null value unsets the variable.
class EnvironmentChange {
public:
    explicit EnvironmentChange(const std::vector<std::pair<std::string, const char*>>& changes) {
        for (const auto& [name, value] : changes) {
            const char* old = std::getenv(name.c_str());
            saved_.emplace_back(name, old != nullptr ? std::optional<std::string>(old) : std::nullopt);
            if (value != nullptr)
                setenv(name.c_str(), value, 1);
            else
                unsetenv(name.c_str());
        }
    }
    ~EnvironmentChange() {
        for (const auto& [name, value] : saved_) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(LinkProgramTest, CommandLinesAndCallers) {
    ChildProcess::Result run = ChildProcess::Run({MZN_PROGRAM_BRC, "--help"}, root_ / "io");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("--batch"), std::string::npos);
    run = ChildProcess::Run({MZN_PROGRAM_BRC, "--version"}, root_ / "io");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.rfind("MznBrc20ToUg16_G ", 0), 0u);

    const std::string noDisplay = "no display to show the condition sheet on";
    const std::string display = UnusedDisplay();
    // The caller's path, in code page 932 as a caller passes it: ﾃｩ.xml in
    // half-width katakana is the bytes C3 A9, which UTF-8 would read as an
    // accented e.
    const std::string katakanaPath = WindowsPath(root_ / "out") + "\\\xC3\xA9.xml";
    const std::string katakanaReport = root_ / Utf8(u8"out/ﾃｩ.xml");

    struct Case {
        const char* what;
        std::vector<std::string> options;  // the program's own, before the caller's text
        enum Caller { kCaller, kCallerWithoutPath, kNone, kText } caller;
        std::vector<std::pair<std::string, const char*>> environment;
        int exitStatus;
        std::optional<int> posted;  // lParam posted to the caller; nullopt: nothing (or no caller)
        std::string says;           // in what the program printed
        int lines = 0;              // on standard error, when refused: the reason (and the hint at --help)
        std::string text = "";      // kText: the caller's text as given
    };
    const std::vector<std::pair<std::string, const char*>> gui = {
        {"QT_QPA_PLATFORM", nullptr}, {"DISPLAY", nullptr}, {"WAYLAND_DISPLAY", nullptr}};
    const std::vector<Case> cases = {
        {"an unknown option", {"--frobnicate"}, Case::kCaller, {}, 2, 2, "unknown option --frobnicate", 2},
        {"a bad value", {"--batch", "--end-month", "13"}, Case::kCaller, {}, 2, 2, "--end-month takes a month", 2},
        {"a bad value, unlinked", {"--batch", "--end-month", "13"}, Case::kNone, {}, 2, std::nullopt, "--help", 2},
        {"--output beside the caller's path", {"--batch", "--output", "C:\\other.xml"}, Case::kCaller, {}, 2, 2,
         "--output", 2},
        {"no display", {}, Case::kCaller, gui, 2, 2, noDisplay, 1},
        {"a display no server answers", {}, Case::kCaller,
         {{"QT_QPA_PLATFORM", nullptr}, {"DISPLAY", display.c_str()}, {"WAYLAND_DISPLAY", nullptr}}, 2, 2,
         noDisplay, 1},
        {"xcb without a server", {}, Case::kCaller,
         {{"QT_QPA_PLATFORM", "xcb"}, {"DISPLAY", display.c_str()}, {"WAYLAND_DISPLAY", nullptr}}, 2, 2,
         noDisplay, 1},
        {"a Wayland display that is gone", {}, Case::kCaller,
         {{"QT_QPA_PLATFORM", nullptr}, {"DISPLAY", nullptr}, {"WAYLAND_DISPLAY", "mzn-no-such-wayland"}}, 2, 2,
         noDisplay, 1},
        {"batch without a path, unlinked", {"--batch"}, Case::kNone, {}, 2, std::nullopt, "--output", 1},
        {"batch without a path from the caller", {"--batch"}, Case::kCallerWithoutPath, {}, 2, 2, "--output", 1},
        {"a caller's path in code page 932", {"--batch"}, Case::kText, {}, 0, std::nullopt, "", 0,
         "1,32769,2," + katakanaPath},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(report_);
        std::vector<std::string> words;
        if (c.caller == Case::kCaller || c.caller == Case::kCallerWithoutPath) {
            words = {MZN_CALLER_EXE, "--timeout", "60"};
            if (c.caller == Case::kCaller) words.insert(words.end(), {"--output", WindowsPath(report_)});
            words.insert(words.end(), {"--", MZN_PROGRAM_BRC});
        } else {
            words = {MZN_PROGRAM_BRC};
        }
        words.insert(words.end(), c.options.begin(), c.options.end());
        if (c.caller == Case::kText) words.push_back(c.text);

        ChildProcess::Result run;
        {
            EnvironmentChange environment(c.environment);
            run = ChildProcess::Run(words, root_ / "io");
        }
        const std::string said = run.out + run.err;
        if (c.caller == Case::kCaller || c.caller == Case::kCallerWithoutPath) {
            EXPECT_NE(run.out.find("exit status=" + std::to_string(c.exitStatus)), std::string::npos) << said;
            EXPECT_EQ(run.exitCode, c.posted.value_or(100)) << said;
        } else {
            EXPECT_EQ(run.exitCode, c.exitStatus) << said;
        }
        EXPECT_NE(said.find(c.says), std::string::npos) << said;
        // A refused run writes nothing and says why in as many lines (a
        // caller that hears nothing says so too).
        if (c.exitStatus == 2) {
            EXPECT_FALSE(fs::exists(report_));
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), c.lines) << run.err;
        }
    }
    EXPECT_TRUE(fs::exists(katakanaReport));
}

TEST_F(LinkProgramTest, TheReportCarriesTheAmountsOfTheBooks) {
    ASSERT_EQ(Link({"--batch"}).exitCode, 0);
    const std::string report = testfiles::ReadFile(report_);

    // Sales: every main account below the sales line of the hierarchy, on
    // the credit side, over the opening, the twelve months and the closing
    // adjustments; whole yen cut toward zero.
    BooksDatabase db;
    ASSERT_TRUE(db.Open(BooksDatabase::Mode::Existing));
    auto wholeYen = [&db](const char* sql) {
        BooksStatement query(db.Handle(), sql);
        EXPECT_EQ(query.Step(), BooksStatement::StepResult::Row) << query.Error();
        return std::to_string(query.Int(0) / 10000);
    };
    const std::string sales = wholeYen(
        "WITH RECURSIVE below(code) AS (SELECT 1082687488 UNION ALL "
        "  SELECT c.class_code FROM class_lines c JOIN below b ON c.parent_code = b.code) "
        "SELECT SUM(s.credit - s.debit) FROM period_sums s JOIN accounts a "
        "  ON a.data_set = s.data_set AND a.account_id = s.account_id "
        "WHERE s.data_set = 1 AND a.code % 10000 = 0 AND a.class_code IN (SELECT code FROM below) "
        "  AND s.period IN (0,1,2,3,4,5,6,7,8,9,10,11,12,18)");
    EXPECT_NE(report.find("<URIAGEDAKA>" + sales + "</URIAGEDAKA>"), std::string::npos) << sales;

    // Cash and deposits: the default accounts 1110 to 1150 on the debit side.
    const std::string cash = wholeYen(
        "SELECT SUM(s.debit - s.credit) FROM period_sums s JOIN accounts a "
        "  ON a.data_set = s.data_set AND a.account_id = s.account_id "
        "WHERE s.data_set = 1 AND a.code IN (11100000, 11200000, 11300000, 11400000, 11500000) "
        "  AND s.period IN (0,1,2,3,4,5,6,7,8,9,10,11,12,18)");
    EXPECT_NE(report.find("<GENKINYOKIN>" + cash + "</GENKINYOKIN>"), std::string::npos) << cash;
}

// Assets = liabilities + net assets, the year's profit or loss included, on
// every report; each amount is cut to whole yen on its own.
void ExpectBalancedSheet(const std::string& report) {
    const std::int64_t assets = Amount(report, "SISANNOBUGOUKEI");
    const std::int64_t liabilities = Amount(report, "FUSAINOBUGOUKEI");
    const std::int64_t netAssets = Amount(report, "ZYUNSISANNOBUGOUKEI");
    EXPECT_NE(assets, 0);
    EXPECT_LE(std::abs(assets - liabilities - netAssets), 2) << assets << " " << liabilities << " " << netAssets;
}

TEST_F(LinkProgramTest, EveryBalanceSheetBalances) {
    for (int dataSet = 1; dataSet <= 6; ++dataSet) {
        ASSERT_EQ(Books({"select", std::to_string(dataSet)}).exitCode, 0);
        for (const char* program : {MZN_PROGRAM_ALD, MZN_PROGRAM_BRC, MZN_PROGRAM_CDR}) {
            SCOPED_TRACE(std::to_string(dataSet) + " " + program);
            ASSERT_EQ(Link({"--batch"}, program).exitCode, 0);
            ExpectBalancedSheet(testfiles::ReadFile(report_));
        }
    }

    // A year with a loss: 1,000,000 yen paid in, 100,000 sold, 300,000 spent.
    testfiles::WriteFile(root_ / "accounts.csv",
                         "code,sub,name,class_code,side\n1110,0,cash,80888000,debit\n"
                         "3110,0,capital,80288000,credit\n4110,0,sales,40888800,credit\n"
                         "6110,0,wages,40882800,debit\n");
    testfiles::WriteFile(root_ / "balances.csv",
                         "code,sub,period,debit,credit,debit_incl,credit_incl\n"
                         "1110,0,0,1000000,0,,\n3110,0,0,0,1000000,,\n1110,0,1,100000,300000,,\n"
                         "4110,0,1,0,100000,,\n6110,0,1,300000,0,,\n");
    ChildProcess::Result import = Books({"import", "--name", "loss", "--start", "20240401", "--end", "20250331",
                                         root_ / "accounts.csv", root_ / "balances.csv"});
    ASSERT_EQ(import.exitCode, 0) << import.err;
    ASSERT_EQ(Books({"select", "8"}).exitCode, 0);
    ASSERT_EQ(Link({"--batch"}).exitCode, 0);
    const std::string report = testfiles::ReadFile(report_);
    ExpectBalancedSheet(report);
    EXPECT_EQ(Amount(report, "ZYUNSISANNOBUGOUKEI"), 800000);
}

TEST_F(LinkProgramTest, ASixMonthYearWithAnInterimClosingKeepsItsClosingAdjustments) {
    // April to September: position 6 ends the year, so both the interim
    // (15) and the closing adjustments (18) belong to the period and to
    // month 6.
    testfiles::WriteFile(root_ / "accounts.csv", "code,sub,name,class_code,side\n4110,0,sales,40888800,credit\n");
    testfiles::WriteFile(root_ / "balances.csv",
                         "code,sub,period,debit,credit,debit_incl,credit_incl\n"
                         "4110,0,1,0,400,,\n4110,0,6,0,600,,\n4110,0,15,0,200,,\n4110,0,18,0,500,,\n");
    ChildProcess::Result import = Books({"import", "--name", "half", "--start", "20240401", "--end", "20240930",
                                         "--interim", root_ / "accounts.csv", root_ / "balances.csv"});
    ASSERT_EQ(import.exitCode, 0) << import.err;
    ASSERT_EQ(Books({"select", "8"}).exitCode, 0);
    ASSERT_EQ(Link({"--batch"}).exitCode, 0);
    const std::string report = testfiles::ReadFile(report_);
    EXPECT_EQ(Amount(report, "URIAGEDAKA"), 1700);
    EXPECT_EQ(Amount(report, "TUKIURIAGEKINGAKU01"), 400);
    EXPECT_EQ(Amount(report, "TUKIURIAGEKINGAKU06"), 1300);
}

TEST_F(LinkProgramTest, ACallerPathWithCommasIsTakenWhole) {
    // The path runs to the end of the caller's text, commas included; the
    // sheet's character check then refuses it. Cut at its first comma it
    // would have been a valid path to the file "a".
    report_ = root_ / "out/a,b,c.xml";
    ChildProcess::Result run = Link({"--batch"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Says(run.err, "データの出力先に不正な文字が含まれています。")) << run.err;
    EXPECT_FALSE(fs::exists(root_ / "out/a"));
    EXPECT_FALSE(fs::exists(report_));
}

TEST_F(LinkProgramTest, ACallerTextOver259BytesEndsTheRunBeforeAnyFile) {
    // Cut after 259 bytes, the caller's path would name another file of the
    // same folder; the run must neither write it nor remember anything.
    report_ = root_ / ("out/" + std::string(250, 'a') + ".xml");
    const std::string windowsPath = WindowsPath(report_);
    ASSERT_GT(windowsPath.size() + 16, 259u);
    const auto before = Snapshot(root_.Path());
    ChildProcess::Result run = Link({"--batch", "--yes"});
    EXPECT_EQ(run.exitCode, 2) << run.out << run.err;
    EXPECT_TRUE(Says(run.err, "呼び出し元から渡された出力先のパスが長すぎます。")) << run.err;
    EXPECT_NE(run.err.find("[warning]"), std::string::npos) << run.err;
    EXPECT_NE(run.out.find("post message=32769 wParam=2 lParam=2"), std::string::npos) << run.out;
    EXPECT_EQ(Snapshot(root_.Path()), before);
}

TEST_F(LinkProgramTest, AConditionFileThatIsNoSmallRegularFileIsNeitherReadNorReplaced) {
    const std::string conditions = ConditionFile("UG30", 1);
    fs::create_directories(fs::path(conditions).parent_path());
    // A FIFO would block the open; a sparse file of 1 GiB would be read whole.
    ASSERT_EQ(mkfifo(conditions.c_str(), 0600), 0);
    ChildProcess::Result run = ChildProcess::Run(
        {MZN_CALLER_EXE, "--timeout", "20", "--output", WindowsPath(report_), "--", MZN_PROGRAM_BRC, "--batch"},
        root_ / "io");
    EXPECT_EQ(run.exitCode, 1) << run.out << run.err;
    EXPECT_TRUE(Says(run.err, "集計条件を保存できませんでした。")) << run.err;
    EXPECT_TRUE(fs::is_fifo(conditions));

    fs::remove(conditions);
    {
        std::ofstream sparse(conditions);
        sparse.seekp((1 << 30) - 1);
        sparse.put('\n');
    }
    run = Link({"--batch"});
    EXPECT_EQ(run.exitCode, 1) << run.out << run.err;
    EXPECT_TRUE(Says(run.err, "集計条件を保存できませんでした。")) << run.err;
    EXPECT_EQ(fs::file_size(conditions), 1u << 30);
    EXPECT_FALSE(fs::exists(report_));
}

TEST_F(LinkProgramTest, ASaveRemovesWhatKilledSavesLeftBehind) {
    // The leftovers of a save that was killed, and of one still going on.
    const pid_t dead = fork();
    if (dead == 0) _exit(0);
    ASSERT_GT(dead, 0);
    ASSERT_EQ(waitpid(dead, nullptr, 0), dead);
    const std::string conditions = ConditionFile("UG30", 1);
    fs::create_directories(fs::path(conditions).parent_path());
    const std::string ofDead = conditions + ".new-" + std::to_string(dead) + "-0";
    const std::string ofLive = conditions + ".new-" + std::to_string(getpid()) + "-3";
    testfiles::WriteFile(ofDead, "[P1]\n");
    testfiles::WriteFile(ofLive, "[P1]\n");

    ASSERT_EQ(Link({"--batch"}).exitCode, 0);
    EXPECT_FALSE(fs::exists(ofDead));
    EXPECT_TRUE(fs::exists(ofLive));
    EXPECT_EQ(testfiles::ReadFile(conditions).rfind("[P1]\n3/0/0/\n", 0), 0u);
}

TEST_F(LinkProgramTest, NoReportGoesWhereNoWriteBitAllowsIt) {
    // The same rule for every user, the superuser included: a folder, or an
    // existing file, without any write bit is not written to.
    fs::permissions(root_ / "out", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    ChildProcess::Result run = Link({"--batch"});
    EXPECT_EQ(run.exitCode, 2) << run.out << run.err;
    EXPECT_TRUE(Says(run.err, "XMLファイルの出力に失敗しました。")) << run.err;
    EXPECT_FALSE(fs::exists(report_));

    fs::permissions(root_ / "out", fs::perms::owner_write, fs::perm_options::add);
    testfiles::WriteFile(report_, "kept");
    fs::permissions(report_, fs::perms::owner_read);
    run = Link({"--batch"});
    EXPECT_EQ(run.exitCode, 2) << run.out << run.err;
    EXPECT_EQ(testfiles::ReadFile(report_), "kept");
}

TEST_F(LinkProgramTest, ARememberedEndMonthTheEditCannotShowIsNotRemembered) {
    // A hand-edited file: the two-character edit would show 100 as "10".
    const std::string conditions = ConditionFile("UG30", 1);
    fs::create_directories(fs::path(conditions).parent_path());
    testfiles::WriteFile(conditions, "[P1]\n100/1/0/\n" + TextCodec::Utf8ToCp932(Utf8(u8"[終了]\n[P2/P3]\n1/URIAGEDAKA[END]\n[終了]\n")).text);
    ChildProcess::Result run = Link({"--batch"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    // The year's last month instead; the rest of the file still counts.
    EXPECT_EQ(testfiles::ReadFile(conditions).rfind("[P1]\n3/1/0/\n", 0), 0u);
}

TEST_F(LinkProgramTest, ControlCharactersMakeAPathInvalid) {
    for (const char* name : {"a\tb.xml", "a\nb.xml", "\x01.xml", "x\x1f"}) {
        SCOPED_TRACE(name);
        const std::string path = WindowsPath(root_ / "out") + "\\" + name;
        ChildProcess::Result run = ChildProcess::Run({MZN_PROGRAM_BRC, "--batch", "--output", path}, root_ / "io");
        EXPECT_EQ(run.exitCode, 1) << run.err;
        EXPECT_TRUE(Says(run.err, "データの出力先に不正な文字が含まれています。")) << run.err;
        EXPECT_TRUE(fs::is_empty(root_ / "out"));
    }
}

TEST_F(LinkProgramTest, AFolderNameTooLongToSplitCreatesNothing) {
    // 260 bytes whose folder part has 257: split as Windows splits paths,
    // it would lose its last character and name another folder.
    const std::string a(100, 'a');
    const std::string b(154, 'b');
    const std::string path = "C:\\" + a + "\\" + b + "\\x";
    ASSERT_EQ(path.size(), 260u);
    ChildProcess::Result run = ChildProcess::Run({MZN_PROGRAM_BRC, "--batch", "--yes", "--output", path}, root_ / "io");
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_TRUE(Says(run.err, "データの出力先に不正な文字が含まれています。")) << run.err;
    EXPECT_FALSE(fs::exists(root_ / ("drives/c/" + a)));

    // The same folder for the condition files: they cannot be saved, and
    // nothing is created; the report is written all the same.
    Sql("UPDATE app_folders SET path = 'C:\\" + a + "\\" + b + "\\' WHERE type = 1");
    run = ChildProcess::Run({MZN_PROGRAM_BRC, "--batch", "--output", WindowsPath(report_)}, root_ / "io");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_FALSE(fs::exists(root_ / ("drives/c/" + a)));
    EXPECT_TRUE(fs::exists(report_));
}

TEST_F(LinkProgramTest, AnUnlinkedRunRemembersTheChosenPath) {
    ChildProcess::Result run =
        ChildProcess::Run({MZN_PROGRAM_BRC, "--batch", "--output", WindowsPath(report_)}, root_ / "io");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(fs::exists(report_));
    // The chosen path is remembered for the next start.
    EXPECT_NE(testfiles::ReadFile(ConditionFile("UG30", 1)).find(WindowsPath(report_)), std::string::npos);
    // The next run writes there again, after the question about the file.
    run = ChildProcess::Run({MZN_PROGRAM_BRC, "--batch", "--yes"}, root_ / "io");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Says(run.err, "同名のファイルが存在します。")) << run.err;
}

TEST_F(LinkProgramTest, ASelectionThatNamesNoDataSetIsAFailure) {
    Sql("UPDATE users SET selected_no2 = 99");
    ChildProcess::Result run = Link({"--batch"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(Says(run.err, "選択されている会計データが見つかりません。")) << run.err;
    EXPECT_NE(run.out.find("lParam=2"), std::string::npos);
}

TEST_F(LinkProgramTest, AnAmountBeyondTheRangeEndsTheRunWithoutAReport) {
    Sql("UPDATE period_sums SET debit = 1000000000000000000 WHERE data_set = 1 AND period = 1 AND account_id = "
        "(SELECT account_id FROM accounts WHERE data_set = 1 AND code = 11100000)");
    ChildProcess::Result run = Link({"--batch"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(Says(run.err, "集計した金額が扱える範囲を超えました。")) << run.err;
    EXPECT_FALSE(fs::exists(report_));
}

TEST_F(LinkProgramTest, AConnectionThatFailsPostsNothing) {
    Sql("INSERT INTO faults(call, result) VALUES ('Initiate', 5)");
    ChildProcess::Result run = Link({"--batch"});
    EXPECT_EQ(run.exitCode, 100) << run.out;
    EXPECT_NE(run.out.find("exit status=2"), std::string::npos);
    EXPECT_EQ(run.out.find("disable"), std::string::npos);
}

}  // namespace
