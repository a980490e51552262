#include "wizard/SheetButtonLayout.h"

#include <gtest/gtest.h>

namespace {

using Rect = SheetButtonLayout::Rect;

TEST(SheetButtonLayoutTest, TheRowFollowsTheFormula) {
    // W 600: q = 145, buttons 135 wide; H 420: y = 400.
    const auto placement = SheetButtonLayout::Place(600, 420, 23);
    EXPECT_EQ(placement.back, (Rect{8, 400, 135, 23}));
    EXPECT_EQ(placement.next, (Rect{147, 400, 135, 23}));
    EXPECT_EQ(placement.execute, (Rect{318, 400, 135, 23}));
    EXPECT_EQ(placement.cancel, (Rect{457, 400, 135, 23}));

    // Divisions truncate: W 603 gives q = 145, H 440 gives y = 420.
    const auto odd = SheetButtonLayout::Place(603, 440, 20);
    EXPECT_EQ(odd.back, (Rect{8, 420, 135, 20}));
    EXPECT_EQ(odd.execute.left, 321);
    EXPECT_EQ(odd.cancel.left, 460);
}

TEST(SheetButtonLayoutTest, TheClientHeightLeavesRoomForTheRow) {
    for (int bottom : {100, 400, 517}) {
        for (int button : {20, 28}) {
            const int height = SheetButtonLayout::ClientHeightFor(bottom, button, 6);
            const int y = height - height / 21;
            EXPECT_GE(y, bottom + 6) << bottom << " " << button;
            EXPECT_GE(height - (y + button), 6) << bottom << " " << button;
            // The smallest such height.
            const int less = height - 1;
            const int yLess = less - less / 21;
            EXPECT_TRUE(yLess < bottom + 6 || less - (yLess + button) < 6) << bottom << " " << button;
        }
    }
}

}  // namespace
