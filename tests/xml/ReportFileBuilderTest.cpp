#include "xml/ReportFileBuilder.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>

#include <csignal>
#include <cstring>
#include <filesystem>

#include "platform/DriveTable.h"
#include "platform/ScriptedMessageBoxes.h"
#include "tests/support/CurrentFolderGuard.h"
#include "tests/support/TempRoot.h"
#include "tests/support/TestFiles.h"

namespace {

struct Advances : ProgressSink {
    void AdvanceProgress(std::int16_t from, std::int16_t to) override {
        made += std::to_string(from) + "-" + std::to_string(to) + " ";
    }
    void PulseActivity() override {}
    std::string made;
};

void Add(ItemList& items, int itemNo, const std::string& tag, std::int64_t amount = 0) {
    items.push_back(std::make_unique<ReportItem>(ReportItem{.ItemNo = std::int16_t(itemNo), .Amounts = {amount}}));
    std::strncpy(items.back()->TagName, tag.c_str(), sizeof items.back()->TagName - 1);
}

// The items of the expected files (data/write_expected_reports.py): amounts probing the rounding and the bounds,
// "-" where the version leaves an item out (UG30 also its first and last main item), eight monthly-sales items.
ItemList ExpectedReportItems(bool ug30) {
    const std::int64_t special[] = {0, -5'000, 9'999'999'999'990'000, 10'000'000'000'000'000, -999'999'999'990'000,
                                    -1'000'000'000'000'000, 123'456'789, -123'456'789, 9'999, 10'000,
                                    9'999'999'999'999'999, -999'999'999'999'999};  // items 2 to 13
    const int base = ug30 ? 37 : 36;
    ItemList items;
    for (int n = 1; n < base; ++n) {
        const std::string tag = (n < 10 ? "SYUYOU0" : "SYUYOU") + std::to_string(n);
        Add(items, n, n == 20 || (ug30 && (n == 1 || n == 36)) ? "-" : tag,
            n >= 2 && n <= 13 ? special[n - 2] : n * 10'000'000LL + 1'234);
    }
    for (int j = 0; j < 8; ++j) {
        Add(items, base + j, ug30 && j == 5 ? "-" : std::string("URIAGE_") + static_cast<char>('A' + j));
        for (int k = 1; k <= 12; ++k) {
            const std::int64_t amount = (j + 1) * 10'000'000LL + k * 10'000LL + 5'555;
            items.back()->Amounts[k] = j == 2 ? -amount : (j == 7 && k == 6 ? 0 : amount);
        }
    }
    return items;
}

StDATAINFO DataSet(std::int32_t start, std::int32_t end) {
    StDATAINFO data{};
    std::tie(data.PeriodStart, data.PeriodEnd) = std::tuple(start, end);
    std::strcpy(data.Name, "ｶﾌﾞｼｷｶﾞｲｼｬ ﾐｽﾞﾅﾗ&Co.");
    return data;
}

std::string Expected(const std::string& name) { return testfiles::ReadFile(MZN_XML_TEST_DATA "/" + name); }

// A file system that reports its error only when the file is flushed or closed; the descriptor is released.
int FailingSync(int) { return errno = EIO, -1; }
int FailingClose(int descriptor) { return ::close(descriptor), errno = EIO, -1; }

// Drive C: in a fresh root, and the program's folder (where SUPPORT.INF may lie) as the current folder.
class ReportFileBuilderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(DriveTable::EnsureDefaults());
        std::filesystem::current_path(root_.Path());
    }
    std::string Report() const { return testfiles::ReadFile(root_ / "drives/c/report.xml"); }

    TempRoot root_;
    CurrentFolderGuard folder_;
    ScriptedMessageBoxes boxes_;
};

}  // namespace

