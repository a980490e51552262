#include "app/shell/view/ClProgressDialog.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QProgressBar>
#include <QScreen>
#include <QTest>

#include <functional>

#include "platform/view/DialogUnits.h"

namespace {

// "overall/maximum activity/maximum caption"
QString BarsAndCaption(const ClProgressDialog& d) {
    const QProgressBar* o = d.OverallBar();
    return QStringLiteral("%1/%2 %3/%4 ").arg(o->value()).arg(o->maximum()).arg(d.ActivityBar()->value()).arg(
               d.ActivityBar()->maximum()) + d.windowTitle();
}

struct PaintLog : QObject {
    QStringList paints;
    bool eventFilter(QObject* dialog, QEvent* event) override {
        if (event->type() == QEvent::Paint) paints << BarsAndCaption(*static_cast<ClProgressDialog*>(dialog));
        return false;
    }
};

// The template's window the user cannot close; a run on a clock the test moves (ms): a paint at the reset, a range's
// end and a pulse 15 ms after the last paint, each showing the calls so far; between paints the widgets stand still.
TEST(ClProgressDialogTest, TheTemplatesWindowPaintsTheCallsSoFar) {
    std::int64_t now = 0;
    ClProgressDialog dialog(nullptr, [&now] { return now; });
    const DialogUnits units(DialogUnits::DialogFont());
    EXPECT_EQ(std::pair(dialog.font(), dialog.size()), std::pair(DialogUnits::DialogFont(), units.Size(221, 45)));
    EXPECT_EQ(dialog.OverallBar()->objectName() + dialog.ActivityBar()->objectName(), "progress1000progress1001");
    EXPECT_EQ(std::pair(dialog.OverallBar()->geometry(), dialog.ActivityBar()->geometry()),
              std::pair(units.Rect(5, 6, 211, 22), units.Rect(5, 29, 211, 10)));
    EXPECT_LE((dialog.geometry().center() - QGuiApplication::primaryScreen()->availableGeometry().center())
                  .manhattanLength(), 2);
    const Qt::WindowFlags flags = Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    EXPECT_EQ(dialog.windowFlags() & (flags | Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint), flags);
    EXPECT_EQ(std::pair(dialog.isModal(), dialog.OverallBar()->isTextVisible()), std::pair(false, false));
    PaintLog log;
    dialog.installEventFilter(&log);
    dialog.ShowExposed();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    const std::tuple<std::int64_t, std::function<void()>, bool, QString> run[] = {
        {0, [&] { dialog.ResetProgress(); }, true, QStringLiteral("0/1000 0/100 集計中")},
        {14, [&] { dialog.PulseActivities(1000000); }, false, QStringLiteral("0/1000 0/100 集計中")},
        {15, [&] { dialog.PulseActivities(0); }, false, QStringLiteral("0/1000 0/100 集計中")},
        {15, [&] { dialog.PulseActivity(); }, true, QStringLiteral("0/1000 5/5 集計中")},
        {15, [&] { dialog.AdvanceProgress(100, 100); }, true, QStringLiteral("1/1000 5/5 集計中 10％")},
        {15, [&] { dialog.AdvanceProgress(0, 9); }, true, QStringLiteral("11/1000 5/5 集計中 0％")},
        {15, [&] { dialog.AdvanceProgress(11, 19); }, true, QStringLiteral("20/1000 5/5 集計中 0％")},
        {99, [&] { dialog.AdvanceProgress(9, 5); }, false, QStringLiteral("20/1000 5/5 集計中 0％")},
        {99, [&] { dialog.AdvanceProgress(25, 37); }, true, QStringLiteral("33/1000 5/5 集計中 3％")},
        {99, [&] { dialog.AdvanceProgress(20, 20); }, true, QStringLiteral("34/1000 5/5 集計中 2％")},
        {99, [&] { dialog.AdvanceProgress(0, 1000); }, true, QStringLiteral("1000/1000 5/5 集計中 100％")},
        {99, [&] { dialog.EndProgress(); }, false, QStringLiteral("1000/1000 5/5 集計中 100％")},
    };
    for (const auto& [ms, call, paints, shown] : run) {
        now = ms, log.paints.clear(), call();
        const QStringList painted = paints ? QStringList(shown) : QStringList();
        EXPECT_EQ(std::pair(log.paints, BarsAndCaption(dialog)), std::pair(painted, shown)) << ms;
    }
    EXPECT_EQ(std::pair(dialog.isVisible(), dialog.result()), std::pair(false, 1));
}

}  // namespace
