#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/DriveTable.h"
#include "platform/ScriptedMessageBoxes.h"
#include "report/TargetVersion.h"
#include "tests/support/CurrentFolderGuard.h"
#include "tests/support/TempRoot.h"
#include "tests/support/TestFiles.h"
#include "tests/xml/WellFormedXml.h"
#include "xml/ReportFileBuilder.h"

namespace {

// Records the progress calls as "P" (one activity pulse) and "A<from>-<to>".
class RecordingProgress : public ProgressSink {
public:
    void AdvanceProgress(std::int16_t from, std::int16_t to) override {
        events.push_back("A" + std::to_string(from) + "-" + std::to_string(to));
    }
    void PulseActivity() override { events.push_back("P"); }
    int Advances() const {
        int count = 0;
        for (const std::string& event : events) count += event[0] == 'A' ? 1 : 0;
        return count;
    }

    std::vector<std::string> events;
};

std::unique_ptr<ReportItem> Item(int itemNo, const std::string& tag) {
    auto item = std::make_unique<ReportItem>();
    item->ItemNo = static_cast<std::int16_t>(itemNo);
    std::strncpy(item->TagName, tag.c_str(), sizeof item->TagName - 1);
    return item;
}

std::string TwoDigits(int n) { return std::string{static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)}; }

// The item lists of the expected report files (tests/xml/data): main items
// with amounts that probe the rounding and the bounds, hyphenated tags where
// the version leaves an item out (for UG30 also the first and the last main
// item), and eight monthly-sales items.
std::int64_t MainAmount(int n) {
    switch (n) {
        case 2: return 0;
        case 3: return -5'000;
        case 4: return 9'999'999'999'990'000;
        case 5: return 10'000'000'000'000'000;
        case 6: return -999'999'999'990'000;
        case 7: return -1'000'000'000'000'000;
        case 8: return 123'456'789;
        case 9: return -123'456'789;
        case 10: return 9'999;
        case 11: return 10'000;
        case 12: return 9'999'999'999'999'999;
        case 13: return -999'999'999'999'999;
        default: return n * 10'000'000LL + 1'234;
    }
}

ItemList ExpectedReportItems(bool ug30) {
    const int base = TargetVersion::MonthlyItemBase(ug30);
    ItemList items;
    for (int n = 1; n < base; ++n) {
        bool hyphened = n == 20 || (ug30 && (n == 1 || n == 36));
        items.push_back(Item(n, hyphened ? "-" : "SYUYOU" + TwoDigits(n)));
        items.back()->Amounts[0] = MainAmount(n);
    }
    for (int j = 0; j < 8; ++j) {
        items.push_back(Item(base + j, ug30 && j == 5 ? "-" : std::string("URIAGE_") + static_cast<char>('A' + j)));
        for (int k = 1; k <= 12; ++k) {
            std::int64_t amount = (j + 1) * 10'000'000LL + k * 10'000LL + 5'555;
            items.back()->Amounts[k] = j == 2 ? -amount : (j == 7 && k == 6 ? 0 : amount);
        }
    }
    return items;
}

StDATAINFO DataSet(const char* name, std::int32_t start, std::int32_t end) {
    StDATAINFO data;
    std::memset(&data, 0, sizeof data);
    std::strncpy(data.Name, name, sizeof data.Name - 1);
    data.PeriodStart = start;
    data.PeriodEnd = end;
    return data;
}

constexpr const char* kCompany = "ｶﾌﾞｼｷｶﾞｲｼｬ ﾐｽﾞﾅﾗ&Co.";
constexpr const char* kSupportInfo =
    "[=会社名=]ミズナラソフト株式会社\r\n"
    "[=製品名=]ミズナラ２０ R&D版\r\n"
    "[=製品ﾊﾞｰｼﾞｮﾝ=]20.00.05\r\n"
    "[=ｻﾎﾟｰﾄ=]0120-000-000\r\n"
    "\x1A";

void* NoMemory(std::size_t, std::size_t) { return nullptr; }

