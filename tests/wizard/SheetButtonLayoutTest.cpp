#include "wizard/SheetButtonLayout.h"

#include <gtest/gtest.h>

using Rect = SheetButtonLayout::Rect;

// W 600 gives q = 145 and buttons 135 wide; H 440 gives y = 420, the division truncated.
TEST(SheetButtonLayoutTest, TheRowFollowsTheFormula) {
    const auto place = SheetButtonLayout::Place(600, 440, 23);
    EXPECT_EQ(std::tuple(place.back, place.next), std::tuple(Rect{8, 420, 135, 23}, Rect{147, 420, 135, 23}));
    EXPECT_EQ(std::tuple(place.execute, place.cancel), std::tuple(Rect{318, 420, 135, 23}, Rect{457, 420, 135, 23}));
}

// The smallest client height whose row keeps the gap to the content above and to the edge below.
TEST(SheetButtonLayoutTest, TheClientHeightIsTheSmallestThatFitsTheRow) {
    const auto fits = [](int h, int bottom, int button) { return h - h / 21 >= bottom + 6 && h / 21 >= button + 6; };
    for (int bottom : {100, 400, 517})
        for (int button : {20, 28}) {
            const int height = SheetButtonLayout::ClientHeightFor(bottom, button, 6);
            EXPECT_TRUE(fits(height, bottom, button) && !fits(height - 1, bottom, button)) << bottom << " " << button;
        }
}
