#include "wizard/ItemControls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "settings/ItemDefinitionFile.h"
#include "tests/support/CurrentFolderGuard.h"

using C = ItemControls;

// Each control shows one defined item, in item order; a button stands for its item, a text for none. UG30 has two
// special totals (texts 1025, 1034; 1047 is no button) and from item 18 on shows the UG16 item one higher.
TEST(ItemControlsTest, EachControlShowsOneDefinedItem) {
    CurrentFolderGuard guard;
    std::filesystem::current_path(MZN_EDITION_DATA_DIR);
    for (bool ug30 : {false, true}) {
        ItemList items;
        ASSERT_TRUE(ItemDefinitionFile::LoadItemDefinitions(items, ug30));
        std::set<std::pair<int, int>> controls;
        int previous = 0;
        for (const C::Control& c : C::Table(ug30)) {
            const bool defined = std::ranges::any_of(items, [&](const auto& item) { return item->ItemNo == c.itemNo; });
            EXPECT_TRUE(defined && controls.insert({c.page, c.controlId}).second && previous < c.itemNo) << c.itemNo;
            previous = c.itemNo;
            const C::Control* ug16 = C::ControlOfItem(c.itemNo - (ug30 && c.itemNo > 19), false);
            const bool shifted = c.itemNo == 18 || c.itemNo == 19 || (ug16 && ug16->controlId == c.controlId);
            EXPECT_EQ(std::tuple(C::ControlOfItem(c.itemNo, ug30), C::ItemOfButton(c.page, c.controlId, ug30), shifted),
                      std::tuple(&c, c.kind == C::Kind::Label ? 0 : c.itemNo, true)) << c.itemNo;
        }
    }
    EXPECT_EQ(std::tuple(C::ControlOfItem(18, true)->controlId, C::ControlOfItem(19, true)->controlId,
                         C::ItemOfButton(1, 1047, true), C::ButtonsOf(1, true).size()), std::tuple(1025, 1034, 0, 26u));
}
