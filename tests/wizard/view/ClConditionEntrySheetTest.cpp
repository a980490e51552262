// The condition sheet and its conditions page as real widgets under the
// offscreen platform, on real books, driven by key and mouse events.

#include "wizard/view/ClConditionEntrySheet.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

#include <filesystem>

#include "platform/view/DialogUnits.h"
#include "tests/support/TestFiles.h"
#include "tests/wizard/SheetBooks.h"
#include "tests/wizard/view/SheetUnderTest.h"
#include "wizard/SheetButtonLayout.h"

namespace {

constexpr const char* kGoodPath = "C:\\reports\\概況書.xml";

class ClConditionEntrySheetTest : public SheetBooks {};

TEST_F(ClConditionEntrySheetTest, TheSheetHasItsTabsAndItsOwnButtonRowWithoutACloseBox) {
    SheetUnderTest s(kUg16Set);
    s.Show();
    ClConditionEntrySheet& sheet = s.sheet;
    EXPECT_EQ(sheet.windowTitle(), Cp932("事業概況書 - 集計条件"));
    EXPECT_FALSE(sheet.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(sheet.windowFlags() & Qt::WindowSystemMenuHint);
    ASSERT_EQ(sheet.Tabs()->count(), 3);
    EXPECT_EQ(sheet.Tabs()->tabText(0), Cp932("集計条件"));
    EXPECT_EQ(sheet.Tabs()->tabText(1), Cp932("主要科目"));
    EXPECT_EQ(sheet.Tabs()->tabText(2), Cp932("月別売上等"));

    const int w = sheet.width();
    const int h = sheet.height();
    const int buttonHeight = DialogUnits(sheet.font()).Y(14);
    const auto expected = SheetButtonLayout::Place(w, h, buttonHeight);
    struct Row {
        int id;
        const char* text;
        SheetButtonLayout::Rect rect;
    };
    const int q = (w - 20) / 4;
    const int y = h - h / 21;
    for (const Row& row : {Row{2002, "前へ(F5)", {8, y, q - 10, buttonHeight}},
                           Row{2003, "次へ(F6)", {q + 2, y, q - 10, buttonHeight}},
                           Row{2000, "実行(F12)", {w - 2 * q + 8, y, q - 10, buttonHeight}},
                           Row{2001, "キャンセル(Esc)", {w - q + 2, y, q - 10, buttonHeight}}}) {
        auto* button = s.Control<QPushButton>(row.id);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), Cp932(row.text));
        EXPECT_TRUE(button->isVisible());
        const QRect r = button->geometry();
        EXPECT_EQ(r, QRect(row.rect.left, row.rect.top, row.rect.width, row.rect.height)) << row.id;
        // Below the tabs, inside the window, and wide enough for its text.
        EXPECT_GT(r.top(), sheet.Tabs()->geometry().bottom());
        EXPECT_LE(r.bottom(), h - 1);
        EXPECT_LT(button->fontMetrics().horizontalAdvance(button->text()), r.width());
    }
    EXPECT_EQ(expected.execute.left, w - 2 * q + 8);
    // Page 1: back is off, the others on.
    EXPECT_FALSE(s.Control(2002)->isEnabled());
    EXPECT_TRUE(s.Control(2003)->isEnabled());
    EXPECT_TRUE(s.Control(2000)->isEnabled());
    EXPECT_TRUE(s.Control(2001)->isEnabled());
    EXPECT_EQ(s.Page(), 0);
    EXPECT_EQ(s.FocusedId(), 1002);
}

