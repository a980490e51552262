#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>

#include <functional>
#include <string>
#include <vector>

#include "platform/view/DialogUnits.h"
#include "platform/view/QtText.h"
#include "tests/wizard/AccountMappingBooks.h"
#include "wizard/view/AccountMappingDialog.h"

namespace {

QString Cp932(const char* text) {
    return QtText::FromCp932(text);
}

class AccountMappingDialogTest : public AccountMappingBooks {
protected:
    template <typename Widget>
    static Widget* Find(const QWidget& dialog, const char* name) {
        auto* widget = dialog.findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static QTreeWidget* List(const QWidget& dialog) { return Find<QTreeWidget>(dialog, "c1030"); }
    static QCheckBox* AllAccountsBox(const QWidget& dialog) { return Find<QCheckBox>(dialog, "c1031"); }

    // Runs the dialog modally; steps run once it shows and must end it.
    static int Run(AccountMappingDialog& dialog, const std::function<void()>& steps) {
        QTimer::singleShot(0, &dialog, [&dialog, steps] {
            // Mnemonics and shortcuts need the dialog to be the active window.
            dialog.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
            steps();
            if (dialog.isVisible()) {
                ADD_FAILURE() << "the steps left the dialog open";
                dialog.reject();
            }
        });
        return dialog.exec();
    }

    // A key pressed and released where the keyboard focus is.
    static void Press(const QWidget& dialog, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* focused = dialog.focusWidget();
        ASSERT_NE(focused, nullptr);
        QTest::keyClick(focused, static_cast<Qt::Key>(key), modifiers);
    }

    static int RowOf(const QWidget& dialog, const char* code) {
        QTreeWidget* list = List(dialog);
        for (int row = 0; row < list->topLevelItemCount(); ++row)
            if (list->topLevelItem(row)->text(0) == QString::fromLatin1(code)) return row;
        ADD_FAILURE() << "no row " << code;
        return -1;
    }

    // The centre of a row's check box, in the list's viewport.
    static QPoint CheckBoxOf(const QWidget& dialog, int row) {
        QTreeWidget* list = List(dialog);
        QStyleOptionViewItem option;
        option.initFrom(list);
        option.rect = list->visualRect(list->model()->index(row, 0));
        option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
        option.text = list->topLevelItem(row)->text(0);
        return list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list).center();
    }

    static void ClickCheckBox(const QWidget& dialog, const char* code) {
        QTest::mouseClick(List(dialog)->viewport(), Qt::LeftButton, {}, CheckBoxOf(dialog, RowOf(dialog, code)));
    }

    static std::vector<std::string> TickedCodes(const QWidget& dialog) {
        std::vector<std::string> codes;
        QTreeWidget* list = List(dialog);
        for (int row = 0; row < list->topLevelItemCount(); ++row)
            if (list->topLevelItem(row)->checkState(0) == Qt::Checked)
                codes.push_back(list->topLevelItem(row)->text(0).toStdString());
        return codes;
    }
    static std::vector<std::string> ListedCodes(const QWidget& dialog) {
        std::vector<std::string> codes;
        QTreeWidget* list = List(dialog);
        for (int row = 0; row < list->topLevelItemCount(); ++row)
            codes.push_back(list->topLevelItem(row)->text(0).toStdString());
        return codes;
    }

    // A right click on a row opens the pop-up menu; keys pressed in the menu
    // pick a command (or dismiss it).
    static void RightClickAndPress(const QWidget& dialog, const char* code, const std::vector<int>& menuKeys) {
        bool menuSeen = false;
        QTimer::singleShot(0, [&menuSeen, menuKeys] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr) return;
            menuSeen = true;
            for (int key : menuKeys) QTest::keyClick(menu, static_cast<Qt::Key>(key));
        });
        QTreeWidget* list = List(dialog);
        const QRect row = list->visualRect(list->model()->index(RowOf(dialog, code), 1));
        const QPoint inWindow = list->viewport()->mapTo(dialog.window(), row.center());
        QTest::mouseClick(dialog.window()->windowHandle(), Qt::RightButton, {}, inWindow);
        EXPECT_TRUE(menuSeen) << "no pop-up menu";
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    }
};

}  // namespace

