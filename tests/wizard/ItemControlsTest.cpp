// Which control shows which item, as properties of the tables against the editions' item definitions.

#include "wizard/ItemControls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "settings/ItemDefinitionFile.h"
#include "tests/support/CurrentFolderGuard.h"

namespace {

using Control = ItemControls::Control;

ItemList Definitions(bool ug30) {
    CurrentFolderGuard guard;
    std::filesystem::current_path(MZN_EDITION_DATA_DIR);
    ItemList items;
    EXPECT_TRUE(ItemDefinitionFile::LoadItemDefinitions(items, ug30));
    return items;
}

// Each control shows one defined item, in item order; a button stands for its item, a text for none; the captions
// are the cost group's, each item's with a control in list order ("-" blank and disabled), the capital total's.
TEST(ItemControlsTest, EachControlShowsOneDefinedItemWithItsCaption) {
    for (bool ug30 : {false, true}) {
        const ItemList items = Definitions(ug30);
        const auto captions = ItemControls::Captions(items, ug30, true);
        EXPECT_EQ(std::tuple(captions.front().controlId, captions.front().text), std::tuple(1027, "売上原価のうち"));
        EXPECT_EQ(std::tuple(captions.back().controlId, captions.back().text), std::tuple(1035, "純資産の部合計"));
        EXPECT_EQ(ItemControls::Captions(items, ug30, false).back().text, "資本の部合計");
        std::set<std::pair<int, int>> controls;
        auto caption = captions.begin();
        int previous = 0;
        for (const auto& item : items) {
            const Control* c = ItemControls::ControlOfItem(item->ItemNo, ug30);
            if (c == nullptr) continue;
            const bool dash = std::string(item->Caption) == "-";
            ++caption;
            EXPECT_EQ(std::tuple(caption->page, caption->controlId, caption->kind, caption->text, caption->enabled),
                      std::tuple(c->page, c->controlId, c->kind, dash ? "" : item->Caption, !dash));
            EXPECT_TRUE(controls.insert({c->page, c->controlId}).second && previous < c->itemNo) << c->controlId;
            previous = c->itemNo;
            EXPECT_EQ(ItemControls::ItemOfButton(c->page, c->controlId, ug30), c->kind == ItemControls::Kind::Label ? 0 : c->itemNo);
        }
        EXPECT_EQ(std::tuple(controls.size(), caption + 2), std::tuple(ItemControls::Table(ug30).size(), captions.end()));
        for (int page : {1, 2}) EXPECT_TRUE(std::ranges::is_sorted(ItemControls::ButtonsOf(page, ug30)));
    }
    EXPECT_EQ(ItemControls::ButtonsOf(1, false).size(), 27u);
    EXPECT_EQ(ItemControls::ButtonsOf(1, true).size(), 26u);
    EXPECT_EQ(ItemControls::ButtonsOf(2, true).size(), 8u);
}

// UG30 reports the special result as two totals: from item 18 on its controls show the UG16 item one higher, the
// special gains and losses take the texts 1025 and 1034, and button 1047 is no item's.
TEST(ItemControlsTest, Ug30IsUg16ShiftedByOneFromItem18) {
    for (const Control& c : ItemControls::Table(false)) {
        const Control* ug30 = ItemControls::ControlOfItem(c.itemNo + (c.itemNo >= 18), true);
        if (c.controlId == 1047) continue;
        EXPECT_EQ(std::tuple(ug30->page, ug30->controlId, ug30->kind), std::tuple(c.page, c.controlId, c.kind));
    }
    EXPECT_EQ(ItemControls::ItemOfButton(1, 1047, true), 0);
    EXPECT_EQ(std::tuple(ItemControls::ControlOfItem(18, true)->controlId, ItemControls::ControlOfItem(19, true)->controlId),
              std::tuple(1025, 1034));
}

}  // namespace
