#include "platform/view/DialogUnits.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>

namespace {

TEST(DialogUnitsTest, UnitsBecomePixelsRoundedHalfAwayFromZero) {
    const DialogUnits units(6, 12);
    EXPECT_EQ(units.X(4), 6);
    EXPECT_EQ(units.Y(8), 12);
    EXPECT_EQ(units.X(221), 332);  // 331.5
    EXPECT_EQ(units.Y(45), 68);    // 67.5
    EXPECT_EQ(units.Rect(5, 6, 211, 22), QRect(8, 9, 317, 33));
    EXPECT_EQ(units.Size(221, 45), QSize(332, 68));

    const DialogUnits odd(7, 13);
    EXPECT_EQ(odd.X(1), 2);    // 1.75
    EXPECT_EQ(odd.X(2), 4);    // 3.5
    EXPECT_EQ(odd.Y(3), 5);    // 4.875
    EXPECT_EQ(odd.Y(4), 7);    // 6.5
    EXPECT_EQ(odd.X(-2), -4);  // -3.5
    EXPECT_EQ(odd.X(0), 0);
}

TEST(DialogUnitsTest, TheBaseUnitsComeFromTheFontsMetrics) {
    QFont font = DialogUnits::DialogFont();
    const DialogUnits units(font);
    EXPECT_EQ(units.BaseY(), QFontMetrics(font).height());
    // The average letter of a proportional font lies between its narrowest
    // and its widest letters.
    const QFontMetrics metrics(font);
    EXPECT_GE(units.BaseX(), metrics.horizontalAdvance(QLatin1Char('i')));
    EXPECT_LE(units.BaseX(), metrics.horizontalAdvance(QLatin1Char('W')));

    QFont larger = font;
    larger.setPointSize(font.pointSize() * 2);
    const DialogUnits largerUnits(larger);
    EXPECT_GT(largerUnits.BaseX(), units.BaseX());
    EXPECT_GT(largerUnits.BaseY(), units.BaseY());
}

TEST(DialogUnitsTest, TheDialogFontIsTheGothicStandInWhenInstalled) {
    const QFont font = DialogUnits::DialogFont();
    if (font.family() != QStringLiteral("IPAPGothic")) GTEST_SKIP() << "fonts-ipafont-gothic is not installed";
    EXPECT_EQ(font.pointSize(), 9);
    EXPECT_TRUE(QFontInfo(font).exactMatch());
}

}  // namespace
