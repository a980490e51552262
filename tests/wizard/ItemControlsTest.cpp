// Which control shows which item, and what the item definitions put on
// them, against the tables of the pages and the editions' real files.

#include "wizard/ItemControls.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "settings/ItemDefinitionFile.h"
#include "tests/support/CurrentFolderGuard.h"

namespace {

constexpr int kMain = ItemControls::kMainItemsPage;
constexpr int kMonthly = ItemControls::kMonthlySalesPage;

ItemList Definitions(bool ug30) {
    CurrentFolderGuard guard;
    std::filesystem::current_path(MZN_EDITION_DATA_DIR);
    ItemList items;
    EXPECT_TRUE(ItemDefinitionFile::LoadItemDefinitions(items, ug30));
    return items;
}

std::map<int, ItemControls::Caption> ByControl(const std::vector<ItemControls::Caption>& captions, int page) {
    std::map<int, ItemControls::Caption> byControl;
    for (const auto& caption : captions)
        if (caption.page == page) byControl.emplace(caption.controlId, caption);
    return byControl;
}

TEST(ItemControlsTest, TheButtonsStandForTheirItemsAndUg30IsOneHigherFromTheSpecialResult) {
    const std::map<int, std::pair<int, int>> mainButtons = {
        {1026, {2, 2}},   {1029, {4, 4}},   {1030, {5, 5}},   {1031, {6, 6}},   {1032, {7, 7}},
        {1033, {8, 8}},   {1038, {9, 9}},   {1039, {10, 10}}, {1040, {12, 12}}, {1041, {13, 13}},
        {1042, {14, 14}}, {1043, {15, 15}}, {1046, {16, 16}}, {1047, {18, 0}},  {1048, {21, 22}},
        {1049, {22, 23}}, {1050, {23, 24}}, {1051, {24, 25}}, {1052, {25, 26}}, {1055, {26, 27}},
        {1056, {27, 28}}, {1057, {28, 29}}, {1058, {29, 30}}, {1061, {31, 32}}, {1063, {32, 33}},
        {1064, {33, 34}}, {1065, {34, 35}}};
    for (const auto& [button, items] : mainButtons) {
        EXPECT_EQ(ItemControls::ItemOfButton(kMain, button, false), items.first) << button;
        EXPECT_EQ(ItemControls::ItemOfButton(kMain, button, true), items.second) << button;
    }
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(ItemControls::ItemOfButton(kMonthly, 1029 + k, false), 36 + k);
        EXPECT_EQ(ItemControls::ItemOfButton(kMonthly, 1029 + k, true), 37 + k);
    }
    // Texts and the other page's ids are no buttons.
    for (int text : {1020, 1021, 1022, 1023, 1024, 1025, 1034, 1035, 1060})
        EXPECT_EQ(ItemControls::ItemOfButton(kMain, text, true), 0) << text;
    EXPECT_EQ(ItemControls::ItemOfButton(kMonthly, 1048, false), 0);

    EXPECT_EQ(ItemControls::ButtonsOf(kMain, false).size(), 27u);
    EXPECT_EQ(ItemControls::ButtonsOf(kMain, true).size(), 26u);
    EXPECT_EQ(ItemControls::ButtonsOf(kMonthly, false).size(), 8u);
    EXPECT_EQ(ItemControls::ButtonsOf(kMonthly, true).front(), 1029);
    EXPECT_EQ(ItemControls::ButtonsOf(kMain, true).front(), 1026);
}

TEST(ItemControlsTest, TheTotalsAreTextsAndTheBalanceSheetTotalsHaveNone) {
    struct Expect {
        int item;
        int control;  // 0: no control
    };
    for (const Expect& e : {Expect{1, 1020}, {3, 1021}, {11, 1022}, {17, 1023}, {19, 1024}, {20, 0}, {30, 0}, {35, 0}}) {
        const ItemControls::Control* control = ItemControls::ControlOfItem(e.item, false);
        if (e.control == 0) {
            EXPECT_EQ(control, nullptr) << e.item;
            continue;
        }
        ASSERT_NE(control, nullptr) << e.item;
        EXPECT_EQ(control->controlId, e.control);
        EXPECT_EQ(control->kind, ItemControls::Kind::Label);
    }
    for (const Expect& e : {Expect{18, 1025}, {19, 1034}, {20, 1024}, {21, 0}, {31, 0}, {36, 0}}) {
        const ItemControls::Control* control = ItemControls::ControlOfItem(e.item, true);
        if (e.control == 0) {
            EXPECT_EQ(control, nullptr) << e.item;
            continue;
        }
        ASSERT_NE(control, nullptr) << e.item;
        EXPECT_EQ(control->controlId, e.control);
        EXPECT_EQ(control->kind, ItemControls::Kind::Label);
    }
    // Every control of a page shows one item at most.
    for (bool ug30 : {false, true}) {
        std::set<std::pair<int, int>> seen;
        for (const auto& control : ItemControls::Table(ug30))
            EXPECT_TRUE(seen.insert({control.page, control.controlId}).second) << control.controlId;
    }
}

