// The save-file dialog of the GUI as a real Qt dialog under the offscreen
// platform, over the drive table of a temporary MZN_ROOT.

#include "wizard/view/QtFileDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "platform/DriveTable.h"
#include "tests/support/TempRoot.h"
#include "platform/view/QtText.h"

namespace {

SaveFileRequest ReportRequest(const std::string& folder, const std::string& name) {
    SaveFileRequest request;
    request.Title = "保存ファイルを指定";
    request.InitialFolder = folder;
    request.InitialName = name;
    request.DefaultExtension = "XML";
    request.Filter = "Xml Files (*.xml)|*.xml||";
    return request;
}

// Waits for the dialog, lets act look at it and answer it.
void WhenDialogShows(const std::function<void(QFileDialog*)>& act) {
    QTimer::singleShot(0, [act] {
        QFileDialog* dialog = nullptr;
        for (int i = 0; i < 200 && dialog == nullptr; ++i) {
            dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) QTest::qWait(10);
        }
        ASSERT_NE(dialog, nullptr);
        act(dialog);
        if (dialog->isVisible()) dialog->reject();
    });
}

class QtFileDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(DriveTable::EnsureDefaults());
        out_ = *DriveTable::ToHostPath("C:\\out");
        std::filesystem::create_directories(out_);
    }

    TempRoot root_;
    std::string out_;
};

TEST_F(QtFileDialogsTest, TheDialogOpensOnTheRequestedFolderAndAnswersAWindowsPath) {
    QtFileDialogs dialogs;
    QString title;
    QString folder;
    QString name;
    QStringList filters;
    WhenDialogShows([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->objectName(), QStringLiteral("SaveFileDialog"));
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        title = dialog->windowTitle();
        folder = dialog->directory().absolutePath();
        filters = dialog->nameFilters();
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(edit, nullptr);
        name = edit->text();
        edit->setText(QString::fromUtf16(u"報告.xml"));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    std::string chosen;
    ASSERT_TRUE(dialogs.AskSaveFile(nullptr, ReportRequest("C:\\out\\", "*.xml"), chosen));
    EXPECT_EQ(title, QtText::FromCp932("保存ファイルを指定"));
    EXPECT_EQ(folder, QDir(QString::fromStdString(out_)).absolutePath());
    EXPECT_EQ(name, QStringLiteral("*.xml"));
    EXPECT_EQ(filters, QStringList{QStringLiteral("Xml Files (*.xml)")});
    EXPECT_EQ(chosen, "C:\\out\\報告.xml");
}

TEST_F(QtFileDialogsTest, ANameWithoutExtensionGetsTheDefaultOneAndCancelChangesNothing) {
    QtFileDialogs dialogs;
    WhenDialogShows([](QFileDialog* dialog) {
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(edit, nullptr);
        edit->setText(QStringLiteral("report"));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    std::string chosen;
    ASSERT_TRUE(dialogs.AskSaveFile(nullptr, ReportRequest("C:\\out\\", "old.xml"), chosen));
    EXPECT_EQ(chosen, "C:\\out\\report.XML");

    WhenDialogShows([](QFileDialog* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    chosen = "unchanged";
    EXPECT_FALSE(dialogs.AskSaveFile(nullptr, ReportRequest("C:\\out\\", "old.xml"), chosen));
    EXPECT_EQ(chosen, "unchanged");
}

// Types a name into the dialog and presses Enter.
void TypeName(QFileDialog* dialog, const QString& name) {
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(edit, nullptr);
    edit->setText(name);
    QTest::keyClick(edit, Qt::Key_Return);
}

TEST_F(QtFileDialogsTest, APathThatDoesNotExistOrAPatternKeepsTheDialogOpen) {
    QtFileDialogs dialogs;
    QString warning;
    QStringList filters;
    bool openAfterPattern = false;
    WhenDialogShows([&](QFileDialog* dialog) {
        // The folder must exist: a warning, and the dialog stays.
        QTimer::singleShot(0, [&warning] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            warning = box->text();
            box->accept();
        });
        TypeName(dialog, QStringLiteral("missing/report.xml"));
        ASSERT_TRUE(dialog->isVisible());
        // A pattern filters the list instead of naming a file.
        TypeName(dialog, QStringLiteral("*.txt"));
        openAfterPattern = dialog->isVisible();
        filters = dialog->nameFilters();
        TypeName(dialog, QStringLiteral("kept.xml"));
    });
    std::string chosen;
    ASSERT_TRUE(dialogs.AskSaveFile(nullptr, ReportRequest("C:\\out\\", "*.xml"), chosen));
    EXPECT_NE(warning.indexOf(QStringLiteral("missing")), -1) << warning.toStdString();
    EXPECT_TRUE(openAfterPattern);
    EXPECT_TRUE(filters.contains(QStringLiteral("*.txt"))) << filters.join(u',').toStdString();
    EXPECT_EQ(chosen, "C:\\out\\kept.xml");
}

TEST(QtFileDialogsFilters, WindowsFiltersBecomeQtNameFilters) {
    EXPECT_EQ(QtFileDialogs::NameFilters("Xml Files (*.xml)|*.xml||"), QStringList{QStringLiteral("Xml Files (*.xml)")});
    EXPECT_EQ(QtFileDialogs::NameFilters("Xml|*.xml;*.XML|All|*.*||"),
              (QStringList{QStringLiteral("Xml (*.xml *.XML)"), QStringLiteral("All (*.*)")}));
    EXPECT_TRUE(QtFileDialogs::NameFilters("").isEmpty());
    EXPECT_TRUE(QtFileDialogs::NameFilters("Xml Files").isEmpty());
}

}  // namespace
