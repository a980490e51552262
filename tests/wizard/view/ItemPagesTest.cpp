// The main-items and monthly-sales pages of both versions in a real sheet: the item controls as the item
// definitions caption them, UG30's arrangement, the tips, the mapping dialog a button opens, no definitions.

#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include <filesystem>

#include "settings/ConditionFile.h"
#include "tests/wizard/view/SheetUnderTest.h"
#include "wizard/ItemControls.h"
#include "wizard/view/ClCEPage2UG30.h"
#include "wizard/view/ItemButtonsPage.h"
#include "wizard/view/ItemTips.h"

namespace {

using M = ConditionSheetModel;
class ItemPagesTest : public SheetBooks {};

// Every item control is on its page as the table says, with its item's caption, which fits it ("-" blank, a button
// disabled), the page's own texts around them; each button's tip names its item's accounts, and the button opens
// its item's mapping dialog by click or by Enter, after which the tip shows the mapping as it now is.
TEST_F(ItemPagesTest, TheItemControlsShowTheirItemsAndOpenTheirMapping) {
    for (int set : {kUg16Set, kUg30Set}) {
        SCOPED_TRACE(set);
        UseDataSet(set);
        ConditionSheetValues values;
        FillValues(values, set);
        values.TargetVersion = set == kUg30Set;
        Add(mapping_, {{21, KeyOf(1110)}, {21, KeyOf(1140)}, {22, KeyOf(2110)}});
        ASSERT_EQ(ConditionFile::SaveConditions(values, mapping_), ConditionFile::SaveResult::Saved);
        SheetUnderTest s(set);
        s.sheet.Model().Values.NetAssetsCaption = set == kUg16Set;
        const bool ug30 = set == kUg30Set;
        QWidget* pages[] = {nullptr, s.sheet.MainItemsPage(), s.sheet.MonthlySalesPage()};
        const int result = s.Exec([&] {
            for (const ItemControls::Control& c : ItemControls::Table(ug30)) {
                const std::string caption = s.sheet.Model().FindItem(c.itemNo)->Caption;
                auto* button = s.Control<QPushButton>(c.controlId, pages[c.page]);
                const QString text = button ? button->text() : s.Control<QLabel>(c.controlId, pages[c.page])->text();
                EXPECT_EQ(std::tuple(button != nullptr, text), std::tuple(c.kind == ItemControls::Kind::Button,
                                                                        caption == "-" ? "" : Cp932(caption.c_str())));
                const QWidget* control = s.Control(c.controlId, pages[c.page]);
                EXPECT_TRUE(control->isVisibleTo(pages[c.page]) && (button == nullptr || button->isEnabled() == (caption != "-")));
                EXPECT_LE(control->fontMetrics().horizontalAdvance(text), control->width() - (button ? 8 : 0)) << c.controlId;
                EXPECT_TRUE(button == nullptr || !button->toolTip().isEmpty()) << c.controlId;
            }
            EXPECT_EQ(s.Control<QLabel>(1027, pages[1])->text() + s.Control<QLabel>(1035, pages[1])->text(),
                      Cp932(ug30 ? "売上原価のうち資本の部合計" : "売上原価のうち純資産の部合計"));
            EXPECT_FALSE(s.Control(1047, pages[1])->isVisibleTo(pages[1]) && ug30);
            const auto tip = [&](int id) { return ItemTips::PlainText(s.Control(id, pages[1])->toolTip()); };
            EXPECT_EQ(std::tuple(tip(1048), tip(1026)), std::tuple(Cp932(ug30 ? "支払手形" : "現金 / 普通預金"),
                                                                 Cp932("集約されている科目はありません。")));
            s.Press(Qt::Key_F6);
            for (int id : {1048, 1049}) {
                QString heading;
                QTimer::singleShot(0, [&] {
                    QWidget* dialog = QApplication::activeModalWidget();
                    heading = dialog->findChild<QLabel*>(QStringLiteral("c1034"))->text();
                    s.mapping.clear();
                    QTest::keyClick(dialog->focusWidget(), Qt::Key_Escape);
                });
                s.Control(id, pages[1])->setFocus();
                id == 1048 ? QTest::mouseClick(s.Control(id, pages[1]), Qt::LeftButton) : s.Press(Qt::Key_Return);
                EXPECT_EQ(heading, Cp932(s.sheet.Model().FindItem(ItemControls::ItemOfButton(1, id, ug30))->Caption));
                EXPECT_EQ(tip(id), Cp932("集約されている科目はありません。"));
            }
            s.Press(Qt::Key_Escape);
        });
        EXPECT_EQ(result, M::kCancelled);
        mapping_.clear();
    }
}

// UG30: the special gains and losses are shown instead of 1047; the result before tax heads the right column where
// button 1048 was, the balance-sheet column moves down by the distance from 1060 to 1049, the rest stays as drawn.
TEST_F(ItemPagesTest, Ug30MovesTheResultBeforeTaxAndTheBalanceSheetColumn) {
    ClCEPage2UG30 drawn;
    const auto before = [&](int id) { return drawn.Control(id)->geometry(); };
    const int d = before(1049).top() - before(1060).top();
    UseDataSet(kUg30Set);
    SheetUnderTest s(kUg30Set);
    ASSERT_TRUE(s.sheet.Initialise());
    QWidget* page = s.sheet.MainItemsPage();
    const auto after = [&](int id) { return s.Control(id, page)->geometry(); };
    EXPECT_EQ(after(1024), QRect(QPoint(before(1045).left(), before(1048).top()), before(1024).size()));
    for (int id : {1060, 1062, 1035, 1044, 1053, 1045, 1054, 1048, 1049, 1050, 1051, 1052, 1055, 1056, 1057, 1058,
                   1061, 1063, 1064, 1065})
        EXPECT_EQ(after(id), before(id).translated(0, d)) << id;
    for (int id : {1020, 1026, 1021, 1023, 1025, 1034, 1029, 1046, 1047}) EXPECT_EQ(after(id), before(id)) << id;
    for (int id : {1025, 1034}) EXPECT_TRUE(s.Control(id, page)->isVisibleTo(page) && s.Control(id, page)->isEnabled());
    EXPECT_FALSE(s.Control(1047, page)->isVisibleTo(page) || s.Control(1047, page)->isEnabled());
    EXPECT_EQ(ItemTips::PlainText(ItemTips::Text("A<B & C")), QStringLiteral("A<B & C"));
}

// Without item definitions every item button of both versions is disabled and blank, the page keeps its own texts,
// and the sheet can be cancelled.
TEST_F(ItemPagesTest, WithoutItemDefinitionsEveryItemButtonIsOffAndBlank) {
    std::filesystem::create_directories(root_ / "program");
    std::filesystem::current_path(root_ / "program");
    for (int set : {kUg16Set, kUg30Set}) {
        SheetUnderTest s(set);
        EXPECT_FALSE(s.sheet.Initialise());
        for (QWidget* page : {s.sheet.MainItemsPage(), s.sheet.MonthlySalesPage()})
            for (QPushButton* button : page->findChildren<QPushButton*>())
                EXPECT_TRUE(!button->isEnabled() && button->text().isEmpty()) << button->objectName().toStdString();
        EXPECT_EQ(s.Control<QLabel>(1027, s.sheet.MainItemsPage())->text() + s.Control<QLabel>(1035, s.sheet.MainItemsPage())->text(),
                  Cp932("売上原価のうち純資産の部合計"));
        EXPECT_EQ(s.Exec([&] { s.Press(Qt::Key_Escape); }), M::kCancelled);
    }
}

}  // namespace
