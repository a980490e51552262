#include "wizard/view/QtFileDialogs.h"

#include <QtTest>
#include <QtWidgets>

#include <gtest/gtest.h>

#include "platform/DriveTable.h"
#include "tests/support/CurrentFolderGuard.h"
#include "tests/support/TempRoot.h"

// Names typed in turn ("" for Esc): a missing folder and a pattern keep the dialog open, the extension is added.
TEST(QtFileDialogsTest, TheDialogAnswersTheWindowsPathOfTheFileTypedInTheRequestedFolder) {
    TempRoot root;
    ASSERT_TRUE(DriveTable::EnsureDefaults() && std::filesystem::create_directories(*DriveTable::ToHostPath("C:\\o")));
    const auto ask = [&](const char* initialName, const QStringList& typed) {
        QTimer::singleShot(0, [&] {
            auto* edit = QApplication::activeModalWidget()->findChild<QLineEdit*>("fileNameEdit");
            for (const QString& name : typed) {
                QTimer::singleShot(0, [] {
                    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->accept();
                });
                EXPECT_TRUE(edit->window()->isVisible()) << "closed before " << name.toStdString();
                edit->setText(name);
                QTest::keyClick(edit, name.isEmpty() ? Qt::Key_Escape : Qt::Key_Return);
            }
        });
        std::string chosen;
        const SaveFileRequest request{"", "C:\\o\\", initialName, "XML", "X|*.xml"};
        const bool answered = QtFileDialogs().AskSaveFile(nullptr, request, chosen);
        EXPECT_EQ(answered, !chosen.empty());
        return chosen;
    };
    // A folder of the typed name in the process's own folder changes nothing.
    CurrentFolderGuard folder;
    std::filesystem::create_directories(root / reinterpret_cast<const char*>(u8"here/報告"));
    std::filesystem::current_path(root / "here");
    EXPECT_EQ(ask("*.xml", {"missing/r.xml", "*.txt", QString::fromUtf16(u"報告")}), "C:\\o\\報告.XML");
    EXPECT_EQ(ask("old.xml", {""}), "");
    EXPECT_EQ(QtFileDialogs::NameFilters("Xml Files (*.xml)|*.xml;*.XML|All|*.*"),
              (QStringList{"Xml Files (*.xml)", "All (*.*)"}));
}
