// The main-items and monthly-sales pages of both versions as real widgets
// in a real sheet: captions, the UG30 arrangement, the buttons bound to
// their items, the mapping dialog they open and the tips.

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QToolTip>

#include <cstring>
#include <filesystem>
#include <map>
#include <vector>

#include "settings/ConditionFile.h"
#include "tests/wizard/SheetBooks.h"
#include "tests/wizard/view/SheetUnderTest.h"
#include "wizard/view/AccountMappingDialog.h"
#include "wizard/view/ClCEPage2UG30.h"
#include "wizard/view/ItemButtonsPage.h"
#include "wizard/view/ItemTips.h"

namespace {

constexpr const char* kNoAccounts = "集約されている科目はありません。";

class ItemPagesTest : public SheetBooks {
protected:
    // Remembers a mapping for the selected data set and version, as a
    // previous run would have, so that the sheet starts with it.
    void Remember(int dataSet, const std::vector<std::pair<int, std::string>>& entries) {
        ConditionValues values;
        std::strcpy(values.UserId, "tester");
        values.SelectedNo1 = 7;
        values.SelectedNo2 = dataSet;
        values.TargetVersion = dataSet == kUg30Set ? 1 : 0;
        values.EndMonth = 3;
        values.OutputPath = "C:\\reports\\a.xml";
        MappingList mapping;
        for (const auto& [item, key] : entries) {
            auto entry = std::make_unique<MappedAccount>();
            entry->ItemNo = static_cast<std::int16_t>(item);
            std::strncpy(entry->AccountKey, key.c_str(), MappedAccount::kKeySize - 1);
            mapping.push_back(std::move(entry));
        }
        ASSERT_EQ(ConditionFile::SaveConditions(values, mapping), ConditionFile::SaveResult::Saved);
    }

    static QString TipOf(QWidget* button) { return ItemTips::PlainText(button->toolTip()); }