TEST_F(ClConditionEntrySheetTest, FunctionKeysTabsAndButtonsMoveBetweenThePages) {
    SheetUnderTest s(kUg16Set);
    s.Show();
    auto states = [&]() {
        return std::make_tuple(s.Page(), s.Control(2002)->isEnabled(), s.Control(2003)->isEnabled());
    };
    s.Press(Qt::Key_F5);
    EXPECT_EQ(states(), std::make_tuple(0, false, true));
    s.Press(Qt::Key_F6);
    EXPECT_EQ(states(), std::make_tuple(1, true, true));
    s.Press(Qt::Key_F6);
    EXPECT_EQ(states(), std::make_tuple(2, true, false));
    s.Press(Qt::Key_F6);
    EXPECT_EQ(states(), std::make_tuple(2, true, false));
    s.Press(Qt::Key_F5);
    EXPECT_EQ(states(), std::make_tuple(1, true, true));
    // With Shift the function keys are not the sheet's.
    s.Press(Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_EQ(s.Page(), 1);

    QTest::mouseClick(s.Control(2002), Qt::LeftButton);
    EXPECT_EQ(states(), std::make_tuple(0, false, true));
    QTest::mouseClick(s.Control(2003), Qt::LeftButton);
    EXPECT_EQ(states(), std::make_tuple(1, true, true));
    // Picking a tab sets the buttons as the page wants them.
    QTabBar* bar = s.sheet.Tabs()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(2).center());
    EXPECT_EQ(states(), std::make_tuple(2, true, false));
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(0).center());
    EXPECT_EQ(states(), std::make_tuple(0, false, true));
    EXPECT_TRUE(s.boxes.Boxes().empty());
}

TEST_F(ClConditionEntrySheetTest, EscAsksAndEndsTheSheetWhicheverTheAnswer) {
    {
        SheetUnderTest s(kUg16Set);
        const int result = s.Exec([&] { s.Press(Qt::Key_Escape); });
        EXPECT_EQ(result, 2001);
        ASSERT_EQ(s.boxes.Boxes().size(), 2u);
        EXPECT_EQ(s.boxes.Boxes()[0].text, "入力した情報を保存して終了しますか？");
        EXPECT_EQ(s.boxes.Boxes()[0].answer, mb::kIdNo);
        EXPECT_EQ(s.boxes.Boxes()[0].owner.widget, static_cast<void*>(static_cast<QWidget*>(&s.sheet)));
        EXPECT_EQ(s.boxes.Boxes()[1].text, "｢事業概況書｣の集計を中止します。");
        EXPECT_FALSE(std::filesystem::exists(Host("C:\\cond\\UG16_G_tester_7_1.env")));
    }
    {
        SheetUnderTest s(kUg16Set);
        s.boxes.QueueAnswer(mb::kIdYes);
        const int result = s.Exec([&] {
            s.Press(Qt::Key_F6);
            s.Press(Qt::Key_F6);
            s.Press(Qt::Key_Escape);
        });
        EXPECT_EQ(result, 2001);
        EXPECT_TRUE(std::filesystem::exists(Host("C:\\cond\\UG16_G_tester_7_1.env")));
    }
    {
        // The cancel button does the same.
        SheetUnderTest s(kUg16Set);
        EXPECT_EQ(s.Exec([&] { QTest::mouseClick(s.Control(2001), Qt::LeftButton); }), 2001);
        EXPECT_EQ(s.boxes.Boxes().size(), 2u);
    }
}

TEST_F(ClConditionEntrySheetTest, NeitherAltF4NorAReturnOfTheWindowCloseTheSheet) {
    SheetUnderTest s(kUg16Set);
    s.Show();
    s.Press(Qt::Key_F4, Qt::AltModifier);
    EXPECT_TRUE(s.sheet.isVisible());
    EXPECT_FALSE(s.sheet.close());
    EXPECT_TRUE(s.sheet.isVisible());
    static_cast<QDialog&>(s.sheet).reject();  // virtual: the sheet's own
    EXPECT_TRUE(s.sheet.isVisible());
    EXPECT_TRUE(s.boxes.Boxes().empty());
}