TEST_F(AccountMappingDialogTest, TemplateControlsTextsAndColumns) {
    AccountMappingDialog dialog(item_, mapping_, defaults_);
    EXPECT_EQ(dialog.windowTitle(), Cp932("集約科目対応設定"));
    EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::WindowSystemMenuHint));
    EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowContextHelpButtonHint));
    auto* heading = Find<QLabel>(dialog, "c1034");
    auto* box = AllAccountsBox(dialog);
    auto* apply = Find<QPushButton>(dialog, "c1032");
    auto* cancel = Find<QPushButton>(dialog, "c1033");
    QTreeWidget* list = List(dialog);
    ASSERT_TRUE(heading && box && apply && cancel && list);
    EXPECT_EQ(heading->text(), Cp932("現金・預金"));
    EXPECT_TRUE(heading->alignment().testFlag(Qt::AlignHCenter));
    EXPECT_EQ(heading->frameShadow(), QFrame::Sunken);
    EXPECT_EQ(box->text(), Cp932("全ての科目から選択する。(&A)"));
    EXPECT_EQ(apply->text(), Cp932("設定(F12)"));
    EXPECT_EQ(cancel->text(), Cp932("キャンセル(Esc)"));
    EXPECT_EQ(list->headerItem()->text(0), Cp932("コード"));
    EXPECT_EQ(list->headerItem()->text(1), Cp932("科目名"));
    EXPECT_EQ(list->columnCount(), 2);
    EXPECT_FALSE(list->isSortingEnabled());
    EXPECT_FALSE(list->header()->sectionsClickable());
    EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(list->topLevelItem(1)->text(1), Cp932("普通預金"));

    // The template's dialog units in the dialog font, and a fixed size.
    const DialogUnits units(DialogUnits::DialogFont());
    EXPECT_EQ(list->geometry(), units.Rect(7, 26, 234, 152));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_EQ(dialog.size(), units.Size(248, 221));
    for (QWidget* control : std::vector<QWidget*>{heading, list, box, apply, cancel})
        EXPECT_TRUE(dialog.rect().contains(control->geometry())) << control->objectName().toStdString();
    EXPECT_FALSE(apply->geometry().intersects(cancel->geometry()));
    // Their texts fit.
    EXPECT_LE(box->sizeHint().width(), box->width());
    for (QPushButton* button : {apply, cancel})
        EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()) +
                      2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin),
                  button->width());

    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    // In the dialog font the width leaves a remainder, which belongs to the
    // name column.
    const int width = list->maximumViewportSize().width();
    EXPECT_GT(width, 0);
    EXPECT_EQ(list->columnWidth(0), 3 * (width / 14));
    EXPECT_EQ(list->columnWidth(1), 11 * (width / 14) + width % 14);
    EXPECT_EQ(list->columnWidth(0) + list->columnWidth(1), width);
    dialog.reject();
}

