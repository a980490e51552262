// The link programs as the tax-form application starts them: the real
// program under the real mzn-caller, in batch mode, on books made by the
// real mzn-books under a temporary MZN_ROOT.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "accounting_core/UserStore.h"
#include "report/MappedAccount.h"
#include "platform/DriveTable.h"
#include "platform/TextCodec.h"
#include "tests/support/BooksQuery.h"
#include "tests/support/BooksTool.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempRoot.h"
#include "tests/support/TestFiles.h"

namespace fs = std::filesystem;
using testfiles::Utf8;

namespace {

// The whole-yen amount of a report element; 0 when it is missing or empty.
std::int64_t Amount(const std::string& report, const std::string& tag) {
    const std::string open = "<" + tag + ">";
    const std::size_t at = report.find(open);
    return at == std::string::npos ? 0 : std::strtoll(report.c_str() + at + open.size(), nullptr, 10);
}

// Every entry below a host folder but the books, the remembered conditions,
// the callers' endpoints and the test's own process output, with a hash of
// each file's bytes.
std::map<std::string, std::size_t> Snapshot(const fs::path& folder) {
    std::map<std::string, std::size_t> entries;
    for (auto it = fs::recursive_directory_iterator(folder); it != fs::recursive_directory_iterator(); ++it) {
        const std::string name = it->path().lexically_relative(folder).string();
        if (name.starts_with("io") || name.starts_with("books.") || name == "run" ||
            name == "drives/c/Mizunara") {
            it.disable_recursion_pending();
            continue;
        }
        entries[name] = it->is_regular_file() ? std::hash<std::string>{}(testfiles::ReadFile(it->path())) : 0;
    }
    return entries;
}

// A display number no X server listens on here.
std::string UnusedDisplay() {
    for (int n = 90;; ++n) {
        if (!fs::exists("/tmp/.X11-unix/X" + std::to_string(n))) return ":" + std::to_string(n);
    }
}

// Fresh demo books for every run: made once, copied for each. Public, for
// the rows' set-ups.
class LinkProgramTest : public ::testing::Test {
public:
    static void SetUpTestSuite() {
        demo_ = new TempRoot;
        ASSERT_EQ(BooksTool::Run({"demo"}, *demo_ / "io").exitCode, 0);
    }
    static void TearDownTestSuite() {
        delete demo_;
        demo_ = nullptr;
    }

    void SetUp() override { FreshBooks(); }

    void FreshBooks() {
        root_.emplace();
        fs::copy_file(*demo_ / "books.sqlite3", *root_ / "books.sqlite3");
        ASSERT_TRUE(DriveTable::EnsureDefaults());
        fs::create_directories(*root_ / "out");
        report_ = *root_ / "out/report.xml";
        program_ = MZN_PROGRAM_BRC;
    }

    ChildProcess::Result Books(const std::vector<std::string>& arguments) {
        return BooksTool::Run(arguments, *root_ / "io-books");
    }

    // The program started by mzn-caller with the test's report path, and
    // the program's own options before the caller's text.
    ChildProcess::Result Link(const std::vector<std::string>& options, const std::string& program = "") {
        std::vector<std::string> words{MZN_CALLER_EXE, "--timeout", "60", "--output", WindowsPath(report_),
                                       "--", program.empty() ? program_ : program};
        words.insert(words.end(), options.begin(), options.end());
        return ChildProcess::Run(words, *root_ / "io-link");
    }

    static std::string WindowsPath(const std::string& host) {
        return TextCodec::Cp932ToUtf8(DriveTable::ToWindowsPath(host).value_or("")).text;
    }

    std::string ConditionFile(const char* version, int dataSet) {
        return *root_ / ("drives/c/Mizunara/Conditions/" + std::string(version) + "_G_" + UserStore::LoginName() +
                         "_" + std::to_string(dataSet) + "_" + std::to_string(dataSet) + ".env");
    }

    void Import(const std::string& accounts, const std::string& balances, const std::vector<std::string>& options) {
        testfiles::WriteFile(*root_ / "accounts.csv", accounts);
        testfiles::WriteFile(*root_ / "balances.csv", balances);
        std::vector<std::string> words{"import", "--name", "test"};
        words.insert(words.end(), options.begin(), options.end());
        words.insert(words.end(), {*root_ / "accounts.csv", *root_ / "balances.csv"});
        const ChildProcess::Result imported = Books(words);
        ASSERT_EQ(imported.exitCode, 0) << imported.err;
        ASSERT_EQ(Books({"select", "8"}).exitCode, 0);
    }

