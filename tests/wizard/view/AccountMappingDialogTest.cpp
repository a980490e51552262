// The account mapping dialog as a real dialog on real books.

#include "wizard/view/AccountMappingDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>

#include "platform/view/DialogUnits.h"
#include "platform/view/QtText.h"
#include "tests/wizard/SheetBooks.h"
#include "wizard/AccountMappingModel.h"

class AccountMappingDialogTest : public SheetBooks {
protected:
    // Runs the dialog modally; the steps run once it is active and must end it.
    int Run(const std::function<void(AccountMappingDialog&, QTreeWidget*, QCheckBox*)>& steps) {
        AccountMappingDialog dialog(item_, mapping_, defaults_);
        QTimer::singleShot(0, &dialog, [&] {
            dialog.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
            steps(dialog, dialog.findChild<QTreeWidget*>("c1030"), dialog.findChild<QCheckBox*>("c1031"));
            EXPECT_FALSE(dialog.isVisible()) << "the steps left the dialog open";
        });
        return dialog.exec();
    }
    static void Press(QWidget& dialog, int key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(dialog.focusWidget(), Qt::Key(key), modifiers);
    }
    static void Tick(QTreeWidget* list, const char* code) { list->findItems(code, Qt::MatchExactly)[0]->setCheckState(0, Qt::Checked); }
    static std::string Ticked(QTreeWidget* list) {
        std::string codes;
        for (int row = 0; row < list->topLevelItemCount(); ++row)
            if (list->topLevelItem(row)->checkState(0) == Qt::Checked) codes += list->topLevelItem(row)->text(0).toStdString() + " ";
        return codes;
    }
};

// One run: texts; the template's dialog units in the dialog font, a fixed size and the list's width in fourteenths
// (three for the code, the rest for the name); ticks, the space bar, the box's mnemonic, a right click's menu and
// Enter from the list to the box to setting reach the model, and setting applies. Esc and the close box do not.
TEST_F(AccountMappingDialogTest, OneRunOfTheDialogAndTheWaysToLeaveIt) {
    Add(mapping_, {{2, KeyOf(5210)}, {21, KeyOf(1110)}});
    const int result = Run([&](AccountMappingDialog& dialog, QTreeWidget* list, QCheckBox* box) {
        const auto text = [&](const char* name) { return dialog.findChild<QWidget*>(name)->property("text").toString(); };
        EXPECT_EQ(dialog.windowTitle() + text("c1034") + text("c1031") + text("c1032") + text("c1033") +
                      list->headerItem()->text(0) + list->headerItem()->text(1),
                  QtText::FromCp932("集約科目対応設定現金・預金全ての科目から選択する。(&A)設定(F12)キャンセル(Esc)コード科目名"));
        for (int id = 1; id <= AccountMappingModel::kCommandCount; ++id)
            EXPECT_EQ(dialog.findChild<QAction*>(QStringLiteral("menu%1").arg(id))->text(),
                      QtText::FromCp932(AccountMappingModel::CommandText(id)));
        const DialogUnits units(DialogUnits::DialogFont());
        const int width = list->maximumViewportSize().width();
        EXPECT_EQ(std::tuple(list->geometry(), dialog.minimumSize(), dialog.maximumSize(), list->columnWidth(0), list->columnWidth(1),
                             list->header()->sectionsClickable(), dialog.focusWidget(), Ticked(list)),
                  std::tuple(units.Rect(7, 26, 234, 152), units.Size(248, 221), units.Size(248, 221), 3 * (width / 14),
                             11 * (width / 14) + width % 14, false, list, "1110 "));
        Tick(list, "2110");
        list->setCurrentItem(list->topLevelItem(1), 1);
        Press(dialog, Qt::Key_Space);
        for (bool all : {true, false}) {
            Press(dialog, Qt::Key_A, Qt::AltModifier);
            EXPECT_TRUE(QTest::qWaitFor([&] { return box->isChecked() == all; }));
            if (all) Tick(list, "5210");
        }
        EXPECT_EQ(std::tuple(list->topLevelItemCount(), Ticked(list)), std::tuple(3, "1110 1140 2110 "));
        for (const auto& keys : {std::vector{Qt::Key_Escape}, std::vector{Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}}) {
            QTimer::singleShot(0, [&keys] { for (auto key : keys) QTest::keyClick(QApplication::activePopupWidget(), key); });
            QTest::mouseClick(dialog.windowHandle(), Qt::RightButton, {}, list->viewport()->mapTo(&dialog, QPoint(20, 5)));
        }
        EXPECT_EQ(Ticked(list), "");  // the third command: untick the shown rows
        Tick(list, "1140");
        list->setFocus();
        Press(dialog, Qt::Key_Return, Qt::ControlModifier);
        Press(dialog, Qt::Key_F12, Qt::ShiftModifier);
        Press(dialog, Qt::Key_Return);
        Press(dialog, Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_EQ(dialog.focusWidget(), dialog.findChild<QPushButton*>("c1032"));
        Press(dialog, Qt::Key_Return);
    });
    const std::vector<Entry> applied = {{2, KeyOf(5210)}, {21, KeyOf(5210)}, {21, KeyOf(1140)}};
    EXPECT_EQ(std::tuple(result, Entries(mapping_)), std::tuple(int{AccountMappingDialog::kApplied}, applied));
    for (int ending = 0; ending < 3; ++ending) {
        const int left = Run([&](AccountMappingDialog& dialog, QTreeWidget* list, QCheckBox*) {
            Tick(list, "1110");
            if (ending == 0) dialog.findChild<QPushButton*>("c1033")->click();
            if (ending == 1) Press(dialog, Qt::Key_Escape);
            if (ending == 2) dialog.windowHandle()->close();
        });
        EXPECT_EQ(std::tuple(left, Entries(mapping_)), std::tuple(int{AccountMappingDialog::kCancelled}, applied)) << ending;
    }
}
