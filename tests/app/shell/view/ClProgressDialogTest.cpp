#include "app/shell/view/ClProgressDialog.h"

#include <gtest/gtest.h>

#include <QEvent>
#include <QGuiApplication>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QScreen>
#include <QStringList>
#include <QTest>

#include <utility>
#include <vector>

#include "platform/view/DialogUnits.h"

namespace {

QString Text(const char8_t* utf8) { return QString::fromUtf8(reinterpret_cast<const char*>(utf8)); }

// Records what happens to the dialog window: each caption it gets and each
// time it is painted.
class WindowWatcher : public QObject {
public:
    explicit WindowWatcher(QWidget* window) : window_(window) { window->installEventFilter(this); }

    QStringList captions;
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::WindowTitleChange) captions << window_->windowTitle();
        if (watched == window_ && event->type() == QEvent::Paint) ++paints;
        return false;
    }

private:
    QWidget* window_;
};

const std::vector<std::pair<std::int16_t, std::int16_t>> kRunRanges = {
    {0, 100}, {100, 200}, {200, 300}, {300, 400}, {400, 500}, {500, 600}, {600, 700}, {700, 1000}};

class ClProgressDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        dialog_.ShowExposed();
        dialog_.ResetProgress();
    }

    QProgressBar* Bar(const char* name) { return dialog_.findChild<QProgressBar*>(QString::fromLatin1(name)); }

    ClProgressDialog dialog_;
};

TEST_F(ClProgressDialogTest, ARangeStepsOncePerValueAndCaptionsEveryTenth) {
    WindowWatcher watcher(&dialog_);
    dialog_.AdvanceProgress(0, 100);
    EXPECT_EQ(Bar("progress1000")->value(), 101);
    QStringList expected;
    for (int percent = 0; percent <= 10; ++percent) expected << Text(u8"集計中 ") + QString::number(percent) + Text(u8"％");
    EXPECT_EQ(watcher.captions, expected);
    // The window is painted as the steps come, but at most every
    // kPaintIntervalMs, and once more at the end of the range.
    EXPECT_GE(watcher.paints, 1);
    EXPECT_LT(watcher.paints, 101 * 7);
}

TEST_F(ClProgressDialogTest, PaintsAreSpacedInTimeWhateverTheNumberOfSteps) {
    WindowWatcher watcher(&dialog_);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 20000; ++i) dialog_.PulseActivity();
    dialog_.AdvanceProgress(0, 0);
    const qint64 elapsed = clock.elapsed();
    EXPECT_EQ(Bar("progress1001")->value(), 5);
    // One paint per interval that passed, the forced one at the end, and
    // the bars' own paint requests, which the window's paints carry.
    EXPECT_LE(watcher.paints, elapsed / ClProgressDialog::kPaintIntervalMs + 3);
}

TEST_F(ClProgressDialogTest, ASingleValueAndAShortRange) {
    WindowWatcher watcher(&dialog_);
    dialog_.AdvanceProgress(100, 100);
    EXPECT_EQ(Bar("progress1000")->value(), 1);
    EXPECT_EQ(watcher.captions, QStringList{Text(u8"集計中 10％")});

    dialog_.AdvanceProgress(5, 9);
    EXPECT_EQ(Bar("progress1000")->value(), 6);
    EXPECT_EQ(watcher.captions.size(), 1);

    dialog_.AdvanceProgress(9, 5);
    EXPECT_EQ(Bar("progress1000")->value(), 6);
}

TEST_F(ClProgressDialogTest, AWholeRunFillsTheBarAndCountsTheCaptionToOneHundred) {
    for (const auto& [from, to] : kRunRanges) dialog_.AdvanceProgress(from, to);
    EXPECT_EQ(Bar("progress1000")->value(), 1000);
    EXPECT_EQ(Bar("progress1000")->maximum(), 1000);
    EXPECT_EQ(dialog_.windowTitle(), Text(u8"集計中 100％"));
    EXPECT_EQ(Bar("progress1001")->maximum(), 5);
    EXPECT_EQ(Bar("progress1001")->value(), 5);

    dialog_.ResetProgress();
    EXPECT_EQ(Bar("progress1000")->value(), 0);
}

TEST_F(ClProgressDialogTest, APulseRefillsTheActivityBar) {
    QProgressBar* activity = Bar("progress1001");
    // Before the first pulse the bar keeps its default range.
    EXPECT_EQ(activity->maximum(), 100);
    dialog_.PulseActivity();
    EXPECT_EQ(activity->minimum(), 0);
    EXPECT_EQ(activity->maximum(), 5);
    EXPECT_EQ(activity->value(), 5);
    EXPECT_EQ(Bar("progress1000")->value(), 0);
}

TEST_F(ClProgressDialogTest, AMillionPulsesInOneRunRepaintLikeOnePulse) {
    WindowWatcher watcher(&dialog_);
    dialog_.PulseActivities(0);
    EXPECT_EQ(watcher.paints, 0);
    dialog_.PulseActivities(1000000);
    EXPECT_EQ(Bar("progress1001")->value(), 5);
    EXPECT_LE(watcher.paints, 12) << "one refill: six steps, each repainting";
}

TEST_F(ClProgressDialogTest, EndProgressHidesTheDialogWithResultOne) {
    ASSERT_TRUE(dialog_.isVisible());
    dialog_.EndProgress();
    EXPECT_FALSE(dialog_.isVisible());
    EXPECT_EQ(dialog_.result(), 1);
}

TEST_F(ClProgressDialogTest, TheUserCannotCloseIt) {
    const Qt::WindowFlags flags = dialog_.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinMaxButtonsHint));
    EXPECT_FALSE(dialog_.isModal());

    QTest::keyClick(&dialog_, Qt::Key_Escape);
    EXPECT_TRUE(dialog_.isVisible());
}

TEST(ClProgressDialogLayoutTest, TheTemplatesDialogUnitsInTheDialogFont) {
    ClProgressDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), Text(u8"集計中"));
    EXPECT_EQ(dialog.font(), DialogUnits::DialogFont());
    const DialogUnits units(dialog.font());
    EXPECT_EQ(dialog.size(), units.Size(221, 45));
    EXPECT_EQ(dialog.OverallBar()->geometry(), units.Rect(5, 6, 211, 22));
    EXPECT_EQ(dialog.ActivityBar()->geometry(), units.Rect(5, 29, 211, 10));
    EXPECT_EQ(dialog.OverallBar()->objectName(), QStringLiteral("progress1000"));
    EXPECT_EQ(dialog.ActivityBar()->objectName(), QStringLiteral("progress1001"));
    EXPECT_FALSE(dialog.OverallBar()->isTextVisible());

    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((dialog.geometry().center() - screen.center()).manhattanLength(), 2);
}

}  // namespace