    static inline TempRoot* demo_ = nullptr;
    std::optional<TempRoot> root_;
    std::string report_;
    std::string program_;
};

// How a row starts the program.
enum class Caller { kWithPath, kWithoutPath, kNone, kText };
using Check = std::function<void(LinkProgramTest&, const ChildProcess::Result&)>;

struct Row {
    const char* name;
    std::function<void(LinkProgramTest&)> setUp;  // books, files; nullptr for none
    std::vector<std::string> options;             // the program's own
    Caller caller;
    int exitStatus;
    std::optional<int> posted;          // lParam the caller receives; nullopt: nothing (or no caller)
    std::optional<std::u8string> says;  // in what the run printed; nullopt: nothing on standard error
    std::optional<bool> reportWritten;  // nullopt: the "report" is a device
    std::vector<std::string> environment = {};  // /usr/bin/env's words: what changes for the run
    std::string text = "";                      // Caller::kText: the caller's text as given (code page 932)
    Check after = nullptr;                      // checks of its own
};

// The condition file of the demo books' main data set.
std::string Conditions(LinkProgramTest& t) { return t.ConditionFile("UG30", 1); }

void MakeConditionFolder(LinkProgramTest& t) { fs::create_directories(fs::path(Conditions(t)).parent_path()); }

}  // namespace

