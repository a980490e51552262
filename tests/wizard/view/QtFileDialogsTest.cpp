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

// Asks for a file from C:\out\ and types the names in turn ("" for Esc), accepting the warnings; the Windows path
// answered, or "cancelled". A missing folder and a pattern keep the dialog open; a name without extension gets the
// default one.
TEST(QtFileDialogsTest, TheDialogAnswersTheWindowsPathOfTheFileTypedInTheRequestedFolder) {
    TempRoot root;
    ASSERT_TRUE(DriveTable::EnsureDefaults());
    const std::string out = *DriveTable::ToHostPath("C:\\out");
    std::filesystem::create_directories(out);
    const auto ask = [&](const char* initialName, const QStringList& typed) {
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
            EXPECT_EQ(std::tuple(dialog->objectName(), dialog->acceptMode(), dialog->windowTitle(), dialog->nameFilters(),
                                 dialog->directory().absolutePath().toStdString(), edit->text()),
                      std::tuple("SaveFileDialog", QFileDialog::AcceptSave, QtText::FromCp932("保存ファイルを指定"),
                                 QStringList{"Xml Files (*.xml)"}, out, initialName));
            for (const QString& name : typed) {
                QTimer::singleShot(0, [] { if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->accept(); });
                EXPECT_TRUE(dialog->isVisible()) << name.toStdString();
                edit->setText(name);
                QTest::keyClick(edit, name.isEmpty() ? Qt::Key_Escape : Qt::Key_Return);
            }
        });
        std::string chosen = "cancelled";
        const bool answered = QtFileDialogs().AskSaveFile(nullptr, {"保存ファイルを指定", "C:\\out\\", initialName, "XML", "Xml Files (*.xml)|*.xml||"}, chosen);
        EXPECT_EQ(answered, chosen != "cancelled");
        return chosen;
    };
    EXPECT_EQ(ask("*.xml", {QString::fromUtf16(u"報告.xml")}), "C:\\out\\報告.xml");
    EXPECT_EQ(ask("old.xml", {"report"}), "C:\\out\\report.XML");
    EXPECT_EQ(ask("old.xml", {""}), "cancelled");
    EXPECT_EQ(ask("*.xml", {"missing/report.xml", "*.txt", "kept.xml"}), "C:\\out\\kept.xml");
    EXPECT_EQ(QtFileDialogs::NameFilters("Xml|*.xml;*.XML|All|*.*||"), (QStringList{"Xml (*.xml *.XML)", "All (*.*)"}));
    EXPECT_EQ(QtFileDialogs::NameFilters("Xml|*.xml|All|*.*"), (QStringList{"Xml (*.xml)", "All (*.*)"}));
    EXPECT_TRUE(QtFileDialogs::NameFilters("").isEmpty() && QtFileDialogs::NameFilters("Xml Files").isEmpty());
}
