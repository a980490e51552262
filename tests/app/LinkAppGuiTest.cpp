// The run in-process with its real windows under the offscreen platform:
// the user changes which accounts feed an item in the mapping dialog,
// executes, and finds the changed amount in the report and the changed
// mapping in the condition file; the next run offers it again.
//
// The test program lies beside the link programs and their data files, so
// the run's move to "the program's folder" finds them as the programs do.
#include <QAction>
#include <QLabel>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/BatchFrontEnd.h"
#include "app/ClLinkApp.h"
#include "app/GuiFrontEnd.h"
#include "accounting_core/UserStore.h"
#include "app/shell/LaunchOptions.h"
#include "platform/DriveTable.h"
#include "platform/ScriptedMessageBoxes.h"
#include "tests/support/BooksQuery.h"
#include "tests/support/BooksTool.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/CurrentFolderGuard.h"
#include "tests/support/TempRoot.h"
#include "tests/support/TestFiles.h"
#include "wizard/view/AccountMappingDialog.h"
#include "wizard/view/ClConditionEntrySheet.h"
#include "wizard/ScriptedFileDialogs.h"

namespace fs = std::filesystem;

namespace {

constexpr int kGoodsSales = 4110;  // 商品売上高: not in item 2's default mapping

// Acts on the active modal window once it is a T. The wait does not block:
// a timer looks every few milliseconds, so the events that open the window
// keep flowing. A window that never comes fails the test, and whatever modal
// window is open then is closed so that the run cannot hang.
template <typename T>
void WhenModal(std::function<void(T*)> act) {
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, act]() {
        if (T* window = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(window);
            return;
        }
        if (++*tries < 1000) return;
        timer->stop();
        timer->deleteLater();
        ADD_FAILURE() << "the expected window did not open";
        if (QWidget* other = QApplication::activeModalWidget()) other->close();
    });
    timer->start(10);
}

// Item 2's element of a report: the whole-yen text between its tags.
std::string Item2(const std::string& report) {
    const std::size_t start = report.find("<KENGYOUURIAGEDAKA>") + 19;
    return start < 19 ? "(none)" : report.substr(start, report.find("</KENGYOUURIAGEDAKA>", start) - start);
}

class LinkAppGuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        ChildProcess::Result demo = BooksTool::Run({"demo"}, root_ / "io");
        ASSERT_EQ(demo.exitCode, 0) << demo.err;
        fs::create_directories(root_ / "out");
        report_ = root_ / "out/report.xml";
        callerText_ = "0,0,2," + DriveTable::ToWindowsPath(report_).value_or("");
    }

    // The goods-sales account's balance for the whole demo year, tax
    // excluded, in whole yen: the opening and every month, with the closing
    // adjustments (the year's last month is the end month).
    std::string GoodsSalesBalance() {
        return std::to_string(BooksQuery::Number("SELECT SUM(s.credit - s.debit) FROM period_sums s JOIN accounts a "
                                                 "USING (data_set, account_id) WHERE s.data_set = 1 AND a.code = " +
                                                 std::to_string(kGoodsSales * 10000) +
                                                 " AND s.period IN (0,1,2,3,4,5,6,7,8,9,10,11,12,18)") / 10000);
    }

    std::string ConditionFile() {
        return testfiles::ReadFile(root_ /
                                   ("drives/c/Mizunara/Conditions/UG30_G_" + UserStore::LoginName() + "_1_1.env"));
    }

    CurrentFolderGuard folder_;
    TempRoot root_;
    std::string report_;
    std::string callerText_;
};