TEST_F(ClConditionEntrySheetTest, F12OnAnotherPageReturnsToTheMonthOnlyWhenACheckFails) {
    SheetUnderTest s(kUg16Set);
    const int result = s.Exec([&] {
        auto* month = s.Control<QLineEdit>(1002);
        month->selectAll();
        QTest::keyClicks(month, "13");
        EXPECT_EQ(s.Model().Values.EndMonth, 13);
        s.Press(Qt::Key_F6);
        ASSERT_EQ(s.Page(), 1);
        s.Press(Qt::Key_F12);
        EXPECT_EQ(s.Page(), 0);
        EXPECT_EQ(s.FocusedId(), 1002);
        EXPECT_EQ(month->selectedText(), QStringLiteral("13"));
        EXPECT_EQ(s.boxes.Last().text, "集計期間に誤りがあります。\n\n集計期間を設定しなおしてください。");

        // A good month and path: F12 from page 3 ends the sheet.
        month->selectAll();
        QTest::keyClicks(month, "12");
        s.Control<QLineEdit>(1008)->setText(Cp932(kGoodPath));
        s.Press(Qt::Key_F6);
        s.Press(Qt::Key_F6);
        s.Press(Qt::Key_F12);
    });
    EXPECT_EQ(result, 2000);
    EXPECT_EQ(s.Page(), 2);
    EXPECT_EQ(s.Model().Values.EndMonth, 12);
    EXPECT_EQ(s.Model().Values.OutputPath, kGoodPath);
}

TEST_F(ClConditionEntrySheetTest, EnterWalksTheConditionsPageAndNeverEndsTheSheetThere) {
    SheetUnderTest s(kUg16Set);
    s.Show();
    EXPECT_EQ(s.FocusedId(), 1002);
    s.Press(Qt::Key_Return);
    EXPECT_EQ(s.FocusedId(), 1003);
    s.Press(Qt::Key_Enter);
    EXPECT_EQ(s.FocusedId(), 1008);
    EXPECT_EQ(s.Control<QLineEdit>(1008)->selectedText(), Cp932("C:\\reports\\*.xml"));
    s.Press(Qt::Key_Return);
    EXPECT_EQ(s.FocusedId(), 1007);
    EXPECT_TRUE(s.dialogs.Requests().empty());
    s.Press(Qt::Key_Return);
    ASSERT_EQ(s.dialogs.Requests().size(), 1u) << "Enter on the browse button browses";
    EXPECT_EQ(s.FocusedId(), 1007);
    EXPECT_TRUE(s.sheet.isVisible());
    EXPECT_EQ(s.Page(), 0);
    EXPECT_TRUE(s.boxes.Boxes().empty());
    // Enter on the next button goes on.
    s.Control(2003)->setFocus();
    s.Press(Qt::Key_Return);
    EXPECT_EQ(s.Page(), 1);
}

TEST_F(ClConditionEntrySheetTest, ThePageShowsTheSheetsValuesAndWritesChangesThrough) {
    SheetUnderTest s(kUg16Set);
    s.Show();
    EXPECT_EQ(s.Control<QLabel>(1010)->text(), Cp932(" 株式会社テスト"));
    EXPECT_EQ(s.Control<QLabel>(1012)->text(), Cp932(" 2017/04/01～2018/03/31"));
    EXPECT_EQ(s.Control<QLabel>(1014)->text(), QStringLiteral("4"));
    EXPECT_EQ(s.Control<QLineEdit>(1002)->text(), QStringLiteral("3"));
    EXPECT_TRUE(s.Control<QCheckBox>(1003)->isChecked());
    EXPECT_EQ(s.Control<QLineEdit>(1008)->text(), Cp932("C:\\reports\\*.xml"));
    EXPECT_TRUE(s.Control(1008)->isEnabled());
    EXPECT_TRUE(s.Control(1007)->isEnabled());
    EXPECT_EQ(s.Control<QGroupBox>(1019)->title(), Cp932("出力先(&O)"));
    EXPECT_FALSE(s.Control(1006)->isVisibleTo(&s.sheet));
    EXPECT_FALSE(s.Control(1018)->isVisibleTo(&s.sheet));

    auto* month = s.Control<QLineEdit>(1002);
    month->selectAll();
    QTest::keyClicks(month, "1x1");
    EXPECT_EQ(month->text(), QStringLiteral("11")) << "digits only";
    EXPECT_EQ(s.Model().Values.EndMonth, 11);
    QTest::keyClick(month, Qt::Key_Backspace);
    QTest::keyClick(month, Qt::Key_Backspace);
    EXPECT_EQ(s.Model().Values.EndMonth, 0);
    QTest::keyClicks(month, "123");
    EXPECT_EQ(month->text(), QStringLiteral("12"));

    QTest::mouseClick(s.Control(1003), Qt::LeftButton);
    EXPECT_EQ(s.Model().Values.TaxIncluded, 0);
    s.Control(1003)->setFocus();
    QTest::keyClick(s.Control(1003), Qt::Key_Space);
    EXPECT_EQ(s.Model().Values.TaxIncluded, 1);

    s.Control<QLineEdit>(1008)->setText(QString::fromUtf16(u"C:\\出力\\表.xml"));
    EXPECT_EQ(s.Model().Values.OutputPath, "C:\\出力\\表.xml");
    // A character without a code page 932 form becomes "?", which the
    // character check refuses.
    s.Control<QLineEdit>(1008)->setText(QString::fromUtf16(u"C:\\out\\\U0001F600.xml"));
    EXPECT_EQ(s.Model().Values.OutputPath, "C:\\out\\?.xml");
}

