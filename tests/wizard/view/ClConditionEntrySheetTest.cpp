// The condition sheet and its conditions page as real widgets on real books: controls, texts and geometry, and the
// keys, clicks and edits that reach the model, in one run of the sheet; a caller's path; the ways to cancel.

#include "wizard/view/ClConditionEntrySheet.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

#include "platform/view/DialogUnits.h"
#include "tests/wizard/view/SheetUnderTest.h"
#include "wizard/SheetButtonLayout.h"

namespace {

using M = ConditionSheetModel;

class ClConditionEntrySheetTest : public SheetBooks {};

TEST_F(ClConditionEntrySheetTest, ControlsKeysAndEditsInOneRunOfTheSheet) {
    SheetUnderTest s(kUg16Set);
    ClConditionEntrySheet& sheet = s.sheet;
    QTabWidget* tabs = sheet.Tabs();
    auto* month = s.Control<QLineEdit>(1002);
    auto* path = s.Control<QLineEdit>(1008);
    const auto states = [&] { return std::tuple(tabs->currentIndex(), s.Control(2002)->isEnabled(), s.Control(2003)->isEnabled()); };
    const auto pick = [&](int tab) { QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(tab).center()); };
    const int result = s.Exec([&] {
        EXPECT_EQ(sheet.windowTitle() + tabs->tabText(0) + tabs->tabText(1) + tabs->tabText(2),
                  Cp932("事業概況書 - 集計条件集計条件主要科目月別売上等"));
        EXPECT_FALSE(sheet.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint));
        // The tabs with a margin around them, and below them the button row as SheetButtonLayout places it.
        const DialogUnits units(sheet.font());
        const QSize hint = tabs->sizeHint().expandedTo(tabs->minimumSizeHint());
        EXPECT_EQ(sheet.size(), QSize(tabs->x() + hint.width() + tabs->x(),
                                      SheetButtonLayout::ClientHeightFor(tabs->y() + hint.height(), units.Y(14), units.Y(4))));
        const auto place = SheetButtonLayout::Place(sheet.width(), sheet.height(), units.Y(14));
        EXPECT_EQ(tabs->geometry().bottom() + 1 + units.Y(4), place.back.top);
        for (const auto& [id, text, r] : {std::tuple{2002, "前へ(F5)", place.back}, {2003, "次へ(F6)", place.next},
                                          {2000, "実行(F12)", place.execute}, {2001, "キャンセル(Esc)", place.cancel}}) {
            auto* button = s.Control<QPushButton>(id);
            EXPECT_EQ(std::tuple(button->text(), button->geometry(), button->isVisible(), button->autoDefault()),
                      std::tuple(Cp932(text), QRect(r.left, r.top, r.width, r.height), true, false));
        }
        // The conditions page shows the sheet's values.
        for (const auto& [id, text] : {std::pair{1010, " 株式会社テスト"}, {1012, " 2017/04/01～2018/03/31"}, {1014, "4"}})
            EXPECT_EQ(s.Control<QLabel>(id)->text(), Cp932(text));
        EXPECT_EQ(std::tuple(month->text(), s.Control<QCheckBox>(1003)->isChecked(), path->text(), path->maxLength()),
                  std::tuple(QStringLiteral("3"), true, QStringLiteral("C:\\reports\\*.xml"), 255));
        EXPECT_TRUE(path->isEnabled() && s.Control(1007)->isEnabled());
        EXPECT_EQ(s.Control<QGroupBox>(1019)->title(), Cp932("出力先(&O)"));
        EXPECT_FALSE(s.Control(1006)->isVisibleTo(&sheet) || s.Control(1018)->isVisibleTo(&sheet));
        // The function keys (not with a modifier), the tabs and the buttons move between the pages; nothing closes
        // the sheet but its own two ways.
        EXPECT_EQ(std::tuple(states(), s.FocusedId()), std::tuple(std::tuple(0, false, true), 1002));
        s.Press(Qt::Key_F6);
        for (auto modifier : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier}) s.Press(Qt::Key_F6, modifier);
        s.Press(Qt::Key_F4, Qt::AltModifier);
        EXPECT_EQ(states(), std::tuple(1, true, true));
        pick(2);
        EXPECT_EQ(states(), std::tuple(2, true, false));
        s.Press(Qt::Key_F5);
        QTest::mouseClick(s.Control(2002), Qt::LeftButton);
        EXPECT_EQ(states(), std::tuple(0, false, true));
        QTest::mouseClick(s.Control(2003), Qt::LeftButton);
        EXPECT_EQ(states(), std::tuple(1, true, true));
        pick(0);
        EXPECT_FALSE(sheet.close());
        static_cast<QDialog&>(sheet).reject();  // the sheet's own, which ignores it
        // Enter walks the conditions page and browses on the browse button.
        month->setFocus();
        s.Press(Qt::Key_Return);
        s.Press(Qt::Key_Enter);
        EXPECT_EQ(std::tuple(s.FocusedId(), path->selectedText()), std::tuple(1008, path->text()));
        s.Press(Qt::Key_Return);
        s.dialogs.QueueChoice("C:\\reports\\選択.xml");
        s.Press(Qt::Key_Return);
        EXPECT_EQ(path->text(), Cp932("C:\\reports\\選択.xml"));
        s.dialogs.QueueChoice("C:\\reports\\二度目.xml");
        QTest::mouseClick(s.Control(1007), Qt::LeftButton);
        EXPECT_EQ(sheet.Model().Values.OutputPath, "C:\\reports\\二度目.xml");
        // Edits go to the model: two digits only; the check box by click and space; the path in code page 932, a
        // character without a form in it as "?".
        month->selectAll();
        QTest::keyClicks(month, "1x3");
        EXPECT_EQ(std::tuple(month->text(), sheet.Model().Values.EndMonth), std::tuple(QStringLiteral("13"), 13));
        QTest::mouseClick(s.Control(1003), Qt::LeftButton);
        EXPECT_EQ(sheet.Model().Values.TaxIncluded, 0);
        QTest::keyClick(s.Control(1003), Qt::Key_Space);
        EXPECT_EQ(sheet.Model().Values.TaxIncluded, 1);
        path->setText(QString::fromUtf16(u"C:\\out\\\U0001F600.xml"));
        EXPECT_EQ(sheet.Model().Values.OutputPath, "C:\\out\\?.xml");
        path->setText(Cp932("C:\\reports\\概況書.xml"));
        // F12 from another page fails on the month, with the message over the sheet: back to the month, selected.
        s.Press(Qt::Key_F6);
        s.Press(Qt::Key_F12);
        EXPECT_EQ(std::tuple(tabs->currentIndex(), s.FocusedId(), month->selectedText()), std::tuple(0, 1002, month->text()));
        EXPECT_EQ(s.boxes.Last().owner.widget, static_cast<void*>(static_cast<QWidget*>(&sheet)));
        QTest::keyClicks(month, "12");
        s.Control(2000)->setFocus();
        s.Press(Qt::Key_Return);
    });
    EXPECT_EQ(std::tuple(result, sheet.Model().Values.EndMonth, sheet.Model().Values.OutputPath),
              std::tuple(M::kExecuted, 12, std::string("C:\\reports\\概況書.xml")));
}

// Esc and the cancel button end the sheet; a caller's path is shown whole and as given (0x87 0x90 would come back
// from the edit as 0x81 0xE0), with the path controls disabled.
TEST_F(ClConditionEntrySheetTest, EscTheCancelButtonAndACallersPath) {
    for (bool click : {false, true}) {
        SheetUnderTest s(kUg16Set);
        EXPECT_EQ(s.Exec([&] { click ? QTest::mouseClick(s.Control(2001), Qt::LeftButton) : s.Press(Qt::Key_Escape); }), M::kCancelled);
    }
    const std::string given = "C:\\reports\\\x87\x90" + std::string(300, 'a') + ".xml";
    SheetUnderTest s(kUg16Set, given);
    ASSERT_TRUE(s.sheet.Initialise());
    EXPECT_EQ(std::tuple(s.sheet.Model().Values.OutputPath, s.Control<QLineEdit>(1008)->text()), std::tuple(given, Cp932(given.c_str())));
    EXPECT_FALSE(s.Control(1008)->isEnabled() || s.Control(1007)->isEnabled());
    EXPECT_EQ(s.Control<QGroupBox>(1019)->title(), Cp932("出力先"));
}

}  // namespace
