#include "app/shell/view/ClProgressDialog.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QProgressBar>
#include <QScreen>
#include <QTest>

#include "platform/view/DialogUnits.h"

namespace {

QString Text(const char8_t* utf8) { return QString::fromUtf8(reinterpret_cast<const char*>(utf8)); }

// The template's layout in the dialog font, the window the user cannot
// close, and one run: a step per value, the caption at every tenth value,
// the activity bar refilled by pulses, the overall bar stopping at its maximum.
TEST(ClProgressDialogTest, TheTemplatesWindowFollowsARun) {
    ClProgressDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), Text(u8"集計中"));
    EXPECT_EQ(dialog.font(), DialogUnits::DialogFont());
    const DialogUnits units(dialog.font());
    EXPECT_EQ(dialog.size(), units.Size(221, 45));
    QProgressBar* overall = dialog.findChild<QProgressBar*>("progress1000");
    QProgressBar* activity = dialog.findChild<QProgressBar*>("progress1001");
    ASSERT_EQ(overall, dialog.OverallBar());
    ASSERT_EQ(activity, dialog.ActivityBar());
    EXPECT_EQ(overall->geometry(), units.Rect(5, 6, 211, 22));
    EXPECT_EQ(activity->geometry(), units.Rect(5, 29, 211, 10));
    EXPECT_FALSE(overall->isTextVisible());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((dialog.geometry().center() - screen.center()).manhattanLength(), 2);
    const Qt::WindowFlags flags = dialog.windowFlags();
    EXPECT_TRUE(flags.testFlags(Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint));
    EXPECT_FALSE(flags & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint));
    EXPECT_FALSE(dialog.isModal());

    dialog.ShowExposed();
    dialog.ResetProgress();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    dialog.PulseActivities(0);
    EXPECT_EQ(activity->maximum(), 100) << "no pulse, the template's default range";
    dialog.PulseActivities(1000000);
    EXPECT_EQ(activity->maximum(), 5);
    EXPECT_EQ(activity->value(), 5);
    EXPECT_EQ(overall->value(), 0);

    const auto caption = [](int percent) { return Text(u8"集計中 ") + QString::number(percent) + Text(u8"％"); };
    dialog.AdvanceProgress(100, 100);
    EXPECT_EQ(overall->value(), 1);
    EXPECT_EQ(dialog.windowTitle(), caption(10));
    dialog.AdvanceProgress(0, 9);
    EXPECT_EQ(dialog.windowTitle(), caption(0));
    dialog.AdvanceProgress(11, 19);
    dialog.AdvanceProgress(9, 5);
    EXPECT_EQ(overall->value(), 20);
    EXPECT_EQ(dialog.windowTitle(), caption(0)) << "only a tenth value sets the caption";
    dialog.AdvanceProgress(20, 20);
    EXPECT_EQ(dialog.windowTitle(), caption(2));
    dialog.AdvanceProgress(0, 1000);  // 1022 steps: the bar stops at its maximum
    EXPECT_EQ(overall->value(), 1000);
    EXPECT_EQ(overall->maximum(), 1000);
    EXPECT_EQ(dialog.windowTitle(), caption(100));

    dialog.ResetProgress();
    EXPECT_EQ(overall->value(), 0);
    dialog.EndProgress();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 1);
}

}  // namespace
