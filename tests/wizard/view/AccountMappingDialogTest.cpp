// The account mapping dialog as a real dialog on real books: its controls, texts and geometry, and the clicks, keys
// and pop-up menu that reach its model.

#include "wizard/view/AccountMappingDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>

#include "platform/view/DialogUnits.h"
#include "platform/view/QtText.h"
#include "tests/wizard/SheetBooks.h"
#include "wizard/AccountMappingModel.h"

namespace {

using Dialog = AccountMappingDialog;

class AccountMappingDialogTest : public SheetBooks {
protected:
    // Runs the dialog modally; the steps run once it is active and must end it.
    int Run(const std::function<void(Dialog&, QTreeWidget*, QCheckBox*)>& steps) {
        Dialog dialog(item_, mapping_, defaults_);
        QTimer::singleShot(0, &dialog, [&] {
            dialog.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
            steps(dialog, dialog.findChild<QTreeWidget*>("c1030"), dialog.findChild<QCheckBox*>("c1031"));
            EXPECT_FALSE(dialog.isVisible()) << "the steps left the dialog open";
        });
        return dialog.exec();
    }
    static void Press(Dialog& dialog, int key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(dialog.focusWidget(), Qt::Key(key), modifiers);
    }
    // A click on the check box of the row with the code, or on its name.
    static void Click(QTreeWidget* list, const char* code, bool onName = false) {
        QStyleOptionViewItem option;
        option.initFrom(list);
        option.rect = list->visualItemRect(list->findItems(code, Qt::MatchExactly).value(0));
        option.features = QStyleOptionViewItem::HasCheckIndicator;
        const QPoint box = list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, onName ? QPoint(list->columnWidth(0) + 5, box.y()) : box);
    }
    static std::string Ticked(QTreeWidget* list) {
        std::string codes;
        for (int row = 0; row < list->topLevelItemCount(); ++row)
            if (list->topLevelItem(row)->checkState(0) == Qt::Checked) codes += list->topLevelItem(row)->text(0).toStdString() + " ";
        return codes;
    }
};

TEST_F(AccountMappingDialogTest, ControlsTextsAndGeometry) {
    Dialog dialog(item_, mapping_, defaults_);
    EXPECT_EQ(dialog.windowTitle(), QtText::FromCp932("集約科目対応設定"));
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    for (const auto& [name, text] : {std::pair{"c1034", "現金・預金"}, {"c1031", "全ての科目から選択する。(&A)"},
                                     {"c1032", "設定(F12)"}, {"c1033", "キャンセル(Esc)"}}) {
        QWidget* control = dialog.findChild<QWidget*>(name);
        EXPECT_EQ(control->property("text").toString(), QtText::FromCp932(text)) << name;
        EXPECT_TRUE(dialog.rect().contains(control->geometry()) && control->sizeHint().width() <= control->width()) << name;
    }
    auto* list = dialog.findChild<QTreeWidget*>("c1030");
    EXPECT_EQ(list->headerItem()->text(0) + list->headerItem()->text(1), QtText::FromCp932("コード科目名"));
    EXPECT_FALSE(list->header()->sectionsClickable() || list->isSortingEnabled());
    for (int id = 1; id <= AccountMappingModel::kCommandCount; ++id)
        EXPECT_EQ(dialog.findChild<QAction*>(QStringLiteral("menu%1").arg(id))->text(), QtText::FromCp932(AccountMappingModel::CommandText(id)));
    // The template's dialog units in the dialog font, a fixed size, and the list's width in fourteenths: three for
    // the code, the rest for the name.
    const DialogUnits units(DialogUnits::DialogFont());
    EXPECT_EQ(std::tuple(list->geometry(), dialog.minimumSize(), dialog.maximumSize()),
              std::tuple(units.Rect(7, 26, 234, 152), units.Size(248, 221), units.Size(248, 221)));
    const int width = list->maximumViewportSize().width();
    EXPECT_EQ(std::tuple(list->columnWidth(0), list->columnWidth(1)), std::tuple(3 * (width / 14), 11 * (width / 14) + width % 14));
}

