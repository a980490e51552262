#include "wizard/view/AccountMappingDialog.h"

#include <QtTest>
#include <QtWidgets>

#include "platform/view/DialogUnits.h"
#include "platform/view/QtText.h"
#include "tests/wizard/SheetBooks.h"

class AccountMappingDialogTest : public SheetBooks {};

// One run: the template's dialog units in the dialog font, a fixed size, the list's width in fourteenths (3 for the
// code); ticks, space, the box's mnemonic, a menu command, a right click and Enter reach the model, and setting
// applies.
TEST_F(AccountMappingDialogTest, OneRunOfTheDialog) {
    Add(mapping_, {{2, KeyOf(5210)}, {21, KeyOf(1110)}});
    AccountMappingDialog dialog(item_, mapping_, defaults_);
    auto* list = dialog.findChild<QTreeWidget*>("c1030");
    auto* box = dialog.findChild<QCheckBox*>("c1031");
    const auto press = [&](Qt::Key k, Qt::KeyboardModifiers m = {}) { QTest::keyClick(dialog.focusWidget(), k, m); };
    const auto tick = [&](const char* c) { list->findItems(c, Qt::MatchExactly)[0]->setCheckState(0, Qt::Checked); };
    const auto ticked = [&](std::string codes = {}) {
        for (const QTreeWidgetItem* row : list->findItems("*", Qt::MatchWildcard))
            if (row->checkState(0) == Qt::Checked) codes += row->text(0).toStdString() + " ";
        return codes;
    };
    QTimer::singleShot(0, &dialog, [&] {
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        const DialogUnits units(DialogUnits::DialogFont());
        const int width = list->maximumViewportSize().width();
        EXPECT_EQ(std::tuple(list->geometry(), dialog.minimumSize(), dialog.maximumSize(), list->columnWidth(0),
                             list->columnWidth(1), list->header()->sectionsClickable(), dialog.focusWidget(), ticked()),
                  std::tuple(units.Rect(7, 26, 234, 152), units.Size(248, 221), units.Size(248, 221), 3 * (width / 14),
                             11 * (width / 14) + width % 14, false, list, "1110 "));
        tick("2110");
        list->setCurrentItem(list->topLevelItem(1), 1);
        press(Qt::Key_Space);
        for (bool all : {true, false}) {
            press(Qt::Key_A, Qt::AltModifier);
            EXPECT_TRUE(QTest::qWaitFor([&] { return box->isChecked() == all; }));
            if (all) tick("5210");
        }
        EXPECT_EQ(std::tuple(list->topLevelItemCount(), ticked()), std::tuple(3, "1110 1140 2110 "));
        dialog.findChild<QAction*>("menu3")->trigger();  // untick the shown rows
        int menus = 0;  // a right click opens the list's menu, the menu key does not
        for (auto reason : {QContextMenuEvent::Mouse, QContextMenuEvent::Keyboard}) {
            QTimer::singleShot(50, [&] { if (QWidget* menu = QApplication::activePopupWidget()) ++menus, menu->close(); });
            QContextMenuEvent request(reason, QPoint(5, 5), list->viewport()->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(list->viewport(), &request);
            QTest::qWait(100);
        }
        EXPECT_EQ(menus, 1);
        tick("1140");
        list->setFocus();
        press(Qt::Key_Return, Qt::ControlModifier);
        press(Qt::Key_F12, Qt::ShiftModifier);
        press(Qt::Key_Return);
        press(Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_EQ(std::tuple(ticked(), dialog.focusWidget()),
                  std::tuple("1140 ", dialog.findChild<QPushButton*>("c1032")));
        press(Qt::Key_Return);
    });
    EXPECT_EQ(dialog.exec(), AccountMappingDialog::kApplied);
    EXPECT_EQ(Entries(mapping_), (std::vector<Entry>{{2, KeyOf(5210)}, {21, KeyOf(5210)}, {21, KeyOf(1140)}}));
}