    // Waits for the mapping dialog, notes its heading, lets change alter the
    // mapping while it is open, then cancels it with Esc.
    static void CancelMappingDialog(QString& heading, const std::function<void()>& change = {}) {
        QTimer::singleShot(0, [&heading, change] {
            AccountMappingDialog* dialog = nullptr;
            for (int i = 0; i < 200 && dialog == nullptr; ++i) {
                dialog = qobject_cast<AccountMappingDialog*>(QApplication::activeModalWidget());
                if (dialog == nullptr) QTest::qWait(10);
            }
            ASSERT_NE(dialog, nullptr);
            auto* label = dialog->findChild<QLabel*>(QStringLiteral("c1034"));
            ASSERT_NE(label, nullptr);
            heading = label->text();
            if (change) change();
            QWidget* focused = dialog->focusWidget() != nullptr ? dialog->focusWidget() : dialog;
            QTest::keyClick(focused, Qt::Key_Escape);
        });
    }
};

TEST_F(ItemPagesTest, Ug16CaptionsComeFromTheItemDefinitions) {
    SheetUnderTest s(kUg16Set);
    s.Show();
    ItemButtonsPage* main = s.sheet.MainItemsPage();
    ItemButtonsPage* monthly = s.sheet.MonthlySalesPage();
    EXPECT_EQ(s.Control<QLabel>(main, 1027)->text(), Cp932("売上原価のうち"));
    EXPECT_EQ(s.Control<QLabel>(main, 1020)->text(), Cp932("売上（収入）高"));
    EXPECT_EQ(s.Control<QLabel>(main, 1024)->text(), Cp932("税引前当期損益"));
    EXPECT_EQ(s.Control<QLabel>(main, 1035)->text(), Cp932("純資産の部合計"));
    EXPECT_EQ(s.Control<QLabel>(main, 1060)->text(), Cp932("資産の部合計"));
    EXPECT_EQ(s.Control<QPushButton>(main, 1026)->text(), Cp932("うち兼業売上（収入）高"));
    auto* special = s.Control<QPushButton>(main, 1047);
    EXPECT_EQ(special->text(), Cp932("特別損益"));
    EXPECT_TRUE(special->isVisibleTo(main));
    EXPECT_TRUE(special->isEnabled());
    EXPECT_FALSE(s.Control(main, 1025)->isVisibleTo(main));
    EXPECT_FALSE(s.Control(main, 1034)->isVisibleTo(main));
    EXPECT_EQ(s.Control<QPushButton>(monthly, 1029)->text(), Cp932("売上（収入）金額"));
    for (int unused : {1035, 1036}) {
        EXPECT_FALSE(s.Control(monthly, unused)->isEnabled()) << unused;
        EXPECT_TRUE(s.Control<QPushButton>(monthly, unused)->text().isEmpty()) << unused;
    }
    EXPECT_EQ(main->ItemButtons().size(), 27u);
    EXPECT_EQ(monthly->ItemButtons().size(), 8u);
}

TEST_F(ItemPagesTest, WithoutNetAssetsTheCapitalTotalIsCalledCapital) {
    UseDataSet(kUg30Set);
    SheetUnderTest s(kUg30Set);
    s.Model().Values.NetAssetsCaption = 0;
    s.Show();
    EXPECT_EQ(s.Control<QLabel>(s.sheet.MainItemsPage(), 1035)->text(), Cp932("資本の部合計"));
}

TEST_F(ItemPagesTest, Ug30MovesTheResultBeforeTaxAndTheBalanceSheetColumn) {
    // The template as drawn, before any arrangement.
    ClCEPage2UG30 drawn;
    std::map<int, QRect> before;
    for (QWidget* control : drawn.findChildren<QWidget*>())
        if (control->objectName().startsWith(QLatin1Char('c'))) before[control->objectName().mid(1).toInt()] =
            control->geometry();
    const int d = before.at(1049).top() - before.at(1060).top();
    ASSERT_GT(d, 0);

    UseDataSet(kUg30Set);
    SheetUnderTest s(kUg30Set);
    s.Show();
    ItemButtonsPage* main = s.sheet.MainItemsPage();
    auto geometry = [&](int id) { return s.Control(main, id)->geometry(); };

    EXPECT_FALSE(s.Control(main, 1047)->isVisibleTo(main));
    EXPECT_FALSE(s.Control(main, 1047)->isEnabled());
    for (int shown : {1025, 1034}) {
        EXPECT_TRUE(s.Control(main, shown)->isVisibleTo(main)) << shown;
        EXPECT_TRUE(s.Control(main, shown)->isEnabled()) << shown;
    }
    EXPECT_EQ(s.Control<QLabel>(main, 1025)->text(), Cp932("特別利益"));
    EXPECT_EQ(s.Control<QLabel>(main, 1034)->text(), Cp932("特別損失"));
    EXPECT_EQ(s.Control<QLabel>(main, 1024)->text(), Cp932("税引前当期損益"));

    // 1024 heads the right column below 1034, where button 1048 was.
    EXPECT_EQ(geometry(1024).topLeft(), QPoint(before.at(1045).left(), before.at(1048).top()));
    EXPECT_EQ(geometry(1024).size(), before.at(1024).size());
    for (int moved : {1060, 1062, 1035, 1044, 1053, 1045, 1054, 1048, 1049, 1050, 1051, 1052, 1055, 1056, 1057,
                      1058, 1061, 1063, 1064, 1065})
        EXPECT_EQ(geometry(moved), before.at(moved).translated(0, d)) << moved;
    for (int kept : {1020, 1026, 1021, 1023, 1025, 1034, 1029, 1046})
        EXPECT_EQ(geometry(kept), before.at(kept)) << kept;

    // The right column reads top to bottom without overlaps, inside the page.
    const std::vector<int> column = {1034, 1024, 1060, 1045, 1062, 1054, 1035};
    for (std::size_t i = 1; i < column.size(); ++i)
        EXPECT_GE(geometry(column[i]).top(), geometry(column[i - 1]).bottom()) << column[i];
    EXPECT_LE(geometry(1035).bottom(), main->height());
    // 1025 takes the place of 1047 on the left.
    EXPECT_EQ(geometry(1025).top(), before.at(1047).top());
}

TEST_F(ItemPagesTest, EveryCaptionFitsItsControl) {
    for (int set : {kUg16Set, kUg30Set}) {
        UseDataSet(set);
        SheetUnderTest s(set);
        s.Show();
        for (ItemButtonsPage* page : {s.sheet.MainItemsPage(), s.sheet.MonthlySalesPage()}) {
            for (QWidget* control : page->findChildren<QWidget*>()) {
                QString text;
                int room = control->width();
                if (auto* button = qobject_cast<QPushButton*>(control)) {
                    text = button->text();
                    room -= 8;  // the button's bevel and margins
                } else if (auto* label = qobject_cast<QLabel*>(control); label != nullptr && !label->wordWrap()) {
                    text = label->text();
                    room -= 2 * label->frameWidth();
                }
                if (text.isEmpty() || !control->isVisibleTo(page)) continue;
                EXPECT_LE(control->fontMetrics().horizontalAdvance(text), room)
                    << set << " " << control->objectName().toStdString();
                EXPECT_GE(control->height(), control->fontMetrics().height())
                    << set << " " << control->objectName().toStdString();
            }
        }
    }
}

TEST_F(ItemPagesTest, TipsNameTheMappedAccountsOfTheButtonsItem) {
    // Item 21 (UG16's cash) and item 22 (UG30's cash, UG16's bills).
    Remember(kUg16Set, {{21, KeyOf(1110)}, {22, KeyOf(2110)}, {21, KeyOf(1140)}, {23, "URIAGEDAKA"}});
    SheetUnderTest s(kUg16Set);
    s.Show();
    ItemButtonsPage* main = s.sheet.MainItemsPage();
    EXPECT_EQ(TipOf(s.Control(main, 1048)), Cp932("現金 / 普通預金"));
    EXPECT_EQ(TipOf(s.Control(main, 1049)), Cp932("支払手形"));
    // Only a statement total: no account.
    EXPECT_EQ(TipOf(s.Control(main, 1050)), Cp932(kNoAccounts));
    EXPECT_EQ(TipOf(s.Control(main, 1026)), Cp932(kNoAccounts));
    // Every item button has its tip.
    for (int id : main->ItemButtons()) EXPECT_FALSE(s.Control(main, id)->toolTip().isEmpty()) << id;
    for (int id : s.sheet.MonthlySalesPage()->ItemButtons())
        EXPECT_FALSE(s.Control(s.sheet.MonthlySalesPage(), id)->toolTip().isEmpty()) << id;
}

TEST_F(ItemPagesTest, Ug30ButtonsStandForTheItemOneHigher) {
    UseDataSet(kUg30Set);
    Remember(kUg30Set, {{21, KeyOf(1110)}, {22, KeyOf(2110)}, {36, KeyOf(4110)}, {37, KeyOf(5210)}});
    SheetUnderTest s(kUg30Set);
    s.Show();
    EXPECT_EQ(TipOf(s.Control(s.sheet.MainItemsPage(), 1048)), Cp932("支払手形"));
    EXPECT_EQ(TipOf(s.Control(s.sheet.MonthlySalesPage(), 1029)), Cp932("商品仕入高"));

    s.Press(Qt::Key_F6);
    QString heading;
    CancelMappingDialog(heading);
    QTest::mouseClick(s.Control(s.sheet.MainItemsPage(), 1048), Qt::LeftButton);
    EXPECT_EQ(heading, Cp932("現金預金")) << "item 22 of UG30";
}

TEST_F(ItemPagesTest, AnItemButtonOpensItsMappingDialogAndTheTipFollowsWhateverTheResult) {
    SheetUnderTest s(kUg16Set);
    s.Show();
    ItemButtonsPage* main = s.sheet.MainItemsPage();
    QWidget* cash = s.Control(main, 1048);
    EXPECT_EQ(TipOf(cash), Cp932("現金 / 普通預金"));
    s.Press(Qt::Key_F6);

    // Cancelled, but the mapping changed meanwhile: the tip shows it.
    QString heading;
    CancelMappingDialog(heading, [&] {
        auto entry = std::make_unique<MappedAccount>();
        entry->ItemNo = 21;
        std::strcpy(entry->AccountKey, KeyOf(2110).c_str());
        s.mapping.push_back(std::move(entry));
    });
    QTest::mouseClick(cash, Qt::LeftButton);
    EXPECT_EQ(heading, Cp932("現金預金"));
    EXPECT_EQ(TipOf(cash), Cp932("現金 / 普通預金 / 支払手形"));
    EXPECT_TRUE(s.sheet.isVisible());

    // Enter on a focused item button opens its dialog; the sheet stays.
    QWidget* bills = s.Control(main, 1049);
    bills->setFocus();
    heading.clear();
    CancelMappingDialog(heading);
    s.Press(Qt::Key_Return);
    EXPECT_EQ(heading, Cp932("受取手形"));
    EXPECT_TRUE(s.sheet.isVisible());
    EXPECT_EQ(s.Page(), 1);

    // Monthly sales: button 1029 is item 36 on UG16.
    s.Press(Qt::Key_F6);
    heading.clear();
    CancelMappingDialog(heading);
    QTest::mouseClick(s.Control(s.sheet.MonthlySalesPage(), 1029), Qt::LeftButton);
    EXPECT_EQ(heading, Cp932("売上（収入）金額"));
    EXPECT_TRUE(s.boxes.Boxes().empty());
}

TEST_F(ItemPagesTest, WithoutItemDefinitionsEveryItemButtonIsOffAndBlank) {
    std::filesystem::create_directories(root_ / "program");
    std::filesystem::current_path(root_ / "program");
    for (int dataSet : {kUg16Set, kUg30Set}) {
        SCOPED_TRACE(dataSet);
        SheetUnderTest s(dataSet);
        s.Show();
        ASSERT_EQ(s.boxes.Boxes().size(), 1u);
        for (ItemButtonsPage* page : {s.sheet.MainItemsPage(), s.sheet.MonthlySalesPage()}) {
            for (QPushButton* button : page->findChildren<QPushButton*>()) {
                EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();
                EXPECT_TRUE(button->text().isEmpty() || button->isHidden()) << button->objectName().toStdString();
            }
        }
        // The page's own texts, not the template's placeholders.
        EXPECT_EQ(s.Control<QLabel>(s.sheet.MainItemsPage(), 1027)->text(), Cp932("売上原価のうち"));
        EXPECT_EQ(s.Control<QLabel>(s.sheet.MainItemsPage(), 1035)->text(), Cp932("純資産の部合計"));
        EXPECT_TRUE(s.Control(2001)->isVisible());
        EXPECT_EQ(s.Exec([&] { s.Press(Qt::Key_Escape); }), 2001);
    }
}

TEST_F(ItemPagesTest, ALongTipWrapsAtEightHundredPixels) {
    QWidget anchor;
    anchor.resize(100, 30);
    anchor.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&anchor));
    auto shownTip = [&](const std::string& names) {
        QToolTip::showText(anchor.mapToGlobal(QPoint(5, 5)), ItemTips::Text(names.c_str()), &anchor);
        QWidget* tip = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->inherits("QTipLabel") && widget->isVisible()) tip = widget;
        return tip;
    };
    std::string many;
    for (int i = 0; i < 40; ++i) many += (many.empty() ? "" : " / ") + std::string("売掛金") + std::to_string(i);
    QWidget* longTip = shownTip(many);
    ASSERT_NE(longTip, nullptr);
    EXPECT_LE(longTip->width(), ItemTips::kMaxWidth);
    EXPECT_GE(longTip->width(), ItemTips::kMaxWidth - 40);
    EXPECT_GE(longTip->height(), 3 * longTip->fontMetrics().height()) << "wrapped onto several lines";
    QToolTip::hideText();

    QWidget* shortTip = shownTip("現金 / 普通預金");
    ASSERT_NE(shortTip, nullptr);
    EXPECT_LT(shortTip->width(), 200);
    EXPECT_LT(shortTip->height(), 2 * shortTip->fontMetrics().height() + 12) << "one line";
    QToolTip::hideText();
    EXPECT_EQ(ItemTips::PlainText(ItemTips::Text(many.c_str())), Cp932(many.c_str()));
    EXPECT_EQ(ItemTips::PlainText(ItemTips::Text("A<B & C")), QStringLiteral("A<B & C"));
}

}  // namespace