TEST_F(AccountMappingDialogTest, ClicksKeysAndTheMenuDriveTheModelAndSettingApplies) {
    Add(mapping_, {{2, KeyOf(5210)}, {21, KeyOf(1110)}});
    const int result = Run([&](Dialog& dialog, QTreeWidget* list, QCheckBox* box) {
        std::string order;
        for (int step = 0; step < 5; ++step, Press(dialog, Qt::Key_Tab)) order += dialog.focusWidget()->objectName().toStdString();
        EXPECT_EQ(order, "c1030c1031c1032c1033c1030");
        EXPECT_EQ(Ticked(list), "1110 ");
        Click(list, "2110");
        Click(list, "1110");
        Click(list, "1140", true);  // the name selects the row; the space bar ticks it
        EXPECT_EQ(Ticked(list), "2110 ");
        QTest::keyClick(list, Qt::Key_Space);
        EXPECT_EQ(Ticked(list), "1140 2110 ");
        // The box's mnemonic lists the whole chart and back, keeping what was chosen outside the classes.
        for (bool all : {true, false}) {
            QTest::keyClick(dialog.focusWidget(), Qt::Key_A, Qt::AltModifier);
            EXPECT_TRUE(QTest::qWaitFor([&] { return box->isChecked() == all; }));
            if (all) Click(list, "5210");
        }
        EXPECT_EQ(std::tuple(list->topLevelItemCount(), Ticked(list)), std::tuple(3, "1140 2110 "));
        // A right click opens the pop-up menu: dismissed, then its fourth command, to tick all.
        for (const auto& keys : {std::vector{Qt::Key_Down, Qt::Key_Escape}, std::vector{Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}}) {
            QTimer::singleShot(0, [&keys] { for (auto key : keys) QTest::keyClick(QApplication::activePopupWidget(), key); });
            QTest::mouseClick(dialog.windowHandle(), Qt::RightButton, {}, list->viewport()->mapTo(&dialog, QPoint(20, 5)));
        }
        EXPECT_EQ(std::tuple(box->isChecked(), Ticked(list)), std::tuple(true, "1110 1140 2110 4110 5210 "));
        dialog.findChild<QAction*>("menu3")->trigger();  // untick the shown rows
        Click(list, "1140");
        Click(list, "5210");
        // Enter moves from the list to the box to setting, which applies; not with Ctrl, nor Shift+F12.
        list->setFocus();
        Press(dialog, Qt::Key_Return, Qt::ControlModifier);
        Press(dialog, Qt::Key_F12, Qt::ShiftModifier);
        Press(dialog, Qt::Key_Return);
        EXPECT_EQ(dialog.focusWidget(), box);
        Press(dialog, Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_EQ(dialog.focusWidget()->objectName(), QStringLiteral("c1032"));
        Press(dialog, Qt::Key_Return);
    });
    EXPECT_EQ(result, Dialog::kApplied);
    EXPECT_EQ(Entries(mapping_), (std::vector<Entry>{{2, KeyOf(5210)}, {21, KeyOf(1140)}, {21, KeyOf(5210)}}));
}

TEST_F(AccountMappingDialogTest, F12AppliesAndEveryOtherEndingLeavesTheMappingAsItWas) {
    Add(mapping_, {{21, KeyOf(4110)}, {2, KeyOf(5210)}});
    const auto before = Entries(mapping_);
    const std::function<void(Dialog&)> endings[] = {
        [](Dialog& dialog) { dialog.findChild<QPushButton*>("c1033")->click(); },
        [](Dialog& dialog) { Press(dialog, Qt::Key_Escape); },
        [](Dialog& dialog) { dialog.windowHandle()->close(); },
        [](Dialog& dialog) { dialog.findChild<QWidget*>("c1033")->setFocus(), Press(dialog, Qt::Key_Return); },
        [](Dialog& dialog) { Press(dialog, Qt::Key_F12); }};
    for (int ending = 0; ending < 5; ++ending) {
        const int result = Run([&](Dialog& dialog, QTreeWidget* list, QCheckBox* box) {
            EXPECT_TRUE(box->isChecked()) << "a mapped account outside the classes";
            Click(list, "4110");
            QTest::mouseClick(box, Qt::LeftButton);
            EXPECT_EQ(list->topLevelItemCount(), 3);
            endings[ending](dialog);
        });
        EXPECT_EQ(std::tuple(result, Entries(mapping_)), ending == 4 ? std::tuple(int{Dialog::kApplied}, std::vector<Entry>{{2, KeyOf(5210)}})
                                                                    : std::tuple(int{Dialog::kCancelled}, before)) << ending;
    }
}

}  // namespace
