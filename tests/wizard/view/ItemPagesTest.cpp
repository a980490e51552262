// The main-items and monthly-sales pages of both versions in a real sheet on real books.

#include <filesystem>

#include "settings/ConditionFile.h"
#include "tests/wizard/view/SheetUnderTest.h"
#include "wizard/ItemControls.h"
#include "wizard/view/ClCEPage2UG30.h"
#include "wizard/view/ItemTips.h"

class ItemPagesTest : public SheetBooks {};

// Each item control shows its item's caption, fitting it ("-" blank, a button disabled); a button's tip names its
// item's accounts, and after Enter opened its item's mapping dialog the mapping as it now is. UG30 shows its special
// gains and losses instead of 1047, moves the result before tax to the head of the right column where 1048 was, and
// the balance-sheet column down by the distance from 1060 to 1049. Without item definitions every button of both
// versions is disabled and blank, amid the page's own texts.
TEST_F(ItemPagesTest, TheItemControlsShowTheirItemsAndOpenTheirMapping) {
    ClCEPage2UG30 drawn;
    const auto at = [](QWidget* page, int id) { return page->findChild<QWidget*>(QStringLiteral("c%1").arg(id))->geometry(); };
    for (int set : {kUg16Set, kUg30Set}) {
        const bool ug30 = set == kUg30Set;
        UseDataSet(set);
        ConditionSheetValues values;
        FillValues(values, set);
        values.TargetVersion = ug30;
        Add(mapping_, {{21, KeyOf(1110)}, {21, KeyOf(1140)}, {22, KeyOf(2110)}});
        ASSERT_EQ(ConditionFile::SaveConditions(values, mapping_), ConditionFile::SaveResult::Saved);
        SheetUnderTest s(set);
        s.sheet.Model().Values.NetAssetsCaption = !ug30;
        QWidget* pages[] = {nullptr, s.sheet.MainItemsPage(), s.sheet.MonthlySalesPage()};
        const auto tip = [&](int id) { return ItemTips::PlainText(s.Control(id, pages[1])->toolTip()); };
        EXPECT_EQ(s.Exec([&] {
            for (const ItemControls::Control& c : ItemControls::Table(ug30)) {
                const std::string caption = s.sheet.Model().FindItem(c.itemNo)->Caption;
                QWidget* control = s.Control(c.controlId, pages[c.page]);
                auto* button = qobject_cast<QPushButton*>(control);
                const QString text = button ? button->text() : qobject_cast<QLabel*>(control)->text();
                EXPECT_EQ(std::tuple(button != nullptr, text, control->isVisibleTo(pages[c.page])),
                          std::tuple(c.kind == ItemControls::Kind::Button, caption == "-" ? "" : Cp932(caption.c_str()), true));
                EXPECT_TRUE(!button || (button->isEnabled() == (caption != "-") && !button->toolTip().isEmpty()));
                EXPECT_LE(control->fontMetrics().horizontalAdvance(text), control->width() - (button ? 8 : 0)) << c.controlId;
            }
            QWidget* special = s.Control(1047, pages[1]);
            EXPECT_EQ(std::tuple(s.Control<QLabel>(1035, pages[1])->text(), special->isEnabled(), special->isVisibleTo(pages[1]),
                                 tip(1048), tip(1026)),
                      std::tuple(Cp932(ug30 ? "資本の部合計" : "純資産の部合計"), !ug30, !ug30,
                                 Cp932(ug30 ? "支払手形" : "現金 / 普通預金"), Cp932("集約されている科目はありません。")));
            const int d = ug30 ? at(&drawn, 1049).top() - at(&drawn, 1060).top() : 0;
            EXPECT_EQ(at(pages[1], 1024).topLeft(), ug30 ? QPoint(at(&drawn, 1045).left(), at(&drawn, 1048).top()) : at(&drawn, 1024).topLeft());
            for (int id : {1060, 1062, 1035, 1044, 1053, 1045, 1054, 1048, 1049, 1050, 1051, 1052, 1055, 1056, 1057, 1058,
                           1061, 1063, 1064, 1065})
                EXPECT_EQ(at(pages[1], id), at(&drawn, id).translated(0, d)) << id;
            s.Press(Qt::Key_F6);
            QTimer::singleShot(0, [&] {
                QWidget* dialog = QApplication::activeModalWidget();
                EXPECT_EQ(dialog->findChild<QLabel*>("c1034")->text(), Cp932(s.sheet.Model().FindItem(22 + ug30)->Caption));
                s.mapping.clear();
                QTest::keyClick(dialog, Qt::Key_Escape);
            });
            s.Control(1049, pages[1])->setFocus();
            s.Press(Qt::Key_Return);
            EXPECT_EQ(tip(1049), Cp932("集約されている科目はありません。"));
            s.Press(Qt::Key_Escape);
        }), ConditionSheetModel::kCancelled);
        mapping_.clear();
    }
    std::filesystem::create_directories(root_ / "program");
    std::filesystem::current_path(root_ / "program");
    for (int set : {kUg16Set, kUg30Set}) {
        SheetUnderTest s(set);
        EXPECT_FALSE(s.sheet.Initialise());
        for (QWidget* page : {s.sheet.MainItemsPage(), s.sheet.MonthlySalesPage()})
            for (QPushButton* button : page->findChildren<QPushButton*>()) EXPECT_TRUE(!button->isEnabled() && button->text().isEmpty());
        EXPECT_EQ(s.Control<QLabel>(1027, s.sheet.MainItemsPage())->text() + s.Control<QLabel>(1035, s.sheet.MainItemsPage())->text(),
                  Cp932("売上原価のうち純資産の部合計"));
    }
}