// A temporary installation: drive C: in a fresh root, and the program's
// folder (with or without SUPPORT.INF) as the current folder.
class ReportFileBuilderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(DriveTable::EnsureDefaults());
        std::filesystem::create_directory(root_ / "program");
        std::filesystem::current_path(root_ / "program");
    }
    void PutSupportInfo(const std::string& bytes) {
        ASSERT_TRUE(testfiles::WriteFile(root_ / "program/SUPPORT.INF", bytes));
    }
    std::string ReportPath() const { return root_ / "drives/c/report.xml"; }

    // Writes the report to C:\report.xml and returns the file's bytes.
    std::string Write(const ItemList& items, bool ug30, int startMonth, std::int16_t functionNo,
                      const StDATAINFO& data, bool expectWritten = true) {
        ReportFileBuilder builder(progress_, items, ug30, &boxes_);
        EXPECT_EQ(builder.WriteReport("C:\\report.xml", functionNo, startMonth, data), expectWritten);
        return testfiles::ReadFile(ReportPath());
    }

    static std::string Expected(const char* name) {
        std::string bytes = testfiles::ReadFile(std::string(MZN_XML_TEST_DATA) + "/" + name);
        EXPECT_FALSE(bytes.empty()) << name;
        return bytes;
    }

    TempRoot root_;
    CurrentFolderGuard folder_;
    RecordingProgress progress_;
    ScriptedMessageBoxes boxes_;
};