TEST_F(AccountMappingDialogTest, FocusStartsOnTheListAndTabsThroughTheControls) {
    AccountMappingDialog dialog(item_, mapping_, defaults_);
    std::vector<std::string> order;
    const int result = Run(dialog, [&] {
        for (int step = 0; step < 5; ++step) {
            QWidget* focused = dialog.focusWidget();
            ASSERT_NE(focused, nullptr);
            order.push_back(focused->objectName().toStdString());
            QTest::keyClick(focused, Qt::Key_Tab);
        }
        Press(dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(order, (std::vector<std::string>{"c1030", "c1031", "c1032", "c1033", "c1030"}));
    EXPECT_EQ(result, AccountMappingDialog::kCancelled);
}

TEST_F(AccountMappingDialogTest, ClickedCheckBoxesAreMappedByF12) {
    Add(mapping_, 2, Key(kSales));
    Add(mapping_, kItemNo, Key(kCash));
    Add(mapping_, 9, Key(kCash));
    AccountMappingDialog dialog(item_, mapping_, defaults_);
    const int result = Run(dialog, [&] {
        EXPECT_EQ(TickedCodes(dialog), (std::vector<std::string>{"111"}));
        ClickCheckBox(dialog, "135");
        ClickCheckBox(dialog, "111");
        // A click on the name selects the row without ticking it.
        QTreeWidget* list = List(dialog);
        const int deposit = RowOf(dialog, "112");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(deposit, 1)).center());
        EXPECT_EQ(TickedCodes(dialog), (std::vector<std::string>{"135"}));
        EXPECT_EQ(list->currentItem(), list->topLevelItem(deposit));
        // The space bar ticks the current row.
        QTest::keyClick(list, Qt::Key_Space);
        EXPECT_EQ(TickedCodes(dialog), (std::vector<std::string>{"112", "135"}));
        // Shift+F12 is no shortcut.
        Press(dialog, Qt::Key_F12, Qt::ShiftModifier);
        EXPECT_TRUE(dialog.isVisible());
        Press(dialog, Qt::Key_F12);
    });
    EXPECT_EQ(result, AccountMappingDialog::kApplied);
    EXPECT_EQ(
        Entries(mapping_),
        (std::vector<Entry>{{2, Key(kSales)}, {9, Key(kCash)}, {kItemNo, Key(kDeposit)}, {kItemNo, Key(kReceivable)}}));
}

TEST_F(AccountMappingDialogTest, EnterMovesFromTheListToTheBoxToSettingWhichApplies) {
    Add(mapping_, kItemNo, AccountKey::kUriageDaka);
    Add(mapping_, 3, Key(kCash));
    AccountMappingDialog dialog(item_, mapping_, defaults_);
    const int result = Run(dialog, [&] {
        EXPECT_EQ(dialog.focusWidget(), List(dialog));
        ClickCheckBox(dialog, "112");
        Press(dialog, Qt::Key_Return, Qt::ControlModifier);
        EXPECT_EQ(dialog.focusWidget(), List(dialog));
        Press(dialog, Qt::Key_Return);
        EXPECT_EQ(dialog.focusWidget(), AllAccountsBox(dialog));
        EXPECT_FALSE(AllAccountsBox(dialog)->isChecked());
        Press(dialog, Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_EQ(dialog.focusWidget()->objectName(), QStringLiteral("c1032"));
        EXPECT_TRUE(dialog.isVisible());
        Press(dialog, Qt::Key_Return);
    });
    EXPECT_EQ(result, AccountMappingDialog::kApplied);
    EXPECT_EQ(Entries(mapping_), (std::vector<Entry>{{3, Key(kCash)}, {kItemNo, Key(kDeposit)}}));
}

TEST_F(AccountMappingDialogTest, CancelEscAndTheCloseBoxLeaveTheMappingAsItWas) {
    Add(mapping_, kItemNo, Key(kPayable));
    Add(mapping_, 2, Key(kSales));
    Add(mapping_, kItemNo, AccountKey::kSisan);
    Add(mapping_, kItemNo, Key(kCash));
    const auto before = Entries(mapping_);
    const std::vector<std::function<void(AccountMappingDialog&)>> endings = {
        [](AccountMappingDialog& dialog) { Find<QPushButton>(dialog, "c1033")->click(); },
        [](AccountMappingDialog& dialog) { Press(dialog, Qt::Key_Escape); },
        [](AccountMappingDialog& dialog) { dialog.windowHandle()->close(); },
        [](AccountMappingDialog& dialog) {
            // Enter on "キャンセル(Esc)" presses it.
            Find<QPushButton>(dialog, "c1033")->setFocus();
            Press(dialog, Qt::Key_Return);
        },
    };
    for (std::size_t ending = 0; ending < endings.size(); ++ending) {
        AccountMappingDialog dialog(item_, mapping_, defaults_);
        const int result = Run(dialog, [&] {
            EXPECT_TRUE(AllAccountsBox(dialog)->isChecked());
            EXPECT_EQ(TickedCodes(dialog), (std::vector<std::string>{"111", "311"}));
            ClickCheckBox(dialog, "111");
            ClickCheckBox(dialog, "511");
            QTest::mouseClick(AllAccountsBox(dialog), Qt::LeftButton);
            dialog.findChild<QAction*>(QStringLiteral("menu5"))->trigger();
            endings[ending](dialog);
        });
        EXPECT_EQ(result, AccountMappingDialog::kCancelled) << ending;
        EXPECT_EQ(Entries(mapping_), before) << ending;
    }
}

TEST_F(AccountMappingDialogTest, UntickingTheBoxKeepsAnAccountTickedOutsideTheClasses) {
    Add(mapping_, kItemNo, Key(kReceivable));
    Add(mapping_, 4, Key(kPayable));
    AccountMappingDialog dialog(item_, mapping_, defaults_);
    const int result = Run(dialog, [&] {
        QCheckBox* box = AllAccountsBox(dialog);
        EXPECT_FALSE(box->isChecked());
        EXPECT_EQ(ListedCodes(dialog), (std::vector<std::string>{"111", "112", "135"}));
        QTest::mouseClick(box, Qt::LeftButton);
        EXPECT_TRUE(box->isChecked());
        EXPECT_EQ(ListedCodes(dialog), (std::vector<std::string>{"111", "112", "135", "311", "511"}));
        EXPECT_EQ(TickedCodes(dialog), (std::vector<std::string>{"135"}));
        ClickCheckBox(dialog, "511");
        // Alt+A, the box's mnemonic, unticks it (with an animated click).
        QTest::keyClick(dialog.focusWidget(), Qt::Key_A, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([box] { return !box->isChecked(); }));
        EXPECT_EQ(ListedCodes(dialog), (std::vector<std::string>{"111", "112", "135"}));
        EXPECT_EQ(TickedCodes(dialog), (std::vector<std::string>{"135"}));
        Find<QPushButton>(dialog, "c1032")->click();
    });
    EXPECT_EQ(result, AccountMappingDialog::kApplied);
    EXPECT_EQ(Entries(mapping_),
              (std::vector<Entry>{{4, Key(kPayable)}, {kItemNo, Key(kSales)}, {kItemNo, Key(kReceivable)}}));
}

TEST_F(AccountMappingDialogTest, ContextMenuCommandsAsTheMenuRunsThem) {
    Add(defaults_, kItemNo, Key(kDeposit));
    Add(defaults_, kItemNo, Key(kDeleted));
    Add(defaults_, kItemNo, Key(kCash));
    Add(mapping_, kItemNo, Key(kReceivable));
    AccountMappingDialog dialog(item_, mapping_, defaults_);
    auto command = [&dialog](int id) {
        QAction* action = dialog.findChild<QAction*>(QStringLiteral("menu%1").arg(id));
        ASSERT_NE(action, nullptr) << id;
        action->trigger();
    };
    const char* const texts[] = {"デフォルトのチェック状態に戻す", "表示されている科目を全てチェック",
                                 "表示されている科目のチェックを全てはずす", "全ての科目をチェック",
                                 "全ての科目のチェックをはずす"};
    for (int id = 1; id <= 5; ++id)
        EXPECT_EQ(dialog.findChild<QAction*>(QStringLiteral("menu%1").arg(id))->text(), Cp932(texts[id - 1]));

    const int result = Run(dialog, [&] {
        command(2);
        EXPECT_EQ(TickedCodes(dialog), (std::vector<std::string>{"111", "112", "135"}));
        command(3);
        EXPECT_TRUE(TickedCodes(dialog).empty());
        command(1);
        EXPECT_EQ(TickedCodes(dialog), (std::vector<std::string>{"111", "112"}));
        command(4);
        EXPECT_TRUE(AllAccountsBox(dialog)->isChecked());
        EXPECT_EQ(TickedCodes(dialog), (std::vector<std::string>{"111", "112", "135", "311", "511"}));
        command(5);
        EXPECT_TRUE(TickedCodes(dialog).empty());
        EXPECT_TRUE(AllAccountsBox(dialog)->isChecked());
        command(1);
        Press(dialog, Qt::Key_F12);
    });
    EXPECT_EQ(result, AccountMappingDialog::kApplied);
    // The defaults that exist, in row order.
    EXPECT_EQ(Entries(mapping_), (std::vector<Entry>{{kItemNo, Key(kCash)}, {kItemNo, Key(kDeposit)}}));
}

TEST_F(AccountMappingDialogTest, ARightClickOpensThePopUpMenuAtTheList) {
    Add(mapping_, kItemNo, Key(kCash));
    AccountMappingDialog dialog(item_, mapping_, defaults_);
    const int result = Run(dialog, [&] {
        // Dismissed with Esc: nothing changes and the dialog stays.
        RightClickAndPress(dialog, "112", {Qt::Key_Down, Qt::Key_Escape});
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(TickedCodes(dialog), (std::vector<std::string>{"111"}));
        // The fourth command: "全ての科目をチェック".
        RightClickAndPress(dialog, "135", {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return});
        EXPECT_TRUE(AllAccountsBox(dialog)->isChecked());
        EXPECT_EQ(TickedCodes(dialog), (std::vector<std::string>{"111", "112", "135", "311", "511"}));
        // The third: untick the shown rows.
        RightClickAndPress(dialog, "311", {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return});
        EXPECT_TRUE(TickedCodes(dialog).empty());
        ClickCheckBox(dialog, "511");
        Press(dialog, Qt::Key_F12);
    });
    EXPECT_EQ(result, AccountMappingDialog::kApplied);
    EXPECT_EQ(Entries(mapping_), (std::vector<Entry>{{kItemNo, Key(kSales)}}));
}

TEST_F(AccountMappingDialogTest, AnItemWithoutClassesListsTheWholeChart) {
    for (std::uint32_t& code : item_.ClassCodes) code = 0;
    Add(mapping_, kItemNo, Key(kSales));
    AccountMappingDialog dialog(item_, mapping_, defaults_);
    const int result = Run(dialog, [&] {
        EXPECT_FALSE(AllAccountsBox(dialog)->isChecked());
        EXPECT_EQ(ListedCodes(dialog), (std::vector<std::string>{"111", "112", "135", "311", "511"}));
        EXPECT_EQ(TickedCodes(dialog), (std::vector<std::string>{"511"}));
        // Ticking and unticking the box keeps the whole chart.
        QTest::mouseClick(AllAccountsBox(dialog), Qt::LeftButton);
        QTest::mouseClick(AllAccountsBox(dialog), Qt::LeftButton);
        EXPECT_EQ(ListedCodes(dialog), (std::vector<std::string>{"111", "112", "135", "311", "511"}));
        EXPECT_EQ(TickedCodes(dialog), (std::vector<std::string>{"511"}));
        Press(dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(result, AccountMappingDialog::kCancelled);
}
