// The save-file dialog of the GUI as a real Qt dialog, over the drive table of a temporary MZN_ROOT.

#include "wizard/view/QtFileDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/DriveTable.h"
#include "platform/view/QtText.h"
#include "tests/support/TempRoot.h"

namespace {

// Asks for a file from C:\out\, typing the names into the dialog in turn; the answer, or "cancelled".
std::string Ask(const char* initialName, const QStringList& typed) {
    QTimer::singleShot(0, [typed] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        for (const QString& name : typed) {
            // A missing folder is refused with a warning, and a pattern filters the list: neither closes the dialog.
            QTimer::singleShot(0, [] { if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->accept(); });
            EXPECT_TRUE(dialog->isVisible()) << name.toStdString();
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(name);
            QTest::keyClick(dialog->findChild<QLineEdit*>("fileNameEdit"), name.isEmpty() ? Qt::Key_Escape : Qt::Key_Return);
        }
    });
    const SaveFileRequest request{"保存ファイルを指定", "C:\\out\\", initialName, "XML", "Xml Files (*.xml)|*.xml||"};
    std::string chosen = "cancelled";
    const bool answered = QtFileDialogs().AskSaveFile(nullptr, request, chosen);
    EXPECT_EQ(answered, chosen != "cancelled");
    return chosen;
}

TEST(QtFileDialogsTest, TheDialogAnswersTheWindowsPathOfTheFileTypedInTheRequestedFolder) {
    TempRoot root;
    ASSERT_TRUE(DriveTable::EnsureDefaults());
    std::filesystem::create_directories(*DriveTable::ToHostPath("C:\\out"));
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        EXPECT_EQ(std::tuple(dialog->objectName(), dialog->acceptMode(), dialog->windowTitle(), dialog->nameFilters()),
                  std::tuple(QStringLiteral("SaveFileDialog"), QFileDialog::AcceptSave, QtText::FromCp932("保存ファイルを指定"),
                             QStringList{"Xml Files (*.xml)"}));
        EXPECT_EQ(dialog->directory().absolutePath().toStdString(), *DriveTable::ToHostPath("C:\\out"));
        EXPECT_EQ(dialog->findChild<QLineEdit*>("fileNameEdit")->text(), QStringLiteral("*.xml"));
    });
    EXPECT_EQ(Ask("*.xml", {QString::fromUtf16(u"報告.xml")}), "C:\\out\\報告.xml");
    EXPECT_EQ(Ask("old.xml", {"report"}), "C:\\out\\report.XML");
    EXPECT_EQ(Ask("old.xml", {""}), "cancelled");
    EXPECT_EQ(Ask("*.xml", {"missing/report.xml", "*.txt", "kept.xml"}), "C:\\out\\kept.xml");
}

TEST(QtFileDialogsTest, WindowsFiltersBecomeQtNameFilters) {
    EXPECT_EQ(QtFileDialogs::NameFilters("Xml Files (*.xml)|*.xml||"), QStringList{"Xml Files (*.xml)"});
    EXPECT_EQ(QtFileDialogs::NameFilters("Xml|*.xml;*.XML|All|*.*||"), (QStringList{"Xml (*.xml *.XML)", "All (*.*)"}));
    EXPECT_EQ(QtFileDialogs::NameFilters("Xml|*.xml|All|*.*"), (QStringList{"Xml (*.xml)", "All (*.*)"}));
    EXPECT_TRUE(QtFileDialogs::NameFilters("").isEmpty() && QtFileDialogs::NameFilters("Xml Files").isEmpty());
}

}  // namespace
