#include "wizard/view/ClConditionEntrySheet.h"

#include "platform/view/DialogUnits.h"
#include "tests/wizard/view/SheetUnderTest.h"

class ClConditionEntrySheetTest : public SheetBooks {};

// One run. The buttons: q = (W - 20) / 4, each q - 10 wide at H - H / 21; back at 8, next at q + 2, execute at
// W - 2q + 8, cancel at W - q + 2; H the smallest that keeps 4 units below the tabs and above the edge. The values;
// keys, clicks and edits reaching the model; Execute failing with its message over the sheet; a close request
// refused; the Cancel button. A caller's path is shown as given (0x87 0x90 would come back changed), locked, and
// skipped by Enter.
TEST_F(ClConditionEntrySheetTest, OneRunOfTheSheet) {
    SheetUnderTest s(kUg16Set);
    ClConditionEntrySheet& sheet = s.sheet;
    auto* month = s.Control<QLineEdit>(1002);
    auto* path = s.Control<QLineEdit>(1008);
    const ConditionSheetValues& values = sheet.Model().Values;
    const int result = s.Exec([&] {
        const int w = sheet.width(), h = sheet.height(), q = (w - 20) / 4;
        const int bh = DialogUnits(sheet.font()).Y(14), gap = DialogUnits(sheet.font()).Y(4);
        const QTabWidget* t = sheet.Tabs();
        const int tabs = t->y() + t->sizeHint().expandedTo(t->minimumSizeHint()).height();
        const auto fits = [&](int y) { return y - y / 21 >= tabs + gap && y / 21 >= bh + gap; };
        EXPECT_EQ(std::tuple(fits(h), fits(h - 1), t->geometry().bottom() + 1 + gap),
                  std::tuple(true, false, h - h / 21));
        for (const auto& [id, text, left] : {std::tuple{2002, "前へ(F5)", 8}, {2003, "次へ(F6)", q + 2},
                                             {2000, "実行(F12)", w - 2 * q + 8}, {2001, "キャンセル(Esc)", w - q + 2}}) {
            auto* button = s.Control<QPushButton>(id);
            EXPECT_EQ(std::tuple(button->text(), button->geometry(), button->isVisible(), button->autoDefault()),
                      std::tuple(Cp932(text), QRect(left, h - h / 21, q - 10, bh), true, false));
        }
        EXPECT_EQ(std::tuple(s.Control<QLabel>(1014)->text(), month->text(), s.Control<QCheckBox>(1003)->isChecked(),
                             path->text(), path->maxLength(), sheet.focusWidget(), s.Control(2002)->isEnabled()),
                  std::tuple("4", "3", true, "C:\\reports\\*.xml", 255, month, false));
        s.Press(Qt::Key_F5);
        for (auto modifier : {Qt::NoModifier, Qt::ShiftModifier, Qt::AltModifier}) s.Press(Qt::Key_F6, modifier);
        EXPECT_EQ(std::tuple(t->currentIndex(), s.Control(2002)->isEnabled()), std::tuple(1, true));
        s.Press(Qt::Key_F4, Qt::AltModifier);
        QTest::mouseClick(s.Control(2002), Qt::LeftButton);
        QTest::mouseClick(s.Control(2003), Qt::LeftButton);
        QTest::mouseClick(s.Control(2002), Qt::LeftButton);
        sheet.close();  // refused like Esc and Alt+F4
        EXPECT_EQ(std::tuple(t->currentIndex(), sheet.isVisible()), std::tuple(0, true));
        month->setFocus();
        s.Press(Qt::Key_Return);
        s.Press(Qt::Key_Enter);
        EXPECT_EQ(std::tuple(sheet.focusWidget(), path->selectedText()), std::tuple(path, path->text()));
        s.Press(Qt::Key_Return);
        s.dialogs.QueueChoice("C:\\reports\\選択.xml");
        s.Press(Qt::Key_Return);
        QTest::mouseClick(s.Control(1007), Qt::LeftButton);  // browsing again, cancelled
        EXPECT_EQ(s.dialogs.Requests().size(), 2u);
        month->selectAll();
        QTest::keyClicks(month, "1x3");
        QTest::mouseClick(s.Control(1003), Qt::LeftButton);
        EXPECT_EQ(std::tuple(path->text(), values.EndMonth, values.TaxIncluded, values.OutputPath),
                  std::tuple(Cp932("C:\\reports\\選択.xml"), 13, 0, "C:\\reports\\選択.xml"));
        path->setText(Cp932("C:\\reports\\概況書.xml"));
        s.Control(2003)->setFocus();
        s.Press(Qt::Key_Return);
        QTest::mouseClick(s.Control(2000), Qt::LeftButton);
        EXPECT_EQ(std::tuple(sheet.focusWidget(), month->selectedText(), s.boxes.Last().owner.widget),
                  std::tuple(month, "13", static_cast<void*>(static_cast<QWidget*>(&sheet))));
        QTest::keyClicks(month, "12");
        s.Control(2000)->setFocus();
        s.Press(Qt::Key_Return);
    });
    EXPECT_EQ(std::tuple(result, values.EndMonth, values.OutputPath), std::tuple(2000, 12, "C:\\reports\\概況書.xml"));
    SheetUnderTest locked(kUg16Set, "C:\\reports\\\x87\x90.xml");
    EXPECT_EQ((std::tuple{locked.sheet.Initialise(), locked.sheet.Model().Values.OutputPath,
                          locked.Control(1008)->isEnabled() || locked.Control(1007)->isEnabled()}),
              std::tuple(true, "C:\\reports\\\x87\x90.xml", false));
    QTest::keyClick(locked.Control(1003), Qt::Key_Return);  // the locked path is skipped to the next button
    EXPECT_EQ(locked.sheet.focusWidget(), locked.Control(2003));
    SheetUnderTest cancelled(kUg16Set);
    EXPECT_EQ(cancelled.Exec([&] { QTest::mouseClick(cancelled.Control(2001), Qt::LeftButton); }),
              ConditionSheetModel::kCancelled);
}