// Every row of the run's failure table, and every refusal before the run,
// with what the caller and the user are told and whether a report is left.
TEST_F(LinkProgramTest, EveryOutcomeOfARun) {
    const std::string display = UnusedDisplay();
    const std::u8string done = u8"事業概況情報の出力が終了しました。";
    const std::u8string badPath = u8"データの出力先に不正な文字が含まれています。";
    const std::u8string notSaved = u8"集計条件を保存できませんでした。";
    const std::vector<std::string> gui = {"-u", "QT_QPA_PLATFORM", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY"};
    const auto sql = [](const std::string& statement) { return [statement](LinkProgramTest&) { BooksQuery::Exec(statement); }; };
    const auto withFile = [](const std::string& bytes) {
        return [bytes](LinkProgramTest& t) { testfiles::WriteFile(t.report_, bytes); };
    };
    const std::vector<Row> rows = {
        // The caller's window: disabled during the run, enabled and told at the end; the command line's conditions
        // are remembered, the caller's path is not.
        {"written", nullptr, {"--batch", "--end-month", "9", "--tax-included", "yes"}, Caller::kWithPath, 0, 0, done,
         true, {}, "", [](LinkProgramTest& t, const ChildProcess::Result& run) {
             const std::size_t disable = run.out.find("disable");
             const std::size_t post = run.out.find("post message=32769 wParam=2 lParam=0");
             ASSERT_NE(disable, std::string::npos) << run.out;
             EXPECT_LT(disable, post) << run.out;
             EXPECT_LT(run.out.find("enable", disable), post) << run.out;
             const std::string report = testfiles::ReadFile(t.report_);
             EXPECT_EQ(report.rfind("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<REPORT>\r\n", 0), 0u);
             EXPECT_NE(report.find("\t\t<JIGYOUNENDOTO>20240331</JIGYOUNENDOTO>\r\n"), std::string::npos);
             EXPECT_EQ(testfiles::ReadFile(Conditions(t)).rfind("[P1]\n9/1/0/\n", 0), 0u);
         }},
        {"Initiate fails", sql("INSERT INTO faults VALUES ('Initiate', 5, 0)"), {"--batch"}, Caller::kWithPath, 2,
         std::nullopt, u8"Initiate", false},
        {"no books", [](LinkProgramTest& t) { fs::remove(*t.root_ / "books.sqlite3"); }, {"--batch"},
         Caller::kWithPath, 2, std::nullopt, u8"books", false},
        {"no definition file",
         [](LinkProgramTest& t) {
             // A copy of the program with its data files but no KumotoriDef.ini.
             const fs::path folder = *t.root_ / "program";
             fs::create_directories(folder);
             for (const auto& entry : fs::directory_iterator(fs::path(MZN_PROGRAM_BRC).parent_path()))
                 if (entry.path().extension() == ".dat") fs::copy_file(entry.path(), folder / entry.path().filename());
             t.program_ = folder / fs::path(MZN_PROGRAM_BRC).filename();
             fs::copy_file(MZN_PROGRAM_BRC, t.program_);
         },
         {"--batch"}, Caller::kWithPath, 2, 2, u8"ES_APRPACKAGENAMEが正しくインストールされているか確認してください。", false},
        {"the link ends quietly", sql("INSERT INTO faults VALUES ('ExpSysLink', 1, 0)"), {"--batch"},
         Caller::kWithPath, 1, 1, std::nullopt, false},
        {"the link fails", sql("INSERT INTO faults VALUES ('ExpSysLink', 7, 0)"), {"--batch"}, Caller::kWithPath, 2,
         2, std::nullopt, false},
        {"no data set selected", sql("UPDATE users SET selected_no2 = 99"), {"--batch"}, Caller::kWithPath, 2, 2,
         u8"選択されている会計データが見つかりません。", false},
        {"past results", [](LinkProgramTest& t) { ASSERT_EQ(t.Books({"select", "7"}).exitCode, 0); }, {"--batch"},
         Caller::kWithPath, 1, 1, u8"過去実績データは、連携の対象として使用できません。", false},
        {"the sheet's checks refuse the month", sql("UPDATE data_sets SET intro_month = 12 WHERE number = 1"),
         {"--batch", "--end-month", "9"}, Caller::kWithPath, 1, 1, u8"集計期間には、導入開始月より前は指定できません。",
         false},
        {"the walk fails", sql("INSERT INTO faults VALUES ('MoveNext', 9, 3)"), {"--batch"}, Caller::kWithPath, 2, 2,
         u8"勘定科目の集計に失敗しました。", false},
        {"the walk ends early", sql("INSERT INTO faults VALUES ('MoveNext', 5000, 3)"), {"--batch"},
         Caller::kWithPath, 2, 2, u8"勘定科目の集計に失敗しました。", false},
        {"an amount out of range",
         sql("UPDATE period_sums SET debit = 1000000000000000000 WHERE data_set = 1 AND period = 1 AND account_id = "
             "(SELECT account_id FROM accounts WHERE data_set = 1 AND code = 11100000)"),
         {"--batch"}, Caller::kWithPath, 2, 2, u8"集計した金額が扱える範囲を超えました。", false},
        {"a disk that takes no byte", [](LinkProgramTest& t) { t.report_ = "/dev/full"; }, {"--batch"},
         Caller::kWithPath, 2, 2, u8"XMLファイルの出力に失敗しました。", std::nullopt},
        {"a folder without a write bit",
         [](LinkProgramTest& t) {
             fs::permissions(fs::path(t.report_).parent_path(),
                             fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                             fs::perm_options::remove);
         },
         {"--batch"}, Caller::kWithPath, 2, 2, u8"XMLファイルの出力に失敗しました。", false},
        {"a caller's path with commas",
         [](LinkProgramTest& t) { t.report_ = DriveTable::ToHostPath("C:\\out\\a,b.xml").value_or(""); },
         {"--batch"}, Caller::kWithPath, 1, 1, badPath, false},
        {"a caller's text over 259 bytes",
         [](LinkProgramTest& t) { t.report_ = *t.root_ / ("out/" + std::string(250, 'a') + ".xml"); },
         {"--batch", "--yes"}, Caller::kWithPath, 2, 2, u8"呼び出し元から渡された出力先のパスが長すぎます。", false},
        {"an unknown option", nullptr, {"--frobnicate"}, Caller::kWithPath, 2, 2, u8"unknown option --frobnicate",
         false},
        {"a bad value, unlinked", nullptr, {"--batch", "--end-month", "13"}, Caller::kNone, 2, std::nullopt,
         u8"--end-month takes a month", false},
        {"--output beside the caller's path", nullptr, {"--batch", "--output", "C:\\other.xml"}, Caller::kWithPath,
         2, 2, u8"--output", false},
        {"batch without a path, unlinked", nullptr, {"--batch"}, Caller::kNone, 2, std::nullopt, u8"needs --output",
         false},
        {"batch without a path from the caller", nullptr, {"--batch"}, Caller::kWithoutPath, 2, 2,
         u8"needs --output", false},
        {"no display", nullptr, {}, Caller::kWithPath, 2, 2, u8"no display", false, gui},
        {"a display no server answers", nullptr, {}, Caller::kWithPath, 2, 2, u8"no display", false,
         {"-u", "QT_QPA_PLATFORM", "-u", "WAYLAND_DISPLAY", "DISPLAY=" + display}},
        {"xcb without a server", nullptr, {}, Caller::kWithPath, 2, 2, u8"no display", false,
         {"-u", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM=xcb", "DISPLAY=" + display}},
        {"a Wayland display that is gone", nullptr, {}, Caller::kWithPath, 2, 2, u8"no display", false,
         {"-u", "QT_QPA_PLATFORM", "-u", "DISPLAY", "WAYLAND_DISPLAY=mzn-no-such-wayland"}},
        {"a folder name too long to split whole", nullptr,
         {"--batch", "--yes", "--output", "C:\\" + std::string(100, 'a') + "\\" + std::string(154, 'b') + "\\x"},
         Caller::kNone, 1, std::nullopt, badPath, false},
        {"a condition file that is a FIFO",
         [](LinkProgramTest& t) {
             MakeConditionFolder(t);
             ASSERT_EQ(mkfifo(Conditions(t).c_str(), 0600), 0);
         },
         {"--batch"}, Caller::kWithPath, 1, 1, notSaved, false, {}, "",
         [](LinkProgramTest& t, const ChildProcess::Result&) { EXPECT_TRUE(fs::is_fifo(Conditions(t))); }},
        {"a condition file of 1 GiB",
         [](LinkProgramTest& t) {
             MakeConditionFolder(t);
             std::ofstream sparse(Conditions(t));
             sparse.seekp((1 << 30) - 1);
             sparse.put('\n');
         },
         {"--batch"}, Caller::kWithPath, 1, 1, notSaved, false, {}, "",
         [](LinkProgramTest& t, const ChildProcess::Result&) { EXPECT_EQ(fs::file_size(Conditions(t)), 1u << 30); }},
        {"no folder for the conditions", sql("DELETE FROM app_folders WHERE type = 1"), {"--batch"},
         Caller::kWithPath, 0, 0, done, true},
        // Split as Windows splits paths, its last character would be lost and another folder made.
        {"a condition folder too long to split whole",
         sql("UPDATE app_folders SET path = 'C:\\" + std::string(100, 'a') + "\\" + std::string(154, 'b') +
             "\\' WHERE type = 1"),
         {"--batch"}, Caller::kWithPath, 0, 0, done, true, {}, "", [](LinkProgramTest& t, const ChildProcess::Result&) {
             EXPECT_FALSE(fs::exists(*t.root_ / ("drives/c/" + std::string(100, 'a'))));
         }},
        {"a caller's path over an existing file, without a question", withFile("old"), {"--batch"},
         Caller::kWithPath, 0, 0, done, true, {}, "", [](LinkProgramTest& t, const ChildProcess::Result&) {
             EXPECT_EQ(testfiles::ReadFile(t.report_).rfind("<?xml", 0), 0u);
         }},
        // Unlinked, the path of --output is remembered for the next start, which asks before it overwrites.
        {"the remembered path over the file it wrote",
         [](LinkProgramTest& t) {
             const auto run = ChildProcess::Run(
                 {t.program_, "--batch", "--yes", "--output", LinkProgramTest::WindowsPath(t.report_)}, *t.root_ / "io");
             ASSERT_EQ(run.exitCode, 0) << run.err;
         },
         {"--batch"}, Caller::kNone, 1, std::nullopt, u8"同名のファイルが存在します。", true},
        {"--yes creates the folders and overwrites the file",
         [](LinkProgramTest& t) {
             t.report_ = *t.root_ / "drives/c/new/sub/r.xml";
             fs::create_directories(*t.root_ / "drives/c/new/sub");
             testfiles::WriteFile(t.report_, "old");
             fs::remove_all(*t.root_ / "drives/c/new");
         },
         {"--batch", "--yes", "--output", "C:\\new\\sub\\r.xml"}, Caller::kNone, 0, std::nullopt,
         u8"指定されたフォルダは存在しません。", true},
        {"a month past a short first year",
         [](LinkProgramTest& t) {
             t.Import("code,sub,name,class_code,side\n4110,0,sales,40888800,credit\n",
                      "code,sub,period,debit,credit,debit_incl,credit_incl\n4110,0,1,0,400,,\n",
                      {"--start", "20231001", "--end", "20240331"});
         },
         {"--batch", "--end-month", "9"}, Caller::kWithPath, 1, 1, u8"集計期間に誤りがあります。", false},
        // A preview runs the month checks, aggregates and prints; it looks at no path and writes nothing.
        {"a preview", nullptr, {"--batch", "--preview"}, Caller::kNone, 0, std::nullopt, std::nullopt, false, {}, "",
         [](LinkProgramTest& t, const ChildProcess::Result& run) {
             EXPECT_NE(run.out.find(Utf8(u8"【確認事項】")), std::string::npos) << run.out;
             EXPECT_FALSE(fs::exists(Conditions(t)));
         }},
        {"a preview of past results", [](LinkProgramTest& t) { ASSERT_EQ(t.Books({"select", "7"}).exitCode, 0); },
         {"--batch", "--preview"}, Caller::kNone, 1, std::nullopt, u8"過去実績データは", false},
        {"a preview refuses the month", sql("UPDATE data_sets SET intro_month = 12 WHERE number = 1"),
         {"--batch", "--preview=csv", "--end-month", "9"}, Caller::kNone, 1, std::nullopt, u8"導入開始月より前", false},
        {"a preview whose walk fails", sql("INSERT INTO faults VALUES ('MoveNext', 9, 3)"), {"--batch", "--preview"},
         Caller::kNone, 2, std::nullopt, u8"勘定科目の集計に失敗しました。", false},
        {"a caller's path in code page 932",
         [](LinkProgramTest& t) { t.report_ = *t.root_ / Utf8(u8"drives/c/out/ﾃｩ.xml"); },
         {"--batch"}, Caller::kText, 0, std::nullopt, done, true, {}, "1,32769,2,C:\\out\\\xC3\xA9.xml"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FreshBooks();
        // The report folder is the drive C: of the books, which the programs create on first use.
        fs::create_directories(*root_ / "drives/c/out");
        report_ = *root_ / "drives/c/out/report.xml";
        if (row.setUp) row.setUp(*this);
        const auto before = Snapshot(root_->Path());

        const bool linked = row.caller == Caller::kWithPath || row.caller == Caller::kWithoutPath;
        std::vector<std::string> words{"/usr/bin/env"};
        words.insert(words.end(), row.environment.begin(), row.environment.end());
        if (linked) words.insert(words.end(), {MZN_CALLER_EXE, "--timeout", "60"});
        if (row.caller == Caller::kWithPath) words.insert(words.end(), {"--output", WindowsPath(report_)});
        if (linked) words.push_back("--");
        words.push_back(program_);
        words.insert(words.end(), row.options.begin(), row.options.end());
        if (row.caller == Caller::kText) words.push_back(row.text);
        const ChildProcess::Result run = ChildProcess::Run(words, *root_ / "io");
        const std::string said = run.out + run.err;
        if (linked) {
            EXPECT_NE(run.out.find("exit status=" + std::to_string(row.exitStatus)), std::string::npos) << said;
        }
        EXPECT_EQ(run.exitCode, linked ? row.posted.value_or(100) : row.exitStatus) << said;
        if (row.says) {
            EXPECT_NE(run.err.find(reinterpret_cast<const char*>(row.says->c_str())), std::string::npos) << said;
        } else {
            EXPECT_EQ(run.err, "") << "the program shows nothing of its own";
        }
        if (row.reportWritten) { EXPECT_EQ(fs::exists(report_), *row.reportWritten) << report_; }
        // A run without a report leaves no file but the remembered conditions.
        if (row.reportWritten == false) { EXPECT_EQ(Snapshot(root_->Path()), before); }
        if (row.after) row.after(*this, run);
    }
}

// Assets = liabilities + net assets, the year's profit or loss included, on
// every report; each amount is cut to whole yen on its own. The demo books'
// reports are kept byte for byte (MZN_WRITE_GOLDEN=1 writes them afresh).
TEST_F(LinkProgramTest, EveryDemoReportBalancesAndIsItsGoldenFile) {
    const std::map<const char*, std::u8string> names = {{MZN_PROGRAM_ALD, u8"ミズナラ２０ ケアサービス版"},
                                                      {MZN_PROGRAM_BRC, u8"ミズナラ２０"},
                                                      {MZN_PROGRAM_CDR, u8"ミズナラ２０ PRO"}};
    const auto expectBalanced = [this] {
        const std::string report = testfiles::ReadFile(report_);
        const std::int64_t assets = Amount(report, "SISANNOBUGOUKEI");
        const std::int64_t liabilities = Amount(report, "FUSAINOBUGOUKEI");
        const std::int64_t netAssets = Amount(report, "ZYUNSISANNOBUGOUKEI");
        EXPECT_NE(assets, 0);
        EXPECT_LE(std::abs(assets - liabilities - netAssets), 2) << assets << " " << liabilities << " " << netAssets;
        return netAssets;
    };
    for (int dataSet = 1; dataSet <= 6; ++dataSet) {
        ASSERT_EQ(Books({"select", std::to_string(dataSet)}).exitCode, 0);
        for (const auto& [program, name] : names) {
            SCOPED_TRACE(std::to_string(dataSet) + " " + program);
            ASSERT_EQ(Link({"--batch"}, program).exitCode, 0);
            expectBalanced();
            EXPECT_NE(testfiles::ReadFile(report_).find(TextCodec::Utf8ToCp932(Utf8(u8"<PROGRAMNAME>" + name)).text),
                      std::string::npos);
            const std::string golden = BooksTool::DataFile("reports/demo-" + std::to_string(dataSet) + "-" +
                                                           fs::path(program).stem().string().substr(3, 3) + ".xml");
            if (std::getenv("MZN_WRITE_GOLDEN") != nullptr) testfiles::WriteFile(golden, testfiles::ReadFile(report_));
            EXPECT_TRUE(testfiles::ReadFile(report_) == testfiles::ReadFile(golden)) << "differs from " << golden;
        }
    }
    // Data set 2 ends on 2018-03-31: the UG16 form.
    EXPECT_TRUE(fs::exists(ConditionFile("UG16", 2)));

    // A year with a loss: 1,000,000 yen paid in, 100,000 sold, 300,000 spent.
    Import("code,sub,name,class_code,side\n1110,0,cash,80888000,debit\n3110,0,capital,80288000,credit\n"
           "4110,0,sales,40888800,credit\n6110,0,wages,40882800,debit\n",
           "code,sub,period,debit,credit,debit_incl,credit_incl\n1110,0,0,1000000,0,,\n3110,0,0,0,1000000,,\n"
           "1110,0,1,100000,300000,,\n4110,0,1,0,100000,,\n6110,0,1,300000,0,,\n",
           {"--start", "20240401", "--end", "20250331"});
    ASSERT_EQ(Link({"--batch"}).exitCode, 0);
    EXPECT_EQ(expectBalanced(), 800000);
}

// The report's amounts are the imported rows' sums, taken with SQL over the
// books, in the tax view the command line asks for: the year's sales and
// those of month 2, where the two views differ.
TEST_F(LinkProgramTest, TheReportCarriesTheSumsOfTheImportedBooks) {
    const int dataSet = BooksTool::ImportSmallBooks(*root_ / "io");
    ASSERT_GT(dataSet, 0);
    const std::string where = " FROM period_sums s JOIN accounts a USING (data_set, account_id) WHERE s.data_set = " +
                              std::to_string(dataSet) + " AND a.code % 10000 = 0 AND ";
    const auto sum = [&where](const std::string& amount, const std::string& condition) {
        return BooksQuery::Number("SELECT coalesce(SUM(" + amount + "), 0)" + where + condition) / 10000;
    };
    const std::string sales = "a.class_code IN (1082689536, 1082688512, 1082688000, 1082687744) AND s.period ";
    for (const bool taxIncluded : {false, true}) {
        SCOPED_TRACE(taxIncluded);
        const std::string credit = taxIncluded ? "s.credit_incl - s.debit_incl" : "s.credit - s.debit";
        ASSERT_EQ(Link({"--batch", "--tax-included", taxIncluded ? "yes" : "no"}).exitCode, 0);
        const std::string report = testfiles::ReadFile(report_);
        EXPECT_EQ(Amount(report, "URIAGEDAKA"), sum(credit, sales + "IN (0,1,2,3,4,5,6,7,8,9,10,11,12,18)"));
        EXPECT_EQ(Amount(report, "TUKIURIAGEKINGAKU02"), sum(credit, sales + "= 2"));
    }
}

// The next year's data set takes over a year's remembered conditions, all but the report's path; a deleted data
// set leaves its conditions behind.
TEST_F(LinkProgramTest, ConditionsGoToTheNextYearAndStayWithADeletedDataSet) {
    ASSERT_EQ(ChildProcess::Run({program_, "--batch", "--end-month", "9", "--output", WindowsPath(report_)},
                                *root_ / "io-link").exitCode, 0);
    const std::string from = testfiles::ReadFile(ConditionFile("UG30", 1));
    ASSERT_NE(from.find("9/0/0/Z:"), std::string::npos);
    const ChildProcess::Result copied = Books({"copy-conditions", "1", "3"});
    EXPECT_EQ(copied.out, "Copied for " + UserStore::LoginName() + ": C:\\Mizunara\\Conditions\\UG30_G_" +
                              UserStore::LoginName() + "_3_3.env\n");
    const std::string to = testfiles::ReadFile(ConditionFile("UG30", 3));
    EXPECT_EQ(to.substr(0, 12), "[P1]\n9/0/0/\n");
    EXPECT_EQ(to.substr(to.find("[P2/P3]")), from.substr(from.find("[P2/P3]")));
    EXPECT_NE(Books({"copy-conditions", "1", "3"}).out.find("Kept for "), std::string::npos);
    EXPECT_EQ(testfiles::ReadFile(ConditionFile("UG30", 3)), to);
    EXPECT_EQ(Books({"copy-conditions", "1", "2"}).exitCode, 5) << "a UG16 year";
    EXPECT_EQ(Books({"copy-conditions", "1", "9"}).exitCode, 4);

    const ChildProcess::Result deleted = Books({"delete", "1"});
    EXPECT_EQ(deleted.exitCode, 0);
    EXPECT_NE(deleted.out.find(" has no data set selected now.\nThe remembered conditions of "), std::string::npos);
    EXPECT_EQ(testfiles::ReadFile(ConditionFile("UG30", 1)), from);
    EXPECT_EQ(BooksQuery::Number("SELECT (SELECT count(*) FROM accounts WHERE data_set = 1) + "
                                 "(SELECT count(*) FROM data_sets WHERE number = 1) + sum(selected_no2) FROM users"),
              0);
    EXPECT_EQ(Books({"delete", "1"}).exitCode, 4);
}

// Books imported from a package's export (code page 932, section names, own codes with a code map, balances in
// the wide layout) give the report the same books imported from the plain files give.
TEST_F(LinkProgramTest, BooksFromAWideExportGiveTheSameReport) {
    ASSERT_GT(BooksTool::ImportSmallBooks(*root_ / "io"), 0);
    ASSERT_EQ(Link({"--batch"}).exitCode, 0);
    const std::string plain = testfiles::ReadFile(report_);
    const ChildProcess::Result imported =
        Books({"import", "--name", Utf8(u8"株式会社こなら商事"), "--start", "20240401", "--end", "20250331", "--layout",
               "monthly", "--amounts", "balance", "--code-map", BooksTool::DataFile("books/export-code-map.csv"),
               BooksTool::DataFile("books/export-accounts.csv"),
               BooksTool::DataFile("books/export-balances-wide.csv")});
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    ASSERT_EQ(Books({"select", imported.out.substr(0, imported.out.find('\n'))}).exitCode, 0);
    fs::remove(report_);
    ASSERT_EQ(Link({"--batch"}).exitCode, 0);
    EXPECT_EQ(testfiles::ReadFile(report_), plain);
    EXPECT_NE(Amount(plain, "URIAGEDAKA"), 0);
}

namespace {

// The amounts of a report in the order of the preview's CSV: the main items,
// then each monthly item's twelve months.
std::vector<std::string> ReportAmounts(const std::string& report) {
    std::vector<std::string> main;
    std::vector<std::vector<std::string>> months;  // [month][item]
    for (std::size_t at = report.find("<SYUYOUKAMOKU>"); (at = report.find("\t\t\t\t<", at)) != std::string::npos;) {
        const std::size_t text = report.find('>', at) + 1;
        const std::string value = report.substr(text, report.find('<', text) - text);
        if (report.compare(at + 5, 9, "TUKIBETU_") == 0)
            months.emplace_back();
        else
            (months.empty() ? main : months.back()).push_back(value);
        at = text;
    }
    for (std::size_t item = 0; !months.empty() && item < months[0].size(); ++item)
        for (const auto& month : months) main.push_back(month[item]);
    return main;
}

std::vector<std::string> CsvAmounts(const std::string& csv) {
    std::vector<std::string> amounts;
    for (std::size_t at = csv.find('\n') + 1; at < csv.size(); at = csv.find('\n', at) + 1) {
        std::size_t field = at;
        for (int comma = 0; comma < 3; ++comma) field = csv.find(',', field) + 1;
        amounts.push_back(csv.substr(field, csv.find(',', field) - field));
    }
    return amounts;
}

// The key of an account of the books by its code as users see it.
std::string Key(int code, int sub = 0) {
    char key[MappedAccount::kKeySize];
    std::snprintf(key, sizeof key, "0x4d5a4e41%08x0000000000000000", code * 10000 + sub);
    return key;
}

}  // namespace

// The preview prints what the report would write, item by item, and the
// points to check; a batch run tells the same points on standard error.
TEST_F(LinkProgramTest, ThePreviewShowsTheReportsAmountsAndWhatToCheck) {
    const auto run = [this](std::vector<std::string> options) {
        options.insert(options.begin(), program_);
        return ChildProcess::Run(options, *root_ / "io-run");
    };
    for (auto [dataSet, options] : std::map<int, std::vector<std::string>>{
             {1, {"--end-month", "9", "--tax-included", "yes"}}, {2, {}}, {3, {}}}) {
        SCOPED_TRACE(dataSet);
        ASSERT_EQ(Books({"select", std::to_string(dataSet)}).exitCode, 0);
        std::vector<std::string> preview = {"--batch", "--preview=csv"};
        preview.insert(preview.end(), options.begin(), options.end());
        const ChildProcess::Result csv = run(preview);
        ASSERT_EQ(csv.exitCode, 0) << csv.err;
        options.insert(options.begin(), "--batch");
        ASSERT_EQ(Link(options).exitCode, 0);
        EXPECT_EQ(CsvAmounts(csv.out), ReportAmounts(testfiles::ReadFile(report_)));
    }

    const auto remember = [this](int dataSet, const std::string& mapping) {
        fs::create_directories(fs::path(ConditionFile("UG30", dataSet)).parent_path());
        testfiles::WriteFile(ConditionFile("UG30", dataSet),
                             TextCodec::Utf8ToCp932(Utf8(u8"[P1]\n3/0/0/\n[終了]\n[P2/P3]\n") + mapping + Utf8(u8"[終了]\n")).text);
    };
    const auto otherChart = [this] {
        Import(Utf8(u8"code,sub,name,class_code,side\n1110,0,現金,80888000,debit\n1140,0,普通預金,80888000,debit\n"
                    u8"1140,1,みずなら銀行,80888000,debit\n3110,0,資本金,80288000,credit\n"),
               "code,sub,period,debit,credit,debit_incl,credit_incl\n1110,0,0,300000,0,,\n1140,0,0,200000,0,,\n"
               "1140,1,0,600000,0,,\n"
               "3110,0,0,0,1000000,,\n",
               {"--start", "20240401", "--end", "20250331"});
    };
    struct Case {
        const char* name;
        std::function<void()> books;
        std::vector<std::string> options;
        std::vector<std::u8string> says;  // on standard output, with the preview's "・"
    };
    const std::vector<Case> cases = {
        {"the demo books with every account and item mapped",
         [&] {
             std::string mapping = "21/SISAN[END]\n31/FUSAI[END]\n36/SIHON[END]\n";
             for (int item = 2; item <= 42; ++item)
                 if (item != 21 && item != 31 && item != 36) mapping += std::to_string(item) + "/URIAGEDAKA[END]\n";
             for (const auto& row : BooksQuery::Rows("SELECT code / 10000 FROM accounts WHERE data_set = 1 AND code % 10000 = 0"))
                 mapping += "1/" + Key(std::stoi(row[0])) + "[END]\n";
             remember(1, mapping);
         },
         {"--tax-included", "yes"}, {u8"【確認事項】\n確認が必要な点はありません。\n"}},
        {"books on another chart", otherChart, {},
         {u8"・この会計データの勘定科目は標準の科目体系と異なります（既定の集計先の科目 ",
          u8"・資産の部合計 1,100,000円 が 負債の部合計 + 純資産の部合計 1,000,000円 と一致しません（差額 100,000円）。\n",
          u8"・項目 23「受取手形」に集計する科目も合計もありません（報告書では空欄になります）。\n",
          u8"・科目 3110 資本金（残高 1,000,000円）はどの項目にも集計されていません（合計欄にだけ含まれます）。\n"}},
        {"tax included asked of books without it", otherChart, {"--tax-included", "yes"},
         {u8"・税込みで集計しましたが、この会計データの税込金額はすべて税抜金額と同じです"}},
        {"an account named twice, a main account beside its sub-account",
         [&] {
             otherChart();
             remember(8, "22/" + Key(1110) + "[END]\n22/" + Key(1110) + "[END]\n22/" + Key(1140) + "[END]\n22/" +
                             Key(1140, 1) + "[END]\n");
         },
         {},
         {u8"・項目 22「現金預金」に 科目 1110 現金 が二重に指定されています（金額が二度集計されます）。\n",
          u8"・項目 22「現金預金」に 科目 1140 普通預金 と その補助科目 1140-1 みずなら銀行 の両方が指定されています"}},
        {"a sub-account named without the rest of its main account",
         [&] {
             otherChart();
             remember(8, "22/" + Key(1110) + "[END]\n22/" + Key(1140, 1) + "[END]\n");
         },
         {}, {u8"・科目 1140 普通預金（残高 200,000円）はどの項目にも集計されていません"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FreshBooks();
        c.books();
        std::vector<std::string> options = {"--batch"};
        options.insert(options.end(), c.options.begin(), c.options.end());
        const ChildProcess::Result written = Link(options);
        options.push_back("--preview");
        const ChildProcess::Result preview = run(options);
        EXPECT_EQ(preview.exitCode, 0) << preview.err;
        for (const std::u8string& line : c.says)
            EXPECT_NE(preview.out.find(Utf8(line)), std::string::npos) << Utf8(line) << "\n" << preview.out;
        // The same points, and none where there is none, in a run that writes its report.
        EXPECT_EQ(written.exitCode, 0) << written.err;
        EXPECT_EQ(written.err.find(Utf8(u8"確認: ")) != std::string::npos, c.says.front().starts_with(u8"・"));
        for (const std::u8string& line : c.says) {
            if (!line.starts_with(u8"・")) continue;
            EXPECT_NE(written.err.find(Utf8(u8"確認: " + line.substr(3))), std::string::npos) << written.err;
        }
    }
}
