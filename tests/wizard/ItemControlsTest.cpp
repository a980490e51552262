// Which control shows which item, as properties of the tables against the editions' item definitions.

#include "wizard/ItemControls.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "settings/ItemDefinitionFile.h"
#include "tests/support/CurrentFolderGuard.h"

using Control = ItemControls::Control;

// Each control shows one defined item, in item order; a button stands for its item, a text for none; the captions
// are the cost group's, each item's with a control in list order ("-" blank and disabled), the capital total's.
// UG30 reports the special result as two totals: from item 18 on, its controls show the UG16 item one higher, the
// texts 1025 and 1034 the special gains and losses, and button 1047 no item.
TEST(ItemControlsTest, EachControlShowsOneDefinedItemWithItsCaption) {
    CurrentFolderGuard guard;
    std::filesystem::current_path(MZN_EDITION_DATA_DIR);
    for (bool ug30 : {false, true}) {
        ItemList items;
        ASSERT_TRUE(ItemDefinitionFile::LoadItemDefinitions(items, ug30));
        const auto captions = ItemControls::Captions(items, ug30, true);
        EXPECT_EQ(std::tuple(captions[0].controlId, captions[0].text, captions.back().text,
                             ItemControls::Captions(items, ug30, false).back().controlId,
                             ItemControls::Captions(items, ug30, false).back().text),
                  std::tuple(1027, "売上原価のうち", "純資産の部合計", 1035, "資本の部合計"));
        std::set<std::pair<int, int>> controls;
        auto caption = captions.begin();
        for (const auto& item : items) {
            const Control* c = ItemControls::ControlOfItem(item->ItemNo, ug30);
            if (c == nullptr) continue;
            const bool dash = std::string(item->Caption) == "-";
            ++caption;
            EXPECT_EQ(std::tuple(caption->page, caption->controlId, caption->kind, caption->text, caption->enabled),
                      std::tuple(c->page, c->controlId, c->kind, dash ? "" : item->Caption, !dash));
            EXPECT_TRUE(controls.insert({c->page, c->controlId}).second && (controls.size() == 1 || c[-1].itemNo < c->itemNo));
            const int shown = c->kind == ItemControls::Kind::Label ? 0 : c->itemNo;
            EXPECT_EQ(ItemControls::ItemOfButton(c->page, c->controlId, ug30), shown) << c->controlId;
            if (c->itemNo == 18 || c->itemNo == 19) continue;  // UG30's own totals
            const Control* ug16 = ItemControls::ControlOfItem(c->itemNo - (ug30 && c->itemNo > 19), false);
            ASSERT_NE(ug16, nullptr) << c->itemNo;
            EXPECT_EQ(std::tuple(ug16->page, ug16->controlId), std::tuple(c->page, c->controlId));
        }
        EXPECT_EQ(std::tuple(controls.size(), caption + 2), std::tuple(ItemControls::Table(ug30).size(), captions.end()));
    }
    EXPECT_EQ(std::tuple(ItemControls::ControlOfItem(18, true)->controlId, ItemControls::ControlOfItem(19, true)->controlId,
                         ItemControls::ItemOfButton(1, 1047, true), ItemControls::ButtonsOf(1, false).size(),
                         ItemControls::ButtonsOf(1, true).size(), ItemControls::ButtonsOf(2, true).size()),
              std::tuple(1025, 1034, 0, 27u, 26u, 8u));
}
