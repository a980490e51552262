#include "wizard/view/QtFileDialogs.h"

#include <QtTest>
#include <QtWidgets>

#include <gtest/gtest.h>

#include "platform/DriveTable.h"
#include "tests/support/TempRoot.h"

// Names typed in turn into the dialog on C:\out\ ("" for Esc), warnings accepted: the answer is the Windows path,
// or "". A missing folder and a pattern keep the dialog open; a name without extension gets the default one.
TEST(QtFileDialogsTest, TheDialogAnswersTheWindowsPathOfTheFileTypedInTheRequestedFolder) {
    TempRoot root;
    ASSERT_TRUE(DriveTable::EnsureDefaults());
    std::filesystem::create_directories(*DriveTable::ToHostPath("C:\\out"));
    const auto ask = [&](const char* initialName, const QStringList& typed) {
        QTimer::singleShot(0, [&] {
            auto* edit = QApplication::activeModalWidget()->findChild<QLineEdit*>("fileNameEdit");
            for (const QString& name : typed) {
                QTimer::singleShot(0, [] {
                    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->accept();
                });
                edit->setText(name);
                QTest::keyClick(edit, name.isEmpty() ? Qt::Key_Escape : Qt::Key_Return);
            }
        });
        std::string chosen;
        const SaveFileRequest request{"", "C:\\out\\", initialName, "XML", "X|*.xml"};
        const bool answered = QtFileDialogs().AskSaveFile(nullptr, request, chosen);
        EXPECT_EQ(answered, !chosen.empty());
        return chosen;
    };
    EXPECT_EQ(ask("*.xml", {QString::fromUtf16(u"報告.xml")}), "C:\\out\\報告.xml");
    EXPECT_EQ(ask("old.xml", {"report"}), "C:\\out\\report.XML");
    EXPECT_EQ(ask("old.xml", {""}), "");
    EXPECT_EQ(ask("*.xml", {"missing/report.xml", "*.txt", "kept.xml"}), "C:\\out\\kept.xml");
    EXPECT_EQ(QtFileDialogs::NameFilters("Xml Files (*.xml)|*.xml;*.XML|All|*.*"),
              (QStringList{"Xml Files (*.xml)", "All (*.*)"}));
}