TEST_F(ReportFileBuilderTest, ReportsMatchTheExpectedFilesByteForByte) {
    // SUPPORT.INF gives the product's name and version from the first marker on a character boundary ("ー" is
    // 81 5B). Without memory for it the defaults apply, and each of the two look-ups shows the box and tries again.
    const std::tuple<const char*, bool, int, int, int, int, bool, bool, int, const char*> goldens[] = {
        {"ug16_start4_default.xml", false, 4, 1, 20170401, 20180331, false, false, 500, "500-600 600-700 700-"},
        {"ug16_start1_support.xml", false, 1, 2, 20170101, 20171231, true, false, 500, "500-600 600-700 700-"},
        {"ug30_start4_support.xml", true, 4, 1, 20230401, 20240331, true, false, 300, "300-400 400-500 500-"},
        {"ug30_start1_default.xml", true, 1, 2, 20240101, 20241231, false, false, 500, "500-600 600-700 700-"},
        {"ug16_start4_default.xml", false, 4, 1, 20170401, 20180331, true, true, 500, "500-600 600-700 700-"}};
    for (const auto& [expected, ug30, startMonth, functionNo, start, end, support, noMemory, progressStart, advances] :
         goldens) {
        std::filesystem::remove(root_ / "SUPPORT.INF");
        if (support)
            testfiles::WriteFile(root_ / "SUPPORT.INF", "ー=製品名=]no\r\n[=会社名=]ミズナラソフト株式会社\r\n"
                                 "[=製品名=]ミズナラ２０ R&D版\r\n[=製品ﾊﾞｰｼﾞｮﾝ=]20.00.05\r\n[=ｻﾎﾟｰﾄ=]0120-000-000\r\n\x1A");
        const ItemList items = ExpectedReportItems(ug30);
        Advances progress;
        ReportFileBuilder builder(progress, items, ug30, &boxes_);
        builder.SetProgressStart(static_cast<std::int16_t>(progressStart));
        if (noMemory) builder.SetSupportInfoAllocator([](std::size_t, std::size_t) -> void* { return nullptr; });
        EXPECT_TRUE(builder.WriteReport("C:\\report.xml", std::int16_t(functionNo), startMonth, DataSet(start, end)));
        EXPECT_EQ(Report(), Expected(expected)) << expected;
        EXPECT_EQ(progress.made, advances + std::string("1000 ")) << expected;
        EXPECT_EQ(boxes_.Boxes().size(), noMemory ? 2u : 0u) << expected;
    }
    EXPECT_EQ(boxes_.Last().text + boxes_.Last().caption, "ﾒﾓﾘが不足しています。事業概況書");
}

TEST_F(ReportFileBuilderTest, AFailedWriteFailsTheReportAndKeepsWhatWasWritten) {
    const ItemList items = ExpectedReportItems(false);
    Advances progress;
    for (OutputFile::SystemCalls calls : {OutputFile::SystemCalls{&FailingSync, &::close}, {&::fsync, &FailingClose}}) {
        ReportFileBuilder builder(progress, items, false, nullptr);
        builder.SetFileCalls(calls);
        EXPECT_FALSE(builder.WriteReport("C:\\report.xml", 1, 4, DataSet(20170401, 20180331)));
    }
    // A disk that fills inside SYSTEM, inside DATA, and on the very last line: the section that fails does not
    // advance the bar, and the REPORT end tag finds the file closed.
    const std::string whole = Expected("ug16_start4_default.xml");
    for (const auto& [limit, advances] : {std::pair<rlim_t, long>{200, 0}, {1500, 2}, {whole.size() - 3, 3}}) {
        const pid_t child = fork();
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit size{limit, limit};
            progress.made.clear();
            ReportFileBuilder builder(progress, items, false, nullptr);
            const bool written = setrlimit(RLIMIT_FSIZE, &size) != 0 ||
                                 builder.WriteReport("C:\\report.xml", 1, 4, DataSet(20170401, 20180331));
            _exit(written ? 1 : 10 + static_cast<int>(std::count(progress.made.begin(), progress.made.end(), '-')));
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 10 + advances) << limit << ": " << status;
        EXPECT_EQ(Report(), whole.substr(0, limit)) << limit;
    }
}

TEST_F(ReportFileBuilderTest, TheMainItemsGroupOpensAtItemOneAndIsClosedEvenWithoutTheLastMainItem) {
    for (const int no : {1, 35}) {
        ItemList items;
        Add(items, no, "I");
        Advances progress;
        ReportFileBuilder builder(progress, items, false, nullptr);
        ASSERT_TRUE(builder.WriteReport("C:\\report.xml", 1, 4, DataSet(20170401, 20180331)));
        const std::string one = "\t\t\t\t<I></I>\r\n";
        const std::string data = no == 1 ? "\t\t\t<SYUYOUKAMOKU>\r\n" + one + "\t\t\t</SYUYOUKAMOKU>\r\n" : one;
        EXPECT_NE(Report().find("<DATA>\r\n" + data + "\t\t\t<TUKIBETUURIAGEDAKA>"), std::string::npos) << no;
    }
}