TEST_F(ClConditionEntrySheetTest, ACallersPathIsShownAsGivenWithThePathControlsDisabled) {
    // 0x87 0x90 and 0x81 0xE0 are both U+2252: a path read back from the
    // edit would come back changed, so the program's own putting of the
    // text must not run the change handler.
    const std::string path = "C:\\reports\\\x87\x90" + std::string(300, 'a') + ".xml";
    SheetUnderTest s(kUg16Set, path);
    s.Show();
    EXPECT_EQ(s.Model().Values.OutputPath, path);
    auto* edit = s.Control<QLineEdit>(1008);
    EXPECT_EQ(edit->text().size(), 11 + 1 + 300 + 4) << "shown whole, beyond the typing limit";
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_FALSE(s.Control(1007)->isEnabled());
    EXPECT_EQ(s.Control<QGroupBox>(1019)->title(), Cp932("出力先"));
    // Enter on the check box skips the path: to the next button.
    s.Control(1003)->setFocus();
    s.Press(Qt::Key_Return);
    EXPECT_EQ(s.FocusedId(), 2003);
    EXPECT_EQ(s.Page(), 0);
}

TEST_F(ClConditionEntrySheetTest, TheBrowseButtonPutsThePickedFileIntoThePath) {
    SheetUnderTest s(kUg16Set);
    s.Show();
    s.dialogs.QueueChoice("C:\\reports\\選択.xml");
    QTest::mouseClick(s.Control(1007), Qt::LeftButton);
    ASSERT_EQ(s.dialogs.Requests().size(), 1u);
    EXPECT_EQ(s.dialogs.Requests()[0].InitialFolder, "C:\\reports\\");
    EXPECT_EQ(s.dialogs.Requests()[0].InitialName, "*.xml");
    EXPECT_EQ(s.Control<QLineEdit>(1008)->text(), Cp932("C:\\reports\\選択.xml"));
    EXPECT_EQ(s.Model().Values.OutputPath, "C:\\reports\\選択.xml");
    s.dialogs.QueueCancel();
    QTest::mouseClick(s.Control(1007), Qt::LeftButton);
    EXPECT_EQ(s.Model().Values.OutputPath, "C:\\reports\\選択.xml");
}

TEST_F(ClConditionEntrySheetTest, TheExecuteButtonEndsTheSheetWhenEveryCheckPasses) {
    testfiles::WriteFile(Host("C:\\reports\\") + "/old.xml", "old");
    SheetUnderTest s(kUg16Set);
    s.boxes.QueueAnswer(mb::kIdNo);
    s.boxes.QueueAnswer(mb::kIdYes);
    const int result = s.Exec([&] {
        s.Control<QLineEdit>(1008)->setText(Cp932("C:\\reports\\old.xml"));
        QTest::mouseClick(s.Control(2000), Qt::LeftButton);
        EXPECT_TRUE(s.sheet.isVisible());
        EXPECT_EQ(s.FocusedId(), 1008);
        s.Control(2000)->setFocus();
        s.Press(Qt::Key_Return);
    });
    EXPECT_EQ(result, 2000);
    ASSERT_EQ(s.boxes.Boxes().size(), 2u);
    EXPECT_EQ(s.boxes.Boxes()[0].text, "同名のファイルが存在します。\n\n上書きしてもよろしいですか？");
    EXPECT_TRUE(std::filesystem::exists(Host("C:\\cond\\UG16_G_tester_7_1.env")));
}

}  // namespace