// Runs body in a child process whose files may grow to limit bytes; a write
// beyond fails (EFBIG) instead of raising SIGXFSZ. The child's exit status.
int UnderFileSizeLimit(rlim_t limit, const std::function<int()>& body) {
    pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit size{limit, limit};
        if (setrlimit(RLIMIT_FSIZE, &size) != 0) _exit(99);
        _exit(body());
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST_F(ReportFileBuilderTest, ReportsMatchTheExpectedFilesByteForByte) {
    struct Case {
        const char* expected;
        bool ug30;
        int startMonth;
        std::int16_t functionNo;
        std::int32_t start, end;
        bool support;
    };
    const Case cases[] = {
        {"ug16_start4_default.xml", false, 4, 1, 20170401, 20180331, false},
        {"ug16_start1_support.xml", false, 1, 2, 20170101, 20171231, true},
        {"ug30_start4_support.xml", true, 4, 1, 20230401, 20240331, true},
        {"ug30_start1_default.xml", true, 1, 2, 20240101, 20241231, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        std::filesystem::remove(root_ / "program/SUPPORT.INF");
        if (c.support) PutSupportInfo(kSupportInfo);
        const ItemList items = ExpectedReportItems(c.ug30);
        const std::string report =
            Write(items, c.ug30, c.startMonth, c.functionNo, DataSet(kCompany, c.start, c.end));
        EXPECT_EQ(report, Expected(c.expected));
        EXPECT_EQ(XmlProblems(report), "");
    }
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(ReportFileBuilderTest, TheWellFormednessCheckRejectsBrokenDocuments) {
    // The check every report passes must be able to fail.
    EXPECT_NE(XmlProblems("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<R><A></R>\r\n"), "");
    EXPECT_NE(XmlProblems("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<R>&</R>\r\n"), "");
    EXPECT_EQ(XmlProblems("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<R>表ソ</R>\r\n"), "");
}

TEST_F(ReportFileBuilderTest, ProgressIsPulsedAndAdvancedInOrder) {
    const ItemList items = ExpectedReportItems(false);
    Write(items, false, 4, 1, DataSet(kCompany, 20170401, 20180331));

    std::vector<std::string> expected = {"P"};            // before SYSTEM
    expected.insert(expected.end(), 6, "P");              // its six elements
    expected.insert(expected.end(), {"A500-600", "P"});   // SYSTEM done
    expected.insert(expected.end(), 4, "P");              // BASIC start tag and three elements
    expected.insert(expected.end(), {"A600-700", "P"});   // BASIC done
    expected.insert(expected.end(), 36, "P");             // items 1 to 36, where the walk stops
    expected.insert(expected.end(), 12, "P");             // twelve months
    expected.insert(expected.end(), {"A700-1000", "P"});  // DATA done
    EXPECT_EQ(progress_.events, expected);

    progress_.events.clear();
    ReportFileBuilder builder(progress_, items, true, &boxes_);
    builder.SetProgressStart(300);
    EXPECT_TRUE(builder.WriteReport("C:\\report.xml", 1, 4, DataSet(kCompany, 20230401, 20240331)));
    std::vector<std::string> advances;
    for (const std::string& event : progress_.events)
        if (event[0] == 'A') advances.push_back(event);
    EXPECT_EQ(advances, (std::vector<std::string>{"A300-400", "A400-500", "A500-1000"}));
}

TEST_F(ReportFileBuilderTest, AmountsAtTheEndsOfTheRangeGiveEmptyTexts) {
    // The expected report files hold the rounding and the bounds; these are
    // the values no item list reaches.
    EXPECT_EQ(ReportFileBuilder::FormatAmount(INT64_MAX), "");
    EXPECT_EQ(ReportFileBuilder::FormatAmount(INT64_MIN), "");
    EXPECT_EQ(ReportFileBuilder::FormatAmount(-10'000), "-1");
}

TEST_F(ReportFileBuilderTest, ClientNameIsFullWidthAndCutTo32BytesOnACharacterBoundary) {
    ItemList items;
    ReportFileBuilder builder(progress_, items, false, &boxes_);
    std::string twenty;
    for (int i = 0; i < 20; ++i) twenty += "株";
    EXPECT_EQ(std::string(builder.MakeClientName(twenty)), twenty.substr(0, 32));
    EXPECT_EQ(std::string(builder.MakeClientName(std::string(31, 'a'))), "ａａａａａａａａａａａａａａａａ");
    // A byte that stays single puts a character across the 32-byte mark.
    EXPECT_EQ(std::string(builder.MakeClientName("\x7F" + twenty)), "\x7F" + twenty.substr(0, 30));
    EXPECT_EQ(std::string(builder.MakeClientName("ｶﾞｲｱ 1")), "ガイア　１");
    EXPECT_EQ(std::string(builder.MakeClientName("")), "");
}

TEST_F(ReportFileBuilderTest, MarkupInTheDataSetNameComesOutFullWidthWithoutEntities) {
    const ItemList items = ExpectedReportItems(false);
    const std::string report = Write(items, false, 4, 1, DataSet("A&B<C>D", 20170401, 20180331));
    EXPECT_NE(report.find("\t\t<KOMONSAKINAME>Ａ＆Ｂ＜Ｃ＞Ｄ</KOMONSAKINAME>\r\n"), std::string::npos);
    EXPECT_EQ(report.find("&amp;"), std::string::npos);
    EXPECT_EQ(report.find("&lt;"), std::string::npos);
    EXPECT_EQ(XmlProblems(report), "");
}

TEST_F(ReportFileBuilderTest, HyphenatedFirstAndLastMainItemsStillOpenAndCloseTheGroup) {
    ItemList items;
    items.push_back(Item(1, "-"));
    items.push_back(Item(2, "B-"));
    items.push_back(Item(35, "-A"));
    items.push_back(Item(36, "M-"));
    items.push_back(Item(37, "MM"));
    const std::string report = Write(items, false, 1, 1, DataSet("x", 20170101, 20171231));
    const std::string expectedData =
        "\t<DATA>\r\n\t\t\t<SYUYOUKAMOKU>\r\n\t\t\t</SYUYOUKAMOKU>\r\n\t\t\t<TUKIBETUURIAGEDAKA>\r\n"
        "\t\t\t\t<TUKIBETU_01>1</TUKIBETU_01>\r\n\t\t\t\t<MM01></MM01>\r\n";
    EXPECT_NE(report.find(expectedData), std::string::npos);
    EXPECT_EQ(report.find("M-"), std::string::npos);
    EXPECT_EQ(XmlProblems(report), "");
}

TEST_F(ReportFileBuilderTest, ListsWithoutTheFirstMonthlyItemGetOnlyTheMonthMarkers) {
    const std::string markersOnly = [] {
        std::string text = "\t\t\t<TUKIBETUURIAGEDAKA>\r\n";
        for (int k = 1; k <= 12; ++k)
            text += "\t\t\t\t<TUKIBETU_" + TwoDigits(k) + ">" + std::to_string((k + 2) % 12 + 1) + "</TUKIBETU_" +
                    TwoDigits(k) + ">\r\n";
        return text + "\t\t\t</TUKIBETUURIAGEDAKA>\r\n\t</DATA>\r\n</REPORT>\r\n";
    }();

    // UG30 items 1 to 36, then 38 onward: the walk stops at 38.
    ItemList gap = ExpectedReportItems(true);
    for (auto it = gap.begin(); it != gap.end();)
        it = (*it)->ItemNo == 37 ? gap.erase(it) : std::next(it);
    std::string report = Write(gap, true, 4, 1, DataSet("x", 20230401, 20240331));
    EXPECT_TRUE(report.ends_with("\t\t\t</SYUYOUKAMOKU>\r\n" + markersOnly)) << report;
    EXPECT_EQ(XmlProblems(report), "");

    // A list that ends among the main items: the group is closed where they end.
    ItemList shortList;
    for (int n = 1; n <= 3; ++n) shortList.push_back(Item(n, "S" + std::to_string(n)));
    shortList.back()->Amounts[0] = 30'000;
    report = Write(shortList, true, 4, 1, DataSet("x", 20230401, 20240331));
    EXPECT_TRUE(report.ends_with("\t\t\t\t<S3>3</S3>\r\n\t\t\t</SYUYOUKAMOKU>\r\n" + markersOnly)) << report;
    EXPECT_EQ(XmlProblems(report), "");

    // An empty list, and one without item 1: no group at all.
    ItemList empty;
    report = Write(empty, false, 4, 1, DataSet("x", 20170401, 20180331));
    EXPECT_TRUE(report.ends_with("\t<DATA>\r\n" + markersOnly)) << report;
    EXPECT_EQ(XmlProblems(report), "");
    ItemList noFirst;
    noFirst.push_back(Item(35, "LAST"));
    report = Write(noFirst, false, 4, 1, DataSet("x", 20170401, 20180331));
    EXPECT_TRUE(report.ends_with("\t<DATA>\r\n\t\t\t\t<LAST></LAST>\r\n" + markersOnly)) << report;
    EXPECT_EQ(XmlProblems(report), "");
}

TEST_F(ReportFileBuilderTest, LongSupportValuesAreCutOnACharacterBoundarySoTheirLinesFit) {
    std::string longName = "x";
    for (int i = 0; i < 200; ++i) longName += "ア";
    PutSupportInfo("[=製品名=]" + longName + "\r\n[=製品ﾊﾞｰｼﾞｮﾝ=]" + std::string(300, '&') + "\r\n");
    const ItemList items = ExpectedReportItems(false);
    const std::string report = Write(items, false, 4, 1, DataSet(kCompany, 20170401, 20180331));

    // 224 bytes of room: "x" and 111 characters, since a 112th would split.
    const std::string nameLine = "\t\t<PROGRAMNAME>" + longName.substr(0, 223) + "</PROGRAMNAME>\r\n";
    EXPECT_NE(report.find(nameLine), std::string::npos);
    // 226 bytes of room: 45 escaped ampersands.
    std::string ampersands;
    for (int i = 0; i < 45; ++i) ampersands += "&amp;";
    const std::string versionLine = "\t\t<PROGRAMVER>" + ampersands + "</PROGRAMVER>\r\n";
    EXPECT_NE(report.find(versionLine), std::string::npos);
    EXPECT_LE(nameLine.size(), 255u);
    EXPECT_EQ(XmlProblems(report), "");
}

TEST_F(ReportFileBuilderTest, WithoutMemoryForTheSupportInformationTheDefaultsApply) {
    PutSupportInfo(kSupportInfo);
    const ItemList items = ExpectedReportItems(false);
    ReportFileBuilder builder(progress_, items, false, &boxes_);
    builder.SetSupportInfoAllocator(&NoMemory);
    EXPECT_TRUE(builder.WriteReport("C:\\report.xml", 1, 4, DataSet(kCompany, 20170401, 20180331)));
    EXPECT_EQ(testfiles::ReadFile(ReportPath()), Expected("ug16_start4_default.xml"));
    // Once for each of the two lookups.
    ASSERT_EQ(boxes_.Boxes().size(), 2u);
    for (const auto& box : boxes_.Boxes()) {
        EXPECT_EQ(box.text, "ﾒﾓﾘが不足しています。");
        EXPECT_EQ(box.style, mb::kOk);
    }
}

TEST_F(ReportFileBuilderTest, AFileThatCannotBeCreatedFailsBeforeAnySectionAdvances) {
    const ItemList items = ExpectedReportItems(false);
    ReportFileBuilder builder(progress_, items, false, &boxes_);
    EXPECT_FALSE(builder.WriteReport("C:\\missing\\report.xml", 1, 4, DataSet(kCompany, 20170401, 20180331)));
    EXPECT_FALSE(builder.WriteReport("Q:\\report.xml", 1, 4, DataSet(kCompany, 20170401, 20180331)));
    EXPECT_EQ(progress_.events, (std::vector<std::string>{"P", "P"}));
    EXPECT_FALSE(std::filesystem::exists(root_ / "drives/c/missing"));
}

// A file system that reports its error only when the file is flushed or
// closed (network and FUSE file systems, quotas). The descriptor is still
// released.
int FailingSync(int) {
    errno = EIO;
    return -1;
}
int FailingClose(int descriptor) {
    ::close(descriptor);
    errno = EIO;
    return -1;
}

TEST_F(ReportFileBuilderTest, AnErrorReportedAtTheEndFailsTheReport) {
    const ItemList items = ExpectedReportItems(false);
    for (OutputFile::SystemCalls calls : {OutputFile::SystemCalls{&FailingSync, &::close},
                                          OutputFile::SystemCalls{&::fsync, &FailingClose}}) {
        ReportFileBuilder builder(progress_, items, false, nullptr);
        builder.SetFileCalls(calls);
        EXPECT_FALSE(builder.WriteReport("C:\report.xml", 1, 4, DataSet(kCompany, 20170401, 20180331)));
    }
}

TEST_F(ReportFileBuilderTest, AFileThatFillsUpMidDocumentKeepsWhatWasWritten) {
    const ItemList items = ExpectedReportItems(false);
    const std::string whole = Expected("ug16_start4_default.xml");
    // Limits inside SYSTEM and inside DATA: the section that fails does not
    // advance the bar, and the REPORT end tag finds the file closed.
    struct Case {
        rlim_t limit;
        int advances;
    };
    // A disk that fills on the very last line: every section was written,
    // but the file is cut short and the report fails all the same.
    const rlim_t lastLine = static_cast<rlim_t>(whole.size() - 3);
    for (const Case c : {Case{200, 0}, Case{1500, 2}, Case{lastLine, 3}}) {
        SCOPED_TRACE(c.limit);
        std::filesystem::remove(ReportPath());
        int status = UnderFileSizeLimit(c.limit, [&] {
            RecordingProgress progress;
            ReportFileBuilder builder(progress, items, false, nullptr);
            bool written = builder.WriteReport("C:\\report.xml", 1, 4, DataSet(kCompany, 20170401, 20180331));
            return written ? 1 : 10 + progress.Advances();
        });
        EXPECT_EQ(status, 10 + c.advances);
        EXPECT_EQ(testfiles::ReadFile(ReportPath()), whole.substr(0, c.limit));
    }
}
