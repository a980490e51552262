#include "platform/view/DialogUnits.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>

#include <cmath>
#include <utility>

namespace {

TEST(DialogUnitsTest, UnitsBecomePixelsRoundedHalfAwayFromZero) {
    const DialogUnits units(6, 12);
    EXPECT_EQ(units.Rect(5, 6, 211, 22), QRect(8, 9, 317, 33));
    EXPECT_EQ(units.Size(221, 45), QSize(332, 68));  // 331.5 and 67.5
    const DialogUnits odd(7, 13);
    // 1.75, 3.5, 4.875, 6.5, -3.5, 0
    const std::pair<int, int> xs[] = {{1, 2}, {2, 4}, {-2, -4}, {0, 0}}, ys[] = {{3, 5}, {4, 7}};
    for (const auto& [unitsIn, pixels] : xs) EXPECT_EQ(odd.X(unitsIn), pixels) << unitsIn;
    for (const auto& [unitsIn, pixels] : ys) EXPECT_EQ(odd.Y(unitsIn), pixels) << unitsIn;
}

TEST(DialogUnitsTest, TheBaseUnitsAreTheFontsAverageLetterAndHeight) {
    const QFont font = DialogUnits::DialogFont();
    const DialogUnits units(font);
    const QFontMetrics metrics(font);
    EXPECT_EQ(units.BaseY(), metrics.height());
    // Half the width of the 52 letters over 26, rounded: within half a pixel of their average.
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const double average = metrics.horizontalAdvance(letters) / 52.0;
    EXPECT_LE(std::abs(units.BaseX() - average), 0.5) << average;
    if (font.family() != QStringLiteral("IPAPGothic")) GTEST_SKIP() << "fonts-ipafont-gothic is not installed";
    EXPECT_EQ(font.pointSize(), 9);
    EXPECT_TRUE(QFontInfo(font).exactMatch());
}

}  // namespace
