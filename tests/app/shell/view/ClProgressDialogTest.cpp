#include "app/shell/view/ClProgressDialog.h"

#include <gtest/gtest.h>

#include <QEvent>
#include <QGuiApplication>
#include <QProgressBar>
#include <QScreen>
#include <QStringList>
#include <QTest>

#include "platform/view/DialogUnits.h"

namespace {

QString Text(const char8_t* utf8) { return QString::fromUtf8(reinterpret_cast<const char*>(utf8)); }

// Each caption the window gets.
class CaptionWatcher : public QObject {
public:
    explicit CaptionWatcher(QWidget* window) : window_(window) { window->installEventFilter(this); }
    QStringList captions;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::WindowTitleChange) captions << window_->windowTitle();
        return false;
    }

private:
    QWidget* window_;
};

// The template's layout in the dialog font, the window the user cannot
// close, and one run: a step per value, the caption at every tenth value,
// the activity bar refilled by pulses, both bars stopping at their maximum.
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

    CaptionWatcher watcher(&dialog);
    dialog.AdvanceProgress(100, 100);
    EXPECT_EQ(overall->value(), 1);
    dialog.AdvanceProgress(0, 100);
    EXPECT_EQ(overall->value(), 102);
    QStringList expected{Text(u8"集計中 10％")};
    for (int percent = 0; percent <= 10; ++percent) expected << Text(u8"集計中 ") + QString::number(percent) + Text(u8"％");
    dialog.AdvanceProgress(5, 9);
    dialog.AdvanceProgress(9, 5);
    EXPECT_EQ(overall->value(), 107);
    EXPECT_EQ(watcher.captions, expected);
    dialog.AdvanceProgress(100, 1000);
    EXPECT_EQ(overall->value(), 1000);
    EXPECT_EQ(overall->maximum(), 1000);
    EXPECT_EQ(dialog.windowTitle(), Text(u8"集計中 100％"));

    dialog.ResetProgress();
    EXPECT_EQ(overall->value(), 0);
    dialog.EndProgress();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 1);
}

}  // namespace