TEST_F(LinkAppGuiTest, TheMappingChangedInTheDialogIsAggregatedRememberedAndOfferedAgain) {
    ScriptedMessageBoxes boxes;
    ScriptedFileDialogs fileDialogs;
    GuiFrontEnd frontEnd(boxes, fileDialogs);
    ClLinkApp app(frontEnd, callerText_);

    // The user: page 2, the button of item 2, untick the listed accounts,
    // tick the goods sales, 設定(F12); then 実行(F12) on the sheet.
    WhenModal<ClConditionEntrySheet>([](ClConditionEntrySheet* sheet) {
        QTest::keyClick(sheet, Qt::Key_F6);
        QPushButton* item2 = sheet->findChild<QPushButton*>("c1026");
        ASSERT_NE(item2, nullptr);
        WhenModal<AccountMappingDialog>([](AccountMappingDialog* dialog) {
            QAction* untickShown = dialog->findChild<QAction*>("menu3");
            ASSERT_NE(untickShown, nullptr);
            untickShown->trigger();
            auto* list = dialog->findChild<QTreeWidget*>("c1030");
            ASSERT_NE(list, nullptr);
            const QList<QTreeWidgetItem*> rows = list->findItems(QString::number(kGoodsSales), Qt::MatchExactly, 0);
            ASSERT_EQ(rows.size(), 1);
            list->setFocus();
            list->setCurrentItem(rows.front());
            QTest::keyClick(list, Qt::Key_Space);
            QTest::keyClick(list, Qt::Key_F12);
        });
        // Clicked from a posted call, not from inside this timer's call:
        // the dialog's own loop must be free to run the timer above.
        QMetaObject::invokeMethod(
            sheet,
            [sheet, item2] {
                QTest::mouseClick(item2, Qt::LeftButton);
                QTest::keyClick(sheet, Qt::Key_F12);
            },
            Qt::QueuedConnection);
    });
    EXPECT_TRUE(app.InitInstance());
    EXPECT_EQ(app.ExitInstance(), ClLinkApp::kReportWritten);
    ASSERT_FALSE(boxes.Boxes().empty());
    EXPECT_EQ(boxes.Last().text, "事業概況情報の出力が終了しました。\n\nアプリケーションを終了します。");

    const std::string expected = GoodsSalesBalance();
    EXPECT_EQ(Item2(testfiles::ReadFile(report_)), expected);
    // Item 2 is fed by the goods sales alone now, and the file remembers it.
    const std::string conditions = ConditionFile();
    const std::size_t item2 = conditions.find("\n2/");
    EXPECT_NE(item2, std::string::npos) << conditions;
    EXPECT_EQ(conditions.find("\n2/", item2 + 1), std::string::npos) << conditions;

    // The next run, in batch mode, starts from the remembered mapping.
    fs::remove(report_);
    const LaunchOptions options = LaunchOptions::Parse({"--batch", callerText_});
    BatchFrontEnd batch(options);
    ClLinkApp again(batch, options.callerText);
    EXPECT_TRUE(again.InitInstance());
    EXPECT_EQ(again.ExitInstance(), ClLinkApp::kReportWritten);
    EXPECT_EQ(Item2(testfiles::ReadFile(report_)), expected);
}

TEST_F(LinkAppGuiTest, CancellingTheSheetEndsWithoutAReport) {
    // A data set name longer than the page's text holds.
    BooksQuery::Exec("UPDATE data_sets SET name = '" + std::string(30, 'x') + testfiles::Utf8(u8"ああああああああああああああ") +
                     "' WHERE number = 1");
    ScriptedMessageBoxes boxes;
    boxes.QueueAnswer(mb::kIdNo);  // do not save the conditions
    ScriptedFileDialogs fileDialogs;
    GuiFrontEnd frontEnd(boxes, fileDialogs);
    ClLinkApp app(frontEnd, callerText_);
    QString shown;
    WhenModal<ClConditionEntrySheet>([&shown](ClConditionEntrySheet* sheet) {
        if (auto* label = sheet->findChild<QLabel*>("c1010")) shown = label->text();
        QTest::keyClick(sheet, Qt::Key_Escape);
    });
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(app.ExitInstance(), ClLinkApp::kNoReport);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].text, "入力した情報を保存して終了しますか？");
    EXPECT_EQ(boxes.Boxes()[1].text, "｢事業概況書｣の集計を中止します。");
    EXPECT_FALSE(fs::exists(report_));
    EXPECT_EQ(ConditionFile(), "");
    // A blank, the 30 letters and 9 characters: 49 bytes of code page 932;
    // a 10th character would not fit the page's 50, nor half of one.
    EXPECT_EQ(shown, QString(" ") + QString(30, QChar('x')) + QString(9, QChar(0x3042)));
}

}  // namespace
