// The condition sheet and its conditions page as real widgets on real books.

#include "wizard/view/ClConditionEntrySheet.h"

#include <QTabWidget>

#include "platform/view/DialogUnits.h"
#include "tests/wizard/view/SheetUnderTest.h"
#include "wizard/SheetButtonLayout.h"

class ClConditionEntrySheetTest : public SheetBooks {};

// One run: the tabs with a margin and the button row as SheetButtonLayout places it; the values shown; the keys,
// clicks and edits that reach the model, and the message and focus of a failing F12. Then a caller's path is shown
// whole and as given (0x87 0x90 would come back from the edit as 0x81 0xE0) with the path controls disabled.
TEST_F(ClConditionEntrySheetTest, OneRunOfTheSheet) {
    SheetUnderTest s(kUg16Set);
    ClConditionEntrySheet& sheet = s.sheet;
    auto* month = s.Control<QLineEdit>(1002);
    auto* path = s.Control<QLineEdit>(1008);
    const ConditionSheetValues& values = sheet.Model().Values;
    const int result = s.Exec([&] {
        const DialogUnits units(sheet.font());
        const QRect tabs = sheet.Tabs()->geometry();
        const QSize hint = sheet.Tabs()->sizeHint().expandedTo(sheet.Tabs()->minimumSizeHint());
        EXPECT_EQ(sheet.size(), QSize(2 * tabs.x() + hint.width(),
                                      SheetButtonLayout::ClientHeightFor(tabs.y() + hint.height(), units.Y(14), units.Y(4))));
        const auto place = SheetButtonLayout::Place(sheet.width(), sheet.height(), units.Y(14));
        EXPECT_EQ(tabs.bottom() + 1 + units.Y(4), place.back.top);
        for (const auto& [id, text, r] : {std::tuple{2002, "前へ(F5)", place.back}, {2003, "次へ(F6)", place.next},
                                          {2000, "実行(F12)", place.execute}, {2001, "キャンセル(Esc)", place.cancel}}) {
            auto* button = s.Control<QPushButton>(id);
            EXPECT_EQ(std::tuple(button->text(), button->geometry(), button->isVisible(), button->autoDefault()),
                      std::tuple(Cp932(text), QRect(r.left, r.top, r.width, r.height), true, false));
        }
        EXPECT_EQ(std::tuple(s.Control<QLabel>(1014)->text(), month->text(), s.Control<QCheckBox>(1003)->isChecked(),
                             path->text(), path->maxLength(), sheet.focusWidget()),
                  std::tuple("4", "3", true, "C:\\reports\\*.xml", 255, month));
        for (auto modifier : {Qt::NoModifier, Qt::ShiftModifier, Qt::AltModifier}) s.Press(Qt::Key_F6, modifier);
        s.Press(Qt::Key_F4, Qt::AltModifier);
        QTest::mouseClick(s.Control(2003), Qt::LeftButton);
        s.Press(Qt::Key_F5);
        EXPECT_EQ(std::tuple(sheet.Tabs()->currentIndex(), s.Control(2002)->isEnabled(), s.Control(2003)->isEnabled()),
                  std::tuple(1, true, true));
        QTest::mouseClick(s.Control(2002), Qt::LeftButton);
        month->setFocus();
        s.Press(Qt::Key_Return);
        s.Press(Qt::Key_Enter);
        EXPECT_EQ(std::tuple(sheet.focusWidget(), path->selectedText()), std::tuple(path, path->text()));
        s.Press(Qt::Key_Return);
        s.dialogs.QueueChoice("C:\\reports\\選択.xml");
        s.Press(Qt::Key_Return);
        month->selectAll();
        QTest::keyClicks(month, "1x3");
        QTest::mouseClick(s.Control(1003), Qt::LeftButton);
        EXPECT_EQ(std::tuple(path->text(), values.EndMonth, values.TaxIncluded, values.OutputPath),
                  std::tuple(Cp932("C:\\reports\\選択.xml"), 13, 0, "C:\\reports\\選択.xml"));
        path->setText(QString::fromUtf16(u"C:\\\U0001F600.xml"));
        EXPECT_EQ(values.OutputPath, "C:\\?.xml");
        s.Press(Qt::Key_F6);
        s.Press(Qt::Key_F12);
        EXPECT_EQ(std::tuple(sheet.Tabs()->currentIndex(), sheet.focusWidget(), month->selectedText(), s.boxes.Last().owner.widget),
                  std::tuple(0, month, "13", static_cast<void*>(static_cast<QWidget*>(&sheet))));
        QTest::keyClicks(month, "12");
        path->setText(Cp932("C:\\reports\\概況書.xml"));
        s.Control(2000)->setFocus();
        s.Press(Qt::Key_Return);
    });
    EXPECT_EQ(std::tuple(result, values.EndMonth, values.OutputPath), std::tuple(2000, 12, "C:\\reports\\概況書.xml"));
    const std::string given = "C:\\reports\\\x87\x90" + std::string(300, 'a') + ".xml";
    SheetUnderTest locked(kUg16Set, given);
    ASSERT_TRUE(locked.sheet.Initialise());
    EXPECT_EQ(std::tuple(locked.sheet.Model().Values.OutputPath, locked.Control<QLineEdit>(1008)->text(),
                         locked.Control(1008)->isEnabled(), locked.Control(1007)->isEnabled()),
              std::tuple(given, Cp932(given.c_str()), false, false));
}
