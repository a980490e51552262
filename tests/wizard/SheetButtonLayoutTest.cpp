#include "wizard/SheetButtonLayout.h"

#include <gtest/gtest.h>

// The sheet checks the row on its own size; here a width whose quarter the 20 pixels decide: q = 145, not 144.
TEST(SheetButtonLayoutTest, TheRowFollowsTheFormula) {
    EXPECT_EQ(SheetButtonLayout::Place(600, 440, 23).cancel, (SheetButtonLayout::Rect{457, 420, 135, 23}));
}
