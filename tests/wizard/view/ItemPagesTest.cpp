#include "tests/wizard/view/SheetUnderTest.h"
#include "wizard/ItemControls.h"
#include "wizard/view/ItemButtonsPage.h"
#include "wizard/view/ItemTips.h"

class ItemPagesTest : public SheetBooks {};

// Each item control shows its item's caption ("-" blank, a button disabled); a tip names its item's accounts, after
// Enter opened the item's mapping dialog as they now are. UG30 shows its special totals instead of 1047, the result
// before tax at the top of the right column. Without item definitions the user is told, Execute refuses, and every
// button of both versions is disabled and blank, amid the page's own texts.
TEST_F(ItemPagesTest, TheItemControlsShowTheirItemsAndOpenTheirMapping) {
    for (int set : {kUg16Set, kUg30Set}) {
        const bool ug30 = set == kUg30Set;
        UseDataSet(set);
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
                const bool used = caption != "-", isButton = c.kind == ItemControls::Kind::Button;
                EXPECT_EQ(std::tuple(!!button, text, control->isVisibleTo(pages[c.page]), control->isEnabled()),
                          std::tuple(isButton, Cp932(used ? caption.c_str() : ""), true, used || !isButton));
            }
            EXPECT_EQ(s.Control(1024, pages[1])->x() == s.Control(1045, pages[1])->x(), ug30);  // the result before tax
            EXPECT_EQ(std::tuple(s.Control<QLabel>(1035, pages[1])->text(), s.Control(1047, pages[1])->isEnabled(),
                                 s.Control(1047, pages[1])->isVisibleTo(pages[1]), tip(1048), tip(1030), tip(1026)),
                      std::tuple(Cp932(ug30 ? "資本の部合計" : "純資産の部合計"), !ug30, !ug30, Cp932("現金 / 普通預金"),
                                 Cp932("商品仕入高"), Cp932("集約されている科目はありません。")));
            s.Press(Qt::Key_F6);
            QTimer::singleShot(0, [&] {
                QWidget* dialog = QApplication::activeModalWidget();
                const ReportItem* item = s.sheet.Model().FindItem(22 + ug30);
                EXPECT_EQ(dialog->findChild<QLabel*>("c1034")->text(), Cp932(item->Caption));
                s.mapping.clear();
                QTest::keyClick(dialog, Qt::Key_Escape);
            });
            s.Control(1049, pages[1])->setFocus();
            s.Press(Qt::Key_Return);
            EXPECT_EQ(tip(1049), Cp932("集約されている科目はありません。"));
            s.Press(Qt::Key_Escape);
        }), ConditionSheetModel::kCancelled);
    }
    std::filesystem::create_directories(root_ / "program");
    std::filesystem::current_path(root_ / "program");
    for (int set : {kUg16Set, kUg30Set}) {
        SheetUnderTest s(set);
        EXPECT_FALSE(s.sheet.Initialise() || s.sheet.Initialise());
        const std::string missing = std::string("集計項目の定義ファイル（MznBrc20ToUg") + (set == kUg30Set ? "30" : "16") +
                                    "_G_GaiKmk.dat）を読み込めませんでした。\n\nこの状態では集計できません。"
                                    "キャンセルで終了し、連動コンポーネントを再インストールしてください。";
        EXPECT_EQ((std::tuple{std::string(s.boxes.Last().text), unsigned{s.boxes.Last().style},
                              s.sheet.Model().Execute(), s.boxes.Last().text}),
                  std::tuple(missing, mb::kWarningOk, ConditionSheetModel::kStaysOpen, missing));
        for (QWidget* page : {s.sheet.MainItemsPage(), s.sheet.MonthlySalesPage()})
            for (QPushButton* button : page->findChildren<QPushButton*>())
                EXPECT_TRUE(!button->isEnabled() && button->text().isEmpty());
        QWidget* main = s.sheet.MainItemsPage();
        EXPECT_EQ(s.Control<QLabel>(1027, main)->text() + s.Control<QLabel>(1035, main)->text(),
                  Cp932("売上原価のうち純資産の部合計"));
    }
}