TEST(ItemControlsTest, CaptionsComeFromTheDefinitionsAndUnusedButtonsAreDisabledAndBlank) {
    const ItemList items = Definitions(false);
    const auto captions = ItemControls::Captions(items, false, true);
    ASSERT_GE(captions.size(), 3u);
    EXPECT_EQ(captions.front().controlId, 1027);
    EXPECT_EQ(captions.front().text, "売上原価のうち");
    EXPECT_EQ(captions.back().controlId, 1035);
    EXPECT_EQ(captions.back().text, "純資産の部合計");

    const auto main = ByControl(captions, kMain);
    EXPECT_EQ(main.at(1026).text, "うち兼業売上（収入）高");
    EXPECT_TRUE(main.at(1026).enabled);
    EXPECT_EQ(main.at(1047).text, "特別損益");
    EXPECT_EQ(main.at(1020).text, "売上（収入）高");
    EXPECT_EQ(main.at(1020).kind, ItemControls::Kind::Label);
    EXPECT_EQ(main.count(1060), 0u) << "the fixed totals keep their own texts";
    const auto monthly = ByControl(captions, kMonthly);
    EXPECT_EQ(monthly.at(1029).text, "売上（収入）金額");
    // Items 42 and 43 are not used by UG16.
    for (int unused : {1035, 1036}) {
        EXPECT_EQ(monthly.at(unused).text, "");
        EXPECT_FALSE(monthly.at(unused).enabled);
        EXPECT_EQ(monthly.at(unused).kind, ItemControls::Kind::Button);
    }

    // Capital, not net assets, on both versions when the flag is off.
    EXPECT_EQ(ItemControls::Captions(items, false, false).back().text, "資本の部合計");
    const ItemList ug30Items = Definitions(true);
    const auto ug30 = ItemControls::Captions(ug30Items, true, false);
    EXPECT_EQ(ug30.back().text, "資本の部合計");
    const auto ug30Main = ByControl(ug30, kMain);
    EXPECT_EQ(ug30Main.at(1025).text, "特別利益");
    EXPECT_EQ(ug30Main.at(1034).text, "特別損失");
    EXPECT_EQ(ug30Main.at(1024).text, "税引前当期損益");
    EXPECT_EQ(ug30Main.count(1047), 0u);
    EXPECT_EQ(ByControl(ug30, kMonthly).at(1029).text, "売上（収入）金額");
}

TEST(ItemControlsTest, ALabelItemMarkedUnusedShowsNoText) {
    ItemList items;
    auto label = std::make_unique<ReportItem>();
    label->ItemNo = 11;
    std::strcpy(label->Caption, "-");
    items.push_back(std::move(label));
    auto button = std::make_unique<ReportItem>();
    button->ItemNo = 2;
    std::strcpy(button->Caption, "兼業");
    items.push_back(std::move(button));
    auto outside = std::make_unique<ReportItem>();
    outside->ItemNo = 99;
    std::strcpy(outside->Caption, "表にない");
    items.push_back(std::move(outside));

    const auto captions = ItemControls::Captions(items, false, false);
    ASSERT_EQ(captions.size(), 4u) << "the group, two items with controls, the capital total";
    EXPECT_EQ(captions[1].controlId, 1022);
    EXPECT_EQ(captions[1].text, "");
    EXPECT_EQ(captions[2].controlId, 1026);
    EXPECT_EQ(captions[2].text, "兼業");
    EXPECT_TRUE(captions[2].enabled);
}

}  // namespace
